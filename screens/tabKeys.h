#pragma once
// Tabs and categories by keys and pads: the shoulder buttons (LB, RB) and
// Tab / Shift+Tab step to the tab before or after the one shown.
#include <SDL.h>

#include "engine/engine.h"
#include "engine/ui/uiMgr.h"

// -1 (the tab before), +1 (the tab after) or 0, for this step.
inline int tabStepRequested() {
    const int action = gUi->action();
    if (action == ACTION_LB) return -1;
    if (action == ACTION_RB) return 1;
    const Ckeyboard& keys = gEngine->input.keyboard;
    if (!keys.wasPressed(SDL_SCANCODE_TAB)) return 0;
    return keys.isDown(SDL_SCANCODE_LSHIFT) || keys.isDown(SDL_SCANCODE_RSHIFT) ? -1 : 1;
}
