#include "game/enemies/procShipGen.h"

#include <cctype>
#include <cmath>

#include "engine/engine.h"
#include "engine/random.h"
#include "game/progress/playerShipDef.h"

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

Csprite* CprocShipGen::getManufacturerIcon(int index) {
    return gEngine->sprites.getSprite(getManufacturerIconName(index));
}

Csprite* CprocShipGen::getManufacturerIconNoText(int index) {
    return gEngine->sprites.getSprite(getManufacturerIconNoTextName(index));
}

// Ships of no maker (the player's own) have a name of their own.
std::string CprocShipGen::getManufacturerTag(int index) {
    const std::string key = manufacturerKey(index);
    return key.empty() ? std::string("Manu_Own") : "Manu_" + capitalised(key.c_str());
}
std::string CprocShipGen::getManufacturerName(int index) { return lookUp(getManufacturerTag(index)); }
std::string CprocShipGen::getManufacturerDesc(int index) { return lookUp(getManufacturerTag(index) + "Desc"); }

void CprocShipGen::grow(uint32_t seed, float energy, CplayerShipDef& ship) {
    Crandom r(seed ? seed : 1);
    energy = clampf(energy, 0.0f, 1.5f);
    CplayerShipData& x = ship.data;
    // The standard and workshop makers don't grow ships.
    int maker = r.choice(7);
    x.manufacturer = (uint8_t)maker;
    ship.hullSprite = std::string("ss_hull_") + manufacturerKey(maker) + "_" + std::to_string(1 + r.choice(3)) + ".png";
    // Handling in the ship editor's ranges; louder tracks grow faster ships.
    x.scale = 0.4f + 0.05f * (float)r.choice(5);
    x.acceleration = 1.5f + 0.25f * (float)r.choice(11) + energy * 0.5f;
    x.deceleration = 0.8f + 0.02f * (float)r.choice(11);
    x.topSpeed = 13.0f + 0.5f * (float)r.choice(13) + energy * 3.0f;
    x.bulletSpeed = 0.7f + 0.1f * (float)r.choice(9);
    x.bulletDamage = 0.7f + 0.1f * (float)r.choice(9) + energy * 0.2f;
    x.pickupForce = 0.1f * (float)r.choice(8);
    // Turret pairs: the first always on, more with more energy.
    int pairs = 1 + r.choice(2) + (energy > 0.7f ? 1 : 0);
    for (int i = 0; i < kNumTurretSlots; ++i) x.turrets[i] = CturretSlot();
    for (int p = 0; p < pairs; ++p) {
        float angle = p == 0 ? 0.0f : 0.05f * (float)(1 + r.choice(6));
        x.turrets[2 * p] = {1, angle, 1};
        x.turrets[2 * p + 1] = {1, angle, 1};
    }
    x.sweepSize = 0.05f * (float)r.choice(4);
    x.sweepRate = 0.05f * (float)r.choice(4);
    for (int i = 0; i < kNumGunMounts; i += 2) {
        float mx = 15.0f + 5.0f * (float)r.choice(8), my = 10.0f + 5.0f * (float)r.choice(8);
        x.mounts[i] = {-mx, my};
        x.mounts[i + 1] = {mx, my};
    }
    float hue = r.fraction();
    x.flares[0] = {(int8_t)(1 + r.choice(4)), 0.2f + 0.1f * (float)r.choice(5), hue};
    x.flares[1] = {(int8_t)r.choice(3), 0.1f * (float)r.choice(4), r.fraction()};
    x.engineThrusts = 1 + r.choice(kNumShipEngines);
    for (int i = 0; i < kNumShipEngines; i += 2) {
        float ex = 10.0f + 5.0f * (float)r.choice(7), ey = -45.0f - 5.0f * (float)r.choice(6);
        float scale = 0.8f + 0.1f * (float)r.choice(6);
        x.engines[i] = {-ex, ey, hue, 0, scale};
        x.engines[i + 1] = {ex, ey, hue, 0, scale};
    }
    ship.source = SHIP_PROCEDURAL;
    x.clampToRanges();
}

bool CprocShipGen::generate(uint32_t seed, float energy, CplayerShipDef& ship) {
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        grow(seed + (uint32_t)attempt * 0x9E3779B9u, energy, ship);
        lastAttempts = attempt + 1;
        int balance = pointBalance ? pointBalance(ship) : 0;
        if (balance > kWorstBalance) return true;
    }
    if (gEngine)
        gEngine->log.print(LOG_L, "Generated ship %s never balanced in %d tries", ship.name().c_str(), kMaxAttempts);
    return false;
}
