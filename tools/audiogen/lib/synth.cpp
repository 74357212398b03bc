#include "tools/audiogen/lib/synth.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kTwoPi = 6.283185307179586;

inline size_t frameAt(const CpcmBuffer& b, double t) { return t <= 0 ? 0 : (size_t)(t * b.rate); }

// One-pole low-pass; coefficient from a cut-off frequency.
struct ConePole {
    float a = 1.0f, y = 0.0f;
    void setCutoff(double hz, int rate) { a = (float)(1.0 - std::exp(-kTwoPi * hz / rate)); }
    float step(float x) { return y += a * (x - y); }
};
}  // namespace

void CpcmBuffer::add(size_t frame, float v, float pan) {
    if (frame >= frames()) return;
    if (channels == 1) {
        samples[frame] += v;
        return;
    }
    float l = pan <= 0 ? 1.0f : 1.0f - pan;
    float r = pan >= 0 ? 1.0f : 1.0f + pan;
    samples[frame * channels] += v * l;
    samples[frame * channels + 1] += v * r;
}

void CpcmBuffer::normalise(float peak) {
    float m = 0;
    for (float s : samples) m = std::max(m, std::fabs(s));
    if (m <= 0) return;
    float k = peak / m;
    for (float& s : samples) s *= k;
}

namespace synth {

double noteFrequency(int midiNote) { return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0); }

float wave(EsynthWave w, double phase) {
    double p = phase - std::floor(phase);
    switch (w) {
    case WAVE_SQUARE: return p < 0.5 ? 1.0f : -1.0f;
    case WAVE_SAW: return (float)(2.0 * p - 1.0);
    case WAVE_TRIANGLE: return (float)(p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p);
    default: return (float)std::sin(kTwoPi * p);
    }
}

void addKick(CpcmBuffer& b, double at, float gain) {
    const double len = 0.4;
    size_t start = frameAt(b, at), n = (size_t)(len * b.rate);
    double phase = 0;
    for (size_t i = 0; i < n; ++i) {
        double t = (double)i / b.rate;
        double f = 45.0 + 110.0 * std::exp(-t * 35.0);
        phase += f / b.rate;
        float v = (float)(std::sin(kTwoPi * phase) * std::exp(-t * 7.0));
        b.add(start + i, v * gain);
    }
}

void addSnare(CpcmBuffer& b, double at, float gain, uint32_t seed) {
    const double len = 0.22;
    CnoiseSource noise(seed);
    size_t start = frameAt(b, at), n = (size_t)(len * b.rate);
    for (size_t i = 0; i < n; ++i) {
        double t = (double)i / b.rate;
        float v = (float)(noise.next() * 0.6 * std::exp(-t * 20.0) + std::sin(kTwoPi * 185.0 * t) * 0.5 * std::exp(-t * 30.0));
        b.add(start + i, v * gain);
    }
}

void addHiHat(CpcmBuffer& b, double at, float gain, uint32_t seed, double length) {
    CnoiseSource noise(seed);
    size_t start = frameAt(b, at), n = (size_t)(length * b.rate);
    float p1 = 0, p2 = 0;
    for (size_t i = 0; i < n; ++i) {
        double t = (double)i / b.rate;
        // Two differences tilt white noise towards the top of the spectrum.
        float x = noise.next();
        float d1 = x - p1;
        p1 = x;
        float d2 = d1 - p2;
        p2 = d1;
        float v = d2 * 0.35f * (float)std::exp(-t * (3.5 / length));
        b.add(start + i, v * gain, 0.3f);
    }
}

void addTone(CpcmBuffer& b, double at, double length, double freq, float gain, EsynthWave w, float pan, double attack,
             double release) {
    size_t start = frameAt(b, at);
    size_t n = (size_t)((length + release) * b.rate);
    double phase = 0, step = freq / b.rate;
    for (size_t i = 0; i < n; ++i) {
        double t = (double)i / b.rate;
        double env = t < attack ? t / attack : 1.0;
        if (t > length) env *= std::max(0.0, 1.0 - (t - length) / release);
        b.add(start + i, wave(w, phase) * (float)env * gain, pan);
        phase += step;
    }
}

