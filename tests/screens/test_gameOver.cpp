#include <cstring>

#include <gtest/gtest.h>

#include "engine/ui/screen.h"
#include "engine/ui/uiMgr.h"
#include "game/gameTypes.h"
#include "game/musicLink.h"
#include "online/scoreRecord.h"
#include "screens/gameOver.h"
#include "screens/gameOverBossRush.h"
#include "screens/screenRegistry.h"
#include "trackRoad.h"

namespace {
struct CgameOverFixture : CtrackRoad {
    CrecordingScreen rankUp, countdown, share, email;
    CgameOverFixture() {
        if (!g.initOk()) return;
        g->setScreen(GM_RANK_UP, &rankUp);
        g->setScreen(GM_321_GO, &countdown);
        g->setScreen(GM_SHARE_MOMENT, &share);
        g->setScreen(GM_OPTIONS_NOTIFICATIONS, &email);
        g->progress.markProfileLoaded();
    }
    CgameSession& session() { return g->world.session; }
    // A game of the type ended with this score and progress.
    void end(int gameType, int64_t score, float completion, int state = GM_GAME_OVER) {
        CgameSession& s = session();
        s.gameType = gameType;
        if (track) s.track = trackInfoFromSong(*track);
        s.awarded = false;   // a new game
        s.teamScores[0] = score;
        s.sessionXp = score;   // play adds both
        s.completion = completion;
        s.gameOver = true;
        enter(state);
    }
    const CtrackRecord* record() { return track ? g->trackStats.findTrack(track->key) : nullptr; }
    Cscreen* layoutOf(int state) {
        switch (state) {
            case GM_GAME_OVER_BOSS_RUSH: return screens::get<CgameOverBossRushScreen>()->screen();
            default: return screens::get<CgameOverTrackScreen>()->screen();
        }
    }
    Cwidget* widget(const char* name, int state = GM_GAME_OVER) { return layoutOf(state)->findWidget(name); }
    bool buttonShown(const char* tag) {
        for (const auto& b : gUi->buttonBar.buttons())
            if (b.text == gEngine->text(tag)) return true;
        return false;
    }
    void waitForButtons() { g.steps(100); }
};
}  // namespace

// A first finish is a new best, kept as it is shown. After it the bar holds
// the comment and e-mail buttons too: the screen's widgets, the e-mail
// prompt last, stay above it at every shape; back from the e-mail options
// the screen still names the track just played, though the music has gone
// on. A comment keeps its spaces (Space is text while the box has focus),
// only Return ends it and Escape takes an entry back; OK keeps it all.
TEST(GameOver, FirstFinishIsANewBestKeptOnOkWithItsComment) {
    CgameOverFixture f;
    ASSERT_TRUE(f.g.initOk());
    ASSERT_TRUE(f.track);
    f.end(GAMETYPE_STANDARD, 12345, 1.0f);
    ASSERT_EQ(f.g.mode(), GM_GAME_OVER);
    CgameOverTrackScreen* screen = screens::get<CgameOverTrackScreen>();
    EXPECT_TRUE(screen->newBest());
    EXPECT_EQ(f.widget("Score")->getText(), "12,345");
    EXPECT_FALSE(f.widget("NewHighScore")->hidden);
    EXPECT_FALSE(f.widget("HighScoreCommentText")->hidden);
    // No board was downloaded: no place.
    EXPECT_TRUE(f.widget("WorldRecord")->hidden);
    ASSERT_NE(f.record(), nullptr);
    EXPECT_EQ(f.record()->bestScore, 12345u);
    f.waitForButtons();
    for (const char* b : {"OK", "RetryTrack", "AddComment", "EmailPrompt"}) EXPECT_TRUE(f.buttonShown(b)) << b;
    EXPECT_FALSE(f.buttonShown("ShareMoment"));   // fewer than two moments captured
    ASSERT_FALSE(f.widget("EmailPrompt")->hidden);
    for (const CwindowShape& shape : kWindowShapes) {
        useWindowShape(shape);
        for (auto& w : f.layoutOf(GM_GAME_OVER)->widgets)
            if (w->visible()) EXPECT_TRUE(clearOfButtonBar(w->rect())) << w->name << " at " << shape.w << "x" << shape.h;
    }
    useWindowShape(kWindowShapes[0]);

    const std::string played = f.widget("SongTitle")->getText();
    f.press(ACTION_RB);
    ASSERT_EQ(f.email.enters, 1);
    CsongPackInfo* other = nullptr;
    for (size_t i = 0; i < f.g->songLibrary.size() && !other; ++i)
        if (f.g->songLibrary.entry(i) != f.track) other = f.g->songLibrary.entry(i);
    ASSERT_NE(other, nullptr);
    f.g->music.currentTrack = other;
    ASSERT_NE(f.g->music.getTrackLabel(other, 0), played);
    f.enter(GM_GAME_OVER);
    EXPECT_EQ(f.widget("SongTitle")->getText(), played);

    f.g.tapAction(ACTION_OPTION_Y);   // AddComment
    ASSERT_TRUE(gUi->textEntry.active);
    auto type = [&f](const char* text, int key = 0) {
        if (key) f.g.keyDown(key);
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        strncpy(e.text.text, text, sizeof e.text.text - 1);
        SDL_PushEvent(&e);
        f.g.steps(1);
        if (key) f.g.keyUp(key);
        f.g.steps(1);
    };
    type("nice");
    type(" ", SDL_SCANCODE_SPACE);
    EXPECT_TRUE(gUi->textEntry.active);
    type("track");
    f.g.tapKey(SDL_SCANCODE_RETURN);
    f.g.steps(5);
    EXPECT_FALSE(gUi->textEntry.active);
    EXPECT_EQ(screen->comment(), "nice track");
    EXPECT_EQ(f.g.mode(), GM_GAME_OVER);
    f.g.tapAction(ACTION_OPTION_Y);
    ASSERT_TRUE(gUi->textEntry.active);
    type("x");
    f.g.tapKey(SDL_SCANCODE_ESCAPE);
    f.g.steps(5);
    EXPECT_EQ(screen->comment(), "nice track");
    EXPECT_EQ(f.g.mode(), GM_GAME_OVER);
    EXPECT_EQ(f.rankUp.enters + f.countdown.enters, 0);

    f.press(ACTION_SELECT);
    EXPECT_EQ(f.rankUp.enters, 1);
    EXPECT_FLOAT_EQ(f.record()->completion, 1.0f);
    EXPECT_EQ(f.record()->comment, "nice track");
}

