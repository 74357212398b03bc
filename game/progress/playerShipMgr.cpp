#include "game/progress/playerShipMgr.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/md5.h"
#include "engine/random.h"
#include "engine/resourceFile.h"
#include "game/progress/playerProgress.h"
#include "game/progress/recordIO.h"

namespace {

const char* const kMissionTypeNames[kNumMissionTypes] = {"None", "CompleteTrack", "ObtainShipRank", "PlayBossRush",
                                                         "PlaySurvival"};
const char* const kConditionNames[kNumTrackConditions] = {"None", "SpecificTrack", "AlbumTitle", "Artist",
                                                          "TitleContains"};

// A name from a list, or a number.
int readNamed(const char*& c, const char* const* names, int count) {
    std::string tok;
    Cengine::readToken(tok, c);
    for (int i = 0; i < count; ++i)
        if (equalsIgnoreCase(tok, names[i])) return i;
    char* end = nullptr;
    long v = strtol(tok.c_str(), &end, 10);
    if (!tok.empty() && end && *end == 0 && v >= 0 && v < count) return (int)v;
    return -1;
}

constexpr float kDegToRad = 3.14159265f / 180.0f;

}  // namespace

// --- the data file ----------------------------------------------------------

bool CplayerShipMgr::loadBuiltIn(const std::string& fileName) {
    CresourceFile file;
    if (!file.open("textFiles/" + fileName, RF_DATA)) {
        gEngine->log.print(LOG_E, "Can't find player ships file %s", fileName.c_str());
        return false;
    }
    return loadBuiltInFromText(file.text());
}

