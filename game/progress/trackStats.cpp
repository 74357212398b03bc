#include "game/progress/trackStats.h"

#include <algorithm>
#include <cmath>

#include "engine/bString.h"
#include "engine/engine.h"
#include "game/progress/recordIO.h"

namespace {
constexpr size_t kMaxShipName = 64;
constexpr size_t kMaxComment = 256;
}  // namespace

CtrackRecord* CtrackStats::findTrack(const std::string& key) {
    if (key.empty()) return nullptr;
    for (auto& r : records)
        if (equalsIgnoreCase(r.key, key)) return &r;
    return nullptr;
}

bool CtrackStats::isNewBest(const std::string& key, uint64_t score, bool shipKeepsRecords) {
    if (!shipKeepsRecords) return false;
    const CtrackRecord* r = findTrack(key);
    return !r || score > r->bestScore;
}

bool CtrackStats::submitScore(const std::string& key, uint64_t score, int difficulty, float progress,
                              const CshipSnapshot& ship, const std::string& comment) {
    if (key.empty() || !ship.keepsRecords) return false;
    if (!(progress >= 0.0f)) progress = 0.0f;
    progress = std::min(progress, 1.0f);
    CtrackRecord* r = findTrack(key);
    if (!r) {
        if (records.size() >= kMaxRecords) {
            gEngine->log.print(LOG_L, "Track records full; %s not kept", key.c_str());
            return false;
        }
        records.push_back({});
        r = &records.back();
        r->key = key.substr(0, kKeyBytes - 1);
    }
    bool better = score > r->bestScore || r->bestScore == 0;
    if (better) {
        r->bestScore = score;
        r->difficulty = difficulty;
        r->shipName = ship.name.substr(0, utf8CutPoint(ship.name, kMaxShipName));
        r->comment = comment.substr(0, utf8CutPoint(comment, kMaxComment));
        r->dayNumber = (int32_t)(gEngine->serverUnixTime / 86400);
    }
    r->completion = std::max(r->completion, progress);
    if (better && submitBoards) submitBoards(*r, ship);
    if (save) save();
    return better;
}

bool CtrackStats::setComment(const std::string& key, const std::string& comment, const CshipSnapshot& ship) {
    CtrackRecord* r = findTrack(key);
    if (!r || !ship.keepsRecords) return false;
    r->comment = comment.substr(0, utf8CutPoint(comment, kMaxComment));
    if (submitBoards) submitBoards(*r, ship);
    if (save) save();
    return true;
}

void CtrackStats::write(std::vector<uint8_t>& out) const {
    CrecordWriter w(out);
    w.u32((uint32_t)records.size());
    for (const auto& r : records) {
        w.text(r.key, kKeyBytes);
        w.u64(r.bestScore);
        w.f32(r.completion);
        w.i32(r.difficulty);
        w.i32(r.dayNumber);
        std::string s;
        CbString(r.shipName).serialise(s);
        CbString(r.comment).serialise(s);
        w.bytes(s.data(), s.size());
    }
}

bool CtrackStats::read(const uint8_t* p, size_t size, std::vector<CtrackRecord>& staged) const {
    CrecordReader r(p, size);
    uint32_t count = r.u32();
    if (r.failed() || count > kMaxRecords) return false;
    staged.clear();
    for (uint32_t i = 0; i < count; ++i) {
        CtrackRecord t;
        t.key = r.text(kKeyBytes);
        t.bestScore = r.u64();
        t.completion = checkedFloat("track completion", r.f32(), 0.0f, 1.0f, 0.0f);
        t.difficulty = checkedInt("track difficulty", r.i32(), 0, 6, 0);
        t.dayNumber = r.i32();
        if (r.failed()) return false;
        for (std::string* text : {&t.shipName, &t.comment}) {
            CbString b;
            const uint8_t* at = p + r.at();
            size_t used = b.deserialise(at, r.remaining());
            if (used == 0) return false;
            r.skip(used);
            *text = sanitiseUtf8(b.str());
        }
        t.shipName.resize(utf8CutPoint(t.shipName, kMaxShipName));
        t.comment.resize(utf8CutPoint(t.comment, kMaxComment));
        if (!t.key.empty()) staged.push_back(std::move(t));
    }
    return !r.failed() && r.remaining() == 0;
}
