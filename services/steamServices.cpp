#include "services/steamServices.h"

#include "engine/engine.h"

CsteamServices::CsteamServices() {
    platform.leaderboardMgr = &leaderboards;
    platform.sendEvent = [](const char* category, const char* action, const char* label) {
        if (gEngine) gEngine->analytics.sendEvent(category, action, label);
    };
}

CsteamServices::~CsteamServices() {
    if (hooked_ && gEngine) {
        gEngine->cloudSave = nullptr;
        gEngine->cloudLoad = nullptr;
    }
    SteamAPI_Shutdown();
}

bool CsteamServices::init() {
    gEngine->log.print(LOG_L, "Steam Init");
    if (platform.appId == kNoAppId) platform.appId = kZorbexAppId;
    if (!platform.init()) return false;
    if (ISteamUser* user = SteamUser()) gEngine->steamId = user->GetSteamID();
    gEngine->cloudSave = [this](const std::string& name, const Cbytes& data) {
        return platform.saveToCloud(name.c_str(), data.data(), data.size());
    };
    gEngine->cloudLoad = [this](const std::string& name, Cbytes& data) {
        if (platform.loadFromCloud(name.c_str()) == 0) {
            // A damaged file is handed over as it is: the save layer keeps it aside.
            if (platform.cloudDamaged.empty()) return platform.cloudUnreadable ? CLOUD_UNREADABLE : CLOUD_NONE;
            data = std::move(platform.cloudDamaged);
            return CLOUD_READ;
        }
        data = platform.cloudLoadBuffer;
        return CLOUD_READ;
    };
    hooked_ = true;
    gEngine->log.print(LOG_L, "Steam Success");
    return true;
}

void CsteamServices::startFriendsLookup() {
    leaderboards.addBoard("FriendOwnsGame", "FriendOwnsGame", LEADERBOARD_SORT_ASCENDING, LEADERBOARD_DISPLAY_NONE,
                          LEADERBOARD_UPLOAD_FORCE_UPDATE);
    leaderboards.findNextBoard();
    platform.markerUploadPending = 1;
}
