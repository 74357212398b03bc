#include <gtest/gtest.h>

#include <algorithm>

#include "screensFixture.h"
#include "screens/confirm.h"
#include "screens/exit.h"
#include "screens/loading.h"
#include "screens/screenRegistry.h"

namespace {
// The bar's layer quads of the last redraw: full-colour quads on the bar's
// line, 20, 15, 10 or 5 pixels tall.
std::vector<CquadRecord> barLayers() {
    std::vector<CquadRecord> out;
    const float barY = (float)gEngine->halfScreenHeight + CloadingScreen::kBarBelowCentre;
    for (const auto& q : gEngine->renderer.quads())
        if (std::abs(q.y - barY) < 0.5f && (q.height == 20 || q.height == 15 || q.height == 10 || q.height == 5))
            out.push_back(q);
    return out;
}
}  // namespace

TEST(LoadingScreen, TickRedrawsAtMostOncePerIntervalAndOnlyWhileActive) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    CloadingScreen& ls = *screens::get<CloadingScreen>();
    ASSERT_TRUE(ls.load());
    double t = 1000;
    ls.clock = [&] { return t; };
    uint64_t frames = gEngine->renderer.framesBegun();

    ls.tick();   // not loading: nothing
    EXPECT_EQ(ls.redraws, 0u);
    ls.active = true;
    for (int i = 0; i < 50; ++i) ls.tick();   // loaders call it far more often than it draws
    EXPECT_EQ(ls.redraws, 1u);
    t += 8.3;
    ls.tick();
    EXPECT_EQ(ls.redraws, 1u);
    t += 0.04;
    ls.tick();
    EXPECT_EQ(ls.redraws, 2u);
    EXPECT_EQ(gEngine->renderer.framesBegun(), frames + 2);
    EXPECT_FLOAT_EQ(ls.fade, 2 * CloadingScreen::kFadeStep);
    // A second of loaders calling it every tenth of a millisecond: 120 redraws.
    for (int i = 0; i < 10000; ++i) {
        t += 0.1;
        ls.tick();
    }
    EXPECT_GE(ls.redraws, 2u + 118u);
    EXPECT_LE(ls.redraws, 2u + 120u);
}

TEST(LoadingScreen, BarFillFollowsTheStepsAndStaysInsideTheBar) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    CloadingScreen& ls = *screens::get<CloadingScreen>();
    ASSERT_TRUE(ls.load());
    double t = 0;
    ls.clock = [&] { return t += 10; };
    ls.active = true;
    ls.loadCount = 0;
    ls.tick();
    EXPECT_TRUE(barLayers().empty());
    // Logo, bar background and the three warning lines are drawn from the first redraw.
    EXPECT_GE(gEngine->renderer.quads().size(), 2u);

    ls.loadCount = CloadingScreen::kExpectedSteps / 2;
    ls.tick();
    auto half = barLayers();
    ASSERT_EQ(half.size(), 4u);
    const float left = (float)gEngine->halfScreenWidth - CloadingScreen::kBarWidth / 2;
    for (const auto& q : half) {
        EXPECT_NEAR(q.width, CloadingScreen::kBarWidth / 2, 0.01f);
        EXPECT_NEAR(q.x - q.width / 2, left, 0.01f);   // every layer starts at the bar's left end
    }
    EXPECT_EQ(half[0].height, 20);
    EXPECT_EQ(half[3].height, 5);

    // More steps than expected: the fill stops at the bar's end.
    ls.loadCount = CloadingScreen::kExpectedSteps * 3;
    ls.tick();
    for (const auto& q : barLayers()) EXPECT_NEAR(q.width, CloadingScreen::kBarWidth, 0.01f);
    EXPECT_FLOAT_EQ(ls.barFill(), 1.0f);
    ls.loadCount = -5;
    EXPECT_FLOAT_EQ(ls.barFill(), 0.0f);
}

TEST(LoadingScreen, LoadsEverythingShowsTheLogoItsMinimumTimeThenAsksForTheTitle) {
    CtestGame g(true);   // the loading clock moves one redraw per reading
    ASSERT_TRUE(g.initOk());
    const CloadingScreen& ls = *screens::get<CloadingScreen>();
    // Sound packs, 34 named colours, every layout and the ships each ticked.
    EXPECT_GT(ls.loadCount, 34 + 5);
    EXPECT_FALSE(ls.active);
    EXPECT_EQ(gEngine->onLoadStep, nullptr);
    // The load is fast; the logo still stays until fade reaches 1.5: at
    // least 116 redraws, 0.96 s on the loading clock.
    EXPECT_GE(ls.fade, CloadingScreen::kFadeToLeave);
    EXPECT_LT(ls.fade, CloadingScreen::kFadeToLeave + CloadingScreen::kFadeStep * 1.5f);
    EXPECT_GE(ls.redraws, 116u);
    EXPECT_GE(g.loadingNow, 116 * CloadingScreen::kRedrawMs);
    // What the loaders fill.
    EXPECT_GT(g->sfxPacks.size(), 0u);
    EXPECT_EQ(g->namedColours.orange.g, gEngine->colours.get("Orange").g);
    EXPECT_FALSE(g->playerShips.ships.empty());
    ASSERT_NE(screens::get<CconfirmScreen>()->screen(), nullptr);
    ASSERT_NE(screens::get<CexitPopup>()->screen(), nullptr);
    // A random track plays, then the title is asked for behind the fade.
    ASSERT_NE(g->music.currentTrack, nullptr);
    EXPECT_EQ(g.mode(), GM_LOADING_DONE);
    EXPECT_EQ(g->pendingMode(), GM_PRESS_START);
    EXPECT_TRUE(g->transitionRunning());
    auto modes = g.logLinesStartingWith("GameMode = ");
    ASSERT_EQ(modes.size(), 2u);
    EXPECT_EQ(modes[0], "GameMode = Loading");
    EXPECT_EQ(modes[1], "GameMode = PressStart");
    EXPECT_FALSE(g.logHas("Can't find sound pack: Swoosh"));
    // The menus' clear colour follows the loading's own.
    Ccolour menu = gEngine->colours.get("MenuBackground");
    EXPECT_FLOAT_EQ(gEngine->renderer.clearColour().b, menu.b);
}

TEST(LoadingScreen, AnEmptyLibraryStartsNoTrack) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    g->songLibrary.clearLocalTracks();
    ASSERT_EQ(g->songLibrary.getRandomTrack(), nullptr);
    ASSERT_TRUE(g->startUp());
    EXPECT_EQ(g->music.currentTrack, nullptr);
    EXPECT_TRUE(g.logHas("Loading: no track to play yet"));
    EXPECT_EQ(g->pendingMode(), GM_PRESS_START);
    g.steps(80);
    EXPECT_EQ(g.mode(), GM_PRESS_START);
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
