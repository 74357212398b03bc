#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <vector>

#include "screens/musicTypeList.h"
#include "screens/screenRegistry.h"
#include "screensFixture.h"

namespace {
struct CtypeListFixture {
    CscreensGame g;
    CrecordingScreen mainMenu, findMusic, browser, radio, micSettings;
    CmusicTypeListScreen* screen = nullptr;
    CtypeListFixture() {
        if (!g.initOk()) return;
        std::vector<std::string> seen = {"Tut_OpenMicDesktop"};
        for (int i = 1; i <= 11; ++i) seen.push_back("Tut_ManageMusic" + std::to_string(i));
        gEngine->ui.tutorials.setSeenNames(seen);
        g->setScreen(GM_MAIN_MENU, &mainMenu);
        g->setScreen(GM_FIND_MUSIC, &findMusic);
        g->setScreen(GM_MUSIC_BROWSER, &browser);
        g->setScreen(GM_MUSIC_RADIO_BROWSER, &radio);
        g->setScreen(GM_OPEN_MIC_SETTINGS, &micSettings);
        g->setGameMode(GM_MUSIC_TYPE_LIST);
        g.settle();
        screen = screens::get<CmusicTypeListScreen>();
    }
    Cmenu* menu() { return screen->screen()->findMenu("Menu"); }
    std::string text(const char* a, const char* b) { return std::string(gEngine->text(a)) + gEngine->text(b); }
};
}  // namespace

// Capture through SDL's disk driver: a file of silence stands in for the microphone.
TEST(MusicTypeList, TheOpenMicRowStartsAndStopsCaptureAndFollowsIt) {
    std::string dir = makeTempFolder("mic_row");
    std::string raw = dir + "/in.raw";
    {
        std::vector<float> silence(48000 * 2 * 4, 0.0f);
        FILE* file = fopen(raw.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        fwrite(silence.data(), sizeof(float), silence.size(), file);
        fclose(file);
    }
    std::string oldDriver = getenv("SDL_AUDIODRIVER") ? getenv("SDL_AUDIODRIVER") : "";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILEIN", raw.c_str(), 1);
    setenv("SDL_DISKAUDIOFILE", (dir + "/out.raw").c_str(), 1);
    {
        CtypeListFixture f;
        ASSERT_TRUE(f.g.initOk());
        f.g->music.captureSource = OPEN_MIC_MICROPHONE;
        f.menu()->setSelectedIdx(2);
        f.g.tapAction(ACTION_SELECT);
        f.g.steps(2);
        if (!gEngine->audio.openMicRunning) {
            setenv("SDL_AUDIODRIVER", oldDriver.c_str(), 1);
            GTEST_SKIP() << "no capture through the disk driver";
        }
        EXPECT_TRUE(f.screen->openMicShownRunning());
        EXPECT_EQ(f.menu()->item(2)->getText(), f.text("OpenMicStop", "OpenMicMic"));

        // Choosing it again plays a library track, which ends open mic.
        f.menu()->setSelectedIdx(2);
        f.g.tapAction(ACTION_SELECT);
        f.g.steps(2);
        EXPECT_FALSE(gEngine->audio.openMicRunning);
        EXPECT_NE(f.g->music.currentTrack, nullptr);
        EXPECT_EQ(f.menu()->item(2)->getText(), f.text("OpenMicStart", "OpenMicMic"));
        EXPECT_EQ(f.g.mode(), GM_MUSIC_TYPE_LIST);

        // Capture that stops by itself turns the row back on the next update.
        ASSERT_TRUE(f.g->music.startOpenMic());
        f.g.steps(1);
        EXPECT_TRUE(f.screen->openMicShownRunning());
        f.g->music.stopOpenMic();
        f.g.steps(1);
        EXPECT_FALSE(f.screen->openMicShownRunning());
        EXPECT_EQ(f.menu()->item(2)->getText(), f.text("OpenMicStart", "OpenMicMic"));
    }
    setenv("SDL_AUDIODRIVER", oldDriver.c_str(), 1);
    removeFolderTree(dir);
}
