#include "game/progress/playerShipDef.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/bString.h"
#include "engine/engine.h"
#include "game/progress/playerProgress.h"
#include "game/progress/recordIO.h"
#include "game/progress/xpCurve.h"

std::function<void(const std::string&, double)> CplayerShipDef::statHook;

namespace {

constexpr size_t kTurretsAt = 96;
constexpr size_t kHullAt = 532;
constexpr size_t kMissionsAt = 548;
constexpr size_t kDescriptionAt = 1300;
constexpr size_t kVersionAt = 2300;

// NaN gives the fallback; anything else is held inside [lo, hi].
float held(float v, float lo, float hi, float fallback, int& mended) {
    if (std::isnan(v)) {
        ++mended;
        return fallback;
    }
    if (v < lo || v > hi) {
        ++mended;
        return std::clamp(v, lo, hi);
    }
    return v;
}

}  // namespace

void CplayerShipData::write(uint8_t* block, uint32_t hullSize) const {
    Cbytes out;
    out.reserve(kBlockSize);
    CrecordWriter w(out);
    w.u8(customFlag);
    w.u8(publishedFinal);
    w.u8(builtIn);
    w.u8(manufacturer);
    w.text(identifier, kIdentifierBytes);
    w.text(displayName, kDisplayNameBytes);
    for (float v : {scale, acceleration, deceleration, topSpeed, bulletSpeed, bulletDamage, pickupForce}) w.f32(v);
    for (const auto& t : turrets) {
        w.u8(t.leading);
        w.zeros(3);
        w.f32(t.angle);
        w.u8(t.enabled);
        w.zeros(3);
    }
    w.f32(sweepSize);
    w.f32(sweepRate);
    for (const auto& m : mounts) {
        w.f32(m.x);
        w.f32(m.y);
    }
    for (const auto& f : flares) {
        w.u8((uint8_t)f.count);
        w.zeros(3);
        w.f32(f.size);
        w.f32(f.hue);
    }
    w.i32(engineThrusts);
    for (const auto& e : engines)
        for (float v : {e.x, e.y, e.hue, e.rotation, e.scale}) w.f32(v);
    w.u32(hullSize);
    w.u64(0);
    size_t count = std::min<size_t>(missions.size(), kMaxShipMissions);
    w.u32((uint32_t)count);
    out.resize(kDescriptionAt, 0);
    for (size_t i = 0; i < count; ++i) missions[i].write(&out[kMissionsAt + i * CshipMission::kRecordSize]);
    w.text(description, kDescriptionBytes);
    w.u32(kLayoutVersion);
    w.padTo(kBlockSize);
    memcpy(block, out.data(), kBlockSize);
}

bool CplayerShipData::read(const uint8_t* block, size_t size, uint32_t* hullSize) {
    if (!block || size < kBlockSize) {
        gEngine->log.print(LOG_L, "Ship data block too short (%zu bytes)", size);
        return false;
    }
    CrecordReader r(block, kBlockSize);
    CplayerShipData d;
    d.customFlag = r.u8() ? 1 : 0;
    d.publishedFinal = r.u8() ? 1 : 0;
    d.builtIn = r.u8() ? 1 : 0;
    d.manufacturer = (uint8_t)checkedInt("ship manufacturer", r.u8(), 0, kNoManufacturer, kNoManufacturer);
    d.identifier = r.text(kIdentifierBytes);
    d.displayName = r.text(kDisplayNameBytes);
    float* f[] = {&d.scale, &d.acceleration, &d.deceleration, &d.topSpeed, &d.bulletSpeed, &d.bulletDamage,
                  &d.pickupForce};
    for (float* v : f) *v = r.f32();
    r.seek(kTurretsAt);
    for (auto& t : d.turrets) {
        t.leading = r.u8() ? 1 : 0;
        r.skip(3);
        t.angle = r.f32();
        t.enabled = r.u8() ? 1 : 0;
        r.skip(3);
    }
    d.sweepSize = r.f32();
    d.sweepRate = r.f32();
    for (auto& m : d.mounts) {
        m.x = r.f32();
        m.y = r.f32();
    }
    for (auto& fl : d.flares) {
        fl.count = (int8_t)r.u8();
        r.skip(3);
        fl.size = r.f32();
        fl.hue = r.f32();
    }
    d.engineThrusts = r.i32();
    for (auto& e : d.engines)
        for (float* v : {&e.x, &e.y, &e.hue, &e.rotation, &e.scale}) *v = r.f32();
    r.seek(kHullAt);
    uint32_t hull = r.u32();
    r.skip(8);
    uint32_t count = r.u32();
    if (count > (uint32_t)kMaxShipMissions) {
        gEngine->log.print(LOG_L, "Stored value out of range: mission count = %u (using %d)", count, kMaxShipMissions);
        count = kMaxShipMissions;
    }
    for (uint32_t i = 0; i < count; ++i) {
        CshipMission m;
        m.read(block + kMissionsAt + i * CshipMission::kRecordSize, CshipMission::kRecordSize);
        d.missions.push_back(std::move(m));
    }
    r.seek(kDescriptionAt);
    d.description = r.text(kDescriptionBytes);
    r.seek(kVersionAt);
    uint32_t version = r.u32();
    if (r.failed() || d.identifier.empty()) {
        gEngine->log.print(LOG_L, "Ship data block refused: no identifier");
        return false;
    }
    if (version != kLayoutVersion) gEngine->log.print(LOG_L, "Ship %s: data layout %u", d.identifier.c_str(), version);
    d.clampToRanges();
    if (hullSize) *hullSize = hull;
    *this = std::move(d);
    return true;
}

