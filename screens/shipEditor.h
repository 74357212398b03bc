#pragma once
// CshipEditorScreen: the ship editor's parameter menus and point balance.
// The hangar, the gallery, the party ship row and the unlock screen point the
// editor at the ship they show, set the menus from it and read the balance.
#include <cstdint>

#include "game/progress/shipEditParams.h"

struct CplayerShipData;

class CshipEditorScreen {
public:
    // Sets the menus from the ship that shipData designates. With symmetry,
    // basic mode is chosen when the ship's mirrored parts match.
    void syncMenusFromShip(bool symmetry);
    // The balance of the current selections, left in points.
    void updatePoints();
    // Writes the menus into the ship that shipData designates.
    void applyMenusToShip();
    bool isDirty() const { return menus.changedSinceSync(); }

    CplayerShipData* shipData = nullptr;
    CshipEditMenus menus;
    int32_t points = 0;
    bool basicMode = false;
};
