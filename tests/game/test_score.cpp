#include <gtest/gtest.h>

#include "game/playHarness.h"
#include "support/testEngine.h"

TEST(Score, AddScoreGoesThroughTheTeamMultiplier) {
    CtestEngine eng;
    CplayHarness h;
    CharnessOptions o;
    o.players = 2;
    o.party.teamMode = TEAMMODE_HEAD_TO_HEAD;
    ASSERT_TRUE(h.start(o));
    CgameSession& s = h.world.session;
    h.world.powerUps.addMultiplier(1, 6);   // team 1 at x7
    EXPECT_EQ(s.addScore(0, 150), 150);
    EXPECT_EQ(s.addScore(1, 150), 1050);
    EXPECT_EQ(s.sessionXp, 1200);
    // 64-bit: a big multiplier on a big score does not wrap.
    h.world.powerUps.addMultiplier(0, 40);
    s.addScore(0, 2000000000);
    EXPECT_EQ(s.teamScores[0], 150 + 2000000000LL * 41);

    // The no-multiplier rule scores points as they are.
    s.party.noMultiplier = true;
    EXPECT_EQ(s.addScore(1, 10), 10);
}

TEST(Score, KillsFollowTheMusicAndDropTokens) {
    CtestEngine eng;
    CplayHarness h;
    ASSERT_TRUE(h.start(CharnessOptions()));
    CgameWorld& w = h.world;
    CshipDef* gunner = w.ships.findShipDef("Gunner");
    Cship* e = w.ships.addShip(gunner);
    e->pos = Cvec3(50, 0, 0);
    w.music.intensity = 0.5f;   // kills score their value x (0.5 + intensity)
    w.powerUps.addMultiplier(0, 2);   // x3
    w.session.onShipDestroyed(*e, 0);
    EXPECT_EQ(w.session.teamScores[0], 150 * 3);
    EXPECT_GE(w.pickups.count(), gunner->drops);
    // Tokens count double in a loud passage.
    w.music.intensity = 0.9f;
    w.session.onPickup(0, PICKUP_MULTIPLIER, 1);
    EXPECT_EQ(w.powerUps.multiplier(0), 5);
    w.music.intensity = 0.2f;
    w.session.onPickup(0, PICKUP_MULTIPLIER, 1);
    EXPECT_EQ(w.powerUps.multiplier(0), 6);
}

TEST(ScoreReplay, InterpolationAndRecording) {
    CreplayRun run;
    run.name = "Rival";
    run.samples = {{0, 0, 1}, {1, 100, 2}, {2, 300, 3}};
    run.deathTime = 1.5f;
    EXPECT_EQ(run.scoreAt(-1), 0);
    EXPECT_EQ(run.scoreAt(1.5f), 200);
    EXPECT_EQ(run.scoreAt(9), 300);
    EXPECT_FALSE(run.deadAt(1.4f));

    CscoreReplay r;
    for (int i = 0; i < 7; ++i) EXPECT_EQ(r.addRival(run), i < 6);
    CreplayRun bad = run;
    bad.samples[2].time = 0.5f;
    r.reset();
    EXPECT_FALSE(r.addRival(bad));

    // The live run keeps one sample a second.
    for (int step = 0; step <= 180; ++step) r.record(step / 60.0f, step * 10, 1);
    EXPECT_EQ(r.live().samples.size(), 4u);

    std::vector<uint8_t> bytes;
    CscoreReplay::pack(run, bytes);
    CreplayRun back;
    ASSERT_TRUE(CscoreReplay::unpack(bytes.data(), bytes.size(), back));
    EXPECT_EQ(back.scoreAt(1.5f), 200);
    EXPECT_FLOAT_EQ(back.deathTime, 1.5f);
    EXPECT_FALSE(CscoreReplay::unpack(bytes.data(), bytes.size() - 1, back));
    bytes[0] = 0xff;   // a count far past the bytes
    EXPECT_FALSE(CscoreReplay::unpack(bytes.data(), bytes.size(), back));
}
