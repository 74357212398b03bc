#include "screens/options.h"

#include "engine/engine.h"
#include "game/game.h"
#include "screens/exit.h"
#include "screens/optionsChoices.h"

bool CoptionsScreen::load() {
    screen_ = gUi->loadScreen("options.txt");
    if (!screen_) return false;
    menu_ = screen_->findMenu("Menu");
    guid_ = screen_->findWidget("GUID");
    for (const char* name : {"Advert", "TakeALook", "CheckOut"})
        if (Cwidget* w = screen_->findWidget(name, false)) w->setHidden(true);
    return menu_ && guid_;
}

void CoptionsScreen::enter() {
    if (!screen_) return;
    screen_->enterOpening();
    gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
    gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);
    menu_->clearItems();
    const CinputPlayer* p = gEngine->input.player(0);
    int device = p ? p->device : DEVICE_KEYBOARD_MOUSE;
    for (const CoptionsItem& item : optionsMenuItems(device, returnState_)) {
        Cwidget* w = menu_->addTextItemByKey(item.itemTemplate, item.tag);
        if (w) w->value = item.value;
    }
    menu_->layout();
    menu_->setSelectedIdx(0);
    guid_->setText("", CbString::format("%lld", (long long)gEngine->steamId).str());
}

void CoptionsScreen::choose(int value) {
    CinputPlayer* p = gEngine->input.player(0);
    switch (value) {
    case OPT_SCREEN_REZ: gGame->setGameMode(GM_SET_REZ, true); break;
    case OPT_VOLUME: gGame->setGameMode(GM_OPTIONS_VOLUME, true); break;
    case OPT_CONFIG_GAMEPAD: {
        int joystick = p && p->joystick >= 0 ? p->joystick : gEngine->input.currentJoystick;
        if (joystick < 0) joystick = 0;
        gGame->config.open(CconfigFlow::DEVICE_JOYSTICK, joystick, GM_OPTIONS, GM_OPTIONS);
        gGame->setGameMode(GM_CONFIG, true);
        break;
    }
    case OPT_CONFIG_KEYBOARD:
        gGame->config.open(CconfigFlow::DEVICE_KEYS, -1, GM_OPTIONS, GM_OPTIONS);
        gGame->setGameMode(GM_CONFIG, true);
        break;
    case OPT_LANGUAGE:
        gGame->languageScreen.open(GM_OPTIONS, GM_OPTIONS);
        gGame->setGameMode(GM_LANGUAGE, true);
        break;
    case OPT_CREDITS: gGame->setGameMode(GM_CREDITS, true); break;
    case OPT_NOTIFICATIONS:
        gGame->optionsNotifications.setReturnState(GM_OPTIONS);
        gGame->setGameMode(GM_OPTIONS_NOTIFICATIONS, true);
        break;
    case OPT_OPEN_MIC:
        gGame->openMicSettings.setReturnState(GM_OPTIONS);
        gGame->setGameMode(GM_OPEN_MIC_SETTINGS, true);
        break;
    case OPT_RESET_TUTORIAL:
        gEngine->ui.tutorials.resetAll();
        gGame->saveLoad.settings.resetTutorials();
        gGame->saveLoad.settings.dirty = true;
        gGame->saveRequested = 1;
        gGame->endGame();
        break;
    case OPT_TWITTER: gGame->setGameMode(GM_OPTIONS_TWITTER, true); break;
    case OPT_VIRTUAL_STICKS: gGame->setGameMode(GM_OPTIONS_VIRTUAL_THUMB_STICKS, true); break;
    default: break;
    }
}

void CoptionsScreen::update() {
    if (!screen_) return;
    screen_->update();
    if (screen_->leaving) return;
    if (gUi->action() == ACTION_BACK) {
        gGame->saveLoad.saveSettings();
        gGame->setGameMode(returnState_, true);
        return;
    }
    if (Cwidget* item = menu_->highlightedItem()) {
        pressTransition(item);
        choose((int)item->value);
    }
}

void CoptionsScreen::render() {
    if (screen_) screen_->render();
}
