// The special-ship screens, the module unlock and the rank-up drawn by the real renderer under
// Xvfb: each ship is drawn at its spot, over the screen. The screens as the
// player sees them are left in screenshots/unlock of the build folder.
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "game/progress/xpCurve.h"
#include "screens/screenRegistry.h"
#include "screens/unlockShipMod.h"
#include "screensFixture.h"

namespace {
// The brightest channel of a pixel of a picture file.
int brightnessAt(SDL_Surface* s, int x, int y) {
    Uint32 v = 0;
    memcpy(&v, (const uint8_t*)s->pixels + y * s->pitch + x * s->format->BytesPerPixel, s->format->BytesPerPixel);
    SDL_Color c{};
    SDL_GetRGB(v, s->format, &c.r, &c.g, &c.b);
    return std::max({(int)c.r, (int)c.g, (int)c.b});
}

// The brightest pixel of a square around a point: a ship drawn there shows.
int brightestAround(SDL_Surface* s, int cx, int cy, int half) {
    int best = 0;
    for (int y = std::max(cy - half, 0); y < std::min(cy + half, s->h); ++y)
        for (int x = std::max(cx - half, 0); x < std::min(cx + half, s->w); ++x) best = std::max(best, brightnessAt(s, x, y));
    return best;
}

struct CshotTaker {
    CscreensGame& g;
    SDL_Surface* take(const char* name) {
        std::filesystem::create_directories("screenshots/unlock");
        const std::string file = std::string("screenshots/unlock/") + name;
        if (!g->screenCapture.request(0, 0, (float)gEngine->screenWidth, (float)gEngine->screenHeight, file, false))
            return nullptr;
        g.steps(2);
        return g->screenCapture.done ? IMG_Load(file.c_str()) : nullptr;
    }
};
}  // namespace

TEST(UnlockScreensGl, TheSpecialShipsFlyAtTheirSpots) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    ASSERT_TRUE(gEngine->platform.hasGl()) << "run under Xvfb with SDL_VIDEODRIVER=x11";
    CshotTaker shots{g};
    CrecordingScreen mainMenu;
    g->setScreen(GM_MAIN_MENU, &mainMenu);
    g->progress.ves5 = true;
    g->progress.vor5 = true;
    g->setGameMode(GM_TB_HUB);
    g.settle(120);
    ASSERT_EQ(g.mode(), GM_TB_HUB);
    SDL_Surface* hub = shots.take("tbHub.png");
    ASSERT_NE(hub, nullptr);
    // The screen's centre is empty; both spots hold a ship.
    const int w = hub->w, h = hub->h;
    EXPECT_LT(brightestAround(hub, w / 2, h / 2, 20), 80);
    EXPECT_GT(brightestAround(hub, (int)(w * 0.3f), h / 2, 40), 120);
    EXPECT_GT(brightestAround(hub, (int)(w * 0.7f), h / 2, 40), 120);
    SDL_FreeSurface(hub);

    g->vornakUnlockPending = 1;
    g->setGameMode(GM_UNLOCK_TB_SHIP);
    g.settle(120);
    ASSERT_EQ(g.mode(), GM_UNLOCK_TB_SHIP);
    SDL_Surface* unlock = shots.take("unlockTBShip.png");
    ASSERT_NE(unlock, nullptr);
    SDL_FreeSurface(unlock);
}

TEST(UnlockScreensGl, TheRankUpCelebratesAroundTheBadge) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    ASSERT_TRUE(gEngine->platform.hasGl());
    CshotTaker shots{g};
    CrecordingScreen perkUnlock;
    g->setScreen(GM_PERK_UNLOCK, &perkUnlock);
    g->progress.xp = (int64_t)xpAtRankStart(2) - 300;
    g->world.session.sessionXp = 2000;
    g->setGameMode(GM_RANK_UP);
    g.settle(60 * 4);
    ASSERT_EQ(g.mode(), GM_RANK_UP);
    SDL_Surface* rankUp = shots.take("rankUpCelebrating.png");
    ASSERT_NE(rankUp, nullptr);
    SDL_FreeSurface(rankUp);
}

TEST(UnlockScreensGl, TheModuleWonShowsItsModel) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    ASSERT_TRUE(gEngine->platform.hasGl());
    CshotTaker shots{g};
    CunlockShipModScreen& screen = *screens::get<CunlockShipModScreen>();
    screen.open("Vessik");
    g.settle(90);
    ASSERT_EQ(g.mode(), GM_UNLOCK_SHIP_MOD);
    SDL_Surface* shot = shots.take("unlockShipMod.png");
    ASSERT_NE(shot, nullptr);
    const Cwidget* spot = screen.screen()->findWidget("ModPos");
    EXPECT_GT(brightestAround(shot, (int)spot->x, (int)spot->y, 50), 120);
    SDL_FreeSurface(shot);
}
