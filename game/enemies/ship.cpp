#include "game/enemies/ship.h"

#include <algorithm>
#include <cmath>

#include "game/gameWorld.h"

namespace {
constexpr float kSpeedUnit = 6.0f;         // a hangar top speed of 16 is 96 units a second
constexpr float kPlayerShotSpeed = 240.0f;
constexpr float kPlayerShotLife = 1.3f;
constexpr float kPlayerShotDamage = 10.0f;
constexpr float kBeamLength = 220.0f;
constexpr float kBeamDamage = 160.0f;      // a second

Cvec2 dirOf(float angle) { return Cvec2(std::sin(angle), -std::cos(angle)); }
float angleOf(const Cvec2& d) { return std::atan2(d.x, -d.y); }

float wrapAngle(float a) {
    while (a > kPi) a -= 2 * kPi;
    while (a < -kPi) a += 2 * kPi;
    return a;
}

Cvec2 rotate(const Cvec2& v, float a) {
    float c = std::cos(a), s = std::sin(a);
    return Cvec2(v.x * c - v.y * s, v.x * s + v.y * c);
}
}  // namespace

void Cship::init(CgameWorld* w, const CshipDef* d, uint32_t serialNo) {
    world = w;
    def = d;
    serial = serialNo;
    kind = d->kind;
    behaviour = d->behaviour;
    team = -1;
    player = -1;
    pos = Cvec3();
    vel = Cvec2();
    angle = 0;
    spin = 0;
    scale = d->scale;
    size = d->radius * d->scale;
    health = maxHealth = d->health;
    speed = d->speed;
    active = alive = true;
    display = marked = false;
    important = d->type == SHIPTYPE_BOSS;
    spawnTimer = 0;
    stunTimer = invulnerableTimer = 0;
    lifeTimer = -1;
    hitFlash = 0;
    aiTimer = aiPhase = 0;
    aiDir = Cvec2();
    fireTimer = 0;
    shieldTimer = beamTimer = 0;
    power = 1;
    colour = d->colour;
    controls = nullptr;
    elements.clear();
    for (const auto& ed : d->elements) {
        Celement e;
        e.def = &ed;
        e.kind = ed.kind;
        e.x = ed.x;
        e.y = ed.y;
        e.angle = ed.angle;
        e.scale = ed.scale;
        e.hitPoints = e.maxHitPoints = ed.hitPoints;
        e.fireTimer = ed.fireRate > 0 ? 1.0f / ed.fireRate : 0;
        elements.push_back(e);
    }
    reach = size;
    for (const auto& e : elements)
        if (e.def->radius > 0)
            reach = std::max(reach, (Cvec2(e.x, e.y).length() + e.def->radius) * scale);
}

bool Cship::touches(const Cvec2& p, float r) const {
    float d2 = (pos2() - p).lengthSq();
    if (d2 > (reach + r) * (reach + r)) return false;
    if (d2 <= (size + r) * (size + r)) return true;
    for (const auto& e : elements) {
        if (!e.def || e.def->radius <= 0 || e.maxHitPoints <= 0 || e.hitPoints <= 0) continue;
        float er = e.def->radius * scale + r;
        if ((elementPos(e) - p).lengthSq() <= er * er) return true;
    }
    return false;
}

Cvec2 Cship::heading() const { return dirOf(angle); }

Cvec2 Cship::elementPos(const Celement& e) const {
    Cvec2 local = rotate(Cvec2(e.x, e.y) * scale, angle);
    return Cvec2(pos.x + local.x, pos.y + local.y);
}

bool Cship::allTurretsDestroyed() const {
    for (const auto& e : elements)
        if (e.kind == ELEMENT_TURRET && e.hitPoints > 0) return false;
    return true;
}

float Cship::maxTurretHitPoints() const {
    float m = 0;
    for (const auto& e : elements)
        if (e.kind == ELEMENT_TURRET) m = std::max(m, e.hitPoints);
    return m;
}

int Cship::countElements(int k) const {
    int n = 0;
    for (const auto& e : elements) n += e.kind == k ? 1 : 0;
    return n;
}

void Cship::keepInArena(bool bounce) {
    float hw = world->arenaHalfWidth - size, hh = world->arenaHalfHeight - size;
    if (pos.x < -hw) { pos.x = -hw; if (bounce) vel.x = std::fabs(vel.x); else vel.x = std::max(vel.x, 0.0f); }
    if (pos.x > hw) { pos.x = hw; if (bounce) vel.x = -std::fabs(vel.x); else vel.x = std::min(vel.x, 0.0f); }
    if (pos.y < -hh) { pos.y = -hh; if (bounce) vel.y = std::fabs(vel.y); else vel.y = std::max(vel.y, 0.0f); }
    if (pos.y > hh) { pos.y = hh; if (bounce) vel.y = -std::fabs(vel.y); else vel.y = std::min(vel.y, 0.0f); }
}

