#include "engine/render/lights.h"

#include <algorithm>
#include <vector>

#include "engine/engine.h"
#include "engine/render/camera.h"
#include "engine/render/renderer.h"

void ClightPool::reset() {
    for (int i = 0; i < kMaxLights; ++i) {
        lights_[i] = Clight();
        if (i < kPlayerLights) {
            lights_[i].used = true;
            lights_[i].playerLight = true;
            lights_[i].on = false;   // lit when the player's ship is in play
        }
    }
}

Clight* ClightPool::allocate() {
    for (int i = kPlayerLights; i < kMaxLights; ++i)
        if (!lights_[i].used) {
            lights_[i] = Clight();
            lights_[i].used = true;
            return &lights_[i];
        }
    return nullptr;
}

void ClightPool::release(Clight* light) {
    if (!light || light->playerLight) return;
    for (auto& l : lights_)
        if (&l == light) l = Clight();
}

Clight* ClightPool::playerLight(int player) {
    if (player < 0 || player >= kPlayerLights) return nullptr;
    return &lights_[player];
}

int ClightPool::countUsed() const {
    return (int)std::count_if(lights_.begin(), lights_.end(), [](const Clight& l) { return l.used; });
}

void ClightPool::apply(Crenderer& renderer, const Ccamera& camera, const Ccolour& ambient) const {
    std::vector<CshaderLight> lit;
    const float cx = (float)gEngine->screenWidth * 0.5f, cy = (float)gEngine->screenHeight * 0.5f;
    for (const Clight& l : lights_) {
        if (!l.used || !l.on) continue;
        Cvec2 s;
        if (!camera.planeToScreen(l.pos, s)) continue;
        CshaderLight sl;
        sl.x = s.x;
        sl.y = s.y;
        sl.colour = l.colour;
        sl.radius = l.radius * camera.scaleAt(l.pos.z);
        lit.push_back(sl);
    }
    if ((int)lit.size() > Crenderer::kMaxLights)
        std::sort(lit.begin(), lit.end(), [&](const CshaderLight& a, const CshaderLight& b) {
            return (a.x - cx) * (a.x - cx) + (a.y - cy) * (a.y - cy) < (b.x - cx) * (b.x - cx) + (b.y - cy) * (b.y - cy);
        });
    renderer.setLights(lit.data(), std::min((int)lit.size(), Crenderer::kMaxLights), ambient);
}

CcolourScheme::CcolourScheme() {
    players_ = {Ccolour(0.2f, 0.9f, 1.0f, 1), Ccolour(1.0f, 0.3f, 0.75f, 1), Ccolour(1.0f, 0.85f, 0.2f, 1),
                Ccolour(0.35f, 1.0f, 0.45f, 1)};
}

Ccolour CcolourScheme::getPlayerColour(int index) const { return players_[(unsigned)index & 3u]; }

void CcolourScheme::setPlayerColour(int index, const Ccolour& c) { players_[(unsigned)index & 3u] = c; }
