#pragma once
// ClightPool: the dynamic lights of the scene; the first four belong to the
// players. CcolourScheme: the players' colours.
#include <array>

#include "engine/maths.h"

struct Ccamera;
class Crenderer;

struct Clight {
    bool used = false;
    bool on = true;
    bool playerLight = false;
    Cvec3 pos;                // scene units
    Ccolour colour{1, 1, 1, 1};   // alpha is the intensity
    float radius = 300;       // scene units
};

class ClightPool {
public:
    static constexpr int kMaxLights = 32;
    static constexpr int kPlayerLights = 4;

    ClightPool() { reset(); }
    // Frees every light and reserves the four player lights again.
    void reset();
    // A free light, or null when all are taken.
    Clight* allocate();
    void release(Clight* light);
    Clight* playerLight(int player);
    int countUsed() const;

    // Hands the lit lights to the renderer, projected through the camera,
    // nearest the screen's centre first when there are more than it takes.
    void apply(Crenderer& renderer, const Ccamera& camera, const Ccolour& ambient) const;

private:
    std::array<Clight, kMaxLights> lights_;
};

class CcolourScheme {
public:
    CcolourScheme();
    // Index 0..3; other indices wrap.
    Ccolour getPlayerColour(int index) const;
    void setPlayerColour(int index, const Ccolour& c);

private:
    std::array<Ccolour, 4> players_;
};
