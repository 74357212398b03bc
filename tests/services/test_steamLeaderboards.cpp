// CsteamLeaderboardMgr through the local client: the find chain, the marker
// upload and the friends download.
#include <gtest/gtest.h>

#include <cstring>

#include "services/steamLeaderboardMgr.h"
#include "support/steamTestClient.h"

namespace {
struct CboardsFixture {
    CboardsFixture() { EXPECT_TRUE(SteamAPI_Init()); }
    void add(const char* name) { m.addBoard(name, name, LEADERBOARD_SORT_DESCENDING, LEADERBOARD_DISPLAY_NUMERIC, LEADERBOARD_UPLOAD_KEEP_BEST); }
    void run(int n) {
        for (int i = 0; i < n; ++i) SteamAPI_RunCallbacks();
    }
    CsteamTestClient steam;
    CsteamLeaderboardMgr m;
};
}  // namespace

TEST(SteamLeaderboards, BoardsAreFoundOneAfterAnother) {
    CboardsFixture f;
    f.add("One");
    f.add("Two");
    f.add("Three");
    f.m.findNextBoard();
    f.m.findNextBoard();   // one find at a time
    EXPECT_EQ(steamLocal::counters().findCalls, 1);
    for (int found = 1; found <= 3; ++found) {
        f.run(1);
        int have = 0;
        for (const auto& b : f.m.boards) have += b.handle != 0;
        EXPECT_EQ(have, found);
    }
    EXPECT_STREQ(SteamUserStats()->GetLeaderboardName(f.m.boards[2].handle), "Three");
    f.m.findNextBoard();   // all found: nothing more
    EXPECT_EQ(steamLocal::counters().findCalls, 3);
}

TEST(SteamLeaderboards, AFailedFindEndsTheChainAndIsRetriedLater) {
    CboardsFixture f;
    f.add("One");
    f.add("Two");
    steamLocal::faults().findFails = true;
    f.m.findNextBoard();
    f.run(3);
    EXPECT_EQ(f.m.findBusy, 0);
    EXPECT_EQ(f.m.boards[0].handle, 0u);
    EXPECT_EQ(steamLocal::counters().findCalls, 1);
    steamLocal::faults().findFails = false;
    f.m.findNextBoard();
    f.run(3);
    EXPECT_NE(f.m.boards[0].handle, 0u);
    EXPECT_NE(f.m.boards[1].handle, 0u);

}

// A download of no entries empties the list; one for a board not listed is dropped.
TEST(SteamLeaderboards, DownloadsFillOnlyTheirOwnList) {
    CboardsFixture f;
    f.add("Empty");
    f.m.findNextBoard();
    f.run(1);
    f.m.entryLists[0].count = 5;   // whatever was there before
    f.m.downloadFriends();
    EXPECT_EQ(f.m.downloadBusy, 1);
    f.run(1);
    EXPECT_EQ(f.m.downloadBusy, 0);
    EXPECT_EQ(f.m.entryLists[0].count, 0);
    EXPECT_TRUE(f.m.entryLists[0].entries.empty());

    f.m.downloadBusy = 1;
    LeaderboardScoresDownloaded_t r{};
    r.leaderboard = 999;
    r.entryCount = 3;
    f.m.OnLeaderboardDownloadedEntries(&r);
    EXPECT_TRUE(gEngine->log.contains("OnLeaderboardDownloadedEntries: Board not found"));
    EXPECT_EQ(f.m.downloadBusy, 0);
    EXPECT_EQ(f.m.entryLists[0].count, 0);
}

TEST(SteamLeaderboards, EntryDetailsAreReadAsTerminatedText) {
    CsteamDownloadedEntry e{};
    memset(e.details, 'x', sizeof e.details);   // no zero anywhere
    memcpy(e.details, "42", 2);
    e.entry.detailsCount = kBoardDetailsInts;
    std::string t = CsteamLeaderboardMgr::detailsText(e);
    EXPECT_EQ(t.size(), sizeof e.details);
    EXPECT_EQ(t.substr(0, 2), "42");
    e.entry.detailsCount = 1;   // only the uploaded ints count
    EXPECT_EQ(CsteamLeaderboardMgr::detailsText(e), "42xx");
    e.entry.detailsCount = -3;
    EXPECT_EQ(CsteamLeaderboardMgr::detailsText(e), "");
}

