#pragma once
// CprojectileMgr: every shot in play, the players' and the enemies'. Shots
// move in straight lines (missiles turn toward their target), hit ships
// through the ship manager's grid and are reflected by a reflect shield.
#include <cstdint>
#include <vector>

#include "engine/maths.h"

class CgameWorld;
class Cship;

enum EprojectileKind : uint8_t {
    SHOT_BULLET = 0,    // a player's gun
    SHOT_ROUND = 1,     // an enemy turret
    SHOT_MISSILE = 2,   // a homing micro missile
};

struct Cprojectile {
    Cvec2 pos, vel;
    float radius = 0.8f;
    float damage = 10;
    float life = 2;
    int8_t team = -1;     // -1 enemy; 0..3 the team of the player who fired
    int8_t player = -1;   // the player who fired, -1 none
    uint8_t kind = SHOT_BULLET;
    Ccolour colour;
    Cship* target = nullptr;   // missiles
    uint32_t targetSerial = 0;
};

class CprojectileMgr {
public:
    static constexpr int kMaxProjectiles = 4096;

    explicit CprojectileMgr(CgameWorld& world);

    // A new shot, or null when the pool is full.
    Cprojectile* fire(const Cvec2& pos, const Cvec2& vel, int team, int player, uint8_t kind, float damage,
                      const Ccolour& colour, float life = 2.0f);
    void update(float dt);
    void clear();
    // Removes enemy shots (within radius of a point; radius <= 0: all). The number removed.
    int clearEnemyShots(const Cvec2& centre = Cvec2(), float radius = -1);
    void draw();

    int count() const { return (int)shots_.size(); }
    const std::vector<Cprojectile>& shots() const { return shots_; }
    int dropped() const { return dropped_; }

private:
    bool hitEnemies(Cprojectile& p);
    bool hitPlayers(Cprojectile& p);
    void steerMissile(Cprojectile& p, float dt);

    CgameWorld& world_;
    std::vector<Cprojectile> shots_;
    int dropped_ = 0;
    int killStreak_ = 0;
    float streakTimer_ = 0;
};
