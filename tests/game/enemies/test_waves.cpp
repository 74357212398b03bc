#include <gtest/gtest.h>

#include "game/enemies/procShipGen.h"
#include "game/gameWorld.h"
#include "game/playHarness.h"
#include "game/progress/playerShipDef.h"
#include "support/testEngine.h"

TEST(WaveMgr, WavesComeWithTheBeat) {
    CtestEngine eng;
    CplayHarness h;
    CharnessOptions o;
    o.length = 60;
    o.title = "Beat Test";
    ASSERT_TRUE(h.start(o));
    h.syntheticMusic = false;
    CgameWorld& w = h.world;
    // Silence: nothing but the occasional asteroid.
    w.music = CmusicFeed();
    w.music.trackLength = 60;
    h.runFor(10);
    for (const auto& r : w.waves.record()) EXPECT_EQ(r.defName, "Asteroid");
    EXPECT_EQ(w.waves.beats(), 0);
    // A steady loud kick: beats, and waves on them.
    size_t before = w.waves.record().size();
    for (int i = 0; i < 600; ++i) {
        float phase = (float)(i % 30) / 30.0f;   // two beats a second
        w.music.bands[0] = phase < 0.1f ? 0.9f : 0.1f;
        w.music.bands[1] = 0.4f;
        w.music.bands[2] = 0.2f;
        w.music.intensity = 0.8f;
        h.step();
    }
    EXPECT_GE(w.waves.beats(), 18);
    EXPECT_GT(w.waves.record().size(), before + 3);
}

TEST(WaveMgr, CapsOnDashersAndMines) {
    CtestEngine eng;
    CgameWorld w;
    ASSERT_TRUE(w.loadData());
    w.session.difficulty = DIFFICULTY_EASY;   // caps 2 x 0 + 5 and + 4
    EXPECT_EQ(w.waves.spawnWave("Dasher", 9, FORMATION_SCATTER), 5);
    EXPECT_EQ(w.waves.spawnWave("Dasher", 3, FORMATION_RING), 0);
    EXPECT_EQ(w.waves.spawnWave("Mine", 9, FORMATION_CORNERS), 4);
    ASSERT_EQ(w.waves.record().size(), 3u);
    EXPECT_EQ(w.waves.record()[0].spawned, 5);
    for (Cship* s : w.ships.ships()) EXPECT_TRUE(w.insideArena(s->pos.x, s->pos.y));
}

TEST(BossGen, GrownFromSeedAndEnergy) {
    CtestEngine eng;
    CshipDef a = CbossGen::makeBossDef(1234, 0.5f, 1.0f);
    CshipDef b = CbossGen::makeBossDef(1234, 0.5f, 1.0f);
    CshipDef c = CbossGen::makeBossDef(1235, 0.5f, 1.0f);
    CshipDef loud = CbossGen::makeBossDef(1234, 1.4f, 1.0f);
    EXPECT_TRUE(a.name == b.name && a.elements.size() == b.elements.size() && a.health == b.health);
    EXPECT_NE(a.name, c.name);
    EXPECT_GT(loud.health, a.health);
    EXPECT_EQ(a.countElements(ELEMENT_TURRET) % 2, 0);   // mirrored

    CgameWorld w;
    ASSERT_TRUE(w.loadData());
    int moments = 0;
    w.hooks.armMoment = [&](int type, float, int) { moments += type == 2; };
    Cship* boss = w.bosses.spawnBoss(99, 0.8f, 1.0f);
    ASSERT_NE(boss, nullptr);
    EXPECT_EQ(moments, 1);
    EXPECT_EQ(w.ships.countImportant(), 1);
    // Its parts can be hit where they stand, beyond the core's radius.
    boss->spawnTimer = 0;
    const Celement* turret = nullptr;
    for (const auto& e : boss->elements)
        if (e.kind == ELEMENT_TURRET) turret = &e;
    ASSERT_NE(turret, nullptr);
    Cvec2 at = boss->elementPos(*turret);
    EXPECT_GT((at - boss->pos2()).length(), boss->size);
    EXPECT_TRUE(boss->touches(at, 0.5f));
    float before = turret->hitPoints;
    boss->hit(10, at, 0, 0);
    EXPECT_LT(turret->hitPoints, before);
}

TEST(ProcShipGen, ManufacturersAndTheBalanceRule) {
    CtestEngine eng;
    // A ship of no maker (the player's own) is named as such, never by a bare tag.
    EXPECT_EQ(CprocShipGen::getManufacturerName(kNoManufacturer), "Your own");

    CprocShipGen gen;
    CplayerShipDef a;
    a.data.identifier = "Track Ship";
    ASSERT_TRUE(gen.generate(77, 0.5f, a));
    EXPECT_EQ(gen.lastAttempts, 1);
    EXPECT_EQ(a.data.identifier, "Track Ship");

    // Candidates at -10 or worse are grown again.
    int calls = 0;
    gen.pointBalance = [&](const CplayerShipDef&) { return ++calls < 6 ? -10 : -9; };
    EXPECT_TRUE(gen.generate(77, 0.5f, a));
    EXPECT_EQ(gen.lastAttempts, 6);
    gen.pointBalance = [](const CplayerShipDef&) { return -50; };
    EXPECT_FALSE(gen.generate(77, 0.5f, a));
    EXPECT_EQ(gen.lastAttempts, 100);
}
