#pragma once
// CbossGen: bosses grown from a seed and the music's energy. A boss is a core
// ringed by mirrored arms of armour and turrets; the core can only be hurt
// once every turret is gone. More energy makes a bigger, harder boss.
#include <cstdint>

#include "game/enemies/shipDef.h"

class CgameWorld;
class Cship;

class CbossGen {
public:
    explicit CbossGen(CgameWorld& world) : world_(world) {}

    // The definition alone (the same seed, energy and strength give the same boss).
    static CshipDef makeBossDef(uint32_t seed, float energy, float strength);
    // A boss's mass in tons: its core by its area, its plates and turrets by
    // their strength (the incoming-mass warning shows it in kilotons).
    static int64_t bossMass(const CshipDef& def);
    // Makes the boss's definition and brings the boss in at the arena's top
    // (the world's onBossSpawned hears of it).
    Cship* spawnBoss(uint32_t seed, float energy, float strength);
    bool bossAlive() const;
    Cship* current() const;
    void reset();

    int spawned = 0;
    int destroyed = 0;

private:
    CgameWorld& world_;
    Cship* current_ = nullptr;
    uint32_t currentSerial_ = 0;
};
