#include "screens/unlockTBShip.h"

#include "engine/engine.h"
#include "engine/render/particles.h"
#include "engine/ui/screen.h"
#include "game/game.h"

namespace {
// Vornak first, then Vessik, then the gold ship.
const int kPrecedence[] = {CunlockTBShipScreen::SHIP_VORNAK, CunlockTBShipScreen::SHIP_VESSIK,
                           CunlockTBShipScreen::SHIP_GOLD};

bool* unlockFlag(CplayerProgress& p, int which) {
    return which == CunlockTBShipScreen::SHIP_VESSIK ? &p.ves5
           : which == CunlockTBShipScreen::SHIP_VORNAK ? &p.vor5 : &p.vuz2;
}
}  // namespace

bool specialShipPending() {
    return gGame->vessikUnlockPending || gGame->vornakUnlockPending || gGame->goldShipUnlockPending;
}

uint8_t& CunlockTBShipScreen::pendingByte(int which) {
    return which == SHIP_VESSIK ? gGame->vessikUnlockPending
           : which == SHIP_VORNAK ? gGame->vornakUnlockPending : gGame->goldShipUnlockPending;
}

const char* CunlockTBShipScreen::shipName(int which) {
    return which == SHIP_VESSIK ? "Vessik" : which == SHIP_VORNAK ? "Vornak" : "Duveve Rade Dorid!";
}

const CwidgetBinding CunlockTBShipScreen::kBindings[] = {
    {&CunlockTBShipScreen::shipPos_, "ShipPos"},
    {&CunlockTBShipScreen::shipName_, "ShipName"},
    {&CunlockTBShipScreen::congrats_, "Congrats"},
};

CunlockTBShipScreen::CunlockTBShipScreen() : ClayoutScreen("UnlockTBShip.txt", kBindings) {}

bool CunlockTBShipScreen::onLoaded() {
    if (Cgadget* g = shipPos_->findTextGadget({}, false)) g->hidden = true;
    return true;
}

void CunlockTBShipScreen::onEnter() {
    Cgame& g = *gGame;
    prize_ = SHIP_GOLD;
    for (int which : kPrecedence) {
        if (pendingByte(which)) {
            prize_ = which;
            break;
        }
    }
    CdisplayShip::clearScene();
    display_.forget();
    const char* name = shipName(prize_);
    if (CplayerShipDef* ship = g.playerShips.findShip(name)) display_.show(*ship, 1.5f);
    gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
    shipName_->setText("", name);
    if (pendingByte(prize_)) {
        pendingByte(prize_) = 0;
        *unlockFlag(g.progress, prize_) = true;
        g.progress.saveDirty = true;
        gEngine->log.print(LOG_V, "Special ship unlocked: %s", name);
        g.saveLoad.saveGame();
    }
}

void CunlockTBShipScreen::onUpdate() {
    CdisplayShip::updateScene();
    display_.flyAt(shipPos_, 0.0f);
    sparkleAround(congrats_, gGame->namedColours.yellow, 0.1f);
    if (gUi->action() == ACTION_SELECT) {
        display_.forget();
        gGame->setGameMode(GM_MAIN_MENU, true);
    }
}

void CunlockTBShipScreen::render() {
    ClayoutScreen::render();
    if (display_.ship()) CdisplayShip::renderScene();
    drawParticleLayer(kUiFrontLayer);
}
