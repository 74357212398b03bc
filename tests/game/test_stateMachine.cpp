#include <gtest/gtest.h>

#include "support/testGame.h"

TEST(StateMachine, StartUpRunsLoadingThenFadesToPressStart) {
    CtestGame g(true);
    ASSERT_TRUE(g.initOk());
    // Loading is done; the fade shows for a second of game time, then leaves
    // (a fifth of a second) before the title comes in.
    EXPECT_EQ(g->pendingMode(), GM_PRESS_START);
    g.steps(58);
    EXPECT_EQ(g.mode(), GM_LOADING_DONE);
    g.steps(20);
    EXPECT_EQ(g.mode(), GM_PRESS_START);
    // Each request is logged once, in order.
    EXPECT_EQ(g.logLinesStartingWith("GameMode = "),
              (std::vector<std::string>{"GameMode = Loading", "GameMode = PressStart"}));
}

TEST(StateMachine, StatesWithoutAScreenAreRefusedNeverEntered) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    ASSERT_TRUE(g->setGameMode(GM_MAIN_MENU));
    for (int m : {(int)GM_INIT, (int)GM_LOADING_DONE, (int)GM_RESERVED, (int)GM_DAILY_CHALLENGE_D, -1, 60, 1000}) {
        EXPECT_FALSE(g->setGameMode(m)) << m;
        EXPECT_FALSE(g->setGameMode(m, true)) << m;
        EXPECT_FALSE(g->enterGameMode(m)) << m;
        EXPECT_EQ(g.mode(), GM_MAIN_MENU);
    }
    EXPECT_TRUE(g.logHas("Can't set game mode 52 (DailyChallenge-D): it has no screen"));
    EXPECT_FALSE(g.logHas("GameMode = DailyChallenge-D"));
}

TEST(StateMachine, EnterWithoutTransitionWaitsForTheShowingScreenToLeave) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    CrecordingScreen menu, options;
    menu.leaveSteps = 3;
    g->setScreen(GM_MAIN_MENU, &menu);
    g->setScreen(GM_OPTIONS, &options);

    ASSERT_TRUE(g->setGameMode(GM_MAIN_MENU));
    ASSERT_TRUE(g->setGameMode(GM_OPTIONS));
    EXPECT_EQ(menu.leaves, 1);
    g.steps(2);
    EXPECT_EQ(g.mode(), GM_MAIN_MENU);   // still leaving
    EXPECT_EQ(options.enters, 0);
    g.steps(2);
    EXPECT_EQ(options.enters, 1);
}

TEST(StateMachine, TransitionHoldsTheScreenStillThenEntersTheNewestRequest) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    CrecordingScreen menu, options, credits;
    g->setScreen(GM_MAIN_MENU, &menu);
    g->setScreen(GM_OPTIONS, &options);
    g->setScreen(GM_CREDITS, &credits);
    g->setGameMode(GM_MAIN_MENU);
    g.steps(1);
    ASSERT_TRUE(g->setGameMode(GM_OPTIONS, true));
    g.steps(10);
    ASSERT_TRUE(g->setGameMode(GM_CREDITS));
    g.steps(45);
    EXPECT_EQ(g.mode(), GM_MAIN_MENU);
    EXPECT_EQ(menu.updates, 1);   // no double action under the fade
    int n = 0;
    while (g.mode() != GM_CREDITS && n++ < 20) g.steps(1);
    EXPECT_EQ(options.enters, 0);
    EXPECT_EQ(credits.enters, 1);
    EXPECT_EQ(credits.updates, 0);   // entered at the end of the fade's step
    g.steps(1);
    EXPECT_EQ(credits.updates, 1);
}

struct CoverlaySet {
    std::vector<std::string> drawLog;
    CrecordingOverlay o[OVERLAY_COUNT];
    explicit CoverlaySet(Cgame& game) {
        for (int i = 0; i < OVERLAY_COUNT; ++i) {
            o[i].name = overlayName(i);
            o[i].drawLog = &drawLog;
            game.setOverlay(i, &o[i]);
        }
    }
};

