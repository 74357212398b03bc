#include "screens/languageChoice.h"

#include "engine/engine.h"
#include "game/game.h"

void ClanguageChoice::open(int choiceState, int backState) {
    choiceState_ = choiceState;
    backState_ = backState;
    gGame->setGameMode(GM_LANGUAGE);
}

void ClanguageChoice::enter() {
    const int english = 1;
    gGame->language = english;
    gGame->saveLoad.settings.language = english;
    gGame->saveLoad.settings.dirty = true;
    gGame->saveLoad.saveSettings();
    gEngine->setLanguage(english);
    gEngine->log.print(LOG_L, "Language = English");
    gGame->setGameMode(choiceState_, true);
}
