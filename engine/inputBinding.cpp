#include "engine/inputBinding.h"

#include <SDL.h>

#include <cstdio>

const char* actionName(int action) {
    static const char* names[] = {"None", "Select", "Back", "Up", "Down", "Left", "Right", "OptionX",
                                  "OptionY", "Back2", "R3", "L3", "Fire", "Start", "LT", "RT",
                                  "LB", "RB", "LX", "LY", "RX", "RY"};
    constexpr int named = (int)(sizeof names / sizeof names[0]);
    if (action >= 0 && action < named) return names[action];
    return action >= 0 && action < ACTION_COUNT ? "Unused" : "Unknown";
}

CactionBinding CactionBinding::forKey(int action, int scanCode) {
    CactionBinding b;
    b.action = action;
    b.keyFlag = 1;
    b.key = scanCode;
    return b;
}

CactionBinding CactionBinding::forMouse(int action, int button) {
    CactionBinding b;
    b.action = action;
    b.mouseFlag = 1;
    b.mouseButton = button;
    return b;
}

CactionBinding CactionBinding::forJoyButton(int action, int button) {
    CactionBinding b;
    b.action = action;
    b.joyButtonFlag = 1;
    b.joyButton = button;
    return b;
}

CactionBinding CactionBinding::forAxis(int action, int axis, bool negative) {
    CactionBinding b;
    b.action = action;
    b.axisFlag = 1;
    b.axis = axis;
    b.axisNegative = negative ? 1 : 0;
    return b;
}

bool CactionBinding::operator==(const CactionBinding& o) const {
    return action == o.action && mouseFlag == o.mouseFlag && mouseButton == o.mouseButton && keyFlag == o.keyFlag &&
           key == o.key && joyButtonFlag == o.joyButtonFlag && joyButton == o.joyButton && axisFlag == o.axisFlag &&
           axis == o.axis && axisNegative == o.axisNegative;
}

const std::vector<CactionBinding>& defaultKeyboardBindings() {
    using B = CactionBinding;
    static const std::vector<CactionBinding> table = {
        B::forKey(ACTION_SELECT, SDL_SCANCODE_RETURN),
        B::forKey(ACTION_SELECT, SDL_SCANCODE_KP_ENTER),
        B::forKey(ACTION_SELECT, SDL_SCANCODE_SPACE),
        // Escape is kept for the exit pop-up and the pause overlay.
        B::forKey(ACTION_BACK, SDL_SCANCODE_BACKSPACE),
        B::forKey(ACTION_UP, SDL_SCANCODE_W),
        B::forKey(ACTION_UP, SDL_SCANCODE_UP),
        B::forKey(ACTION_DOWN, SDL_SCANCODE_S),
        B::forKey(ACTION_DOWN, SDL_SCANCODE_DOWN),
        B::forKey(ACTION_LEFT, SDL_SCANCODE_A),
        B::forKey(ACTION_LEFT, SDL_SCANCODE_LEFT),
        B::forKey(ACTION_RIGHT, SDL_SCANCODE_D),
        B::forKey(ACTION_RIGHT, SDL_SCANCODE_RIGHT),
        B::forKey(ACTION_OPTION_X, SDL_SCANCODE_X),
        B::forKey(ACTION_OPTION_Y, SDL_SCANCODE_Y),
        B::forKey(ACTION_START, SDL_SCANCODE_P),
        B::forMouse(ACTION_FIRE, 0),
        B::forKey(ACTION_LT, SDL_SCANCODE_1),
        B::forKey(ACTION_RT, SDL_SCANCODE_2),
        B::forKey(ACTION_LB, SDL_SCANCODE_3),
        B::forKey(ACTION_RB, SDL_SCANCODE_4),
    };
    return table;
}

// The usual layout of an XInput-style pad as SDL's joystick interface reports
// it: A B X Y LB RB Back Start Guide L3 R3; axes LX LY LT RX RY RT; hat 0 the d-pad.
const std::vector<CactionBinding>& defaultControllerBindings() {
    using B = CactionBinding;
    static const std::vector<CactionBinding> table = {
        B::forJoyButton(ACTION_SELECT, 0),
        B::forJoyButton(ACTION_BACK, 1),
        B::forJoyButton(ACTION_OPTION_X, 2),
        B::forJoyButton(ACTION_OPTION_Y, 3),
        B::forJoyButton(ACTION_LB, 4),
        B::forJoyButton(ACTION_RB, 5),
        B::forJoyButton(ACTION_BACK2, 6),
        B::forJoyButton(ACTION_START, 7),
        B::forJoyButton(ACTION_L3, 9),
        B::forJoyButton(ACTION_R3, 10),
        B::forAxis(ACTION_LT, 2, false),
        B::forAxis(ACTION_RT, 5, false),
        B::forJoyButton(ACTION_UP, kJoyHatFirst + 0),
        B::forJoyButton(ACTION_RIGHT, kJoyHatFirst + 1),
        B::forJoyButton(ACTION_DOWN, kJoyHatFirst + 2),
        B::forJoyButton(ACTION_LEFT, kJoyHatFirst + 3),
        B::forAxis(ACTION_UP, 1, true),
        B::forAxis(ACTION_DOWN, 1, false),
        B::forAxis(ACTION_LEFT, 0, true),
        B::forAxis(ACTION_RIGHT, 0, false),
        B::forAxis(ACTION_LX, 0, false),
        B::forAxis(ACTION_LY, 1, false),
        B::forAxis(ACTION_RX, 3, false),
        B::forAxis(ACTION_RY, 4, false),
    };
    return table;
}

std::string keyDisplayName(const CactionBinding& b) {
    char buf[64];
    if (b.keyFlag) {
        const char* name = b.key > 0 && b.key < SDL_NUM_SCANCODES ? SDL_GetScancodeName((SDL_Scancode)b.key) : "";
        if (name && *name) return name;
        snprintf(buf, sizeof buf, "Key %d", b.key);
        return buf;
    }
    if (b.mouseFlag) {
        static const char* names[kMouseButtons] = {"Mouse Left", "Mouse Middle", "Mouse Right", "Mouse 4", "Mouse 5"};
        if (b.mouseButton >= 0 && b.mouseButton < kMouseButtons) return names[b.mouseButton];
        snprintf(buf, sizeof buf, "Mouse %d", b.mouseButton + 1);
        return buf;
    }
    if (b.joyButtonFlag) {
        static const char* hat[4] = {"D-Pad Up", "D-Pad Right", "D-Pad Down", "D-Pad Left"};
        if (b.joyButton >= kJoyHatFirst && b.joyButton < kJoyButtonsWithHat) return hat[b.joyButton - kJoyHatFirst];
        snprintf(buf, sizeof buf, "Button %d", b.joyButton + 1);
        return buf;
    }
    if (b.axisFlag) {
        snprintf(buf, sizeof buf, "Axis %d%c", b.axis + 1, b.axisNegative ? '-' : '+');
        return buf;
    }
    return "";
}
