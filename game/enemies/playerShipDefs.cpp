#include "game/enemies/playerShipDefs.h"

#include <cmath>

#include "game/enemies/shipMgr.h"
#include "game/progress/playerShipDef.h"

CshipDef shipDefFromPlayerShip(const CplayerShipDef& ship) {
    const CplayerShipData& x = ship.data;
    CshipDef d;
    d.name = x.identifier;
    d.type = ship.source == SHIP_PROCEDURAL ? SHIPTYPE_MUSIC_GENERATED : SHIPTYPE_PLAYER;
    d.kind = SHIPKIND_PLAYER;
    d.behaviour = BEHAVE_PLAYER;
    d.sprite = ship.hullSprite.empty() ? x.identifier : ship.hullSprite;
    d.manufacturer = x.manufacturer;
    d.sides = 3;
    float s = x.scale * kHullToPlay;
    d.radius = 87.5f * s * 2.0f;   // half the longer side at this scale
    d.scale = 1;
    d.health = 1;
    d.score = 0;
    d.drops = 0;
    d.acceleration = x.acceleration + ship.bonus.acceleration;
    d.deceleration = x.deceleration + ship.bonus.deceleration;
    d.topSpeed = x.topSpeed + ship.bonus.topSpeed;
    d.bulletSpeed = x.bulletSpeed + ship.bonus.bulletSpeed;
    d.bulletDamage = x.bulletDamage + ship.bonus.bulletDamage;
    d.pickupForce = x.pickupForce + ship.bonus.pickupForce;
    d.colour = Ccolour::fromHsv(x.flares[0].hue, 0.6f, 1.0f);
    // One gun per active turret slot, from the gun mounts in turn; pairs of
    // slots fire mirrored about the heading. The hull's +y is its nose.
    int gun = 0;
    for (int i = 0; i < kNumTurretSlots; ++i) {
        const CturretSlot& t = x.turrets[i];
        if (!t.active()) continue;
        const CgunMount& m = x.mounts[gun % kNumGunMounts];
        CelementDef e;
        e.kind = ELEMENT_TURRET;
        e.x = m.x * s;
        e.y = -m.y * s;
        e.angle = t.angle * (180.0f / 3.14159265f) * (i % 2 == 0 ? 1.0f : -1.0f);
        e.hitPoints = 1000;
        d.elements.push_back(e);
        ++gun;
    }
    if (gun == 0) {
        // A ship needs a gun (and something for Carnage to shoot away).
        CelementDef e;
        e.kind = ELEMENT_TURRET;
        e.y = -d.radius * 0.8f;
        e.hitPoints = 1000;
        d.elements.push_back(e);
    }
    for (int i = 0; i < x.engineThrusts && i < kNumShipEngines; ++i) {
        const CshipEngine& en = x.engines[i];
        CelementDef e;
        e.kind = ELEMENT_ENGINE;
        e.x = en.x * s;
        e.y = -en.y * s;
        e.angle = 180.0f + en.rotation * (180.0f / 3.14159265f);
        e.scale = en.scale;
        d.elements.push_back(e);
    }
    return d;
}

CshipDef* assignShipRecord(CshipMgr& ships, const CplayerShipDef& ship) {
    CplayerShipDef copy = ship;
    if (copy.hullSprite.empty()) copy.hullSprite = ship.name();
    copy.data.identifier = kTestShipRecord;
    // The data files hold a record of this name, which is found before any
    // made one: it takes the edited ship's contents.
    if (CshipDef* loaded = ships.replaceLoadedDef(shipDefFromPlayerShip(copy))) return loaded;
    return ships.syncPlayerShip(copy);
}
