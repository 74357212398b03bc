#pragma once
// The built-in track playing through the music player, mixed by hand (no
// audio device), for tests that play a session in a real window.
#include <gtest/gtest.h>

#include "audio/audioBASS.h"
#include "audio/musicPlayer.h"
#include "audio/songInfoMgr.h"
#include "game/musicLink.h"
#include "game/playHarness.h"

struct CbuiltInTrack {
    // Starts the first built-in track; false (with a test failure) when it can't.
    bool start() {
        EXPECT_TRUE(audio.init(44100, true));
        library.init();
        player.init(&audio, &library);
        EXPECT_TRUE(player.addBuiltInTracks());
        for (size_t i = 0; i < library.size(); ++i)
            if (library.entry(i)->kind == SONG_BUILT_IN && !track) track = library.entry(i);
        EXPECT_NE(track, nullptr);
        if (!track || !player.playTrack(track)) return false;
        player.onTrackEnd = [this](CsongPackInfo*) {
            ended = true;
            return true;
        };
        return true;
    }
    // Harness options for a game on this track.
    CharnessOptions options(int difficulty) const {
        CtrackInfo info = trackInfoFromSong(*track);
        CharnessOptions o;
        o.title = info.title;
        o.artist = info.artist;
        o.length = info.length;
        o.difficulty = difficulty;
        return o;
    }
    // One step's worth of audio mixed, and the music fed to play.
    void step(float dt, CmusicFeed& feed) {
        audio.mixer.mix(mix, 735);
        player.update(dt);
        fillMusicFeed(player, ended, dt, feed);
    }
    void stop() {
        player.shutdown();
        audio.shutdown();
    }

    CaudioBASS audio;
    CsongInfoMgr library;
    CmusicPlayer player;
    CsongPackInfo* track = nullptr;
    bool ended = false;
    float mix[735 * 2];
};
