#include "game/coreScreens.h"

#include "engine/engine.h"
#include "game/game.h"

void CreallyExitScreen::enter() { gGame->endGame(); }
