#include <gtest/gtest.h>

#include "screensFixture.h"
#include "screens/exit.h"
#include "screens/screenRegistry.h"

namespace {
struct CexitFixture {
    CscreensGame g;
    CrecordingScreen menu;
    CexitPopup& popup = *screens::get<CexitPopup>();
    int saves = 0;
    CexitFixture() {
        g->setScreen(GM_MAIN_MENU, &menu);
        g->setGameMode(GM_MAIN_MENU);
        g->saveGameFiles = [this] { return ++saves > 0; };
    }
};
}  // namespace

TEST(ExitPopup, EscapeOpensItAndEscapeOrNoClosesIt) {
    CexitFixture f;
    ASSERT_TRUE(f.g.initOk());
    size_t bars = gEngine->ui.buttonBar.depth();
    f.g.tapKey(SDL_SCANCODE_ESCAPE);
    ASSERT_TRUE(f.popup.showing());
    EXPECT_EQ(gEngine->ui.buttonBar.depth(), bars + 1);
    f.g.settle();
    int before = f.menu.updates;
    f.g.steps(5);
    EXPECT_EQ(f.menu.updates, before);   // the state waits while it shows

    // Escape again: closed like "No", once its leave transition has run.
    f.g.tapKey(SDL_SCANCODE_ESCAPE);
    EXPECT_TRUE(f.popup.screen()->leaving);
    f.g.settle();
    EXPECT_FALSE(f.popup.showing());
    EXPECT_EQ(gEngine->ui.buttonBar.depth(), bars);
    EXPECT_GT(f.menu.updates, before);
    EXPECT_FALSE(f.g->quit);

    // "No" with the pointer.
    f.g.tapKey(SDL_SCANCODE_ESCAPE);
    ASSERT_TRUE(f.popup.showing());
    f.g.settle();
    f.g.click(f.popup.screen()->findWidget("No"));
    f.g.settle();
    EXPECT_FALSE(f.popup.showing());
    EXPECT_EQ(gEngine->ui.buttonBar.depth(), bars);
    EXPECT_EQ(f.g.mode(), GM_MAIN_MENU);
    EXPECT_EQ(f.saves, 0);
}

TEST(ExitPopup, YesEndsTheGameWithItsSave) {
    CexitFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.g.tapKey(SDL_SCANCODE_ESCAPE);
    ASSERT_TRUE(f.popup.showing());
    f.g.settle();
    f.g.click(f.popup.screen()->findWidget("Yes"));
    EXPECT_TRUE(f.g.logHas("GameMode = ReallyExit"));
    EXPECT_EQ(f.g.mode(), GM_REALLY_EXIT);
    EXPECT_TRUE(f.g->quit);
    EXPECT_EQ(f.saves, 1);
}

TEST(ExitPopup, NotOnTheTitleOrInPlayButFromAnyScreensExitButton) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    for (int m : {GM_PRESS_START, GM_PLAYING}) {
        g->setGameMode(m);
        g.tapKey(SDL_SCANCODE_ESCAPE);
        EXPECT_FALSE(screens::get<CexitPopup>()->showing()) << gameModeName(m);
    }
    // The title's and the main menu's own exit buttons show it directly.
    screens::get<CexitPopup>()->show();
    EXPECT_TRUE(screens::get<CexitPopup>()->showing());
    size_t depth = gEngine->ui.buttonBar.depth();
    screens::get<CexitPopup>()->show();   // already up: nothing more
    EXPECT_EQ(gEngine->ui.buttonBar.depth(), depth);
}

TEST(ExitState, YesQuitsNoGoesBackToTheMainMenu) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    CrecordingScreen menu;
    g->setScreen(GM_MAIN_MENU, &menu);
    int saves = 0;
    g->saveGameFiles = [&] { return ++saves > 0; };
    ASSERT_TRUE(g->setGameMode(GM_EXIT));
    g.settle();
    g.click(screens::get<CexitScreen>()->screen()->findWidget("No"));
    g.steps(70);
    EXPECT_EQ(g.mode(), GM_MAIN_MENU);
    EXPECT_EQ(saves, 0);

    ASSERT_TRUE(g->setGameMode(GM_EXIT));
    g.settle();
    g.click(screens::get<CexitScreen>()->screen()->findWidget("Yes"));
    g.settle();
    EXPECT_TRUE(g->quit);
    EXPECT_EQ(saves, 1);
}
