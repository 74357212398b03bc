#include "game/coreScreens.h"

#include "engine/engine.h"
#include "game/game.h"

void CloadingSteps::enter() {
    if (!gGame->loadResources() || !gGame->loadResourcesFinal()) {
        gEngine->logFatal("Loading failed");
        return;
    }
    gGame->setModeDirect(GM_LOADING_DONE);
    gGame->setGameMode(GM_PRESS_START, true);
}

void CtimedFade::update() {
    if (!gEngine->paused) t_ += gEngine->frameTime;
}

void CreallyExitScreen::enter() { gGame->endGame(); }