void Cship::steerToward(const Cvec2& target, float dt, float speedScale) {
    Cvec2 to = target - pos2();
    float want = angleOf(to);
    float diff = wrapAngle(want - angle);
    float maxTurn = def->turn * dt;
    angle = wrapAngle(angle + clampf(diff, -maxTurn, maxTurn));
    vel = heading() * (speed * speedScale);
}

void Cship::update(float dt) {
    if (display || !alive) return;
    hitFlash = std::max(0.0f, hitFlash - dt * 4);
    for (auto& e : elements) e.flash = std::max(0.0f, e.flash - dt * 4);
    if (invulnerableTimer > 0) invulnerableTimer = std::max(0.0f, invulnerableTimer - dt);
    if (spawnTimer > 0) {
        spawnTimer -= dt;
        return;
    }
    switch (behaviour) {
        case BEHAVE_PLAYER: updatePlayerControl(true); break;
        case BEHAVE_TURRET: case BEHAVE_WINGMAN: case BEHAVE_DECOY: updateHelper(dt); break;
        case BEHAVE_BALL: updateBall(dt); break;
        default: updateEnemy(dt); break;
    }
}

void Cship::updatePlayerControl(bool allowFire) {
    float dt = world->stepTime();
    shieldTimer = std::max(0.0f, shieldTimer - dt);
    beamTimer = std::max(0.0f, beamTimer - dt);
    fireTimer -= dt;
    if (!controls) return;
    const CpilotControls& c = *controls;
    Cvec2 move = c.move;
    if (move.lengthSq() > 1) move = move.normalised();
    float top = def->topSpeed * kSpeedUnit;
    Cvec2 want = move * top;
    if (move.lengthSq() > 0.0001f) {
        float k = clampf(def->acceleration * 4.0f * dt, 0, 1);
        vel += (want - vel) * k;
    } else {
        vel *= std::max(0.0f, 1.0f - def->deceleration * 6.0f * dt);
    }
    pos.x += vel.x * dt;
    pos.y += vel.y * dt;
    keepInArena(false);

    Cvec2 aim;
    bool aiming = false;
    if (c.aimAtPoint) {
        aim = c.aimPoint - pos2();
        aiming = aim.lengthSq() > 0.01f;
    } else if (c.aim.length() > CpilotControls::kAimDeadZone) {
        aim = c.aim;
        aiming = true;
    }
    bool firing = aiming && (c.fire || (!c.aimAtPoint && c.aim.length() > CpilotControls::kAimDeadZone));
    if (aiming) angle = angleOf(aim);
    else if (vel.lengthSq() > 1) angle = angleOf(vel);

    if (allowFire && firing && fireTimer <= 0) firePlayerGuns();
    if (beamTimer > 0) {
        // The beam hurts everything along the heading, once a ship a step.
        Cvec2 d = heading();
        Cship* self = this;
        float dmg = kBeamDamage * power * dt;
        std::vector<Cship*> hitOnce;
        for (float s = size; s < kBeamLength; s += 6.0f) {
            Cvec2 p = pos2() + d * s;
            if (!world->insideArena(p.x, p.y, 4)) break;
            world->ships.grid().query(p.x, p.y, 3.0f, [&](Cship* t) {
                if (t == self || !t->collides() || t->team == team) return;
                if (!t->touches(p, 3.0f)) return;
                if (std::find(hitOnce.begin(), hitOnce.end(), t) != hitOnce.end()) return;
                hitOnce.push_back(t);
            });
        }
        for (Cship* t : hitOnce)
            if (t->alive && t->hit(dmg, t->pos2(), team, player)) world->session.onShipDestroyed(*t, player);
    }
}

void Cship::firePlayerGuns() {
    int t = team < 0 ? 0 : team;
    const CpowerUpRecord& rec = world->powerUps.team(t);
    int powerLevel = CpowerUps::getPowerUpLevel(rec, PU_WEAPON_POWER);
    int colourLevel = CpowerUps::getPowerUpLevel(rec, PU_COLOUR_LEVEL);
    static const int streamsByPower[kMaxPowerLevel + 1] = {1, 2, 3, 3, 4, 5};
    int streams = streamsByPower[std::clamp(powerLevel, 0, kMaxPowerLevel)];
    float rate = 9.0f + powerLevel * 1.2f;
    fireTimer = 1.0f / rate;
    float damage = kPlayerShotDamage * def->bulletDamage * (1.0f + 0.2f * colourLevel);
    float shotSpeed = kPlayerShotSpeed * def->bulletSpeed;
    float spreadDeg = powerLevel == 3 ? 7.0f : 4.0f;
    Ccolour shotColour = Ccolour::fromHsv(0.5f - colourLevel * 0.09f, 0.6f, 1.0f);
    Cvec2 nose = pos2() + heading() * (size * 0.8f);
    for (int i = 0; i < streams; ++i) {
        float off = (i - (streams - 1) * 0.5f) * spreadDeg;
        Cvec2 d = dirOf(angle + degToRad(off));
        Cvec2 side = rotate(Cvec2(1, 0), angle) * ((i - (streams - 1) * 0.5f) * 0.8f);
        world->projectiles.fire(nose + side, d * shotSpeed + vel * 0.2f, t, player, SHOT_BULLET, damage, shotColour,
                                kPlayerShotLife);
    }
}

