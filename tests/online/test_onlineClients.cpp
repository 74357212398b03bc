// Friends, inbox, messages, configuration, counters, statistics and the
// challenge cache.
#include <filesystem>

#include "engine/resourceFile.h"
#include "engine/saveFile.h"
#include "game/progress/playerStatsCache.h"
#include "onlineFixture.h"

TEST(FriendList, FindsCountsAndSurvivesASaveRoundTrip) {
    CtestEngine eng;
    CfriendList f;
    EXPECT_FALSE(f.addOrUpdate(0, 0, "nobody"));
    EXPECT_TRUE(f.addOrUpdate(1, 10, "SteamPal"));
    EXPECT_TRUE(f.addOrUpdate(0, 20, "Added1"));
    EXPECT_TRUE(f.addOrUpdate(0, 30, std::string(60, 'z')));
    EXPECT_EQ(f.getFriendIdxOfType(0, 1), 2);
    EXPECT_EQ(f.getFriendIdxOfType(0, 2), -1);
    EXPECT_EQ(f.findById(30)->name.size(), 39u);
    // Adding a Steam friend by id turns the entry into an added one.
    EXPECT_TRUE(f.addOrUpdate(0, 10, "Renamed"));
    EXPECT_EQ(f.size(), 3u);
    EXPECT_EQ(f.getNumFriendsOfType(0), 3);

    Cbytes b = f.serialise();
    CfriendList g;
    ASSERT_TRUE(g.deserialise(b.data(), b.size()));
    EXPECT_EQ(g.findById(10)->name, "Renamed");
    EXPECT_FALSE(g.deserialise(b.data(), b.size() - 1));   // not whole entries: refused
    EXPECT_EQ(g.size(), 3u);

    // A statistics record that is not whole pairs is refused: no friend gets
    // statistics from it.
    CsaveFile bad("friendsTest");
    bad.addRecord("friends", [&](Cbytes& out) { out = b; }, [](const uint8_t*, size_t) { return true; });
    bad.addRecord("friendsStats", [](Cbytes& out) {
        out = Cbytes(17, 0);   // a whole pair for friend 30, then one byte more
        putU64(out.data(), 30);
        putU64(out.data() + 8, 99);
    }, [](const uint8_t*, size_t) { return true; });
    ASSERT_TRUE(bad.saveItems());
    CfriendList h;
    CsaveFile load("friendsTest");
    h.registerRecord(load, "friends");
    load.loadItems();
    EXPECT_FALSE(h.findById(30) && h.findById(30)->statsId);
}

TEST(Inbox, EntriesPackTidyAndMarkRead) {
    Cinbox in;
    int64_t today = 20000;
    in.today = [&] { return today; };
    CinboxEntry e;
    e.type = INBOX_DETHRONED;
    e.day = (uint32_t)today;
    e.score = 123456;
    e.messageId = 1;
    Cbytes packed = e.pack();
    CinboxEntry back;
    EXPECT_FALSE(CinboxEntry::unpack(packed.data(), packed.size() - 1, back));
    packed[4] = 3;   // not a news type
    EXPECT_FALSE(CinboxEntry::unpack(packed.data(), packed.size(), back));

    EXPECT_TRUE(in.add(e));
    EXPECT_FALSE(in.add(e));   // the same message twice
    for (int i = 0; i < 60; ++i) {
        CinboxEntry x = e;
        x.messageId = 100 + i;
        x.day = (uint32_t)(today - (i < 5 ? 90 : 1));   // the first five are old
        in.add(x);
    }
    in.tidy();
    EXPECT_EQ(in.entries().size(), Cinbox::kMaxEntries);
    for (const auto& x : in.entries()) EXPECT_LE(today - (int64_t)x.day, Cinbox::kMaxAgeDays);
    EXPECT_EQ(in.numUnread(), 50);
    in.markAllRead();

    Cbytes all = in.serialise();
    Cinbox copy;
    ASSERT_TRUE(copy.deserialise(all.data(), all.size()));
    EXPECT_EQ(copy.entries().size(), 50u);
    EXPECT_EQ(copy.entries()[0].read, 1);
}

