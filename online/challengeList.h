#pragma once
// CchallengeList: the player's asynchronous (player against player)
// challenges, cached one file each in the save folder as
// "%lld_Chall_%lld.dat" (player id, challenge GUID), with shared static data
// in "StaticData_%s.dat". The list of the player's challenge GUIDs is kept in
// the game save. GameAsyncChallenge is the loader's start-up state.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/webMessage.h"

class CsaveFile;

struct CasyncChallenge {
    int64_t guid = 0;
    uint64_t opponentId = 0;
    std::string opponentName;
    std::string trackKey, trackTitle, artist, album;
    int32_t duration = 0;
    int32_t difficulty = 0;
    int32_t difficultyCap = 6;
    uint64_t myScore = 0, opponentScore = 0;
    int32_t state = 0;
    int64_t created = 0;
    char linkKind = 0;
    std::string linkId;
    bool started = false;

    // "ZXAC" | u32 version | fixed fields | length-prefixed texts.
    Cbytes serialise() const;
    static bool deserialise(const uint8_t* p, size_t size, CasyncChallenge& out);
};

class CchallengeList {
public:
    static constexpr size_t kMaxChallenges = 100;

    static std::string cacheFileName(uint64_t playerId, int64_t guid);
    // The name is reduced to letters, digits, '-' and '_', so a name from
    // the service can't reach outside the save folder.
    static std::string staticDataFileName(const std::string& name);

    // The cached record, loaded from its file when not yet in memory.
    CasyncChallenge* findCachedChallenge(int64_t guid);
    // Keeps the record and writes its cache file.
    bool cacheChallenge(const CasyncChallenge& c);
    // Forgets the challenge, its GUID and its cache file.
    bool deleteChallenge(int64_t guid);
    // Makes a cached challenge the active one; 0 (none) clears it.
    bool activateChallenge(int64_t guid);
    CasyncChallenge* activeChallenge();

    bool saveStaticData(const std::string& name, const Cbytes& data);
    bool loadStaticData(const std::string& name, Cbytes& out);

    const std::vector<int64_t>& guids() const { return guids_; }
    void clearGuids() { guids_.clear(); }
    void registerRecord(CsaveFile& file, const std::string& recordName);

    uint64_t playerId = 0;   // whose cache files these are

private:
    std::vector<CasyncChallenge> cached_;
    std::vector<int64_t> guids_;
    std::vector<int64_t> stagedGuids_;   // read from the save, kept once the whole file has read
    int64_t active_ = 0;
};

class GameAsyncChallenge {
public:
    // Marked once the web-service client has started.
    void init() { initialised = true; }
    bool initialised = false;
};
