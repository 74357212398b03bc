#pragma once
// Set-up and test control of the local Steam client behind steamApi.h.
//
// The client acts for a player who is logged on: the Steam id is stable for the
// desktop user on this machine, the persona name is the desktop user's name,
// and remote storage, achievements, leaderboards and the friends list are kept
// in files under "<save folder>/steam/". Tests switch on the faults below to
// make each call fail the way a real client can.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/steam/steamApi.h"

struct CsteamFaults {
    bool initFails = false;     // SteamAPI_Init returns false (Steam not running)
    bool notLoggedOn = false;   // BLoggedOn false; stats requests and uploads refused
    bool writeFails = false;    // remote-storage writes fail
    bool readFails = false;     // remote-storage reads return nothing
    bool findFails = false;     // leaderboard finds report "not found"
    bool ioFailure = false;     // every call result arrives with an I/O failure
    std::vector<std::string> missingInterfaces;   // version strings not served
};

struct CsteamCounters {
    int setAchievementCalls = 0;   // accepted SetAchievement calls
    int storeStatsCalls = 0;
    int findCalls = 0;
    int uploadCalls = 0;
    int downloadCalls = 0;
    int screenshots = 0;
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

// Results and callbacks waiting for the next SteamAPI_RunCallbacks.
int pendingResults();
bool isAchieved(const std::string& name);
int boardEntryCount(const std::string& board);

}  // namespace steamLocal