bool CplayerShipMgr::loadBuiltInFromText(const char* text) {
    std::vector<CshipPtr> loaded;
    const char* c = text;
    std::string tok;
    CplayerShipDef* s = nullptr;
    CshipMission* m = nullptr;
    auto fail = [&](const char* why) {
        gEngine->log.print(LOG_L, "playerShips: %s '%s'", why, tok.c_str());
        return false;
    };
    while (Cengine::readToken(tok, c)) {
        if (tok == "EndFile") {
            if (s) return fail("unclosed ship before");
            if (loaded.empty()) return fail("no ships before");
            for (auto& old : ships)
                notifyRemoved(old->name());
            builtIn_.clear();
            for (auto& l : loaded) builtIn_.push_back(std::make_unique<CplayerShipDef>(*l));
            ships = std::move(loaded);
            for (auto& sh : ships)
                notifyAdded(sh->name());
            currentIdx = 0;
            return true;
        }
        if (!s) {
            if (tok != "PlayerShip") return fail("unexpected token");
            loaded.push_back(std::make_unique<CplayerShipDef>());
            s = loaded.back().get();
            Cengine::readToken(s->data.identifier, c);
            if (s->data.identifier.empty() || s->data.identifier.size() >= CplayerShipData::kIdentifierBytes)
                return fail("bad ship identifier");
            s->data.builtIn = 1;
            s->source = SHIP_BUILTIN;
            s->finished = true;
            continue;
        }
        if (m) {
            if (tok == "EndMission") m = nullptr;
            else if (tok == "Type") {
                int t = readNamed(c, kMissionTypeNames, kNumMissionTypes);
                if (t < 0) return fail("bad mission type in");
                m->type = (uint32_t)t;
            } else if (tok == "Name") {
                Cengine::readToken(m->name, c);
                m->name.resize(utf8CutPoint(m->name, CshipMission::kNameBytes - 1));
            } else if (tok == "Condition") {
                int t = readNamed(c, kConditionNames, kNumTrackConditions);
                if (t < 0) return fail("bad track condition in");
                m->condition = (uint32_t)t;
            } else if (tok == "ConditionText") {
                Cengine::readToken(m->conditionText, c);
                m->conditionText.resize(utf8CutPoint(m->conditionText, CshipMission::kConditionBytes - 1));
            } else if (tok == "BossRushWave") m->bossRushWave = (uint16_t)std::clamp(Cengine::readInt(c), 0, 65535);
            else if (tok == "SurvivalTime") m->survivalTime = Cengine::readFloat(c);
            else if (tok == "Rank") m->rank = (uint16_t)std::clamp(Cengine::readInt(c), 0, 65535);
            else if (tok == "Difficulty") m->difficulty = (uint32_t)std::clamp(Cengine::readInt(c), 0, 6);
            else if (tok == "Score") m->score = (uint32_t)std::max(0, Cengine::readInt(c));
            else if (tok == "MinTrackLength") m->minTrackLength = Cengine::readFloat(c);
            else if (tok == "NoExtraLives") m->noExtraLives = Cengine::readBool(c);
            else if (tok == "WeaponRestriction") {
                for (auto& w : m->weaponRestriction) {
                    int v = Cengine::readInt(c);
                    if (v < 0 || v >= (int)kNumWeaponRestrictions) return fail("bad weapon restriction in");
                    w = (uint32_t)v;
                }
            } else return fail("unexpected mission token");
            continue;
        }
        CplayerShipData& d = s->data;
        if (tok == "EndPlayerShip") {
            if (d.displayName.empty()) d.displayName = d.identifier;
            s = nullptr;
        } else if (tok == "Name") {
            Cengine::readToken(d.displayName, c);
            d.displayName.resize(utf8CutPoint(d.displayName, CplayerShipData::kDisplayNameBytes - 1));
        } else if (tok == "Manufacturer") {
            int v = Cengine::readInt(c);
            if (v < 0 || v > kNoManufacturer) return fail("bad manufacturer in");
            d.manufacturer = (uint8_t)v;
        } else if (tok == "HullSprite") {
            Cengine::readToken(s->hullSprite, c);
        } else if (tok == "Description") {
            Cengine::readToken(d.description, c);
            d.description.resize(utf8CutPoint(d.description, CplayerShipData::kDescriptionBytes - 1));
        } else if (tok == "Scale") d.scale = Cengine::readFloat(c);
        else if (tok == "Acceleration") d.acceleration = Cengine::readFloat(c);
        else if (tok == "Deceleration") d.deceleration = Cengine::readFloat(c);
        else if (tok == "TopSpeed") d.topSpeed = Cengine::readFloat(c);
        else if (tok == "BulletSpeed") d.bulletSpeed = Cengine::readFloat(c);
        else if (tok == "BulletDamage") d.bulletDamage = Cengine::readFloat(c);
        else if (tok == "PickupForce") d.pickupForce = Cengine::readFloat(c);
        else if (tok == "SweepSize") d.sweepSize = Cengine::readFloat(c);
        else if (tok == "SweepRate") d.sweepRate = Cengine::readFloat(c);
        else if (tok == "EngineThrusts") d.engineThrusts = std::clamp(Cengine::readInt(c), 0, kNumShipEngines);
        else if (tok == "Turret") {
            int i = Cengine::readInt(c);
            if (i < 0 || i >= kNumTurretSlots) return fail("bad turret slot in");
            d.turrets[i].leading = Cengine::readBool(c) ? 1 : 0;
            d.turrets[i].angle = Cengine::readFloat(c);
            d.turrets[i].enabled = Cengine::readBool(c) ? 1 : 0;
        } else if (tok == "GunMount") {
            int i = Cengine::readInt(c);
            if (i < 0 || i >= kNumGunMounts) return fail("bad gun mount in");
            d.mounts[i].x = Cengine::readFloat(c);
            d.mounts[i].y = Cengine::readFloat(c);
        } else if (tok == "Flares") {
            int i = Cengine::readInt(c);
            if (i < 0 || i >= kNumFlareSets) return fail("bad flare set in");
            d.flares[i].count = (int8_t)std::clamp(Cengine::readInt(c), 0, 8);
            d.flares[i].size = Cengine::readFloat(c);
            d.flares[i].hue = Cengine::readFloat(c);
        } else if (tok == "Engine") {
            int i = Cengine::readInt(c);
            if (i < 0 || i >= kNumShipEngines) return fail("bad engine in");
            auto& e = d.engines[i];
            e.x = Cengine::readFloat(c);
            e.y = Cengine::readFloat(c);
            e.hue = Cengine::readFloat(c);
            e.rotation = Cengine::readFloat(c) * kDegToRad;
            e.scale = Cengine::readFloat(c);
        } else if (tok == "Mission") {
            if (d.missions.size() >= (size_t)kMaxShipMissions) return fail("more than four missions in");
            d.missions.emplace_back();
            m = &d.missions.back();
        } else {
            return fail("unexpected ship token");
        }
    }
    gEngine->log.print(LOG_L, "playerShips: no EndFile");
    return false;
}

