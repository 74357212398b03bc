// The special-ship screens, the module unlock and the rank-up drawn by the real renderer under
// Xvfb: each ship is drawn at its spot, over the screen. The screens as the
// player sees them are left in screenshots/unlock of the build folder.
#include <gtest/gtest.h>

#include "game/progress/xpCurve.h"
#include "screens/screenRegistry.h"
#include "screens/unlockProcShip.h"
#include "screens/unlockShipMod.h"
#include "shownScreen.h"

TEST(UnlockScreensGl, TheSpecialShipsFlyAtTheirSpots) {
    CshownScreen s;
    ASSERT_TRUE(s.g.initOk());
    CrecordingScreen mainMenu;
    s.g->setScreen(GM_MAIN_MENU, &mainMenu);
    s.g->progress.ves5 = true;
    s.g->progress.vor5 = true;
    ASSERT_TRUE(s.reach(GM_TB_HUB, 120)) << "run under Xvfb";
    Cpicture hub = s.take("tbHub.png");
    ASSERT_TRUE(hub);
    // Each of the three spots holds a ship; between them the screen is empty.
    const int w = hub->w, h = hub->h;
    for (float spot : {0.2f, 0.5f, 0.8f}) EXPECT_GT(brightestAround(hub.get(), (int)(w * spot), h / 2, 40), 120) << spot;
    for (float gap : {0.35f, 0.65f}) EXPECT_LT(brightestAround(hub.get(), (int)(w * gap), h / 2, 10), 80) << gap;

    s.g->vornakUnlockPending = 1;
    ASSERT_TRUE(s.reach(GM_UNLOCK_TB_SHIP, 120));
    Cpicture unlock = s.take("unlockTBShip.png");
    ASSERT_TRUE(unlock);
    EXPECT_GT(brightestAround(unlock.get(), w / 2, h / 2, 40), 120);
}

TEST(UnlockScreensGl, TheRankUpCelebratesAroundTheBadge) {
    CshownScreen s;
    ASSERT_TRUE(s.g.initOk());
    CrecordingScreen perkUnlock;
    s.g->setScreen(GM_PERK_UNLOCK, &perkUnlock);
    s.g->progress.xp = (int64_t)xpAtRankStart(2) - 300;
    s.g->world.session.sessionXp = 2000;
    ASSERT_TRUE(s.reach(GM_RANK_UP, 60 * 4));
    Cpicture rankUp = s.take("rankUpCelebrating.png");
    ASSERT_TRUE(rankUp);
    // The ship flies at the lower right.
    EXPECT_GT(brightestAround(rankUp.get(), rankUp->w * 830 / 1280, rankUp->h * 600 / 720, 40), 120);
}

TEST(UnlockScreensGl, TheModuleWonShowsItsModel) {
    CshownScreen s;
    ASSERT_TRUE(s.g.initOk());
    CunlockShipModScreen& screen = *screens::get<CunlockShipModScreen>();
    screen.open("Vessik");
    ASSERT_TRUE(s.reach(-1, 90));
    ASSERT_EQ(s.g.mode(), GM_UNLOCK_SHIP_MOD);
    Cpicture shot = s.take("unlockShipMod.png");
    ASSERT_TRUE(shot);
    const Cwidget* spot = screen.screen()->findWidget("ModPos");
    EXPECT_GT(brightestAround(shot.get(), (int)spot->x, (int)spot->y, 50), 120);
}

TEST(UnlockScreensGl, TheTrackShipOfferShowsTheShipAndItsModule) {
    CshownScreen s;
    ASSERT_TRUE(s.g.initOk());
    gUi->tutorials.find("Tut_ProcShip1")->seen = true;
    s.g->progress.cash = 5000;
    CgameSession& session = s.g->world.session;
    session.gameType = GAMETYPE_STANDARD;
    session.completion = 1.0f;
    session.track.title = "Night Drive";
    session.track.artist = "The Testers";
    session.track.key = "0123456789abcdef0123456789abcdef";
    session.track.length = 200;
    ASSERT_TRUE(s.reach(GM_UNLOCK_PROC_SHIP, 120));
    Cpicture offer = s.take("unlockProcShip.png");
    ASSERT_TRUE(offer);
    Cscreen* screen = s.g->screen(GM_UNLOCK_PROC_SHIP) ? screens::get<CunlockProcShipScreen>()->screen() : nullptr;
    ASSERT_NE(screen, nullptr);
    const Cwidget* spot = screen->findWidget("ShipPos");
    EXPECT_GT(brightestAround(offer.get(), (int)spot->x, (int)spot->y, 40), 120);
    // The module's model on its card, left of its name.
    Cwidget* card = screen->findWidget("Module");
    const Cgadget* prop = card->findTextGadget("Prop");
    ASSERT_NE(prop, nullptr);
    const float px = card->x + prop->offsetX * card->uiScale, py = card->y + prop->offsetY * card->uiScale;
    EXPECT_GT(brightestAround(offer.get(), (int)px, (int)py, 20), 120);
}
