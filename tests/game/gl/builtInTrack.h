#pragma once
// The built-in track playing through the music player, mixed by hand (no
// audio device), for tests that play a session in a real window.
#include <gtest/gtest.h>

#include "audio/audioBASS.h"
#include "audio/musicPlayer.h"
#include "audio/songInfoMgr.h"
#include "game/musicLink.h"
#include "game/playHarness.h"
#include "support/testEngine.h"

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
    // One step's worth of audio mixed, and the music fed to play. The track
    // is decoded ahead on a worker that a busy machine can hold back: the
    // step waits for its frames rather than mixing silence in their place.
    void step(float dt, CmusicFeed& feed) {
        int left = kStepFrames;
        EXPECT_TRUE(waitUntil([&] {
            const double before = audio.mixer.position(player.channel);
            audio.mixer.mix(mix, left);
            left -= (int)std::lround((audio.mixer.position(player.channel) - before) * 44100.0);
            return left <= 0 || ended || audio.mixer.state(player.channel) != CHANNEL_PLAYING;
        })) << "the track's decoding never caught up";
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
    static constexpr int kStepFrames = 735;   // 1/60 s at 44.1 kHz
    float mix[kStepFrames * 2];
};
