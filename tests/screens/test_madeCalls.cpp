// Calls that other parts of the game make into screens, entered as a player
// does: the music bar's and the news feed's boards and a won challenge's ship.
#include <gtest/gtest.h>

#include "engine/ui/uiMgr.h"
#include "online/inbox.h"
#include "screens/NewsFeed.h"
#include "screens/confirm.h"
#include "screens/leaderboard.h"
#include "screens/musicBar.h"
#include "screens/startUp.h"
#include "screens/unlockChallengeShip.h"
#include "screens/unlockProcShip.h"
#include "routeWalker.h"

namespace {
// The real main menu, with a built-in track playing and the music bar up as
// the title screen leaves it.
struct ChubFixture : CrouteWalker {
    CmusicBarScreen& bar = *screens::get<CmusicBarScreen>();
    ChubFixture() {
        for (const char* t : {"Tut_ProcShip1", "Tut_TimedChallenge1", "Tut_TimedChallenge2"})
            gUi->tutorials.find(t)->seen = true;
        screens::get<CstartUpScreen>()->finished = true;
        gGame->music.addBuiltInTracks();
        gGame->music.playTrack(gGame->songLibrary.entry(0));
        bar.activate();
        toMainMenu();
    }
    bool reach(int mode) {
        const bool reached = waitForMode(g, mode, 300);
        g.settle(40);
        return reached;
    }
};

CchallengeReward prize(const char* title, int placing) {
    CchallengeReward r;
    r.trackTitle = title;
    r.artist = "The Winners";
    r.duration = 185;
    r.placing = placing;
    r.periodNumber = 900;
    return r;
}
}  // namespace

// The music bar and the news feed hand the board their track; Back returns
// where the player was, and the hub's own button shows the list again.
TEST(MadeCalls, TheMusicBarAndTheNewsFeedOpenTheirTracksBoardAndBackReturns) {
    ChubFixture f;
    ASSERT_TRUE(f.g.initOk());
    CleaderboardScreen& board = *screens::get<CleaderboardScreen>();
    f.tile("Achievements");
    ASSERT_TRUE(f.reach(GM_ACHIEVEMENTS));
    const std::string playing = gGame->music.currentTrack->getKey();
    f.g.click(f.bar.leaderboard());
    ASSERT_TRUE(f.reach(GM_LEADERBOARD));
    ASSERT_TRUE(board.hasTrack());
    EXPECT_EQ(board.track().getKey(), playing);
    f.g.tapAction(ACTION_BACK);
    EXPECT_TRUE(f.reach(GM_ACHIEVEMENTS));
    f.g.tapAction(ACTION_BACK);
    ASSERT_TRUE(f.reach(GM_MAIN_MENU));
    f.tile("Leaderboard");
    ASSERT_TRUE(f.reach(GM_LEADERBOARD));
    EXPECT_FALSE(board.hasTrack());
    EXPECT_TRUE(board.choosing());

    // Nothing in the game opens the news feed; it is entered at once here.
    const std::string key = gGame->songLibrary.entry(1)->getKey();
    CinboxEntry e;
    e.type = INBOX_DETHRONED;
    e.trackKey = key;
    e.messageId = 7;
    e.dethroned = 1;
    e.score = 7000;
    e.otherName = "Rival";
    gGame->online.inbox.add(e);
    gGame->setGameMode(GM_NEWS_FEED);
    ASSERT_TRUE(f.reach(GM_NEWS_FEED));
    Cmenu* list = screens::get<CnewsFeedScreen>()->menu();
    const size_t rows = list->itemCount();
    Cwidget* boardButton = nullptr;
    for (size_t i = 0; i < rows; ++i)
        if (list->item(i)->floatValue == (float)NEWS_LEADERBOARD) boardButton = list->item(i);
    f.g.click(boardButton);
    ASSERT_TRUE(f.reach(GM_LEADERBOARD));
    ASSERT_TRUE(board.hasTrack());
    EXPECT_EQ(board.track().getKey(), key);
    f.g.tapAction(ACTION_BACK);
    ASSERT_TRUE(f.reach(GM_NEWS_FEED));
    EXPECT_EQ(list->itemCount(), rows);
    EXPECT_FALSE(gGame->online.inbox.entries()[0].read);
}

TEST(MadeCalls, AWonChallengeShowsItsShipThenGrantsItFreeAndTheNextPrizeFollows) {
    ChubFixture f;
    ASSERT_TRUE(f.g.initOk());
    CchallengeMgr& daily = gGame->online.dailyChallenge;
    daily.reward = prize("First Prize", 2);
    daily.rewardPending = true;
    daily.laterRewards.push_back(prize("Second Prize", 1));
    const int64_t cash = gGame->progress.cash;

    ASSERT_TRUE(f.reach(GM_UNLOCK_CHALLENGE_SHIP));
    EXPECT_TRUE(f.g.logHas("Challenge reward: First Prize, place 2"));
    const std::string key = challengeShipKey("First Prize", "The Winners", 185);
    f.g.tapAction(ACTION_SELECT);
    ASSERT_TRUE(f.reach(GM_UNLOCK_PROC_SHIP));
    CunlockProcShipScreen& offer = *screens::get<CunlockProcShipScreen>();
    EXPECT_EQ(offer.shipKey(), key);
    EXPECT_EQ(offer.procShipPrice(), 0);
    f.g.tapAction(ACTION_SELECT);
    f.g.settle(5);
    CconfirmScreen& confirm = *screens::get<CconfirmScreen>();
    ASSERT_TRUE(confirm.showing());
    f.g.click(itemWithValue(confirm.menu(), 1));
    EXPECT_NE(gGame->playerShips.findShip(key), nullptr);
    EXPECT_EQ(gGame->progress.cash, cash);

    // Back at the hub the prize won meanwhile is shown in its turn.
    ASSERT_TRUE(f.reach(GM_MAIN_MENU));
    ASSERT_TRUE(f.reach(GM_UNLOCK_CHALLENGE_SHIP));
    EXPECT_TRUE(f.g.logHas("Challenge reward: Second Prize, place 1"));
    EXPECT_TRUE(daily.laterRewards.empty());
}
