#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "audio/audioBASS.h"
#include "support/testEngine.h"

namespace {
// Sets an environment variable for one scope.
class CscopedEnv {
public:
    CscopedEnv(const char* name, const char* value) : name_(name) {
        const char* old = getenv(name);
        had_ = old != nullptr;
        if (had_) old_ = old;
        setenv(name, value, 1);
    }
    ~CscopedEnv() {
        if (had_) setenv(name_, old_.c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    bool had_ = false;
    std::string old_;
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
    EXPECT_FALSE(eng->log.containsPart("Audio: can't open the output device:"));

    // The dummy device keeps time: a track decodes and moves on.
    HaudioChannel h = audio.mixer.streamFile(gEngine->dataPath("music/Neon Drift.mp3"));
    ASSERT_NE(h, 0u);
    ASSERT_TRUE(audio.mixer.play(h));
    EXPECT_TRUE(waitUntil([&] { return audio.mixer.position(h) >= 0.25; }));
    float mono[512];
    EXPECT_GT(audio.mixer.getData(h, mono, 512), 0);
    audio.shutdown();

    // The driver choice was for that one start: the next reads the environment again.
    CscopedEnv env("SDL_AUDIODRIVER", "no-such-driver");
    CaudioMixer plain;
    EXPECT_FALSE(plain.init(nullptr));
    EXPECT_FALSE(plain.lastError().empty());
}
