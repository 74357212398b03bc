#pragma once
// What a player's input asks of a ship this step: twin-stick movement and
// aim, fire, and the four perk buttons. Keyboard and mouse, a controller,
// touch sticks and the scripted pilot all fill the same record.
#include "engine/maths.h"

struct CpilotControls {
    Cvec2 move;                  // -1..1 each way
    Cvec2 aim;                   // stick direction; ignored while aimAtPoint
    bool aimAtPoint = false;     // aim at a point of the play plane (the mouse)
    Cvec2 aimPoint;
    bool fire = false;           // fire along the aim even with a short stick
    bool perkPressed[4] = {false, false, false, false};   // pressed this step

    void clear() { *this = CpilotControls(); }
    // The stick counts as aiming beyond this length.
    static constexpr float kAimDeadZone = 0.3f;
};
