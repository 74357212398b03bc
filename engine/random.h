#pragma once
// The engine's random generator: x := x * 214013 + 2531011 on 32 bits.
#include <cstdint>

class Crandom {
public:
    explicit Crandom(uint32_t seed = 1) : x_(seed) {}
    void seed(uint32_t s) { x_ = s; }
    uint32_t state() const { return x_; }
    uint32_t next() {
        x_ = x_ * 214013u + 2531011u;
        return x_;
    }
    // A choice among count values: ((x >> 15) ^ x) % count.
    int choice(int count) {
        if (count <= 0) return 0;
        uint32_t x = next();
        return (int)(((x >> 15) ^ x) % (uint32_t)count);
    }
    // A fraction in [0, 1): (x >> 16) / 65536.
    float fraction() { return (float)(next() >> 16) / 65536.0f; }
    float range(float lo, float hi) { return lo + (hi - lo) * fraction(); }

private:
    uint32_t x_;
};
