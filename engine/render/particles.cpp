#include "engine/render/particles.h"

#include <cmath>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/resourceFile.h"
#include "engine/render/sprite.h"

CparticleSystem::CparticleSystem() { clear(); }

void CparticleSystem::clear() {
    free_.clear();
    free_.reserve(kMaxParticles);
    for (int i = kMaxParticles - 1; i >= 0; --i) {
        slots_[i].active = false;
        free_.push_back(i);
    }
    active_ = 0;
}

void CparticleSystem::forgetSprites() {
    clear();
    for (auto& d : defs_) d.sprite = nullptr;
}

bool CparticleSystem::loadDefs(const std::string& fileName) {
    CresourceFile f;
    if (!f.open("textFiles/" + fileName, RF_DATA)) return false;
    return loadDefsFromText(f.text());
}

bool CparticleSystem::loadDefsFromText(const char* text) {
    const char* c = text;
    std::string tok;
    CparticleDef* d = nullptr;
    auto range = [&](float& lo, float& hi) {
        lo = Cengine::readFloat(c);
        hi = Cengine::readFloat(c);
    };
    while (Cengine::readToken(tok, c)) {
        if (tok == "EndFile") return true;
        if (tok == "ParticleDef") {
            defs_.emplace_back();
            d = &defs_.back();
            Cengine::readToken(d->name, c);
            continue;
        }
        if (tok == "EndParticleDef") {
            d = nullptr;
            continue;
        }
        if (!d) {
            gEngine->log.print(LOG_E, "particles: '%s' outside a ParticleDef", tok.c_str());
            return false;
        }
        if (tok == "Sprite") Cengine::readToken(d->spriteName, c);
        else if (tok == "Life") range(d->lifeMin, d->lifeMax);
        else if (tok == "Size") range(d->sizeMin, d->sizeMax);
        else if (tok == "EndScale") d->endScale = Cengine::readFloat(c);
        else if (tok == "Speed") range(d->speedMin, d->speedMax);
        else if (tok == "Drag") d->drag = Cengine::readFloat(c);
        else if (tok == "Gravity") d->gravity = Cengine::readFloat(c);
        else if (tok == "Spin") range(d->spinMin, d->spinMax);
        else if (tok == "Angle") range(d->angleMin, d->angleMax);
        else if (tok == "FadeIn") d->fadeIn = Cengine::readFloat(c);
        else if (tok == "Stretch") d->stretch = Cengine::readFloat(c);
        else if (tok == "AlignToMotion") d->alignToMotion = Cengine::readBool(c);
        else if (tok == "Blend") {
            std::string b;
            Cengine::readToken(b, c);
            d->blend = equalsIgnoreCase(b, "Alpha") ? BLEND_ALPHA : BLEND_ADDITIVE;
        } else {
            gEngine->log.print(LOG_E, "particles: unknown field '%s' in %s", tok.c_str(), d->name.c_str());
            return false;
        }
    }
    return true;
}

CparticleDef* CparticleSystem::findDef(const std::string& name) {
    for (auto& d : defs_)
        if (equalsIgnoreCase(d.name, name)) return &d;
    if (reportedMisses_.insert(toLowerAscii(name)).second)
        gEngine->log.print(LOG_L, "Can't find particle def: %s", name.c_str());
    return nullptr;
}

Cparticle* CparticleSystem::allocate(int layer) {
    if (layer < 0 || layer >= kLayers) layer = 0;
    if (free_.empty()) {
        ++dropped_;
        return nullptr;
    }
    int idx = free_.back();
    free_.pop_back();
    Cparticle& p = slots_[idx];
    p = Cparticle();
    p.active = true;
    p.layer = (uint8_t)layer;
    ++active_;
    return &p;
}

void CparticleSystem::release(int idx) {
    slots_[idx].active = false;
    free_.push_back(idx);
    --active_;
}

Cparticle* CparticleSystem::spawn(CparticleDef& def, const Cvec3& pos, const Ccolour& colour, int layer,
                                  float sizeScale) {
    Cparticle* p = allocate(layer);
    if (!p) return nullptr;
    if (!def.sprite) def.sprite = gEngine->sprites.getSprite(def.spriteName);
    p->sprite = def.sprite;
    p->blend = def.blend;
    p->alignToMotion = def.alignToMotion;
    p->pos = pos;
    const float dir = random.range(0, 360);
    const float speed = random.range(def.speedMin, def.speedMax);
    p->vel = Cvec3(Cengine::fastCos(dir) * speed, Cengine::fastSin(dir) * speed, 0);
    p->drag = def.drag;
    p->gravity = def.gravity;
    p->size = random.range(def.sizeMin, def.sizeMax) * sizeScale;
    p->endSize = p->size * def.endScale;
    p->stretch = def.stretch;
    p->angle = random.range(def.angleMin, def.angleMax);
    p->spin = random.range(def.spinMin, def.spinMax);
    p->colour = colour;
    p->life = std::max(random.range(def.lifeMin, def.lifeMax), 0.001f);
    p->fadeIn = def.fadeIn;
    return p;
}

