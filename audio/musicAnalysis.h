#pragma once
// CmusicAnalysis: the per-step reading of what plays. From a spectrum of the
// latest audio it keeps three band levels (bass, middle, treble) under an
// automatic gain: each band is measured against its own running average, so
// that a level near 1 is the band's usual loudness and a beat pushes it above.
#include <cstdint>

class CmusicAnalysis {
public:
    static constexpr int kFftSize = 1024;
    static constexpr int kBands = 3;

    void reset();
    // One step from magnitudes of an FFT (bins = fftSize / 2) at a sample rate.
    void step(const float* bins, int binCount, int sampleRate, float dt);
    // The same from the latest mono samples (kFftSize of them).
    void stepSamples(const float* mono, int count, int sampleRate, float dt);

    float level(int band) const { return band >= 0 && band < kBands ? level_[band] : 0.0f; }
    float raw(int band) const { return band >= 0 && band < kBands ? raw_[band] : 0.0f; }
    float gain(int band) const { return band >= 0 && band < kBands ? gain_[band] : 0.0f; }
    float energy() const { return energy_; }

    // A band level to the fourth power, capped at 5.
    static float bandPower(float level);
    // max(b0^4, 0.9 b1^4, 0.8 b2^4), each term capped at 5.
    static float intensity(float b0, float b1, float b2);

    // Band edges in Hz.
    static constexpr float kBandLow[kBands] = {30.0f, 300.0f, 5000.0f};
    static constexpr float kBandHigh[kBands] = {150.0f, 2500.0f, 14000.0f};

private:
    float raw_[kBands] = {};
    float average_[kBands] = {};
    float gain_[kBands] = {};
    float level_[kBands] = {};
    float energy_ = 0;
    bool primed_ = false;
};