void addSweep(CpcmBuffer& b, double at, double length, double f0, double f1, float gain, EsynthWave w) {
    size_t start = frameAt(b, at), n = (size_t)(length * b.rate);
    double phase = 0;
    for (size_t i = 0; i < n; ++i) {
        double x = (double)i / (double)n;
        double f = f0 * std::pow(f1 / f0, x);
        phase += f / b.rate;
        double env = std::min(1.0, x * 40.0) * (1.0 - x);
        b.add(start + i, wave(w, phase) * (float)env * gain);
    }
}

void addNoiseBurst(CpcmBuffer& b, double at, double length, float gain, float brightness, uint32_t seed) {
    CnoiseSource noise(seed);
    ConePole lp;
    lp.setCutoff(200.0 + brightness * 12000.0, b.rate);
    size_t start = frameAt(b, at), n = (size_t)(length * b.rate);
    for (size_t i = 0; i < n; ++i) {
        double x = (double)i / (double)n;
        float env = (float)(std::min(1.0, x * 200.0) * std::pow(1.0 - x, 2.0));
        b.add(start + i, lp.step(noise.next()) * env * gain);
    }
}

CpcmBuffer makeTone(double freq, double seconds, int rate, int channels, float gain) {
    CpcmBuffer b(rate, channels, seconds);
    for (size_t i = 0; i < b.frames(); ++i) {
        float v = (float)std::sin(kTwoPi * freq * (double)i / rate) * gain;
        for (int c = 0; c < channels; ++c) b.samples[i * channels + c] = v;
    }
    return b;
}

CpcmBuffer makeKickLoop(double bpm, double seconds, int rate) {
    CpcmBuffer b(rate, 2, seconds);
    for (double t = 0; t < seconds; t += 60.0 / bpm) addKick(b, t, 0.9f);
    return b;
}

CpcmBuffer makeHiHatLoop(double bpm, double seconds, int rate) {
    CpcmBuffer b(rate, 2, seconds);
    uint32_t seed = 7;
    for (double t = 0; t < seconds; t += 30.0 / bpm) addHiHat(b, t, 0.8f, seed++);
    return b;
}
}  // namespace synth

