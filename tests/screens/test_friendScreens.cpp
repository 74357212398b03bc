// Find player against the local web service and the friend comparison,
// driven from the main menu's side as a player drives them.
#include "screens/findPlayer.h"
#include "screens/friendCompare.h"
#include "screens/mainMenu.h"
#include "screens/screenRegistry.h"
#include "roadFixture.h"
#include "screensFixture.h"

namespace {
Cbytes statsRecord(uint64_t id, uint64_t xp, const char* name, const char* country) {
    CplayerStatsRecord r;
    r.steamId = id;
    r.xp = xp;
    r.name = name;
    r.countryCode = country;
    r.bossTonnage = 77;
    Cbytes b(CplayerStatsRecord::kRecordSize, 0);
    r.write(b.data());
    return b;
}
}  // namespace

class FriendsTest : public RoadTest {
protected:
    uint64_t me = 0;
    std::string folder = makeTempFolder("friends");
    void TearDown() override {
        RoadTest::TearDown();
        removeFolderTree(folder);
    }
    void toMainMenu() { me = reachMainMenu(folder); }
    // The window closed and the game started again over the same folder.
    void restart() {
        gGame->endGame();
        ASSERT_NO_FATAL_FAILURE(restartOver(folder));
        g->steps(5);
        dismissTutorials();
    }
    // The compared friend's values, as the right column shows them, once their statistics are in.
    std::vector<std::string> friendValues() {
        EXPECT_TRUE(runUntil([] { return !screens::get<CfriendCompareScreen>()->waiting(); }));
        g->steps(5);
        std::vector<std::string> out;
        const Cmenu* m = screens::get<CfriendCompareScreen>()->menu();
        for (size_t i = 0; i < m->itemCount(); ++i)
            if (m->item(i)->attachToPrevious) out.push_back(m->item(i)->getText("Value"));
        return out;
    }
    void open(int state) {
        gGame->setGameMode(state);
        ASSERT_TRUE(reachMode(state));
        g->steps(20);
    }
    void typeId(const std::string& id) {
        click(screens::get<CfindPlayerScreen>()->widget("EnterNameTextBox"));
        ASSERT_TRUE(gUi->textEntry.active);
        for (size_t i = gUi->textEntry.text.charCount(); i > 0; --i) tapKey(SDL_SCANCODE_BACKSPACE);
        typeText(id);
        g->steps(2);
    }
    std::string shown(const char* name) { return screens::get<CfindPlayerScreen>()->widget(name)->getText(); }
    bool visible(const char* name) { return screens::get<CfindPlayerScreen>()->widget(name)->visible(); }
};

