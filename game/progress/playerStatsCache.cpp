#include "game/progress/playerStatsCache.h"

#include <cmath>
#include <cstring>

#include "engine/bString.h"
#include "engine/engine.h"
#include "game/progress/recordIO.h"

void CplayerStatsRecord::write(uint8_t* p) const {
    Cbytes out;
    CrecordWriter w(out);
    w.u64(steamId);
    w.u64(xp);
    w.u32(tracksCompleted);
    w.f32(timePlayed);
    for (uint64_t v : {bossRushStandard, bossRushCustom, survivalStandard, survivalCustom}) w.u64(v);
    w.u32(challengeWins);
    w.u32(challengeRunnerUp);
    w.u64(bossTonnage);
    w.text(countryCode, 4);
    w.u8(platform);
    w.u8(store);
    w.u32(sessions);
    w.u8(emailSet ? 1 : 0);
    w.text(name, kNameBytes);
    w.padTo(kRecordSize);
    memcpy(p, out.data(), kRecordSize);
}

bool CplayerStatsRecord::read(const uint8_t* p, size_t size) {
    if (!p || size < kRecordSize) return false;
    CrecordReader r(p, kRecordSize);
    CplayerStatsRecord d;
    d.steamId = r.u64();
    d.xp = r.u64();
    d.tracksCompleted = r.u32();
    d.timePlayed = checkedFloat("statistics time played", r.f32(), 0.0f, 1e12f, 0.0f);
    for (uint64_t* v : {&d.bossRushStandard, &d.bossRushCustom, &d.survivalStandard, &d.survivalCustom}) *v = r.u64();
    d.challengeWins = r.u32();
    d.challengeRunnerUp = r.u32();
    d.bossTonnage = r.u64();
    d.countryCode = r.text(4);
    d.platform = (uint8_t)checkedInt("statistics platform", r.u8(), 0, 4, 0);
    d.store = r.u8();
    d.sessions = r.u32();
    d.emailSet = r.u8() != 0;
    d.name = r.text(kNameBytes);
    if (r.failed()) return false;
    *this = std::move(d);
    return true;
}

CplayerStatsRecord* CplayerStatsCache::findPlayer(uint64_t id, bool queueIfMissing) {
    if (id != 0 && id == local.steamId) return &local;
    for (auto& p : players)
        if (p.steamId == id) return &p;
    if (queueIfMissing) queuePlayer(id);
    return nullptr;
}

void CplayerStatsCache::queuePlayer(uint64_t id) { requestStats(id, "", 0, -1, ""); }

void CplayerStatsCache::addPlayer(const CplayerStatsRecord& record) {
    if (record.steamId != 0 && record.steamId == local.steamId) {
        std::string keepName = local.name;
        local = record;
        if (local.name.empty()) local.name = keepName;
        local.platform = (uint8_t)Cengine::kThisPlatform;   // the player plays here now
        return;
    }
    for (auto& p : players) {
        if (p.steamId == record.steamId) {
            p = record;
            return;
        }
    }
    if (players.size() >= kMaxPlayers) players.erase(players.begin());
    players.push_back(record);
}

bool CplayerStatsCache::requestStats(uint64_t id, const std::string& trackKey, uint64_t score, int place,
                                     const std::string& shipName) {
    for (const auto& r : requests)
        if (r.id == id) return false;
    Crequest r;
    r.id = id;
    r.trackKey = trackKey;
    r.score = score;
    r.place = place;
    r.shipName = shipName;
    requests.push_back(std::move(r));
    return true;
}

void CplayerStatsCache::setRecordName(const std::string& name) {
    local.name = name.substr(0, utf8CutPoint(name, CplayerStatsRecord::kNameBytes - 1));
    local.changed = true;
}

void CplayerStatsCache::update() {
    if (task_.started()) {
        if (!task_.finished()) return;
        bool ok = task_.success();
        task_.reset();
        if (!requests.empty()) {
            Crequest done = requests.front();
            requests.pop_front();
            if (ok) {
                fetched_.steamId = done.id;
                addPlayer(fetched_);
                if (onArrived) onArrived(done, fetched_);
            } else {
                gEngine->log.print(LOG_L, "Player stats request failed: %llu", (unsigned long long)done.id);
            }
        }
    }
    if (requests.empty()) return;
    if (gEngine->webServiceOff || !fetch) {
        gEngine->log.print(LOG_L, "Player stats: service off, %zu requests dropped", requests.size());
        requests.clear();
        return;
    }
    uint64_t id = requests.front().id;
    fetched_ = CplayerStatsRecord();
    task_.start([this, id]() { return fetch(id, fetched_); }, "Get Player Stats");
}

std::string getPlayerNameById(const CplayerStatsCache& cache, int64_t id) {
    if (id == -1) {
        if (!cache.local.name.empty()) return cache.local.name;
        return gEngine ? gEngine->playerName : std::string();
    }
    if (id != 0 && (uint64_t)id == cache.local.steamId) return cache.local.name;
    for (const auto& p : cache.players)
        if (p.steamId == (uint64_t)id) return p.name;
    return {};
}
