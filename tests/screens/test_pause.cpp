// The pause, headless, as a player uses it: play held and given back, the
// ways out of play, and the music bar and the mission card meanwhile.
#include <gtest/gtest.h>

#include "game/gameTypes.h"
#include "game/musicLink.h"
#include "screens/confirm.h"
#include "screens/musicBar.h"
#include "screens/pause.h"
#include "screens/screenRegistry.h"
#include "screens/shipMissionPanel.h"
#include "trackRoad.h"

namespace {
struct CpauseFixture : CtrackRoad {
    CpauseScreen* pause = nullptr;
    CrecordingScreen countdown;
    CpauseFixture() {
        if (!g.initOk()) return;
        g->setScreen(GM_321_GO, &countdown);
        pause = screens::get<CpauseScreen>();
        CgameSession& s = g->world.session;
        s.gameType = GAMETYPE_STANDARD;
        if (track) s.track = trackInfoFromSong(*track);
        s.startGame();
        g.steps(30);
    }
    void answer(bool yes) {
        if (yes) g.tapKey(SDL_SCANCODE_UP);   // it opens on No
        g.tapAction(ACTION_SELECT);
        g.steps(80);
    }
};
}  // namespace

// A pause holds play and its music, by Escape or a click on Resume play goes
// on, and play reads the pointer the same way before and after: the ship aims
// where the pointer is. Quit leaves nothing of the pause, the pointer's hold
// or a track being identified behind.
TEST(Pause, PlayStandsStillWhilePausedAimsAlikeAfterAndQuitLeavesNothingBehind) {
    CpauseFixture f;
    ASSERT_TRUE(f.g.initOk());
    CmusicBarScreen* bar = screens::get<CmusicBarScreen>();
    bar->activate();   // as the main menu leaves it
    const int w = gEngine->screenWidth - 1, h = gEngine->screenHeight - 1;
    const int corners[][2] = {{0, 0}, {w, 0}, {0, h}, {w, h}};
    auto aims = [&f, &corners]() {
        std::vector<std::pair<float, float>> out;
        for (const auto& c : corners) {
            f.g.mouseMove(c[0], c[1]);
            f.g.steps(2);
            out.push_back({gEngine->input.mouse.x, gEngine->input.mouse.y});
        }
        return out;
    };
    const auto before = aims();
    for (bool byClick : {false, true}) {
        f.g.tapKey(SDL_SCANCODE_ESCAPE);
        const double clock = f.g->world.session.clock;
        f.g.settle();
        ASSERT_TRUE(f.pause->paused());
        EXPECT_TRUE(gEngine->paused);
        EXPECT_EQ(f.g->world.session.clock, clock);
        EXPECT_FALSE(f.g->music.isPlaying());
        f.pause->show();   // pausing again changes nothing
        if (byClick) f.g.click(f.pause->screen()->findWidget("Resume"));
        else f.g.tapKey(SDL_SCANCODE_ESCAPE);
        f.g.steps(40);
        ASSERT_FALSE(f.pause->paused());
        EXPECT_FALSE(gEngine->paused);
        EXPECT_EQ(aims(), before) << (byClick ? "Resume clicked" : "Escape");
        EXPECT_GT(f.g->world.session.clock, clock);
    }

    // Paused, the music bar shows the held track without its buttons, and
    // the pointer held by play is the menus' again.
    gEngine->input.mouse.setCaptured(true);
    f.g.tapKey(SDL_SCANCODE_ESCAPE);
    EXPECT_TRUE(bar->pausedLook());
    EXPECT_TRUE(bar->next()->hidden);
    EXPECT_FALSE(gEngine->input.mouse.captured());
    f.g.steps(20);
    gEngine->acrCloud.startListening();
    f.g.click(f.pause->screen()->findWidget("QuitTrack"));
    f.g.settle();
    f.answer(true);
    EXPECT_EQ(f.g.mode(), GM_MAIN_MENU);
    EXPECT_FALSE(gEngine->paused);
    EXPECT_GT(f.mainMenu.updates, 0);
    EXPECT_FALSE(gEngine->input.mouse.captured());
    EXPECT_FALSE(bar->next()->hidden);
    EXPECT_FALSE(gEngine->acrCloud.listening());
}

// The paused bar shows the track's best as the HUD does, though it was kept
// (at the last game over) while the bar was away. Touch sticks leave the
// screen while paused, the mission card comes back clear of the questions,
// and Restart asks before it goes back to the countdown.
TEST(Pause, TheBarShowsTheBestTouchSticksLeaveTheCardComesBackAndRestartAsks) {
    CpauseFixture f;
    ASSERT_TRUE(f.g.initOk());
    ASSERT_TRUE(f.track);
    screens::get<CmusicBarScreen>()->activate();   // as the main menu leaves it
    f.g.steps(5);
    f.g->trackStats.submitScore(f.track->key, 98765, 1, 1.0f, {}, "");
    f.g.tapKey(SDL_SCANCODE_ESCAPE);
    ASSERT_TRUE(f.pause->paused());
    f.g.steps(5);
    EXPECT_EQ(screens::get<CmusicBarScreen>()->bar()->getText("HighScore"), "98,765");
    f.g.tapKey(SDL_SCANCODE_ESCAPE);
    f.g.steps(40);
    ASSERT_FALSE(f.pause->paused());

    CshipMissionPanel* card = screens::get<CshipMissionPanel>();
    card->setMission(0, CshipMission(), false);
    gEngine->input.player(0)->setDevice(DEVICE_TOUCH);
    f.g.steps(1);
    gEngine->input.sticks.setEnabled(true, &gEngine->input.joysticks);
    f.pause->show();
    EXPECT_FALSE(gEngine->input.sticks.enabled());
    f.g.steps(40);
    EXPECT_TRUE(card->inSight());
    f.g.click(f.pause->screen()->findWidget("QuitTrack"));
    f.g.settle();
    EXPECT_TRUE(card->shown());
    EXPECT_FALSE(card->inSight());
    f.answer(false);
    EXPECT_TRUE(f.pause->paused());
    EXPECT_TRUE(card->inSight());
    gEngine->input.player(0)->setDevice(DEVICE_KEYBOARD_MOUSE);

    f.g.click(f.pause->screen()->findWidget("RestartTrack"));
    f.answer(true);
    EXPECT_EQ(f.countdown.enters, 1);
    EXPECT_FALSE(f.pause->paused());
    EXPECT_FALSE(card->shown());
}
