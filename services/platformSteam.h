#pragma once
// CplatformSteam: the game's one link to the Steam client. Starts the API,
// pumps its callbacks once per engine update, picks the player's currency from
// the price table, writes and reads cloud files for the save layer, learns
// which Steam friends own the game from the marker board, and answers the
// persona name and Steam id. Main thread only, except the cloud calls, which
// the save task may make.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/bString.h"
#include "engine/webMessage.h"
#include "platform/steam/steamCallback.h"

class CsteamLeaderboardMgr;

constexpr uint32_t kNoAppId = 0xFFFFFFFFu;
constexpr uint32_t kZorbexAppId = 424242;
// The friend-list entry type of friends learned through Steam.
constexpr int kSteamFriendType = 1;
// Persona names are cut to this many bytes, on a character boundary.
constexpr size_t kMaxPersonaBytes = 29;

struct CcountryCurrency {
    char country[5];
    char currency[5];
};

struct CiapPrice {
    char currency[5];
    float amount;   // in the currency's main unit
};

struct CiapItem {
    char name[20];
    std::vector<CiapPrice> prices;
};

class CplatformSteam {
public:
    CplatformSteam();
    ~CplatformSteam();
    CplatformSteam(const CplatformSteam&) = delete;
    CplatformSteam& operator=(const CplatformSteam&) = delete;

    // Starts the Steam API; false (with a level-4 log line as the last line)
    // when Steam is not running.
    bool init();
    // Once per engine update, last of the engine members.
    void update();

    bool saveToCloud(const char* name, const void* data, size_t size);
    // The raw size of the cloud file, its bytes in cloudLoadBuffer; 0 when the
    // file is missing or anything about it is wrong.
    size_t loadFromCloud(const char* name);

    void refreshFriends();
    const CbString& getSteamName();
    const CbString& getSteamIdString();

    // The price table reader of "steamIAPPrices.txt".
    bool loadIAPPrices();
    void parseIAPPrices(const char* text);

    void onGameOverlayActivated(GameOverlayActivated_t* result);

    char currency[5];
    std::vector<CcountryCurrency> countryToCurrency;
    std::vector<CiapItem> items;
    uint32_t appId = kNoAppId;
    uint8_t markerUploadPending = 0;
    uint8_t friendsDownloadPending = 0;
    ISteamRemoteStorage* remoteStorage = nullptr;
    uint64_t quotaTotal = 0;
    uint64_t quotaAvailable = 0;
    int32_t fileCount = 0;
    Cbytes cloudLoadBuffer;
    // The bytes of the last cloud file read that could not be unpacked.
    Cbytes cloudDamaged;
    // The last cloud file asked for is there but its bytes could not be read.
    bool cloudUnreadable = false;
    CsteamCallback<CplatformSteam, GameOverlayActivated_t> CCallbackInternal_onGameOverlayActivated;

    // The marker board's manager; set by the owner.
    CsteamLeaderboardMgr* leaderboardMgr = nullptr;

    // Seams to parts that live elsewhere, connected by the owner: the
    // web-service player id, its friend list, analytics, the progress
    // record's time played and the loading screen's tick.
    std::function<int64_t()> webPlayerId;
    std::function<void(int type, int64_t accountId, const std::string& name)> addFriend;
    std::function<int()> friendCount;
    std::function<void(const char* category, const char* action, const char* label)> sendEvent;
    std::function<double()> timePlayedSeconds;
    std::function<void()> loadingTick;

private:
    CbString steamName_;
    CbString steamIdString_;
    bool steamNameLogged_ = false;
    bool steamIdLogged_ = false;
};

// Cuts a persona name to kMaxPersonaBytes on a UTF-8 character boundary.
std::string cutPersonaName(const char* name);