// --- finding and choosing ---------------------------------------------------

CplayerShipDef* CplayerShipMgr::findShip(const std::string& name) {
    int i = findShipIdx(name);
    return i < 0 ? nullptr : ships[(size_t)i].get();
}

int CplayerShipMgr::findShipIdx(const std::string& name) const {
    for (size_t i = 0; i < ships.size(); ++i)
        if (equalsIgnoreCase(ships[i]->name(), name)) return (int)i;
    return -1;
}

CplayerShipDef* CplayerShipMgr::findPublished(uint64_t publishedId) {
    if (publishedId == 0) return nullptr;
    for (auto& s : ships)
        if (s->publishedId == publishedId) return s.get();
    return nullptr;
}

CplayerShipDef* CplayerShipMgr::getShip(int idx) {
    if (idx < 0 || (size_t)idx >= ships.size()) return nullptr;
    return ships[(size_t)idx].get();
}

bool CplayerShipMgr::setCurrentShipIdx(int idx) {
    CplayerShipDef* s = getShip(idx);
    if (!s) {
        gEngine->log.print(LOG_L, "Can't find player ship %d", idx);
        return false;
    }
    currentIdx = idx;
    if (progress_) {
        progress_->currentShip = s->name();
        progress_->currentShipFlag = s->procFlag;
        progress_->saveDirty = true;
    }
    return true;
}

bool CplayerShipMgr::setCurrentShip(const std::string& name) {
    int i = findShipIdx(name);
    if (i < 0) {
        gEngine->log.print(LOG_L, "Can't find player ship: %s", name.c_str());
        return false;
    }
    return setCurrentShipIdx(i);
}

void CplayerShipMgr::selectFromProgress() {
    int i = progress_ ? findShipIdx(progress_->currentShip) : -1;
    currentIdx = i < 0 ? 0 : i;
}

std::string CplayerShipMgr::uniqueName(const std::string& base) const {
    if (findShipIdx(base) < 0) return base;
    std::string stem = base.substr(0, utf8CutPoint(base, CplayerShipData::kIdentifierBytes - 1 - 6));
    for (int n = 2;; ++n) {
        std::string name = stem + "_" + std::to_string(n);
        if (findShipIdx(name) < 0) return name;
    }
}

// --- making and removing ships ----------------------------------------------

CplayerShipDef* CplayerShipMgr::createCustomShip() {
    auto s = std::make_unique<CplayerShipDef>();
    if (!builtIn_.empty()) {
        s->data = builtIn_.front()->data;
        s->hullSprite = builtIn_.front()->hullSprite;
    }
    uint64_t owner = gEngine->steamId;
    char base[40];
    snprintf(base, sizeof base, "Ship_%llx", (unsigned long long)(owner & 0xFFFFFFFFFFull));
    s->data.identifier = uniqueName(base);
    int n = 0;
    for (const auto& sh : ships) n += sh->source == SHIP_CUSTOM && sh->ownerId == owner ? 1 : 0;
    s->data.displayName = std::string(gEngine->text("NewShipName")) + " " + std::to_string(n + 1);
    s->data.displayName.resize(utf8CutPoint(s->data.displayName, CplayerShipData::kDisplayNameBytes - 1));
    s->data.customFlag = 1;
    s->data.builtIn = 0;
    s->data.publishedFinal = 0;
    s->data.missions.clear();
    s->data.description.clear();
    s->source = SHIP_CUSTOM;
    s->ownerId = owner;
    s->finished = false;
    ships.push_back(std::move(s));
    CplayerShipDef* made = ships.back().get();
    notifyAdded(made->name());
    setCurrentShipIdx((int)ships.size() - 1);
    return made;
}

