#include <gtest/gtest.h>

#include "game/gameWorld.h"
#include "game/progress/playerShipDef.h"
#include "game/progress/shipEditParams.h"
#include "screens/shipEditor.h"
#include "support/testEngine.h"

namespace {

// A ship whose costed handling sits on the given menu items.
CplayerShipData shipAt(int scale, int accel, int decel, int top, int bulletSpeed, int damage, int pickup,
                       bool fourBeams) {
    CplayerShipData s;
    s.scale = 0.2f + 0.05f * scale;
    s.acceleration = 0.5f + 0.5f * accel;
    s.deceleration = 0.8f + 0.02f * decel;
    s.topSpeed = 12.0f + 0.5f * top;
    s.bulletSpeed = 0.5f + 0.1f * bulletSpeed;
    s.bulletDamage = 0.5f + 0.1f * damage;
    s.pickupForce = -2.0f + 0.1f * pickup;
    for (int i = 0; i < (fourBeams ? 4 : 2); ++i) s.turrets[i] = {1, 0, 1};
    return s;
}

}  // namespace

TEST(ShipEditParams, MenusAreBuiltInSinglePrecision) {
    const auto& table = CshipEditParams::table();
    for (int r = 0; r < CshipEditParams::kNumRows; ++r) EXPECT_EQ(table[r].row, r);
    // The running sum passes the maximum before reaching it on these rows.
    EXPECT_EQ(CshipEditParams::itemCount(4), 17);
    EXPECT_NEAR(CshipEditParams::itemValues(4).back(), 1.0f, 1e-5);
    EXPECT_EQ(CshipEditParams::itemCount(10), 40);
    EXPECT_NEAR(CshipEditParams::itemValues(10).back(), 1.9f, 1e-5);
    EXPECT_EQ(CshipEditParams::itemCount(20), 10);
    EXPECT_EQ(CshipEditParams::itemCount(53), 15);
    // The others reach it.
    EXPECT_EQ(CshipEditParams::itemCount(7), 27);
    EXPECT_EQ(CshipEditParams::itemCount(12), 301);
    EXPECT_EQ(CshipEditParams::itemCount(11), 2);
    EXPECT_EQ(CshipEditParams::itemCount(63), 17);
    EXPECT_EQ(CshipEditParams::itemCount(67), 10);
    EXPECT_EQ(CshipEditParams::itemCount(0), 1);

    EXPECT_EQ(CshipEditParams::formatValue(table[12], -0.0004f), "0.00");   // never "-0.00"
    EXPECT_EQ(CshipEditParams::formatValue(table[22], -5.0f), "-5");
    EXPECT_EQ(CshipEditParams::formatValue(table[7], 12.5f), "12.5");
    EXPECT_EQ(CshipEditParams::formatValue(table[63], 2.5f), "02:30");
    EXPECT_EQ(CshipEditParams::formatValue(table[66], 75.0f), "01h 15m 00s");
}

TEST(ShipEditParams, BalanceIsExactInWholePoints) {
    // First items: each row still pays its first step's share.
    // 150 -> 60 -> 185 -> 148 -> 258 -> 343 -> 423 (exactly 20 off) -> 803 -> 773.
    EXPECT_EQ(shipPointBalance(shipAt(0, 0, 0, 0, 0, 0, 0, false)), 773);
    // Last items: every row adds its top cost.
    EXPECT_EQ(shipPointBalance(shipAt(16, 9, 10, 26, 20, 20, 39, true)), -880);
    // Values above the range cost as the last item.
    CplayerShipData over = shipAt(16, 9, 10, 26, 20, 20, 39, true);
    over.scale = 1.05f;
    for (auto& t : over.turrets) t = {1, 0, 1};
    EXPECT_EQ(shipPointBalance(over), -880);

    // Between two items a value snaps to the nearer one.
    CplayerShipData s = shipAt(0, 0, 0, 0, 0, 0, 0, false);
    s.scale = 0.52f;   // nearer item 6 (0.50)
    CshipEditMenus menus;
    menus.syncFromShip(s);
    EXPECT_EQ(menus.selection(4), 6);
    s.scale = 0.53f;   // nearer item 7 (0.55)
    menus.syncFromShip(s);
    EXPECT_EQ(menus.selection(4), 7);
    // Row 4 at item 7: 150 + (-100 * 17 + 180 * 8) / 17 = 134; then as above.
    // 134 -> 259 -> 222 -> 332 -> 417 -> 497 -> 877 -> 847.
    EXPECT_EQ(menus.points(), 847);
    EXPECT_FALSE(menus.changedSinceSync());
    menus.setSelection(4, 8);
    EXPECT_TRUE(menus.changedSinceSync());
}