void CparticleSystem::update(float dt) {
    if (paused || dt <= 0) return;
    for (int i = 0; i < kMaxParticles; ++i) {
        Cparticle& p = slots_[i];
        if (!p.active) continue;
        p.age += dt;
        if (p.age >= p.life) {
            release(i);
            continue;
        }
        p.pos = p.pos + p.vel * dt;
        const float keep = clampf(1.0f - p.drag * dt, 0.0f, 1.0f);
        p.vel = p.vel * keep;
        p.vel.y += p.gravity * dt;
        p.angle += p.spin * dt;
    }
}

void CparticleSystem::draw(int layer) {
    if (active_ == 0) return;
    Crenderer& r = gEngine->renderer;
    for (const Cparticle& p : slots_) {
        if (!p.active || p.layer != layer || !p.sprite) continue;
        const float t = p.age / p.life;
        const float size = p.size + (p.endSize - p.size) * t;
        float a = p.colour.a * (1.0f - t);
        if (p.fadeIn > 0 && p.age < p.fadeIn) a *= p.age / p.fadeIn;
        if (a <= 0.002f || size <= 0) continue;
        Cquad q;
        q.sprite = p.sprite;
        q.centre = p.pos;
        q.colour = p.colour.withAlpha(a);
        q.width = p.sprite->width * size;
        q.height = p.sprite->height * size;
        q.rotation = p.angle;
        q.blend = p.blend;
        if (p.alignToMotion) {
            q.width *= p.stretch;
            // Turned along the motion by its direction: no angle to make and take apart again.
            const float speed = std::sqrt(p.vel.x * p.vel.x + p.vel.y * p.vel.y);
            if (speed > 0) {
                r.addQuadTurned(q, p.vel.x / speed, p.vel.y / speed);
                continue;
            }
        }
        r.addQuad(q);
    }
}

// ---------------------------------------------------------------- spawn helpers

namespace {
Cparticle* spawnNamed(const char* def, const Cvec3& pos, const Ccolour& colour, int layer, float size) {
    CparticleSystem& ps = gEngine->particles;
    CparticleDef* d = ps.findDef(def);
    return d ? ps.spawn(*d, pos, colour, layer, size) : nullptr;
}
}  // namespace

void spawnPuff(const Ccolour& colour, const Cvec3& pos, int layer) { spawnNamed("Puff", pos, colour, layer, 1); }

void spawnHaloBurst(const Ccolour& colour, const Cvec3& pos, float size, int layer) {
    Cparticle* outer = spawnNamed("Halo", pos, colour, layer, size);
    Cparticle* inner = spawnNamed("Halo", pos, Ccolour(1, 1, 1, colour.a), layer, size * 0.6f);
    if (outer && inner) {
        // The white copy turns with the halo.
        inner->angle = outer->angle;
        inner->spin = outer->spin;
        inner->life = outer->life;
    }
}

void spawnUiSparkle(const Cvec3& pos, const Ccolour& colour, float size, bool front) {
    spawnNamed("UiSparkle", pos, colour, front ? 1 : 0, size);
}

void spawnSparks(int count, const Cvec3& pos, float speed, const Ccolour& colour, int layer, float size) {
    for (int i = 0; i < count; ++i) {
        Cparticle* p = spawnNamed("Spark", pos, colour, layer, size);
        if (!p) break;
        // The def's speeds are shares of the speed asked for.
        p->vel = p->vel * speed;
    }
}

void spawnShockwave(const Cvec3& pos, const Ccolour& colour, int layer, float size) {
    spawnNamed("Shockwave", pos, colour, layer, size);
}

void spawnLogoFlash(float x, float y) { spawnNamed("LogoFlash", Cvec3(x, y, 0), Ccolour(1, 1, 1, 1), 0, 1); }

void spawnTransitionFlash(float x, float y) {
    spawnNamed("TransitionFlash", Cvec3(x, y, 0), Ccolour(1, 1, 1, 1), 0, 1);
}

void drawParticleLayer(int layer) { gEngine->particles.draw(layer); }
