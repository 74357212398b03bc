#include "engine/maths.h"

#include "engine/bString.h"

namespace {
const char* kLerpNames[LERP_COUNT] = {"Linear",   "Ease In Out", "Ease In Fast", "Ease In Slow",
                                      "Ease Out", "Bounce",      "Overshoot"};
}

Ccolour Ccolour::fromHsv(float hue, float sat, float val, float alpha) {
    hue = std::fmod(hue, 1.0f);
    if (hue < 0) hue += 1.0f;
    float h = hue * 6.0f;
    int i = (int)h;
    float f = h - (float)i;
    float p = val * (1 - sat), q = val * (1 - sat * f), t = val * (1 - sat * (1 - f));
    switch (i % 6) {
    case 0: return {val, t, p, alpha};
    case 1: return {q, val, p, alpha};
    case 2: return {p, val, t, alpha};
    case 3: return {p, q, val, alpha};
    case 4: return {t, p, val, alpha};
    default: return {val, p, q, alpha};
    }
}

const char* lerpTypeName(int type) {
    if (type < 0 || type >= LERP_COUNT) return "Linear";
    return kLerpNames[type];
}

int findLerpType(const char* name) {
    if (!name) return -1;
    for (int i = 0; i < LERP_COUNT; ++i)
        if (equalsIgnoreCase(name, kLerpNames[i])) return i;
    return -1;
}

float easeCurve(int type, float t) {
    t = clampf(t, 0.0f, 1.0f);
    switch (type) {
    case LERP_EASE_IN_OUT: return t * t * (3.0f - 2.0f * t);
    case LERP_EASE_IN_FAST: return 1.0f - (1.0f - t) * (1.0f - t);   // fast start
    case LERP_EASE_IN_SLOW: return t * t;                              // slow start
    case LERP_EASE_OUT: return 1.0f - (1.0f - t) * (1.0f - t) * (1.0f - t);
    case LERP_BOUNCE: {
        float s = 1.0f - t;
        return 1.0f - std::fabs(std::cos(t * kPi * 2.5f)) * s * s;
    }
    case LERP_OVERSHOOT: {
        const float c = 1.70158f;
        float u = t - 1.0f;
        return 1.0f + (c + 1.0f) * u * u * u + c * u * u;
    }
    default: return t;
    }
}

float lerpValue(int type, float from, float to, float t) { return from + (to - from) * easeCurve(type, t); }
