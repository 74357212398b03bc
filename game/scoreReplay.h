#pragma once
// CscoreReplay: the live run's score sampled once a second, and rival runs of
// the same track played back beside it: their score and multiplier at any
// time (interpolated between samples) and when they died.
#include <cstdint>
#include <string>
#include <vector>

struct CreplaySample {
    float time = 0;
    int64_t score = 0;
    int32_t multiplier = 1;
};

struct CreplayRun {
    std::string name;
    std::vector<CreplaySample> samples;   // by rising time
    float deathTime = -1;                 // -1: lived to the end

    // The score at a time: linear between samples, the last after the end, 0 before the first.
    int64_t scoreAt(float time) const;
    int multiplierAt(float time) const;
    bool deadAt(float time) const { return deathTime >= 0 && time >= deathTime; }
};

class CscoreReplay {
public:
    static constexpr int kMaxRivals = 6;
    static constexpr float kSampleStep = 1.0f;
    static constexpr size_t kMaxSamples = 86400;

    void reset();            // forgets the live run and the rivals
    void resetLive();        // a new live run, rivals kept
    // Samples the live run (once a sample step has passed since the last).
    void record(float time, int64_t score, int multiplier);
    void markDeath(float time) { live_.deathTime = time; }

    // A rival's run; refused beyond six rivals or with samples out of order.
    bool addRival(const CreplayRun& run);
    int rivalCount() const { return (int)rivals_.size(); }
    const CreplayRun& rival(int i) const { return rivals_[i]; }
    const std::string& rivalName(int i) const { return rivals_[i].name; }
    int64_t rivalScore(int i, float time) const { return rivals_[i].scoreAt(time); }
    int rivalMultiplier(int i, float time) const { return rivals_[i].multiplierAt(time); }
    float rivalDeathTime(int i) const { return rivals_[i].deathTime; }
    const CreplayRun& live() const { return live_; }

    // The stored form of a run (a leaderboard's attached data): u32 count,
    // f32 death time, then per sample f32 time, i64 score, i32 multiplier.
    static void pack(const CreplayRun& run, std::vector<uint8_t>& out);
    static bool unpack(const uint8_t* p, size_t size, CreplayRun& run);

private:
    CreplayRun live_;
    std::vector<CreplayRun> rivals_;
};
