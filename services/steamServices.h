#pragma once
// CsteamServices: the engine-side Steam members together, wired to each other,
// with the start-up and per-update entry points the engine and game call.
//
//   init()    from the game's start-up; logs "Steam Init" and, when Steam has
//             started, "Steam Success". False leaves the error as the last log
//             line for the fatal-error path.
//   update()  once per engine update, last of the engine members.
//
// While Steam runs it serves the engine's cloudSave / cloudLoad hooks, so save
// files with the cloud flag go through Steam remote storage. The platform's
// analytics seam goes to the engine's analytics client; its other seams (player
// id, friend list, time played, loading tick) are left for the owner to connect.
#include "services/achievementsMgr.h"
#include "services/platformSteam.h"
#include "services/steamLeaderboardMgr.h"

class CsteamServices {
public:
    CsteamServices();
    ~CsteamServices();
    CsteamServices(const CsteamServices&) = delete;
    CsteamServices& operator=(const CsteamServices&) = delete;

    bool init();
    void update() { platform.update(); }

    // The start-up sequence's last step: the marker board "FriendOwnsGame"
    // becomes the first Steam board, its find starts, and once found the
    // marker is uploaded and the friends who own the game are read.
    void startFriendsLookup();

    CsteamLeaderboardMgr leaderboards;
    CplatformSteam platform;
    CachievementsMgr achievementsMgr;

private:
    bool hooked_ = false;
};
