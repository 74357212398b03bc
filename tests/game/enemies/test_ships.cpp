#include <gtest/gtest.h>

#include "game/gameWorld.h"
#include "game/progress/playerShipMgr.h"
#include "support/testEngine.h"

TEST(ShipDefs, ParserCopesWithBadText) {
    CtestEngine eng;
    std::vector<CshipDef> defs;
    const char* text =
        "Stray 1\n"
        "ShipDef \"A\" Kind 5 Behaviour Hover Colour Red Radius -2 Wobble 3\n"
        "  Element Laser 1 2 HitPoints 5 Frob 1 EndElement\n"
        "EndShipDef\n"
        "ShipDef \"\" EndShipDef\n"
        "ShipDef \"B\" Sides 6\n";   // no end
    EXPECT_EQ(parseShipDefs(text, defs, "test.txt"), 1);
    ASSERT_EQ(defs.size(), 1u);
    EXPECT_EQ(defs[0].behaviour, BEHAVE_DRIFT);
    EXPECT_GT(defs[0].radius, 0);
    ASSERT_EQ(defs[0].elements.size(), 1u);
    EXPECT_TRUE(eng->log.containsPart("Ship def 'B' has no EndShipDef"));
}

TEST(ShipMgr, CapOrderAndCounts) {
    CtestEngine eng;
    CgameWorld w;
    ASSERT_TRUE(w.loadData());
    const CshipDef* grunt = w.ships.findShipDef("Grunt");
    const CshipDef* dasher = w.ships.findShipDef("Dasher");
    const CshipDef* mine = w.ships.findShipDef("Mine");
    const CshipDef* rock = w.ships.findShipDef("Asteroid");
    for (int i = 0; i < 10; ++i) w.ships.addShip(grunt);
    Cship* p0 = w.ships.addShip(w.ships.findShipDef("StandardShip"), true);
    Cship* p1 = w.ships.addShip(w.ships.findShipDef("StandardShip"), true);
    p0->player = 0;
    p1->player = 1;
    EXPECT_EQ(w.ships.ships()[0], p0);   // players' ships lead the list, in order
    EXPECT_EQ(w.ships.ships()[1], p1);
    for (int i = 0; i < 3; ++i) w.ships.addShip(dasher);
    for (int i = 0; i < 2; ++i) w.ships.addShip(mine);
    w.ships.addShip(rock);
    EXPECT_EQ(w.ships.countKind(SHIPKIND_MINE), 2);
    EXPECT_EQ(w.ships.countEnemies(), 15);   // the asteroid is no enemy ship
    w.ships.ships()[2]->marked = true;
    EXPECT_EQ(w.ships.countEnemies(), 14);

    // 800 ships at most.
    w.ships.clear();
    for (int i = 0; i < CshipMgr::kMaxShips; ++i) ASSERT_NE(w.ships.addShip(grunt), nullptr);
    EXPECT_EQ(w.ships.addShip(grunt), nullptr);
    w.ships.removeShip(w.ships.ships()[5]);
    EXPECT_NE(w.ships.addShip(grunt), nullptr);
}

TEST(Ship, TurretsAndHits) {
    CtestEngine eng;
    CgameWorld w;
    ASSERT_TRUE(w.loadData());
    Cship* grunt = w.ships.addShip(w.ships.findShipDef("Grunt"));
    EXPECT_TRUE(grunt->allTurretsDestroyed());   // no turrets at all
    Cship* ed = w.ships.addShip(w.ships.findShipDef("TestShipEditor"), true);
    // Carnage: a rival team's shots wear the strongest turret down first.
    ed->team = 0;
    EXPECT_FALSE(ed->hit(600, ed->pos2(), 1, 1));
    EXPECT_FLOAT_EQ(ed->maxTurretHitPoints(), 1000);
    EXPECT_FALSE(ed->hit(600, ed->pos2(), 1, 1));
    EXPECT_FLOAT_EQ(ed->maxTurretHitPoints(), 400);
    EXPECT_FALSE(ed->hit(100, ed->pos2(), 0, 0));   // own team: nothing
    EXPECT_FALSE(ed->hit(400, ed->pos2(), 1, 1));
    EXPECT_TRUE(ed->hit(400, ed->pos2(), 1, 1));
    EXPECT_TRUE(ed->allTurretsDestroyed());

    // A warping ship can't be hit; a live one dies at zero health.
    grunt->spawnTimer = 0.5f;
    EXPECT_FALSE(grunt->hit(100, grunt->pos2(), 0, 0));
    grunt->spawnTimer = 0;
    EXPECT_FALSE(grunt->hit(4, grunt->pos2(), 0, 0));
    EXPECT_TRUE(grunt->hit(6, grunt->pos2(), 0, 0));
    EXPECT_TRUE(grunt->marked);
}