CpcmBuffer composeTrack(const CtrackRecipe& r, int rate) {
    using namespace synth;
    const double beat = 60.0 / r.bpm, bar = beat * 4;
    CpcmBuffer b(rate, 2, r.bars * bar + 1.5);
    CnoiseSource rnd(r.seed * 2654435761u + 1);

    static const int minorScale[7] = {0, 2, 3, 5, 7, 8, 10};
    static const int majorScale[7] = {0, 2, 4, 5, 7, 9, 11};
    const int* scale = r.minor ? minorScale : majorScale;
    static const int minorChords[4] = {0, 8, 3, 10};
    static const int majorChords[4] = {0, 7, 9, 5};
    const int* chords = r.minor ? minorChords : majorChords;

    // Sections as fractions of the track: intro, build, main, breakdown, drop, outro.
    auto section = [&](int barIdx) {
        double f = (double)barIdx / r.bars;
        if (f < 0.1) return 0;
        if (f < 0.3) return 1;
        if (f < 0.6) return 2;
        if (f < 0.7) return 3;
        if (f < 0.9) return 4;
        return 5;
    };

    int leadDegree = 0;
    uint32_t hatSeed = r.seed * 31 + 5;
    for (int barIdx = 0; barIdx < r.bars; ++barIdx) {
        int s = section(barIdx);
        double t0 = barIdx * bar;
        int chordRoot = r.rootNote + chords[barIdx % 4];
        bool kick = s != 3, snare = s == 1 || s == 2 || s == 4, bass = s >= 1 && s != 3 && s != 5;
        bool lead = s == 2 || s == 4, pad = s >= 2, hats = true;
        float energy = s == 4 ? 1.0f : (s == 2 ? 0.85f : 0.6f);

        for (int q = 0; q < 4; ++q) {
            double t = t0 + q * beat;
            if (kick) addKick(b, t, 0.9f);
            if (snare && (q == 1 || q == 3)) addSnare(b, t, 0.45f, hatSeed++);
        }
        if (hats) {
            int per = s == 4 ? 4 : 2;   // sixteenths in the drop, eighths elsewhere
            for (int k = 0; k < 4 * per; ++k) {
                float accent = (k % per == per / 2) ? 1.0f : 0.6f;
                addHiHat(b, t0 + k * beat / per, 0.28f * accent * energy, hatSeed++, s == 3 ? 0.12 : 0.05);
            }
        }
        if (bass) {
            for (int e = 0; e < 8; ++e) {
                int note = chordRoot - 12 + ((e % 4 == 3) ? 12 : 0);
                addTone(b, t0 + e * beat / 2, beat / 2 * 0.8, noteFrequency(note), 0.28f * energy, WAVE_TRIANGLE, 0.0f,
                        0.004, 0.03);
            }
        }
        if (pad) {
            int third = r.minor ? 3 : 4;
            if (!r.minor && (barIdx % 4) == 2) third = 3;   // the vi chord of a major key is minor
            int voices[3] = {chordRoot + 12, chordRoot + 12 + third, chordRoot + 19};
            for (int v = 0; v < 3; ++v)
                addTone(b, t0, bar * 0.95, noteFrequency(voices[v]), 0.07f, WAVE_TRIANGLE, (v - 1) * 0.5f, 0.25, 0.3);
        }
        if (lead) {
            for (int e = 0; e < 8; ++e) {
                uint32_t x = rnd.nextInt();
                if ((x & 0xFF) < 70) continue;   // rests
                int stepBy = (int)((x >> 8) % 5) - 2;
                leadDegree = std::clamp(leadDegree + stepBy, -3, 9);
                int octave = leadDegree >= 0 ? leadDegree / 7 : -1;
                int deg = ((leadDegree % 7) + 7) % 7;
                int note = r.rootNote + 24 + octave * 12 + scale[deg];
                double len = ((x >> 16) & 3) == 0 ? beat : beat / 2;
                addTone(b, t0 + e * beat / 2, len * 0.85, noteFrequency(note), 0.13f, WAVE_SQUARE, -0.2f, 0.005, 0.06);
            }
        }
    }
    b.normalise(0.89f);
    return b;
}

