#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "engine/webMessage.h"
#include "game/progress/achievementDefs.h"
#include "game/progress/playerProgress.h"
#include "game/progress/playerShipMgr.h"
#include "game/progress/playerStatsCache.h"
#include "game/progress/trackStats.h"
#include "services/steamAchievements.h"
#include "support/testEngine.h"

namespace {

struct Cworld {
    CplayerProgress progress;
    CplayerShipMgr ships;
    CachievementDefs ach;
    std::vector<std::string> awarded;
    Cworld() {
        ships.attach(&progress);
        ach.attach(&progress);
        EXPECT_TRUE(ships.loadBuiltIn());
        EXPECT_TRUE(ach.load());
        ach.award = [this](const std::string& n) { awarded.push_back(n); };
    }
};

}  // namespace

TEST(Achievements, DataFileMirrorsTheSteamTable) {
    CtestEngine eng;
    Cworld w;
    std::vector<std::string> names;
    for (const auto& a : w.ach.defs)
        for (const auto& m : a.milestones) names.push_back(m.steamName);
    ASSERT_EQ(names.size(), 62u);
    std::set<std::string> unique(names.begin(), names.end());
    EXPECT_EQ(unique.size(), 62u);
    const CsteamAchievements steam;
    for (const CsteamAchievementRow& row : steam.rows) EXPECT_TRUE(unique.count(row.apiName)) << row.apiName;
    for (const auto& a : w.ach.defs)
        EXPECT_TRUE(gEngine->language().has(a.title) && gEngine->language().has(a.desc)) << a.title;
}

TEST(Achievements, MilestonesAwardAndWait) {
    CtestEngine eng;
    Cworld w;
    CachievementDef* tracks = w.ach.findAchievement("AchCompTracks");
    ASSERT_TRUE(tracks);
    w.ach.addProgress(tracks, 4);
    EXPECT_EQ(w.awarded, (std::vector<std::string>{"AchCompTracks1"}));
    w.ach.addProgress(tracks, 20);
    EXPECT_EQ(w.awarded.size(), 3u);
    EXPECT_TRUE(w.progress.saveDirty);
    // The waiting group (category 0) holds the achievement once, with its count.
    ASSERT_EQ(w.ach.getNumInCategory(0), 1);
    EXPECT_EQ(w.ach.getAchievementInCategory(0, 0), tracks);
    EXPECT_EQ(w.ach.getWaitingMilestones(0), 3);
    EXPECT_TRUE(w.ach.claimWaiting(0));
    EXPECT_EQ(w.ach.getNumInCategory(0), 0);
    EXPECT_FALSE(w.ach.getAchievementInCategory(5, 6));
    w.ach.addProgress(nullptr, 1);
}

TEST(Achievements, RecordsAndShipTracks) {
    CtestEngine eng;
    Cworld w;
    w.progress.tracksCompleted = 5;
    w.progress.timePlayed = 3600.0 * 5.5;
    w.progress.setXP((int64_t)10000000);   // rank 11
    w.progress.bossTonnage = 12000;
    w.ships.ships[0]->tracksCompleted = 12;
    w.ach.updateFromRecords(w.progress, w.ships);
    auto has = [&](const char* n) { return std::count(w.awarded.begin(), w.awarded.end(), n) == 1; };
    for (const char* n : {"AchCompTracks5", "AchHours2", "AchRank2", "AchBossTonnage2", "AchShipTracks2"})
        EXPECT_TRUE(has(n)) << n;
    EXPECT_FALSE(has("AchHours3"));
    size_t before = w.awarded.size();
    w.ach.updateFromRecords(w.progress, w.ships);
    EXPECT_EQ(w.awarded.size(), before);   // nothing awarded twice

    w.ships.ships[1]->tracksCompleted = 30;
    w.ach.checkShipTracks(w.ships);
    EXPECT_TRUE(has("AchShipTracks3"));

    // Stored counts come back with their milestones and award nothing.
    Cbytes out;
    w.ach.write(out);
    std::map<std::string, uint32_t> staged;
    ASSERT_TRUE(w.ach.read(out.data(), out.size(), staged));
    Cworld fresh;
    fresh.ach.applyCounts(staged);
    EXPECT_TRUE(fresh.awarded.empty());
    EXPECT_EQ(fresh.ach.findAchievement("AchShipTracks")->milestonesReached, 3);
    EXPECT_FALSE(w.ach.read(out.data(), out.size() - 2, staged));
}

TEST(Progress, CashXpAndBests) {
    CtestEngine eng;
    CplayerProgress p;
    p.addCash(-250);
    EXPECT_EQ(p.cash, 0);
    p.addCash(INT64_MAX);
    p.addCash(10);
    EXPECT_EQ(p.cash, INT64_MAX);
    p.addXP(UINT64_MAX);
    EXPECT_EQ(p.xp, INT64_MAX);

    std::vector<std::tuple<int, uint64_t, std::string>> boards;
    p.submitBoard = [&](int b, uint64_t s, const std::string& t) { boards.push_back({b, s, t}); };
    EXPECT_TRUE(p.submitBossRushScore(500, "wave 5", true));
    EXPECT_TRUE(p.submitBossRushScore(300, "worse", true));   // the stored best goes again
    EXPECT_TRUE(p.submitSurvivalScore(700, "", false));
    EXPECT_FALSE(p.submitSurvivalScore(0, "", true));
    ASSERT_EQ(boards.size(), 3u);
    EXPECT_EQ(boards[1], std::make_tuple(8, uint64_t(500), std::string("worse")));
    EXPECT_EQ(boards[2], std::make_tuple(19, uint64_t(700), std::string("")));

    CplayerStatsRecord local;
    p.syncLocalStats(local);
    EXPECT_EQ(local.survivalCustom, 700u);
    // The local record says where the player plays, also once the service's
    // copy (which may say otherwise) has replaced it.
    EXPECT_STREQ(Cengine::platformName(local.platform), "Linux");
    CplayerStatsCache cache;
    cache.local = local;
    CplayerStatsRecord fetched = local;
    fetched.platform = 0;
    cache.addPlayer(fetched);
    EXPECT_STREQ(Cengine::platformName(cache.local.platform), "Linux");
}