TEST_F(FriendsTest, FindPlayerFoundAndNotFoundThenAddedAsFriend) {
    toMainMenu();
    uint64_t rival = service.addAccount("Rival", "rival@example.com", "pw");
    // The service keeps statistics by Steam id.
    const uint64_t rivalSteamId = 76561198000000777ull;
    service.linkSteamId(rival, rivalSteamId);
    service.setStats(rivalSteamId, statsRecord(rivalSteamId, 123456, "Rival", "FR"));
    screens::get<CfindPlayerScreen>()->open(GM_FRIEND_COMPARE, false);
    open(GM_FIND_PLAYER);
    EXPECT_FALSE(visible("OK"));

    typeId("letters");   // reads as 0, which nobody has
    ASSERT_TRUE(runUntil([&] { return visible("playerFoundTitle"); }));
    EXPECT_EQ(shown("playerFoundTitle"), gEngine->language().text("PlayerNotFound"));
    EXPECT_FALSE(visible("OK"));

    typeId(std::to_string(me));
    EXPECT_EQ(shown("playerFoundTitle"), gEngine->language().text("CantPlaySelf"));
    EXPECT_FALSE(visible("OK"));

    typeId(std::to_string(rival));
    ASSERT_TRUE(runUntil([&] { return visible("OK"); }));
    g->steps(20);
    EXPECT_EQ(shown("playerFoundTitle"), gEngine->language().text("PlayerFound"));
    EXPECT_EQ(shown("playerFoundName"), "Rival");
    click(screens::get<CfindPlayerScreen>()->widget("OK"));
    ASSERT_TRUE(reachMode(GM_FRIEND_COMPARE));
    const CfriendEntry* f = gGame->online.friends.findById(rival);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->name, "Rival");
    const CplayerStatsRecord* st = gGame->statsCache.findPlayer(rivalSteamId);
    ASSERT_NE(st, nullptr);
    EXPECT_EQ(st->xp, 123456u);
    g->steps(30);
    EXPECT_EQ(screens::get<CfriendCompareScreen>()->widget("Friend2")->getText(), "Rival");

    // At the next start the statistics are asked for again, under the Steam
    // id; a friend the service has none for shows them as not available.
    gGame->online.friends.addOrUpdate(0, rival + 1000, "Nobody");
    ASSERT_NO_FATAL_FAILURE(restart());
    EXPECT_EQ(gGame->statsCache.findPlayer(rivalSteamId), nullptr);
    screens::get<CfriendCompareScreen>()->open(GM_MAIN_MENU, false);
    open(GM_FRIEND_COMPARE);
    std::vector<std::string> values = friendValues();
    EXPECT_NE(std::find(values.begin(), values.end(), "123,456"), values.end());
    EXPECT_EQ(screens::get<CfriendCompareScreen>()->widget("Friend2")->getText(), "Rival");
    tapAction(ACTION_RB);
    values = friendValues();
    ASSERT_FALSE(values.empty());
    for (const std::string& v : values) EXPECT_EQ(v, "-");
    EXPECT_EQ(screens::get<CfriendCompareScreen>()->widget("Friend2")->getText(), "Nobody");
    // Both sides' rows stand inside the list, which clips what is not, at every window shape.
    Cmenu* list = screens::get<CfriendCompareScreen>()->menu();
    EXPECT_GT(list->itemCount(), 14u);
    for (const CwindowShape& shape : kWindowShapes) {
        useWindowShape(shape);
        EXPECT_EQ(rowPartsOutsideList(*list), "") << shape.w << "x" << shape.h;
    }
    useWindowShape(kWindowShapes[0]);
    // The spacers between sections are blank rows, not rows missing their text.
    EXPECT_FALSE(g->logPrefix("Can't find text gadget"));
}

// A request the service sits on does not take the keys and clicks away: the
// main menu during its message poll, the comparison waiting for a friend's
// statistics.
TEST_F(FriendsTest, ScreensAnswerWhileTheServiceSitsOnARequest) {
    toMainMenu();
    uint64_t rival = service.addAccount("Slow", "slow@example.com", "pw");
    gGame->online.friends.addOrUpdate(0, rival, "Slow");
    struct {
        const char* operation;
        std::function<void()> ask;      // starts the request where the player stands
        std::function<void()> act;      // what the player does meanwhile
        int leadsTo;
    } const cases[] = {
        {"GetMessages",
         [this] {
             CmessagePoller& poller = gGame->online.messages;
             ASSERT_TRUE(runUntil([&poller] { return !poller.task.started() && !poller.retrieving; }));
             ASSERT_TRUE(poller.retrieveMessages(true));
         },
         [this] { click(screens::get<CmainMenuScreen>()->button("Options")); }, GM_OPTIONS},
        {"GetPlayerStats",
         [this] {
             screens::get<CfriendCompareScreen>()->open(GM_MAIN_MENU, false);
             open(GM_FRIEND_COMPARE);
             ASSERT_TRUE(screens::get<CfriendCompareScreen>()->waiting());
         },
         [this] { tapAction(ACTION_BACK); }, GM_MAIN_MENU},
    };
    for (const auto& c : cases) {
        service.setFault(ClocalWebService::FAULT_STALL, {c.operation});
        gGame->setGameMode(GM_MAIN_MENU);
        ASSERT_TRUE(reachMode(GM_MAIN_MENU));
        g->steps(20);
        c.ask();
        g->steps(5);
        c.act();
        EXPECT_TRUE(reachMode(c.leadsTo, 2.0)) << c.operation;
        EXPECT_FALSE(gUi->loadingIndicator.showing) << c.operation;
    }
    service.setFault(ClocalWebService::FAULT_NONE);
}
