#include "game/enemies/procShipGen.h"

#include <cctype>
#include <cmath>

#include "engine/engine.h"
#include "engine/random.h"

namespace {
const char* kManufacturers[CprocShipGen::kNumManufacturers] = {"brute",   "mosquito",   "crazythief",
                                                               "scorched", "general",   "blazer",
                                                               "warbringer", "standard", "workshop"};

std::string capitalised(const char* key) {
    std::string s = key;
    if (!s.empty()) s[0] = (char)std::toupper((unsigned char)s[0]);
    return s;
}

std::string lookUp(const std::string& tag) { return gEngine ? gEngine->text(tag) : tag; }
}  // namespace

const char* CprocShipGen::manufacturerKey(int index) {
    return index >= 0 && index < kNumManufacturers ? kManufacturers[index] : "";
}

std::string CprocShipGen::getManufacturerIconName(int index) {
    return std::string("ui_man_") + manufacturerKey(index) + ".png";
}

std::string CprocShipGen::getManufacturerIconNoTextName(int index) {
    return std::string("ui_man_") + manufacturerKey(index) + "_noText.png";
}

std::string CprocShipGen::getManufacturerTag(int index) { return "Manu_" + capitalised(manufacturerKey(index)); }
std::string CprocShipGen::getManufacturerName(int index) { return lookUp(getManufacturerTag(index)); }
std::string CprocShipGen::getManufacturerDesc(int index) { return lookUp(getManufacturerTag(index) + "Desc"); }

CshipDef CprocShipGen::grow(uint32_t seed, float energy, const std::string& name) {
    Crandom r(seed ? seed : 1);
    energy = clampf(energy, 0.0f, 1.5f);
    CshipDef d;
    d.name = name;
    d.type = SHIPTYPE_MUSIC_GENERATED;
    d.kind = SHIPKIND_PLAYER;
    d.behaviour = BEHAVE_PLAYER;
    // The standard and workshop makers don't grow ships.
    d.manufacturer = r.choice(7);
    const char* maker = manufacturerKey(d.manufacturer);
    d.sprite = std::string("ss_hull_") + maker + "_" + std::to_string(1 + r.choice(3)) + ".png";
    d.colour = Ccolour::fromHsv(r.fraction(), 0.6f, 1.0f);
    d.sides = 3;
    d.radius = 3.2f;
    d.health = 1;
    d.score = 0;
    d.drops = 0;
    // Handling in the ship editor's ranges; louder tracks grow faster ships.
    d.acceleration = r.range(1.5f, 4.0f);
    d.deceleration = r.range(0.5f, 1.2f);
    d.topSpeed = r.range(12.0f, 18.0f) + energy * 3.0f;
    d.bulletSpeed = r.range(0.7f, 1.5f);
    d.bulletDamage = r.range(0.7f, 1.5f);
    d.pickupForce = r.range(0.0f, 1.0f);
    int guns = 1 + r.choice(3);
    for (int i = 0; i < guns; ++i) {
        CelementDef t;
        t.kind = ELEMENT_TURRET;
        t.x = guns == 1 ? 0 : (i - (guns - 1) * 0.5f) * 1.6f;
        t.y = -2.5f;
        t.angle = guns == 1 ? 0 : (i - (guns - 1) * 0.5f) * r.range(0, 10);
        t.hitPoints = 1000;
        d.elements.push_back(t);
    }
    int engines = 1 + r.choice(4);
    for (int i = 0; i < engines; ++i) {
        CelementDef e;
        e.kind = ELEMENT_ENGINE;
        e.x = engines == 1 ? 0 : (i - (engines - 1) * 0.5f) * 1.4f;
        e.y = 2.8f;
        e.angle = 180;
        e.scale = r.range(0.6f, 1.2f);
        d.elements.push_back(e);
    }
    return d;
}

CshipDef CprocShipGen::generate(uint32_t seed, float energy, const std::string& name) {
    CshipDef best;
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        CshipDef candidate = grow(seed + (uint32_t)attempt * 0x9E3779B9u, energy, name);
        lastAttempts = attempt + 1;
        int balance = pointBalance ? pointBalance(candidate) : 0;
        if (balance > kWorstBalance) return candidate;
        best = candidate;
    }
    if (gEngine) gEngine->log.print(LOG_L, "Generated ship %s never balanced in %d tries", name.c_str(), kMaxAttempts);
    return best;
}