void Cship::fireTurrets(float dt, const Cvec2& target, bool haveTarget) {
    const CgameSession& s = world->session;
    bool enemyFire = team >= 0 || (!isZen(s.difficulty) && s.gameType != GAMETYPE_CHILLOUT);
    float level = team >= 0 ? 1.0f : s.difficultyLevel();
    for (auto& e : elements) {
        if (e.kind != ELEMENT_TURRET || !e.def || e.def->fireRate <= 0) continue;
        if (e.maxHitPoints > 0 && e.hitPoints <= 0) continue;
        e.fireTimer -= dt * (team >= 0 ? 1.0f : std::min(level, 3.0f));
        if (e.fireTimer > 0) continue;
        e.fireTimer += 1.0f / e.def->fireRate;
        if (e.fireTimer < 0) e.fireTimer = 0;
        if (!enemyFire) continue;
        Cvec2 from = elementPos(e);
        if (!world->insideArena(from.x, from.y)) continue;
        float base;
        if (e.def->aim == AIM_TARGET && haveTarget) base = angleOf(target - from);
        else if (e.def->aim == AIM_SPIN) base = angle + degToRad(e.angle) + aiPhase * 2.0f;
        else base = angle + degToRad(e.angle);
        int shots = std::max(1, e.def->shots);
        for (int i = 0; i < shots; ++i) {
            float a = base + degToRad((i - (shots - 1) * 0.5f) * e.def->spread);
            if (team >= 0) {
                world->projectiles.fire(from, dirOf(a) * kPlayerShotSpeed, team, player, SHOT_BULLET,
                                        kPlayerShotDamage * power, colour, kPlayerShotLife);
            } else {
                world->projectiles.fire(from, dirOf(a) * e.def->bulletSpeed, -1, -1, SHOT_ROUND, 1, colour, 4.0f);
            }
        }
    }
}

void Cship::updateEnemy(float dt) {
    aiPhase += dt;
    if (stunTimer > 0) {
        stunTimer -= dt;
        vel *= std::max(0.0f, 1.0f - 3.0f * dt);
        pos.x += vel.x * dt;
        pos.y += vel.y * dt;
        keepInArena(true);
        return;
    }
    Cship* tgt = world->ships.nearestTarget(pos2());
    Cvec2 target = tgt ? tgt->pos2() : Cvec2();
    bool haveTarget = tgt != nullptr;
    switch (behaviour) {
        case BEHAVE_DRIFT:
        case BEHAVE_NONE:
            angle = wrapAngle(angle + spin * dt);
            break;
        case BEHAVE_SEEK:
            if (haveTarget) steerToward(target, dt, 1.0f);
            break;
        case BEHAVE_WEAVE: {
            if (haveTarget) steerToward(target, dt, 1.0f);
            Cvec2 side = rotate(heading(), kPi * 0.5f);
            vel += side * (std::sin(aiPhase * 5.0f) * speed * 0.9f);
            break;
        }
        case BEHAVE_ORBIT: {
            if (!haveTarget) break;
            Cvec2 to = target - pos2();
            float d = to.length();
            Cvec2 dir = to.normalised();
            Cvec2 side = rotate(dir, kPi * 0.5f) * (aiDir.x >= 0 ? 1.0f : -1.0f);
            Cvec2 want = d > 55 ? dir : (d < 40 ? dir * -1.0f : side);
            vel += (want * speed - vel) * clampf(2.0f * dt, 0, 1);
            angle = angleOf(dir);
            break;
        }
        case BEHAVE_DASH: {
            aiTimer -= dt;
            if (aiTimer <= 0) {
                if (aiDir.y <= 0) {   // aiming: then dash
                    aiDir.y = 1;
                    aiTimer = 0.7f;
                    if (haveTarget) angle = angleOf(target - pos2());
                    vel = heading() * (speed * 3.0f);
                } else {
                    aiDir.y = 0;
                    aiTimer = 1.0f;
                }
            }
            if (aiDir.y <= 0) {
                vel *= std::max(0.0f, 1.0f - 4.0f * dt);
                if (haveTarget) angle = angleOf(target - pos2());
            }
            break;
        }
        case BEHAVE_MINE:
            vel *= std::max(0.0f, 1.0f - 0.5f * dt);
            angle = wrapAngle(angle + 1.5f * dt);
            break;
        case BEHAVE_BOSS: {
            // Drifts across the upper arena, turning slowly to face the target.
            float hx = world->arenaHalfWidth * 0.6f;
            Cvec2 goal(std::sin(aiPhase * 0.3f) * hx, -world->arenaHalfHeight * 0.35f + std::sin(aiPhase * 0.5f) * 15);
            Cvec2 to = goal - pos2();
            vel += (to * 0.8f - vel) * clampf(dt, 0, 1);
            if (vel.length() > speed) vel = vel.normalised() * speed;
            if (haveTarget) {
                float diff = wrapAngle(angleOf(target - pos2()) - angle);
                angle = wrapAngle(angle + clampf(diff, -def->turn * dt, def->turn * dt));
            }
            break;
        }
        default: break;
    }
    pos.x += vel.x * dt;
    pos.y += vel.y * dt;
    keepInArena(behaviour == BEHAVE_DRIFT || behaviour == BEHAVE_DASH || behaviour == BEHAVE_NONE ||
                behaviour == BEHAVE_MINE);
    fireTurrets(dt, target, haveTarget);
}

