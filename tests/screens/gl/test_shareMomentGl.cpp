// The share screen drawn by the real renderer under Xvfb: a frame of the main
// menu taken as the game's moment, the result laid over it. The screen as the
// player sees it is left in screenshots/share/shareMoment.png of the build
// folder; a picture saved to a file holds the result but none of the buttons
// (a copy beside it, sharedPicture.png).
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "screens/screenRegistry.h"
#include "screens/shareMoment.h"
#include "screensFixture.h"

namespace {
SDL_Color pixelAt(SDL_Surface* s, int x, int y) {
    SDL_Color c{};
    Uint32 v = 0;
    memcpy(&v, (const uint8_t*)s->pixels + y * s->pitch + x * s->format->BytesPerPixel, s->format->BytesPerPixel);
    SDL_GetRGB(v, s->format, &c.r, &c.g, &c.b);
    return c;
}
}  // namespace

TEST(ShareMomentGl, TheComposedPictureIsSharedWithoutItsButtons) {
    CscreensGame g;
    ASSERT_TRUE(g.initOk());
    ASSERT_TRUE(gEngine->platform.hasGl()) << "run under Xvfb";
    seeMainMenuTutorials();
    g->setGameMode(GM_MAIN_MENU);
    g.settle(150);
    ASSERT_TRUE(g->screenCapture.requestTexture(100, 60, 1180, 660));
    g.steps(2);
    CtexturePtr moment = g->screenCapture.takeTexture();
    ASSERT_NE(moment, nullptr);
    g->autoShots.shots.push_back({1, std::move(moment)});

    CgameSession& s = g->world.session;
    s.gameType = GAMETYPE_STANDARD;
    s.difficulty = DIFFICULTY_INSANE;
    s.track.title = "Neon Drift";
    s.track.artist = "Zorbex Sound Unit";
    s.teamScores[0] = 8754321;
    s.completion = 1.0f;
    CshareMomentScreen& share = *screens::get<CshareMomentScreen>();
    share.open(GM_MAIN_MENU, 2, "A new personal best on this track!");
    g.settle(150);
    ASSERT_EQ(g.mode(), GM_SHARE_MOMENT);

    // The screen as drawn.
    std::filesystem::create_directories("screenshots/share");
    const std::string screenFile = "screenshots/share/shareMoment.png";
    ASSERT_TRUE(g->screenCapture.request(0, 0, (float)gEngine->screenWidth, (float)gEngine->screenHeight, screenFile,
                                         false));
    g.steps(2);
    ASSERT_TRUE(g->screenCapture.done);

    // Saved to a file: the picture's rectangle, without the Tweet button drawn on it.
    const std::string folder = gEngine->savePath("pictures");
    std::filesystem::create_directories(folder);
    const std::string dialog = gEngine->savePath("dialog.sh");
    std::ofstream(dialog) << "#!/bin/sh\necho '" << folder << "'\n";
    chmod(dialog.c_str(), 0755);
    gEngine->platform.dialogProgram = dialog;
    Cwidget* tweet = share.screen()->findWidget("Tweet");
    const float bx = tweet->x, by = tweet->y;
    g.click(share.screen()->findWidget("SaveFile"));
    g.steps(120);
    ASSERT_FALSE(share.sharing());
    const std::string saved = folder + "/ZRB-Neon Drift-Zorbex Sound Unit.png";
    SDL_Surface* picture = IMG_Load(saved.c_str());
    ASSERT_NE(picture, nullptr) << saved;
    SDL_Surface* screen = IMG_Load(screenFile.c_str());
    ASSERT_NE(screen, nullptr);
    const Crect p = share.pictureRect();
    EXPECT_NEAR(picture->w, p.w, 1.5f);
    EXPECT_NEAR(picture->h, p.h, 1.5f);
    const SDL_Color onScreen = pixelAt(screen, (int)bx, (int)by);
    const SDL_Color inPicture = pixelAt(picture, (int)(bx - p.x), (int)(by - p.y));
    EXPECT_FALSE(onScreen.r == inPicture.r && onScreen.g == inPicture.g && onScreen.b == inPicture.b)
        << "the Tweet button is in the shared picture";
    SDL_FreeSurface(picture);
    SDL_FreeSurface(screen);
    std::filesystem::copy_file(saved, "screenshots/share/sharedPicture.png",
                               std::filesystem::copy_options::overwrite_existing);
}
