#include "online/playerStatsClient.h"

#include "engine/engine.h"
#include "online/k4wTransport.h"

using namespace k4wGen;

bool CplayerStatsClient::fetchRecords(const std::vector<uint64_t>& ids, std::vector<CplayerStatsResult>& out) {
    _k4w__GetPlayerStats req;
    req.playerId = ids;
    std::vector<CplayerStatsResult> got;
    size_t dropped = 0;
    Ck4wCallResult r = k4wTokenCall(ws_, "GetPlayerStats", &k4wProxy::GetPlayerStats, req,
                                    [&](_k4w__GetPlayerStatsResponse& resp) {
        for (const k4w__StatsRecord* s : resp.stats) {
            if (!s) return false;
            if (!s->data.__ptr || s->data.__size != (int)k4wSOAP::kStatsRecordSize) {
                ++dropped;
                continue;
            }
            bool asked = false;
            for (uint64_t id : ids) asked = asked || id == s->playerId;
            if (!asked) continue;
            got.push_back({s->playerId, Cbytes(s->data.__ptr, s->data.__ptr + s->data.__size)});
        }
        return true;
    });
    if (dropped) gEngine->log.print(LOG_L, "GetPlayerStats: %zu malformed records dropped", dropped);
    out = std::move(got);
    return r.ok();
}

bool CplayerStatsClient::requestStats(const std::vector<uint64_t>& ids) {
    if (k4wSOAP::serviceOff() || ids.empty() || task.started()) return false;
    std::vector<uint64_t> list(ids.begin(), ids.begin() + (ptrdiff_t)std::min(ids.size(), kMaxPlayersPerRequest));
    results_.clear();
    return task.start([this, list] { return fetchRecords(list, results_); });
}

bool CplayerStatsClient::fetchRecord(uint64_t steamId, Cbytes& out) {
    out.clear();
    if (k4wSOAP::serviceOff() || !steamId) return false;
    std::vector<CplayerStatsResult> got;
    if (!fetchRecords({steamId}, got)) return false;
    for (CplayerStatsResult& r : got) {
        if (r.playerId == steamId) {
            out = std::move(r.record);
            return true;
        }
    }
    return false;
}

bool CplayerStatsClient::collect() {
    if (!task.finished()) return false;
    task.reset();
    done_.insert(done_.end(), results_.begin(), results_.end());
    results_.clear();
    return true;
}

std::vector<CplayerStatsResult> CplayerStatsClient::takeResults() {
    collect();
    std::vector<CplayerStatsResult> out = std::move(done_);
    done_.clear();
    return out;
}

bool CplayerStatsClient::uploadStats(const Cbytes& record) {
    if (k4wSOAP::serviceOff() || record.size() != k4wSOAP::kStatsRecordSize) return false;
    if (uploadTask.finished()) uploadTask.reset();
    return uploadTask.start([this, record] {
        _k4w__SetPlayerStats req;
        Cbytes data = record;
        // The record starts with the player's Steam id, the key the service files it under.
        req.steamId = 0;
        for (int i = 7; i >= 0; --i) req.steamId = (req.steamId << 8) | data[(size_t)i];
        req.data.__ptr = data.data();
        req.data.__size = (int)data.size();
        bool ok = k4wTokenCall(ws_, "SetPlayerStats", &k4wProxy::SetPlayerStats, req,
                               [](_k4w__SetPlayerStatsResponse&) { return true; }).ok();
        req.data.__ptr = nullptr;
        req.data.__size = 0;
        return ok;
    });
}
