#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "engine/webMessage.h"
#include "game/progress/playerShipDef.h"
#include "game/progress/shipModule.h"
#include "support/testEngine.h"

TEST(Modules, KeyGivesTheSameModuleEveryTime) {
    CtestEngine eng;
    ASSERT_TRUE(CshipModuleTable::get().loaded());
    CshipModule a, b;
    a.initFromKey("Standard");
    b.initFromKey("Standard");
    EXPECT_TRUE(a.rarity == b.rarity && a.posKind == b.posKind && a.posFactor == b.posFactor && a.negKind == b.negKind);

    // Across many keys every module is well formed and the kinds vary.
    std::set<int> kinds, rarities;
    for (int i = 0; i < 400; ++i) {
        CshipModule m;
        m.initFromKey("!key" + std::to_string(i));
        ASSERT_TRUE(m.posKind >= 0 && m.posKind < (int)ShipMod_All && m.negKind >= 0 && m.negKind < 8);
        ASSERT_NE(m.negKind, m.posKind);
        ASSERT_LT(m.rarity, kNumRarities);
        if (m.posKind == ShipMod_Decel) EXPECT_LT(m.posFactor, 0.0f);
        else EXPECT_GT(m.posFactor, 0.0f);
        kinds.insert(m.posKind);
        rarities.insert(m.rarity);
    }
    EXPECT_EQ(kinds.size(), 10u);
    EXPECT_EQ(rarities.size(), 4u);

    // A key longer than the field keeps whole characters.
    CshipModule longKey;
    longKey.initFromKey(std::string(40, 'x') + "\xC3\xA9");
    EXPECT_EQ(longKey.key.size(), 35u);
}

TEST(Modules, StoredRecordsWithAnUnknownStatRarityOrNoKeyAreRefused) {
    CtestEngine eng;
    CshipModule m;
    m.initFromKey("Vessik");
    // Kind 10 is the filter value, never a module's stat.
    for (auto [at, value] : {std::pair{37, 10}, {36, 4}, {0, 0}}) {
        uint8_t rec[CshipModule::kRecordSize];
        m.write(rec);
        CshipModule back;
        ASSERT_TRUE(back.read(rec, sizeof rec));
        rec[at] = (uint8_t)value;
        EXPECT_FALSE(back.read(rec, sizeof rec)) << at;
    }
}

TEST(Modules, CollectionKeepsOneModuleAKeyAndFlagsTheSave) {
    CtestEngine eng;
    bool dirty = false;
    CshipModuleMgr mgr(&dirty);
    ASSERT_TRUE(mgr.addModule("Standard"));
    EXPECT_TRUE(dirty);
    dirty = false;
    mgr.addModule("standard");
    EXPECT_EQ(mgr.size(), 1u);
    EXPECT_FALSE(dirty);
    mgr.addModule("Vornak");
    EXPECT_TRUE(mgr.removeModule("Standard"));
    EXPECT_FALSE(mgr.removeModule(5));

    Cbytes out;
    mgr.write(out);
    std::vector<CshipModule> staged;
    ASSERT_TRUE(mgr.read(out.data(), out.size(), staged));
    EXPECT_FALSE(mgr.read(out.data(), out.size() - 1, staged));
}

TEST(Modules, FiveSlotsAndTheBonusFollowsTheFittedModules) {
    CtestEngine eng;
    CplayerShipDef ship;
    ship.data.identifier = "Standard";
    std::vector<CshipModule> mods(6);
    for (int i = 0; i < 6; ++i) mods[i].initFromKey("mod" + std::to_string(i));
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(ship.fitModule(mods[i]));
    EXPECT_FALSE(ship.fitModule(mods[5]));
    EXPECT_FALSE(ship.fitModule(mods[0]));
    EXPECT_TRUE(ship.removeModule(mods[2]));
    EXPECT_FALSE(mods[2].isFitted());
    EXPECT_TRUE(ship.fitModule(mods[5]));
    EXPECT_EQ(mods[5].fittedSlot, 2);

    CplayerShipDef one;
    one.data.identifier = "One";
    CshipModule topSpeed;
    topSpeed.key = "t";
    topSpeed.posKind = ShipMod_TopSpeed;
    topSpeed.posFactor = 1.5f;
    topSpeed.negKind = ShipMod_StartMultiplier;
    topSpeed.negFactor = -1.0f;
    one.fitModule(topSpeed);
    EXPECT_FLOAT_EQ(one.bonus.topSpeed, 1.5f);
    EXPECT_EQ(one.bonus.startMultiplier, -1);
    one.removeModule("t");
    EXPECT_FLOAT_EQ(one.bonus.topSpeed, 0.0f);
    EXPECT_EQ(one.bonus.startMultiplier, 0);
}

