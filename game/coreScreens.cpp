#include "game/coreScreens.h"

#include "engine/engine.h"
#include "game/game.h"

void CtimedFade::update() {
    if (!gEngine->paused) t_ += gEngine->frameTime;
}

void CreallyExitScreen::enter() { gGame->endGame(); }
