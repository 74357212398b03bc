#include <gtest/gtest.h>

#include "engine/engine.h"
#include "support/testEngine.h"

// Separators, comments and quotes, an empty quote, and a quote never closed
// (read to the end, and logged).
TEST(Tokenizer, SeparatorsCommentsAndQuotes) {
    CtestEngine eng(false);
    const struct {
        const char* text;
        std::vector<std::string> tokens;
    } rows[] = {
        {"Block,one\ttwo\r\n  ; a comment, \"not a token\"\nthree \"grouped words\" End",
         {"Block", "one", "two", "three", "grouped words", "End"}},
        {"\"\" x \"never closed", {"", "x", "never closed"}},
    };
    for (const auto& r : rows) {
        const char* c = r.text;
        std::string t;
        std::vector<std::string> got;
        while (Cengine::readToken(t, c)) got.push_back(t);
        EXPECT_EQ(got, r.tokens) << r.text;
    }
    EXPECT_TRUE(gEngine->log.contains("Unmatched quote: never closed"));
}

TEST(Tokenizer, NumbersAndBools) {
    CtestEngine eng(false);
    const char* c = "1.5, -3 0x10 true 0 yes";
    EXPECT_FLOAT_EQ(Cengine::readFloat(c), 1.5f);
    EXPECT_EQ(Cengine::readInt(c), -3);
    EXPECT_EQ(Cengine::readInt(c), 16);
    EXPECT_TRUE(Cengine::readBool(c));
    EXPECT_FALSE(Cengine::readBool(c));
    EXPECT_TRUE(Cengine::readBool(c));
    EXPECT_EQ(Cengine::readInt(c), 0);   // past the end
}
