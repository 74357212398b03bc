#include <gtest/gtest.h>

#include "game/enemies/playerShipDefs.h"
#include "game/gameWorld.h"
#include "game/progress/playerShipMgr.h"
#include "support/testEngine.h"

TEST(ShipDefs, DataFileHoldsEveryShip) {
    CtestEngine eng;
    CgameWorld w;
    ASSERT_TRUE(w.loadData());
    for (const char* name : {"StandardShip", "TestShipEditor", "Grunt", "Weaver", "Gunner", "Splitter", "Shard",
                             "Dasher", "Mine", "Asteroid", "AutoTurret", "Decoy", "Wingman", "Football"})
        EXPECT_NE(w.ships.findShipDefQuiet(name), nullptr) << name;
    EXPECT_NE(w.ships.findShipDefQuiet("testshipeditor"), nullptr);   // names ignore case
}

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
    EXPECT_EQ(defs[0].kind, SHIPKIND_DASHER);
    EXPECT_EQ(defs[0].behaviour, BEHAVE_DRIFT);
    EXPECT_GT(defs[0].radius, 0);
    ASSERT_EQ(defs[0].elements.size(), 1u);
    EXPECT_FLOAT_EQ(defs[0].elements[0].hitPoints, 5);
    EXPECT_TRUE(eng->log.containsPart("Unknown behaviour 'Hover'"));
    EXPECT_TRUE(eng->log.containsPart("Unknown ship keyword 'Wobble'"));
    EXPECT_TRUE(eng->log.containsPart("Unknown element kind 'Laser'"));
    EXPECT_TRUE(eng->log.containsPart("Ship def 'B' has no EndShipDef"));
}

TEST(ShipDefsDeath, MissingDefIsFatal) {
    EXPECT_EXIT(
        {
            CtestEngine eng;
            CgameWorld w;
            w.loadData();
            w.ships.findShipDef("NoSuchShip");
        },
        testing::ExitedWithCode(1), "");
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
    EXPECT_EQ(w.ships.playerShip(1), p1);
    for (int i = 0; i < 3; ++i) w.ships.addShip(dasher);
    for (int i = 0; i < 2; ++i) w.ships.addShip(mine);
    w.ships.addShip(rock);
    EXPECT_EQ(w.ships.countKind(SHIPKIND_DASHER), 3);
    EXPECT_EQ(w.ships.countKind(SHIPKIND_MINE), 2);
    EXPECT_EQ(w.ships.countEnemies(), 15);   // the asteroid is no enemy ship
    w.ships.ships()[2]->marked = true;
    EXPECT_EQ(w.ships.countEnemies(), 14);
    Cship extra;
    w.ships.extraShips.push_back(&extra);
    EXPECT_EQ(w.ships.countEnemies(), 15);
    EXPECT_EQ(w.ships.countImportant(), 1);

    // 800 ships at most.
    w.ships.clear();
    for (int i = 0; i < CshipMgr::kMaxShips; ++i) ASSERT_NE(w.ships.addShip(grunt), nullptr);
    EXPECT_EQ(w.ships.addShip(grunt), nullptr);
    EXPECT_TRUE(eng->log.containsPart("Too many ships (800)"));
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
    EXPECT_FALSE(ed->allTurretsDestroyed());
    EXPECT_FLOAT_EQ(ed->maxTurretHitPoints(), 1000);
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
    EXPECT_EQ(w.ships.findShipDefQuiet("Standard"), d);
    EXPECT_EQ(d->kind, SHIPKIND_PLAYER);
    EXPECT_NEAR(d->radius, 3.2f, 0.01f);
    EXPECT_FLOAT_EQ(d->topSpeed, standard->data.topSpeed);
    EXPECT_EQ(d->countElements(ELEMENT_TURRET), standard->data.numActiveTurrets());
    EXPECT_EQ(d->countElements(ELEMENT_ENGINE), standard->data.engineThrusts);
    // Guns sit toward the nose (negative y on the play plane).
    for (const auto& e : d->elements)
        if (e.kind == ELEMENT_TURRET) {
            EXPECT_LT(e.y, 0);
        }
    // A change to the ship reaches the same record; a flying ship's parts
    // keep pointing at their records.
    Cship* flying = w.ships.addShip(d, true);
    const CelementDef* part = flying->elements[0].def;
    standard->data.topSpeed = 20;
    EXPECT_EQ(w.ships.syncPlayerShip(*standard), d);
    EXPECT_FLOAT_EQ(d->topSpeed, 20);
    EXPECT_EQ(flying->elements[0].def, part);
    EXPECT_EQ(part, &d->elements[0]);
    // A change in the number of parts makes a new record; the old one stays for the flying ship.
    standard->data.turrets[0].enabled = 0;
    CshipDef* d2 = w.ships.syncPlayerShip(*standard);
    EXPECT_NE(d2, d);
    EXPECT_EQ(d2->countElements(ELEMENT_TURRET), d->countElements(ELEMENT_TURRET) - 1);
    EXPECT_EQ(flying->def, d);
    EXPECT_EQ(w.ships.findShipDefQuiet("Standard"), d2);
    w.ships.removeShip(flying);
    w.ships.removePlayerShipDef("Standard");
    EXPECT_EQ(w.ships.findShipDefQuiet("Standard"), nullptr);
}