CpcmBuffer makeSfx(const CsfxRecipe& r, int rate) {
    using namespace synth;
    CpcmBuffer b(rate, 2, r.length + 0.05);
    const std::string& k = r.kind;
    if (k == "blip") {
        addTone(b, 0, r.length * 0.7, r.f0, 0.6f, WAVE_SQUARE, 0, 0.002, r.length * 0.3);
    } else if (k == "sweep") {
        addSweep(b, 0, r.length, r.f0, r.f1, 0.7f, WAVE_SQUARE);
    } else if (k == "sine") {
        addSweep(b, 0, r.length, r.f0, r.f1, 0.8f, WAVE_SINE);
    } else if (k == "explosion") {
        addNoiseBurst(b, 0, r.length, 1.0f, (float)(r.f1 / 10000.0), r.seed);
        addSweep(b, 0, r.length * 0.6, r.f0, r.f0 * 0.4, 0.6f, WAVE_SINE);
    } else if (k == "noise") {
        addNoiseBurst(b, 0, r.length, 0.9f, (float)(r.f1 / 10000.0), r.seed);
    } else if (k == "chime") {
        static const int steps[4] = {0, 4, 7, 12};
        double each = r.length / 5;
        for (int i = 0; i < 4; ++i)
            addTone(b, i * each, each * 1.6, r.f0 * std::pow(2.0, steps[i] / 12.0), 0.35f, WAVE_TRIANGLE, 0, 0.003, each);
    } else if (k == "error") {
        addTone(b, 0, r.length * 0.35, r.f0, 0.5f, WAVE_SQUARE, 0, 0.003, 0.03);
        addTone(b, r.length * 0.5, r.length * 0.35, r.f0 * 0.75, 0.5f, WAVE_SQUARE, 0, 0.003, 0.03);
    } else if (k == "shutter") {
        addNoiseBurst(b, 0, 0.035, 1.0f, 0.9f, r.seed);
        addNoiseBurst(b, 0.09, 0.05, 0.8f, 0.7f, r.seed + 1);
        addKick(b, 0.0, 0.2f);
    } else if (k == "swoosh") {
        CnoiseSource noise(r.seed);
        struct { float a = 0, y = 0; } lp;
        size_t n = (size_t)(r.length * rate);
        for (size_t i = 0; i < n; ++i) {
            double x = (double)i / (double)n;
            double cutoff = r.f0 + (r.f1 - r.f0) * std::sin(x * 3.14159);
            lp.a = (float)(1.0 - std::exp(-6.283185 * cutoff / rate));
            lp.y += lp.a * (noise.next() - lp.y);
            float env = (float)std::sin(x * 3.14159);
            b.add(i, lp.y * env * 1.2f, (float)(x * 1.6 - 0.8));
        }
    } else if (k == "thud") {
        addSweep(b, 0, r.length, r.f0, r.f1, 1.0f, WAVE_SINE);
        addNoiseBurst(b, 0, 0.03, 0.5f, 0.3f, r.seed);
    } else {   // "zap"
        size_t n = (size_t)(r.length * rate);
        double phase = 0;
        for (size_t i = 0; i < n; ++i) {
            double x = (double)i / (double)n;
            double f = (r.f0 + (r.f1 - r.f0) * x) * (1.0 + 0.05 * std::sin(x * 60));
            phase += f / rate;
            b.add(i, wave(WAVE_SAW, phase) * (float)(1.0 - x) * 0.5f);
        }
    }
    b.normalise(0.85f);
    return b;
}

const std::vector<CtrackRecipe>& builtInTracks() {
    static const std::vector<CtrackRecipe> tracks = {
        {"music/Decade of Zorbex.mp3", "Decade of Zorbex!", "Zorbex Sound Unit", "Zorbex Originals", "Electronic", 1,
         2026, 128, 45, true, 40, 11},
        {"music/Neon Drift.mp3", "Neon Drift", "Zorbex Sound Unit", "Zorbex Originals", "Electronic", 2, 2026, 120, 48,
         false, 36, 23},
        {"music/Orbital Breaker.mp3", "Orbital Breaker", "Zorbex Sound Unit", "Zorbex Originals", "Drum & Bass", 3,
         2026, 140, 43, true, 44, 37},
        {"music/Starfield Pulse.mp3", "Starfield Pulse", "Zorbex Sound Unit", "Zorbex Originals", "Synthwave", 4, 2026,
         110, 50, false, 32, 59},
    };
    return tracks;
}

