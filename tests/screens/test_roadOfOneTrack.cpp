// The road of one track, headless, as a player takes it: game type, music
// source, settings, the countdown, play with its HUD, a pause, the game over
// and on to the rank-up or straight back to the countdown.
#include <gtest/gtest.h>

#include "engine/format.h"
#include "engine/ui/screen.h"
#include "game/gameTypes.h"
#include "screens/gameOver.h"
#include "screens/gameType.h"
#include "screens/screenRegistry.h"
#include "trackRoad.h"

namespace {
struct CroadFixture : CtrackRoad {
    CrecordingScreen rankUp;
    CroadFixture() : CtrackRoad(4.0) {
        if (!g.initOk()) return;
        g->setScreen(GM_RANK_UP, &rankUp);
    }
    // Game type and source chosen, settings confirmed, the countdown run.
    void startTrack(int typeIdx) {
        enter(GM_GAME_TYPE);
        CgameTypeScreen* types = screens::get<CgameTypeScreen>();
        types->gameTypes()->setSelectedIdx(typeIdx);
        types->musicSources()->setSelectedIdx(MUSIC_NOW_PLAYING);
        press(ACTION_SELECT);
        ASSERT_EQ(g.mode(), GM_GAME_SETTINGS);
        press(ACTION_SELECT);
        ASSERT_EQ(g.mode(), GM_321_GO);
        runUntil(GM_PLAYING, 400);
    }
    // The game modes entered since the last call, as logged.
    std::vector<std::string> modes() {
        std::vector<std::string> all = g.logLinesStartingWith("GameMode = "), out;
        for (size_t i = seen_; i < all.size(); ++i) out.push_back(all[i].substr(std::string("GameMode = ").size()));
        seen_ = all.size();
        return out;
    }
    // Lives lost until the game ends.
    void loseAllLives() {
        CgameSession& s = g->world.session;
        for (int i = 0; i < 40 && g.mode() == GM_PLAYING; ++i) {
            if (Cship* ship = g->world.ships.playerShip(0)) ship->invulnerableTimer = 0;
            s.killPlayer(0);
            for (int k = 0; k < 200 && g.mode() == GM_PLAYING && s.respawnTimers[0] > 0; ++k) g.steps(1);
            g.steps(5);
        }
    }
    size_t seen_ = 0;
};

std::vector<std::string> lines(std::initializer_list<const char*> names) { return {names.begin(), names.end()}; }
}  // namespace

TEST(RoadOfOneTrack, StandardPlaysTheTrackThroughToTheRankUp) {
    CroadFixture f;
    ASSERT_TRUE(f.g.initOk());
    ASSERT_TRUE(f.track);
    f.modes();
    f.startTrack(0);
    ASSERT_EQ(f.g.mode(), GM_PLAYING);
    EXPECT_EQ(f.modes(), lines({"GameType", "GameSettings", "321Go", "Playing"}));
    f.g->world.session.addScore(0, 2500);

    // The track ends: its game over gives the pointer back and is heard in the
    // silence the track left; OK to the rank-up, whose menus have music again.
    gEngine->input.mouse.setCaptured(true);
    ASSERT_TRUE(f.runUntil(GM_GAME_OVER, 60 * 30));
    EXPECT_FALSE(gEngine->input.mouse.captured());
    int64_t result = f.g->world.session.teamScores[0];
    f.g.steps(20);
    EXPECT_EQ(f.g->music.channel, 0u);
    f.g.steps(100);
    CgameOverTrackScreen* over = screens::get<CgameOverTrackScreen>();
    EXPECT_EQ(over->screen()->findWidget("Score")->getText(), formatThousands64(result));
    f.press(ACTION_SELECT);
    EXPECT_EQ(f.g.mode(), GM_RANK_UP);
    EXPECT_EQ(f.modes(), lines({"GameOver", "RankUp"}));
    f.g.steps(5);
    EXPECT_NE(f.g->music.channel, 0u);
    EXPECT_TRUE(f.g.logPrefix("Menu music: "));
    const CtrackRecord* rec = f.g->trackStats.findTrack(f.track->key);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->bestScore, (uint64_t)result);
}

// Retry goes straight back to the countdown. Two games left through Retry
// each count toward the player's XP, the ship's and the statistics, as OK
// and the rank-up would have.
TEST(RoadOfOneTrack, GamesLeftThroughRetryCountOnceEach) {
    CroadFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.g->progress.markProfileLoaded();
    CplayerShipDef* ship = f.g->playerShips.currentShip();
    ASSERT_NE(ship, nullptr);
    const int64_t xp = f.g->progress.xp;
    const uint64_t shipXp = ship->xp;
    f.startTrack(1);   // Survival
    ASSERT_EQ(f.g.mode(), GM_PLAYING);
    int64_t total = 0;
    for (int game = 0; game < 2; ++game) {
        f.g->world.session.addScore(0, 3000 + game * 1000);
        f.loseAllLives();
        ASSERT_TRUE(f.runUntil(GM_GAME_OVER_SURVIVAL, 200));
        total += f.g->world.session.sessionXp;
        f.g.steps(120);
        f.modes();
        f.press(ACTION_OPTION_X);   // straight back to the countdown
        ASSERT_TRUE(f.runUntil(GM_PLAYING, 400));
        EXPECT_EQ(f.modes(), lines({"321Go", "Playing"}));
        EXPECT_EQ(f.g->world.session.teamScores[0], 0);
        // The retry plays its own track and owes the menus no music.
        EXPECT_EQ(f.g->music.currentTrack, f.track);
        EXPECT_FALSE(f.g->menuMusic.owed());
    }
    ASSERT_GE(total, 7000);
    EXPECT_EQ(f.rankUp.enters, 0);
    EXPECT_EQ(f.g->progress.xp, xp + total);
    EXPECT_EQ(ship->xp, shipXp + (uint64_t)total);
    EXPECT_EQ(f.g->statsCache.local.xp, (uint64_t)(xp + total));
    // The third game, quit from its pause before it ends, gives nothing.
    f.g->world.session.addScore(0, 500);
    f.g->endGame();
    EXPECT_EQ(f.g->progress.xp, xp + total);
}