TEST(Ship, PlayerShipsFlyAsTheHangarDefinesThem) {
    CtestEngine eng;
    CgameWorld w;
    ASSERT_TRUE(w.loadData());
    CplayerShipMgr hangar;
    ASSERT_TRUE(hangar.loadBuiltIn());
    CplayerShipDef* standard = hangar.findShip("Standard");
    ASSERT_NE(standard, nullptr);
    CshipDef* d = w.ships.syncPlayerShip(*standard);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->countElements(ELEMENT_TURRET), standard->data.numActiveTurrets());
    // Guns sit toward the nose (negative y on the play plane).
    for (const auto& e : d->elements) EXPECT_TRUE(e.kind != ELEMENT_TURRET || e.y < 0);
    // A change to the ship reaches the same record; a flying ship's parts
    // keep pointing at their records.
    Cship* flying = w.ships.addShip(d, true);
    const CelementDef* part = flying->elements[0].def;
    standard->data.topSpeed = 20;
    EXPECT_EQ(w.ships.syncPlayerShip(*standard), d);
    EXPECT_FLOAT_EQ(d->topSpeed, 20);
    EXPECT_EQ(part, &d->elements[0]);
    // A change in the number of parts makes a new record; the old one stays for the flying ship.
    standard->data.turrets[0].enabled = 0;
    CshipDef* d2 = w.ships.syncPlayerShip(*standard);
    EXPECT_NE(d2, d);
    EXPECT_EQ(flying->def, d);
    EXPECT_EQ(w.ships.findShipDefQuiet("Standard"), d2);
}

TEST(Ship, TheHangarsShipsComeAndGo) {
    CtestEngine eng;
    CgameWorld w;
    ASSERT_TRUE(w.loadData());
    CplayerShipMgr hangar;
    ASSERT_TRUE(hangar.loadBuiltIn());
    w.attachHangar(hangar);
    EXPECT_NE(w.ships.findShipDefQuiet("Vessik"), nullptr);

    // A music-generated ship: missions from the hangar's growth, look and
    // handling from the track.
    w.session.track.title = "Loud Track";
    w.session.averageIntensity = 1.2f;
    CtrackInfoView seed;
    seed.title = "Loud Track";
    seed.lengthSeconds = 180;
    CplayerShipDef* made = hangar.createProcShip("Loud Track Ship", seed);
    ASSERT_NE(made, nullptr);
    const CshipDef* d = w.ships.findShipDefQuiet("Loud Track Ship");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->type, SHIPTYPE_MUSIC_GENERATED);
    EXPECT_EQ(d->sprite, made->hullSprite);
    // A game starts with the hangar's current ship.
    ASSERT_TRUE(hangar.setCurrentShip("Vessik"));
    w.session.track.length = 30;
    w.session.startGame();
    ASSERT_NE(w.ships.playerShip(0), nullptr);
    EXPECT_EQ(w.ships.playerShip(0)->def->name, "Vessik");

    EXPECT_TRUE(hangar.deleteShip("Loud Track Ship"));
    EXPECT_EQ(w.ships.findShipDefQuiet("Loud Track Ship"), nullptr);
}