void CplayerShipData::clampToRanges() {
    int mended = 0;
    scale = held(scale, 0.2f, 1.05f, 0.5f, mended);
    acceleration = held(acceleration, 0.5f, 5.0f, 2.5f, mended);
    deceleration = held(deceleration, 0.8f, 1.0f, 0.9f, mended);
    topSpeed = held(topSpeed, 12.0f, 25.0f, 16.0f, mended);
    bulletSpeed = held(bulletSpeed, 0.5f, 2.5f, 1.0f, mended);
    bulletDamage = held(bulletDamage, 0.5f, 2.5f, 1.0f, mended);
    pickupForce = held(pickupForce, -2.0f, 2.0f, 0.0f, mended);
    for (auto& t : turrets) t.angle = held(t.angle, -3.0f, 3.0f, 0.0f, mended);
    sweepSize = held(sweepSize, 0.0f, 0.5f, 0.0f, mended);
    sweepRate = held(sweepRate, 0.0f, 0.5f, 0.0f, mended);
    for (auto& m : mounts) {
        m.x = held(m.x, -150.0f, 150.0f, 1.0f, mended);
        m.y = held(m.y, -150.0f, 150.0f, 0.0f, mended);
    }
    for (auto& f : flares) {
        if (f.count < 0 || f.count > 8) {
            ++mended;
            f.count = (int8_t)std::clamp<int>(f.count, 0, 8);
        }
        f.size = held(f.size, 0.0f, 1.0f, 0.0f, mended);
        f.hue = held(f.hue, 0.0f, 1.0f, 0.0f, mended);
    }
    if (engineThrusts < 0 || engineThrusts > kNumShipEngines) {
        ++mended;
        engineThrusts = std::clamp<int32_t>(engineThrusts, 0, kNumShipEngines);
    }
    const float pi = 3.14159265f;
    for (auto& e : engines) {
        e.x = held(e.x, -200.0f, 200.0f, 0.0f, mended);
        e.y = held(e.y, -200.0f, 200.0f, 0.0f, mended);
        e.hue = held(e.hue, 0.0f, 1.0f, 0.0f, mended);
        e.rotation = held(e.rotation, -pi, pi, 0.0f, mended);
        e.scale = held(e.scale, 0.5f, 2.0f, 1.0f, mended);
    }
    if (manufacturer > kNoManufacturer) {
        ++mended;
        manufacturer = kNoManufacturer;
    }
    if (missions.size() > (size_t)kMaxShipMissions) {
        ++mended;
        missions.resize(kMaxShipMissions);
    }
    if (mended) gEngine->log.print(LOG_L, "Ship %s: %d values brought into range", identifier.c_str(), mended);
}

int CplayerShipData::numActiveTurrets() const {
    int n = 0;
    for (const auto& t : turrets) n += t.active() ? 1 : 0;
    return n;
}

int CplayerShipDef::rank() const { return rankFromXP(xp); }

int CplayerShipDef::numMissionsComplete() const {
    int n = 0;
    for (int i = 0; i < numMissions() && i < kMaxShipMissions; ++i) n += missionComplete[i] ? 1 : 0;
    return n;
}

