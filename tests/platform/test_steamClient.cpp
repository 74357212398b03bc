// The local Steam client: the callback queue, remote storage and
// screenshots, and their faults.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "engine/resourceFile.h"
#include "platform/steam/steamCallback.h"
#include "support/steamTestClient.h"

namespace {
// Records what arrives, and can start another call from inside a handler.
struct Crecorder {
    std::vector<int> overlay;
    std::vector<LeaderboardFindResult_t> finds;
    std::vector<bool> findIo;
    std::vector<ScreenshotReady_t> shots;
    bool findAgainInHandler = false;
    CsteamCallback<Crecorder, GameOverlayActivated_t> overlayCb{this, &Crecorder::onOverlay};
    CsteamCallback<Crecorder, ScreenshotReady_t> shotCb{this, &Crecorder::onShot};
    CsteamCallResult<Crecorder, LeaderboardFindResult_t> findCr;

    void onOverlay(GameOverlayActivated_t* r) { overlay.push_back(r->active); }
    void onShot(ScreenshotReady_t* r) { shots.push_back(*r); }
    void onFind(LeaderboardFindResult_t* r, bool io) {
        finds.push_back(*r);
        findIo.push_back(io);
        if (findAgainInHandler) {
            findAgainInHandler = false;
            find("Second");
        }
    }
    void find(const char* name) {
        findCr.set(SteamUserStats()->FindOrCreateLeaderboard(name, LEADERBOARD_SORT_DESCENDING, LEADERBOARD_DISPLAY_NUMERIC),
                   this, &Crecorder::onFind);
    }
    const char* lastFound() const { return SteamUserStats()->GetLeaderboardName(finds.back().leaderboard); }
};
}  // namespace