CplayerShipDef* CplayerShipMgr::createProcShip(const std::string& name, const CtrackInfoView& seed, uint8_t flag) {
    if (name.empty() || name.size() >= CplayerShipData::kIdentifierBytes) {
        gEngine->log.print(LOG_L, "Bad generated ship name: '%s'", name.c_str());
        return nullptr;
    }
    if (CplayerShipDef* held = findShip(name)) return held;
    auto s = std::make_unique<CplayerShipDef>();
    s->data.identifier = name;
    s->source = SHIP_PROCEDURAL;
    s->procFlag = flag;
    s->finished = true;
    s->firstFlight = true;
    s->statsPending = true;
    s->discoveryPending = true;
    if (!buildProcShip || !buildProcShip(*s, seed)) growProcShip(*s, seed);
    s->data.identifier = name;
    s->data.builtIn = 0;
    s->data.customFlag = 0;
    s->data.clampToRanges();
    ships.push_back(std::move(s));
    CplayerShipDef* made = ships.back().get();
    notifyAdded(made->name());
    if (progress_) progress_->saveDirty = true;
    return made;
}

void CplayerShipMgr::growProcShip(CplayerShipDef& s, const CtrackInfoView& seed) const {
    uint8_t d[16];
    Cmd5 md5;
    md5.update(s.data.identifier.data(), s.data.identifier.size());
    md5.finish(d);
    Crandom r(getU32(d));
    CplayerShipData& x = s.data;
    x.manufacturer = (uint8_t)r.choice(9);
    x.scale = 0.3f + 0.05f * (float)r.choice(11);
    x.acceleration = 0.5f + 0.5f * (float)r.choice(10);
    x.deceleration = 0.8f + 0.02f * (float)r.choice(11);
    x.topSpeed = 12.0f + 0.5f * (float)r.choice(27);
    x.bulletSpeed = 0.5f + 0.1f * (float)r.choice(21);
    x.bulletDamage = 0.5f + 0.1f * (float)r.choice(21);
    x.pickupForce = 0.1f * (float)r.choice(6);
    for (int i = 0; i < kNumTurretSlots; i += 2) {
        bool on = i < 2 || (i < 16 && r.choice(3) == 0);
        float angle = 0.02f * (float)r.choice(40);
        for (int k = 0; k < 2; ++k) x.turrets[i + k] = {(uint8_t)on, angle, (uint8_t)on};
    }
    x.sweepSize = 0.05f * (float)r.choice(6);
    x.sweepRate = 0.05f * (float)r.choice(6);
    for (int i = 0; i < kNumGunMounts; i += 2) {
        float mx = 20.0f + 5.0f * (float)r.choice(12), my = 5.0f * (float)r.choice(13) - 30.0f;
        x.mounts[i] = {-mx, my};
        x.mounts[i + 1] = {mx, my};
    }
    for (auto& f : x.flares) f = {(int8_t)r.choice(5), 0.1f * (float)r.choice(6), r.fraction()};
    x.engineThrusts = 1 + r.choice(kNumShipEngines);
    for (int i = 0; i < kNumShipEngines; i += 2) {
        float ex = 10.0f + 5.0f * (float)r.choice(8), ey = -40.0f - 5.0f * (float)r.choice(8);
        float hue = r.fraction(), scale = 0.8f + 0.1f * (float)r.choice(8);
        x.engines[i] = {-ex, ey, hue, 0, scale};
        x.engines[i + 1] = {ex, ey, hue, 0, scale};
    }
    x.missions.clear();
    int count = 2 + r.choice(3);
    // Mission titles are kept as their tags: each screen shows them in the language of the day.
    for (int i = 0; i < count; ++i) {
        CshipMission m;
        switch (i) {
            case 0:
                m.type = MissionType_CompleteTrack;
                m.name = "ProcMission_Track";
                if (!seed.artist.empty()) {
                    m.condition = TrackCondition_Artist;
                    m.conditionText = std::string(seed.artist.substr(0, utf8CutPoint(seed.artist, 99)));
                }
                m.minTrackLength = 120.0f;
                break;
            case 1:
                m.type = MissionType_ObtainShipRank;
                m.name = "ProcMission_Rank";
                m.rank = (uint16_t)(2 + r.choice(5));
                break;
            case 2:
                m.type = MissionType_PlayBossRush;
                m.name = "ProcMission_BossRush";
                m.bossRushWave = (uint16_t)(5 * (1 + r.choice(4)));
                break;
            default:
                m.type = MissionType_PlaySurvival;
                m.name = "ProcMission_Survival";
                m.survivalTime = 60.0f * (float)(2 + r.choice(5));
                break;
        }
        m.name.resize(utf8CutPoint(m.name, CshipMission::kNameBytes - 1));
        x.missions.push_back(std::move(m));
    }
    std::string title(seed.title.empty() ? std::string_view(s.data.identifier) : seed.title);
    x.displayName = title.substr(0, utf8CutPoint(title, CplayerShipData::kDisplayNameBytes - 1));
    std::string desc = std::string(seed.artist) + (seed.artist.empty() ? "" : " - ") + std::string(seed.title);
    x.description = desc.substr(0, utf8CutPoint(desc, CplayerShipData::kDescriptionBytes - 1));
}

