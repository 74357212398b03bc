// The screens that talk to the web service, with the service stalling,
// hanging up or answering nonsense: each says what went wrong, Back works at
// once, and no frame waits on the network. Entered from the title as a
// player enters them.
#include "engine/ui/table.h"
#include "online/scoreRecord.h"
#include "screens/dailyTracks.h"
#include "screens/findPlayer.h"
#include "screens/leaderboard.h"
#include "screens/mainMenu.h"
#include "screens/screenRegistry.h"
#include "roadFixture.h"
#include "screensFixture.h"

namespace {
const std::vector<std::string> kBoardOps = {"GetLeaderboard", "GetLeaderboardForPlayers", "GetLeaderboardSince"};
}  // namespace

class OnlineTroubleTest : public RoadTest {
protected:
    uint64_t me = 0;

    void toMainMenu() { me = reachMainMenu(); }
    Cwidget* tile(const char* name) { return screens::get<CmainMenuScreen>()->screen()->findWidget(name, false); }
    // Every call to the service was made beside the frame loop, and no frame
    // waited for a network task to end.
    bool framesNeverWaited() const {
        for (const std::string& l : lines("k4w "))
            if (l.find("called on the main thread") != std::string::npos) return false;
        return lines("Main thread waits for network task").empty();
    }
    bool indicatorShows(const char* tag) const {
        return gUi->loadingIndicator.showing && gUi->loadingIndicator.text == gEngine->text(tag);
    }

    CleaderboardScreen& boardScreen() { return *screens::get<CleaderboardScreen>(); }
    Cwidget* noScores() { return boardScreen().screen()->findWidget("NoScores", false); }
    void openBoards() {
        click(tile("Leaderboard"));
        ASSERT_TRUE(reachMode(GM_LEADERBOARD));
        g->steps(20);
    }
    void chooseBoard(int index) { click(itemWithValue(boardScreen().screen()->findMenu("List"), index)); }
    bool boardShown() {
        return runUntil([] { return !gUi->loadingIndicator.showing; }, 10.0);
    }

    CfindPlayerScreen& finder() { return *screens::get<CfindPlayerScreen>(); }
    void typeId(uint64_t id) {
        click(finder().widget("EnterNameTextBox"));
        ASSERT_TRUE(gUi->textEntry.active);
        for (size_t i = gUi->textEntry.text.charCount(); i > 0; --i) tapKey(SDL_SCANCODE_BACKSPACE);
        typeText(std::to_string(id));
    }
};

TEST_F(OnlineTroubleTest, LeaderboardBackWorksAtOnceWhileTheServiceStallsAndItSaysWhyItHasNoScores) {
    toMainMenu();
    service.setFault(ClocalWebService::FAULT_STALL, kBoardOps);
    openBoards();
    chooseBoard(1);
    g->steps(2);
    ASSERT_TRUE(indicatorShows("Working"));

    tapAction(ACTION_BACK);   // one tap: back to the list at once
    EXPECT_FALSE(gUi->loadingIndicator.showing);
    EXPECT_TRUE(boardScreen().choosing());
    tapAction(ACTION_BACK);
    ASSERT_TRUE(reachMode(GM_MAIN_MENU, 3.0));

    // The stalled download ends on its own; the menu is not disturbed.
    Cboard* b = gGame->online.leaderboards.board(1);
    ASSERT_TRUE(runUntil([b] { return !b->queued; }, 10.0));
    g->steps(10);
    EXPECT_EQ(gGame->mode(), GM_MAIN_MENU);
    EXPECT_FALSE(gUi->loadingIndicator.showing);
    EXPECT_EQ(b->failure, CALL_TIMED_OUT);

    // The board says why it has no scores, and marks scores kept from before as old.
    struct Ccase {
        ClocalWebService::Efault fault;
        const char* tag;
    };
    openBoards();
    for (Ccase c : {Ccase{ClocalWebService::FAULT_HANG_UP, "ServiceUnreachable"},
                    Ccase{ClocalWebService::FAULT_GARBAGE, "ServiceBadReply"},
                    Ccase{ClocalWebService::FAULT_STALL, "ServiceTimedOut"}}) {
        service.setFault(c.fault, kBoardOps);
        chooseBoard(2);
        ASSERT_TRUE(boardShown()) << c.tag;
        g->steps(2);
        EXPECT_TRUE(noScores()->visible()) << c.tag;
        EXPECT_EQ(noScores()->getText(), gEngine->text(c.tag));
        tapAction(ACTION_BACK);
        g->steps(20);
    }

    // Scores downloaded once stay, marked as old, when the service goes away.
    CperSongScore rec;
    rec.name = "Ace";
    service.addRow("TracksUnder4Min", 1001, 5000, rec.write());
    service.setFault(ClocalWebService::FAULT_NONE);
    chooseBoard(3);
    ASSERT_TRUE(boardShown());
    Ctable* rows = boardScreen().screen()->findTable("GeneralTracksRows");
    EXPECT_EQ(rows->rowCount(), 1u);
    tapAction(ACTION_BACK);
    g->steps(20);
    service.setFault(ClocalWebService::FAULT_HANG_UP, kBoardOps);
    chooseBoard(3);
    ASSERT_TRUE(boardShown());
    g->steps(2);
    EXPECT_EQ(rows->rowCount(), 1u);
    EXPECT_FALSE(noScores()->visible());
    EXPECT_TRUE(g->logHas("Leaderboard: TracksUnder4Min not downloaded (unreachable)"));
    EXPECT_TRUE(framesNeverWaited());
}

