#include <gtest/gtest.h>

#include "screens/dailyChallenge.h"
#include "screens/screenRegistry.h"
#include "screensFixture.h"
#include "localServiceSignIn.h"

namespace {
struct CchallengeFixture {
    CscreensGame g;
    ClocalWebService service;
    CrecordingScreen mainMenu, settings, editModules;
    CdailyChallengeScreen* screen = nullptr;
    std::vector<int> sounds;

    CchallengeFixture() {
        if (!g.initOk()) return;
        EXPECT_TRUE(signInToLocalService(service, g->online));
        g->setScreen(GM_MAIN_MENU, &mainMenu);
        g->setScreen(GM_GAME_SETTINGS, &settings);
        g->setScreen(GM_EDIT_MODULES, &editModules);
        gEngine->ui.playSound = [this](int slot) { sounds.push_back(slot); };
        for (const char* t : {"Tut_TimedChallenge1", "Tut_TimedChallenge2"}) gUi->tutorials.find(t)->seen = true;
        screen = screens::get<CdailyChallengeScreen>();
    }

    CchallengeMgr& start(const ClocalChallenge& c) {
        service.setChallenge(24, c);
        CchallengeMgr& m = g->online.dailyChallenge;
        m.start(24, "24HourChall");
        EXPECT_TRUE(g.stepUntil([&] { return m.state == CHALL_READY; }));
        m.select();
        return m;
    }
    void open() {
        screen->open(g->playerShips.currentIdx);
        g.settle();
        g.stepUntil([&] { return !g->online.leaderboards.isBusy(); });
        g.steps(2);
    }
    void setSecondsLeft(int64_t s) { screen->challenge()->challenge.endTime = g->online.soap.unixTime() + s; }
    Cwidget* widget(const char* name) { return screen->screen()->findWidget(name); }
    std::string text(const char* name) { return widget(name)->getText(); }
    Cmenu* ships() { return screen->screen()->findMenu("shipMenu"); }
    bool played(int slot) const { return std::find(sounds.begin(), sounds.end(), slot) != sounds.end(); }
};

ClocalChallenge track(int shipClass = 0) {
    ClocalChallenge c;
    c.trackTitle = "Sunrise";
    c.artist = "Band";
    c.duration = 180;
    c.difficulty = 2;
    c.shipClass = shipClass;
    return c;
}
}  // namespace

// Too little time left for the track: the time turns red and an attempt is refused.
TEST(DailyChallenge, TheTimeTurnsRedNearTheEndAndALateAttemptIsRefused) {
    CchallengeFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.start(track());
    f.open();

    // Two hours left on a three-minute track: white, and the attempt goes on.
    f.setSecondsLeft(7200);
    f.g.steps(1);
    const Ccolour white = f.g->namedColours.white, red = f.g->namedColours.red;
    EXPECT_EQ(f.widget("timeRemaining")->findTextGadget()->colour.g, white.g);
    // Four minutes left: red, and an attempt is refused.
    f.setSecondsLeft(240);
    f.g.steps(1);
    EXPECT_EQ(f.widget("timeRemaining")->findTextGadget()->colour.g, red.g);
    EXPECT_EQ(f.text("timeRemaining"), "04:00");
    f.g.tapAction(ACTION_SELECT);
    f.g.steps(40);
    EXPECT_TRUE(f.played(7));
    EXPECT_EQ(f.g.mode(), GM_DAILY_CHALLENGE_L);

    f.setSecondsLeft(7200);
    const int ships = f.g->playerShips.numShips();
    f.g.tapAction(ACTION_SELECT);
    f.g.steps(40);
    EXPECT_EQ(f.g.mode(), GM_GAME_SETTINGS);
    // The preview ship made for the screen went with it.
    EXPECT_EQ(f.g->playerShips.numShips(), ships - 1);
    EXPECT_EQ(f.screen->previewShip(), nullptr);
}

TEST(DailyChallenge, AnEndedChallengeWaitsForTheNextOrForNone) {
    CchallengeFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.start(track());
    f.open();
    const int enters = f.mainMenu.enters;
    f.setSecondsLeft(0);
    f.g.steps(1);
    EXPECT_TRUE(f.screen->waitingForChallenge());
    EXPECT_TRUE(gEngine->ui.loadingIndicator.showing);
    // The service names the next challenge: the screen comes back with it.
    ClocalChallenge next = track();
    next.trackTitle = "Sunset";
    f.service.setChallenge(24, next);
    ASSERT_TRUE(f.g.stepUntil([&] { return !f.screen->waitingForChallenge(); }));
    f.g.settle();
    EXPECT_EQ(f.g.mode(), GM_DAILY_CHALLENGE_L);
    EXPECT_EQ(f.text("challTrack"), "Sunset");
    EXPECT_FALSE(gEngine->ui.loadingIndicator.showing);

    // None to be had: back to the main menu.
    f.service.clearChallenge(24);
    f.setSecondsLeft(0);
    ASSERT_TRUE(f.g.stepUntil([&] { return f.mainMenu.enters > enters; }));
    EXPECT_EQ(f.g.mode(), GM_MAIN_MENU);
}

TEST(DailyChallenge, ShipsAreChosenByClassAndBackRestoresTheShipOfEntry) {
    CchallengeFixture f;
    ASSERT_TRUE(f.g.initOk());
    // Class 1 takes player designs only: the hangar has none yet.
    f.start(track(1));
    f.g->playerShips.setCurrentShipIdx(0);
    f.open();
    EXPECT_TRUE(f.screen->noShips());
    EXPECT_EQ(f.ships()->itemCount(), 1u);
    // The hidden buttons do nothing.
    f.g.tapAction(ACTION_OPTION_X);
    f.g.tapAction(ACTION_SELECT);
    f.g.steps(40);
    EXPECT_EQ(f.g.mode(), GM_DAILY_CHALLENGE_L);
    EXPECT_EQ(f.editModules.enters, 0);
    f.g.tapAction(ACTION_BACK);
    f.g.steps(40);
    EXPECT_EQ(f.g.mode(), GM_MAIN_MENU);

    // Any ship: picking another makes it current until Back.
    CtrackInfoView seed;
    seed.title = "Other";
    ASSERT_NE(f.g->playerShips.createProcShip("Grown", seed), nullptr);
    f.start(track(0));
    f.open();
    ASSERT_FALSE(f.screen->noShips());
    ASSERT_GE(f.ships()->itemCount(), 2u);
    Cwidget* other = f.ships()->item(1);
    f.ships()->setSelectedIdx(1);
    f.g.tapAction(ACTION_SELECT);
    f.g.steps(2);
    EXPECT_EQ(f.g->playerShips.currentIdx, (int)other->value);
    EXPECT_EQ(f.g->standardShipFlag, 0);
    EXPECT_EQ(f.g->progress.currentShip, f.g->playerShips.currentShip()->name());
    f.g.tapAction(ACTION_BACK);
    f.g.steps(40);
    EXPECT_EQ(f.g->playerShips.currentIdx, 0);
}
