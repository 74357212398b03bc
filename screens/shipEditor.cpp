#include "screens/shipEditor.h"

#include "engine/engine.h"
#include "game/progress/playerShipDef.h"

void CshipEditorScreen::syncMenusFromShip(bool symmetry) {
    if (!shipData) {
        if (gEngine) gEngine->log.print(LOG_L, "Ship editor: no ship to set the menus from");
        return;
    }
    menus.syncFromShip(*shipData);
    if (symmetry) basicMode = CshipEditMenus::isSymmetric(*shipData);
}

void CshipEditorScreen::updatePoints() { points = menus.points(); }

void CshipEditorScreen::applyMenusToShip() {
    if (shipData) menus.applyToShip(*shipData, basicMode);
}