TEST(GameOver, AFirstFinishWithoutABestStillKeepsTheProgress) {
    CgameOverFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.g->trackStats.submitScore(f.track->key, 50000, 1, 0.6f, {}, "old");
    f.end(GAMETYPE_STANDARD, 20000, 1.0f);
    CgameOverTrackScreen* screen = screens::get<CgameOverTrackScreen>();
    EXPECT_FALSE(screen->newBest());
    EXPECT_FALSE(f.widget("NewHighScore")->hidden);   // finished for the first time
    EXPECT_TRUE(f.widget("HighScoreCommentText")->hidden);
    f.waitForButtons();
    EXPECT_FALSE(f.buttonShown("AddComment"));
    f.press(ACTION_SELECT);
    ASSERT_NE(f.record(), nullptr);
    EXPECT_EQ(f.record()->bestScore, 50000u);
    EXPECT_EQ(f.record()->comment, "old");
    EXPECT_FLOAT_EQ(f.record()->completion, 1.0f);
}

TEST(GameOver, BossRushBestIsStoredAtOnceAndSurvivesTheShareScreen) {
    CgameOverFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.g->standardShipFlag = 1;
    f.g->progress.bossRushBest = 1000;
    f.session().bossRushWave = 3;
    f.end(GAMETYPE_BOSSRUSH, 5000, 0.3f, GM_GAME_OVER_BOSS_RUSH);
    ASSERT_EQ(f.g.mode(), GM_GAME_OVER_BOSS_RUSH);
    CgameOverBossRushScreen* screen = screens::get<CgameOverBossRushScreen>();
    EXPECT_TRUE(screen->newBest());
    EXPECT_EQ(f.g->progress.bossRushBest, 5000u);
    f.waitForButtons();

    // A comment typed, then the share screen and back: both are kept.
    f.g.tapAction(ACTION_OPTION_Y);
    ASSERT_TRUE(gUi->textEntry.active);
    gUi->textEntry.text = CbString("Thanks to the bass");
    gUi->textEntry.active = false;
    gUi->textEntry.finished = true;
    f.g.steps(2);
    EXPECT_EQ(screen->comment(), "Thanks to the bass");
    f.g->autoShots.shots.resize(2);
    f.press(ACTION_LB);
    EXPECT_EQ(f.share.enters, 1);
    f.enter(GM_GAME_OVER_BOSS_RUSH);
    EXPECT_TRUE(screen->newBest());
    EXPECT_EQ(screen->comment(), "Thanks to the bass");
    EXPECT_EQ(f.widget("HighScoreCommentText", GM_GAME_OVER_BOSS_RUSH)->getText(), "Thanks to the bass");
    f.g.steps(10);
    EXPECT_TRUE(f.buttonShown("OK"));   // at once on a return
    f.g->autoShots.shots.clear();

    // OK submits the best with the wave in front of the comment.
    std::string sent;
    f.g->progress.submitBoard = [&](int, uint64_t, const std::string& text) { sent = text; };
    // The help box that came up on the return takes its own press first.
    for (int i = 0; i < 5 && gUi->tutorials.isShowingOrQueued(); ++i) f.press(ACTION_SELECT, 30);
    f.press(ACTION_SELECT);
    EXPECT_EQ(f.rankUp.enters, 1);
    EXPECT_EQ(sent, std::string(gEngine->text("BossWave")) + " 3 : Thanks to the bass");
}
