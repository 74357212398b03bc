#include "audio/musicAnalysis.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/audio/fft.h"

namespace {
// Below this average a band counts as silent: the gain is not raised further.
constexpr float kFloor[CmusicAnalysis::kBands] = {0.004f, 0.002f, 0.0005f};
constexpr float kAverageSeconds = 2.0f;   // the automatic gain follows over about this long
constexpr float kFallSeconds = 0.12f;     // levels fall back smoothly after a beat
constexpr float kMaxLevel = 4.0f;
}  // namespace

void CmusicAnalysis::reset() { *this = CmusicAnalysis{}; }

float CmusicAnalysis::bandPower(float level) {
    if (!std::isfinite(level) || level <= 0) return 0.0f;
    float p = level * level * level * level;
    return std::min(p, 5.0f);
}

float CmusicAnalysis::intensity(float b0, float b1, float b2) {
    float t0 = bandPower(b0);
    float t1 = std::min(0.9f * (std::isfinite(b1) && b1 > 0 ? b1 * b1 * b1 * b1 : 0.0f), 5.0f);
    float t2 = std::min(0.8f * (std::isfinite(b2) && b2 > 0 ? b2 * b2 * b2 * b2 : 0.0f), 5.0f);
    return std::max(t0, std::max(t1, t2));
}

void CmusicAnalysis::step(const float* bins, int binCount, int sampleRate, float dt) {
    if (!bins || binCount <= 0 || sampleRate <= 0) return;
    dt = std::isfinite(dt) ? std::clamp(dt, 0.0f, 0.5f) : 0.0f;
    const float hzPerBin = (float)sampleRate / (2.0f * binCount);
    for (int b = 0; b < kBands; ++b) {
        int lo = std::max(1, (int)std::lround(kBandLow[b] / hzPerBin));
        int hi = std::min(binCount - 1, (int)std::lround(kBandHigh[b] / hzPerBin));
        float sum = 0;
        int n = 0;
        for (int i = lo; i <= hi; ++i, ++n) sum += std::isfinite(bins[i]) ? bins[i] : 0.0f;
        raw_[b] = n > 0 ? sum / (float)n : 0.0f;
    }
    if (!primed_) {
        for (int b = 0; b < kBands; ++b) average_[b] = raw_[b];
        primed_ = true;
    }
    float follow = 1.0f - std::exp(-dt / kAverageSeconds);
    float fall = 1.0f - std::exp(-dt / kFallSeconds);
    float sum = 0;
    for (int b = 0; b < kBands; ++b) {
        average_[b] += (raw_[b] - average_[b]) * follow;
        gain_[b] = 1.0f / std::max(average_[b], kFloor[b]);
        float target = std::min(raw_[b] * gain_[b], kMaxLevel);
        if (target >= level_[b])
            level_[b] = target;
        else
            level_[b] += (target - level_[b]) * fall;
        sum += level_[b];
    }
    float e = sum / kBands;
    if (e >= energy_)
        energy_ = e;
    else
        energy_ += (e - energy_) * fall;
}

void CmusicAnalysis::stepSamples(const float* mono, int count, int sampleRate, float dt) {
    static thread_local Cfft fft;
    static thread_local std::vector<float> in, bins;
    if (!fft.setSize(kFftSize)) return;
    in.assign(kFftSize, 0.0f);
    int n = std::min(count, kFftSize);
    if (n > 0) std::copy(mono + (count - n), mono + count, in.end() - n);
    bins.resize(kFftSize / 2);
    fft.magnitudes(in.data(), bins.data());
    step(bins.data(), (int)bins.size(), sampleRate, dt);
}
