#pragma once
// Small types shared by the renderer and its users.
#include <cstdint>

#include "engine/maths.h"

// A rectangle by its edges, in virtual-screen pixels (y grows downwards).
struct Crect {
    float left = 0, top = 0, right = 0, bottom = 0;
    Crect() = default;
    Crect(float l, float t, float r, float b) : left(l), top(t), right(r), bottom(b) {}
    float width() const { return right - left; }
    float height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    Crect intersect(const Crect& o) const;
    bool operator==(const Crect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

inline Crect Crect::intersect(const Crect& o) const {
    Crect r(left > o.left ? left : o.left, top > o.top ? top : o.top, right < o.right ? right : o.right,
            bottom < o.bottom ? bottom : o.bottom);
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

// Shader programs.
enum EdrawMode : uint8_t {
    DRAW_PLAIN = 0,       // texture times colour
    DRAW_COLOUR_KEY = 1,  // texels near the key colour are dropped
    DRAW_NORMAL_MAP = 2,  // lit by the renderer's lights through the sprite's normal map
    DRAW_MODE_COUNT
};

enum Eblend : uint8_t { BLEND_ALPHA = 0, BLEND_ADDITIVE = 1 };

// Text alignment: one horizontal and one vertical flag.
enum Ealign : int {
    ALIGN_LEFT = 0,
    ALIGN_CENTRE = 1,
    ALIGN_RIGHT = 2,
    ALIGN_TOP = 0,
    ALIGN_MIDDLE = 4,
    ALIGN_BOTTOM = 8,
};

// Packs a float colour into bytes R, G, B, A in memory order.
inline uint32_t packColour(const Ccolour& c) {
    auto b = [](float v) { return (uint32_t)(clampf(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
    return b(c.r) | (b(c.g) << 8) | (b(c.b) << 16) | (b(c.a) << 24);
}
