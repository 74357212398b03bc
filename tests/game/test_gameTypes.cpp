#include <gtest/gtest.h>

#include "game/gameTypes.h"
#include "support/testEngine.h"

TEST(GameTypes, NamesInEnumOrder) {
    CtestEngine eng;
    EXPECT_STREQ(gameTypeTag(GAMETYPE_BOSSRUSH), "BossRush");
    EXPECT_STREQ(gameTypeName(GAMETYPE_BOSSRUSH), "Boss Rush");
    EXPECT_STREQ(gameTypeName(GAMETYPE_SHIPTEST), "Ship Test");
    EXPECT_STREQ(gameTypeName(6), "Unknown");
    EXPECT_STREQ(musicSourceTag(MUSIC_NOT_PLAYED_YET), "NotPlayedYet");
    EXPECT_STREQ(musicSourceName(MUSIC_OPEN_MIC), "Open Mic");
    EXPECT_STREQ(musicSourceName(-1), "Unknown");
    EXPECT_STREQ(difficultyName(DIFFICULTY_APOCALYPTIC), "Apocalyptic");
    EXPECT_STREQ(difficultyTag(DIFFICULTY_ZEN), "Zen");
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