bool CplayerShipMgr::deleteShip(const std::string& name) {
    int i = findShipIdx(name);
    if (i < 0) {
        gEngine->log.print(LOG_L, "Can't find player ship to delete: %s", name.c_str());
        return false;
    }
    CplayerShipDef& s = *ships[(size_t)i];
    if (s.source == SHIP_BUILTIN) {
        gEngine->log.print(LOG_L, "Built-in ship %s is not deleted", name.c_str());
        return false;
    }
    if (progress_)
        for (auto& m : progress_->modules.modules)
            if (equalsIgnoreCase(m.fittedShip, s.name())) {
                m.fittedShip.clear();
                m.fittedSlot = kModuleNotFitted;
            }
    notifyRemoved(s.name());
    ships.erase(ships.begin() + i);
    if (i < currentIdx) --currentIdx;
    else if (i == currentIdx) setCurrentShipIdx(0);
    if (progress_) progress_->saveDirty = true;
    return true;
}

CplayerShipDef* CplayerShipMgr::addImportedShip(CshipPtr ship) {
    if (!ship || ship->data.identifier.empty()) return nullptr;
    ship->data.customFlag = 1;
    ship->source = SHIP_CUSTOM;
    ship->finishDef();
    CplayerShipDef* held = findPublished(ship->publishedId);
    if (!held) {
        CplayerShipDef* same = findShip(ship->name());
        if (same && same->source == SHIP_CUSTOM && same->ownerId == ship->ownerId) held = same;
    }
    if (held) {
        // The local player's own design stays as edited here.
        bool own = held->ownerId != 0 && held->ownerId == gEngine->steamId;
        if (!own) {
            std::string keepName = held->name();
            held->data = ship->data;
            held->data.identifier = keepName;
            held->hullImage = std::move(ship->hullImage);
            held->finished = ship->finished;
        }
        held->published = true;
        held->publishedId = ship->publishedId ? ship->publishedId : held->publishedId;
        held->ownerId = ship->ownerId;
        return held;
    }
    if (findShipIdx(ship->name()) >= 0) ship->data.identifier = uniqueName(ship->name());
    ships.push_back(std::move(ship));
    CplayerShipDef* added = ships.back().get();
    notifyAdded(added->name());
    if (progress_) progress_->saveDirty = true;
    return added;
}

