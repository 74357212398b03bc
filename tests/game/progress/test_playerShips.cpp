#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "engine/webMessage.h"
#include "game/progress/playerProgress.h"
#include "game/progress/playerShipMgr.h"
#include "support/testEngine.h"

namespace {

struct Cships {
    CplayerProgress progress;
    CplayerShipMgr mgr;
    Cships() {
        mgr.attach(&progress);
        EXPECT_TRUE(mgr.loadBuiltIn());
    }
};

}  // namespace

TEST(PlayerShips, ForeignBlockIsMendedOrRefused) {
    CtestEngine eng;
    Cships s;
    uint8_t block[CplayerShipData::kBlockSize];
    s.mgr.ships[0]->writeDataBlock(block);
    // A workshop item from elsewhere: wild values, no terminators, too many missions.
    block[3] = 200;
    float big = 1e9f, nan = std::nanf("");
    memcpy(block + 68, &big, 4);
    memcpy(block + 80, &nan, 4);
    block[424] = 100;   // flare count
    putU32(block + 448, 99);
    putU32(block + 544, 1000);
    memset(block + 37, 'N', 31);
    memset(block + 1300, 'D', 1000);
    CplayerShipDef ship;
    ASSERT_TRUE(ship.readDataBlock(block, sizeof block));
    EXPECT_EQ(ship.data.manufacturer, kNoManufacturer);
    EXPECT_FLOAT_EQ(ship.data.scale, 1.05f);
    EXPECT_FLOAT_EQ(ship.data.topSpeed, 16.0f);
    EXPECT_EQ(ship.data.flares[0].count, 8);
    EXPECT_EQ(ship.numMissions(), 4);
    EXPECT_EQ(ship.data.description.size(), 1000u);

    memset(block + 4, 0, 33);   // no identifier
    EXPECT_FALSE(ship.readDataBlock(block, sizeof block));
}

TEST(PlayerShips, CustomAndGeneratedShips) {
    CtestEngine eng;
    gEngine->steamId = 0x1122334455ull;
    Cships s;
    CplayerShipDef* mine = s.mgr.createCustomShip();
    ASSERT_TRUE(mine);
    EXPECT_EQ(mine->ownerId, 0x1122334455ull);
    EXPECT_EQ(s.mgr.currentShip(), mine);
    CplayerShipDef* second = s.mgr.createCustomShip();
    EXPECT_NE(second->name(), mine->name());

    CtrackInfoView seed;
    seed.artist = "Vessik";
    CplayerShipDef* gen = s.mgr.createProcShip("!0123456789abcdef0123456789abcde", seed, 1);
    ASSERT_TRUE(gen);
    EXPECT_GE(gen->numMissions(), 2);
    EXPECT_EQ(gen->data.missions[0].conditionText, "Vessik");
    EXPECT_EQ(s.mgr.createProcShip("!0123456789abcdef0123456789abcde", seed), gen);
    // Growth is deterministic.
    CplayerShipMgr other;
    ASSERT_TRUE(other.loadBuiltIn());
    CplayerShipDef* twin = other.createProcShip("!0123456789abcdef0123456789abcde", seed, 1);
    EXPECT_FLOAT_EQ(twin->data.topSpeed, gen->data.topSpeed);

    EXPECT_FALSE(s.mgr.createProcShip(std::string(40, 'x'), seed));
    EXPECT_FALSE(s.mgr.deleteShip("Standard"));
    EXPECT_TRUE(s.mgr.setCurrentShip(gen->name()));
    EXPECT_TRUE(s.mgr.deleteShip(gen->name()));
    EXPECT_EQ(s.progress.currentShip, "Standard");
}

