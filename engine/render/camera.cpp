#include "engine/render/camera.h"

#include "engine/engine.h"

namespace {
float halfW() { return gEngine ? (float)gEngine->screenWidth * 0.5f : 640.0f; }
float halfH() { return gEngine ? (float)gEngine->screenHeight * 0.5f : 360.0f; }
}  // namespace

bool Ccamera::planeToScreen(const Cvec3& p, Cvec2& screen) const {
    float s = scaleAt(p.z);
    if (s <= 0) {
        screen = Cvec2(halfW(), halfH());
        return false;
    }
    screen = Cvec2((p.x - pos.x) * s + halfW(), (p.y - pos.y) * s + halfH());
    return true;
}

Cvec2 Ccamera::planeToScreen(const Cvec3& p) const {
    Cvec2 s;
    planeToScreen(p, s);
    return s;
}

Cvec2 Ccamera::screenToPlane(const Cvec2& screen, float depth) const {
    float k = focal > 0 ? (pos.z - depth) / focal : 0;
    return Cvec2((screen.x - halfW()) * k + pos.x, (screen.y - halfH()) * k + pos.y);
}
