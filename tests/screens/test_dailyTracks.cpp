#include <gtest/gtest.h>

#include "engine/clipboard.h"
#include "online/scoreRecord.h"
#include "screens/dailyTracks.h"
#include "screens/leaderboard.h"
#include "screens/screenRegistry.h"
#include "screensFixture.h"
#include "localServiceSignIn.h"

namespace {
struct CtracksFixture {
    CscreensGame g;
    ClocalWebService service;
    CrecordingScreen mainMenu, board, countdown;
    CdailyTracksScreen* screen = nullptr;
    std::vector<std::string> opened;
    int64_t now = 0;

    CtracksFixture() {
        if (!g.initOk()) return;
        EXPECT_TRUE(signInToLocalService(service, g->online));
        now = g->online.soap.unixTime();
        g->setScreen(GM_MAIN_MENU, &mainMenu);
        g->setScreen(GM_LEADERBOARD, &board);
        g->setScreen(GM_321_GO, &countdown);
        screen = screens::get<CdailyTracksScreen>();
        screen->openLink = [this](const std::string& url) {
            opened.push_back(url);
            return true;
        };
    }

    void submit(uint64_t player, int64_t at, const std::string& title, char linkKind = 0, const std::string& linkId = {},
                const std::string& shipDef = "Standard") {
        CdailyTrackScore rec;
        rec.name = "P" + std::to_string(player);
        rec.title = title;
        rec.artist = "Band";
        rec.album = "Album";
        rec.length = 200;
        rec.shipDefName = shipDef;
        rec.linkKind = linkKind;
        rec.linkId = linkId;
        service.addRow("DailyTracks3", player, (uint64_t)at, rec.write());
    }
    CsongPackInfo* addToLibrary(const std::string& title) {
        CtrackTags tags;
        tags.title = title;
        tags.artist = "Band";
        tags.length = 200;
        g->songLibrary.addLocalTrack(SONG_LOCAL, tags, "/music/" + title + ".ogg");
        return g->songLibrary.findByPath("/music/" + title + ".ogg");
    }
    void open(int from = GM_MAIN_MENU) {
        screen->open(from);
        g.settle();
        EXPECT_TRUE(g.stepUntil([] { return !gEngine->ui.loadingIndicator.showing; })) << "no list";
        g.steps(2);
    }
    // Each row as its title and the templates of the items beside it.
    std::vector<std::string> rows() {
        std::vector<std::string> out;
        Cmenu* list = screen->list();
        for (size_t i = 0; i < list->itemCount(); ++i) {
            Cwidget* w = list->item(i);
            if (!w->attachToPrevious) out.push_back(w->templateName == "LeaderboardItemDailyTracks" ? "row" : "?");
            else out.back() += " " + w->templateName;
        }
        return out;
    }
    Cwidget* item(size_t row, const std::string& templ) {
        Cmenu* list = screen->list();
        size_t r = 0;
        for (size_t i = 0; i < list->itemCount(); ++i) {
            Cwidget* w = list->item(i);
            if (!w->attachToPrevious && i > 0) ++r;
            if (r == row && w->templateName == templ) return w;
        }
        return nullptr;
    }
};
}  // namespace

TEST(DailyTracks, EachSubmitShowsOnceWithWhatCanBeDoneWithItsTrack) {
    CtracksFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.addToLibrary("Owned");
    f.submit(11, f.now - 100, "Owned", 'Y', "abc123");
    f.submit(12, f.now - 200, "Streamed", 'S', "4uLU6hMCjMI75M1A2tKUQC");
    f.submit(13, f.now - 200, "Streamed", 'S', "4uLU6hMCjMI75M1A2tKUQC");   // the same submit again
    f.submit(14, f.now - 300, "Plain");
    f.submit(15, f.now - 400, "Unsafe", 'Y', "x;xdg-open evil");
    f.submit(16, f.now - 90000, "Old");   // older than a day
    f.open();
    EXPECT_EQ(f.screen->timeCode(), f.now - 86400);
    EXPECT_EQ(f.rows(), (std::vector<std::string>{
                            "row CopyClipboard MusicBarLeaderboard PlayTrack",   // in the library: no link
                            "row CopyClipboard MusicBarLeaderboard SpotifyLink",
                            "row CopyClipboard MusicBarLeaderboard",
                            "row CopyClipboard MusicBarLeaderboard",   // an unsafe id is no link
                        }));
    // Each row and its buttons stand side by side, all inside the list's box.
    for (const CwindowShape& shape : kWindowShapes) {
        useWindowShape(shape);
        EXPECT_EQ(rowPartsOutsideList(*f.screen->list()), "") << shape.w << "x" << shape.h;
    }
    useWindowShape(kWindowShapes[0]);

    // Back moves the time code to the time of leaving.
    f.g.tapAction(ACTION_BACK);
    f.g.steps(40);
    EXPECT_EQ(f.g.mode(), GM_MAIN_MENU);
    EXPECT_GE(f.screen->timeCode(), f.now);

    // Back works while the board is still on its way.
    f.service.delayMs = 2000;
    f.screen->open(GM_MAIN_MENU);
    f.g.settle(5);
    ASSERT_TRUE(gEngine->ui.loadingIndicator.showing);
    f.g.tapAction(ACTION_BACK);
    f.g.steps(40);
    EXPECT_EQ(f.g.mode(), GM_MAIN_MENU);
    EXPECT_FALSE(gEngine->ui.loadingIndicator.showing);
}

TEST(DailyTracks, CopyBoardPlayAndLinkActOnTheirRow) {
    CtracksFixture f;
    ASSERT_TRUE(f.g.initOk());
    CsongPackInfo* owned = f.addToLibrary("Owned");
    f.submit(11, f.now - 100, "Owned", 0, {}, "PreSet_Standard");
    f.submit(12, f.now - 200, "Other", 0, {}, "Vessik");
    f.submit(13, f.now - 300, "Streamed", 'S', "4uLU6hMCjMI75M1A2tKUQC");
    f.open(GM_LEADERBOARD);

    f.g.click(f.item(1, "CopyClipboard"));
    f.g.steps(2);
    EXPECT_EQ(getClipboardText(), "Band - Other");

    f.g.click(f.item(0, "PlayTrack"));
    f.g.steps(2);
    EXPECT_EQ(f.g->music.currentTrack, owned);

    const int enters = f.board.enters;
    f.g.click(f.item(1, "MusicBarLeaderboard"));
    f.g.steps(40);
    EXPECT_EQ(f.board.enters, enters + 1);
    EXPECT_EQ(f.screen->trackEntry().kind, (uint32_t)SONG_OPEN_MIC);
    EXPECT_EQ(f.screen->trackEntry().getKey(), makeSongKey(SONG_LOCAL, "Other", "Band", 200));

    // A streaming link opens, and the game plays along through open mic.
    f.open(GM_LEADERBOARD);
    f.g.click(f.item(2, "SpotifyLink"));
    f.g.steps(100);
    EXPECT_EQ(f.opened, std::vector<std::string>{"https://open.spotify.com/track/4uLU6hMCjMI75M1A2tKUQC"});
    EXPECT_EQ(f.g.mode(), GM_321_GO);
    EXPECT_EQ(f.g->world.session.gameType, GAMETYPE_STANDARD);
    EXPECT_EQ(f.g->world.session.startMusic, 1);
    EXPECT_EQ(f.g->world.session.waitingForSilence, 1);
}