TEST_F(OnlineTest, MessagesReachTheInboxOneAtATime) {
    uint64_t me = signIn();
    CinboxEntry news;
    news.type = INBOX_WORLD_HIGHSCORE;
    news.score = 999;
    news.trackKey = "k1";
    service.addMessage(me, INBOX_WORLD_HIGHSCORE, 55, "Rival", news.pack());
    service.addMessage(me, 4, 55, "Rival", Cbytes{1, 2, 3});        // a notice: handed on
    service.addMessage(me, INBOX_DETHRONED, 55, "Rival", Cbytes(10, 0));   // malformed news
    std::vector<CplayerMessage> other;
    online->messages.onMessage = [&](const CplayerMessage& m) { other.push_back(m); };

    CmessagePoller& p = online->messages;
    ASSERT_TRUE(p.retrieveMessages(true));
    ASSERT_TRUE(pumpUntil(*online, [&] { return p.done; }));
    ASSERT_EQ(online->inbox.entries().size(), 1u);
    EXPECT_EQ(online->inbox.entries()[0].otherName, "Rival");
    EXPECT_EQ(online->inbox.entries()[0].score, 999u);
    ASSERT_EQ(other.size(), 1u);
    EXPECT_EQ(other[0].type, 4);
    EXPECT_EQ(service.numMessages(me), 0u);   // fetched messages are gone from the service

    // Not forced and the period not over: no request.
    p.retrieving = p.done = false;
    p.enabled = true;
    EXPECT_FALSE(p.retrieveMessages(false));

    // Sending: a news record to another player.
    uint64_t other2 = service.addAccount("Other", "o@example.com", "x");
    ASSERT_TRUE(p.sendMessage(other2, INBOX_DETHRONED, news.pack()));
    ASSERT_TRUE(pumpUntil(*online, [&] { return service.numMessages(other2) == 1; }));
    EXPECT_EQ(service.messagesFor(other2)[0].fromName, "Pilot");
}

TEST_F(OnlineTest, GameConfigCountersAndStats) {
    uint64_t me = signIn();
    service.setGameConfig(-5.0f, "v1.23");
    ASSERT_TRUE(online->gameConfig.startGetGameConfig());
    ASSERT_TRUE(waitTask(online->gameConfig.task));
    ASSERT_TRUE(online->gameConfig.task.success());
    EXPECT_EQ(online->gameConfig.record.versionText, "v1.23");
    EXPECT_EQ(online->gameConfig.record.messagePollPeriod, CgameConfig::kMinPollPeriod);
    for (auto [text, number] : {std::pair{"v1.23", 123}, {"v1.2", 0}, {"vX.YZ", 0}})
        EXPECT_EQ(CgameConfig::versionNumber(text), number) << text;

    service.setCounter("Vessik_ShipDiscover", 41);
    CatomicCounters& c = online->counters;
    ASSERT_TRUE(c.add("Vessik_ShipDiscover", 1));
    ASSERT_TRUE(pumpUntil(*online, [&] { return !c.isBusy(); }));
    int64_t v = 0;
    ASSERT_TRUE(c.value("Vessik_ShipDiscover", v));
    EXPECT_EQ(v, 42);
    EXPECT_FALSE(c.value("Unknown", v));

    // Statistics are filed under the Steam id the record starts with.
    const uint64_t steamId = 76561190000001234ull;
    CplayerStatsRecord rec;
    rec.steamId = steamId;
    rec.xp = 4321;
    Cbytes mine(k4wSOAP::kStatsRecordSize, 0);
    rec.write(mine.data());
    ASSERT_TRUE(online->playerStats.uploadStats(mine));
    EXPECT_FALSE(online->playerStats.uploadStats(Cbytes(10, 0)));
    ASSERT_TRUE(waitTask(online->playerStats.uploadTask));
    EXPECT_EQ(service.stats(steamId), mine);
    service.setStats(77, Cbytes(12, 1));   // malformed: dropped
    ASSERT_TRUE(online->playerStats.requestStats({steamId, 77, 12345}));
    ASSERT_TRUE(pumpUntil(*online, [&] { return online->playerStats.collect(); }));
    auto got = online->playerStats.takeResults();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].playerId, steamId);
    EXPECT_EQ(got[0].record, mine);
}