TEST_F(OnlineTroubleTest, FindPlayerSaysTheServiceCantBeReachedAndBackNeverWaits) {
    toMainMenu();
    uint64_t rival = service.addAccount("Rival", "rival@example.com", "pw");
    click(tile("FriendCompare"));
    ASSERT_TRUE(reachMode(GM_FRIEND_COMPARE));
    g->steps(20);
    tapAction(ACTION_SELECT);
    ASSERT_TRUE(reachMode(GM_FIND_PLAYER));
    g->steps(20);

    // A failed look-up is not "no such player".
    service.setFault(ClocalWebService::FAULT_HANG_UP, {"FindPlayer"});
    typeId(rival);
    ASSERT_TRUE(runUntil([&] { return !gUi->loadingIndicator.showing; }, 10.0));
    g->steps(2);
    EXPECT_EQ(finder().widget("playerFoundTitle")->getText(), gEngine->text("ServiceUnreachable"));

    service.setFault(ClocalWebService::FAULT_STALL, {"FindPlayer"});
    typeId(rival);
    g->steps(2);
    ASSERT_TRUE(indicatorShows("Working"));
    tapAction(ACTION_BACK);
    EXPECT_FALSE(gUi->loadingIndicator.showing);
    ASSERT_TRUE(reachMode(GM_FRIEND_COMPARE, 3.0));

    // Back in and asked again: the answer is the new question's, whatever the
    // stalled one does meanwhile.
    service.setFault(ClocalWebService::FAULT_NONE);
    tapAction(ACTION_SELECT);
    ASSERT_TRUE(reachMode(GM_FIND_PLAYER));
    g->steps(20);
    typeId(rival);
    ASSERT_TRUE(runUntil([&] { return finder().widget("OK")->visible(); }, 10.0));
    EXPECT_EQ(finder().widget("playerFoundName")->getText(), "Rival");
    EXPECT_TRUE(framesNeverWaited());
}

TEST_F(OnlineTroubleTest, TheTitleKeepsRunningWhileTheServiceStallsThenPlaysOfflineAndSaysSo) {
    makeGame();
    CwebServiceConfig c = service.config(2);
    gGame->online.soap.setConfig(c);
    service.setFault(ClocalWebService::FAULT_STALL);
    toTitle();
    pressReturn();
    // Frames go on with the indicator up while the service is asked.
    EXPECT_EQ(gGame->mode(), GM_PRESS_START);
    EXPECT_TRUE(indicatorShows("ServiceConnecting"));
    const uint64_t periods = g->loop.periods();
    g->steps(10);
    EXPECT_EQ(g->loop.periods(), periods + 10);
    ASSERT_TRUE(runUntil([] { return gEngine->webServiceOff; }, 10.0));
    EXPECT_TRUE(g->logHas("Running without soap 2!"));
    EXPECT_FALSE(lines("Online service: timed out").empty());
    EXPECT_TRUE(framesNeverWaited());
}

// The daily tracks say why their list is empty; a tile that needs the
// service is put away once it has gone.
TEST_F(OnlineTroubleTest, DailyTracksSayWhyTheListIsEmptyAndTilesGoWithTheService) {
    toMainMenu();
    service.setFault(ClocalWebService::FAULT_GARBAGE, kBoardOps);
    click(tile("DailyTracks"));
    ASSERT_TRUE(reachMode(GM_DAILY_TRACKS));
    ASSERT_TRUE(runUntil([] { return !gUi->loadingIndicator.showing; }, 10.0));
    g->steps(2);
    Cmenu* list = screens::get<CdailyTracksScreen>()->screen()->findMenu("List");
    ASSERT_EQ(list->itemCount(), 1u);
    EXPECT_EQ(list->item(0)->getText(), gEngine->text("ServiceBadReply"));
    EXPECT_TRUE(framesNeverWaited());
    tapAction(ACTION_BACK);
    ASSERT_TRUE(reachMode(GM_MAIN_MENU));
    g->steps(30);

    gGame->online.soap.switchOff("test: the service went away");
    click(tile("Leaderboard"));
    g->steps(5);
    EXPECT_EQ(gGame->mode(), GM_MAIN_MENU);
    EXPECT_FALSE(tile("Leaderboard")->visible());
    EXPECT_FALSE(tile("FriendCompare")->visible());
}
