#include "game/enemies/shipMgr.h"

#include <algorithm>
#include <cmath>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/resourceFile.h"
#include "game/enemies/playerShipDefs.h"
#include "game/gameWorld.h"
#include "game/progress/playerShipDef.h"

void CshipGrid::build(const std::vector<Cship*>& ships, float halfWidth, float halfHeight) {
    float margin = kCellSize * 2;
    left_ = -halfWidth - margin;
    top_ = -halfHeight - margin;
    int cols = (int)std::ceil((halfWidth + margin) * 2 / kCellSize);
    int rows = (int)std::ceil((halfHeight + margin) * 2 / kCellSize);
    if (cols != cols_ || rows != rows_ || cells_.empty()) {
        cols_ = std::max(cols, 1);
        rows_ = std::max(rows, 1);
        cells_.assign((size_t)cols_ * rows_, {});
    } else {
        for (auto& c : cells_) c.clear();
    }
    for (Cship* s : ships) {
        if (!s->collides() || s->kind == SHIPKIND_PLAYER || s->kind == SHIPKIND_HELPER) continue;
        int x0 = cellX(s->pos.x - s->reach), x1 = cellX(s->pos.x + s->reach);
        int y0 = cellY(s->pos.y - s->reach), y1 = cellY(s->pos.y + s->reach);
        for (int cy = y0; cy <= y1; ++cy)
            for (int cx = x0; cx <= x1; ++cx) cells_[cy * cols_ + cx].push_back(s);
    }
}

int CshipGrid::cellX(float x) const {
    int c = (int)std::floor((x - left_) / kCellSize);
    return std::clamp(c, 0, cols_ - 1);
}

int CshipGrid::cellY(float y) const {
    int c = (int)std::floor((y - top_) / kCellSize);
    return std::clamp(c, 0, rows_ - 1);
}

CshipMgr::CshipMgr(CgameWorld& world) : world_(world) {
    pool_.resize(kMaxShips);
    free_.reserve(kMaxShips);
    for (int i = kMaxShips - 1; i >= 0; --i) free_.push_back(i);
    list_.reserve(kMaxShips);
}

bool CshipMgr::loadShipDefs(const std::string& fileName) {
    CresourceFile f;
    if (!f.open("textFiles/" + fileName)) {
        gEngine->log.print(LOG_E, "Can't load ship defs: %s", fileName.c_str());
        return false;
    }
    defs_.clear();
    int n = parseShipDefs(f.text(), defs_, fileName);
    gEngine->log.print(LOG_V, "Ship defs loaded: %d", n);
    return true;
}

int CshipMgr::loadShipDefsFromText(const char* text) {
    defs_.clear();
    return parseShipDefs(text, defs_, "text");
}

CshipDef* CshipMgr::findShipDefQuiet(const std::string& name) {
    for (auto& d : defs_)
        if (equalsIgnoreCase(d.name, name)) return &d;
    for (auto& d : playerDefs_)
        if (!d.name.empty() && equalsIgnoreCase(d.name, name)) return &d;
    for (auto& d : madeDefs_)
        if (equalsIgnoreCase(d.name, name)) return &d;
    return nullptr;
}

CshipDef* CshipMgr::findShipDef(const std::string& name) {
    CshipDef* d = findShipDefQuiet(name);
    if (!d) gEngine->logFatal("Can't find ship def: %s", name.c_str());
    return d;
}

CshipDef* CshipMgr::addDef(const CshipDef& def) {
    madeDefs_.push_back(def);
    return &madeDefs_.back();
}

void CshipMgr::forgetMadeDefs() {
    // Only while no live ship uses one.
    for (Cship* s : list_)
        for (const auto& d : madeDefs_)
            if (s->def == &d) return;
    madeDefs_.clear();
}

