#include "screens/optionsNotifications.h"

#include "engine/engine.h"
#include "game/game.h"
#include "screens/exit.h"
#include "screens/optionsChoices.h"

const CwidgetBinding CoptionsNotificationsScreen::kBindings[] = {
    {&CoptionsNotificationsScreen::box_, "EmailTextBox"},
};

CoptionsNotificationsScreen::CoptionsNotificationsScreen() : ClayoutScreen("optionsNotifications.txt", kBindings) {}

void CoptionsNotificationsScreen::open(int returnState, bool transition) {
    returnState_ = returnState;
    gGame->setGameMode(GM_OPTIONS_NOTIFICATIONS, transition);
}

void CoptionsNotificationsScreen::onEnter() {
    gUi->buttonBar.addButtonByKey("EnterEmail", ACTION_OPTION_X, ICON_X);
    gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);
    address_ = emailChoice::shownAddress(gGame->saveLoad.login.email);
    box_->setText("TextName", address_);
    typing_ = false;
}

void CoptionsNotificationsScreen::beginEntry() {
    CtextEntry& entry = gUi->textEntry;
    Crect r = box_->rect();
    entry.placeBox(box_->x, box_->y, r.w);
    entry.fontColour = Ccolour(1, 1, 1, 1);
    entry.shadow = gUi->findShadowStyle("SimpleOutline", false);
    entry.mask = false;
    entry.begin((int)emailChoice::kMaxChars, address_);
    box_->setText("TextName", "");
    typing_ = true;
}

void CoptionsNotificationsScreen::onUpdate() {
    CtextEntry& entry = gUi->textEntry;
    if (typing_) {
        if (entry.active) return;
        if (entry.finished && !entry.cancelled) address_ = emailChoice::normalise(entry.text.str());
        box_->setText("TextName", address_);
        entry.finished = false;
        entry.cancelled = false;
        entry.end();
        typing_ = false;
        screen_->resetHighlights();
        return;
    }
    if (screen_->wasPressed(box_) || gUi->action() == ACTION_OPTION_X) {
        beginEntry();
        return;
    }
    if (gUi->action() == ACTION_BACK) {
        Csettings& s = gGame->saveLoad.settings;
        if (emailChoice::store(address_, s, gGame->saveLoad.login)) gGame->saveLoad.saveLoginData();
        gGame->saveLoad.saveSettings();
        gEngine->analytics.sendEvent("PCSetEmailNote", emailChoice::analyticsAction(address_), nullptr);
        gGame->setGameMode(returnState_, true);
    }
}

