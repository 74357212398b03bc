#include <gtest/gtest.h>

#include "game/gameTypes.h"
#include "support/testEngine.h"

TEST(GameTypes, NamesInEnumOrder) {
    CtestEngine eng;
    EXPECT_STREQ(gameTypeName(6), "Unknown");
    EXPECT_STREQ(musicSourceName(-1), "Unknown");
    EXPECT_LT(difficultyScale(DIFFICULTY_EASY), difficultyScale(DIFFICULTY_NORMAL));
    EXPECT_LT(difficultyScale(DIFFICULTY_SUICIDAL), difficultyScale(DIFFICULTY_APOCALYPTIC));
}

TEST(GameTypes, RankNames) {
    CtestEngine eng;
    EXPECT_EQ(getRankName(1), "Cadet");               // Rank00
    EXPECT_EQ(getRankName(26), "Legend");             // Rank25
    EXPECT_EQ(getRankName(27), "Zorbex Master 1");    // Rank26 and " %d" of r - 26
    EXPECT_EQ(getRankName(30), "Zorbex Master 4");
    EXPECT_EQ(getRankName(0), "Cadet");               // never "Rank-1"
    EXPECT_EQ(getRankName(-5), "Cadet");
}
