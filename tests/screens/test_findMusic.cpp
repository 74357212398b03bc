#include <gtest/gtest.h>
#include <sys/stat.h>

#include "screens/confirm.h"
#include "screens/findMusic.h"
#include "screens/screenRegistry.h"
#include "screensFixture.h"
#include "support/musicTree.h"

namespace {
struct CfindMusicFixture {
    CscreensGame g;
    CrecordingScreen typeList;
    std::string tree, scripts;
    CfindMusicScreen* screen = nullptr;
    double walkClockMs = 0;
    CfindMusicFixture() {
        if (!g.initOk()) return;
        tree = makeMusicTree();
        scripts = makeTempFolder("dialogs");
        g->setScreen(GM_MUSIC_TYPE_LIST, &typeList);
        g->setGameMode(GM_FIND_MUSIC);
        g.settle();
        screen = screens::get<CfindMusicScreen>();
        // Each reading of the walk's clock moves it by a whole slice, so a
        // frame walks the fewest entries a slice takes, on any machine.
        screen->setWalkClock([this] { return walkClockMs += CfindMusicScreen::kSliceMs; });
    }
    ~CfindMusicFixture() {
        removeFolderTree(tree);
        removeFolderTree(scripts);
    }
    Cmenu* menu() { return screen->screen()->findMenu("Menu"); }
    Cwidget* widget(const char* name) { return screen->screen()->findWidget(name); }
    void choose(int row) {
        menu()->setSelectedIdx(row);
        g.tapAction(ACTION_SELECT);
    }
    // Frames until the walk has ended.
    bool walkToTheEnd(int maxSteps = 2000) {
        for (int i = 0; i < maxSteps && screen->running(); ++i) g.steps(1);
        return !screen->running();
    }
    int localTracks() { return g->songLibrary.countKind(SONG_LOCAL); }
};
}  // namespace

TEST(FindMusic, AFolderChosenInTheDialogIsWalkedIntoTheLibraryAndSaved) {
    CfindMusicFixture f;
    ASSERT_TRUE(f.g.initOk());
    ASSERT_EQ(f.menu()->itemCount(), 2u);
    EXPECT_TRUE(f.widget("Stop")->hidden);

    gEngine->platform.dialogProgram = dialogAnswering(f.scripts, f.tree);
    f.choose(0);
    for (int i = 0; i < 10 && !f.screen->running(); ++i) f.g.steps(1);
    ASSERT_TRUE(f.screen->running());
    EXPECT_TRUE(f.g.logHas(f.tree));   // the chosen folder
    EXPECT_FALSE(f.widget("Stop")->hidden);
    EXPECT_TRUE(gEngine->ui.buttonBar.buttons().empty());   // an empty bar while walking
    EXPECT_FALSE(f.widget("CurrentFolder")->hidden);

    ASSERT_TRUE(f.walkToTheEnd());
    EXPECT_TRUE(f.g.logHas("Index: Finished"));
    EXPECT_EQ(f.localTracks(), 3);
    EXPECT_EQ(f.widget("NumTracks")->getText(), "3");
    EXPECT_TRUE(f.widget("CurrentFolder")->hidden);
    EXPECT_FALSE(gEngine->ui.buttonBar.buttons().empty());   // the bar is back
    struct stat st;
    EXPECT_EQ(stat(gEngine->savePath("songInfo3.dat").c_str(), &st), 0);   // saved

    f.g.tapAction(ACTION_BACK);
    f.g.settle();
    EXPECT_EQ(f.g.mode(), GM_MUSIC_TYPE_LIST);
}

TEST(FindMusic, ClearingTracksAfterYesKeepsStationsAndBuiltInTracks) {
    CfindMusicFixture f;
    ASSERT_TRUE(f.g.initOk());
    CsongInfoMgr& lib = f.g->songLibrary;
    CtrackTags t;
    t.title = "Mine";
    t.length = 200;
    ASSERT_TRUE(lib.addLocalTrack(SONG_LOCAL, t, f.tree + "/B Side/01.flac"));
    CradioStation s;
    s.name = "Station";
    s.station = "http://127.0.0.1:1/live";
    CsongPackInfo* station = lib.addRadioStation(s);
    ASSERT_NE(station, nullptr);
    station->toggleFavourite();
    int builtIn = lib.countKind(SONG_BUILT_IN);

    // "No" keeps everything; "Yes" clears the tracks found.
    CconfirmScreen* confirm = screens::get<CconfirmScreen>();
    for (int answer : {1, 0}) {
        f.choose(1);
        ASSERT_TRUE(confirm->showing());
        confirm->menu()->setSelectedIdx(answer);
        f.g.tapAction(ACTION_SELECT);
        f.g.settle();
        EXPECT_EQ(f.localTracks(), answer);
    }
    EXPECT_FALSE(confirm->showing());
    EXPECT_EQ(lib.countKind(SONG_BUILT_IN), builtIn);
    EXPECT_NE(lib.findByUrl(s.station), nullptr);
    EXPECT_NE(f.g->music.currentTrack, nullptr);   // a random track plays
    EXPECT_EQ(f.widget("NumTracks")->getText(), "0");
}
