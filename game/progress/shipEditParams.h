#pragma once
// The ship editor's 71 parameter menus: the constant table that describes
// them, the menu items it yields, setting the menus from a ship, writing them
// back, and the ship's point balance. The editor, the hangar, the gallery, the
// unlock screen and the music-generated ship builder all cost ships here, so a
// ship's balance is the same wherever it is asked for.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct CplayerShipData;
class CplayerShipDef;

enum EshipEditGroup {
    SHIPEDIT_BASIC = 0,
    SHIPEDIT_FIRING_ANGLES,
    SHIPEDIT_TURRET_POSITIONS,
    SHIPEDIT_SHIP_FLARES,
    SHIPEDIT_ENGINE_POSITIONS,
    SHIPEDIT_ENGINE_HUE,
    SHIPEDIT_ENGINE_ROTATION_AND_SCALE,
    SHIPEDIT_MISSIONS,
};

// One menu of the editor: min, max and step of the shown value (all 0 for
// actions and lists), how items are written, and the points at the first and
// last item (both 0 for rows that cost nothing).
struct CshipEditParam {
    int32_t row;
    int32_t basic;
    float minimum, maximum, step;
    int32_t decimals;
    float pointsLow, pointsHigh;
    const char* labelTag;
    float scale;          // shown value = stored value x scale
    int32_t group;
    int32_t timeFlag;     // items are durations in minutes

    bool isNumeric() const { return step > 0; }
    bool costsPoints() const { return pointsLow != 0 || pointsHigh != 0; }
};

class CshipEditParams {
public:
    static constexpr int kNumRows = 71;
    static constexpr int kFirstShipRow = 4;    // rows 4..56 edit the ship
    static constexpr int kLastShipRow = 56;
    static constexpr int kBeamRow = 11;
    static constexpr int kStartBalance = 150;
    static constexpr int kWorstBalance = -10;  // at or below it a generated ship is grown again

    static const std::array<CshipEditParam, kNumRows>& table();
    // The item values of a numeric row, accumulated in single precision as
    // the menus are built (the last item may stop short of the maximum).
    static const std::vector<float>& itemValues(int row);
    // Items of any row: numeric rows by the rule above, actions one, lists their length.
    static int itemCount(int row);
    // An item's text: durations as "%02d:%02d" / "%02dh %02dm %02ds", else by decimals.
    static std::string formatValue(const CshipEditParam& param, float value);
};

// The selections of the 71 menus, as the editor and the other screens hold them.
class CshipEditMenus {
public:
    CshipEditMenus();

    // Sets every menu from the ship: rows 4..56 from its values (a value
    // between two items snaps to the nearer), the others to their first item.
    // The indices are also kept as the last-set ones.
    void syncFromShip(const CplayerShipData& ship);
    // The point balance of the current selections, in whole points.
    int points() const;
    // Writes rows 4..56 into the ship. In basic mode the second of each
    // mirrored pair of mounts and engines follows the first.
    void applyToShip(CplayerShipData& ship, bool basicMode) const;
    // True when the mirrored mounts and engines of the ship match (the editor
    // then opens in basic mode).
    static bool isSymmetric(const CplayerShipData& ship);

    int selection(int row) const { return selections_[row]; }
    void setSelection(int row, int index);
    int lastSet(int row) const { return lastSet_[row]; }
    // The row's selection becomes its last-set one (a page shown anew is no change).
    void markSet(int row) {
        if (row >= 0 && row < CshipEditParams::kNumRows) lastSet_[row] = clampedSelection(row);
    }
    // The selection held to the menu's items.
    int clampedSelection(int row) const;
    // The value of the selected item of a numeric row, in the ship's units.
    float selectedShipValue(int row) const;
    bool changedSinceSync() const;

private:
    std::array<int, CshipEditParams::kNumRows> selections_{};
    std::array<int, CshipEditParams::kNumRows> lastSet_{};
};

// The balance of a ship's data, as the editor's menus would cost it.
int shipPointBalance(const CplayerShipData& ship);
int shipPointBalance(const CplayerShipDef& ship);
