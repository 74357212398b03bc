#include <gtest/gtest.h>

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
    // The running sum in single precision passes the maximum before reaching it on these rows.
    struct Crow {
        int row, items;
    };
    for (Crow c : {Crow{4, 17}, Crow{10, 40}, Crow{20, 10}, Crow{53, 15}, Crow{12, 301}})
        EXPECT_EQ(CshipEditParams::itemCount(c.row), c.items) << c.row;
    EXPECT_NEAR(CshipEditParams::itemValues(10).back(), 1.9f, 1e-5);

    EXPECT_EQ(CshipEditParams::formatValue(table[12], -0.0004f), "0.00");   // never "-0.00"
    EXPECT_EQ(CshipEditParams::formatValue(table[63], 2.5f), "02:30");
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
}

TEST(ShipEditParams, BeamMenuSwitchesTheSecondPairOff) {
    CplayerShipData s = shipAt(0, 0, 0, 0, 0, 0, 0, true);
    CshipEditorScreen editor;
    editor.shipData = &s;
    editor.syncMenusFromShip(false);
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

