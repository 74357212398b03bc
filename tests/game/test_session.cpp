#include <gtest/gtest.h>

#include "game/missionResult.h"
#include "game/playHarness.h"
#include "support/testEngine.h"

namespace {
CharnessOptions opts(int type, double length = 40, int difficulty = DIFFICULTY_NORMAL) {
    CharnessOptions o;
    o.gameType = type;
    o.length = length;
    o.difficulty = difficulty;
    o.title = "Generated Track 1";
    return o;
}
}  // namespace

TEST(Session, StartGameSetsEverythingUpAndAStandardGameEndsWithTheTrack) {
    CtestEngine eng;
    CplayHarness h;
    int played = 0, resets = 0;
    h.world.hooks.playTrack = [&](const CtrackInfo&) {
        EXPECT_NE(h.world.mode(), 24);   // the track starts before the state changes
        ++played;
    };
    h.world.hooks.resetAutoShots = [&] { ++resets; };
    h.world.pickups.spawn(PICKUP_POWER, Cvec2());
    ASSERT_TRUE(h.start(opts(GAMETYPE_STANDARD)));
    CgameWorld& w = h.world;
    EXPECT_EQ(played, 1);
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(w.mode(), 24);
    EXPECT_EQ(w.pickups.count(), 0);
    EXPECT_EQ(w.session.lives(), 3);   // 2 + the extra life every profile starts with
    EXPECT_EQ(w.session.seed, trackSeed("Generated Track 1", 40));

    // A standard game ends at the track's end, with the track completed.
    h.runUntilGameOver(60);
    CgameSession& s = h.world.session;
    ASSERT_TRUE(s.isGameOver());
    EXPECT_EQ(h.world.mode(), 25);
    EXPECT_EQ(s.completion, 1.0f);
    EXPECT_NEAR(s.clock, 40.0, 0.05);
}

// A radio station runs for a day; a stream with no end for five minutes.
TEST(Session, EndRulesPerTypeAndSource) {
    CtestEngine eng;
    struct Crow {
        int type, source;
        double endTime;
    };
    const Crow rows[] = {{GAMETYPE_STANDARD, MUSIC_RADIO_LIST, 86400.0}, {GAMETYPE_CHILLOUT, MUSIC_OPEN_MIC, 300.0}};
    for (const Crow& row : rows) {
        CplayHarness h;
        CharnessOptions o = opts(row.type, 0);
        o.musicSource = row.source;
        ASSERT_TRUE(h.start(o));
        EXPECT_EQ(h.world.session.endTime, row.endTime);
        h.world.session.endTime = 4;   // the same rule, sooner
        h.runUntilGameOver(10);
        EXPECT_EQ(h.world.mode(), 25);
        EXPECT_NEAR(h.world.session.clock, 4.0, 0.05);
    }
}

TEST(Session, SurvivalEndsWithTheLivesAndRamps) {
    CtestEngine eng;
    CplayHarness h;
    int nextTracks = 0;
    h.world.hooks.nextTrack = [&] { ++nextTracks; };
    h.pilots[0].style = CscriptedPilot::STYLE_PASSIVE;
    ASSERT_TRUE(h.start(opts(GAMETYPE_SURVIVAL, 10, DIFFICULTY_INSANE)));
    h.runUntilGameOver(600);
    CgameSession& s = h.world.session;
    ASSERT_TRUE(s.isGameOver());
    EXPECT_EQ(h.world.mode(), 27);
    EXPECT_EQ(s.lives(), 0);
    EXPECT_GT(s.clock, 10.0);          // the track's end did not end it
    EXPECT_EQ(nextTracks, 1);          // the music was asked for another track
    EXPECT_GT(s.difficultyRamp, 1.0f);
}

TEST(Session, BossRushWavesAndTimeOut) {
    CtestEngine eng;
    CplayHarness h;
    h.pilots[0].style = CscriptedPilot::STYLE_PASSIVE;
    ASSERT_TRUE(h.start(opts(GAMETYPE_BOSSRUSH, 60, DIFFICULTY_EASY)));
    CgameSession& s = h.world.session;
    h.runFor(3.5);   // two seconds' lead, then the boss warps in
    ASSERT_TRUE(h.world.bosses.bossAlive());
    // Bring the boss down by hand: turrets first (the core is shielded till then).
    Cship* boss = h.world.bosses.current();
    EXPECT_FALSE(boss->hit(1e6f, boss->pos2(), 0, 0));
    for (auto& e : boss->elements) e.hitPoints = 0;
    ASSERT_TRUE(boss->allTurretsDestroyed());
    ASSERT_TRUE(boss->hit(1e6f, boss->pos2(), 0, 0));
    s.onShipDestroyed(*boss, 0);
    h.runFor(0.1);
    EXPECT_EQ(s.bossRushWave, 2);
    EXPECT_GT(s.teamScores[0], 5000);
    h.runUntilGameOver(400);
    ASSERT_TRUE(s.isGameOver());
    EXPECT_EQ(h.world.mode(), 26);
}

