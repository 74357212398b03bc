#pragma once
// Ccamera: the projecting camera of the scene. It looks down the z axis from
// pos.z; a thing at depth z is drawn at focal / (pos.z - z) pixels per unit,
// centred on the middle of the virtual screen.
#include "engine/maths.h"

struct Ccamera {
    Cvec3 pos{0, 0, 100};
    float focal = 100;

    // Pixels per scene unit at a depth; 0 when the depth is at or behind the camera.
    float scaleAt(float depth) const {
        float dz = pos.z - depth;
        if (dz <= 1e-6f || focal <= 0) return 0;
        return focal / dz;
    }
    // Where a scene point lands on the virtual screen. False when it can't be seen.
    bool planeToScreen(const Cvec3& p, Cvec2& screen) const;
    Cvec2 planeToScreen(const Cvec3& p) const;
    // The point of the plane at depth that a screen point covers:
    // ((x - half width) * k + pos.x, (y - half height) * k + pos.y), k = (pos.z - depth) / focal.
    Cvec2 screenToPlane(const Cvec2& screen, float depth) const;
};
