#include "screens/chinaCheck.h"

#include "engine/engine.h"
#include "game/game.h"

bool CchinaCheckScreen::load() {
    screen_ = gUi->loadScreen("chinaCheck.txt");
    if (!screen_) return false;
    menu_ = screen_->findMenu("menu");
    return menu_ != nullptr;
}

void CchinaCheckScreen::enter() {
    if (!screen_) return;
    screen_->enterOpening();
    gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
    menu_->clearItems();
    menu_->addTextItem("MenuItem", gEngine->text("PlayWithSteam"), kPlayWithSteam);
    menu_->addTextItem("MenuItem", gEngine->text("PlayWithAWS"), kPlayWithWebService);
    menu_->layout();
}

void CchinaCheckScreen::update() {
    if (!screen_) return;
    screen_->update();
    if (screen_->leaving) return;
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

void CchinaCheckScreen::render() {
    if (screen_) screen_->render();
}

void CchinaCheckScreen::startLeave() {
    if (screen_) screen_->transitionOut();
}

bool CchinaCheckScreen::hasLeft() const { return !screen_ || !screen_->leaving || screen_->transitionDone(); }
