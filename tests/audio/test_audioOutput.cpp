#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "audio/audioBASS.h"
#include "support/testEngine.h"

namespace {
// Sets an environment variable for one scope.
struct CscopedEnv {
    const char* name;
    const char* old;
    CscopedEnv(const char* n, const char* value) : name(n), old(getenv(n)) { setenv(n, value, 1); }
    ~CscopedEnv() { old ? (void)setenv(name, oldCopy.c_str(), 1) : (void)unsetenv(name); }
    std::string oldCopy = old ? old : "";
};
}  // namespace

TEST(AudioOutput, WithoutADeviceTracksStillPlaySilently) {
    CtestEngine eng;
    CaudioBASS audio;
    {
        CscopedEnv env("SDL_AUDIODRIVER", "no-such-driver");   // as when no sound server is there
        ASSERT_TRUE(audio.init());
    }
    EXPECT_EQ(audio.mixer.driverName(), "dummy");
    EXPECT_TRUE(eng->log.containsPart("Audio: can't open the output device ("));

    // The dummy device keeps time: a track decodes and moves on.
    HaudioChannel h = audio.mixer.streamFile(gEngine->dataPath("music/Neon Drift.mp3"));
    ASSERT_NE(h, 0u);
    ASSERT_TRUE(audio.mixer.play(h));
    EXPECT_TRUE(waitUntil([&] { return audio.mixer.position(h) >= 0.25; }));
    audio.shutdown();

    // The driver choice was for that one start: the next reads the environment again.
    CscopedEnv env("SDL_AUDIODRIVER", "no-such-driver");
    CaudioMixer plain;
    EXPECT_FALSE(plain.init(nullptr));
}