void CplayerShipDef::addTimePlayed(float seconds) {
    if (!(seconds > 0)) return;
    timePlayed += seconds;
    if (statHook) statHook(name() + "_TimPlayed", seconds);
}

void CplayerShipDef::addTrackCleared() {
    if (tracksCompleted < UINT16_MAX) ++tracksCompleted;
    if (statHook) statHook(name() + "_TracksCleared", 1.0);
}

void CplayerShipDef::sendDiscovery() {
    discoveryPending = false;
    if (statHook) statHook(name() + "_ShipDiscover", 1.0);
}

bool CplayerShipDef::fitModule(CshipModule& module) {
    if (hasModule(module.key)) return false;
    for (int i = 0; i < kNumModuleSlots; ++i) {
        if (slots[i]) continue;
        module.fittedShip = name();
        module.fittedSlot = (uint8_t)i;
        slots[i] = module;
        recomputeBonuses();
        return true;
    }
    return false;
}

bool CplayerShipDef::removeModule(CshipModule& module) {
    bool removed = removeModule(module.key);
    if (removed || equalsIgnoreCase(module.fittedShip, name())) {
        module.fittedShip.clear();
        module.fittedSlot = kModuleNotFitted;
    }
    return removed;
}

bool CplayerShipDef::removeModule(const std::string& key) {
    for (auto& s : slots) {
        if (s && equalsIgnoreCase(s->key, key)) {
            s.reset();
            recomputeBonuses();
            return true;
        }
    }
    return false;
}

bool CplayerShipDef::hasModule(const std::string& key) const {
    for (const auto& s : slots)
        if (s && equalsIgnoreCase(s->key, key)) return true;
    return false;
}

int CplayerShipDef::getNumModulesFitted() const {
    int n = 0;
    for (const auto& s : slots) n += s ? 1 : 0;
    return n;
}

void CplayerShipDef::clearModuleSlots() {
    for (auto& s : slots) s.reset();
    recomputeBonuses();
}

void CplayerShipDef::recomputeBonuses() {
    bonus = CmoduleBonuses();
    auto add = [this](int kind, float v) {
        switch (kind) {
            case ShipMod_TopSpeed: bonus.topSpeed += v; break;
            case ShipMod_Accel: bonus.acceleration += v; break;
            case ShipMod_BulletDamage: bonus.bulletDamage += v; break;
            case ShipMod_BulletSpeed: bonus.bulletSpeed += v; break;
            case ShipMod_PickupForce: bonus.pickupForce += v; break;
            case ShipMod_Decel: bonus.deceleration += v; break;
            case ShipMod_StartMultiplier: bonus.startMultiplier += (int)v; break;
            case ShipMod_IncreasedPickupLife: bonus.pickupLife += v; break;
            case ShipMod_AutoAim: bonus.autoAim = true; break;
            case ShipMod_AsteroidDeflect: bonus.asteroidDeflect = true; break;
            default: break;
        }
    };
    for (const auto& s : slots) {
        if (!s) continue;
        add(s->posKind, s->posFactor);
        add(s->negKind, s->negFactor);
    }
}

void CplayerShipDef::finishDef() {
    data.clampToRanges();
    if (data.customFlag) {
        // A player design counts as finished once published as a final version.
        source = SHIP_CUSTOM;
        finished = data.publishedFinal != 0;
    }
    if (data.displayName.empty())
        data.displayName = utf8CutWithEllipsis(data.identifier, CplayerShipData::kDisplayNameBytes - 1);
    recomputeBonuses();
}

void CplayerShipDef::writeOutside(uint8_t* p) const {
    Cbytes out;
    CrecordWriter w(out);
    w.u8((uint8_t)source);
    for (bool b : {hidden, favourite, finished, excluded, skipEvaluation, published, publicFlag}) w.u8(b ? 1 : 0);
    w.u64(publishedId);
    w.u64(ownerId);
    w.u64(xp);
    w.u64(totalScore);
    w.f32(timePlayed);
    w.u16(tracksCompleted);
    for (bool b : {firstFlight, changed, statsPending, discoveryPending}) w.u8(b ? 1 : 0);
    for (uint8_t c : missionComplete) w.u8(c ? 1 : 0);
    w.u8(procFlag);
    w.u8(0);
    w.u32(globalDiscoveries);
    w.f32(globalTimePlayed);
    w.u32(globalTracksCleared);
    w.text(hullSprite, 64);
    w.padTo(kOutsideSize);
    memcpy(p, out.data(), kOutsideSize);
}

