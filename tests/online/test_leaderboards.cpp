// Web leaderboards against the local service.
#include "onlineFixture.h"

TEST_F(OnlineTest, BoardDownloadDecodesTheRows) {
    uint64_t me = signIn();
    CperSongScore a;
    a.name = "Alpha";
    a.comment = "first!";
    a.country = "GB";
    CperSongScore b = a;
    b.name = "Bravo";
    service.addRow("trackkey1", 11, 5000, a.write());
    service.addRow("trackkey1", 12, 9000, b.write());
    service.addRow("trackkey1", me, 100, a.write());
    for (int i = 0; i < 20; ++i) service.addRow("trackkey1", 100 + i, 1000 + i, a.write());

    CleaderboardMgr& m = online->leaderboards;
    ASSERT_TRUE(m.requestTrackBoard("trackkey1", true));
    EXPECT_TRUE(m.requestTrackBoard("trackkey1", true));   // already queued: no second request
    ASSERT_TRUE(pumpUntil(*online, [&] { return !m.isBusy(); }));
    Cboard* board = m.findBoard("trackkey1");
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board, m.getShipBoard(true, "trackkey1"));
    ASSERT_TRUE(board->downloaded);
    EXPECT_EQ(board->topCount, 10);
    ASSERT_EQ(board->entries.size(), 11u);   // the top ten, then the player's own entry
    EXPECT_EQ(board->entries[0].playerId, 12u);
    EXPECT_EQ(CperSongScore::read(board->entries[0].record).name, "Bravo");
    EXPECT_EQ(CperSongScore::read(board->entries[1].record).comment, "first!");
    EXPECT_EQ(CperSongScore::read(board->entries[1].record).country, "GB");
    EXPECT_EQ(board->entries[10].playerId, me);
    for (size_t i = 1; i < (size_t)board->topCount; ++i) EXPECT_GE(board->entries[i - 1].score, board->entries[i].score);
    ASSERT_EQ(m.finishedBoards(), std::vector<std::string>{"trackkey1"});

    const std::pair<uint64_t, int> places[] = {{10000, 0}, {5001, 1}, {5, -1}};   // -1: below a full top list
    for (auto [score, place] : places) EXPECT_EQ(m.getScorePlaceOnBoard(board, score), place) << score;
    EXPECT_EQ(m.getScorePlaceOnBoard(nullptr, 5), -1);
}

TEST_F(OnlineTest, SubmittedScoreAppearsOnTheBoard) {
    uint64_t me = signIn("Ace", "ace@example.com", "pw");
    std::vector<std::string> steam;
    online->leaderboards.addSteamBoard = [&](const std::string& n, const std::string&, int, int, int) { steam.push_back(n); };
    CleaderboardMgr& m = online->leaderboards;
    ASSERT_TRUE(m.submitBoardScore(CleaderboardMgr::kXpBoard, 4242, std::string("Rank 3")));
    ASSERT_TRUE(m.requestBoardDownload(CleaderboardMgr::kXpBoard, true));
    ASSERT_TRUE(pumpUntil(*online, [&] { return !m.isBusy(); }));
    Cboard* xp = m.board(0);
    ASSERT_EQ(xp->entries.size(), 1u);
    EXPECT_EQ(xp->entries[0].score, 4242u);
    EXPECT_EQ(xp->entries[0].playerId, me);
    CbasicScore back = CbasicScore::read(xp->entries[0].record);
    EXPECT_EQ(back.name, "Ace");
    EXPECT_EQ(back.comment, "Rank 3");
    EXPECT_EQ(back.day, (int32_t)online->soap.dayNumber());
    EXPECT_EQ(steam, std::vector<std::string>{"XP4"});

    // A lower score does not replace the best one; a custom ship's track
    // score goes to the "Shp_" board.
    ASSERT_TRUE(m.submitBoardScore(CleaderboardMgr::kXpBoard, 10, m.basicRecord("Rank 3", "Standard").write()));
    ASSERT_TRUE(m.submitTrackScore("key9", false, 777, CperSongScore{}));
    ASSERT_TRUE(pumpUntil(*online, [&] { return !m.isBusy(); }));
    ASSERT_EQ(service.rows("XP4").size(), 1u);
    EXPECT_EQ(service.rows("XP4")[0].score, 4242u);
    ASSERT_EQ(service.rows("Shp_key9").size(), 1u);
    EXPECT_EQ(service.rows("Shp_key9")[0].score, 777u);
}

TEST_F(OnlineTest, MalformedRecordsAreSafeToShow) {
    signIn();
    // A record shorter than its layout, and one whose texts claim huge lengths.
    service.addRow("BossRush", 1, 300, Cbytes{'5', 0, 'a'});
    service.addRow("BossRush", 2, 200, Cbytes(CbasicScore::kSize, '9'));
    CleaderboardMgr& m = online->leaderboards;
    ASSERT_TRUE(m.requestBoardDownload(CleaderboardMgr::kBossRushBoard, true));
    ASSERT_TRUE(pumpUntil(*online, [&] { return !m.isBusy(); }));
    Cboard* b = m.board(8);
    ASSERT_EQ(b->entries.size(), 2u);
    for (const auto& e : b->entries) {
        CbasicScore s = CbasicScore::read(e.record);
        EXPECT_EQ(s.name + s.comment + s.ship, "");
    }
    // One too big for any layout: the whole reply is refused.
    service.addRow("Survival_CustomShip", 3, 1, Cbytes(CleaderboardMgr::kMaxRecordSize + 1, 0));
    ASSERT_TRUE(m.requestBoardDownload(CleaderboardMgr::kSurvivalBoard, false));
    ASSERT_TRUE(pumpUntil(*online, [&] { return !m.isBusy(); }));
    EXPECT_FALSE(m.board(19)->downloaded);
    EXPECT_EQ(online->soap.lastErrorCode(), K4W_BAD_REPLY);
}