const std::vector<CsfxRecipe>& builtInSfx() {
    static const std::vector<CsfxRecipe> sfx = {
        {"sfx/shot.ogg", "sweep", 0.12, 1400, 500, 1},
        {"sfx/explosionSmall.ogg", "explosion", 0.45, 120, 3000, 2},
        {"sfx/explosionLarge.ogg", "explosion", 1.2, 90, 2000, 3},
        {"sfx/pickup.ogg", "sweep", 0.15, 600, 1800, 4},
        {"sfx/powerUp.ogg", "chime", 0.5, 660, 0, 5},
        {"sfx/playerDeath.ogg", "explosion", 1.5, 70, 1500, 6},
        {"sfx/sfx_achievement.ogg", "chime", 0.8, 880, 0, 7},
        {"sfx/errorTone.ogg", "error", 0.35, 330, 0, 8},
        {"sfx/purchase.ogg", "chime", 0.45, 1046, 0, 9},
        {"sfx/menuMove.ogg", "blip", 0.05, 1200, 0, 10},
        {"sfx/menuSelect.ogg", "blip", 0.09, 900, 0, 11},
        {"sfx/menuBack.ogg", "sweep", 0.12, 700, 350, 12},
        {"sfx/multiplierUp.ogg", "sweep", 0.25, 500, 1500, 13},
        {"sfx/multiplierLost.ogg", "sweep", 0.35, 800, 200, 14},
        {"sfx/bossWarning.ogg", "error", 1.0, 220, 0, 15},
        {"sfx/bossExplode.ogg", "explosion", 2.0, 60, 2500, 16},
        {"sfx/enemyShot.ogg", "sweep", 0.1, 900, 400, 17},
        {"sfx/enemySpawn.ogg", "zap", 0.3, 200, 800, 18},
        {"sfx/shieldHit.ogg", "noise", 0.15, 0, 6000, 19},
        {"sfx/shieldUp.ogg", "sine", 0.4, 300, 900, 20},
        {"sfx/superBomb.ogg", "explosion", 1.8, 50, 4000, 21},
        {"sfx/microMissile.ogg", "zap", 0.25, 1500, 600, 22},
        {"sfx/reflectShield.ogg", "sine", 0.35, 1200, 600, 23},
        {"sfx/ultraBeam.ogg", "zap", 0.9, 120, 160, 24},
        {"sfx/emp.ogg", "sweep", 0.7, 2000, 60, 25},
        {"sfx/autoTurret.ogg", "blip", 0.12, 500, 0, 26},
        {"sfx/decoy.ogg", "sine", 0.3, 700, 350, 27},
        {"sfx/wingman.ogg", "chime", 0.4, 523, 0, 28},
        {"sfx/extraLife.ogg", "chime", 0.6, 784, 0, 29},
        {"sfx/countdownBeep.ogg", "blip", 0.15, 880, 0, 30},
        {"sfx/countdownGo.ogg", "blip", 0.4, 1760, 0, 31},
        {"sfx/rankUp.ogg", "chime", 1.0, 523, 0, 32},
        {"sfx/xpTick.ogg", "blip", 0.03, 2000, 0, 33},
        {"sfx/cashTick.ogg", "blip", 0.04, 2600, 0, 34},
        {"sfx/unlock.ogg", "chime", 0.7, 659, 0, 35},
        {"sfx/missionComplete.ogg", "chime", 0.9, 587, 0, 36},
        {"sfx/goalScored.ogg", "chime", 1.0, 440, 0, 37},
        {"sfx/whistle.ogg", "sine", 0.6, 2200, 2400, 38},
        {"sfx/ballKick.ogg", "thud", 0.15, 180, 60, 39},
        {"sfx/respawn.ogg", "sine", 0.5, 200, 1200, 40},
        {"sfx/turretDestroyed.ogg", "explosion", 0.6, 100, 3500, 41},
        {"sfx/snakeSegment.ogg", "explosion", 0.3, 150, 4000, 42},
        {"sfx/waveStart.ogg", "zap", 0.5, 300, 900, 43},
        {"sfx/highScore.ogg", "chime", 0.8, 698, 0, 44},
        {"sfx/messageArrived.ogg", "blip", 0.2, 1318, 0, 45},
        {"sfx/cameraShutter.ogg", "shutter", 0.2, 0, 0, 46},
        {"sfx/logoSwoosh.ogg", "swoosh", 0.8, 300, 5000, 47},
        {"sfx/logoThud.ogg", "thud", 0.6, 110, 40, 48},
        {"sfx/swoosh.ogg", "swoosh", 0.35, 500, 6000, 49},
        {"sfx/buttonPress.ogg", "blip", 0.06, 1000, 0, 50},
    };
    return sfx;
}