// --- modules ------------------------------------------------------------------

bool CplayerShipMgr::fitModule(CplayerShipDef& ship, CshipModule& module) {
    if (ship.hasModule(module.key)) return false;
    if (module.isFitted() && !equalsIgnoreCase(module.fittedShip, ship.name())) {
        if (CplayerShipDef* other = findShip(module.fittedShip)) other->removeModule(module);
        module.fittedShip.clear();
        module.fittedSlot = kModuleNotFitted;
    }
    if (!ship.fitModule(module)) return false;
    if (progress_) progress_->saveDirty = true;
    return true;
}

bool CplayerShipMgr::deleteModule(CshipModuleMgr& modules, const std::string& key) {
    if (modules.findModuleIdx(key) < 0) return false;
    for (auto& s : ships) s->removeModule(key);
    modules.removeModule(key);
    if (progress_) progress_->saveDirty = true;
    return true;
}

void CplayerShipMgr::attachModules(CshipModuleMgr& modules) {
    for (auto& s : ships) s->clearModuleSlots();
    for (auto& m : modules.modules) {
        if (!m.isFitted()) continue;
        CplayerShipDef* s = findShip(m.fittedShip);
        int slot = -1;
        if (s) {
            if (m.fittedSlot < kNumModuleSlots && !s->slots[m.fittedSlot] && !s->hasModule(m.key)) slot = m.fittedSlot;
            for (int k = 0; slot < 0 && k < kNumModuleSlots && !s->hasModule(m.key); ++k)
                if (!s->slots[k]) slot = k;
        }
        if (slot < 0) {
            gEngine->log.print(LOG_L, "Module %s left unfitted (ship %s)", m.key.c_str(), m.fittedShip.c_str());
            m.fittedShip.clear();
            m.fittedSlot = kModuleNotFitted;
            continue;
        }
        m.fittedShip = s->name();
        m.fittedSlot = (uint8_t)slot;
        s->slots[slot] = m;
    }
    for (auto& s : ships) s->recomputeBonuses();
}

int CplayerShipMgr::applyPendingModuleGrants(CshipModuleMgr& modules) {
    int added = 0;
    for (auto& s : ships) {
        if (s->numMissionsComplete() < 2 || modules.findModuleIdx(s->name()) >= 0) continue;
        if (modules.addModule(s->name())) ++added;
    }
    return added;
}

// --- telling the ship manager ---------------------------------------------------

void CplayerShipMgr::notifyAdded(const std::string& name) {
    if (gEngine->isMainThread()) {
        if (CplayerShipDef* s = findShip(name); s && onShipAdded) onShipAdded(*s);
        return;
    }
    std::lock_guard<std::mutex> lock(pendingMutex_);
    pending_.push_back({true, name});
}

void CplayerShipMgr::notifyRemoved(const std::string& name) {
    if (gEngine->isMainThread()) {
        if (onShipRemoved) onShipRemoved(name);
        return;
    }
    std::lock_guard<std::mutex> lock(pendingMutex_);
    pending_.push_back({false, name});
}

void CplayerShipMgr::update() {
    std::vector<Cpending> pending;
    {
        std::lock_guard<std::mutex> lock(pendingMutex_);
        pending.swap(pending_);
    }
    for (const auto& p : pending) {
        if (!p.added) {
            if (onShipRemoved) onShipRemoved(p.name);
        } else if (CplayerShipDef* s = findShip(p.name); s && onShipAdded) {
            onShipAdded(*s);
        }
    }
}

// --- the saved part -----------------------------------------------------------