// The data files' record of the test flight is found before any made one:
// assigning a ship must land in it, or the flight flies the stock ship.
TEST(Ship, TheTestFlightRecordIsTheEditedShipEvenBesideTheDataFilesRecord) {
    CtestEngine eng;
    CgameWorld w;
    ASSERT_TRUE(w.loadData());
    ASSERT_NE(w.ships.findShipDefQuiet(kTestShipRecord), nullptr);
    CplayerShipMgr hangar;
    ASSERT_TRUE(hangar.loadBuiltIn());
    CplayerShipDef* ship = hangar.createCustomShip();
    ASSERT_NE(ship, nullptr);
    ship->hullSprite.clear();   // a hull image of its own
    ship->data.topSpeed = 23;
    ship->data.turrets[0].enabled = 0;
    const CshipDef* assigned = assignShipRecord(w.ships, *ship);
    ASSERT_NE(assigned, nullptr);
    const CshipDef* found = w.ships.findShipDefQuiet(kTestShipRecord);
    EXPECT_EQ(found, assigned);
    EXPECT_EQ(found->sprite, ship->name());
    EXPECT_FLOAT_EQ(found->topSpeed, 23);
    EXPECT_EQ(found->countElements(ELEMENT_TURRET), ship->data.numActiveTurrets());

    // Not while a live ship flies the record: its parts point into it.
    Cship* flying = w.ships.addShip(found, true);
    ASSERT_NE(flying, nullptr);
    ship->data.topSpeed = 12;
    assignShipRecord(w.ships, *ship);
    EXPECT_EQ(flying->def, found);
    EXPECT_FLOAT_EQ(found->topSpeed, 23);
    w.ships.clear();
    assignShipRecord(w.ships, *ship);
    EXPECT_FLOAT_EQ(w.ships.findShipDefQuiet(kTestShipRecord)->topSpeed, 12);
}

TEST(Ship, TheHangarsShipsComeAndGo) {
    CtestEngine eng;
    CgameWorld w;
    ASSERT_TRUE(w.loadData());
    CplayerShipMgr hangar;
    ASSERT_TRUE(hangar.loadBuiltIn());
    w.attachHangar(hangar);
    EXPECT_NE(w.ships.findShipDefQuiet("Standard"), nullptr);
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
    EXPECT_GT(made->numMissions(), 0);
    EXPECT_EQ(made->hullSprite.rfind("ss_hull_", 0), 0u);
    const CshipDef* d = w.ships.findShipDefQuiet("Loud Track Ship");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->type, SHIPTYPE_MUSIC_GENERATED);
    EXPECT_EQ(d->sprite, made->hullSprite);
    // The same track grows the same ship.
    CplayerShipDef again;
    again.data.identifier = "Loud Track Ship";
    hangar.growProcShip(again, seed);
    w.procShips.generate(trackSeed("Loud Track", 180), 1.2f, again);
    EXPECT_EQ(again.hullSprite, made->hullSprite);
    EXPECT_FLOAT_EQ(again.data.topSpeed, made->data.topSpeed);

    // A game starts with the hangar's current ship.
    ASSERT_TRUE(hangar.setCurrentShip("Vessik"));
    w.session.track.length = 30;
    w.session.startGame();
    ASSERT_NE(w.ships.playerShip(0), nullptr);
    EXPECT_EQ(w.ships.playerShip(0)->def->name, "Vessik");

    EXPECT_TRUE(hangar.deleteShip("Loud Track Ship"));
    EXPECT_EQ(w.ships.findShipDefQuiet("Loud Track Ship"), nullptr);
}
