#include "online/challengeList.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/resourceFile.h"
#include "engine/saveFile.h"

namespace {

constexpr uint32_t kVersion = 1;
constexpr size_t kFixed = 4 + 4 + 8 + 8 + 4 * 3 + 8 + 8 + 4 + 8 + 1 + 1;   // 66

}  // namespace

Cbytes CasyncChallenge::serialise() const {
    Cbytes out(kFixed, 0);
    uint8_t* p = out.data();
    memcpy(p, "ZXAC", 4);
    putU32(p + 4, kVersion);
    putU64(p + 8, (uint64_t)guid);
    putU64(p + 16, opponentId);
    putU32(p + 24, (uint32_t)duration);
    putU32(p + 28, (uint32_t)difficulty);
    putU32(p + 32, (uint32_t)difficultyCap);
    putU64(p + 36, myScore);
    putU64(p + 44, opponentScore);
    putU32(p + 52, (uint32_t)state);
    putU64(p + 56, (uint64_t)created);
    p[64] = (uint8_t)linkKind;
    p[65] = started ? 1 : 0;
    std::string texts;
    for (const std::string* s : {&opponentName, &trackKey, &trackTitle, &artist, &album, &linkId})
        CbString(*s).serialise(texts);
    out.insert(out.end(), texts.begin(), texts.end());
    return out;
}

bool CasyncChallenge::deserialise(const uint8_t* p, size_t size, CasyncChallenge& out) {
    if (!p || size < kFixed || memcmp(p, "ZXAC", 4) != 0 || getU32(p + 4) != kVersion) return false;
    CasyncChallenge c;
    c.guid = (int64_t)getU64(p + 8);
    c.opponentId = getU64(p + 16);
    c.duration = (int32_t)getU32(p + 24);
    c.difficulty = (int32_t)getU32(p + 28);
    c.difficultyCap = (int32_t)getU32(p + 32);
    c.myScore = getU64(p + 36);
    c.opponentScore = getU64(p + 44);
    c.state = (int32_t)getU32(p + 52);
    c.created = (int64_t)getU64(p + 56);
    c.linkKind = (char)p[64];
    c.started = p[65] != 0;
    size_t off = kFixed;
    for (std::string* s : {&c.opponentName, &c.trackKey, &c.trackTitle, &c.artist, &c.album, &c.linkId}) {
        CbString t;
        size_t used = t.deserialise(p + off, size - off);
        if (used == 0) return false;
        *s = t.str();
        off += used;
    }
    out = std::move(c);
    return true;
}

std::string CchallengeList::cacheFileName(uint64_t playerId, int64_t guid) {
    return CbString::format("%lld_Chall_%lld.dat", (long long)playerId, (long long)guid).str();
}

std::string CchallengeList::staticDataFileName(const std::string& name) {
    std::string clean;
    for (char c : name) clean.push_back(isalnum((unsigned char)c) || c == '-' || c == '_' ? c : '_');
    if (clean.size() > 64) clean.resize(64);
    return CbString::format("StaticData_%s.dat", clean.c_str()).str();
}

CasyncChallenge* CchallengeList::findCachedChallenge(int64_t guid) {
    if (guid == 0) return nullptr;
    for (auto& c : cached_)
        if (c.guid == guid) return &c;
    CresourceFile file;
    if (!file.open(cacheFileName(playerId, guid), RF_SAVE | RF_QUIET)) return nullptr;
    CasyncChallenge c;
    if (!CasyncChallenge::deserialise(file.data(), file.size(), c) || c.guid != guid) {
        gEngine->log.print(LOG_L, "Challenge cache unreadable: %s", cacheFileName(playerId, guid).c_str());
        return nullptr;
    }
    if (cached_.size() >= kMaxChallenges) cached_.erase(cached_.begin());
    cached_.push_back(std::move(c));
    return &cached_.back();
}

bool CchallengeList::cacheChallenge(const CasyncChallenge& c) {
    if (c.guid == 0) return false;
    CasyncChallenge* have = nullptr;
    for (auto& x : cached_)
        if (x.guid == c.guid) have = &x;
    if (have) {
        *have = c;
    } else {
        if (cached_.size() >= kMaxChallenges) cached_.erase(cached_.begin());
        cached_.push_back(c);
    }
    if (std::find(guids_.begin(), guids_.end(), c.guid) == guids_.end()) guids_.push_back(c.guid);
    Cbytes bytes = c.serialise();
    return CresourceFile::save(cacheFileName(playerId, c.guid), bytes.data(), bytes.size());
}

bool CchallengeList::deleteChallenge(int64_t guid) {
    bool had = false;
    for (size_t i = 0; i < cached_.size(); ++i) {
        if (cached_[i].guid != guid) continue;
        cached_.erase(cached_.begin() + (ptrdiff_t)i);
        had = true;
        break;
    }
    auto it = std::find(guids_.begin(), guids_.end(), guid);
    if (it != guids_.end()) {
        guids_.erase(it);
        had = true;
    }
    if (active_ == guid) active_ = 0;
    std::string path = gEngine->savePath(cacheFileName(playerId, guid));
    if (fileExistsW(path)) had = removeFile(path) || had;
    return had;
}

bool CchallengeList::activateChallenge(int64_t guid) {
    if (guid == 0) {
        active_ = 0;
        return true;
    }
    if (!findCachedChallenge(guid)) return false;
    active_ = guid;
    return true;
}

CasyncChallenge* CchallengeList::activeChallenge() { return active_ ? findCachedChallenge(active_) : nullptr; }

bool CchallengeList::saveStaticData(const std::string& name, const Cbytes& data) {
    return CresourceFile::save(staticDataFileName(name), data.data(), data.size());
}

bool CchallengeList::loadStaticData(const std::string& name, Cbytes& out) {
    CresourceFile file;
    if (!file.open(staticDataFileName(name), RF_SAVE | RF_QUIET)) return false;
    out.assign(file.data(), file.data() + file.size());
    return true;
}

void CchallengeList::registerRecord(CsaveFile& file, const std::string& recordName) {
    file.addRecord(
        recordName,
        [this](Cbytes& out) {
            out.assign(guids_.size() * 8, 0);
            for (size_t i = 0; i < guids_.size(); ++i) putU64(out.data() + i * 8, (uint64_t)guids_[i]);
        },
        [this](const uint8_t* p, size_t size) {
            if (size % 8 != 0 || size / 8 > kMaxChallenges) return false;
            stagedGuids_.clear();
            for (size_t off = 0; off < size; off += 8) stagedGuids_.push_back((int64_t)getU64(p + off));
            return true;
        },
        [this]() { guids_ = std::move(stagedGuids_); });
}