TEST(ShipEditParams, BalanceAroundTheRetryThreshold) {
    // Every balance is checked against plain integer arithmetic, and the
    // search must pass through -9, -10 and -11.
    auto byHand = [](const int (&idx)[8]) {
        static const int n[8] = {17, 10, 11, 27, 21, 21, 40, 2};
        static const int lo[8] = {-100, 150, -50, 120, 100, 100, 400, 0};
        static const int hi[8] = {80, -100, 100, -130, -200, -320, -400, -60};
        long b = 150;
        for (int i = 0; i < 8; ++i) b = (b * n[i] + lo[i] * n[i] + (long)(hi[i] - lo[i]) * (idx[i] + 1)) / n[i];
        return (int)b;
    };
    int found[3] = {0, 0, 0};
    CshipEditMenus menus;
    for (int pickup = 0; pickup < 40; ++pickup)
        for (int damage = 0; damage < 21; ++damage)
            for (int speed = 0; speed < 21 * 2; ++speed) {
            int idx[8] = {7, 9, 10, 26, speed / 2, damage, pickup, speed % 2};
            for (int i = 0; i < 8; ++i) menus.setSelection(4 + i, idx[i]);
            int points = menus.points();
            ASSERT_EQ(points, byHand(idx));
            if (points >= -11 && points <= -9) ++found[-9 - points];
            }
    EXPECT_GT(found[0], 0);
    EXPECT_GT(found[1], 0);
    EXPECT_GT(found[2], 0);
    // A ship read back from the menus costs what the menus did.
    CplayerShipData s = shipAt(0, 0, 0, 0, 0, 0, 0, true);
    menus.applyToShip(s, false);
    EXPECT_EQ(shipPointBalance(s), menus.points());
}

TEST(ShipEditParams, BeamMenuSwitchesTheSecondPairOff) {
    CplayerShipData s = shipAt(0, 0, 0, 0, 0, 0, 0, true);
    CshipEditorScreen editor;
    editor.shipData = &s;
    editor.syncMenusFromShip(false);
    EXPECT_EQ(editor.menus.selection(CshipEditParams::kBeamRow), 1);
    editor.menus.setSelection(CshipEditParams::kBeamRow, 0);
    editor.applyMenusToShip();
    EXPECT_EQ(s.numActiveTurrets(), 2);
    editor.syncMenusFromShip(false);
    editor.updatePoints();
    EXPECT_EQ(editor.points, 773);
    editor.menus.setSelection(CshipEditParams::kBeamRow, 1);
    editor.applyMenusToShip();
    EXPECT_EQ(s.numActiveTurrets(), 4);
}

TEST(ShipEditParams, ApplyMirrorsInBasicModeAndKeepsMountsOffCentre) {
    CplayerShipData s;
    s.mounts[0] = {-20, 10};
    s.mounts[1] = {20, 10};
    s.mounts[2] = {-30, 5};
    s.mounts[3] = {30, 5};
    for (int e = 0; e < 4; ++e) s.engines[e] = {e % 2 ? 15.0f : -15.0f, -50, 0.25f, 0, 1.2f};
    EXPECT_TRUE(CshipEditMenus::isSymmetric(s));
    CshipEditorScreen editor;
    editor.shipData = &s;
    editor.syncMenusFromShip(true);
    EXPECT_TRUE(editor.basicMode);

    editor.menus.setSelection(22, 30);   // mount 0 x = 0: stored as 1
    editor.menus.setSelection(23, 34);   // mount 0 y = 20
    editor.menus.setSelection(49, 45);   // engine 0 rotation 45 degrees
    editor.applyMenusToShip();
    EXPECT_EQ(s.mounts[0].x, 1.0f);
    EXPECT_EQ(s.mounts[1].x, -1.0f);
    EXPECT_EQ(s.mounts[1].y, 20.0f);
    EXPECT_NEAR(s.engines[0].rotation, 45.0f / 57.29f, 1e-5);
    EXPECT_NEAR(s.engines[1].rotation, -45.0f / 57.29f, 1e-5);
    EXPECT_TRUE(CshipEditMenus::isSymmetric(s));

    s.engines[3].hue = 0.5f;
    editor.syncMenusFromShip(true);
    EXPECT_FALSE(editor.basicMode);
}

TEST(ShipEditParams, GeneratedShipsAreGrownUntilTheyBalance) {
    CtestEngine eng;
    CgameWorld w;
    int retried = 0;
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        CplayerShipDef ship;
        ship.data.identifier = "Gen";
        bool balanced = w.procShips.generate(seed * 7919u, 1.2f, ship);
        if (!balanced) continue;
        EXPECT_GT(shipPointBalance(ship), CshipEditParams::kWorstBalance) << "seed " << seed;
        retried += w.procShips.lastAttempts > 1 ? 1 : 0;
    }
    // Loud tracks grow costly ships, so some candidates are thrown away.
    EXPECT_GT(retried, 0);
}
