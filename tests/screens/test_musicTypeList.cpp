#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <vector>

#include "screens/musicTypeList.h"
#include "screens/screenRegistry.h"
#include "screensFixture.h"

// Capture through SDL's disk driver: a file of silence stands in for the
// microphone. The open-mic row starts and stops capture and follows it.
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
        CscreensGame g;
        ASSERT_TRUE(g.initOk());
        std::vector<std::string> seen = {"Tut_OpenMicDesktop"};
        for (int i = 1; i <= 11; ++i) seen.push_back("Tut_ManageMusic" + std::to_string(i));
        gEngine->ui.tutorials.setSeenNames(seen);
        g->setGameMode(GM_MUSIC_TYPE_LIST);
        g.settle();
        CmusicTypeListScreen* screen = screens::get<CmusicTypeListScreen>();
        Cmenu* menu = screen->screen()->findMenu("Menu");
        auto rowReads = [](const char* a, const char* b) { return std::string(gEngine->text(a)) + gEngine->text(b); };
        g->music.captureSource = OPEN_MIC_MICROPHONE;
        menu->setSelectedIdx(2);
        g.tapAction(ACTION_SELECT);
        g.steps(2);
        if (!gEngine->audio.openMicRunning) {
            setenv("SDL_AUDIODRIVER", oldDriver.c_str(), 1);
            GTEST_SKIP() << "no capture through the disk driver";
        }
        EXPECT_TRUE(screen->openMicShownRunning());
        EXPECT_EQ(menu->item(2)->getText(), rowReads("OpenMicStop", "OpenMicMic"));

        // Choosing it again plays a library track, which ends open mic.
        menu->setSelectedIdx(2);
        g.tapAction(ACTION_SELECT);
        g.steps(2);
        EXPECT_FALSE(gEngine->audio.openMicRunning);
        EXPECT_NE(g->music.currentTrack, nullptr);
        EXPECT_EQ(menu->item(2)->getText(), rowReads("OpenMicStart", "OpenMicMic"));
        EXPECT_EQ(g.mode(), GM_MUSIC_TYPE_LIST);

        // Capture that stops by itself turns the row back on the next update.
        ASSERT_TRUE(g->music.startOpenMic());
        g.steps(1);
        EXPECT_TRUE(screen->openMicShownRunning());
        g->music.stopOpenMic();
        g.steps(1);
        EXPECT_FALSE(screen->openMicShownRunning());
    }
    setenv("SDL_AUDIODRIVER", oldDriver.c_str(), 1);
    removeFolderTree(dir);
}
