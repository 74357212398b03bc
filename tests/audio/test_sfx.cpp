#include <gtest/gtest.h>

#include "audio/audioBASS.h"
#include "audio/gameSfx.h"
#include "audio/sfxPackMgr.h"
#include "support/testEngine.h"

TEST(GameSfx, TheSoundTableLoadsSingleSlotsStopFirstAndPacksPlayAtTheirSettings) {
    CtestEngine eng;
    CaudioBASS audio;
    ASSERT_TRUE(audio.init(44100, true));
    CgameSfx sfx;
    ASSERT_TRUE(sfx.init(&audio));
    sfx.loadSamples();   // what the loading does behind the logo
    sfx.waitForSamples();
    EXPECT_FALSE(eng->log.containsPart("Can't load sound"));
    for (int i = 0; i < CgameSfx::kSlots; ++i) EXPECT_FALSE(sfx.slotFile(i).empty()) << "slot " << i;

    audio.setSfxVolume(0.5f);
    HaudioChannel first = sfx.play(SFX_ACHIEVEMENT, 0.8f);
    ASSERT_NE(first, 0u);
    EXPECT_FLOAT_EQ(audio.mixer.attribute(first, AUDIO_VOLUME), 0.4f);
    HaudioChannel second = sfx.play(SFX_ACHIEVEMENT, 1.0f);
    EXPECT_NE(second, first);
    EXPECT_NE(audio.mixer.state(first), CHANNEL_PLAYING);   // single instance: stopped first
    EXPECT_EQ(audio.mixer.state(second), CHANNEL_PLAYING);

    // Slot 0 (shots) plays several at once.
    HaudioChannel a = sfx.play(0), b = sfx.play(0);
    EXPECT_EQ(audio.mixer.state(a), CHANNEL_PLAYING);
    EXPECT_EQ(audio.mixer.state(b), CHANNEL_PLAYING);

    EXPECT_EQ(sfx.play(46), 0u);
    EXPECT_EQ(sfx.play(-1), 0u);
    sfx.stop(SFX_ACHIEVEMENT);
    EXPECT_EQ(audio.mixer.state(second), CHANNEL_STOPPED);

    // The named packs are found ignoring case and play with volume, rate and pan.
    CsfxPackMgr packs;
    ASSERT_TRUE(packs.init(&audio));
    CsfxPack* swoosh = packs.find("logoswoosh");
    ASSERT_NE(swoosh, nullptr);
    EXPECT_EQ(packs.find("NoSuchPack"), nullptr);

    HaudioChannel h = packs.play(swoosh, 0.5f, 1.5f, -0.25f);
    ASSERT_NE(h, 0u);
    EXPECT_FLOAT_EQ(audio.mixer.attribute(h, AUDIO_VOLUME), 0.25f);
    EXPECT_FLOAT_EQ(audio.mixer.attribute(h, AUDIO_RATE), 1.5f);
    EXPECT_FLOAT_EQ(audio.mixer.attribute(h, AUDIO_PAN), -0.25f);
    EXPECT_EQ(packs.play(nullptr), 0u);
    EXPECT_EQ(packs.play(swoosh, NAN), packs.find("LogoSwoosh")->channel);   // a bad volume plays at 1
}

