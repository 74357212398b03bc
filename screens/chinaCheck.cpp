#include "screens/chinaCheck.h"

#include "engine/engine.h"
#include "game/game.h"

const CwidgetBinding CchinaCheckScreen::kBindings[] = {{&CchinaCheckScreen::menu_, "menu"}};

CchinaCheckScreen::CchinaCheckScreen() : ClayoutScreen("chinaCheck.txt", kBindings) {}

void CchinaCheckScreen::onEnter() {
    connecting_ = false;
    gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
    menu_->clearItems();
    menu_->addTextItem("MenuItem", gEngine->text("PlayWithSteam"), kPlayWithSteam);
    menu_->addTextItem("MenuItem", gEngine->text("PlayWithAWS"), kPlayWithWebService);
    menu_->layout();
}

void CchinaCheckScreen::onUpdate() {
    if (connecting_) {
        const EcallState state = gGame->online.soap.startCall.poll();
        if (state == CALL_PENDING) return;
        connecting_ = false;
        gUi->loadingIndicator.hide();
        gGame->online.soap.startCall.drop();
        started(state == CALL_DONE);
        return;
    }
    if (Cwidget* item = menu_->highlightedItem()) choose((int)item->value);
}

void CchinaCheckScreen::choose(int value) {
    Cgame& g = *gGame;
    k4wSOAP& soap = g.online.soap;
    if (value == kPlayWithSteam) {
        soap.switchOff("Steam services only were chosen");
        g.setGameMode(GM_START_UP, true);
        return;
    }
    if (soap.isStarted()) {
        started(true);
        return;
    }
    if (soap.startClient(gEngine->gameNameNoBlanks)) {
        connecting_ = true;
        gUi->loadingIndicator.show(gEngine->text("ServiceConnecting"));
        return;
    }
    started(false);
}

void CchinaCheckScreen::started(bool ok) {
    Cgame& g = *gGame;
    if (ok) {
        gEngine->log.print(LOG_L, "Challenge Init");
        g.online.asyncChallenge.init();
    } else {
        g.online.soap.switchOff("it could not start");
        gEngine->analytics.sendEvent("noSoap2", gEngine->countryCode.c_str(), nullptr);
        gEngine->log.print(LOG_L, "Running without soap 2!");
        gUi->popups.showMessage(gEngine->text("ServiceStartFailed"));
    }
    g.setGameMode(GM_START_UP, true);
}
