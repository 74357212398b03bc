#include <gtest/gtest.h>

#include "support/testGame.h"

namespace {
// A game on the main menu whose screen counts updates and draws.
struct CloopFixture {
    CtestGame g;
    CrecordingScreen screen;
    explicit CloopFixture(int updateRate) {
        gEngine->updateRate = updateRate;
        g->setScreen(GM_MAIN_MENU, &screen);
        g->setGameMode(GM_MAIN_MENU);
    }
};
}  // namespace

TEST(FrameLoop, RunsWholePeriodsWhileBehindRealTime) {
    CloopFixture f(50);   // 20 ms a period
    CtestGame& g = f.g;
    EXPECT_TRUE(g.advance(100));
    EXPECT_EQ(g.loop.periods(), 5u);   // at 0, 20, 40, 60, 80
    EXPECT_DOUBLE_EQ(g.loop.gameClock(), 100.0);
    EXPECT_TRUE(g.advance(10));        // 100 < 110: one more, clock now 20 ahead
    EXPECT_EQ(g.loop.periods(), 6u);
    EXPECT_FALSE(g.advance(5));
    EXPECT_FALSE(g.advance(5));        // clock equals real time: not behind
    EXPECT_EQ(g.loop.periods(), 6u);
    EXPECT_TRUE(g.advance(1));
    EXPECT_EQ(g.loop.periods(), 7u);
    EXPECT_EQ(f.screen.updates, 7);
    EXPECT_NEAR(gEngine->gameTime, 7 * 0.02, 1e-9);
}

TEST(FrameLoop, MoreThanHalfASecondBehindJumpsToThePresent) {
    CloopFixture f(50);
    CtestGame& g = f.g;
    EXPECT_TRUE(g.advance(500));   // exactly 500 behind: caught up period by period
    EXPECT_EQ(g.loop.periods(), 25u);
    EXPECT_FALSE(g.logHas("-- 0.5s Delay - skipping update"));

    EXPECT_FALSE(g.advance(501));
    EXPECT_EQ(g.loop.periods(), 25u);
    EXPECT_DOUBLE_EQ(g.loop.gameClock(), g.now);
    EXPECT_EQ(g.logCount("-- 0.5s Delay - skipping update"), 1);
    EXPECT_TRUE(g.advance(20));
    EXPECT_EQ(g.loop.periods(), 26u);
}

TEST(FrameLoop, DrawsOnlyAfterAnUpdateAndNotWhileHeld) {
    CloopFixture f(50);
    CtestGame& g = f.g;
    g.advance(20);   // updates; nothing drawn yet in this pass
    EXPECT_EQ(g.loop.draws(), 0u);
    g.advance(0);    // draws what that update made
    EXPECT_EQ(f.screen.renders, 1);
    g.advance(0);
    EXPECT_EQ(g.loop.draws(), 1u);   // no update since: no draw
    EXPECT_EQ(gEngine->platform.swapCount(), 1u);

    gEngine->holdDrawing = true;
    g.advance(20);
    g.advance(0);
    EXPECT_EQ(g.loop.draws(), 1u);
    gEngine->holdDrawing = false;
    g.advance(0);
    EXPECT_EQ(g.loop.draws(), 2u);
}
