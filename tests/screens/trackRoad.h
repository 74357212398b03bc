#pragma once
// The road to a track, headless: every screen loaded, a short generated track
// in the song library and playing, and stand-ins recorded for the states
// around the road that belong to other screens.
#include <string>

#include "screensFixture.h"
#include "support/audioTestFiles.h"
#include "support/testEngine.h"

struct CtrackRoad {
    CscreensGame g;
    CrecordingScreen mainMenu, browser, radio, shipMissions, hub, challenge;
    CsongPackInfo* track = nullptr;
    std::vector<int> sounds;   // UI sound slots played

    explicit CtrackRoad(double seconds = 4.0) {
        if (!g.initOk()) return;
        g->setScreen(GM_MAIN_MENU, &mainMenu);
        g->setScreen(GM_MUSIC_BROWSER, &browser);
        g->setScreen(GM_MUSIC_RADIO_BROWSER, &radio);
        g->setScreen(GM_MUSIC_BROWSER_SHIP_MISSIONS, &shipMissions);
        g->setScreen(GM_TB_HUB, &hub);
        g->setScreen(GM_DAILY_CHALLENGE_L, &challenge);
        gEngine->ui.playSound = [this](int slot) { sounds.push_back(slot); };
        std::string folder = makeTempFolder("track_road");
        CfileTags fileTags;
        fileTags.title = "Road Test";
        fileTags.artist = "Synth";
        std::string path = writeTestAudio(folder, "road.ogg", synth::makeKickLoop(120, seconds), &fileTags);
        CtrackTags tags;
        tags.title = "Road Test";
        tags.artist = "Synth";
        tags.length = (float)seconds;
        g->songLibrary.addLocalTrack(SONG_LOCAL, tags, path);
        track = g->songLibrary.findByPath(path);
        if (track) g->music.playTrack(track);
        // The file opens in the background.
        if (track) EXPECT_TRUE(g.stepUntil([this] { return g->music.isPlaying(); })) << "the track never played";
    }
    bool played(int slot) const {
        for (int s : sounds)
            if (s == slot) return true;
        return false;
    }
    // Enters a state at once and lets its opening finish.
    void enter(int mode) {
        g->setGameMode(mode);
        g.settle();
    }
    // Steps at the pace of a real frame: the music plays on the audio thread
    // in real time, and only its end finishes a track.
    bool runUntil(int mode, int maxSteps) {
        for (int i = 0; i < maxSteps && g.mode() != mode; ++i) {
            Uint64 start = SDL_GetTicks64();
            g.steps(1);
            Uint64 spent = SDL_GetTicks64() - start;
            if (spent < 16) SDL_Delay((Uint32)(16 - spent));
        }
        return g.mode() == mode;
    }
    // A press of a button-bar action, then the fade to wherever it leads.
    void press(int action, int fadeSteps = 80) {
        g.tapAction(action);
        g.steps(fadeSteps);
    }
};
