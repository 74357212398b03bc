#include "game/playEffects.h"

#include <algorithm>

#include "engine/engine.h"
#include "game/enemies/ship.h"

namespace {
// The particle kinds are sized in pixels of their sprite; play sizes them in units.
Cparticle* spawnSized(const char* kind, const Cvec2& at, const Ccolour& colour, float size, int layer) {
    if (!gEngine) return nullptr;
    CparticleSystem& ps = gEngine->particles;
    CparticleDef* def = ps.findDef(kind);
    if (!def) return nullptr;
    if (!def->sprite) def->sprite = gEngine->sprites.getSprite(def->spriteName);
    float px = def->sprite && def->sprite->width > 0 ? def->sprite->width : 64.0f;
    return ps.spawn(*def, Cvec3(at.x, at.y, 0), colour, layer, size / px);
}
}  // namespace

void playSparks(int count, const Cvec2& at, float speed, const Ccolour& colour, float size, int layer) {
    for (int i = 0; i < count; ++i) {
        Cparticle* p = spawnSized("Spark", at, colour, size, layer);
        if (!p) return;
        p->vel = p->vel * speed;
    }
}

void playShockwave(const Cvec2& at, const Ccolour& colour, float size, int layer) {
    // The ring's kind grows eightfold over its life.
    spawnSized("Shockwave", at, colour, size / 8.0f * 2.5f, layer);
}

void playPuff(const Cvec2& at, const Ccolour& colour, float size, int layer) {
    if (Cparticle* p = spawnSized("Puff", at, colour, size, layer)) p->vel = p->vel * 0.5f;
}

void playExplosion(const Cship& ship) {
    float r = std::max(ship.size, 1.5f);
    int sparks = std::min(60, 10 + (int)(r * 4));
    playSparks(sparks, ship.pos2(), 40.0f + r * 8.0f, ship.colour, 2.0f + r * 0.3f);
    playShockwave(ship.pos2(), ship.colour.withAlpha(0.8f), r * 3.0f);
    playPuff(ship.pos2(), ship.colour.withAlpha(0.5f), r * 4.0f);
    if (ship.important) {
        playSparks(80, ship.pos2(), 90.0f, Ccolour(1, 1, 1, 1), 2.5f);
        playShockwave(ship.pos2(), Ccolour(1, 1, 1, 0.9f), r * 8.0f, PLAY_LAYER_FRONT);
    }
}
