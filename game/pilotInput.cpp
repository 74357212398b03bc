#include "game/pilotInput.h"

#include <cmath>

#include "engine/input.h"
#include "engine/render/camera.h"

namespace {
Cvec2 stick(float x, float y) {
    Cvec2 v(x, y);
    float len = v.length();
    if (len < kStickDeadZone) return Cvec2();
    // Past the dead zone the stick covers the whole range again.
    float scaled = std::min((len - kStickDeadZone) / (1.0f - kStickDeadZone), 1.0f);
    return v * (scaled / len);
}
}  // namespace

void readPilotControls(const CinputPlayer& in, const Cinput& input, const Ccamera& camera, CpilotControls& out) {
    bool pending[4];
    for (int i = 0; i < 4; ++i) pending[i] = out.perkPressed[i];
    out.clear();
    static const int perkActions[4] = {ACTION_LT, ACTION_RT, ACTION_LB, ACTION_RB};
    for (int i = 0; i < 4; ++i) out.perkPressed[i] = pending[i] || in.wasActionPressed(perkActions[i]);
    if (in.device == DEVICE_KEYBOARD_MOUSE) {
        Cvec2 move;
        if (in.isActionDown(ACTION_LEFT)) move.x -= 1;
        if (in.isActionDown(ACTION_RIGHT)) move.x += 1;
        if (in.isActionDown(ACTION_UP)) move.y -= 1;
        if (in.isActionDown(ACTION_DOWN)) move.y += 1;
        out.move = move.lengthSq() > 1 ? move.normalised() : move;
        out.aimAtPoint = true;
        out.aimPoint = camera.screenToPlane(Cvec2(input.mouse.x, input.mouse.y), 0);
        out.fire = in.isActionDown(ACTION_FIRE);
        return;
    }
    // A controller, or the on-screen sticks of a touch screen.
    out.move = stick(in.actionValue(ACTION_LX), in.actionValue(ACTION_LY));
    out.aim = stick(in.actionValue(ACTION_RX), in.actionValue(ACTION_RY));
    out.fire = out.aim.length() > CpilotControls::kAimDeadZone;
}
