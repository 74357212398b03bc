#pragma once
// The flyable definition of a player's ship: the hangar's record (handling,
// turret slots, gun mounts, engines) carried onto the play plane.
#include "game/enemies/shipDef.h"

class CplayerShipDef;

// Hull units (the hull's longer side is 350 at scale 1) to play-plane units:
// the standard ship (scale 0.5) has a radius of 3.2.
constexpr float kHullToPlay = 3.2f / 87.5f;

CshipDef shipDefFromPlayerShip(const CplayerShipDef& ship);

class CshipMgr;

// The ship record a ship test flies: "TestShipEditor", a copy of the ship
// being edited (its hull shown from the ship's own sprite). Made again on
// each call.
constexpr const char* kTestShipRecord = "TestShipEditor";
CshipDef* assignShipRecord(CshipMgr& ships, const CplayerShipDef& ship);
