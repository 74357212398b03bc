#include <gtest/gtest.h>

#include "engine/ui/table.h"
#include "online/scoreRecord.h"
#include "screens/leaderboard.h"
#include "screens/screenRegistry.h"
#include "localServiceSignIn.h"
#include "screensFixture.h"

namespace {
struct CboardsFixture {
    CscreensGame g;
    ClocalWebService service;
    CrecordingScreen mainMenu, browser;
    CleaderboardScreen* screen = nullptr;

    CboardsFixture() {
        if (!g.initOk()) return;
        EXPECT_NE(signInToLocalService(service, g->online), 0u);
        g->setScreen(GM_MAIN_MENU, &mainMenu);
        g->setScreen(GM_MUSIC_BROWSER, &browser);
        screen = screens::get<CleaderboardScreen>();
    }

    void open(const CsongPackInfo* track, int from = GM_MAIN_MENU, bool standardShip = true) {
        screen->open(from, track, standardShip);
        g.settle();
        waitForBoard();
    }
    // The board arrives from the local service's thread.
    bool waitForBoard() { return g.stepUntil([] { return !gEngine->ui.loadingIndicator.showing; }); }
    Cmenu* list() { return screen->screen()->findMenu("List"); }
    Ctable* table(const char* name) { return screen->screen()->findTable(name); }
    Cwidget* widget(const char* name) { return screen->screen()->findWidget(name); }
    void chooseBoard(int index) {
        for (size_t i = 0; i < list()->itemCount(); ++i)
            if (list()->item(i)->value == index) list()->setSelectedIdx((int)i);
        g.tapAction(ACTION_SELECT);
        waitForBoard();
        g.steps(2);
    }
    void back() {
        g.tapAction(ACTION_BACK);
        g.steps(40);
    }
};

CsongPackInfo track(const char* title) {
    CsongPackInfo t;
    t.kind = SONG_LOCAL;
    t.path = std::string("/music/") + title + ".mp3";
    t.tags.title = title;
    t.tags.artist = "Band";
    t.tags.length = 200;
    t.updateKey();
    return t;
}
}  // namespace

TEST(LeaderboardScreen, FixedBoardsShowTheServicesRowsAndBackReturnsToTheList) {
    CboardsFixture f;
    ASSERT_TRUE(f.g.initOk());
    CbasicScore xp;
    xp.name = "Ace";
    xp.comment = "Rank 9";
    f.service.addRow("XP4", 21, 9000, xp.write());
    xp.name = "Deuce";
    f.service.addRow("XP4", 22, 4000, xp.write());
    CgeneralTracksScore gen;
    gen.name = "Runner";
    gen.trackTitle = "Short One";
    f.service.addRow("TracksUnder2Min", 23, 777, gen.write());

    f.open(nullptr);
    f.chooseBoard(0);
    EXPECT_FALSE(f.screen->choosing());
    Ctable* basic = f.table("BasicRows");
    ASSERT_FALSE(basic->hidden);
    ASSERT_EQ(basic->rowCount(), 2u);
    EXPECT_EQ(basic->row(0)->getText("Name"), "Ace");
    EXPECT_EQ(basic->row(1)->getText("Name"), "Deuce");
    EXPECT_EQ(f.widget("BoardSubTitle")->getText(), gEngine->text("XPBoardSub"));
    EXPECT_TRUE(f.widget("StandardShip")->hidden);   // the XP board has no ship kind

    f.back();
    EXPECT_TRUE(f.screen->choosing());
    f.chooseBoard(1);
    Ctable* general = f.table("GeneralTracksRows");
    ASSERT_FALSE(general->hidden);
    EXPECT_TRUE(basic->hidden);
    ASSERT_EQ(general->rowCount(), 1u);
    EXPECT_EQ(general->row(0)->getText("Name"), "Runner");
    EXPECT_EQ(general->row(0)->getText("TrackTitle"), "Short One");
    EXPECT_TRUE(f.widget("NoScores")->hidden);

    // An empty general board says so.
    f.back();
    f.chooseBoard(2);
    EXPECT_EQ(f.table("GeneralTracksRows")->rowCount(), 0u);
    EXPECT_FALSE(f.widget("NoScores")->hidden);
}

TEST(LeaderboardScreen, ATracksBoardOpensStraightAwayAndBackRestoresTheShipKind) {
    CboardsFixture f;
    ASSERT_TRUE(f.g.initOk());
    CsongPackInfo played = track("Played");
    CperSongScore s;
    s.name = "Top";
    s.comment = "wow";
    f.service.addRow("Shp_" + played.getKey(), 31, 5000, s.write());
    s.name = "Standard";
    f.service.addRow(played.getKey(), 32, 4000, s.write());

    // Opened for the custom ship's board while the standard ship is in use.
    f.open(&played, GM_MUSIC_BROWSER, false);
    EXPECT_EQ(f.g->standardShipFlag, 0);
    Ctable* rows = f.table("PerSongRows");
    ASSERT_FALSE(rows->hidden);
    ASSERT_EQ(rows->rowCount(), 1u);
    EXPECT_EQ(rows->row(0)->getText("Name"), "Top");
    EXPECT_FALSE(f.widget("StandardShipSpriteCross")->hidden);
    f.back();
    EXPECT_EQ(f.g.mode(), GM_MUSIC_BROWSER);
    EXPECT_EQ(f.g->standardShipFlag, 1);

    CsongPackInfo fresh = track("Never Played");
    f.open(&fresh, GM_MUSIC_BROWSER);
    EXPECT_EQ(f.table("PerSongRows")->rowCount(), 0u);
    EXPECT_FALSE(f.widget("NoScores")->hidden);
    EXPECT_EQ(f.widget("BoardSubTitle")->getText(), f.g->music.getTrackLabel(&fresh, 1));
}