bool CplayerShipDef::readOutside(const uint8_t* p, size_t size) {
    if (!p || size < kOutsideSize) return false;
    CrecordReader r(p, kOutsideSize);
    int src = checkedInt("ship source", r.u8(), SHIP_BUILTIN, SHIP_CUSTOM, SHIP_CUSTOM);
    bool* flags[] = {&hidden, &favourite, &finished, &excluded, &skipEvaluation, &published, &publicFlag};
    bool vals[7];
    for (bool& v : vals) v = r.u8() != 0;
    uint64_t pubId = r.u64(), owner = r.u64(), x = r.u64(), total = r.u64();
    float played = checkedFloat("ship time played", r.f32(), 0.0f, 1e12f, 0.0f);
    uint16_t tracks = r.u16();
    bool marks[4];
    for (bool& v : marks) v = r.u8() != 0;
    uint8_t complete[kMaxShipMissions];
    for (uint8_t& c : complete) c = r.u8() ? 1 : 0;
    uint8_t pf = r.u8();
    r.skip(1);
    uint32_t disc = r.u32();
    float gTime = checkedFloat("ship global time", r.f32(), 0.0f, 1e15f, 0.0f);
    uint32_t gTracks = r.u32();
    std::string sprite = r.text(64);
    if (r.failed()) return false;
    source = src;
    for (int i = 0; i < 7; ++i) *flags[i] = vals[i];
    publishedId = pubId;
    ownerId = owner;
    xp = x;
    totalScore = total;
    timePlayed = played;
    tracksCompleted = tracks;
    firstFlight = marks[0];
    changed = marks[1];
    statsPending = marks[2];
    discoveryPending = marks[3];
    memcpy(missionComplete, complete, sizeof missionComplete);
    procFlag = pf;
    globalDiscoveries = disc;
    globalTimePlayed = gTime;
    globalTracksCleared = gTracks;
    hullSprite = sprite;
    return true;
}

void CplayerShipDef::copyProgressFrom(const CplayerShipDef& o) {
    hidden = o.hidden;
    favourite = o.favourite;
    excluded = o.excluded;
    skipEvaluation = o.skipEvaluation;
    xp = o.xp;
    totalScore = o.totalScore;
    timePlayed = o.timePlayed;
    tracksCompleted = o.tracksCompleted;
    firstFlight = o.firstFlight;
    discoveryPending = o.discoveryPending;
    memcpy(missionComplete, o.missionComplete, sizeof missionComplete);
}

ChullFit fitHullSprite(CplayerShipDef& ship, int imageWidth, int imageHeight) {
    ChullFit fit;
    int longer = std::max(imageWidth, imageHeight);
    if (imageWidth <= 0 || imageHeight <= 0) return fit;
    fit.scale = 2.0f / ((float)longer / 175.0f);
    fit.width = (float)imageWidth * fit.scale;
    fit.height = (float)imageHeight * fit.scale;
    float lo = std::min(fit.width, fit.height), hi = std::max(fit.width, fit.height);
    if (hi < lo * 1.5f) {
        // A roundish hull: one circle.
        fit.circles[0] = {0, 0, hi * 0.45f};
        fit.numCircles = 1;
    } else {
        // A long hull: three circles along its longer axis.
        bool tall = fit.height > fit.width;
        for (int i = 0; i < 3; ++i) {
            float along = (float)(i - 1) * hi / 3.0f;
            fit.circles[i] = {tall ? 0 : along, tall ? along : 0, lo * 0.5f};
        }
        fit.numCircles = 3;
    }
    ship.hullScale = fit.scale;
    return fit;
}

CmissionsCompleted completeShipMissions(CplayerShipDef& ship, CprogressRecord& progress, const CmissionResult& result) {
    CmissionsCompleted out;
    const int n = std::min(ship.numMissions(), kMaxShipMissions);
    for (int i = 0; i < n; ++i) {
        if (ship.missionComplete[i] || !ship.data.missions[(size_t)i].isCompletedBy(result, ship.xp)) continue;
        ship.missionComplete[i] = 1;
        out.newly.push_back(i);
        ++progress.missionsCompleted;
        if (ship.isCustom()) ++progress.customShipMissions;
    }
    out.allComplete = n > 0 && ship.numMissionsComplete() == n;
    if (out.allComplete && !out.newly.empty()) ++progress.shipsCompleted;
    return out;
}
