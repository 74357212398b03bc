#include <gtest/gtest.h>

#include "engine/engine.h"
#include "support/testEngine.h"

TEST(Tokenizer, SeparatorsCommentsAndQuotes) {
    CtestEngine eng(false);
    const char* text = "Block,one\ttwo\r\n  ; a comment, \"not a token\"\nthree \"grouped words\" End";
    const char* c = text;
    std::string t;
    std::vector<std::string> got;
    while (Cengine::readToken(t, c)) got.push_back(t);
    std::vector<std::string> want = {"Block", "one", "two", "three", "grouped words", "End"};
    EXPECT_EQ(got, want);
}

TEST(Tokenizer, EmptyQuotesAndUnmatchedQuote) {
    CtestEngine eng(false);
    const char* c = "\"\" x \"never closed";
    std::string t;
    ASSERT_TRUE(Cengine::readToken(t, c));
    EXPECT_EQ(t, "");
    ASSERT_TRUE(Cengine::readToken(t, c));
    EXPECT_EQ(t, "x");
    ASSERT_TRUE(Cengine::readToken(t, c));
    EXPECT_EQ(t, "never closed");
    EXPECT_TRUE(gEngine->log.contains("Unmatched quote: never closed"));
    EXPECT_FALSE(Cengine::readToken(t, c));
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