TEST(PlayerShips, ImportsKeepProgressAndNeverClash) {
    CtestEngine eng;
    gEngine->steamId = 1;
    Cships s;
    auto make = [&](const char* name, uint64_t id, uint64_t owner, float speed) {
        auto ship = std::make_unique<CplayerShipDef>(*s.mgr.ships[0]);
        ship->data.identifier = name;
        ship->data.customFlag = 1;
        ship->data.builtIn = 1;
        ship->clearImportFlag();
        ship->data.publishedFinal = 1;
        ship->data.topSpeed = speed;
        ship->publishedId = id;
        ship->ownerId = owner;
        return ship;
    };
    CplayerShipDef* a = s.mgr.addImportedShip(make("Wasp", 900, 55, 20.0f));
    ASSERT_TRUE(a);
    EXPECT_FALSE(a->data.builtIn);
    a->xp = 5000;
    // The same item synced again takes its new look and keeps the progress.
    CplayerShipDef* again = s.mgr.addImportedShip(make("Wasp", 900, 55, 22.0f));
    EXPECT_EQ(again, a);
    EXPECT_FLOAT_EQ(a->data.topSpeed, 22.0f);
    EXPECT_EQ(a->xp, 5000u);
    // Another player's ship of a name already held gets a name of its own.
    CplayerShipDef* clash = s.mgr.addImportedShip(make("Standard", 901, 66, 15.0f));
    ASSERT_TRUE(clash);
    EXPECT_EQ(clash->name(), "Standard_2");
    // A work in progress is not finished.
    auto wip = make("Draft", 902, 66, 15.0f);
    wip->data.publishedFinal = 0;
    EXPECT_FALSE(s.mgr.addImportedShip(std::move(wip))->finished);
}

TEST(PlayerShips, ModulesAttachAndGrants) {
    CtestEngine eng;
    Cships s;
    CshipModuleMgr& mods = s.progress.modules;
    CshipModule* m = mods.addModule("Standard");
    CplayerShipDef& vessik = *s.mgr.findShip("Vessik");
    CplayerShipDef& standard = *s.mgr.findShip("Standard");
    ASSERT_TRUE(s.mgr.fitModule(vessik, *m));
    // A module sits in one slot only: fitting it elsewhere moves it.
    ASSERT_TRUE(s.mgr.fitModule(standard, *m));
    EXPECT_FALSE(vessik.hasModule("Standard"));

    // Re-attaching after a load puts it back; a module of a vanished ship comes off.
    standard.clearModuleSlots();
    CshipModule* lost = mods.addModule("Lost");
    lost->fittedShip = "NoSuchShip";
    lost->fittedSlot = 1;
    s.mgr.attachModules(mods);
    EXPECT_TRUE(standard.hasModule("Standard"));
    EXPECT_FALSE(mods.findModule("Lost")->isFitted());

    // Two missions complete bring the ship's module, once.
    vessik.missionComplete[0] = vessik.missionComplete[2] = 1;
    EXPECT_EQ(s.mgr.applyPendingModuleGrants(mods), 1);
    EXPECT_TRUE(mods.findModule("Vessik"));
    EXPECT_EQ(s.mgr.applyPendingModuleGrants(mods), 0);

    // Deleting a ship takes its modules off.
    CplayerShipDef* mine = s.mgr.createCustomShip();
    s.mgr.fitModule(*mine, *mods.addModule("Vornak"));
    ASSERT_TRUE(s.mgr.deleteShip(mine->name()));
    EXPECT_FALSE(mods.findModule("Vornak")->isFitted());

    // Deleting a module empties every slot holding it, also one the
    // collection no longer points at.
    CshipModule* gone = mods.addModule("Gone");
    ASSERT_TRUE(s.mgr.fitModule(standard, *gone));
    vessik.slots[4] = *gone;
    s.progress.saveDirty = false;
    ASSERT_TRUE(s.mgr.deleteModule(mods, "Gone"));
    EXPECT_FALSE(standard.hasModule("Gone"));
    EXPECT_FALSE(vessik.hasModule("Gone"));
    EXPECT_TRUE(s.progress.saveDirty);
}