TEST(Progress, RecordRoundTripAndChecks) {
    CtestEngine eng;
    CplayerProgress p;
    p.xp = 123456789012LL;
    p.clientId = makeUuidText();
    p.playerName = "Pilot \xE2\x98\x85";
    p.bestBossWave = 31;
    Cbytes out;
    p.CprogressRecord::write(out);
    ASSERT_EQ(out.size(), CprogressRecord::kRecordSize);
    CprogressRecord back;
    ASSERT_TRUE(back.read(out.data(), out.size()));
    EXPECT_EQ(back.xp, p.xp);
    EXPECT_EQ(back.playerName, p.playerName);
    EXPECT_EQ(back.bestBossWave, 31u);

    putU64(&out[12], (uint64_t)-40);   // negative cash
    memset(&out[146], 'x', 64);        // unterminated name
    ASSERT_TRUE(back.read(out.data(), out.size()));
    EXPECT_EQ(back.cash, 0);
    EXPECT_EQ(back.playerName.size(), 64u);
    putU32(&out[0], 2);
    EXPECT_FALSE(back.read(out.data(), out.size()));
    EXPECT_FALSE(back.read(out.data(), 100));
}

TEST(TrackStats, BestsAndSubmission) {
    CtestEngine eng;
    CtrackStats t;
    int saves = 0, boards = 0;
    t.save = [&]() { return ++saves > 0; };
    t.submitBoards = [&](const CtrackRecord&, const CshipSnapshot&) { ++boards; };
    EXPECT_TRUE(t.isNewBest("abc", 0));   // an unrecorded track
    CshipSnapshot ship{"Vessik", true, false};
    EXPECT_TRUE(t.submitScore("abc", 1000, 2, 0.5f, ship, "first"));
    CtrackRecord* r = t.findTrack("ABC");
    ASSERT_TRUE(r);
    EXPECT_FALSE(t.isNewBest("abc", 1000));
    // A lower score on a finished run keeps the best and raises the completion.
    EXPECT_FALSE(t.submitScore("abc", 900, 5, 1.0f, {"Standard", true, true}, "second"));
    EXPECT_EQ(r->bestScore, 1000u);
    EXPECT_EQ(r->comment, "first");
    EXPECT_FLOAT_EQ(r->completion, 1.0f);
    EXPECT_EQ(boards, 1);
    EXPECT_FALSE(t.submitScore("abc", 99999, 5, 1.0f, {"Draft", false, false}, ""));

    Cbytes out;
    t.write(out);
    std::vector<CtrackRecord> staged;
    ASSERT_TRUE(t.read(out.data(), out.size(), staged));
    EXPECT_FALSE(t.read(out.data(), out.size() - 1, staged));
    out.push_back(0);
    EXPECT_FALSE(t.read(out.data(), out.size(), staged));
}

TEST(PlayerStats, RecordQueueAndNames) {
    CtestEngine eng;
    CplayerStatsCache cache;
    cache.local.steamId = 7;
    cache.setRecordName("Me");
    EXPECT_EQ(getPlayerNameById(cache, -1), "Me");
    EXPECT_FALSE(cache.findPlayer(8, true));
    EXPECT_EQ(cache.numRequests(), 1u);
    EXPECT_FALSE(cache.requestStats(8, "key", 10, 2, "Ship"));   // one pending for 8 already
    EXPECT_TRUE(cache.requestStats(9, "key", 10, 2, "Ship"));

    cache.fetch = [&](uint64_t id, CplayerStatsRecord& out) {
        out.name = "P" + std::to_string(id);
        return id != 9;
    };
    std::vector<uint64_t> arrived;
    cache.onArrived = [&](const CplayerStatsCache::Crequest& r, const CplayerStatsRecord&) { arrived.push_back(r.id); };
    EXPECT_TRUE(waitUntil([&] {
        cache.update();
        return !cache.requestsPending();
    }));
    EXPECT_EQ(arrived, (std::vector<uint64_t>{8}));
    EXPECT_EQ(getPlayerNameById(cache, 8), "P8");

    // With the service off nobody waits on the queue.
    gEngine->webServiceOff = true;
    cache.queuePlayer(12);
    cache.update();
    EXPECT_FALSE(cache.requestsPending());

    // The cache holds a bounded number of players, the oldest going first.
    CplayerStatsRecord other;
    for (uint64_t id = 100; id < 100 + CplayerStatsCache::kMaxPlayers; ++id) {
        other.steamId = id;
        cache.addPlayer(other);
    }
    EXPECT_EQ(cache.players.size(), CplayerStatsCache::kMaxPlayers);
    EXPECT_FALSE(cache.findPlayer(8));

    uint8_t rec[CplayerStatsRecord::kRecordSize];
    CplayerStatsRecord r = other;
    r.name = "P8";
    r.platform = 2;
    r.write(rec);
    CplayerStatsRecord back;
    ASSERT_TRUE(back.read(rec, sizeof rec));
    EXPECT_EQ(back.name, "P8");
    EXPECT_EQ(back.platform, 2);
    rec[76] = 77;   // no such platform
    ASSERT_TRUE(back.read(rec, sizeof rec));
    EXPECT_EQ(back.platform, 0);
}
