#include <gtest/gtest.h>

#include "engine/configFile.h"
#include "engine/engine.h"
#include "support/testEngine.h"

TEST(ConfigFile, PairsCommentsCaseAndEnd) {
    CtestEngine eng;
    CconfigFile f;
    ASSERT_TRUE(f.parse("; a comment\n"
                        "Host \"a b.example\"   ; trailing comment\n"
                        "Port 0x50\n"
                        "host later\n"
                        "Empty \"\"\n"
                        "endfile\n"
                        "After 1\n",
                        "test.txt"));
    EXPECT_EQ(f.get("HOST"), "later");   // the later pair wins
    EXPECT_EQ(f.getInt("port", 1), 80);
    EXPECT_TRUE(f.has("Empty"));
    EXPECT_EQ(f.get("Empty", "x"), "");
    EXPECT_FALSE(f.has("After"));
    EXPECT_EQ(f.get("Missing", "def"), "def");
    EXPECT_EQ(f.getInt("Missing", 7), 7);
    EXPECT_EQ(f.unknownKeys({"host", "PORT"}), std::vector<std::string>{"Empty"});

    // A key without a value fails the file but keeps the pairs before it.
    EXPECT_FALSE(f.parse("A 1 B", "broken.txt"));
    EXPECT_EQ(f.getInt("A"), 1);
    EXPECT_TRUE(gEngine->log.contains("broken.txt: 'B' has no value"));
}
