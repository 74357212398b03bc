#include "game/coreScreens.h"

#include "engine/engine.h"
#include "game/game.h"

void ClanguageChoice::enter() {
    const int english = 1;
    gGame->language = english;
    gGame->saveLoad.settings.language = english;
    gGame->saveLoad.settings.dirty = true;
    gGame->saveLoad.saveSettings();
    gEngine->setLanguage(english);
    gEngine->log.print(LOG_L, "Language = English");
    gGame->setGameMode(choiceState, true);
}

void CreallyExitScreen::enter() { gGame->endGame(); }
