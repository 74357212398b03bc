#include "game/enemies/waveMgr.h"

#include <algorithm>
#include <cmath>

#include "engine/engine.h"
#include "game/gameWorld.h"

namespace {
const char* kFormationNames[FORMATION_COUNT] = {"Ring", "Line", "Corners", "Cluster", "Scatter"};
}

void CwaveMgr::start(uint32_t seed) {
    random.seed(seed);
    record_.clear();
    budget_ = 1.0f;
    prevBass_ = prevTreble_ = 0;
    bassAvg_ = 0;
    beatCooldown_ = trebleCooldown_ = 0;
    for (float& a : avgBands_) a = 0;
    loudTime_ = 0;
    bossCooldown_ = 30.0f;
    quietTime_ = 0;
    beats_ = 0;
}

bool CwaveMgr::capReached(int kind) const {
    const CshipMgr& ships = world_.ships;
    int d = world_.session.difficulty == DIFFICULTY_ZEN ? DIFFICULTY_NORMAL : world_.session.difficulty;
    if (kind == SHIPKIND_DASHER) return ships.countKind(SHIPKIND_DASHER) >= 2 * d + 5;
    if (kind == SHIPKIND_MINE) return ships.countKind(SHIPKIND_MINE) >= 2 * d + 4;
    return ships.countEnemies() >= crowdLimit();
}

int CwaveMgr::crowdLimit() const {
    // Past a crowd that grows with the music and the difficulty, waves hold back.
    float crowd = 30.0f + 40.0f * world_.music.intensity * std::max(world_.session.difficultyLevel(), 0.5f);
    return (int)std::min((float)kMaxEnemies, crowd);
}

const char* CwaveMgr::chooseKind() {
    // The band that stands out picks the family; the generator picks within it.
    float bass = avgBands_[0], mid = avgBands_[1], treble = avgBands_[2];
    int roll = random.choice(100);
    if (treble > mid && treble > bass * 0.8f) return roll < 60 ? "Weaver" : "Dasher";
    if (mid > bass) return roll < 45 ? "Gunner" : (roll < 80 ? "Weaver" : "Splitter");
    return roll < 65 ? "Grunt" : (roll < 90 ? "Splitter" : "Gunner");
}

void CwaveMgr::placeFormation(int formation, int index, int count, float& x, float& y) {
    float hw = world_.arenaHalfWidth - 6, hh = world_.arenaHalfHeight - 6;
    Cship* tgt = world_.ships.nearestTarget(Cvec2());
    Cvec2 centre = tgt ? tgt->pos2() : Cvec2();
    float jx = random.range(-4, 4), jy = random.range(-4, 4);
    switch (formation) {
        case FORMATION_RING: {
            float a = 2 * kPi * index / std::max(count, 1);
            x = centre.x + std::sin(a) * 70 + jx;
            y = centre.y - std::cos(a) * 70 + jy;
            break;
        }
        case FORMATION_LINE: {
            float t = count > 1 ? (float)index / (count - 1) : 0.5f;
            x = -hw + 2 * hw * t;
            y = aiEdge_ < 2 ? -hh : hh;
            if (aiEdge_ >= 2) {
                x = aiEdge_ == 2 ? -hw : hw;
                y = -hh + 2 * hh * t;
            }
            break;
        }
        case FORMATION_CORNERS:
            x = (index & 1 ? hw : -hw) + jx;
            y = (index & 2 ? hh : -hh) + jy;
            break;
        case FORMATION_CLUSTER:
            x = clusterX_ + jx * 2;
            y = clusterY_ + jy * 2;
            break;
        default: {
            x = random.range(-hw, hw);
            y = random.range(-hh, hh);
            // Not on top of the player: the mirror point instead.
            if ((Cvec2(x, y) - centre).length() < 45) {
                x = -x;
                y = -y;
            }
            break;
        }
    }
    x = clampf(x, -hw, hw);
    y = clampf(y, -hh, hh);
}

