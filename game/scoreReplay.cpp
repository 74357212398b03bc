#include "game/scoreReplay.h"

#include <cmath>
#include <cstring>

#include "engine/webMessage.h"

int64_t CreplayRun::scoreAt(float time) const {
    if (samples.empty() || time < samples.front().time) return 0;
    if (time >= samples.back().time) return samples.back().score;
    // Samples are a second apart: a binary search finds the pair.
    size_t lo = 0, hi = samples.size() - 1;
    while (hi - lo > 1) {
        size_t mid = (lo + hi) / 2;
        if (samples[mid].time <= time) lo = mid;
        else hi = mid;
    }
    const CreplaySample& a = samples[lo];
    const CreplaySample& b = samples[hi];
    float span = b.time - a.time;
    if (span <= 0) return b.score;
    double t = (time - a.time) / span;
    return a.score + (int64_t)std::llround((double)(b.score - a.score) * t);
}

int CreplayRun::multiplierAt(float time) const {
    int m = samples.empty() ? 1 : samples.front().multiplier;
    for (const auto& s : samples) {
        if (s.time > time) break;
        m = s.multiplier;
    }
    return m;
}

void CscoreReplay::reset() {
    live_ = CreplayRun();
    rivals_.clear();
}

void CscoreReplay::resetLive() {
    std::string name = live_.name;
    live_ = CreplayRun();
    live_.name = name;
}

void CscoreReplay::record(float time, int64_t score, int multiplier) {
    if (!live_.samples.empty() && time < live_.samples.back().time + kSampleStep) return;
    if (live_.samples.size() >= kMaxSamples) return;
    live_.samples.push_back({time, score, multiplier});
}

bool CscoreReplay::addRival(const CreplayRun& run) {
    if ((int)rivals_.size() >= kMaxRivals) return false;
    for (size_t i = 1; i < run.samples.size(); ++i)
        if (run.samples[i].time < run.samples[i - 1].time) return false;
    rivals_.push_back(run);
    return true;
}

void CscoreReplay::pack(const CreplayRun& run, std::vector<uint8_t>& out) {
    out.clear();
    out.resize(8 + run.samples.size() * 16);
    uint8_t* p = out.data();
    putU32(p, (uint32_t)run.samples.size());
    uint32_t bits;
    memcpy(&bits, &run.deathTime, 4);
    putU32(p + 4, bits);
    p += 8;
    for (const auto& s : run.samples) {
        memcpy(&bits, &s.time, 4);
        putU32(p, bits);
        putU32(p + 4, (uint32_t)((uint64_t)s.score & 0xffffffffu));
        putU32(p + 8, (uint32_t)((uint64_t)s.score >> 32));
        putU32(p + 12, (uint32_t)s.multiplier);
        p += 16;
    }
}

bool CscoreReplay::unpack(const uint8_t* p, size_t size, CreplayRun& run) {
    if (!p || size < 8) return false;
    uint32_t count = getU32(p);
    if (count > kMaxSamples || size < 8 + (size_t)count * 16) return false;
    CreplayRun r;
    r.name = run.name;
    uint32_t bits = getU32(p + 4);
    memcpy(&r.deathTime, &bits, 4);
    p += 8;
    r.samples.reserve(count);
    for (uint32_t i = 0; i < count; ++i, p += 16) {
        CreplaySample s;
        bits = getU32(p);
        memcpy(&s.time, &bits, 4);
        s.score = (int64_t)((uint64_t)getU32(p + 4) | ((uint64_t)getU32(p + 8) << 32));
        s.multiplier = (int32_t)getU32(p + 12);
        if (!std::isfinite(s.time) || (!r.samples.empty() && s.time < r.samples.back().time)) return false;
        r.samples.push_back(s);
    }
    if (!std::isfinite(r.deathTime)) r.deathTime = -1;
    run = std::move(r);
    return true;
}
