#include <gtest/gtest.h>

#include "game/gameTypes.h"
#include "game/progress/procShipUnlock.h"
#include "game/progress/rankUpCount.h"
#include "game/progress/xpCurve.h"

TEST(ProcShipOffer, DueOnlyAfterAWholeStandardTrackOfTwoMinutes) {
    EXPECT_TRUE(CprocShipOffer::isDue(GAMETYPE_STANDARD, 1.0f, 120.0f, false));
    EXPECT_FALSE(CprocShipOffer::isDue(GAMETYPE_STANDARD, 1.0f, 119.0f, false));
    EXPECT_FALSE(CprocShipOffer::isDue(GAMETYPE_STANDARD, 0.99f, 300.0f, false));
    EXPECT_FALSE(CprocShipOffer::isDue(GAMETYPE_STANDARD, 1.0f, 300.0f, true));
    EXPECT_FALSE(CprocShipOffer::isDue(GAMETYPE_STANDARD + 1, 1.0f, 300.0f, false));
}

TEST(ProcShipOffer, PriceByCashBandMakerAndPoints) {
    EXPECT_EQ(CprocShipOffer::price(99, 0, 0, false), 9);
    EXPECT_EQ(CprocShipOffer::price(100, 0, 0, false), 100);
    EXPECT_EQ(CprocShipOffer::price(5004, 0, 0, false), 1004);
    EXPECT_EQ(CprocShipOffer::price(5004, 4, 0, false), 504);
    EXPECT_EQ(CprocShipOffer::price(250000, 0, 0, false), 50000);
    // 20 points or less: no discount.
    EXPECT_EQ(CprocShipOffer::price(5000, 0, 20, false), 1000);
    EXPECT_EQ(CprocShipOffer::price(5000, 0, 21, false), 790);
    EXPECT_EQ(CprocShipOffer::price(5000, 0, 400, false), 500);     // held at the band's floor
    EXPECT_EQ(CprocShipOffer::price(250000, 0, 40, false), 30000);
    EXPECT_EQ(CprocShipOffer::price(250000, 0, 400, false), 15000);
    EXPECT_EQ(CprocShipOffer::price(50, 0, 30, false), 0);
    // A floor above the base never raises the price.
    EXPECT_EQ(CprocShipOffer::price(50000, 0, 30, false), 5000);
    EXPECT_EQ(CprocShipOffer::price(50000, 0, 90, false), 5000);
    EXPECT_EQ(CprocShipOffer::price(500, 4, 30, false), 50);
    EXPECT_EQ(CprocShipOffer::price(500, 4, 0, false), 50);
    EXPECT_EQ(CprocShipOffer::price(5003, 0, 0, true), 0);
    EXPECT_EQ(CprocShipOffer::price(-40, 0, 0, false), 0);
}

namespace {
// Runs the count to its end in update steps of 1/60 s.
int runCount(CrankUpCount& count, int* playerRankUps = nullptr) {
    int steps = 0;
    for (; steps < 60 * 10 && (count.counting() || steps < 60); ++steps) {
        count.step(1.0f / 60.0f);
        if (playerRankUps) *playerRankUps += count.player.rankUps;
    }
    return steps;
}
}  // namespace

TEST(RankUpCount, NoRankCrossedOffersOkAtOnce) {
    CrankUpCount count;
    count.start(100, 100, 50, 10);
    EXPECT_TRUE(count.okOffered());
    EXPECT_EQ(count.perksToShow(), 0);
    EXPECT_FALSE(count.step(0.5f));   // still in the start delay
    EXPECT_EQ(count.player.shownXP, 100u);
    int ups = 0;
    runCount(count, &ups);
    EXPECT_EQ(ups, 0);
    EXPECT_EQ(count.player.shownXP, 150u);
    EXPECT_EQ(count.awardedLeft(), 0u);
    // Nothing to celebrate.
    EXPECT_EQ(count.player.fxTimer, 0.0f);
    EXPECT_EQ(count.ship.fxTimer, 0.0f);
}

TEST(RankUpCount, RanksAreCountedByNumberEvenWhenSeveralPassInOneStep) {
    uint64_t start = xpAtRankStart(3) - 10;
    uint64_t award = xpAtRankStart(8) - start + 5;
    CrankUpCount count;
    count.start(start, 0, award, 4);
    EXPECT_FALSE(count.okOffered());
    EXPECT_EQ(count.player.rank, rankFromXP(start + 1));
    // Ranks gained, but no more unlocks than there are locked perks.
    EXPECT_EQ(count.perksToShow(), 4);
    EXPECT_FALSE(count.step(0.7f));
    // One big step jumps several ranks: every one is counted.
    count.step(1.5f);
    EXPECT_GE(count.player.rankUps, 2);
    EXPECT_TRUE(count.okOffered());
    // The celebration starts with the rank-up and runs down with the steps.
    EXPECT_FLOAT_EQ(count.player.fxTimer, CrankUpCount::kFxSeconds);
    int ups = count.player.rankUps;
    runCount(count, &ups);
    count.step(0.5f);
    EXPECT_LE(count.player.fxTimer, CrankUpCount::kFxSeconds - 0.5f);
    EXPECT_GT(count.player.fxTimer, 0.0f);
    EXPECT_EQ(ups, rankFromXP(start + award + 1) - rankFromXP(start + 1));
    EXPECT_EQ(count.player.shownXP, start + award);
    EXPECT_EQ(count.ship.shownXP, award);
    EXPECT_GE(count.player.fraction, 0.0f);
    EXPECT_LE(count.player.fraction, 1.0f);

    CrankUpCount few;
    few.start(start, 0, award, 2);
    EXPECT_EQ(few.perksToShow(), 2);
}

TEST(RankUpCount, FirstSelectCommitsOnceEvenMidCount) {
    CrankUpCount count;
    count.start(0, 0, 1000000, 37);
    count.step(0.8f);
    count.step(0.5f);
    EXPECT_TRUE(count.counting());
    EXPECT_GT(count.awardedLeft(), 0u);
    EXPECT_TRUE(count.takeSelect());
    EXPECT_EQ(count.awarded(), 1000000u);   // the whole award, not what was shown
    EXPECT_FALSE(count.takeSelect());
    EXPECT_TRUE(count.committed());
}

TEST(RankUpCount, BadgesStopAtTwentySix) {
    char name[24];
    EXPECT_STREQ(rankBadgeName(5, name), "ui_rank05.png");
    EXPECT_STREQ(rankBadgeName(26, name), "ui_rank26.png");
    EXPECT_STREQ(rankBadgeName(40, name), "ui_rank26.png");
}
