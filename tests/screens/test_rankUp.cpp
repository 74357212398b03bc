#include <gtest/gtest.h>

#include "engine/ui/screen.h"
#include "game/gameTypes.h"
#include "game/progress/xpCurve.h"
#include "screens/rankUp.h"
#include "screens/screenRegistry.h"
#include "screensFixture.h"

namespace {
struct CrankUpFixture {
    CscreensGame g;
    CrecordingScreen mainMenu, perkUnlock, shipOffer;
    CrankUpFixture(int64_t playerXP, int64_t sessionXP, int64_t shipXP = -1) {
        g->setScreen(GM_MAIN_MENU, &mainMenu);
        g->setScreen(GM_PERK_UNLOCK, &perkUnlock);
        g->setScreen(GM_UNLOCK_PROC_SHIP, &shipOffer);
        g->progress.xp = playerXP;
        g->world.session.sessionXp = sessionXP;
        g->world.session.playTime = 95;
        g->world.session.gameOver = true;
        if (CplayerShipDef* ship = g->playerShips.currentShip(); ship && shipXP >= 0) ship->xp = (uint64_t)shipXP;
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
    uint64_t shipXP = f.screen().count().ship.startXP;   // before the game
    EXPECT_FALSE(f.screen().count().okOffered());
    f.g.steps(60 * 5);
    EXPECT_EQ(f.screen().count().player.shownXP, (uint64_t)start + 40000);
    EXPECT_TRUE(f.g.logPrefix("Rank up: "));

    // Select twice while the screen fades: the XP goes in once.
    f.g.tapAction(ACTION_SELECT);
    f.g.tapAction(ACTION_SELECT);
    f.g.steps(70);
    EXPECT_EQ(f.g->progress.xp, start + 40000);
    EXPECT_EQ(ship->xp, shipXP + 40000);
    EXPECT_FLOAT_EQ(ship->timePlayed, 95.0f);
    EXPECT_EQ(f.perkUnlock.enters, 1);
    EXPECT_EQ(f.mainMenu.enters, 0);
}

// No rank crossed: Select before the count ends still commits the whole
// award, and leads to the main menu, or to the ship of a finished long track.
TEST(RankUpScreen, NoRankCrossedGoesOnToTheMainMenuOrTheFinishedTracksShip) {
    for (bool finished : {false, true}) {
        CrankUpFixture f(1000, 20);
        ASSERT_TRUE(f.g.initOk());
        EXPECT_TRUE(f.screen().count().okOffered());
        f.g->world.session.completion = finished ? 1.0f : 0.5f;
        f.g->world.session.track.length = 180;
        f.g->world.session.track.key = "NoSuchShipYet";
        // No mission of the current ship to report first.
        for (uint8_t& done : f.g->playerShips.currentShip()->missionComplete) done = 1;
        f.g.tapAction(ACTION_SELECT);
        f.g.steps(70);
        EXPECT_EQ(f.g->progress.xp, 1020);
        EXPECT_EQ(f.shipOffer.enters, finished ? 1 : 0);
        EXPECT_EQ(f.mainMenu.enters, finished ? 0 : 1);
        EXPECT_EQ(f.perkUnlock.enters, 0);
    }
}

// Offline the player's bar still carries the player's name (the profile's),
// and no two of the screen's widgets share a spot at any window shape.
TEST(RankUpScreen, ThePlayersBarIsNamedAlsoOfflineAndNothingOverlaps) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    CrecordingScreen mainMenu;
    g->setScreen(GM_MAIN_MENU, &mainMenu);
    ASSERT_TRUE(g->online.soap.nickname().empty());
    g->progress.playerName = "Skyler";
    g->world.session.sessionXp = 100;
    g->setGameMode(GM_RANK_UP);
    g.settle();
    Cscreen* s = screens::get<CrankUpScreen>()->screen();
    EXPECT_EQ(s->findWidget("PlayerName")->getText(), "Skyler");
    EXPECT_FALSE(s->findWidget("ShipName")->getText().empty());
    for (const CwindowShape& shape : kWindowShapes) {
        useWindowShape(shape);
        for (size_t i = 0; i < s->widgets.size(); ++i) {
            Cwidget& a = *s->widgets[i];
            EXPECT_TRUE(clearOfButtonBar(a.rect())) << a.name;
            for (size_t j = i + 1; j < s->widgets.size(); ++j)
                EXPECT_FALSE(overlapping(a.rect(), s->widgets[j]->rect()))
                    << a.name << " and " << s->widgets[j]->name << " at " << shape.w << "x" << shape.h;
        }
    }
    // The profile has no name yet either: the first player's.
    g->progress.playerName.clear();
    EXPECT_EQ(CrankUpScreen::playerNameText(), std::string(gEngine->text("PlayerIdx")) + " 1");
}
