#pragma once
// CsteamLeaderboardMgr: Steam leaderboards by name. Finds their handles one
// at a time, uploads a marker text as the details of the first board, and
// downloads the player's friends' entries of the first board.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/steam/steamCallback.h"

constexpr int kBoardDetailsInts = 63;

struct CsteamBoardRecord {
    uint64_t handle = 0;   // 0 until found
    char name[50] = {};
    char secondName[50] = {};
    int32_t sortMethod = 0;
    int32_t displayType = 0;
    int32_t uploadMethod = 0;
    char details[256] = {};
};

// Steam's entry followed by its details.
struct CsteamDownloadedEntry {
    LeaderboardEntry_t entry;
    int32_t details[kBoardDetailsInts];
};

struct CsteamEntryList {
    int32_t count = 0;
    std::vector<CsteamDownloadedEntry> entries;
};

class CsteamLeaderboardMgr {
public:
    CsteamLeaderboardMgr() = default;
    CsteamLeaderboardMgr(const CsteamLeaderboardMgr&) = delete;
    CsteamLeaderboardMgr& operator=(const CsteamLeaderboardMgr&) = delete;

    void addBoard(const char* name, const char* secondName, int32_t sortMethod, int32_t displayType,
                  int32_t uploadMethod);
    // Starts finding the first board still without a handle.
    void findNextBoard();
    void uploadMarker(const char* text);
    void downloadFriends();

    void onFindResult(LeaderboardFindResult_t* result, bool ioFailure);
    void onScoreUploaded(LeaderboardScoreUploaded_t* result, bool ioFailure);
    void onDownloaded(LeaderboardScoresDownloaded_t* result, bool ioFailure);
    void OnLeaderboardDownloadedEntries(LeaderboardScoresDownloaded_t* result);

    // The details of an entry as a terminated text (another player's bytes).
    static std::string detailsText(const CsteamDownloadedEntry& entry);

    std::vector<CsteamBoardRecord> boards;
    std::vector<CsteamEntryList> entryLists;
    int32_t findBusy = 0;
    uint8_t downloadBusy = 0;
    uint8_t uploadBusy = 0;
    CsteamCallResult<CsteamLeaderboardMgr, LeaderboardFindResult_t> findResult;
    CsteamCallResult<CsteamLeaderboardMgr, LeaderboardScoresDownloaded_t> downloadResult;
    CsteamCallResult<CsteamLeaderboardMgr, LeaderboardScoreUploaded_t> uploadResult;

private:
    size_t findingIndex_ = 0;   // the board whose find is in flight
};
