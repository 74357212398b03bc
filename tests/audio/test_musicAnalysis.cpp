#include <gtest/gtest.h>

#include <cmath>

#include "audio/musicAnalysis.h"
#include "support/audioTestFiles.h"

namespace {
struct Cpeaks {
    float maxLevel[3] = {};
    float maxIntensity = 0;
};

// Steps the analysis through a buffer the way the game does: 60 steps a
// second, each on the latest 1024 samples. Peaks count after a warm-up.
Cpeaks run(CmusicAnalysis& a, const CpcmBuffer& pcm, double warmUp = 2.0) {
    std::vector<float> mono(pcm.frames());
    for (size_t i = 0; i < mono.size(); ++i)
        mono[i] = pcm.channels == 2 ? 0.5f * (pcm.samples[i * 2] + pcm.samples[i * 2 + 1]) : pcm.samples[i];
    Cpeaks p;
    const double step = 1.0 / 60.0;
    for (double t = step; t < pcm.seconds(); t += step) {
        size_t end = (size_t)(t * pcm.rate);
        if (end < CmusicAnalysis::kFftSize) continue;
        a.stepSamples(mono.data() + end - CmusicAnalysis::kFftSize, CmusicAnalysis::kFftSize, pcm.rate, (float)step);
        if (t < warmUp) continue;
        for (int b = 0; b < 3; ++b) p.maxLevel[b] = std::max(p.maxLevel[b], a.level(b));
        p.maxIntensity = std::max(p.maxIntensity, CmusicAnalysis::intensity(a.level(0), a.level(1), a.level(2)));
    }
    return p;
}

CpcmBuffer mix(const CpcmBuffer& a, const CpcmBuffer& b) {
    CpcmBuffer out = a;
    for (size_t i = 0; i < out.samples.size() && i < b.samples.size(); ++i) out.samples[i] += b.samples[i];
    return out;
}
}  // namespace

TEST(MusicAnalysis, KickRaisesBassAndHiHatRaisesTreble) {
    CmusicAnalysis kick;
    Cpeaks k = run(kick, synth::makeKickLoop(120, 5.0));
    EXPECT_GT(k.maxLevel[0], 1.3f);
    EXPECT_LT(k.maxLevel[2], 0.3f);

    CmusicAnalysis hat;
    Cpeaks h = run(hat, synth::makeHiHatLoop(120, 5.0));
    EXPECT_GT(h.maxLevel[2], 1.3f);
    EXPECT_LT(h.maxLevel[0], 0.3f);

    // Over a steady tone in the middle band, kicks lift band 0 while band 1 stays near its average.
    CpcmBuffer steady = synth::makeTone(1000.0, 5.0, 44100, 2, 0.3f);
    CmusicAnalysis both;
    Cpeaks b = run(both, mix(steady, synth::makeKickLoop(120, 5.0)));
    EXPECT_GT(b.maxLevel[0], b.maxLevel[1] + 0.3f) << b.maxLevel[1];
    EXPECT_NEAR(b.maxLevel[1], 1.1f, 0.3f);
}

TEST(MusicAnalysis, SilenceIsNotAmplifiedAndLevelsFallBack) {
    CmusicAnalysis a;
    CpcmBuffer quiet(44100, 2, 4.0);
    CnoiseSource n(3);
    for (auto& s : quiet.samples) s = n.next() * 1e-4f;   // hiss far below music
    Cpeaks p = run(a, quiet, 0.5);
    for (int b = 0; b < 3; ++b) EXPECT_LT(p.maxLevel[b], 0.2f) << b;

    // After music stops the levels and the energy fall towards 0.
    CmusicAnalysis m;
    run(m, synth::makeKickLoop(120, 4.0));
    std::vector<float> bins(512, 0.0f);
    for (int i = 0; i < 120; ++i) m.step(bins.data(), 512, 44100, 1.0f / 60);
    EXPECT_LT(m.level(0), 0.01f);
    EXPECT_LT(m.energy(), 0.01f);
    m.step(nullptr, 512, 44100, 0.1f);   // bad input is ignored
}

