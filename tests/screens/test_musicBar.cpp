#include <gtest/gtest.h>

#include "screens/confirm.h"
#include "screens/musicBar.h"
#include "screens/screenRegistry.h"
#include "screens/startUp.h"
#include "screensFixture.h"
#include "support/audioTestFiles.h"

namespace {
struct CbarFixture {
    CscreensGame g;
    CrecordingScreen menu;
    CmusicBarScreen& bar = *screens::get<CmusicBarScreen>();
    CbarFixture() {
        screens::get<CstartUpScreen>()->finished = true;
        gGame->music.addBuiltInTracks();
        g->setScreen(GM_MAIN_MENU, &menu);
        g->setGameMode(GM_MAIN_MENU);
        bar.activate();
        g.settle();
    }
    CsongPackInfo* track(size_t i) { return gGame->songLibrary.entry(i); }
    CsongPackInfo* play(size_t i) {
        CsongPackInfo* t = track(i);
        gGame->music.playTrack(t);
        bar.setTrack(t);
        return t;
    }
    void answer(const char* item) {
        Cmenu* m = screens::get<CconfirmScreen>()->menu();
        ASSERT_NE(m, nullptr);
        for (size_t i = 0; i < m->itemCount(); ++i)
            if (m->item(i)->getText() == item) {
                g.settle(10);
                g.click(m->item(i));
                g.settle();
                return;
            }
        FAIL() << "no item " << item;
    }
};
}  // namespace

TEST(MusicBar, HeartNextAndShowing) {
    CbarFixture f;
    ASSERT_TRUE(f.g.initOk());
    ASSERT_GE(gGame->songLibrary.size(), 2u);
    CsongPackInfo* t = f.play(0);
    EXPECT_FALSE(f.bar.hidden());
    const bool was = t->favourite;
    f.g.click(f.bar.heart());
    EXPECT_NE(t->favourite, was);
    f.g.settle();
    f.g.click(f.bar.next());
    EXPECT_NE(gGame->music.currentTrack, t);

    CradioStation st;
    st.name = "Station";
    st.station = "http://127.0.0.1:1/stream";
    f.bar.setTrack(gGame->songLibrary.addRadioStation(st));
    EXPECT_FALSE(f.bar.heart()->hidden);
    EXPECT_TRUE(f.bar.trash()->hidden);

    gEngine->webServiceOff = true;
    f.g.steps(2);
    EXPECT_TRUE(f.bar.leaderboard()->hidden);
    gEngine->webServiceOff = false;

    // Play and the countdown hide it at once; the game-over screens after five seconds.
    gGame->setModeDirect(GM_PLAYING);
    f.g.steps(2);
    EXPECT_TRUE(f.bar.hidden());
    gGame->setModeDirect(GM_MAIN_MENU);
    f.g.steps(2);
    gGame->setModeDirect(GM_GAME_OVER);
    f.g.steps(60 * 4);
    EXPECT_FALSE(f.bar.hidden());
    f.g.steps(60 * 2);
    EXPECT_TRUE(f.bar.hidden());
    // Gone, it stays gone there when the next track starts (the rank-up's music).
    gGame->setModeDirect(GM_RANK_UP);
    f.play(1);
    f.g.steps(2);
    EXPECT_TRUE(f.bar.hidden());
    gGame->setModeDirect(GM_MAIN_MENU);
}

TEST(MusicBar, DeleteActsOnTheTrackAndTheCopyPressedOn) {
    CbarFixture f;
    ASSERT_TRUE(f.g.initOk());
    ASSERT_GE(gGame->songLibrary.size(), 2u);
    CsongPackInfo* pressed = f.play(0);
    f.g.click(f.bar.trash());
    ASSERT_TRUE(screens::get<CconfirmScreen>()->showing());
    f.answer("No");
    EXPECT_FALSE(pressed->removed);

    f.g.click(f.bar.trash());
    ASSERT_TRUE(screens::get<CconfirmScreen>()->showing());
    // Another track comes on while the question shows.
    CsongPackInfo* other = f.track(1);
    gGame->music.playTrack(other);
    f.answer("Yes");
    EXPECT_TRUE(pressed->removed);
    EXPECT_FALSE(other->removed);
    EXPECT_EQ(gGame->music.currentTrack, other);   // what plays now goes on

    // Two copies of one song (same title, artist and length): the copy
    // playing is the one removed.
    std::string folder = makeTempFolder("bar_copies");
    CfileTags fileTags;
    fileTags.title = "Twice";
    CtrackTags tags;
    tags.title = "Twice";
    tags.length = 2.0f;
    std::string paths[2];
    for (int i = 0; i < 2; ++i) {
        paths[i] = writeTestAudio(folder, i == 0 ? "a.ogg" : "b.ogg", synth::makeKickLoop(120, 2.0), &fileTags);
        ASSERT_TRUE(gGame->songLibrary.addLocalTrack(SONG_LOCAL, tags, paths[i]));
    }
    CsongPackInfo* first = gGame->songLibrary.findByPath(paths[0]);
    CsongPackInfo* second = gGame->songLibrary.findByPath(paths[1]);
    ASSERT_TRUE(first && second);
    ASSERT_EQ(first->getKey(), second->getKey());
    gGame->music.playTrack(second);
    f.bar.setTrack(second);
    for (int i = 0; i < 200 && gGame->music.currentTrack != second; ++i) f.g.steps(1);
    ASSERT_EQ(gGame->music.currentTrack, second);
    f.g.click(f.bar.trash());
    f.answer("Yes");
    EXPECT_TRUE(second->removed);
    EXPECT_FALSE(first->removed);
    EXPECT_NE(gGame->music.currentTrack, second);   // another track plays instead
    removeFolderTree(folder);
}