TEST(ChallengeList, CacheFilesAndTheActiveChallenge) {
    CtestEngine eng;
    CchallengeList list;
    list.playerId = 4242;
    EXPECT_EQ(CchallengeList::staticDataFileName("../../x y"), "StaticData_______x_y.dat");   // stays in the save folder

    CasyncChallenge c;
    c.guid = 99;
    c.opponentName = "Rival";
    ASSERT_TRUE(list.cacheChallenge(c));

    // A fresh list finds it through its file.
    CchallengeList fresh;
    fresh.playerId = 4242;
    CasyncChallenge* found = fresh.findCachedChallenge(99);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->opponentName, "Rival");
    EXPECT_EQ(fresh.findCachedChallenge(5), nullptr);

    EXPECT_TRUE(fresh.activateChallenge(99));
    ASSERT_NE(fresh.activeChallenge(), nullptr);

    EXPECT_TRUE(list.deleteChallenge(99));
    EXPECT_FALSE(std::filesystem::exists(gEngine->savePath("4242_Chall_99.dat")));

    // A damaged cache file is not used.
    const char junk[] = "ZXAC\x01\0\0\0 short";
    CresourceFile::save("4242_Chall_5.dat", junk, sizeof junk);
    EXPECT_EQ(list.findCachedChallenge(5), nullptr);

    // The GUID list and a timed challenge's reward go through a save file.
    CsaveFile save("gamesaveTest");
    list.cacheChallenge(c);
    list.registerRecord(save, "challGuids");
    ASSERT_TRUE(save.saveItems());
    list.clearGuids();
    ASSERT_TRUE(save.loadItems());
    ASSERT_EQ(list.guids().size(), 1u);
    EXPECT_EQ(list.guids()[0], 99);
}

TEST(ChallengeMgr, RewardStateSurvivesASave) {
    CtestEngine eng;
    Conline online;
    CchallengeMgr& d = online.dailyChallenge;
    d.lastAttempt.periodNumber = 20123;
    d.rewardPending = true;
    d.reward.placing = 3;
    CchallengeReward later;
    later.trackTitle = "Later";
    later.duration = 215;
    d.laterRewards = {later};
    CsaveFile save("gamesaveTest2");
    d.registerRecord(save, "daily");
    ASSERT_TRUE(save.saveItems());
    d.lastAttempt = CtimedChallenge{};
    d.rewardPending = false;
    d.reward = CchallengeReward{};
    d.laterRewards.clear();
    ASSERT_TRUE(save.loadItems());
    EXPECT_EQ(d.lastAttempt.periodNumber, 20123);
    EXPECT_TRUE(d.rewardPending);
    EXPECT_EQ(d.reward.placing, 3);
    ASSERT_EQ(d.laterRewards.size(), 1u);
    EXPECT_EQ(d.laterRewards[0].trackTitle, "Later");
    EXPECT_EQ(d.laterRewards[0].duration, 215);
}

TEST(OnlineHooks, EngineSeamsReadTheSessionAndFillTheFriendList) {
    CtestEngine eng;
    {
        Conline online;
        ASSERT_TRUE(online.init());
        ASSERT_TRUE(gEngine->steam.platform.addFriend);
        gEngine->steam.platform.addFriend(1, 777, "SteamPal");
        EXPECT_TRUE(online.friends.contains(777));
        EXPECT_EQ(gEngine->steam.platform.friendCount(), 1);
        EXPECT_EQ(gEngine->steam.platform.webPlayerId(), 0);
        EXPECT_FALSE(gEngine->analytics.isSignedIn());
    }
    // Gone with the online services: nothing points at them any more.
    EXPECT_FALSE(gEngine->steam.platform.addFriend);
    EXPECT_FALSE(gEngine->analytics.playerId);
}
