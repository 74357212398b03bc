#pragma once
// A small synthesiser for the project's own sound effects and built-in music.
// Everything it makes is float PCM, interleaved, in [-1, 1].
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct CpcmBuffer {
    int rate = 44100;
    int channels = 2;
    std::vector<float> samples;   // interleaved

    CpcmBuffer() = default;
    CpcmBuffer(int r, int c, double seconds) : rate(r), channels(c) { resizeSeconds(seconds); }
    size_t frames() const { return channels > 0 ? samples.size() / (size_t)channels : 0; }
    double seconds() const { return rate > 0 ? (double)frames() / rate : 0.0; }
    void resizeSeconds(double s) { samples.assign((size_t)(s * rate + 0.5) * (size_t)channels, 0.0f); }
    // Adds a mono value at a frame, panned (-1 left .. +1 right).
    void add(size_t frame, float v, float pan = 0.0f);
    // Scales so that the largest magnitude is peak.
    void normalise(float peak);
};

class CnoiseSource {
public:
    explicit CnoiseSource(uint32_t seed = 1) : x_(seed ? seed : 1) {}
    float next() {   // white noise in [-1, 1)
        x_ ^= x_ << 13;
        x_ ^= x_ >> 17;
        x_ ^= x_ << 5;
        return (float)((double)x_ / 2147483648.0 - 1.0);
    }
    uint32_t nextInt() { next(); return x_; }

private:
    uint32_t x_;
};

enum EsynthWave { WAVE_SINE = 0, WAVE_SQUARE, WAVE_SAW, WAVE_TRIANGLE };

namespace synth {
double noteFrequency(int midiNote);
float wave(EsynthWave w, double phase);   // phase in cycles

// Percussion and tones added into a buffer at a time in seconds.
void addKick(CpcmBuffer& b, double at, float gain);
void addSnare(CpcmBuffer& b, double at, float gain, uint32_t seed);
void addHiHat(CpcmBuffer& b, double at, float gain, uint32_t seed, double length = 0.06);
void addTone(CpcmBuffer& b, double at, double length, double freq, float gain, EsynthWave w, float pan = 0.0f,
             double attack = 0.005, double release = 0.05);
// A tone whose frequency slides from f0 to f1.
void addSweep(CpcmBuffer& b, double at, double length, double f0, double f1, float gain, EsynthWave w);
void addNoiseBurst(CpcmBuffer& b, double at, double length, float gain, float brightness, uint32_t seed);

// Test signals.
CpcmBuffer makeTone(double freq, double seconds, int rate = 44100, int channels = 2, float gain = 0.5f);
// A kick drum on every beat and nothing else.
CpcmBuffer makeKickLoop(double bpm, double seconds, int rate = 44100);
// A hi-hat on every eighth note and nothing else.
CpcmBuffer makeHiHatLoop(double bpm, double seconds, int rate = 44100);
}  // namespace synth

// One built-in track: its file, its tags and what the composer needs.
struct CtrackRecipe {
    std::string file;    // relative to the data folder
    std::string title, artist, album, genre;
    int trackNumber = 0;
    int year = 2026;
    double bpm = 128;
    int rootNote = 45;   // MIDI note of the key
    bool minor = true;
    int bars = 40;
    uint32_t seed = 1;
};

// Composes a whole track: drums on a clear pulse, bass, chords and a lead
// melody, arranged in sections so that the energy rises and falls.
CpcmBuffer composeTrack(const CtrackRecipe& recipe, int rate = 44100);

// One sound effect, by recipe name.
struct CsfxRecipe {
    std::string file;    // relative to the data folder
    std::string kind;    // "blip", "sweepUp", "sweepDown", "noise", "explosion", "chime", "error", "shutter", ...
    double length = 0.3;
    double f0 = 440, f1 = 880;
    uint32_t seed = 1;
};
CpcmBuffer makeSfx(const CsfxRecipe& recipe, int rate = 44100);

// The lists the generator makes.
const std::vector<CtrackRecipe>& builtInTracks();
const std::vector<CsfxRecipe>& builtInSfx();
