#pragma once
// What play reads of the music each step: three band levels, the intensity
// and energy, and where the track stands. The music player fills it; without
// one (tests, benchmarks, a silent start) CsyntheticMusic makes a stand-in
// from a seed.
#include <cstdint>
#include <string>

#include "engine/random.h"

struct CmusicFeed {
    enum { BAND_BASS = 0, BAND_MID = 1, BAND_TREBLE = 2 };
    float bands[3] = {0, 0, 0};   // 0..1
    float intensity = 0;          // 0..1, slow
    float energy = 0;             // 0..~1.5, fast
    double trackTime = 0;         // seconds into the track
    double trackLength = 0;       // 0: no known end (a station or open mic)
    bool trackEnded = false;      // a file track played to its end this step or before

    // 0..1 through a track of known length, else 0.
    float progress() const;
};

// The track the session plays, as the session needs it.
struct CtrackInfo {
    enum { ENTRY_FILE = 0, ENTRY_BUILT_IN = 1, ENTRY_RADIO = 2, ENTRY_OPEN_MIC = 3 };
    std::string title, artist, album, genre;
    std::string key;       // the song library's key
    double length = 0;     // seconds; 0 unknown
    int entryType = ENTRY_FILE;
};

// A track's random seed from its title and length (the music player's seed).
uint32_t trackSeed(const std::string& title, double length);

// A stand-in for the music analysis: a beat at a tempo chosen by the seed,
// sections whose intensity rises and falls, bass on the beats, mids on the off
// beats and treble on the sixteenths.
class CsyntheticMusic {
public:
    void start(uint32_t seed, double length);
    // Advances by dt and writes the levels into feed.
    void update(float dt, CmusicFeed& feed);
    float bpm() const { return bpm_; }
    double time() const { return time_; }

private:
    float sectionIntensity(int section) const;

    uint32_t seed_ = 1;
    double length_ = 0, time_ = 0;
    float bpm_ = 120;
    float smoothIntensity_ = 0;
    bool ended_ = false;
};
