#pragma once
// CpowerUps: the power-up records of play. Each team has one record of
// values: 0 weapon power 0..5, 1 colour level 0..5, 2..9 the perk weapon
// stocks (SuperBomb, MicroMissile, ReflectShield, UltraBeam, EMP, AutoTurret,
// Decoy, Wingman), 10 the multiplier, 11 the multiplier cap, 12 and 13 the
// dare-devil values (closeness 0..1 and the chain 0..10). Each player has a
// record of its own whose value 0 is the survivor value.
#include <array>

class CgameWorld;

enum EpowerUpSlot {
    PU_WEAPON_POWER = 0,
    PU_COLOUR_LEVEL = 1,
    PU_SUPER_BOMB = 2,
    PU_MICRO_MISSILE = 3,
    PU_REFLECT_SHIELD = 4,
    PU_ULTRA_BEAM = 5,
    PU_EMP = 6,
    PU_AUTO_TURRET = 7,
    PU_DECOY = 8,
    PU_WINGMAN = 9,
    PU_MULTIPLIER = 10,
    PU_MULTIPLIER_CAP = 11,
    PU_DAREDEVIL = 12,
    PU_DAREDEVIL_CHAIN = 13,
    PU_NUM_VALUES = 16
};

enum EplayerPowerUpSlot { PPU_SURVIVOR = 0, PPU_NUM_VALUES = 4 };

constexpr int kMaxPowerLevel = 5;
constexpr int kNumPerkWeapons = 8;
constexpr float kBaseMultiplierCap = 50.0f;

// The perk that enables a weapon stock slot (2..9), and its Extra perk.
int perkOfWeaponSlot(int slot);
int extraPerkOfWeaponSlot(int slot);

struct CpowerUpRecord {
    std::array<float, PU_NUM_VALUES> values{};
    float& operator[](int slot) { return values[slot]; }
    float operator[](int slot) const { return values[slot]; }
};

struct CplayerPowerUpRecord {
    std::array<float, PPU_NUM_VALUES> values{};
};

class CpowerUps {
public:
    explicit CpowerUps(CgameWorld& world) : world_(world) {}

    // Start values from the enabled perks: weapon power and colour, the
    // multiplier and its cap, one stock per enabled perk weapon plus its
    // Extra perk's value.
    void reset();

    // The record of the player's team (fatal "CpowerUps::getPowerUp PlayerIdx
    // out of range!" for a player outside 0..3).
    CpowerUpRecord& getPowerUp(int player);
    CpowerUpRecord& team(int teamIdx) { return teams_[teamIdx < 0 || teamIdx > 3 ? 0 : teamIdx]; }
    const CpowerUpRecord& team(int teamIdx) const { return teams_[teamIdx < 0 || teamIdx > 3 ? 0 : teamIdx]; }
    static int getPowerUpLevel(const CpowerUpRecord& record, int slot);
    CplayerPowerUpRecord& player(int p) { return players_[p < 0 || p > 3 ? 0 : p]; }
    float survivor(int p) const { return players_[p < 0 || p > 3 ? 0 : p].values[PPU_SURVIVOR]; }

    // Every active team with weapon power and colour at 5.
    bool isFullPower() const;

    // Pickups and deaths.
    void addWeaponPower(int teamIdx, int amount);
    void addColourLevel(int teamIdx, int amount);
    // Adds to the multiplier, held under the cap; with the no-multiplier rule it stays 1.
    void addMultiplier(int teamIdx, float amount);
    int multiplier(int teamIdx) const;
    void addStock(int teamIdx, int slot, int amount);
    // Takes one from a stock; false when it is empty.
    bool useStock(int teamIdx, int slot);
    // A lost life: the multiplier halves (not below its start) and the
    // weapon power and colour drop by one.
    void onDeath(int player);

    // Dare-devil and survivor meters, each step. nearestEnemy: distance from
    // the player's ship to the nearest enemy, negative for none.
    void updatePlayer(int player, float dt, float nearestEnemy, bool alive);
    // A kill while the dare-devil meter is up raises the chain; returns the
    // bonus points (0 when the meter is down).
    int onKill(int player);
    // The survivor meter reached full: returns the bonus and restarts it at 0.75.
    int takeSurvivorBonus(int player);

    float startMultiplier(int teamIdx) const { return startMultiplier_[teamIdx < 0 || teamIdx > 3 ? 0 : teamIdx]; }

    static constexpr float kDareDevilRange = 14.0f;   // scene units
    static constexpr float kSurvivorSeconds = 45.0f;

private:
    CgameWorld& world_;
    std::array<CpowerUpRecord, 4> teams_{};
    std::array<CplayerPowerUpRecord, 4> players_{};
    std::array<float, 4> startMultiplier_{1, 1, 1, 1};
};
