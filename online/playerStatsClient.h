#pragma once
// CplayerStatsClient: fetches and uploads player statistics records (309
// bytes each; their layout is the statistics cache's). A record of any other
// size from the service is dropped, never taken apart.
#include <cstdint>
#include <utility>
#include <vector>

#include "engine/threadTask.h"
#include "engine/webMessage.h"

class k4wSOAP;

struct CplayerStatsResult {
    uint64_t playerId = 0;
    Cbytes record;   // exactly 309 bytes
};

class CplayerStatsClient {
public:
    static constexpr size_t kMaxPlayersPerRequest = 64;

    explicit CplayerStatsClient(k4wSOAP& ws) : ws_(ws) {}
    ~CplayerStatsClient() {
        task.join();
        uploadTask.join();
    }

    // Players are named by their Steam ids; a record starts with its player's.
    // "Get Player Stats" for up to 64 players. False while one runs.
    bool requestStats(const std::vector<uint64_t>& ids);
    // The records of the last finished request; emptied by the call.
    std::vector<CplayerStatsResult> takeResults();
    // Resets a finished request; true when one had finished.
    bool collect();
    bool isBusy() const { return task.started(); }

    // One player's record, fetched on the calling thread (a task body). False
    // when the service is off, the call fails or the service has no record.
    bool fetchRecord(uint64_t steamId, Cbytes& out);

    // "Set Player Stats": the local player's record.
    bool uploadStats(const Cbytes& record);

    CthreadTask task{"Get Player Stats", CthreadTask::TASK_NETWORK};
    CthreadTask uploadTask{"Set Player Stats", CthreadTask::TASK_NETWORK};

private:
    bool fetchRecords(const std::vector<uint64_t>& ids, std::vector<CplayerStatsResult>& out);
    k4wSOAP& ws_;
    std::vector<CplayerStatsResult> results_, done_;
};
