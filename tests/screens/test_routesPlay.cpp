// The ways out of play, headless, as a player takes them: the pointer is the
// menus' again and the music bar shows the pause.
#include <gtest/gtest.h>

#include "game/gameTypes.h"
#include "screens/confirm.h"
#include "screens/gameType.h"
#include "screens/listRows.h"
#include "screens/musicBar.h"
#include "screens/pause.h"
#include "screens/screenRegistry.h"
#include "trackRoad.h"

namespace {
struct CplayRoad : CtrackRoad {
    CrecordingScreen rankUp;
    CplayRoad() : CtrackRoad(4.0) {
        if (!g.initOk()) return;
        g->setScreen(GM_RANK_UP, &rankUp);
        // The title brings the bar in.
        screens::get<CmusicBarScreen>()->activate();
    }
    void startTrack() {
        enter(GM_GAME_TYPE);
        CgameTypeScreen* types = screens::get<CgameTypeScreen>();
        g.click(types->musicSources()->item(MUSIC_NOW_PLAYING));
        press(ACTION_SELECT);
        press(ACTION_SELECT);
        runUntil(GM_PLAYING, 400);
    }
    CpauseScreen& pause() { return *screens::get<CpauseScreen>(); }
    // With the pointer held by play, Escape pauses and Escape plays on: play
    // has the pointer back as it had it.
    void pauseAndResume() {
        gEngine->input.mouse.setCaptured(true);
        g.tapKey(SDL_SCANCODE_ESCAPE);
        ASSERT_TRUE(pause().paused());
        g.steps(20);
        g.tapKey(SDL_SCANCODE_ESCAPE);
        g.steps(40);
        ASSERT_FALSE(pause().paused());
        ASSERT_FALSE(screens::get<CmusicBarScreen>()->pausedLook());
    }
    bool captured() const { return gEngine->input.mouse.captured(); }
};
}  // namespace

TEST(RoutesOutOfPlay, QuitFromThePauseGivesThePointerBackAndForgetsTheListener) {
    CplayRoad f;
    ASSERT_TRUE(f.g.initOk());
    f.startTrack();
    ASSERT_EQ(f.g.mode(), GM_PLAYING);
    f.pauseAndResume();
    ASSERT_TRUE(f.captured());

    // Paused again: the music bar shows the held track, without its buttons.
    f.g.tapKey(SDL_SCANCODE_ESCAPE);
    CmusicBarScreen* bar = screens::get<CmusicBarScreen>();
    EXPECT_TRUE(bar->pausedLook());
    EXPECT_TRUE(bar->next()->hidden);
    EXPECT_FALSE(f.captured());
    f.g.steps(20);

    // A track being identified when the player leaves: nothing of it is kept.
    gEngine->acrCloud.startListening();
    f.g.click(f.pause().screen()->findWidget("QuitTrack"));
    f.g.settle();
    CconfirmScreen* confirm = screens::get<CconfirmScreen>();
    ASSERT_TRUE(confirm->showing());
    f.g.click(confirm->screen()->findMenu("Menu")->item(0));   // "YES"
    f.g.steps(80);
    EXPECT_EQ(f.g.mode(), GM_MAIN_MENU);
    // Nothing of the pause holds the next screen.
    EXPECT_FALSE(gEngine->paused);
    EXPECT_GT(f.mainMenu.updates, 0);
    EXPECT_FALSE(f.captured());
    EXPECT_FALSE(bar->next()->hidden);
    EXPECT_FALSE(gEngine->acrCloud.listening());
}

// After an open-mic start the countdown renames the track "being analysed"
// and every now-playing header shows it at once.
TEST(RoutesOutOfPlay, TheCountdownRefreshesTheHeadersAfterAnOpenMicStart) {
    CplayRoad f;
    ASSERT_TRUE(f.g.initOk());
    Cwidget* header = nowPlayingHeaders().musicBar;
    ASSERT_NE(header, nullptr);
    CgameSession& s = f.g->world.session;
    s.gameType = GAMETYPE_CHILLOUT;
    s.startMusic = 1;
    s.restartMusic();
    f.g->music.openMicLevel = 1.0f;
    f.g->setGameMode(GM_321_GO);
    for (int i = 0; i < 300 && !s.waitingForTrack; ++i) f.g.steps(1);
    ASSERT_TRUE(s.waitingForTrack);
    header->setText("Title", "stale");
    f.g->music.openMicLevel = 10.0f;
    ASSERT_TRUE(f.runUntil(GM_PLAYING, 600));
    EXPECT_EQ(header->getText("Title"), f.g->music.getTrackLabel(f.g->music.currentTrack, 1));
}
