#include "game/powerUps.h"

#include <algorithm>
#include <cmath>

#include "engine/engine.h"
#include "game/gameWorld.h"

namespace {
// Stock slots 2..9 and their perks.
const int kWeaponPerks[kNumPerkWeapons] = {PERK_SUPER_BOMB, PERK_MICRO_MISSILES, PERK_REFLECT_SHIELD, PERK_ULTRA_BEAM,
                                           PERK_EMP,        PERK_TURRET,         PERK_DECOY,          PERK_WINGMAN};
}  // namespace

int perkOfWeaponSlot(int slot) {
    return slot >= PU_SUPER_BOMB && slot <= PU_WINGMAN ? kWeaponPerks[slot - PU_SUPER_BOMB] : -1;
}

int extraPerkOfWeaponSlot(int slot) {
    int p = perkOfWeaponSlot(slot);
    return p < 0 ? -1 : p + 1;
}

void CpowerUps::reset() {
    const CperkMgr& perks = world_.perks;
    float startPow = std::min<float>(kMaxPowerLevel, perks.getPerkValue(PERK_START_WITH_POW));
    float startCol = std::min<float>(kMaxPowerLevel, perks.getPerkValue(PERK_START_WITH_COL));
    float startMul = 1.0f + perks.getPerkValue(PERK_EXTRA_MULTIPLIER);
    float cap = kBaseMultiplierCap + perks.getPerkValue(PERK_HIGHER_MUL_CAP);
    if (world_.session.partyMode && world_.session.party.noMultiplier) startMul = 1;
    for (int t = 0; t < 4; ++t) {
        CpowerUpRecord& r = teams_[t];
        r.values.fill(0);
        r[PU_WEAPON_POWER] = startPow;
        r[PU_COLOUR_LEVEL] = startCol;
        r[PU_MULTIPLIER_CAP] = cap;
        r[PU_MULTIPLIER] = std::min(startMul, cap);
        for (int s = PU_SUPER_BOMB; s <= PU_WINGMAN; ++s) {
            int perk = perkOfWeaponSlot(s);
            if (!perks.isEnabled(perk)) continue;
            r[s] = 1.0f + std::floor(perks.getPerkValue(extraPerkOfWeaponSlot(s)));
        }
        startMultiplier_[t] = r[PU_MULTIPLIER];
    }
    for (auto& p : players_) p.values.fill(0);
}

CpowerUpRecord& CpowerUps::getPowerUp(int player) {
    if (player < 0 || player > 3) {
        gEngine->logFatal("CpowerUps::getPowerUp PlayerIdx out of range!");
        return teams_[0];
    }
    return teams_[world_.party.playerIdxToTeamIdx(player)];
}

int CpowerUps::getPowerUpLevel(const CpowerUpRecord& record, int slot) {
    if (slot < 0 || slot >= PU_NUM_VALUES) return 0;
    return (int)record[slot];
}

bool CpowerUps::isFullPower() const {
    int teams = world_.party.getNumActiveTeams();
    for (int t = 0; t < teams; ++t)
        if (getPowerUpLevel(teams_[t], PU_WEAPON_POWER) < kMaxPowerLevel ||
            getPowerUpLevel(teams_[t], PU_COLOUR_LEVEL) < kMaxPowerLevel)
            return false;
    return true;
}

void CpowerUps::addWeaponPower(int t, int amount) {
    CpowerUpRecord& r = team(t);
    r[PU_WEAPON_POWER] = clampf(r[PU_WEAPON_POWER] + amount, 0, kMaxPowerLevel);
}

void CpowerUps::addColourLevel(int t, int amount) {
    CpowerUpRecord& r = team(t);
    r[PU_COLOUR_LEVEL] = clampf(r[PU_COLOUR_LEVEL] + amount, 0, kMaxPowerLevel);
}

void CpowerUps::addMultiplier(int t, float amount) {
    CpowerUpRecord& r = team(t);
    if (world_.session.partyMode && world_.session.party.noMultiplier) {
        r[PU_MULTIPLIER] = 1;
        return;
    }
    r[PU_MULTIPLIER] = clampf(r[PU_MULTIPLIER] + amount, 1, r[PU_MULTIPLIER_CAP]);
}

int CpowerUps::multiplier(int t) const { return std::max(1, (int)team(t)[PU_MULTIPLIER]); }

void CpowerUps::addStock(int t, int slot, int amount) {
    if (slot < PU_SUPER_BOMB || slot > PU_WINGMAN) return;
    CpowerUpRecord& r = team(t);
    r[slot] = clampf(r[slot] + amount, 0, 99);
}

bool CpowerUps::useStock(int t, int slot) {
    if (slot < PU_SUPER_BOMB || slot > PU_WINGMAN) return false;
    CpowerUpRecord& r = team(t);
    if (r[slot] < 1) return false;
    r[slot] -= 1;
    return true;
}

void CpowerUps::onDeath(int p) {
    int t = world_.session.team(p);
    CpowerUpRecord& r = team(t);
    float start = startMultiplier_[t];
    r[PU_MULTIPLIER] = std::max(start, std::floor(r[PU_MULTIPLIER] * 0.5f));
    r[PU_WEAPON_POWER] = std::max(0.0f, r[PU_WEAPON_POWER] - 1);
    r[PU_COLOUR_LEVEL] = std::max(0.0f, r[PU_COLOUR_LEVEL] - 1);
    r[PU_DAREDEVIL] = 0;
    r[PU_DAREDEVIL_CHAIN] = 0;
    player(p).values[PPU_SURVIVOR] = 0;
}

void CpowerUps::updatePlayer(int p, float dt, float nearestEnemy, bool alive) {
    int t = world_.session.team(p);
    CpowerUpRecord& r = team(t);
    if (alive && nearestEnemy >= 0 && nearestEnemy < kDareDevilRange) {
        r[PU_DAREDEVIL] = std::min(1.0f, r[PU_DAREDEVIL] + dt * 1.5f);
    } else {
        r[PU_DAREDEVIL] = std::max(0.0f, r[PU_DAREDEVIL] - dt * 0.5f);
        if (r[PU_DAREDEVIL] <= 0) r[PU_DAREDEVIL_CHAIN] = std::max(0.0f, r[PU_DAREDEVIL_CHAIN] - dt);
    }
    float& surv = player(p).values[PPU_SURVIVOR];
    if (alive) surv = std::min(1.0f, surv + dt / kSurvivorSeconds);
}

int CpowerUps::onKill(int p) {
    int t = world_.session.team(p);
    CpowerUpRecord& r = team(t);
    if (r[PU_DAREDEVIL] <= 0.3f) return 0;
    r[PU_DAREDEVIL_CHAIN] = std::min(10.0f, r[PU_DAREDEVIL_CHAIN] + 1);
    float bonus = 1.0f + world_.perks.getPerkValue(PERK_EXTRA_DAREDEVIL) * 0.1f;
    return (int)std::lround(50.0f * r[PU_DAREDEVIL_CHAIN] * bonus);
}

int CpowerUps::takeSurvivorBonus(int p) {
    float& surv = player(p).values[PPU_SURVIVOR];
    if (surv < 1.0f) return 0;
    surv = 0.75f;
    float bonus = 1.0f + world_.perks.getPerkValue(PERK_EXTRA_SURVIVOR) * 0.1f;
    return (int)std::lround(2500.0f * bonus);
}
