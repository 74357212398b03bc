#include "screens/options.h"

#include "engine/engine.h"
#include "game/game.h"
#include "screens/exit.h"
#include "screens/config.h"
#include "screens/language.h"
#include "screens/openMicSetting.h"
#include "screens/optionsChoices.h"
#include "screens/optionsNotifications.h"
#include "screens/optionsTwitter.h"
#include "screens/screenRegistry.h"

const CwidgetBinding CoptionsScreen::kBindings[] = {
    {&CoptionsScreen::menu_, "Menu"},
    {&CoptionsScreen::guid_, "GUID"},
};

CoptionsScreen::CoptionsScreen() : ClayoutScreen("options.txt", kBindings) {}

bool CoptionsScreen::onLoaded() {
    for (const char* name : {"Advert", "TakeALook", "CheckOut"})
        if (Cwidget* w = screen_->findWidget(name, false)) w->setHidden(true);
    return true;
}

void CoptionsScreen::open(int returnState, bool transition) {
    returnState_ = returnState;
    lastChoice_ = -1;
    gGame->setGameMode(GM_OPTIONS, transition);
}

void CoptionsScreen::onEnter() {
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
    for (size_t i = 0; i < menu_->itemCount(); ++i)
        if (lastChoice_ >= 0 && menu_->item(i)->value == lastChoice_) menu_->setSelectedIdx((int)i);
    guid_->setText("", CbString::format("%lld", (long long)gEngine->steamId).str());
}

void CoptionsScreen::choose(int value) {
    lastChoice_ = value;
    CinputPlayer* p = gEngine->input.player(0);
    switch (value) {
    case OPT_SCREEN_REZ: gGame->setGameMode(GM_SET_REZ, true); break;
    case OPT_VOLUME: gGame->setGameMode(GM_OPTIONS_VOLUME, true); break;
    case OPT_CONFIG_GAMEPAD: {
        int joystick = p && p->joystick >= 0 ? p->joystick : gEngine->input.currentJoystick;
        if (joystick < 0) joystick = 0;
        screens::get<CconfigScreen>()->open(CconfigFlow::DEVICE_JOYSTICK, joystick, GM_OPTIONS, GM_OPTIONS);
        break;
    }
    case OPT_CONFIG_KEYBOARD:
        screens::get<CconfigScreen>()->open(CconfigFlow::DEVICE_KEYS, -1, GM_OPTIONS, GM_OPTIONS);
        break;
    case OPT_LANGUAGE:
        screens::get<ClanguageScreen>()->open(GM_OPTIONS, GM_OPTIONS, true);
        break;
    case OPT_CREDITS: gGame->setGameMode(GM_CREDITS, true); break;
    case OPT_NOTIFICATIONS:
        screens::get<CoptionsNotificationsScreen>()->open(GM_OPTIONS);
        break;
    case OPT_OPEN_MIC:
        screens::get<CopenMicSettingsScreen>()->open(GM_OPTIONS);
        break;
    case OPT_RESET_TUTORIAL:
        gEngine->ui.tutorials.resetAll();
        gGame->saveLoad.settings.resetTutorials();
        gGame->saveLoad.settings.dirty = true;
        gGame->saveRequested = 1;
        gGame->endGame();
        break;
    case OPT_TWITTER: screens::get<CoptionsTwitterScreen>()->open(GM_OPTIONS); break;
    case OPT_VIRTUAL_STICKS: gGame->setGameMode(GM_OPTIONS_VIRTUAL_THUMB_STICKS, true); break;
    default: break;
    }
}

void CoptionsScreen::onUpdate() {
    if (gUi->action() == ACTION_BACK) {
        gGame->saveLoad.saveSettings();
        gGame->setGameMode(returnState_, true);
        return;
    }
    if (Cwidget* item = menu_->highlightedItem()) {
        gGame->playTransitionEffect(item);
        choose((int)item->value);
    }
}

