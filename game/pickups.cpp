#include "game/pickups.h"

#include <algorithm>

#include "game/gameWorld.h"
#include "game/playEffects.h"

Cpickup* CpickupMgr::spawn(uint8_t kind, const Cvec2& pos, int value) {
    if ((int)items_.size() >= kMaxPickups) {
        // The oldest multiplier token makes room.
        auto it = std::find_if(items_.begin(), items_.end(), [](const Cpickup& p) { return p.kind == PICKUP_MULTIPLIER; });
        if (it == items_.end()) return nullptr;
        items_.erase(it);
    }
    Cpickup p;
    p.kind = kind;
    p.pos = pos;
    p.value = value;
    p.life = kLife;
    float a = world_.playRandom.range(0, 2 * kPi);
    float s = world_.playRandom.range(8, 24);
    p.vel = Cvec2(std::sin(a) * s, std::cos(a) * s);
    items_.push_back(p);
    return &items_.back();
}

void CpickupMgr::dropFrom(const Cvec2& pos, int multiplierTokens, float bigChance) {
    CperkMgr& perks = world_.perks;
    Crandom& r = world_.playRandom;
    for (int i = 0; i < multiplierTokens; ++i) spawn(PICKUP_MULTIPLIER, pos, 1);
    // The rain perks: an extra token or a coin now and then.
    float mulRain = perks.getPerkValue(PERK_MULTIPLIER_RAIN) * 0.02f;
    if (mulRain > 0 && r.fraction() < mulRain) spawn(PICKUP_MULTIPLIER, pos, 1);
    float mul5 = perks.getPerkValue(PERK_MORE_MUL5) * 0.05f;
    if (mul5 > 0 && r.fraction() < mul5) spawn(PICKUP_MULTIPLIER, pos, 5);
    float mul10 = perks.getPerkValue(PERK_MORE_MUL10) * 0.05f;
    if (mul10 > 0 && r.fraction() < mul10) spawn(PICKUP_MULTIPLIER, pos, 10);
    float cashRain = 0.01f + perks.getPerkValue(PERK_CASH_RAIN) * 0.01f;
    if (r.fraction() < cashRain) spawn(PICKUP_CASH, pos, 1 + r.choice(5));
    if (r.fraction() < bigChance) {
        int pick = r.choice(100);
        if (pick < 40) spawn(PICKUP_POWER, pos, 1);
        else if (pick < 75) spawn(PICKUP_COLOUR, pos, 1);
        else if (pick < 80) spawn(PICKUP_LIFE, pos, 1);
        else {
            // A perk weapon the team uses.
            int slots[kNumPerkWeapons];
            int n = 0;
            for (int s = PU_SUPER_BOMB; s <= PU_WINGMAN; ++s)
                if (perks.isEnabled(perkOfWeaponSlot(s))) slots[n++] = s;
            if (n > 0) spawn(PICKUP_WEAPON, pos, slots[r.choice(n)]);
            else spawn(PICKUP_POWER, pos, 1);
        }
    }
}

void CpickupMgr::update(float dt) {
    const auto& ships = world_.ships.ships();
    size_t i = 0;
    while (i < items_.size()) {
        Cpickup& p = items_[i];
        p.age += dt;
        p.life -= dt;
        bool taken = false;
        // The nearest live player within reach draws it in.
        Cship* best = nullptr;
        float bestD = 0;
        for (size_t k = 0; k < ships.size() && ships[k]->kind == SHIPKIND_PLAYER; ++k) {
            Cship* s = ships[k];
            if (!s->alive || !s->active || s->display || s->player < 0) continue;
            float reach = kMagnetRadius * (1.0f + s->def->pickupForce);
            float d = (s->pos2() - p.pos).lengthSq();
            if (d < reach * reach && (!best || d < bestD)) {
                best = s;
                bestD = d;
            }
        }
        if (best && p.age > 0.25f) {
            Cvec2 to = best->pos2() - p.pos;
            float d = to.length();
            if (d < kCollectRadius + best->size * 0.5f) {
                world_.session.onPickup(best->player, p.kind, p.value);
                playSparks(p.kind == PICKUP_MULTIPLIER ? 3 : 12, p.pos, 30.0f, best->colour, 0.8f);
                if (world_.hooks.onPickup) world_.hooks.onPickup(p.kind, p.pos.x, p.pos.y);
                taken = true;
            } else {
                p.vel += to.normalised() * (420.0f * dt);
                float cap = 160.0f;
                if (p.vel.length() > cap) p.vel = p.vel.normalised() * cap;
            }
        } else {
            p.vel *= std::max(0.0f, 1.0f - 2.0f * dt);
        }
        p.pos += p.vel * dt;
        float hw = world_.arenaHalfWidth - 2, hh = world_.arenaHalfHeight - 2;
        p.pos.x = clampf(p.pos.x, -hw, hw);
        p.pos.y = clampf(p.pos.y, -hh, hh);
        if (taken || p.life <= 0) {
            items_[i] = items_.back();
            items_.pop_back();
        } else {
            ++i;
        }
    }
}

const char* CpickupMgr::spriteName(uint8_t kind, int value) {
    static const char* weapons[kNumPerkWeapons] = {"ss_pickup_SuperBomb.png",    "ss_pickup_MicroMissile.png",
                                                   "ss_pickup_ReflectShield.png", "ss_pickup_UltraBeam.png",
                                                   "ss_pickup_EMP.png",           "ss_pickup_AutoTurret.png",
                                                   "ss_pickup_QEcho.png",         "ss_pickup_Wingman.png"};
    switch (kind) {
        case PICKUP_MULTIPLIER: return "ss_pickup_Multiplier.png";
        case PICKUP_POWER: return "ss_pickup_Power.png";
        case PICKUP_COLOUR: return "ss_pickup_Colour.png";
        case PICKUP_CASH: return "ss_pickup_Cash.png";
        case PICKUP_LIFE: return "ss_pickup_Life.png";
        case PICKUP_WEAPON:
            return value >= PU_SUPER_BOMB && value <= PU_WINGMAN ? weapons[value - PU_SUPER_BOMB] : "ss_pickup_Power.png";
        default: return "ss_pickup_Power.png";
    }
}
