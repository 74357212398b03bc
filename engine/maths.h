#pragma once
// Small vectors, the transform record, colours and easing curves.
#include <cmath>
#include <cstdint>

struct Cvec2 {
    float x = 0, y = 0;
    Cvec2() = default;
    Cvec2(float x_, float y_) : x(x_), y(y_) {}
    Cvec2 operator+(const Cvec2& o) const { return {x + o.x, y + o.y}; }
    Cvec2 operator-(const Cvec2& o) const { return {x - o.x, y - o.y}; }
    Cvec2 operator*(float s) const { return {x * s, y * s}; }
    Cvec2& operator+=(const Cvec2& o) { x += o.x; y += o.y; return *this; }
    Cvec2& operator-=(const Cvec2& o) { x -= o.x; y -= o.y; return *this; }
    Cvec2& operator*=(float s) { x *= s; y *= s; return *this; }
    float length() const { return std::sqrt(x * x + y * y); }
    float lengthSq() const { return x * x + y * y; }
    Cvec2 normalised() const { float l = length(); return l > 1e-6f ? Cvec2(x / l, y / l) : Cvec2(); }
    float dot(const Cvec2& o) const { return x * o.x + y * o.y; }
};

struct Cvec3 {
    float x = 0, y = 0, z = 0;
    Cvec3() = default;
    Cvec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
    Cvec3 operator+(const Cvec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Cvec3 operator-(const Cvec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Cvec3 operator*(float s) const { return {x * s, y * s, z * s}; }
    float length() const { return std::sqrt(x * x + y * y + z * z); }
};

// Position, rotation (degrees) and scale of a thing in the scene.
struct Ctransform {
    Cvec3 pos;
    float angle = 0;
    float scale = 1;
};

// RGBA floats.
struct Ccolour {
    float r = 1, g = 1, b = 1, a = 1;
    Ccolour() = default;
    constexpr Ccolour(float r_, float g_, float b_, float a_ = 1) : r(r_), g(g_), b(b_), a(a_) {}
    Ccolour withAlpha(float alpha) const { return {r, g, b, alpha}; }
    Ccolour scaled(float s) const { return {r * s, g * s, b * s, a}; }
    bool operator==(const Ccolour& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    static Ccolour fromHsv(float hue, float sat, float val, float alpha = 1);
};

enum ElerpType {
    LERP_LINEAR = 0,
    LERP_EASE_IN_OUT,
    LERP_EASE_IN_FAST,
    LERP_EASE_IN_SLOW,
    LERP_EASE_OUT,
    LERP_BOUNCE,
    LERP_OVERSHOOT,
    LERP_COUNT
};

// The named curves: "Linear", "Ease In Out", "Ease In Fast", "Ease In Slow", ...
const char* lerpTypeName(int type);
int findLerpType(const char* name);   // -1 when unknown
float easeCurve(int type, float t);   // t clamped to 0..1
float lerpValue(int type, float from, float to, float t);

constexpr float kPi = 3.14159265358979f;
inline float degToRad(float d) { return d * (kPi / 180.0f); }
inline float clampf(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }
