#include "screens/tbHub.h"

#include "engine/engine.h"
#include "engine/ui/screen.h"
#include "game/game.h"
#include "screens/unlockTBShip.h"

const CwidgetBinding CtbHubScreen::kBindings[] = {
    {&CtbHubScreen::shipPos1_, "ShipPos1"},
    {&CtbHubScreen::shipPos2_, "ShipPos2"},
    {&CtbHubScreen::vessikUnlocked_, "VessikUnlocked"},
    {&CtbHubScreen::vornakUnlocked_, "VornakUnlocked"},
};

CtbHubScreen::CtbHubScreen() : ClayoutScreen("TBHub.txt", kBindings) {}

bool CtbHubScreen::onLoaded() {
    for (Cwidget* spot : {shipPos1_, shipPos2_})
        if (Cgadget* g = spot->findTextGadget({}, false)) g->hidden = true;
    return true;
}

void CtbHubScreen::onEnter() {
    Cgame& g = *gGame;
    gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);
    CdisplayShip::clearScene();
    for (int i = 0; i < 3; ++i) {
        ships_[i].forget();
        if (CplayerShipDef* ship = g.playerShips.findShip(CunlockTBShipScreen::shipName(i))) ships_[i].show(*ship);
    }
    vornakUnlocked_->setHidden(!g.progress.vor5);
    vessikUnlocked_->setHidden(!g.progress.ves5);
    g.playerShips.setCurrentShipIdx(0);
    g.hubVisited = 1;
}

void CtbHubScreen::onUpdate() {
    CdisplayShip::updateScene();
    const float up = 0.0f;   // heading up the screen
    ships_[CunlockTBShipScreen::SHIP_VESSIK].flyAt(shipPos1_, up);
    ships_[CunlockTBShipScreen::SHIP_VORNAK].flyAt(shipPos2_, up);
    ships_[CunlockTBShipScreen::SHIP_GOLD].flyAt(shipPos2_, up);
    if (gUi->action() == ACTION_BACK) {
        for (CdisplayShip& s : ships_) s.forget();
        gGame->setGameMode(GM_MAIN_MENU, true);
    }
}

void CtbHubScreen::render() {
    ClayoutScreen::render();
    CdisplayShip::renderScene();
}