TEST(StateMachine, EscapeOpensTheExitPopUpExceptOnTheTitleAndInPlayWhereItPauses) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    CoverlaySet ov(g.game());
    CrecordingOverlay& exitPopup = ov.o[OVERLAY_EXIT];
    CrecordingScreen menu;
    g->setScreen(GM_MAIN_MENU, &menu);

    for (int m : {GM_PRESS_START, GM_PLAYING}) {
        g->setGameMode(m);
        g.keyDown(SDL_SCANCODE_ESCAPE);
        g.steps(1);
        g.keyUp(SDL_SCANCODE_ESCAPE);
        g.steps(1);
        EXPECT_EQ(exitPopup.shows, 0) << gameModeName(m);
    }
    // In play it pauses instead.
    EXPECT_EQ(ov.o[OVERLAY_PAUSE].shows, 1);
    ov.o[OVERLAY_PAUSE].shown = false;

    g->setGameMode(GM_MAIN_MENU);
    int before = menu.updates;
    g.keyDown(SDL_SCANCODE_ESCAPE);
    g.steps(1);
    EXPECT_EQ(exitPopup.shows, 1);
    // The press that opened it is used up: the pop-up does not read it as "No".
    EXPECT_EQ(exitPopup.lastKeySeen, -1);
    // While it shows, it takes the state's update.
    g.keyUp(SDL_SCANCODE_ESCAPE);
    g.steps(2);
    EXPECT_EQ(menu.updates, before);
    EXPECT_EQ(exitPopup.updates, 3);
    exitPopup.shown = false;
    g.steps(1);
    EXPECT_EQ(menu.updates, before + 1);
}

TEST(StateMachine, DrawOrderStateThenOverlaysThenFade) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    CoverlaySet ov(g.game());
    CrecordingScreen menu, fade;
    menu.name = "state";
    menu.drawLog = &ov.drawLog;
    fade.name = "fade";
    fade.drawLog = &ov.drawLog;
    fade.leaveSteps = 1000;
    g->setScreen(GM_MAIN_MENU, &menu);
    g->setTransitionScreen(&fade);
    g->setGameMode(GM_MAIN_MENU);
    for (auto& o : ov.o) o.shown = true;
    g->setGameMode(GM_OPTIONS, true);
    fade.startLeave();   // keep it running
    g->draw();
    std::vector<std::string> want = {"state", "Pause",        "Confirm",      "Warning", "MusicBar",
                                     "Exit",  "OpenMicError", "MissionPanel", "fade"};
    EXPECT_EQ(ov.drawLog, want);
    ov.drawLog.clear();
    for (auto& o : ov.o) o.shown = false;
    g->draw();
    EXPECT_EQ(ov.drawLog, std::vector<std::string>({"state", "fade"}));
}

// The exit pop-up's "Yes", the window's close button or a signal: the game
// ends once, with its save, and the loop runs no more updates.
TEST(StateMachine, ReallyExitOrWindowCloseEndsTheGameOnceWithItsSave) {
    for (bool byWindow : {false, true}) {
        SCOPED_TRACE(byWindow ? "window closed" : "really exit");
        CtestGame g;
        ASSERT_TRUE(g.initOk());
        int saves = 0;
        g->saveGameFiles = [&] { return ++saves > 0; };
        Canalytics& hits = gEngine->analytics;
        hits.setClientId("test-client");
        hits.isSignedIn = [] { return true; };
        if (byWindow) {
            SDL_Event e{};
            e.type = SDL_WINDOWEVENT;
            e.window.event = SDL_WINDOWEVENT_CLOSE;
            SDL_PushEvent(&e);
            g.steps(1);
            EXPECT_TRUE(g.logHas("Quit requested"));
        } else {
            ASSERT_TRUE(g->setGameMode(GM_REALLY_EXIT));
            ASSERT_EQ(hits.queued(), 2u);   // the state's screen view, then one end event
            EXPECT_NE(hits.queuedPayload(1).find("&ec=StartEnd&ea=EndGame"), std::string::npos);
        }
        EXPECT_TRUE(g->quit);
        g->endGame();
        EXPECT_EQ(saves, 1);
        uint64_t updates = g->updateCount;
        g.steps(3);
        EXPECT_EQ(g->updateCount, updates);
    }
}

