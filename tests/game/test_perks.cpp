#include <gtest/gtest.h>

#include "game/perkMgr.h"
#include "support/testEngine.h"

TEST(PerkMgr, EnableRules) {
    CperkMgr m;
    m.setUnlocked(PERK_EXTRA_MICRO_MISSILE, true);
    m.buyLevel(PERK_EXTRA_MICRO_MISSILE);
    EXPECT_FALSE(m.canEnable(PERK_EXTRA_MICRO_MISSILE));   // micro missiles off
    EXPECT_TRUE(m.canEnable(PERK_EXTRA_SUPER_BOMB));        // super bomb on

    // Four FirePower perks at most.
    m.setUnlocked(PERK_PERK_SLOT, true);
    for (int i = 0; i < 9; ++i) m.buyLevel(PERK_PERK_SLOT);
    for (int id : {PERK_MICRO_MISSILES, PERK_REFLECT_SHIELD, PERK_ULTRA_BEAM, PERK_EMP}) {
        m.setUnlocked(id, true);
        m.buyLevel(id);
    }
    for (int id : {PERK_MICRO_MISSILES, PERK_REFLECT_SHIELD, PERK_ULTRA_BEAM}) {
        ASSERT_TRUE(m.canEnable(id));
        m.setEnabled(id, true);
    }
    EXPECT_EQ(m.numFirePowerEnabled(), 4);
    EXPECT_FALSE(m.canEnable(PERK_EMP));
    EXPECT_TRUE(m.canEnable(PERK_ULTRA_BEAM));   // already on: may stay on

    // An Extra perk goes off with its base.
    m.setEnabled(PERK_EXTRA_MICRO_MISSILE, true);
    m.setEnabled(PERK_MICRO_MISSILES, false);
    EXPECT_FALSE(m.isEnabled(PERK_EXTRA_MICRO_MISSILE));
    EXPECT_TRUE(m.saveRequested);
}

// Perks switched off for one game come back; a second game's rules, set up
// before the first game was played, never make the switched-off set the one
// kept.
TEST(PerkMgr, PerksSwitchedOffForAGameComeBackEvenWhenSetUpTwice) {
    CtestEngine eng;
    CperkMgr m;
    ASSERT_TRUE(m.isEnabled(PERK_SUPER_BOMB) && m.isEnabled(PERK_EXTRA_LIFE_1));
    m.saveEnabledStates();
    m.switchOffForGame(PERK_SUPER_BOMB);
    EXPECT_FALSE(m.isEnabled(PERK_SUPER_BOMB));
    std::vector<uint8_t> rec;
    m.writeRecord(rec);
    EXPECT_EQ(rec[4 + PERK_SUPER_BOMB * 4 + 1], 1);   // a save keeps the player's own set
    m.saveEnabledStates();
    m.switchOffForGame(PERK_EXTRA_LIFE_1);
    EXPECT_TRUE(m.isEnabled(PERK_SUPER_BOMB));
    EXPECT_FALSE(m.isEnabled(PERK_EXTRA_LIFE_1));
    m.restoreEnabledStates();
    EXPECT_TRUE(m.isEnabled(PERK_SUPER_BOMB) && m.isEnabled(PERK_EXTRA_LIFE_1));
    EXPECT_FALSE(m.restorePending());
}

TEST(PerkMgr, RecordRoundTripAndRefusal) {
    CtestEngine eng;
    CperkMgr a;
    a.setUnlocked(PERK_WINGMAN, true);
    a.buyLevel(PERK_WINGMAN);
    a.buyLevel(PERK_WINGMAN);
    a.setEnabled(PERK_WINGMAN, true);
    a.setButton(PERK_WINGMAN, 2);
    std::vector<uint8_t> rec;
    a.writeRecord(rec);
    ASSERT_EQ(rec.size(), CperkMgr::kRecordSize);
    CperkMgr b;
    ASSERT_TRUE(b.readRecord(rec.data(), rec.size()));
    EXPECT_EQ(b.level(PERK_WINGMAN), 1);
    EXPECT_EQ(b.perkOnButton(2), PERK_WINGMAN);

    // Out-of-range levels and buttons are held in range; short records refused.
    rec[4 + PERK_GOODIE_BAG * 4 + 2] = 100;
    rec[4 + PERK_GOODIE_BAG * 4 + 3] = 9;
    ASSERT_TRUE(b.readRecord(rec.data(), rec.size()));
    EXPECT_EQ(b.level(PERK_GOODIE_BAG), 9);
    EXPECT_EQ(b.getButton(PERK_GOODIE_BAG), -1);
    EXPECT_FALSE(b.readRecord(rec.data(), rec.size() - 1));
}

TEST(PerkMgr, ValuesCountOnlyWhenSwitchedOnAndFreeButtonsBind) {
    CtestEngine eng;
    CperkMgr m;
    m.setUnlocked(PERK_EXTRA_MULTIPLIER, true);
    m.buyLevel(PERK_EXTRA_MULTIPLIER);
    m.buyLevel(PERK_EXTRA_MULTIPLIER);
    EXPECT_EQ(m.getPerkSubText(PERK_EXTRA_MULTIPLIER), "Start at x4");
    EXPECT_FLOAT_EQ(m.getPerkValue(PERK_EXTRA_MULTIPLIER), 0);   // bought but not switched on
    m.setEnabled(PERK_EXTRA_MULTIPLIER, true);
    EXPECT_FLOAT_EQ(m.getPerkValue(PERK_EXTRA_MULTIPLIER), 4);

    EXPECT_TRUE(m.bindFreeButtons());
    EXPECT_FALSE(m.bindFreeButtons());   // nothing more to bind
}
