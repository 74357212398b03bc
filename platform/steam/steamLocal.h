#pragma once
// Set-up and test control of the local Steam client behind steamApi.h.
//
// The client acts for a player who is logged on: the Steam id is stable for the
// desktop user on this machine, the persona name is the desktop user's name,
// and remote storage, achievements, leaderboards and the friends list are kept
// in files under "<save folder>/steam/". Tests switch on the faults below to
// make each call fail the way a real client can.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/steam/steamApi.h"
#include "platform/steam/steamWorkshopStore.h"

struct CsteamFaults {
    bool initFails = false;     // SteamAPI_Init returns false (Steam not running)
    bool notLoggedOn = false;   // BLoggedOn false; stats requests and uploads refused
    bool writeFails = false;    // remote-storage writes fail
    bool readFails = false;     // remote-storage reads return nothing
    bool findFails = false;     // leaderboard finds report "not found"
    bool ioFailure = false;     // every call result arrives with an I/O failure
    std::vector<std::string> missingInterfaces;   // version strings not served
    // Workshop: publishes and commits report the legal agreement unaccepted;
    // calls refused at once, by name ("FileShare", "UpdatePublishedFileTitle",
    // "FileWrite <file name>", ...); calls whose result carries another code
    // than OK, by name.
    bool workshopAgreementNeeded = false;
    std::vector<std::string> refusedCalls;
    std::map<std::string, int32_t> callResults;
};

struct CsteamCounters {
    int setAchievementCalls = 0;   // accepted SetAchievement calls
    int storeStatsCalls = 0;
    int findCalls = 0;
    int uploadCalls = 0;
    int downloadCalls = 0;
    int screenshots = 0;
    int fileShareCalls = 0;
    int publishCalls = 0;
    int commitCalls = 0;
    int subscribeCalls = 0;
    int enumerateCalls = 0;
    int detailsCalls = 0;
    int ugcDownloadCalls = 0;
    int deletePublishedCalls = 0;
    int overlayNotificationPosition = -1;
    std::string lastOverlayUrl;
};

namespace steamLocal {

// The app id the client reports; set before SteamAPI_Init.
void setAppId(uint32_t appId);
uint32_t appId();
// The folder of the client's files; by default "steam/" in the engine's save
// folder, taken at SteamAPI_Init.
void setRoot(const std::string& folder);

// The workshop's folder, shared by every player who names it; by default
// "workshop/" in the client's folder, or the environment's
// ZORBEX_STEAM_WORKSHOP. Taken at SteamAPI_Init.
void setWorkshopRoot(const std::string& folder);

// Where the client's screenshots come from: the game writes its next whole
// frame to path as a PNG and then calls done with the outcome. Unset, every
// screenshot fails. Kept by reset().
using CsteamFrameSource = std::function<void(const std::string& path, std::function<void(bool written)> done)>;
void setFrameSource(CsteamFrameSource source);
bool hasFrameSource();
// Where an overlay web page opens instead (there is no overlay): the page's
// address goes to the opener, which shows it in the desktop's browser. Unset,
// the request is only recorded (counters().lastOverlayUrl). Kept by reset().
using CsteamWebPageOpener = std::function<bool(const std::string& url)>;
void setWebPageOpener(CsteamWebPageOpener opener);
bool hasWebPageOpener();
// The files of the player's screenshot library ("screenshots/" in the
// client's folder), oldest first.
std::vector<std::string> screenshotFiles();

// The player's Steam id as the client computes it.
uint64_t localSteamId();

// ---- test control ----
// Shuts the client down and clears faults, counters, overrides and the root.
// Registered callback objects stay registered.
void reset();
CsteamFaults& faults();
CsteamCounters& counters();
// Tells the interface caches that what is served has changed (after editing
// faults().missingInterfaces while running).
void interfacesChanged();

void setPersonaName(const std::string& name);
bool addFriend(uint64_t steamId, const std::string& name);
// An entry of another user on a board (the board is made when missing).
bool addBoardEntry(const std::string& board, uint64_t steamId, int32_t score, const void* details,
                   size_t detailsBytes);
// Payloads posted as if Steam sent them.
void postUserStatsReceived(uint64_t gameId, int32_t result);
void postOverlayActivated(bool active);

// Workshop items as another player would publish them; 0 on failure.
uint64_t addWorkshopItem(uint64_t owner, const std::string& title, const std::string& description,
                         const Cbytes& file, const Cbytes& preview);
// A new version of an item's file (its update time moves on).
bool replaceWorkshopFile(uint64_t id, const Cbytes& file);
bool setWorkshopBanned(uint64_t id, bool banned);
bool subscribeWorkshopItem(uint64_t id);
bool findWorkshopItem(uint64_t id, CworkshopStoredItem& out);
bool readWorkshopFile(uint64_t id, bool preview, Cbytes& out);

// Results and callbacks waiting for the next SteamAPI_RunCallbacks.
int pendingResults();
bool isAchieved(const std::string& name);
int boardEntryCount(const std::string& board);

}  // namespace steamLocal
