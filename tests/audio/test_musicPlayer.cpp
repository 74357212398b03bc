#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "audio/audioBASS.h"
#include "audio/musicPlayer.h"
#include "audio/songInfoMgr.h"
#include "engine/resourceFile.h"
#include "support/audioTestFiles.h"
#include "support/localHttpServer.h"
#include "support/testEngine.h"

namespace {
using Cclock = std::chrono::steady_clock;

// The player over a mixer that the test drives by hand.
struct CplayerRig {
    CtestEngine eng;
    CaudioBASS audio;
    CsongInfoMgr lib;
    CmusicPlayer player;
    float maxIntensity = 0;
    CplayerRig() {
        EXPECT_TRUE(audio.init(44100, true));
        lib.init();
        player.init(&audio, &lib);
    }
    ~CplayerRig() {
        player.shutdown();
        audio.shutdown();
    }
    void step() {
        float buf[1024 * 2];
        audio.mixer.mix(buf, 1024);
        player.update(1024.0f / 44100.0f);
        maxIntensity = std::max(maxIntensity, player.getIntensity());
    }
    template <class P>
    bool run(P pred) {
        auto until = Cclock::now() + std::chrono::milliseconds((int)(kEventWaitSeconds * 1000));
        while (Cclock::now() < until) {
            if (pred()) return true;
            step();
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        return pred();
    }
    double position() { return audio.mixer.position(player.channel); }
};

std::string icyBody(const std::string& data, size_t metaint, const std::string& title) {
    std::string meta = "StreamTitle='" + title + "';";
    size_t blocks = (meta.size() + 15) / 16;
    meta.resize(blocks * 16, '\0');
    std::string out;
    for (size_t at = 0; at < data.size(); at += metaint) {
        out += data.substr(at, metaint);
        if (at + metaint <= data.size()) {
            out.push_back((char)blocks);
            out += meta;
        }
    }
    return out;
}

CsongPackInfo localEntry(const std::string& path, const std::string& title, float length) {
    CsongPackInfo e;
    e.kind = SONG_LOCAL;
    e.path = path;
    e.tags.title = title;
    e.tags.length = length;
    e.updateKey();
    return e;
}
}  // namespace

TEST(MusicPlayer, BuiltInTracksRegisterPlayAndAreAnalysed) {
    CplayerRig rig;
    ASSERT_TRUE(rig.player.addBuiltInTracks());
    EXPECT_EQ(rig.lib.countKind(SONG_BUILT_IN), 4);
    CsongPackInfo* theme = rig.lib.findByPath("music/Decade of Zorbex.mp3");
    ASSERT_NE(theme, nullptr);

    ASSERT_TRUE(rig.player.playTrack(theme));
    EXPECT_TRUE(rig.eng->log.contains("Playing track: Decade of Zorbex! - Zorbex Sound Unit"));
    ASSERT_TRUE(rig.run([&] { return rig.position() > 6.0; }));
    EXPECT_NEAR(rig.player.getTimeRemaining(), theme->tags.length - rig.position(), 0.5);
    EXPECT_GT(rig.maxIntensity, 1.5f);   // the drums of the intro

    // Clearing the library does not pull the current track away: it keeps a copy.
    rig.lib.clearLocalTracks();
    ASSERT_NE(rig.player.currentTrack, nullptr);
    EXPECT_EQ(rig.player.getTrackLabel(rig.player.currentTrack, 0), "Decade of Zorbex! - Zorbex Sound Unit");
    rig.player.addBuiltInTracks();
    EXPECT_TRUE(rig.player.playTrack(rig.lib.getRandomTrack()));
}

TEST(MusicPlayer, NoTrackUnreadableFileOrDeadStreamLeaveItSilent) {
    CplayerRig rig;
    EXPECT_FALSE(rig.player.playTrack(nullptr));
    CsongPackInfo missing = localEntry("/nowhere/at/all.mp3", "Gone", 100);
    EXPECT_FALSE(rig.player.playTrack(&missing));
    EXPECT_TRUE(rig.eng->log.containsPart("Can't play track: /nowhere/at/all.mp3"));
    EXPECT_EQ(rig.player.channel, 0u);

    // A station that can't be reached or answers late with an error: the
    // player is left silent, the station named.
    auto failsAsStation = [&](const std::string& name, const std::string& url, std::function<void()> whilePending) {
        CsongPackInfo entry;
        entry.setRadioStation(CradioStation{0, name, url, 0, 0, "", 0});
        rig.player.failedStation.clear();
        EXPECT_TRUE(rig.player.playTrack(&entry));
        whilePending();
        ASSERT_TRUE(rig.run([&] { return rig.player.channel == 0; }));
        EXPECT_EQ(rig.player.failedStation, name);
        EXPECT_FALSE(rig.audio.radioPlaying);
    };
    failsAsStation("Dead FM", "http://127.0.0.1:1/stream", [] {});
    EXPECT_TRUE(rig.eng->log.containsPart("Station failed: Dead FM"));

    CheldAnswer held;
    ClocalHttpServer slowWeb([&](const ChttpRequest&) {
        held.waitTurn();
        ChttpResponse r;
        r.status = 404;
        return r;
    });
    held.hold();
    failsAsStation("Slow FM", slowWeb.url() + "/live", [&] {
        EXPECT_EQ(held.answered(), 0);   // playTrack came back while the answer is held
        held.letGo();
    });
}

TEST(MusicPlayer, RadioStationPlaysAndItsTitlesAreData) {
    CplayerRig rig;
    std::string dir = makeTempFolder("fm");
    std::string mp3;
    {
        Cbytes b;
        CresourceFile::readWholeFile(writeTestAudio(dir, "s.mp3", synth::makeKickLoop(120, 6.0), nullptr, 128), b);
        mp3.assign(b.begin(), b.end());
    }
    const std::string title = "Band %s%n%d - Song";
    ClocalHttpServer server([&](const ChttpRequest& req) {
        ChttpResponse r;
        r.contentType = "audio/mpeg";
        r.extraHeaders = {{"icy-metaint", "4096"}};
        r.body = req.path == "/live" ? icyBody(mp3, 4096, title) : "";
        if (req.path != "/live") r.status = 404;
        return r;
    });
    CradioStation s{0, "Test FM", server.url() + "/live", 0, 0, "", 0};
    rig.lib.addRadioStation(s);
    CsongPackInfo track;
    track.setRadioStation(s);   // the radio browser's own entry
    ASSERT_TRUE(rig.player.playTrack(&track));
    EXPECT_EQ(rig.player.currentTrack, rig.lib.findByUrl(s.station));
    ASSERT_TRUE(rig.run([&] { return rig.audio.radioPlaying && rig.audio.streamTitleChanged; }));
    EXPECT_TRUE(rig.eng->log.contains("Stream title: " + title));
    EXPECT_EQ(rig.player.getTrackLabel(rig.player.currentTrack, 1), "Test FM - " + title);
    rig.run([&] { return rig.maxIntensity > 1.5f; });
    EXPECT_GT(rig.maxIntensity, 1.5f);   // kicks over the air
    removeFolderTree(dir);
}

TEST(MusicPlayer, EndedTrackHandsOverToTheNextTrackRule) {
    CplayerRig rig;
    std::string dir = makeTempFolder("end");
    CfileTags ta{"Alpha", "X", "", "", 1, 2026}, tb{"Beta", "X", "", "", 2, 2026};
    std::string a = writeTestAudio(dir, "a.ogg", synth::makeTone(400, 1.0), &ta);
    std::string b = writeTestAudio(dir, "b.ogg", synth::makeTone(500, 1.0), &tb);
    CtrackTags tags;
    ASSERT_TRUE(CaudioBASS::readFileTags(a, tags));
    rig.lib.addLocalTrack(SONG_LOCAL, tags, a);
    ASSERT_TRUE(CaudioBASS::readFileTags(b, tags));
    rig.lib.addLocalTrack(SONG_LOCAL, tags, b);
    CsongPackInfo* beta = rig.lib.findByPath(b);
    ASSERT_TRUE(rig.player.playTrack(rig.lib.findByPath(a)));
    ASSERT_TRUE(rig.run([&] { return rig.player.currentTrack == beta; }));

    // The game may take over what follows.
    CsongPackInfo* ended = nullptr;
    rig.player.onTrackEnd = [&](CsongPackInfo* t) {
        ended = t;
        return true;
    };
    ASSERT_TRUE(rig.run([&] { return ended != nullptr; }));
    EXPECT_EQ(ended, beta);
    EXPECT_EQ(rig.player.channel, 0u);
    removeFolderTree(dir);
}

TEST(MusicPlayer, RestartHoldSeedPauseAndLabels) {
    CplayerRig rig;
    std::string dir = makeTempFolder("hold");
    CsongPackInfo a = localEntry(writeTestAudio(dir, "a.flac", synth::makeTone(400, 3.0)), "Alpha", 3);
    CsongPackInfo b = localEntry(writeTestAudio(dir, "b.flac", synth::makeTone(500, 3.0)), "Beta", 3);
    int styles = 0;
    rig.player.onNewTrackSeed = [&] { ++styles; };
    ASSERT_TRUE(rig.player.playTrack(&a));
    EXPECT_EQ(styles, 1);
    uint32_t seed = rig.player.trackSeed;
    ASSERT_TRUE(rig.run([&] { return rig.position() > 0.5; }));

    rig.audio.holdTrackRestart = true;
    ASSERT_TRUE(rig.player.playTrack(&a));
    EXPECT_GT(rig.position(), 0.5);   // kept going
    rig.audio.holdTrackRestart = false;
    ASSERT_TRUE(rig.player.playTrack(&a));
    EXPECT_LT(rig.position(), 0.1);   // started over
    EXPECT_EQ(styles, 1);             // same track, same seed
    ASSERT_TRUE(rig.player.playTrack(&b));
    EXPECT_EQ(styles, 2);
    EXPECT_NE(rig.player.trackSeed, seed);

    ASSERT_TRUE(rig.run([&] { return rig.position() > 0.3; }));
    ASSERT_TRUE(rig.player.pause());
    double at = rig.position();
    for (int i = 0; i < 20; ++i) rig.step();
    EXPECT_DOUBLE_EQ(rig.position(), at);
    ASSERT_TRUE(rig.player.resume());
    ASSERT_TRUE(rig.run([&] { return rig.position() > at + 0.2; }));
    // The default channel stands for the player's channel.
    EXPECT_TRUE(rig.audio.pauseChannel(0));
    EXPECT_EQ(rig.audio.mixer.state(rig.player.channel), CHANNEL_PAUSED);

    CsongPackInfo untitled = localEntry("/x.mp3", "", 65);
    EXPECT_EQ(rig.player.getTrackLabel(&untitled, 0), "01:05");
    EXPECT_EQ(rig.player.getTrackLabel(nullptr, 0), "");
    removeFolderTree(dir);
}

TEST(MusicPlayer, OpenMicWithoutADesktopSourceSaysWhy) {
    CplayerRig rig;
    std::string reason;
    rig.player.onOpenMicError = [&](const std::string& r) { reason = r; };
    rig.player.captureSource = OPEN_MIC_DESKTOP;
    if (CaudioCapture::defaultOfKind(rig.player.queryDevices(), OPEN_MIC_DESKTOP) >= 0)
        GTEST_SKIP() << "this machine has a desktop loopback source";
    EXPECT_FALSE(rig.player.startOpenMic());
    EXPECT_NE(reason.find("no desktop audio source"), std::string::npos);
    EXPECT_FALSE(rig.player.openMicRunning());
}

// Capture through SDL's disk driver: a tone file stands in for the microphone.
TEST(MusicPlayer, OpenMicCapturesAnalysesAndStopsForATrack) {
    std::string dir = makeTempFolder("mic");
    CpcmBuffer tone = synth::makeKickLoop(120, 6.0, 48000);
    std::string raw = dir + "/in.raw";
    ASSERT_TRUE(CresourceFile::writeFileAtomic(raw, tone.samples.data(), tone.samples.size() * sizeof(float)));
    std::string oldDriver = getenv("SDL_AUDIODRIVER") ? getenv("SDL_AUDIODRIVER") : "";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILEIN", raw.c_str(), 1);
    setenv("SDL_DISKAUDIOFILE", (dir + "/out.raw").c_str(), 1);
    {
        CplayerRig rig;
        if (CaudioCapture::defaultOfKind(rig.player.queryDevices(), OPEN_MIC_MICROPHONE) < 0) {
            setenv("SDL_AUDIODRIVER", oldDriver.c_str(), 1);
            GTEST_SKIP() << "no capture through the disk driver";
        }
        rig.player.captureSource = OPEN_MIC_MICROPHONE;
        ASSERT_TRUE(rig.player.startOpenMic());
        EXPECT_EQ(rig.player.currentTrack->tags.title, "OpenMic - Microphone");
        EXPECT_FLOAT_EQ(rig.audio.mixer.attribute(rig.player.channel, AUDIO_VOLUME), 0.0f);   // no howl
        float maxLevel = 0;
        ASSERT_TRUE(rig.run(
            [&] {
                maxLevel = std::max(maxLevel, rig.player.openMicLevel);
                return maxLevel > 30.0f && rig.maxIntensity > 1.5f;
            }));
        // Playing a track ends open mic.
        ASSERT_TRUE(rig.player.addBuiltInTracks());
        ASSERT_TRUE(rig.player.playTrack(rig.lib.getRandomTrack()));
        EXPECT_FALSE(rig.audio.openMicRunning);
        EXPECT_TRUE(rig.eng->log.contains("Open mic stopped"));
    }
    setenv("SDL_AUDIODRIVER", oldDriver.c_str(), 1);
    removeFolderTree(dir);
}
