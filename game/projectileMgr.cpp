#include "game/projectileMgr.h"

#include <algorithm>
#include <cmath>

#include "game/gameWorld.h"
#include "game/playEffects.h"

CprojectileMgr::CprojectileMgr(CgameWorld& world) : world_(world) { shots_.reserve(kMaxProjectiles); }

Cprojectile* CprojectileMgr::fire(const Cvec2& pos, const Cvec2& vel, int team, int player, uint8_t kind,
                                  float damage, const Ccolour& colour, float life) {
    if ((int)shots_.size() >= kMaxProjectiles) {
        ++dropped_;
        return nullptr;
    }
    shots_.emplace_back();
    Cprojectile& p = shots_.back();
    p.pos = pos;
    p.vel = vel;
    p.team = (int8_t)team;
    p.player = (int8_t)player;
    p.kind = kind;
    p.damage = damage;
    p.colour = colour;
    p.life = life;
    p.radius = kind == SHOT_ROUND ? 1.2f : (kind == SHOT_MISSILE ? 1.0f : 0.8f);
    return &p;
}

void CprojectileMgr::clear() {
    shots_.clear();
    killStreak_ = 0;
    streakTimer_ = 0;
}

int CprojectileMgr::clearEnemyShots(const Cvec2& centre, float radius) {
    size_t before = shots_.size();
    float r2 = radius * radius;
    shots_.erase(std::remove_if(shots_.begin(), shots_.end(),
                                [&](const Cprojectile& p) {
                                    return p.team < 0 && (radius <= 0 || (p.pos - centre).lengthSq() <= r2);
                                }),
                 shots_.end());
    return (int)(before - shots_.size());
}

void CprojectileMgr::steerMissile(Cprojectile& p, float dt) {
    if (!p.target || p.target->serial != p.targetSerial || !p.target->collides()) {
        p.target = world_.ships.nearestEnemy(p.pos, 160.0f);
        p.targetSerial = p.target ? p.target->serial : 0;
    }
    if (!p.target) return;
    float speed = p.vel.length();
    Cvec2 want = (p.target->pos2() - p.pos).normalised() * speed;
    p.vel += (want - p.vel) * clampf(6.0f * dt, 0, 1);
    p.vel = p.vel.normalised() * std::max(speed, 140.0f);
}

bool CprojectileMgr::hitEnemies(Cprojectile& p) {
    Cship* victim = nullptr;
    world_.ships.grid().query(p.pos.x, p.pos.y, p.radius, [&](Cship* s) {
        if (victim || !s->collides() || s->team == p.team) return;
        if (s->touches(p.pos, p.radius)) victim = s;
    });
    if (!victim) return false;
    if (victim->kind == SHIPKIND_BALL) {
        victim->vel += p.vel.normalised() * 25.0f;
        return true;
    }
    bool wasBoss = victim->important;
    playSparks(2, p.pos, 50.0f, p.colour, 1.0f);
    if (victim->hit(p.damage, p.pos, p.team, p.player)) {
        world_.session.onShipDestroyed(*victim, p.player);
        // A boss brought down by a shot is a moment worth a picture.
        if (wasBoss && world_.hooks.armMoment) world_.hooks.armMoment(1, 0.3f, 1);
        ++killStreak_;
        streakTimer_ = 0.5f;
        if (killStreak_ == 8 && world_.hooks.armMoment) world_.hooks.armMoment(1, 0.3f, 1);
    }
    return true;
}

bool CprojectileMgr::hitPlayers(Cprojectile& p) {
    const CgameSession& s = world_.session;
    const auto& list = world_.ships.ships();
    for (size_t i = 0; i < list.size() && list[i]->kind == SHIPKIND_PLAYER; ++i) {
        Cship* pl = list[i];
        if (!pl->alive || !pl->active || pl->display || pl->spawnTimer > 0) continue;
        if (p.team >= 0 && (p.team == pl->team || !(s.partyMode && s.party.carnageRules))) continue;
        if (s.partyMode && s.party.tagRules && s.tagOut[pl->player]) continue;
        float r = pl->size * 0.6f + p.radius;
        if (pl->shieldTimer > 0 && p.team < 0) r = pl->size + 6.0f;
        if ((pl->pos2() - p.pos).lengthSq() > r * r) continue;
        if (pl->shieldTimer > 0 && p.team < 0) {
            // The reflect shield sends the shot back as the player's.
            Cvec2 n = (p.pos - pl->pos2()).normalised();
            float speed = std::max(p.vel.length() * 2.5f, 180.0f);
            p.vel = n * speed;
            p.team = (int8_t)pl->team;
            p.player = (int8_t)pl->player;
            p.kind = SHOT_BULLET;
            p.damage = 20.0f;
            p.life = 1.5f;
            if (world_.hooks.armMoment) world_.hooks.armMoment(1, 0.3f, 1);
            return false;
        }
        if (pl->invulnerableTimer > 0) return true;
        if (p.team >= 0) {
            // Carnage: a rival team's shot wears the turrets down.
            if (pl->hit(p.damage, p.pos, p.team, p.player)) {
                world_.session.killPlayer(pl->player);
                if (p.player >= 0) world_.session.addScore(p.player, 5000);
            }
            return true;
        }
        world_.session.killPlayer(pl->player);
        return true;
    }
    return false;
}

void CprojectileMgr::update(float dt) {
    if (streakTimer_ > 0) {
        streakTimer_ -= dt;
        if (streakTimer_ <= 0) killStreak_ = 0;
    }
    float margin = 10.0f;
    size_t i = 0;
    while (i < shots_.size()) {
        Cprojectile& p = shots_[i];
        bool gone = false;
        p.life -= dt;
        if (p.kind == SHOT_MISSILE) steerMissile(p, dt);
        p.pos += p.vel * dt;
        if (p.life <= 0 || !world_.insideArena(p.pos.x, p.pos.y, margin)) {
            gone = true;
        } else if (p.team >= 0) {
            gone = hitEnemies(p);
            if (!gone && world_.session.partyMode && world_.session.party.carnageRules) gone = hitPlayers(p);
        } else {
            gone = hitPlayers(p);
        }
        if (gone) {
            shots_[i] = shots_.back();
            shots_.pop_back();
        } else {
            ++i;
        }
    }
}
