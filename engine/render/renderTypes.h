#pragma once
// Small types shared by the renderer and its users.
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/maths.h"

// A rectangle on screen: top-left corner and size, in virtual-screen pixels
// (y grows downwards). Brace-initialised as {x, y, w, h}.
struct Crect {
    float x = 0, y = 0, w = 0, h = 0;
    static Crect fromEdges(float left, float top, float right, float bottom) {
        return {left, top, right - left, bottom - top};
    }
    float right() const { return x + w; }
    float bottom() const { return y + h; }
    float cx() const { return x + w * 0.5f; }
    float cy() const { return y + h * 0.5f; }
    bool empty() const { return w <= 0 || h <= 0; }
    bool contains(float px, float py) const { return px >= x && px < x + w && py >= y && py < y + h; }
    // The overlap; an empty rectangle when there is none.
    Crect intersect(const Crect& o) const {
        float l = x > o.x ? x : o.x, t = y > o.y ? y : o.y;
        float r = right() < o.right() ? right() : o.right(), b = bottom() < o.bottom() ? bottom() : o.bottom();
        return {l, t, r > l ? r - l : 0, b > t ? b - t : 0};
    }
    bool operator==(const Crect& o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
};

// Shader programs.
enum EdrawMode : uint8_t {
    DRAW_PLAIN = 0,       // texture times colour
    DRAW_COLOUR_KEY = 1,  // texels near the key colour are dropped
    DRAW_NORMAL_MAP = 2,  // lit by the renderer's lights through the sprite's normal map
    DRAW_MODE_COUNT
};

enum Eblend : uint8_t { BLEND_ALPHA = 0, BLEND_ADDITIVE = 1 };

// Text alignment: one horizontal and one vertical flag (the UI uses the horizontal ones).
enum Ealign : int {
    ALIGN_LEFT = 0,
    ALIGN_CENTRE = 1,
    ALIGN_RIGHT = 2,
    ALIGN_TOP = 0,
    ALIGN_MIDDLE = 4,
    ALIGN_BOTTOM = 8,
};

// Packs a float colour into bytes R, G, B, A in memory order: each channel
// clamped to 0..1 (NaN to 0), times 255, rounded. Every quad packs one, so
// the four channels go through together where SSE2 is there.
inline uint32_t packColour(const Ccolour& c) {
#if defined(__SSE2__)
    static_assert(sizeof(Ccolour) == 4 * sizeof(float), "a colour is four packed floats");
    __m128 v = _mm_loadu_ps(&c.r);
    v = _mm_min_ps(_mm_max_ps(v, _mm_setzero_ps()), _mm_set1_ps(1.0f));
    v = _mm_add_ps(_mm_mul_ps(v, _mm_set1_ps(255.0f)), _mm_set1_ps(0.5f));
    const __m128i i = _mm_cvttps_epi32(v);
    return (uint32_t)_mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(i, i), _mm_packs_epi32(i, i)));
#else
    auto b = [](float v) { return v > 0 ? (uint32_t)(clampf(v, 0.0f, 1.0f) * 255.0f + 0.5f) : 0u; };
    return b(c.r) | (b(c.g) << 8) | (b(c.b) << 16) | (b(c.a) << 24);
#endif
}
