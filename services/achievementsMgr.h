#pragma once
// CachievementsMgr: the Steam side of the achievements. Registers the API
// names, asks Steam for the player's stored stats, copies which achievements
// Steam already holds into the game's rows, and unlocks new ones.
#include <cstdint>
#include <vector>

#include "platform/steam/steamCallback.h"

struct CachievementEntry {
    int32_t id = 0;         // the row index
    char name[128] = {};    // the API name
    uint8_t* awarded = nullptr;   // the row's awarded byte
};

class CachievementsMgr {
public:
    CachievementsMgr();
    CachievementsMgr(const CachievementsMgr&) = delete;
    CachievementsMgr& operator=(const CachievementsMgr&) = delete;

    void addEntry(int32_t id, const char* name, uint8_t* awarded);
    // Needs the entries; asks for the player's stats when logged on.
    void init();
    bool setAchievement(int index);

    void onUserStatsReceived(UserStatsReceived_t* result);
    void onUserStatsStored(UserStatsStored_t* result);
    void onUserAchievementStored(UserAchievementStored_t* result);

    uint64_t gameId = 0;
    uint8_t statsReady = 0;
    std::vector<CachievementEntry> entries;
    CsteamCallback<CachievementsMgr, UserStatsReceived_t> userStatsReceived;
    CsteamCallback<CachievementsMgr, UserStatsStored_t> userStatsStored;
    CsteamCallback<CachievementsMgr, UserAchievementStored_t> userAchievementStored;
};
