#include <gtest/gtest.h>

#include "game/gameWorld.h"
#include "support/testEngine.h"

TEST(PowerUps, StartValuesFollowThePerks) {
    CtestEngine eng;
    CgameWorld w;
    w.powerUps.reset();
    const CpowerUpRecord& r = w.powerUps.team(0);
    EXPECT_EQ(CpowerUps::getPowerUpLevel(r, PU_SUPER_BOMB), 1);   // perk 14 starts enabled
    EXPECT_EQ(CpowerUps::getPowerUpLevel(r, PU_WINGMAN), 0);

    CperkMgr& p = w.perks;
    p.setUnlocked(PERK_PERK_SLOT, true);
    p.buyLevel(PERK_PERK_SLOT);
    p.buyLevel(PERK_PERK_SLOT);   // 7 slots
    for (int id : {PERK_START_WITH_POW, PERK_EXTRA_MULTIPLIER, PERK_EXTRA_SUPER_BOMB, PERK_HIGHER_MUL_CAP}) {
        p.setUnlocked(id, true);
        p.buyLevel(id);
        p.buyLevel(id);
        p.setEnabled(id, true);
    }
    w.powerUps.reset();
    EXPECT_EQ(CpowerUps::getPowerUpLevel(r, PU_WEAPON_POWER), 2);
    EXPECT_EQ(CpowerUps::getPowerUpLevel(r, PU_MULTIPLIER), 5);    // 1 + 2 levels x 2
    EXPECT_EQ(CpowerUps::getPowerUpLevel(r, PU_SUPER_BOMB), 3);    // 1 + 2
    EXPECT_FLOAT_EQ(r[PU_MULTIPLIER_CAP], kBaseMultiplierCap + 10);
}

TEST(PowerUps, MultiplierCapAndFullPower) {
    CtestEngine eng;
    CgameWorld w;
    w.setGameMode(24);
    w.powerUps.reset();
    w.powerUps.addMultiplier(0, 100);
    EXPECT_EQ(w.powerUps.multiplier(0), (int)kBaseMultiplierCap);
    w.powerUps.addMultiplier(0, -100);
    EXPECT_EQ(w.powerUps.multiplier(0), 1);

    EXPECT_FALSE(w.powerUps.isFullPower());
    w.powerUps.addWeaponPower(0, 9);
    w.powerUps.addColourLevel(0, 5);
    EXPECT_EQ(CpowerUps::getPowerUpLevel(w.powerUps.team(0), PU_WEAPON_POWER), 5);
    EXPECT_TRUE(w.powerUps.isFullPower());

    // In a two-team party game both teams must be full.
    w.session.partyMode = true;
    w.session.party.teamMode = TEAMMODE_HEAD_TO_HEAD;
    w.party.reset("A", "StandardShip");
    w.party.join("B", "StandardShip", 1);
    EXPECT_FALSE(w.powerUps.isFullPower());
    w.powerUps.addWeaponPower(1, 5);
    w.powerUps.addColourLevel(1, 5);
    EXPECT_TRUE(w.powerUps.isFullPower());

    // The no-multiplier rule holds it at 1.
    w.session.party.noMultiplier = true;
    w.powerUps.addMultiplier(1, 10);
    EXPECT_EQ(w.powerUps.multiplier(1), 1);
}