TEST_F(OnlineTest, ChallengeBoardsAndThePlainNameOverride) {
    signIn();
    ClocalChallenge c;
    c.trackTitle = "Sunrise";
    c.linkKind = "Y";
    c.linkId = "abc_DEF-123";
    service.setChallenge(24, c);
    CchallengeMgr& daily = online->dailyChallenge;
    daily.start(24, "24HourChall");
    ASSERT_TRUE(pumpUntil(*online, [&] { return daily.state != CHALL_REFRESH; }));
    ASSERT_EQ(daily.state, CHALL_READY);
    EXPECT_EQ(daily.challenge.trackTitle, "Sunrise");
    EXPECT_EQ(daily.challenge.linkKind, 'Y');
    EXPECT_EQ(daily.boardName(0), "24HourChall_HS_" + std::to_string(online->soap.unixTime() / 86400));

    CleaderboardMgr& m = online->leaderboards;
    EXPECT_EQ(m.trackBoardName("k", false), "Shp_k");
    daily.select();
    EXPECT_EQ(m.trackBoardName("k", false), "k");
    daily.deselect();
    EXPECT_EQ(m.trackBoardName("k", false), "Shp_k");
}

// A link that would end up in a web address is dropped; a challenge with a
// difficulty out of range, or none at all, is no challenge.
TEST_F(OnlineTest, ChallengeFromTheServiceIsCheckedBeforeUse) {
    signIn();
    ClocalChallenge c;
    c.trackTitle = "T";
    c.linkKind = "S";
    c.linkId = "../../evil?x=1";
    service.setChallenge(4, c);
    CchallengeMgr& l = online->lightningChallenge;
    l.start(4, "4HourChall");
    ASSERT_TRUE(pumpUntil(*online, [&] { return l.state != CHALL_REFRESH; }));
    ASSERT_EQ(l.state, CHALL_READY);
    EXPECT_EQ(l.challenge.linkKind, 0);
    EXPECT_EQ(l.challenge.linkId, "");
    for (bool clear : {false, true}) {
        c.difficulty = 99;
        clear ? service.clearChallenge(4) : service.setChallenge(4, c);
        l.state = CHALL_REFRESH;
        ASSERT_TRUE(pumpUntil(*online, [&] { return l.state != CHALL_REFRESH; }));
        EXPECT_EQ(l.state, CHALL_NONE) << clear;
    }
}

TEST_F(OnlineTest, PlacingInAFinishedChallengeWinsItsShip) {
    uint64_t me = signIn();
    int64_t t = 1800000000;
    ASSERT_TRUE(newToken(t));
    ClocalChallenge c;
    c.trackTitle = "Sunrise";
    service.setChallenge(24, c);
    CchallengeMgr& daily = online->dailyChallenge;
    daily.start(24, "24HourChall");
    ASSERT_TRUE(pumpUntil(*online, [&] { return daily.state == CHALL_READY; }));
    std::string board = daily.boardName(0);
    // The last place that still wins a ship.
    const int places = online->soap.config().rewardPlaces;
    for (int i = 1; i < places; ++i) service.addRow(board, 70 + i, 9000 + i, {});
    ASSERT_TRUE(online->leaderboards.submitChallengeScore(daily, 5000, CperSongScore{}));
    ASSERT_TRUE(pumpUntil(*online, [&] { return !online->leaderboards.isBusy(); }));

    // The next day: the last period's board is looked up once.
    ASSERT_TRUE(newToken(t + 86400));
    ASSERT_TRUE(pumpUntil(*online, [&] { return daily.hasPendingReward(); }));
    EXPECT_EQ(daily.reward.placing, places);
    EXPECT_EQ(daily.reward.trackTitle, "Sunrise");
    EXPECT_EQ(service.rows(board)[(size_t)places - 1].playerId, me);

    // That reward still waits to be shown when the next day's challenge is
    // played and won: its look-up is not held up.
    c.trackTitle = "Sunset";
    service.setChallenge(24, c);
    daily.state = CHALL_REFRESH;
    ASSERT_TRUE(pumpUntil(*online, [&] { return daily.state == CHALL_READY; }));
    ASSERT_TRUE(online->leaderboards.submitChallengeScore(daily, 9500, CperSongScore{}));
    ASSERT_TRUE(pumpUntil(*online, [&] { return !online->leaderboards.isBusy(); }));
    ASSERT_TRUE(newToken(t + 2 * 86400));
    ASSERT_TRUE(pumpUntil(*online, [&] { return !daily.laterRewards.empty(); }));
    EXPECT_EQ(daily.laterRewards[0].trackTitle, "Sunset");
    EXPECT_EQ(daily.laterRewards[0].placing, 1);

    // Shown one at a time, oldest first; each stays pending until it is
    // taken or let go.
    std::vector<std::string> shown;
    daily.onShowShipReward = [&](const CchallengeReward& r) { shown.push_back(r.trackTitle); };
    EXPECT_TRUE(daily.showPendingShipUnlock());
    EXPECT_FALSE(daily.showPendingShipUnlock());
    daily.rewardSettled();
    EXPECT_TRUE(daily.showPendingShipUnlock());
    daily.rewardSettled();
    EXPECT_FALSE(daily.hasPendingReward());
    EXPECT_FALSE(daily.showPendingShipUnlock());
    EXPECT_EQ(shown, (std::vector<std::string>{"Sunrise", "Sunset"}));
}