int CwaveMgr::spawnWave(const std::string& defName, int count, int formation) {
    CshipDef* def = world_.ships.findShipDefQuiet(defName);
    CwaveRecord rec;
    rec.time = (float)world_.session.clock;
    rec.defName = defName;
    rec.count = count;
    rec.formation = formation;
    rec.intensity = world_.music.intensity;
    // Draws for the wave as a whole come first, so that each wave takes the
    // same numbers from the generator whatever the caps let through.
    aiEdge_ = random.choice(4);
    float hw = world_.arenaHalfWidth - 10, hh = world_.arenaHalfHeight - 10;
    clusterX_ = random.range(-hw, hw);
    clusterY_ = random.choice(2) ? -hh : hh;
    float level = world_.session.difficultyLevel();
    Cship* tgt = world_.ships.nearestTarget(Cvec2());
    for (int i = 0; i < count; ++i) {
        float x = 0, y = 0;
        placeFormation(formation, i, count, x, y);
        float driftAngle = random.range(0, 2 * kPi);
        bool orbitLeft = random.choice(2) == 0;
        if (!def || capReached(def->kind)) continue;
        Cship* s = world_.ships.addShip(def);
        if (!s) break;
        s->pos = Cvec3(x, y, 0);
        s->spawnTimer = 0.6f;
        s->maxHealth = s->health = def->health * std::max(level, 0.3f);
        s->speed = def->speed * clampf(0.8f + 0.2f * level, 0.6f, 1.6f);
        s->aiDir.x = orbitLeft ? -1.0f : 1.0f;
        if (tgt) {
            Cvec2 to = tgt->pos2() - s->pos2();
            s->angle = std::atan2(to.x, -to.y);
        }
        if (def->behaviour == BEHAVE_DRIFT || def->behaviour == BEHAVE_MINE || def->behaviour == BEHAVE_NONE) {
            s->vel = Cvec2(std::sin(driftAngle), -std::cos(driftAngle)) * s->speed;
            s->spin = (driftAngle - kPi) * 0.5f;
        }
        ++rec.spawned;
    }
    record_.push_back(rec);
    return rec.spawned;
}

void CwaveMgr::update(float dt) {
    if (!enabled) return;
    const CmusicFeed& m = world_.music;
    const CgameSession& s = world_.session;
    float k = clampf(dt * 2.0f, 0, 1);
    for (int b = 0; b < 3; ++b) avgBands_[b] += (m.bands[b] - avgBands_[b]) * k;
    float level = std::min(s.difficultyLevel(), 4.0f);
    budget_ += dt * (0.2f + 1.0f * m.intensity) * rate * std::max(level, 0.3f);
    // A kick is the bass rising well over its own recent level, so quiet
    // passages have beats too.
    bassAvg_ += (m.bands[0] - bassAvg_) * clampf(dt * 1.0f, 0, 1);
    float bassThreshold = std::max(0.12f, bassAvg_ * 1.4f + 0.04f);
    beatCooldown_ -= dt;
    trebleCooldown_ -= dt;
    bossCooldown_ -= dt;

    bool beat = m.bands[0] > bassThreshold && prevBass_ <= bassThreshold && beatCooldown_ <= 0;
    if (beat) {
        ++beats_;
        beatCooldown_ = 0.2f;
        const float cost = 2.5f;
        if (budget_ >= cost) {
            budget_ -= cost;
            const char* kind = chooseKind();
            int count = 2 + (int)(m.intensity * 6.0f * std::min(level, 3.0f)) + random.choice(3);
            count = std::min(count, 20);
            int formation = random.choice(FORMATION_COUNT);
            spawnWave(kind, count, formation);
        }
        if (beats_ % 16 == 0 && m.intensity > 0.3f) spawnWave("Mine", 2, FORMATION_SCATTER);
    }
    if (m.bands[2] > kTrebleThreshold && prevTreble_ <= kTrebleThreshold && trebleCooldown_ <= 0 &&
        m.intensity > 0.5f) {
        trebleCooldown_ = 3.0f;
        spawnWave("Dasher", 1 + random.choice(2), FORMATION_CLUSTER);
    }
    if (m.intensity < 0.2f) {
        quietTime_ += dt;
        if (quietTime_ > 6.0f) {
            quietTime_ = 0;
            spawnWave("Asteroid", 1 + random.choice(2), FORMATION_SCATTER);
        }
    } else {
        quietTime_ = 0;
    }
    if (bossesEnabled && s.gameType == GAMETYPE_STANDARD) {
        if (m.intensity > 0.7f) loudTime_ += dt;
        else loudTime_ = std::max(0.0f, loudTime_ - dt);
        if (loudTime_ > 4.0f && bossCooldown_ <= 0 && !world_.bosses.bossAlive()) {
            bossCooldown_ = 60.0f;
            loudTime_ = 0;
            uint32_t bossSeed = s.seed ^ (0x9E3779B9u * (uint32_t)(world_.bosses.spawned + 1));
            if (world_.bosses.spawnBoss(bossSeed, m.intensity, level)) {
                CwaveRecord rec;
                rec.time = (float)s.clock;
                rec.defName = "Boss";
                rec.count = rec.spawned = 1;
                rec.formation = -1;
                rec.intensity = m.intensity;
                record_.push_back(rec);
            }
        }
    }
    prevBass_ = m.bands[0];
    prevTreble_ = m.bands[2];
}

void CwaveMgr::logWaveRecord() const {
    gEngine->log.print(LOG_V, "Wave record: %d waves, %d beats", (int)record_.size(), beats_);
    for (size_t i = 0; i < record_.size(); ++i) {
        const CwaveRecord& r = record_[i];
        gEngine->log.print(LOG_V, "Wave %d at %.1fs: %s x%d (%d made) %s intensity %.2f", (int)i + 1, r.time,
                           r.defName.c_str(), r.count, r.spawned,
                           r.formation >= 0 && r.formation < FORMATION_COUNT ? kFormationNames[r.formation] : "-",
                           r.intensity);
    }
}