CshipDef* CshipMgr::syncPlayerShip(const CplayerShipDef& ship) {
    CshipDef made = shipDefFromPlayerShip(ship);
    if (made.name.empty()) return nullptr;
    // A hull of the player's own image is a sprite made from the ship's PNG:
    // made here, for whichever screen or game asks first after a start or an import.
    if (!ship.hullImage.empty() && gEngine && !gEngine->sprites.findSprite(made.sprite, false)) {
        const bool fromImage = gEngine->sprites.createSpriteFromMemory(made.sprite, ship.hullImage.data(), ship.hullImage.size());
        gEngine->log.print(LOG_L, fromImage ? "Hull sprite made from its image: %s" : "Hull image unreadable: %s",
                           made.sprite.c_str());
    }
    CshipDef* held = nullptr;
    for (auto& d : playerDefs_)
        if (equalsIgnoreCase(d.name, made.name)) held = &d;
    if (held) {
        // Live ships keep pointing at the same record (and into its
        // elements): a record whose elements change is replaced instead.
        bool inUse = false;
        for (Cship* s : list_) inUse = inUse || s->def == held;
        if (!inUse) {
            *held = std::move(made);
            return held;
        }
        if (held->elements.size() == made.elements.size()) {
            // The element records stay where they are; only their values change.
            std::vector<CelementDef> storage;
            storage.swap(held->elements);
            for (size_t i = 0; i < storage.size(); ++i) storage[i] = made.elements[i];
            made.elements.clear();
            *held = std::move(made);
            held->elements.swap(storage);
            return held;
        }
        held->name.clear();
    }
    playerDefs_.push_back(std::move(made));
    return &playerDefs_.back();
}

CshipDef* CshipMgr::replaceLoadedDef(CshipDef def) {
    for (auto& d : defs_) {
        if (!equalsIgnoreCase(d.name, def.name)) continue;
        for (Cship* s : list_)
            if (s->def == &d) {
                gEngine->log.print(LOG_L, "Ship def %s is in use: not replaced", d.name.c_str());
                return nullptr;
            }
        d = std::move(def);
        return &d;
    }
    return nullptr;
}

void CshipMgr::removePlayerShipDef(const std::string& name) {
    for (auto& d : playerDefs_)
        if (!d.name.empty() && equalsIgnoreCase(d.name, name)) d.name.clear();
}

Cship* CshipMgr::addShip(const CshipDef* def, bool playerShip) {
    if (!def) return nullptr;
    if (free_.empty()) {
        gEngine->log.print(LOG_L, "Too many ships (%d), can't add %s", kMaxShips, def->name.c_str());
        return nullptr;
    }
    int idx = free_.back();
    free_.pop_back();
    Cship* s = &pool_[idx];
    s->init(&world_, def, nextSerial_++);
    if (nextSerial_ == 0) nextSerial_ = 1;
    if (playerShip) {
        auto it = std::find_if(list_.begin(), list_.end(), [](Cship* o) { return o->kind != SHIPKIND_PLAYER; });
        list_.insert(it, s);
    } else {
        list_.push_back(s);
    }
    return s;
}

void CshipMgr::removeShip(Cship* ship) {
    auto it = std::find(list_.begin(), list_.end(), ship);
    if (it == list_.end()) return;
    list_.erase(it);
    ship->alive = false;
    ship->marked = true;
    ship->serial = 0;
    free_.push_back((int)(ship - pool_.data()));
}

void CshipMgr::clear() {
    for (Cship* s : list_) {
        s->alive = false;
        s->serial = 0;
        free_.push_back((int)(s - pool_.data()));
    }
    list_.clear();
    extraShips.clear();
    targets_.clear();
    grid_.build(list_, world_.arenaHalfWidth, world_.arenaHalfHeight);
}

void CshipMgr::clearEnemies() {
    std::vector<Cship*> keep;
    for (Cship* s : list_) {
        if (s->kind == SHIPKIND_PLAYER || s->display) {
            keep.push_back(s);
        } else {
            s->alive = false;
            s->serial = 0;
            free_.push_back((int)(s - pool_.data()));
        }
    }
    list_.swap(keep);
    extraShips.clear();
    grid_.build(list_, world_.arenaHalfWidth, world_.arenaHalfHeight);
}

Cship* CshipMgr::playerShip(int player) const {
    for (Cship* s : list_) {
        if (s->kind != SHIPKIND_PLAYER) break;
        if (s->player == player && !s->display) return s;
    }
    return nullptr;
}

int CshipMgr::countImportant() const {
    int n = 0;
    for (Cship* s : list_) n += (s->important && s->alive && !s->marked) ? 1 : 0;
    return n + (int)extraShips.size();
}

int CshipMgr::countEnemies() const {
    int n = 0;
    for (Cship* s : list_)
        if (s->team < 0 && s->kind != SHIPKIND_ASTEROID && s->kind != SHIPKIND_BALL && s->kind != SHIPKIND_PLAYER &&
            s->alive && !s->marked && !s->display)
            ++n;
    return n + (int)extraShips.size();
}