// A find that goes wrong still answers, as a failure, and never reaches an
// object that has gone or a client that has shut down.
TEST(SteamClient, CallbacksAndCallResultsInOrderThroughFaultsAndDepartures) {
    const struct {
        const char* what;
        void (*fault)();
        bool afterTheCall, answered, found, io;
    } rows[] = {
        {"io failure", [] { steamLocal::faults().ioFailure = true; }, false, true, true, true},
        {"find fails", [] { steamLocal::faults().findFails = true; }, false, true, false, false},
        {"not logged on", [] { steamLocal::faults().notLoggedOn = true; }, false, true, false, false},
        {"shut down before the run", [] { SteamAPI_Shutdown(), SteamAPI_Init(); }, true, false, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        CsteamTestClient steam;
        ASSERT_TRUE(SteamAPI_Init());
        Crecorder r;
        if (!row.afterTheCall) row.fault();
        r.find("Board");
        if (row.afterTheCall) row.fault();
        SteamAPI_RunCallbacks();
        ASSERT_EQ(r.finds.size(), row.answered ? 1u : 0u);
        if (!row.answered) continue;
        EXPECT_EQ(r.findIo[0], row.io);
        if (!row.io) EXPECT_EQ(r.finds[0].found != 0, row.found);
    }
    CsteamTestClient steam;
    ASSERT_TRUE(SteamAPI_Init());
    {
        Crecorder gone;
        gone.find("Board");
        steamLocal::postOverlayActivated(false);
    }
    Crecorder r;
    SteamAPI_RunCallbacks();   // ASan would report a call into the destroyed object
    EXPECT_EQ(r.overlay.size(), 1u);
    EXPECT_TRUE(r.finds.empty());

    // Callbacks arrive on the next run, not before; a call started inside a
    // handler is answered by the following run; a second call on the same
    // call result drops the first.
    steamLocal::postOverlayActivated(true);
    EXPECT_EQ(r.overlay.size(), 1u);
    r.findAgainInHandler = true;
    r.find("First");
    SteamAPI_RunCallbacks();
    EXPECT_EQ(r.overlay, (std::vector<int>{0, 1}));
    ASSERT_EQ(r.finds.size(), 1u);
    SteamAPI_RunCallbacks();
    ASSERT_EQ(r.finds.size(), 2u);
    EXPECT_STREQ(r.lastFound(), "Second");
    r.find("A");
    r.find("B");
    SteamAPI_RunCallbacks();
    ASSERT_EQ(r.finds.size(), 3u);
    EXPECT_STREQ(r.lastFound(), "B");
    EXPECT_EQ(steamLocal::pendingResults(), 0);
}

// Files are kept across runs; a damaged boards file does not stop the start.
TEST(SteamClient, RemoteStorageKeepsFilesAcrossRuns) {
    CsteamTestClient steam;
    ASSERT_TRUE(makeFolders(steam.eng.saveDir() + "/steam"));
    ASSERT_TRUE(CresourceFile::writeFileAtomic(steam.eng.saveDir() + "/steam/leaderboards.dat", "junk", 4));
    ASSERT_TRUE(SteamAPI_Init());
    EXPECT_TRUE(gEngine->log.containsPart("leaderboard file damaged"));
    const char data[] = "cloud bytes";
    ASSERT_TRUE(SteamRemoteStorage()->FileWrite("gamesave3", data, sizeof data));
    ASSERT_TRUE(steam.restart());
    ISteamRemoteStorage* rs = SteamRemoteStorage();
    EXPECT_TRUE(rs->GetFileCount() == 1 && rs->GetFileSize("gamesave3") == (int32_t)sizeof data);
    char back[64] = {};
    EXPECT_EQ(rs->FileRead("gamesave3", back, sizeof back), (int32_t)sizeof data);
    EXPECT_STREQ(back, data);
    EXPECT_EQ(rs->FileRead("gamesave3", back, 5), 5);   // a short buffer gets its size
    EXPECT_TRUE(rs->GetFileSize("missing") == 0 && rs->FileRead("missing", back, sizeof back) == 0);
    for (const char* bad : {"", "../escape", "a/b", ".hidden", "c:\\x"}) EXPECT_FALSE(rs->FileWrite(bad, data, 4)) << bad;
    EXPECT_FALSE(rs->FileWrite("neg", data, -1) || rs->FileWrite("null", nullptr, 4));
    EXPECT_TRUE(rs->FileDelete("gamesave3") && !rs->FileExists("gamesave3"));

    // A folder where a file should be is moved out of the way, not left to
    // refuse every write.
    const std::string remote = steam.eng.saveDir() + "/steam/remote/";
    ASSERT_TRUE(std::filesystem::create_directory(remote + "settings2"));
    ASSERT_TRUE(rs->FileWrite("settings2", data, sizeof data));
    EXPECT_EQ(rs->FileRead("settings2", back, sizeof back), (int32_t)sizeof data);
    EXPECT_TRUE(std::filesystem::is_directory(remote + "settings2.bad"));
}

TEST(SteamClient, ScreenshotsComeFromTheFrameSourceAndNeverOverwriteTheLibrary) {
    CsteamTestClient s;
    ASSERT_TRUE(SteamAPI_Init());
    Crecorder rec;
    std::vector<std::string> asked;
    std::function<void(bool)> finish;
    steamLocal::setFrameSource([&](const std::string& path, std::function<void(bool)> done) {
        asked.push_back(path);
        finish = std::move(done);
    });
    // Ready only once the frame has been written, with the outcome.
    SteamScreenshots()->TriggerScreenshot();
    SteamAPI_RunCallbacks();
    EXPECT_TRUE(rec.shots.empty());
    ASSERT_EQ(asked.size(), 1u);
    ASSERT_TRUE(CresourceFile::writeFileAtomic(asked[0], "\x89PNG", 4));
    finish(true);
    SteamAPI_RunCallbacks();
    ASSERT_EQ(rec.shots.size(), 1u);
    EXPECT_TRUE(rec.shots[0].result == STEAM_RESULT_OK && rec.shots[0].local != kScreenshotHandleInvalid);
    EXPECT_EQ(steamLocal::screenshotFiles(), std::vector<std::string>{asked[0]});
    SteamScreenshots()->TriggerScreenshot();
    finish(false);
    SteamAPI_RunCallbacks();
    ASSERT_EQ(rec.shots.size(), 2u);
    EXPECT_EQ(rec.shots[1].result, STEAM_RESULT_FAIL);

    // The next run numbers on past the pictures already there.
    steamLocal::reset();
    steamLocal::setAppId(kTestAppId);
    ASSERT_TRUE(SteamAPI_Init());
    SteamScreenshots()->TriggerScreenshot();
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_NE(asked[2], asked[0]);
    finish(true);
    SteamAPI_RunCallbacks();
    // Without a frame source nothing can be taken.
    steamLocal::setFrameSource(nullptr);
    rec.shots.clear();
    SteamScreenshots()->TriggerScreenshot();
    SteamAPI_RunCallbacks();
    ASSERT_EQ(rec.shots.size(), 1u);
    EXPECT_EQ(rec.shots[0].result, STEAM_RESULT_FAIL);
}
