#pragma once
// CpickupMgr: the things ships leave behind for the players to collect:
// multiplier tokens, weapon power, colour, cash, lives and perk weapons.
// They drift, are drawn toward a near player and fade after a while.
#include <cstdint>
#include <vector>

#include "engine/maths.h"

class CgameWorld;

enum EpickupKind : uint8_t {
    PICKUP_MULTIPLIER = 0,
    PICKUP_POWER = 1,
    PICKUP_COLOUR = 2,
    PICKUP_CASH = 3,
    PICKUP_LIFE = 4,
    PICKUP_WEAPON = 5,   // value: the power-up slot 2..9
    PICKUP_KIND_COUNT = 6
};

struct Cpickup {
    Cvec2 pos, vel;
    float life = 8;
    float age = 0;
    uint8_t kind = PICKUP_MULTIPLIER;
    int value = 1;
};

class CpickupMgr {
public:
    static constexpr int kMaxPickups = 600;
    static constexpr float kLife = 8.0f;
    static constexpr float kCollectRadius = 4.0f;
    static constexpr float kMagnetRadius = 22.0f;

    explicit CpickupMgr(CgameWorld& world) : world_(world) {}

    Cpickup* spawn(uint8_t kind, const Cvec2& pos, int value = 1);
    // What a destroyed ship leaves: its multiplier tokens, now and then power,
    // colour or a weapon, and the rain perks' cash and multipliers.
    void dropFrom(const Cvec2& pos, int multiplierTokens, float bigChance);
    void update(float dt);
    void clear() { items_.clear(); }
    void draw();

    int count() const { return (int)items_.size(); }
    const std::vector<Cpickup>& items() const { return items_; }

    // The sprite of a pickup kind.
    static const char* spriteName(uint8_t kind, int value);

private:
    CgameWorld& world_;
    std::vector<Cpickup> items_;
};
