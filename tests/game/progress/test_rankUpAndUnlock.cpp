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
    struct Crow {
        int64_t cash;
        int maker, points;
        bool free;
        int64_t price;
    };
    const Crow rows[] = {
        {99, 0, 0, false, 9},          {100, 0, 0, false, 100},     {5004, 4, 0, false, 504},
        {5000, 0, 20, false, 1000},    {5000, 0, 21, false, 790},   // no discount up to 20 points
        {5000, 0, 400, false, 500},    {250000, 0, 400, false, 15000},   // held at the band's floor
        {50000, 0, 90, false, 5000},   {500, 4, 30, false, 50},     // a floor above the base never raises it
        {5003, 0, 0, true, 0},         {-40, 0, 0, false, 0},
    };
    for (const Crow& r : rows)
        EXPECT_EQ(CprocShipOffer::price(r.cash, r.maker, r.points, r.free), r.price) << r.cash << " " << r.points;
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

TEST(RankUpCount, RanksAreCountedByNumberEvenWhenSeveralPassInOneStep) {
    uint64_t start = xpAtRankStart(3) - 10;
    uint64_t award = xpAtRankStart(8) - start + 5;
    CrankUpCount count;
    count.start(start, 0, award, 4);
    EXPECT_FALSE(count.okOffered());
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

    // No more unlocks than there are locked perks.
    CrankUpCount few;
    few.start(start, 0, award, 2);
    EXPECT_EQ(few.perksToShow(), 2);
}

TEST(RankUpCount, FirstSelectCommitsOnceEvenMidCount) {
    CrankUpCount count;
    count.start(0, 0, 1000000, 37);
    count.step(0.8f);
    count.step(0.5f);
    EXPECT_GT(count.awardedLeft(), 0u);
    EXPECT_TRUE(count.takeSelect());
    EXPECT_EQ(count.awarded(), 1000000u);   // the whole award, not what was shown
    EXPECT_FALSE(count.takeSelect());
    EXPECT_TRUE(count.committed());
}

