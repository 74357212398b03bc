// Play inside the game object: the session's states go through the state
// machine, and the Playing screen steps the session with the players' input.
#include <gtest/gtest.h>

#include "support/testGame.h"

namespace {
void setUpTrack(CgameWorld& w, double length) {
    w.session.gameType = GAMETYPE_STANDARD;
    w.session.track = CtrackInfo();
    w.session.track.title = "State Machine Track";
    w.session.track.length = length;
    w.session.playerShips.fill("StandardShip");
}
}  // namespace

TEST(PlayState, StartGameEntersPlayingAndTheTracksEndTheGameOver) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    CgameWorld& w = g->world;
    ASSERT_TRUE(w.loadData());
    setUpTrack(w, 3.0);
    w.session.startGame();
    EXPECT_EQ(g.mode(), GM_PLAYING);
    ASSERT_NE(w.ships.playerShip(0), nullptr);

    // The keyboard flies the ship; the mouse aims and fires.
    Cship* me = w.ships.playerShip(0);
    float x0 = me->pos.x;
    ASSERT_TRUE(g.setAction(0, ACTION_RIGHT, true));
    g.steps(20);
    EXPECT_GT(me->pos.x, x0 + 10);
    g.setAction(0, ACTION_RIGHT, false);
    g.mouseMove(1200, 360);
    g.steps(1);
    g.mouseButton(0, true);
    g.steps(4);
    EXPECT_GT(w.projectiles.count(), 0);
    for (const auto& p : w.projectiles.shots()) EXPECT_TRUE(p.team != 0 || p.vel.x > 0);   // toward the mouse
    g.mouseButton(0, false);
    EXPECT_NEAR(w.session.clock, 25 / 60.0, 0.02);

    // The stand-in music plays the track to its end; the game-over state comes after the fade.
    g.steps(3 * 60);
    EXPECT_TRUE(w.session.isGameOver());
    EXPECT_FLOAT_EQ(w.session.completion, 1.0f);
    g.steps(90);
    EXPECT_EQ(g.mode(), GM_GAME_OVER);
    // Nothing moves once the game is over.
    double clock = w.session.clock;
    g.steps(5);
    EXPECT_EQ(w.session.clock, clock);
}

TEST(PlayState, PerkButtonsFireTheBoundWeapon) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    CgameWorld& w = g->world;
    ASSERT_TRUE(w.loadData());
    setUpTrack(w, 60.0);
    w.perks.bindFreeButtons();   // the super bomb on the first perk button
    w.session.startGame();
    g.steps(2);
    Cship* me = w.ships.playerShip(0);
    CshipDef* grunt = w.ships.findShipDef("Grunt");
    for (int i = 0; i < 5; ++i) {
        Cship* e = w.ships.addShip(grunt);
        e->pos = Cvec3(me->pos.x + 20 + i, me->pos.y, 0);
    }
    EXPECT_EQ(CpowerUps::getPowerUpLevel(w.powerUps.team(0), PU_SUPER_BOMB), 1);
    ASSERT_TRUE(g.setAction(0, ACTION_LT, true));
    g.steps(1);
    g.setAction(0, ACTION_LT, false);
    g.steps(1);
    EXPECT_EQ(CpowerUps::getPowerUpLevel(w.powerUps.team(0), PU_SUPER_BOMB), 0);
    EXPECT_EQ(w.ships.countKind(SHIPKIND_GRUNT), 0);
    EXPECT_GT(w.session.teamScores[0], 0);
}
