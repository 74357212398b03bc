#include "game/musicFeed.h"

#include <algorithm>
#include <cmath>

#include "engine/maths.h"

float CmusicFeed::progress() const {
    if (trackLength <= 0) return 0;
    return clampf((float)(trackTime / trackLength), 0.0f, 1.0f);
}

uint32_t trackSeed(const std::string& title, double length) {
    // FNV-1a over the title, then the four bytes of the whole seconds of the
    // length: the music player's seed of the same track.
    uint32_t h = 2166136261u;
    for (unsigned char c : title) h = (h ^ c) * 16777619u;
    uint32_t len = (uint32_t)std::max(0.0, length);
    for (int i = 0; i < 4; ++i) h = (h ^ ((len >> (8 * i)) & 0xFF)) * 16777619u;
    return h;
}

void CsyntheticMusic::start(uint32_t seed, double length) {
    seed_ = seed ? seed : 1;
    length_ = length;
    time_ = 0;
    Crandom r(seed_);
    bpm_ = 100.0f + (float)r.choice(41);
    smoothIntensity_ = 0;
    ended_ = false;
}

float CsyntheticMusic::sectionIntensity(int section) const {
    // Intro quiet, then a build, a drop, a break, a bigger drop; the seed shifts the levels.
    static const float pattern[] = {0.15f, 0.45f, 0.8f, 0.3f, 0.6f, 0.95f, 0.5f, 1.0f};
    Crandom r(seed_ + (uint32_t)section * 7919u);
    float base = pattern[section % 8];
    return clampf(base + (r.fraction() - 0.5f) * 0.2f, 0.05f, 1.0f);
}

void CsyntheticMusic::update(float dt, CmusicFeed& feed) {
    time_ += dt;
    double t = time_;
    if (length_ > 0 && t >= length_) {
        t = length_;
        ended_ = true;
    }
    float beat = (float)(t * bpm_ / 60.0);
    float phase = beat - std::floor(beat);
    int section = (int)(beat / 32.0f);   // eight bars of four
    float target = sectionIntensity(section);
    smoothIntensity_ += (target - smoothIntensity_) * clampf(dt * 1.5f, 0.0f, 1.0f);

    float kick = std::exp(-phase * 8.0f);
    float offPhase = phase + 0.5f - std::floor(phase + 0.5f);
    float snare = std::exp(-offPhase * 10.0f);
    float sixteenth = beat * 4.0f - std::floor(beat * 4.0f);
    float hat = std::exp(-sixteenth * 14.0f);
    float level = 0.35f + 0.65f * smoothIntensity_;

    feed.bands[CmusicFeed::BAND_BASS] = ended_ ? 0 : clampf(kick * level, 0, 1);
    feed.bands[CmusicFeed::BAND_MID] = ended_ ? 0 : clampf((0.3f + 0.7f * snare) * level * 0.9f, 0, 1);
    feed.bands[CmusicFeed::BAND_TREBLE] = ended_ ? 0 : clampf(hat * level * (0.4f + smoothIntensity_ * 0.6f), 0, 1);
    feed.intensity = ended_ ? 0 : smoothIntensity_;
    feed.energy = ended_ ? 0 : (feed.bands[0] + feed.bands[1] + feed.bands[2]) * 0.6f;
    feed.trackTime = t;
    feed.trackLength = length_;
    feed.trackEnded = ended_;
}
