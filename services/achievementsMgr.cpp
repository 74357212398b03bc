#include "services/achievementsMgr.h"

#include "engine/bString.h"
#include "engine/engine.h"

CachievementsMgr::CachievementsMgr()
    : userStatsReceived(this, &CachievementsMgr::onUserStatsReceived),
      userStatsStored(this, &CachievementsMgr::onUserStatsStored),
      userAchievementStored(this, &CachievementsMgr::onUserAchievementStored) {}

void CachievementsMgr::addEntry(int32_t id, const char* name, uint8_t* awarded) {
    CachievementEntry e;
    e.id = id;
    copyToField(e.name, sizeof e.name, name ? name : "");
    e.awarded = awarded;
    entries.push_back(e);
}

void CachievementsMgr::init() {
    ISteamUtils* utils = SteamUtils();
    if (!utils) return;
    if (entries.empty()) {
        gEngine->raiseFatal("CachievementsMgr::init() No achievements have been registered");
        return;
    }
    gameId = utils->GetAppID();
    ISteamUserStats* stats = SteamUserStats();
    ISteamUser* user = SteamUser();
    if (stats && user && user->BLoggedOn()) stats->RequestCurrentStats();
}

bool CachievementsMgr::setAchievement(int index) {
    ISteamUserStats* stats = SteamUserStats();
    ISteamUser* user = SteamUser();
    if (!stats || !user || !user->BLoggedOn() || !statsReady) return false;
    if (index < 0 || (size_t)index >= entries.size()) return false;
    stats->SetAchievement(entries[(size_t)index].name);
    return stats->StoreStats();
}

void CachievementsMgr::onUserStatsReceived(UserStatsReceived_t* result) {
    if (result->gameId != gameId || result->result != STEAM_RESULT_OK) return;
    statsReady = 1;
    ISteamUserStats* stats = SteamUserStats();
    if (!stats) return;
    for (auto& e : entries) {
        bool achieved = false;
        if (e.awarded && stats->GetAchievement(e.name, &achieved)) *e.awarded = achieved ? 1 : 0;
    }
}

void CachievementsMgr::onUserStatsStored(UserStatsStored_t*) {}
void CachievementsMgr::onUserAchievementStored(UserAchievementStored_t*) {}