int CshipMgr::countKind(int kind) const {
    int n = 0;
    for (Cship* s : list_) n += (s->kind == kind && s->alive && !s->marked) ? 1 : 0;
    return n;
}

Cship* CshipMgr::nearestTarget(const Cvec2& from) const {
    Cship* best = nullptr;
    float bestD = 0;
    for (Cship* t : targets_) {
        // A decoy draws every enemy while it stands.
        if (t->behaviour == BEHAVE_DECOY) return t;
        float d = (t->pos2() - from).lengthSq();
        if (!best || d < bestD) {
            best = t;
            bestD = d;
        }
    }
    return best;
}

Cship* CshipMgr::nearestEnemy(const Cvec2& from, float range) const {
    Cship* best = nullptr;
    float bestD = range * range;
    for (Cship* s : list_) {
        if (!s->isEnemy() || !s->collides()) continue;
        float d = (s->pos2() - from).lengthSq();
        if (d < bestD) {
            best = s;
            bestD = d;
        }
    }
    return best;
}

void CshipMgr::rebuildGrid() { grid_.build(list_, world_.arenaHalfWidth, world_.arenaHalfHeight); }

void CshipMgr::update(float dt) {
    targets_.clear();
    bool decoy = false;
    for (Cship* s : list_) {
        if (s->display || !s->alive || s->marked) continue;
        if (s->kind == SHIPKIND_PLAYER && s->active && s->spawnTimer <= 0) {
            if (world_.session.partyMode && world_.session.party.tagRules && s->player >= 0 &&
                world_.session.tagOut[s->player])
                continue;
            targets_.push_back(s);
        } else if (s->behaviour == BEHAVE_DECOY) {
            decoy = true;
        }
    }
    if (decoy) {
        // Decoys go first so that enemies see them before the players.
        std::vector<Cship*> withDecoys;
        for (Cship* s : list_)
            if (s->behaviour == BEHAVE_DECOY && s->alive && !s->marked) withDecoys.push_back(s);
        withDecoys.insert(withDecoys.end(), targets_.begin(), targets_.end());
        targets_.swap(withDecoys);
    }

    // Players first (their ships lead the list), then everything else.
    for (size_t i = 0; i < list_.size(); ++i) {
        Cship* s = list_[i];
        if (s->kind == SHIPKIND_PLAYER) {
            if (s->alive && s->active && !s->display) {
                s->updatePlayerControl(true);
                if (s->invulnerableTimer > 0) s->invulnerableTimer = std::max(0.0f, s->invulnerableTimer - dt);
            }
            continue;
        }
        s->update(dt);
    }
    rebuildGrid();

    // Enemies that touch a player.
    for (size_t p = 0; p < list_.size() && list_[p]->kind == SHIPKIND_PLAYER; ++p) {
        Cship* pl = list_[p];
        if (!pl->alive || !pl->active || pl->display || pl->spawnTimer > 0) continue;
        if (world_.session.partyMode && world_.session.party.tagRules && world_.session.tagOut[pl->player]) continue;
        grid_.query(pl->pos.x, pl->pos.y, pl->size, [&](Cship* e) {
            if (!pl->alive || !e->alive || e->marked || !e->collides() || e->team >= 0) return;
            if (e->kind == SHIPKIND_BALL) {
                Cvec2 d = e->pos2() - pl->pos2();
                float r = e->size + pl->size;
                if (d.lengthSq() < r * r) {
                    Cvec2 n = d.normalised();
                    e->vel = n * std::max(60.0f, pl->vel.length() * 1.4f) + pl->vel * 0.3f;
                    e->pos.x = pl->pos.x + n.x * r;
                    e->pos.y = pl->pos.y + n.y * r;
                }
                return;
            }
            if (!e->touches(pl->pos2(), pl->size * 0.7f)) return;
            if (pl->invulnerableTimer > 0 || pl->shieldTimer > 0) {
                // A shielded or freshly spawned ship rams through.
                if (!e->important && e->hit(e->health + 1, e->pos2(), pl->team, pl->player))
                    world_.session.onShipDestroyed(*e, pl->player);
                return;
            }
            world_.session.killPlayer(pl->player);
        });
    }

    // Out with the destroyed.
    size_t w = 0;
    for (size_t i = 0; i < list_.size(); ++i) {
        Cship* s = list_[i];
        if (s->marked && s->kind != SHIPKIND_PLAYER) {
            s->serial = 0;
            free_.push_back((int)(s - pool_.data()));
            continue;
        }
        list_[w++] = s;
    }
    list_.resize(w);
}
