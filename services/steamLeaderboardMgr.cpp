#include "services/steamLeaderboardMgr.h"

#include <algorithm>
#include <cstring>

#include "engine/bString.h"
#include "engine/engine.h"

void CsteamLeaderboardMgr::addBoard(const char* name, const char* secondName, int32_t sortMethod, int32_t displayType,
                                    int32_t uploadMethod) {
    CsteamBoardRecord b;
    copyToField(b.name, sizeof b.name, name ? name : "");
    copyToField(b.secondName, sizeof b.secondName, secondName ? secondName : "");
    b.sortMethod = sortMethod;
    b.displayType = displayType;
    b.uploadMethod = uploadMethod;
    boards.push_back(b);
    entryLists.emplace_back();
}

void CsteamLeaderboardMgr::findNextBoard() {
    if (findBusy) return;
    ISteamUserStats* stats = SteamUserStats();
    if (!stats) return;
    for (size_t i = 0; i < boards.size(); ++i) {
        if (boards[i].handle != 0) continue;
        SteamAPICall_t call = stats->FindOrCreateLeaderboard(boards[i].name, (ELeaderboardSortMethod)boards[i].sortMethod,
                                                             (ELeaderboardDisplayType)boards[i].displayType);
        if (call != kSteamCallInvalid) {
            findingIndex_ = i;
            findResult.set(call, this, &CsteamLeaderboardMgr::onFindResult);
            findBusy = 1;
        }
        return;
    }
}

void CsteamLeaderboardMgr::onFindResult(LeaderboardFindResult_t* result, bool ioFailure) {
    findBusy = 0;
    if (ioFailure || !result->found || result->leaderboard == 0) {
        if (findingIndex_ < boards.size())
            gEngine->log.print(LOG_V, "Steam leaderboard not found: %s", boards[findingIndex_].name);
        return;   // the chain stops; the next findNextBoard tries this board again
    }
    ISteamUserStats* stats = SteamUserStats();
    const char* found = stats ? stats->GetLeaderboardName(result->leaderboard) : "";
    // The handle belongs to the board whose find this was. Looking it up by
    // name alone would give two boards that differ only in case the same
    // record, and the second would be searched for forever.
    CsteamBoardRecord* target = nullptr;
    if (findingIndex_ < boards.size() && boards[findingIndex_].handle == 0 &&
        equalsIgnoreCase(boards[findingIndex_].name, found))
        target = &boards[findingIndex_];
    for (size_t i = 0; !target && i < boards.size(); ++i)
        if (boards[i].handle == 0 && strcmp(boards[i].name, found) == 0) target = &boards[i];
    if (!target) {
        gEngine->log.print(LOG_V, "Steam leaderboard found but not listed: %s", found);
        return;
    }
    target->handle = result->leaderboard;
    findNextBoard();
}

void CsteamLeaderboardMgr::uploadMarker(const char* text) {
    ISteamUserStats* stats = SteamUserStats();
    if (!stats || boards.empty()) return;
    CsteamBoardRecord& b = boards[0];
    copyToField(b.details, sizeof b.details, text ? text : "");
    if (b.handle == 0) return;
    int32_t details[kBoardDetailsInts];
    memcpy(details, b.details, sizeof details);
    SteamAPICall_t call = stats->UploadLeaderboardScore(b.handle, (ELeaderboardUploadScoreMethod)b.uploadMethod, 100,
                                                        details, kBoardDetailsInts);
    if (call == kSteamCallInvalid) return;
    uploadResult.set(call, this, &CsteamLeaderboardMgr::onScoreUploaded);
    uploadBusy = 1;
}

void CsteamLeaderboardMgr::onScoreUploaded(LeaderboardScoreUploaded_t*, bool) { uploadBusy = 0; }

void CsteamLeaderboardMgr::downloadFriends() {
    ISteamUserStats* stats = SteamUserStats();
    if (!stats || boards.empty() || boards[0].handle == 0) return;
    SteamAPICall_t call = stats->DownloadLeaderboardEntries(boards[0].handle, LEADERBOARD_REQUEST_FRIENDS, 0, 100);
    if (call == kSteamCallInvalid) return;
    downloadResult.set(call, this, &CsteamLeaderboardMgr::onDownloaded);
    downloadBusy = 1;
}

void CsteamLeaderboardMgr::onDownloaded(LeaderboardScoresDownloaded_t* result, bool ioFailure) {
    if (ioFailure) {
        gEngine->log.print(LOG_V, "OnLeaderboardDownloadedEntries: I/O failure");
        downloadBusy = 0;
        return;
    }
    OnLeaderboardDownloadedEntries(result);
}

void CsteamLeaderboardMgr::OnLeaderboardDownloadedEntries(LeaderboardScoresDownloaded_t* result) {
    size_t index = boards.size();
    for (size_t i = 0; i < boards.size(); ++i)
        if (boards[i].handle != 0 && boards[i].handle == result->leaderboard) {
            index = i;
            break;
        }
    if (index == boards.size() || index >= entryLists.size()) {
        gEngine->log.print(LOG_V, "OnLeaderboardDownloadedEntries: Board not found");
        downloadBusy = 0;
        return;
    }
    CsteamEntryList& list = entryLists[index];
    list.entries.clear();
    ISteamUserStats* stats = SteamUserStats();
    for (int32_t k = 0; stats && k < result->entryCount; ++k) {
        CsteamDownloadedEntry e{};
        if (!stats->GetDownloadedLeaderboardEntry(result->entries, k, &e.entry, e.details, kBoardDetailsInts)) break;
        list.entries.push_back(e);
    }
    // The count is what was read, so readers never index past the entries.
    list.count = (int32_t)list.entries.size();
    downloadBusy = 0;
}

std::string CsteamLeaderboardMgr::detailsText(const CsteamDownloadedEntry& e) {
    char text[sizeof e.details + 1] = {};
    size_t words = (size_t)std::clamp(e.entry.detailsCount, 0, kBoardDetailsInts);
    memcpy(text, e.details, words * sizeof(int32_t));
    return std::string(text);   // stops at the first zero; the last byte is always one
}