void CplayerShipMgr::write(std::vector<uint8_t>& out) const {
    CrecordWriter w(out);
    w.u32(kLayoutVersion);
    uint32_t kept = 0;
    for (const auto& s : ships) kept += s->preview ? 0 : 1;
    w.u32(kept);
    for (const auto& s : ships) {
        if (s->preview) continue;
        size_t len = CplayerShipData::kBlockSize + CplayerShipDef::kOutsideSize + 4 + s->hullImage.size();
        w.u32((uint32_t)len);
        size_t at = out.size();
        out.resize(at + CplayerShipData::kBlockSize + CplayerShipDef::kOutsideSize);
        s->writeDataBlock(&out[at]);
        s->writeOutside(&out[at + CplayerShipData::kBlockSize]);
        w.u32((uint32_t)s->hullImage.size());
        w.bytes(s->hullImage.data(), s->hullImage.size());
    }
}

bool CplayerShipMgr::read(const uint8_t* p, size_t size, std::vector<CshipPtr>& staged) const {
    CrecordReader r(p, size);
    uint32_t version = r.u32(), count = r.u32();
    if (r.failed() || version != kLayoutVersion || count > kMaxShips) {
        gEngine->log.print(LOG_L, "Player ships record refused (layout %u, %u ships)", version, count);
        return false;
    }
    staged.clear();
    const size_t fixed = CplayerShipData::kBlockSize + CplayerShipDef::kOutsideSize + 4;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t len = r.u32();
        const uint8_t* e = r.span(len);
        if (!e || len < fixed) return false;
        uint32_t hullLen = getU32(e + fixed - 4);
        if (hullLen > kMaxHullImage || hullLen != len - fixed) return false;
        auto s = std::make_unique<CplayerShipDef>();
        if (!s->data.read(e, CplayerShipData::kBlockSize) ||
            !s->readOutside(e + CplayerShipData::kBlockSize, CplayerShipDef::kOutsideSize)) {
            gEngine->log.print(LOG_L, "Player ship %u of the save dropped", i);
            continue;
        }
        s->hullImage.assign(e + fixed, e + fixed + hullLen);
        staged.push_back(std::move(s));
    }
    return !r.failed() && r.remaining() == 0;
}

void CplayerShipMgr::resetToBuiltIn() {
    for (auto& s : ships)
        notifyRemoved(s->name());
    ships.clear();
    for (const auto& b : builtIn_) ships.push_back(std::make_unique<CplayerShipDef>(*b));
    for (auto& s : ships)
        notifyAdded(s->name());
    currentIdx = 0;
}

void CplayerShipMgr::applyLoaded(std::vector<CshipPtr>& loaded) {
    // Ships not saved (the built-in set) keep their place; the rest is replaced.
    std::vector<CshipPtr> kept;
    for (auto& s : ships) {
        if (s->source == SHIP_BUILTIN) {
            auto fresh = std::make_unique<CplayerShipDef>(*s);
            for (const auto& b : builtIn_)
                if (equalsIgnoreCase(b->name(), s->name())) fresh = std::make_unique<CplayerShipDef>(*b);
            kept.push_back(std::move(fresh));
        } else {
            notifyRemoved(s->name());
        }
    }
    ships = std::move(kept);
    for (auto& l : loaded) {
        CplayerShipDef* held = findShip(l->name());
        if (l->source == SHIP_BUILTIN) {
            if (held && held->source == SHIP_BUILTIN) {
                held->copyProgressFrom(*l);
                held->published = l->published;
                held->publishedId = l->publishedId;
                held->statsPending = l->statsPending;
                held->globalDiscoveries = l->globalDiscoveries;
                held->globalTimePlayed = l->globalTimePlayed;
                held->globalTracksCleared = l->globalTracksCleared;
            } else {
                gEngine->log.print(LOG_L, "Saved built-in ship %s no longer exists", l->name().c_str());
            }
            continue;
        }
        if (held) {
            gEngine->log.print(LOG_L, "Saved ship %s appears twice; the first is kept", l->name().c_str());
            continue;
        }
        ships.push_back(std::move(l));
        notifyAdded(ships.back()->name());
    }
    loaded.clear();
    if (currentIdx >= (int)ships.size()) currentIdx = 0;
}