// Deaths, respawns and the perk weapons actually fired (a press without stock
// fires nothing) are what the missions' rules read.
TEST(Session, LivesRespawnsAndWeaponsFiredAsTheMissionsReadThem) {
    CtestEngine eng;
    CplayHarness h;
    h.pilots[0].style = CscriptedPilot::STYLE_PASSIVE;
    ASSERT_TRUE(h.start(opts(GAMETYPE_STANDARD, 120)));
    CgameWorld& w = h.world;
    CgameSession& s = w.session;
    Cship* me = w.ships.playerShip(0);
    ASSERT_EQ(w.perks.perkOnButton(0), PERK_SUPER_BOMB);
    while (w.powerUps.useStock(0, PU_SUPER_BOMB)) {
    }
    w.controls[0].perkPressed[0] = true;
    h.runFor(0.05);
    EXPECT_EQ(s.weaponsUsed, 0u);
    w.powerUps.addStock(0, PU_SUPER_BOMB, 1);
    w.controls[0].perkPressed[0] = true;
    h.runFor(0.05);
    EXPECT_EQ(missionResultOf(s).weaponsUsed, 1u << PU_SUPER_BOMB);

    w.powerUps.addMultiplier(0, 9);   // x10
    s.killPlayer(0);
    EXPECT_EQ(s.lives(), 3);          // still invulnerable from the start
    h.runFor(CgameSession::kInvulnerableTime + 0.1);
    s.killPlayer(0);
    EXPECT_FALSE(me->alive);
    EXPECT_EQ(s.lives(), 2);
    EXPECT_EQ(w.powerUps.multiplier(0), 5);
    h.runFor(CgameSession::kRespawnTime + 0.05);
    EXPECT_TRUE(me->alive);
    EXPECT_GT(me->invulnerableTimer, 0);
    EXPECT_EQ(s.extraLivesUsed, 0);   // the base lives' one respawn
    // A life pickup, then the last lives: two respawns on extra lives, and
    // the last death ends the game without spending one.
    s.onPickup(0, PICKUP_LIFE, 1);
    EXPECT_EQ(s.lives(), 3);
    for (int i = 0; i < 3; ++i) {
        me->invulnerableTimer = 0;
        s.killPlayer(0);
        h.runFor(CgameSession::kRespawnTime + 0.05);
    }
    EXPECT_EQ(missionResultOf(s).extraLivesUsed, 2);
    EXPECT_TRUE(s.isGameOver());
    EXPECT_LT(s.completion, 1.0f);
}

TEST(Session, ReseedingMakesRunsOfOneTrackAlike) {
    CtestEngine eng;
    struct Crun {
        std::vector<CwaveRecord> after35;
        int64_t score = 0;
        uint32_t stateAt35 = 0;
    };
    auto run = [](bool disturb) {
        Crun out;
        CplayHarness h;
        h.start(opts(GAMETYPE_STANDARD, 50));
        while (h.world.session.clock < 35.0) {
            if (disturb && h.world.session.clock >= 10.0 && h.world.session.clock < 10.02) {
                // Something unforeseen draws on the generators before the reseeds.
                for (int i = 0; i < 7; ++i) h.world.waves.random.next();
                h.world.playRandom.next();
            }
            h.step();
        }
        out.stateAt35 = h.world.waves.random.state();
        h.runUntilGameOver(60);
        for (const auto& r : h.world.waves.record())
            if (r.time >= 35.0f) out.after35.push_back(r);
        out.score = h.world.session.teamScores[0];
        return out;
    };
    const Crun a = run(false), b = run(false), c = run(true);
    EXPECT_EQ(a.score, b.score);   // the same track played the same way is the same game
    // After the reseeds the generators agree whatever came before.
    EXPECT_EQ(a.stateAt35, c.stateAt35);
    ASSERT_FALSE(a.after35.empty());
    ASSERT_EQ(a.after35.size(), c.after35.size());
    for (size_t i = 0; i < a.after35.size(); ++i) {
        const CwaveRecord &x = a.after35[i], &y = c.after35[i];
        EXPECT_TRUE(x.defName == y.defName && x.count == y.count && x.formation == y.formation) << i;
    }
}

TEST(Session, PartyGamesEndInThePartyState) {
    CtestEngine eng;
    {
        CplayHarness h;
        CharnessOptions o = opts(GAMETYPE_PARTY_FOOTBALL, 10);
        o.players = 2;
        o.party.teamMode = TEAMMODE_COOP;   // mended: football needs two teams
        ASSERT_TRUE(h.start(o));
        CgameWorld& w = h.world;
        EXPECT_EQ(w.session.party.teamMode, TEAMMODE_HEAD_TO_HEAD);
        EXPECT_EQ(w.ships.count(), 3);   // two players and the ball
        // Put the ball in team 2's goal: team 1 scores.
        for (Cship* s : w.ships.ships())
            if (s->kind == SHIPKIND_BALL) s->pos = Cvec3(w.arenaHalfWidth, 0, 0);
        h.step();
        EXPECT_EQ(w.session.teamScores[0], 1);
        h.runUntilGameOver(20);
        EXPECT_EQ(w.mode(), 28);
    }
}

TEST(Session, TagRules) {
    CtestEngine eng;
    CplayHarness h;
    CharnessOptions o = opts(GAMETYPE_CHILLOUT, 120);
    o.players = 3;
    o.party.teamMode = TEAMMODE_COOP;
    o.party.tagRules = true;
    for (auto& p : h.pilots) p.style = CscriptedPilot::STYLE_PASSIVE;
    ASSERT_TRUE(h.start(o));
    CgameSession& s = h.world.session;
    h.step();
    ASSERT_GE(s.tagIt, 0);
    int first = s.tagIt;
    h.runFor(CgameSession::kTagTime + 0.1);
    EXPECT_TRUE(s.tagOut[first]);
    EXPECT_FALSE(h.world.ships.playerShip(first)->active);
    EXPECT_NE(s.tagIt, first);
    // The last one standing wins the round and everyone comes back.
    h.runFor(CgameSession::kTagTime + 0.1);
    EXPECT_EQ(s.tagOut[0] + s.tagOut[1] + s.tagOut[2], 0);
    EXPECT_GE(s.teamScores[0], 10000);
}

