#include "screens/language.h"

#include <algorithm>

#include "engine/engine.h"
#include "engine/languages.h"
#include "game/game.h"
#include "screens/exit.h"

const CwidgetBinding ClanguageScreen::kBindings[] = {
    {&ClanguageScreen::menu_, "Menu"},
};

ClanguageScreen::ClanguageScreen() : ClayoutScreen("language.txt", kBindings) {}

void ClanguageScreen::open(int choiceState, int backState, bool transition) {
    choiceState_ = choiceState;
    backState_ = backState;
    gGame->setGameMode(GM_LANGUAGE, transition);
}

void ClanguageScreen::onEnter() {
    gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
    if (gGame->saveLoad.settings.language != 0) gUi->buttonBar.addButtonByKey("CANCEL", ACTION_BACK, ICON_BACK);
    menu_->clearItems();
    int selected = 0;
    for (int n : offeredLanguages()) {
        const Clanguage& row = languageRow(n);
        Cwidget* w = menu_->addTextItemByKey("LanguageMenuItem", row.tag);
        if (!w) continue;
        w->value = n;
        std::string flag = CbString::format("flag_%s.png", row.flag).str();
        if (!gEngine->sprites.findSprite(flag, false)) flag = "flag_unknown.png";
        w->setSprite("Flag", flag);
        if (n == gGame->saveLoad.settings.language) selected = (int)menu_->itemCount() - 1;
    }
    menu_->layout();
    menu_->setSelectedIdx(selected);
    timer_ = kFirstRunSeconds;
}

bool ClanguageScreen::choose(int n) {
    const auto& offered = offeredLanguages();
    if (std::find(offered.begin(), offered.end(), n) == offered.end()) return false;
    Csettings& s = gGame->saveLoad.settings;
    if (n == s.language && n == gEngine->languageNumber) return false;
    if (!gEngine->setLanguage(n)) return false;
    gGame->language = n;
    s.language = n;
    s.dirty = true;
    gGame->saveLoad.saveSettings();
    gEngine->analytics.sendEvent("Language", languageRow(n).tag, nullptr);
    gEngine->log.print(LOG_L, "Language = %s", languageRow(n).tag);
    return true;
}

void ClanguageScreen::onUpdate() {
    // The key that opened the screen comes up while it comes in: not a choice.
    if (screen_->entering) return;
    // On the way into controller configuration the choice is made for the player.
    if (choiceState_ == GM_CONFIG) {
        timer_ -= gUi->stepTime();
        if (timer_ < 0) {
            gGame->setGameMode(choiceState_, true);
            return;
        }
    }
    if (gUi->action() == ACTION_BACK && gGame->saveLoad.settings.language != 0) {
        gGame->setGameMode(backState_, true);
        return;
    }
    if (Cwidget* item = menu_->highlightedItem()) {
        gGame->playTransitionEffect(item);
        choose((int)item->value);
        gGame->setGameMode(choiceState_, true);
    }
}

