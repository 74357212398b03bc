// CsteamAchievements and CachievementsMgr through the local client.
#include <gtest/gtest.h>

#include "services/achievementsMgr.h"
#include "services/steamAchievements.h"
#include "support/steamTestClient.h"

namespace {
struct CachFixture {
    CachFixture() { EXPECT_TRUE(SteamAPI_Init()); }
    // Registration and the stats answer, as during loading.
    void start() {
        rows.registerWithSteam(mgr);
        SteamAPI_RunCallbacks();
    }
    CsteamTestClient steam;
    CachievementsMgr mgr;
    CsteamAchievements rows;
};
}  // namespace

TEST(SteamAchievements, AwardedOnceInAnyCaseAndNeverResent) {
    CachFixture f;
    f.start();
    f.rows.award("achrank2");
    EXPECT_EQ(f.rows.rows[14].awarded, 1);
    EXPECT_EQ(steamLocal::counters().setAchievementCalls, 1);
    EXPECT_EQ(steamLocal::counters().storeStatsCalls, 1);
    EXPECT_TRUE(steamLocal::isAchieved("AchRank2"));
    f.rows.award("AchRank2");
    f.rows.award("ACHRANK2");
    EXPECT_EQ(steamLocal::counters().setAchievementCalls, 1);
}

TEST(SteamAchievements, HeldBySteamAlreadyIsNeverSentAgain) {
    CachFixture earlier;   // a previous run unlocked it
    earlier.start();
    earlier.rows.award("AchHours1");
    ASSERT_TRUE(steamLocal::isAchieved("AchHours1"));
    // The next run reads the same client files.
    SteamAPI_Shutdown();
    CachievementsMgr mgr;
    CsteamAchievements rows;
    ASSERT_TRUE(SteamAPI_Init());
    steamLocal::counters() = CsteamCounters{};
    rows.registerWithSteam(mgr);
    SteamAPI_RunCallbacks();
    EXPECT_EQ(rows.rows[17].awarded, 1);
    EXPECT_EQ(rows.rows[18].awarded, 0);
    rows.award("AchHours1");
    EXPECT_EQ(steamLocal::counters().setAchievementCalls, 0);
}

TEST(SteamAchievements, StatsForAnotherAppOrAFailureChangeNothing) {
    CachFixture f;
    steamLocal::faults().notLoggedOn = true;   // no request of our own
    f.rows.registerWithSteam(f.mgr);
    steamLocal::faults().notLoggedOn = false;
    EXPECT_EQ(steamLocal::pendingResults(), 0);
    f.rows.rows[3].awarded = 1;
    steamLocal::postUserStatsReceived(kTestAppId + 1, STEAM_RESULT_OK);
    steamLocal::postUserStatsReceived(kTestAppId, STEAM_RESULT_FAIL);
    SteamAPI_RunCallbacks();
    EXPECT_EQ(f.mgr.statsReady, 0);
    EXPECT_EQ(f.rows.rows[3].awarded, 1);
    f.rows.award("AchRank1");   // marked, not sent: stats never arrived
    EXPECT_EQ(f.rows.rows[13].awarded, 1);
    EXPECT_EQ(steamLocal::counters().setAchievementCalls, 0);
    EXPECT_FALSE(f.mgr.setAchievement(13));
}

TEST(SteamAchievements, NotLoggedOnMarksTheRowButSendsNothing) {
    CachFixture f;
    f.start();
    steamLocal::faults().notLoggedOn = true;
    f.rows.award("AchShip1");
    EXPECT_EQ(f.rows.rows[27].awarded, 1);
    EXPECT_FALSE(steamLocal::isAchieved("AchShip1"));
    steamLocal::faults().notLoggedOn = false;
    f.rows.award("AchShip1");   // not sent again this run
    EXPECT_EQ(steamLocal::counters().setAchievementCalls, 0);
    EXPECT_FALSE(f.mgr.setAchievement(-1));
    EXPECT_FALSE(f.mgr.setAchievement(62));
}

