#include "game/enemies/bossGen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/engine.h"
#include "engine/random.h"
#include "game/gameWorld.h"

CshipDef CbossGen::makeBossDef(uint32_t seed, float energy, float strength) {
    Crandom r(seed ? seed : 1);
    energy = clampf(energy, 0.0f, 1.5f);
    strength = std::max(strength, 0.2f);
    CshipDef d;
    char name[32];
    snprintf(name, sizeof name, "Boss_%08x", seed);
    d.name = name;
    d.type = SHIPTYPE_BOSS;
    d.kind = SHIPKIND_BOSS;
    d.behaviour = BEHAVE_BOSS;
    d.sprite = "ss_boss_core.png";
    d.colour = Ccolour::fromHsv(r.fraction(), 0.7f, 1.0f);
    d.sides = 5 + r.choice(4);
    d.radius = 7.0f + energy * 4.0f + r.fraction() * 2.0f;
    d.scale = 1;
    d.health = (300.0f + 300.0f * energy) * strength;
    d.speed = 18.0f + r.fraction() * 10.0f;
    d.turn = 0.8f;
    d.drops = 12 + (int)(energy * 12);

    // Mirrored arms: armour plates along each arm, a turret at its end.
    int arms = 1 + r.choice(2) + (energy > 0.7f ? 1 : 0);
    float reach = d.radius * (1.3f + r.fraction() * 0.6f);
    for (int a = 0; a < arms; ++a) {
        float ang = degToRad(25.0f + (130.0f / arms) * a + r.range(-10, 10));
        int plates = 1 + r.choice(2);
        float fireRate = (0.5f + r.fraction() * 0.8f) * (0.7f + energy * 0.5f);
        int aim = r.choice(3) == 0 ? AIM_SPIN : AIM_TARGET;
        int shots = 1 + r.choice(energy > 0.6f ? 3 : 2);
        float spread = shots > 1 ? 8.0f + r.fraction() * 12.0f : 0;
        for (int side = -1; side <= 1; side += 2) {
            float sx = std::sin(ang) * side, sy = -std::cos(ang);
            for (int k = 0; k < plates; ++k) {
                CelementDef e;
                e.kind = ELEMENT_ARMOUR;
                float f = d.radius * 0.9f + (reach - d.radius * 0.9f) * (k + 0.5f) / plates;
                e.x = sx * f;
                e.y = sy * f;
                e.angle = ang * (180.0f / kPi) * side;
                e.radius = 2.5f;
                e.hitPoints = 60.0f * strength;
                e.sprite = "ss_boss_armour.png";
                d.elements.push_back(e);
            }
            CelementDef t;
            t.kind = ELEMENT_TURRET;
            t.x = sx * reach;
            t.y = sy * reach;
            t.angle = 0;
            t.radius = 3.0f;
            t.hitPoints = (80.0f + 60.0f * energy) * strength;
            t.fireRate = fireRate;
            t.bulletSpeed = 55.0f + energy * 25.0f;
            t.aim = aim;
            t.shots = shots;
            t.spread = spread;
            t.sprite = "ss_boss_turret.png";
            d.elements.push_back(t);
        }
    }
    // Engines at the tail.
    for (int side = -1; side <= 1; side += 2) {
        CelementDef e;
        e.kind = ELEMENT_ENGINE;
        e.x = side * d.radius * 0.4f;
        e.y = d.radius * 0.9f;
        e.angle = 180;
        e.scale = 1.0f + energy;
        d.elements.push_back(e);
    }
    d.score = 5000 + 1000 * d.countElements(ELEMENT_TURRET);
    return d;
}

int64_t CbossGen::bossMass(const CshipDef& def) {
    constexpr double kTonsPerCoreArea = 1000.0, kTonsPerHitPoint = 100.0;
    double tons = kTonsPerCoreArea * def.radius * def.radius;
    for (const CelementDef& e : def.elements) tons += kTonsPerHitPoint * std::max(e.hitPoints, 0.0f);
    return (int64_t)tons;
}

Cship* CbossGen::spawnBoss(uint32_t seed, float energy, float strength) {
    CshipDef* def = world_.ships.addDef(makeBossDef(seed, energy, strength));
    Cship* s = world_.ships.addShip(def);
    if (!s) return nullptr;
    s->pos = Cvec3(0, -world_.arenaHalfHeight + def->radius + 4, 0);
    s->spawnTimer = 1.2f;
    s->important = true;
    current_ = s;
    currentSerial_ = s->serial;
    ++spawned;
    gEngine->log.print(LOG_V, "Boss %s: %d turrets, %.0f health", def->name.c_str(),
                       def->countElements(ELEMENT_TURRET), def->health);
    // A boss arriving is a moment worth a picture.
    if (world_.hooks.armMoment) world_.hooks.armMoment(2, 1.0f, 2);
    if (world_.hooks.onBossSpawned) world_.hooks.onBossSpawned(*s, bossMass(*def));
    return s;
}

bool CbossGen::bossAlive() const { return current() != nullptr; }

Cship* CbossGen::current() const {
    if (!current_ || current_->serial != currentSerial_ || !current_->alive || current_->marked) return nullptr;
    return current_;
}

void CbossGen::reset() {
    current_ = nullptr;
    currentSerial_ = 0;
    spawned = destroyed = 0;
}
