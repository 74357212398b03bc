#include "screens/chinaCheck.h"

#include "engine/engine.h"
#include "game/game.h"

const CwidgetBinding CchinaCheckScreen::kBindings[] = {{&CchinaCheckScreen::menu_, "menu"}};

CchinaCheckScreen::CchinaCheckScreen() : ClayoutScreen("chinaCheck.txt", kBindings) {}

void CchinaCheckScreen::onEnter() {
    gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
    menu_->clearItems();
    menu_->addTextItem("MenuItem", gEngine->text("PlayWithSteam"), kPlayWithSteam);
    menu_->addTextItem("MenuItem", gEngine->text("PlayWithAWS"), kPlayWithWebService);
    menu_->layout();
}

void CchinaCheckScreen::onUpdate() {
    if (Cwidget* item = menu_->highlightedItem()) choose((int)item->value);
}

void CchinaCheckScreen::choose(int value) {
    Cgame& g = *gGame;
    k4wSOAP& soap = g.online.soap;
    if (value == kPlayWithSteam) {
        soap.switchOff("Steam services only were chosen");
    } else {
        if (!soap.isStarted()) soap.setGameTitle(gEngine->gameNameNoBlanks);
        if (!soap.isStarted()) {
            soap.switchOff("it could not start");
            gEngine->analytics.sendEvent("noSoap2", gEngine->countryCode.c_str(), nullptr);
            gEngine->log.print(LOG_L, "Running without soap 2!");
        } else {
            gEngine->log.print(LOG_L, "Challenge Init");
            g.online.asyncChallenge.init();
        }
    }
    g.setGameMode(GM_START_UP, true);
}
