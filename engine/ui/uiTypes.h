#pragma once
// Shared UI types: actions, the input of one step, rectangles and alignment.
#include <string>
#include <vector>

#include "engine/inputBinding.h"
#include "engine/maths.h"
#include "engine/render/renderTypes.h"

// The input actions a screen compares with the action of the step
// (ACTION_SELECT, ACTION_BACK, ACTION_OPTION_X, ACTION_OPTION_Y, ACTION_LB,
// ACTION_RB) and the device kinds come from the input layer.

// Button-bar icons by index.
enum EuiIcon { ICON_OK = 0, ICON_BACK = 1, ICON_X = 2, ICON_Y = 3, ICON_LB = 4, ICON_RB = 5 };

// Crect and the ALIGN_ flags are the renderer's (engine/render/renderTypes.h).

// What the player did in one update step, as the UI reads it. The input layer
// fills it from the devices; tests fill it directly.
struct CuiInput {
    int device = DEVICE_KEYBOARD_MOUSE;
    float pointerX = -1, pointerY = -1;
    bool pointerMoved = false;
    bool pointerDown = false;       // held
    bool pointerPressed = false;    // went down this step
    bool pointerReleased = false;   // came up this step (a click)
    int wheel = 0;                  // notches, positive away from the player
    bool up = false, down = false, left = false, right = false;   // navigation edges
    bool actions[ACTION_COUNT] = {};                               // released this step
    std::string typed;              // text typed this step (UTF-8)
    bool backspace = false;
    bool enter = false;
    bool escape = false;

    void clear() { *this = CuiInput(); }
    void setAction(int a) {
        if (a > 0 && a < ACTION_COUNT) actions[a] = true;
    }
    bool action(int a) const { return a > 0 && a < ACTION_COUNT && actions[a]; }
};
