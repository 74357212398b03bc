// What the player keeps across runs: the game is played, quit and started
// again over the same save folder, as a player would.
#include <filesystem>

#include "roadFixture.h"
#include "support/testEngine.h"

namespace {

class KeptRecordsTest : public RoadTest {
protected:
    void TearDown() override {
        RoadTest::TearDown();
        removeFolderTree(folder);
    }
    // Start-up to the main menu over the folder, web service off.
    void startOver() {
        g.reset();
        makeGame("-SteamBoards", false, folder);
        toTitle();
        pressReturn();
        ASSERT_TRUE(reachMode(GM_MAIN_MENU));
    }
    // The way out a player takes: the window closed (the final save).
    void quit() {
        gGame->endGame();
        ASSERT_TRUE(gGame->quit);
    }
    std::string folder = makeTempFolder("kept");
};

CinboxEntry newsEntry(uint64_t messageId) {
    CinboxEntry e;
    e.type = INBOX_DETHRONED;
    e.day = (uint32_t)gGame->online.soap.dayNumber();
    e.score = 4242;
    e.messageId = messageId;
    e.otherName = "Rival";
    e.trackKey = "trackkey";
    e.shipName = "Standard";
    return e;
}

}  // namespace

TEST_F(KeptRecordsTest, FriendsChallengesAndNewsComeBackAfterARestart) {
    ASSERT_NO_FATAL_FAILURE(startOver());
    Conline& o = gGame->online;
    ASSERT_TRUE(o.friends.addOrUpdate(0, 987654321, "Added By Id"));
    o.dailyChallenge.lastAttempt.periodNumber = 20100;
    o.dailyChallenge.lastAttempt.trackTitle = "Daily Track";
    o.dailyChallenge.rewardPending = true;
    o.dailyChallenge.reward.placing = 2;
    o.dailyChallenge.reward.trackTitle = "Won Track";
    o.lightningChallenge.lastAttempt.periodNumber = 120600;
    o.lightningChallenge.lastAttempt.artist = "Storm";
    CasyncChallenge c;
    c.guid = 4711;
    c.opponentName = "Opponent";
    c.trackTitle = "Duel";
    o.challengeList.playerId = 5;
    ASSERT_TRUE(o.challengeList.cacheChallenge(c));
    ASSERT_TRUE(o.inbox.add(newsEntry(31)));
    g->steps(2);   // the news is written as it arrives
    EXPECT_TRUE(std::filesystem::exists(savePath("newsfeed4")));
    ASSERT_NO_FATAL_FAILURE(quit());

    ASSERT_NO_FATAL_FAILURE(startOver());
    Conline& back = gGame->online;
    const CfriendEntry* f = back.friends.findById(987654321);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->type, 0);
    EXPECT_EQ(f->name, "Added By Id");
    EXPECT_EQ(back.dailyChallenge.lastAttempt.periodNumber, 20100);
    EXPECT_EQ(back.dailyChallenge.lastAttempt.trackTitle, "Daily Track");
    EXPECT_TRUE(back.dailyChallenge.hasPendingReward());
    EXPECT_EQ(back.dailyChallenge.reward.placing, 2);
    EXPECT_EQ(back.dailyChallenge.reward.trackTitle, "Won Track");
    EXPECT_EQ(back.lightningChallenge.lastAttempt.periodNumber, 120600);
    EXPECT_EQ(back.lightningChallenge.lastAttempt.artist, "Storm");
    EXPECT_FALSE(back.lightningChallenge.hasPendingReward());
    ASSERT_EQ(back.challengeList.guids().size(), 1u);
    EXPECT_EQ(back.challengeList.guids()[0], 4711);
    ASSERT_EQ(back.inbox.entries().size(), 1u);
    EXPECT_EQ(back.inbox.entries()[0].messageId, 31u);
    EXPECT_EQ(back.inbox.entries()[0].otherName, "Rival");
}

// A game save whose last record does not read changes none of these: the
// file is taken whole or not at all.
TEST(KeptRecords, ChallengeAndFriendReadersWaitForTheWholeFile) {
    CtestEngine eng;
    Conline online;
    CsaveFile file("allOrNothing");
    online.friends.registerRecord(file, "friends");
    online.challengeList.registerRecord(file, "challGuids");
    online.dailyChallenge.registerRecord(file, "24HourChall");
    online.inbox.registerRecord(file, "inbox");
    file.addRecord("tail", [](Cbytes& out) { out = {1}; }, [](const uint8_t*, size_t) { return false; });
    online.friends.addOrUpdate(0, 77, "Saved");
    online.dailyChallenge.lastAttempt.periodNumber = 9;
    online.dailyChallenge.rewardPending = true;
    online.challengeList.playerId = 1;
    CasyncChallenge c;
    c.guid = 5;
    ASSERT_TRUE(online.challengeList.cacheChallenge(c));
    CinboxEntry e;
    e.messageId = 3;
    ASSERT_TRUE(online.inbox.add(e));
    ASSERT_TRUE(file.saveItems());

    online.friends.clear();
    online.friends.addOrUpdate(0, 88, "Now");
    online.dailyChallenge.lastAttempt = CtimedChallenge{};
    online.dailyChallenge.rewardPending = false;
    online.challengeList.clearGuids();
    online.inbox.clear();
    EXPECT_FALSE(file.loadItems());
    EXPECT_TRUE(online.friends.contains(88));
    EXPECT_FALSE(online.friends.contains(77));
    EXPECT_EQ(online.dailyChallenge.lastAttempt.periodNumber, -1);
    EXPECT_FALSE(online.dailyChallenge.rewardPending);
    EXPECT_TRUE(online.challengeList.guids().empty());
    EXPECT_TRUE(online.inbox.entries().empty());
}
