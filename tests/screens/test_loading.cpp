#include <gtest/gtest.h>

#include "screensFixture.h"
#include "screens/confirm.h"
#include "screens/loading.h"
#include "screens/screenRegistry.h"

TEST(LoadingScreen, LoadsEverythingShowsTheLogoItsMinimumTimeThenAsksForTheTitle) {
    CtestGame g(true);   // the loading clock moves one redraw per reading
    ASSERT_TRUE(g.initOk());
    const CloadingScreen& ls = *screens::get<CloadingScreen>();
    // Sound packs, 34 named colours, every layout and the ships each ticked.
    EXPECT_GT(ls.loadCount, 34 + 5);
    EXPECT_FALSE(ls.active);
    // The load is fast; the logo still stays until fade reaches 1.5: at
    // least 116 redraws, 0.96 s on the loading clock.
    EXPECT_GE(ls.fade, CloadingScreen::kFadeToLeave);
    EXPECT_LT(ls.fade, CloadingScreen::kFadeToLeave + CloadingScreen::kFadeStep * 1.5f);
    EXPECT_GE(ls.redraws, 116u);
    EXPECT_GE(g.loadingNow, 116 * CloadingScreen::kRedrawMs);
    // What the loaders fill.
    EXPECT_FALSE(g->playerShips.ships.empty());
    ASSERT_NE(screens::get<CconfirmScreen>()->screen(), nullptr);
    // A random track plays, then the title is asked for behind the fade.
    ASSERT_NE(g->music.currentTrack, nullptr);
    EXPECT_EQ(g.mode(), GM_LOADING_DONE);
    EXPECT_EQ(g->pendingMode(), GM_PRESS_START);
    EXPECT_TRUE(g->transitionRunning());
    EXPECT_EQ(g.logLinesStartingWith("GameMode = "),
              (std::vector<std::string>{"GameMode = Loading", "GameMode = PressStart"}));
    EXPECT_FALSE(g.logHas("Can't find sound pack: Swoosh"));
    // The menus' clear colour follows the loading's own.
    Ccolour menu = gEngine->colours.get("MenuBackground");
    EXPECT_FLOAT_EQ(gEngine->renderer.clearColour().b, menu.b);
}

TEST(LoadingScreen, AQuitAskedForDuringLoadingIsHonouredAfterIt) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    int saves = 0;
    g->saveGameFiles = [&] { return ++saves > 0; };
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);   // taken by the loading tick's event pump
    ASSERT_TRUE(g->startUp());
    EXPECT_FALSE(g->quit);
    // The loading ran to its end (one redraw a step on the test clock) but
    // the logo's wait was left out.
    EXPECT_GT(screens::get<CloadingScreen>()->loadCount, 0);
    EXPECT_EQ(screens::get<CloadingScreen>()->redraws, (uint64_t)screens::get<CloadingScreen>()->loadCount);
    EXPECT_EQ(g->pendingMode(), GM_PRESS_START);
    g.steps(1);
    EXPECT_TRUE(g->quit);
    EXPECT_EQ(saves, 1);
    EXPECT_TRUE(g.logHas("Quit requested"));
}
