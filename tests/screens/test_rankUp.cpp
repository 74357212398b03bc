#include <gtest/gtest.h>

#include "game/progress/xpCurve.h"
#include "screens/rankUp.h"
#include "screens/screenRegistry.h"
#include "screensFixture.h"

namespace {
struct CrankUpFixture {
    CscreensGame g;
    CrecordingScreen mainMenu, perkUnlock, shipOffer;
    CrankUpFixture(int64_t playerXP, int64_t sessionXP) {
        g->setScreen(GM_MAIN_MENU, &mainMenu);
        g->setScreen(GM_PERK_UNLOCK, &perkUnlock);
        g->setScreen(GM_UNLOCK_PROC_SHIP, &shipOffer);
        g->progress.xp = playerXP;
        g->world.session.sessionXp = sessionXP;
        g->world.session.playTime = 95;
        g->setGameMode(GM_RANK_UP);
        g.settle();
    }
    CrankUpScreen& screen() { return *screens::get<CrankUpScreen>(); }
};
}  // namespace

TEST(RankUpScreen, CountsTheAwardAndCommitsItOnceOnLeaving) {
    int64_t start = (int64_t)xpAtRankStart(4) - 500;
    CrankUpFixture f(start, 40000);
    ASSERT_TRUE(f.g.initOk());
    CplayerShipDef* ship = f.g->playerShips.currentShip();
    ASSERT_NE(ship, nullptr);
    uint64_t shipXP = ship->xp;
    EXPECT_FALSE(f.screen().count().okOffered());
    EXPECT_GT(f.screen().perksToShow(), 0);
    f.g.steps(60 * 5);
    EXPECT_EQ(f.screen().count().player.shownXP, (uint64_t)start + 40000);
    EXPECT_TRUE(gEngine->ui.buttonBar.hasAction(ACTION_SELECT));

    // Select twice while the screen fades: the XP goes in once.
    f.g.tapAction(ACTION_SELECT);
    f.g.tapAction(ACTION_SELECT);
    f.g.steps(70);
    EXPECT_EQ(f.g->progress.xp, start + 40000);
    EXPECT_EQ(ship->xp, shipXP + 40000);
    EXPECT_FLOAT_EQ(ship->timePlayed, 95.0f);
    EXPECT_EQ(f.g->statsCache.local.xp, (uint64_t)(start + 40000));
    EXPECT_EQ(f.perkUnlock.enters, 1);
    EXPECT_EQ(f.mainMenu.enters, 0);
}

TEST(RankUpScreen, NoRankCrossedGoesStraightOnToTheMainMenu) {
    CrankUpFixture f(1000, 20);
    ASSERT_TRUE(f.g.initOk());
    EXPECT_TRUE(f.screen().count().okOffered());
    EXPECT_TRUE(gEngine->ui.buttonBar.hasAction(ACTION_SELECT));
    EXPECT_EQ(f.screen().perksToShow(), 0);
    // Select before the count ends still commits the whole award.
    f.g.tapAction(ACTION_SELECT);
    f.g.steps(70);
    EXPECT_EQ(f.g->progress.xp, 1020);
    EXPECT_EQ(f.mainMenu.enters, 1);
    EXPECT_EQ(f.perkUnlock.enters, 0);
}

TEST(RankUpScreen, AFinishedLongStandardTrackOffersItsShip) {
    CrankUpFixture f(1000, 20);
    ASSERT_TRUE(f.g.initOk());
    f.g->world.session.completion = 1.0f;
    f.g->world.session.track.length = 180;
    f.g->world.session.track.key = "NoSuchShipYet";
    // No mission of the current ship to report first.
    for (uint8_t& done : f.g->playerShips.currentShip()->missionComplete) done = 1;
    f.g.tapAction(ACTION_SELECT);
    f.g.steps(70);
    EXPECT_EQ(f.shipOffer.enters, 1);
    EXPECT_EQ(f.mainMenu.enters, 0);
}
