#pragma once
// CplayerStatsCache: statistics records of the local player and of others
// (friends, players the local player dethroned), fetched one at a time.
//
// Player statistics record, 309 bytes, little-endian:
//     0 u64 Steam id             8 u64 XP
//    16 u32 tracks completed    20 f32 time played (seconds)
//    24 u64 boss-rush best, standard ship    32 u64 boss-rush best, custom ship
//    40 u64 survival best, standard ship     48 u64 survival best, custom ship
//    56 u32 challenge wins      60 u32 challenge runner-up places
//    64 u64 boss tonnage
//    72 char[4] country code    76 u8 platform   77 u8 store
//    78 u32 session count (the e-mail offer waits for 2)
//    82 u8  e-mail set
//    83 char[64] name
//   147 zero to the end
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "engine/threadTask.h"

struct CplayerStatsRecord {
    static constexpr size_t kRecordSize = 309;
    static constexpr size_t kNameBytes = 64;

    uint64_t steamId = 0;
    uint64_t xp = 0;
    uint32_t tracksCompleted = 0;
    float timePlayed = 0;
    uint64_t bossRushStandard = 0, bossRushCustom = 0;
    uint64_t survivalStandard = 0, survivalCustom = 0;
    uint32_t challengeWins = 0, challengeRunnerUp = 0;
    uint64_t bossTonnage = 0;
    std::string countryCode;
    uint8_t platform = 0, store = 0;
    uint32_t sessions = 0;
    bool emailSet = false;
    std::string name;
    bool changed = false;   // not stored: the record changed since it was last sent

    void write(uint8_t* p) const;
    bool read(const uint8_t* p, size_t size);
};

class CplayerStatsCache {
public:
    struct Crequest {
        uint64_t id = 0;
        std::string trackKey;   // empty for a plain statistics request
        uint64_t score = 0;
        int place = -1;
        std::string shipName;
    };
    static constexpr size_t kMaxPlayers = 512;

    CplayerStatsCache() = default;
    CplayerStatsCache(const CplayerStatsCache&) = delete;
    CplayerStatsCache& operator=(const CplayerStatsCache&) = delete;

    CplayerStatsRecord local;
    std::vector<CplayerStatsRecord> players;
    std::deque<Crequest> requests;

    // Fetches one player's record; runs on the task thread. The online client fills it.
    std::function<bool(uint64_t id, CplayerStatsRecord& out)> fetch;
    // A request's record arrived (the dethroned messages use the request's fields).
    std::function<void(const Crequest&, const CplayerStatsRecord&)> onArrived;

    // The record of a player (the local record for the local id), or null;
    // with queueIfMissing a request is queued for a missing one.
    CplayerStatsRecord* findPlayer(uint64_t id, bool queueIfMissing = false);
    void queuePlayer(uint64_t id);
    void addPlayer(const CplayerStatsRecord& record);
    // Queues a request unless one for that player is pending.
    bool requestStats(uint64_t id, const std::string& trackKey, uint64_t score, int place,
                      const std::string& shipName);
    void setRecordName(const std::string& name);
    bool requestsPending() const { return !requests.empty(); }
    size_t numRequests() const { return requests.size(); }

    // Each update: collects a finished fetch and starts the next. With the web
    // service off (or no fetcher) the queue is dropped so nobody waits on it.
    void update();
    void waitIdle() { task_.join(); }

private:
    CthreadTask task_{"Get Player Stats", CthreadTask::TASK_NETWORK};
    CplayerStatsRecord fetched_;
};

// A player's name by id; -1 is the local player. Empty when unknown.
std::string getPlayerNameById(const CplayerStatsCache& cache, int64_t id);