void Cship::updateHelper(float dt) {
    if (lifeTimer >= 0) {
        lifeTimer -= dt;
        if (lifeTimer <= 0) {
            alive = false;
            marked = true;
            return;
        }
    }
    aiPhase += dt;
    Cship* enemy = world->ships.nearestEnemy(pos2(), 140.0f);
    if (behaviour == BEHAVE_WINGMAN) {
        Cship* owner = world->ships.playerShip(player);
        if (owner && owner->alive) {
            Cvec2 goal = owner->pos2() + rotate(Cvec2(-10, 8), owner->angle);
            vel += ((goal - pos2()) * 4.0f - vel) * clampf(5.0f * dt, 0, 1);
        }
        pos.x += vel.x * dt;
        pos.y += vel.y * dt;
        keepInArena(false);
    }
    if (behaviour == BEHAVE_DECOY) {
        angle = wrapAngle(angle + 3.0f * dt);
        return;
    }
    if (enemy) angle = angleOf(enemy->pos2() - pos2());
    fireTimer -= dt;
    if (enemy && fireTimer <= 0) {
        fireTimer = behaviour == BEHAVE_WINGMAN ? 0.12f : 0.18f;
        world->projectiles.fire(pos2() + heading() * size, heading() * kPlayerShotSpeed, team, player, SHOT_BULLET,
                                kPlayerShotDamage * power, colour, kPlayerShotLife);
    }
}

void Cship::updateBall(float dt) {
    vel *= std::max(0.0f, 1.0f - 0.6f * dt);
    if (vel.length() > 180) vel = vel.normalised() * 180;
    pos.x += vel.x * dt;
    pos.y += vel.y * dt;
    angle = wrapAngle(angle + vel.x * 0.02f * dt);
    keepInArena(true);
}

bool Cship::hit(float damage, const Cvec2& at, int byTeam, int byPlayer) {
    (void)byPlayer;
    if (!alive || marked || display || spawnTimer > 0 || invulnerableTimer > 0) return false;
    if (byTeam >= 0 && team == byTeam) return false;
    hitFlash = 1;
    // Parts with their own hit points take the hit where it lands (the
    // nearest part when they overlap).
    Celement* part = nullptr;
    float partD = 0;
    for (auto& e : elements) {
        if (e.maxHitPoints <= 0 || e.hitPoints <= 0 || !e.def || e.def->radius <= 0) continue;
        float r = e.def->radius * scale + 1.0f;
        float d = (elementPos(e) - at).lengthSq();
        if (d <= r * r && (!part || d < partD)) {
            part = &e;
            partD = d;
        }
    }
    if (part) {
        part->hitPoints = std::max(0.0f, part->hitPoints - damage);
        part->flash = 1;
        return false;
    }
    // A boss's core is shielded while any turret stands.
    if (important && !allTurretsDestroyed()) return false;
    if (kind == SHIPKIND_PLAYER) {
        // Carnage: players' ships lose turret hit points, the strongest turret first.
        Celement* best = nullptr;
        for (auto& e : elements)
            if (e.kind == ELEMENT_TURRET && e.hitPoints > 0 && (!best || e.hitPoints > best->hitPoints)) best = &e;
        if (best) {
            best->hitPoints = std::max(0.0f, best->hitPoints - damage);
            best->flash = 1;
        }
        return allTurretsDestroyed();
    }
    if (kind == SHIPKIND_BALL) {
        return false;
    }
    health -= damage;
    if (health <= 0) {
        health = 0;
        alive = false;
        marked = true;
        return true;
    }
    return false;
}
