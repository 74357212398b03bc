#include "screens/tbHub.h"

#include "engine/engine.h"
#include "engine/ui/screen.h"
#include "game/game.h"
#include "screens/unlockTBShip.h"

const CwidgetBinding CtbHubScreen::kBindings[] = {
    {&CtbHubScreen::shipPos1_, "ShipPos1"},
    {&CtbHubScreen::shipPos2_, "ShipPos2"},
    {&CtbHubScreen::shipPos3_, "ShipPos3"},
    {&CtbHubScreen::vessikUnlocked_, "VessikUnlocked"},
    {&CtbHubScreen::vornakUnlocked_, "VornakUnlocked"},
};

CtbHubScreen::CtbHubScreen() : ClayoutScreen("TBHub.txt", kBindings) {}

bool CtbHubScreen::onLoaded() {
    spots_[CunlockTBShipScreen::SHIP_VESSIK] = shipPos1_;
    spots_[CunlockTBShipScreen::SHIP_VORNAK] = shipPos2_;
    spots_[CunlockTBShipScreen::SHIP_GOLD] = shipPos3_;
    for (Cwidget* spot : spots_)
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
    // Each ship at a spot of its own: the gold ship no longer shares Vornak's.
    for (int i = 0; i < 3; ++i) ships_[i].flyAt(spots_[i], up);
    if (gUi->action() == ACTION_BACK) {
        for (CdisplayShip& s : ships_) s.forget();
        gGame->setGameMode(GM_MAIN_MENU, true);
    }
}

void CtbHubScreen::render() {
    ClayoutScreen::render();
    CdisplayShip::renderScene();
}
