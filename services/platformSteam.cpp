#include "services/platformSteam.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/engine.h"
#include "platform/steam/steamLocal.h"
#include "services/steamLeaderboardMgr.h"

std::string cutPersonaName(const char* name) {
    std::string_view s(name ? name : "");
    return std::string(s.substr(0, utf8CutPoint(s, kMaxPersonaBytes)));
}

CplatformSteam::CplatformSteam()
    : CCallbackInternal_onGameOverlayActivated(this, &CplatformSteam::onGameOverlayActivated) {
    copyToField(currency, sizeof currency, "USD");
}

CplatformSteam::~CplatformSteam() = default;

bool CplatformSteam::init() {
    if (appId != kNoAppId) steamLocal::setAppId(appId);
    if (!SteamAPI_Init()) {
        gEngine->log.print(LOG_E, "Error Starting Steam API - Is Steam running?");
        return false;
    }
    if (ISteamUtils* utils = SteamUtils()) utils->SetOverlayNotificationPosition(0);

    loadIAPPrices();

    for (const auto& row : countryToCurrency) {
        if (equalsIgnoreCase(row.country, gEngine->countryCode)) {
            copyToField(currency, sizeof currency, row.currency);
            break;
        }
    }
    if (strlen(currency) < 8) gEngine->currency = currency;

    remoteStorage = SteamRemoteStorage();
    if (remoteStorage) {
        fileCount = remoteStorage->GetFileCount();
        remoteStorage->GetQuota(&quotaTotal, &quotaAvailable);
    }
    return true;
}

void CplatformSteam::update() {
    SteamAPI_RunCallbacks();

    if (markerUploadPending && leaderboardMgr && !leaderboardMgr->boards.empty() &&
        leaderboardMgr->boards[0].handle != 0) {
        int64_t playerId = webPlayerId ? webPlayerId() : 0;
        // Without an account id yet the marker would overwrite a good one with "0".
        if (playerId > 0) {
            char marker[63] = {};
            snprintf(marker, sizeof marker, "%lld", (long long)playerId);
            leaderboardMgr->uploadMarker(marker);
        }
        markerUploadPending = 0;
        leaderboardMgr->downloadFriends();
        friendsDownloadPending = 1;
    }

    if (friendsDownloadPending && leaderboardMgr && !leaderboardMgr->downloadBusy) {
        friendsDownloadPending = 0;
        refreshFriends();
    }
}

void CplatformSteam::refreshFriends() {
    if (!leaderboardMgr || leaderboardMgr->entryLists.empty()) return;
    const CsteamEntryList& list = leaderboardMgr->entryLists[0];
    gEngine->log.print(LOG_A, "Got Steam Friends. Num=%d", (int)list.entries.size());
    ISteamFriends* friends = SteamFriends();
    for (const auto& e : list.entries) {
        std::string marker = CsteamLeaderboardMgr::detailsText(e);
        long long accountId = atoll(marker.c_str());
        if (accountId <= 0) continue;
        std::string name = cutPersonaName(friends ? friends->GetFriendPersonaName(e.entry.steamIdUser) : "");
        if (addFriend) addFriend(kSteamFriendType, accountId, name);
    }
    int count = friendCount ? friendCount() : 0;
    if (count > 10 && sendEvent) {
        CbString label;
        label.setf("Friends=%d %s ID=%lld V=%s TP=%.0fh", count, gEngine->countryCode.c_str(),
                   (long long)(webPlayerId ? webPlayerId() : 0), gEngine->versionText.c_str(),
                   (timePlayedSeconds ? timePlayedSeconds() : 0.0) / 3600.0);
        CbString action;
        action.setf("%d", count);
        sendEvent("NumFriends", action.c_str(), label.c_str());
    }
}

bool CplatformSteam::saveToCloud(const char* name, const void* data, size_t size) {
    Cbytes packed = CwebMessage::pack(0, data, size);
    bool ok = remoteStorage && name && packed.size() <= (size_t)INT32_MAX &&
              remoteStorage->FileWrite(name, packed.data(), (int32_t)packed.size());
    if (!ok) gEngine->log.print(LOG_E, "Save to cloud Failed: %d size = %d", (int)packed.size(), (int)size);
    return ok;
}

size_t CplatformSteam::loadFromCloud(const char* name) {
    cloudLoadBuffer.clear();
    cloudDamaged.clear();
    cloudUnreadable = false;
    if (!remoteStorage || !name) return 0;
    int32_t size = remoteStorage->GetFileSize(name);
    if (size <= 0) return 0;
    Cbytes packed((size_t)size);
    int32_t got = remoteStorage->FileRead(name, packed.data(), size);
    Cbytes raw;
    if (got != size || !CwebMessage::unpackPayload(packed.data(), packed.size(), raw)) {
        gEngine->log.print(LOG_E, "Load from cloud failed: %s", name);
        if (got == size) cloudDamaged = std::move(packed);
        else cloudUnreadable = true;
        return 0;
    }
    cloudLoadBuffer = std::move(raw);
    return cloudLoadBuffer.size();
}

const CbString& CplatformSteam::getSteamName() {
    ISteamFriends* friends = SteamFriends();
    steamName_.set(cutPersonaName(friends ? friends->GetPersonaName() : "").c_str());
    if (!steamNameLogged_) {
        steamNameLogged_ = true;
        gEngine->log.print(LOG_A, "SteamName = %s", steamName_.c_str());
    }
    return steamName_;
}

const CbString& CplatformSteam::getSteamIdString() {
    ISteamUser* user = SteamUser();
    long long id = user ? (long long)user->GetSteamID() : 0;
    steamIdString_.setf("%lld", id);
    if (!steamIdLogged_) {
        steamIdLogged_ = true;
        gEngine->log.print(LOG_A, "SID = %lld", id);
    }
    return steamIdString_;
}

void CplatformSteam::onGameOverlayActivated(GameOverlayActivated_t* result) {
    gEngine->log.print(LOG_A, result->active ? "Steam overlay now active" : "Steam overlay now inactive");
}
