#pragma once
// The input devices: keyboard, mouse and the joystick slots. Each keeps its
// held state from SDL events or polling, and the press and release edges of
// the current update step (cleared by endStep).
#include <SDL.h>

#include <array>
#include <bitset>
#include <cstdint>
#include <string>

#include "engine/inputBinding.h"

class Ckeyboard {
public:
    void handleEvent(const SDL_Event& e);
    void endStep();
    void clear();

    bool isDown(int scanCode) const { return valid(scanCode) && down_[scanCode]; }
    bool wasPressed(int scanCode) const { return valid(scanCode) && pressed_[scanCode]; }
    bool wasReleased(int scanCode) const { return valid(scanCode) && released_[scanCode]; }
    // A new press of the key now would merge with one of this step or the
    // last (an action counts a press only after a step without the key).
    bool pressTooSoon(int scanCode) const { return valid(scanCode) && (pressed_[scanCode] || pressedBefore_[scanCode]); }
    // The first key pressed this step, -1 when none.
    int firstPressed() const;
    bool anyDown() const { return down_.any(); }

private:
    static bool valid(int sc) { return sc > 0 && sc < SDL_NUM_SCANCODES; }
    std::bitset<SDL_NUM_SCANCODES> down_, pressed_, released_, pressedBefore_;
};

class Cmouse {
public:
    void handleEvent(const SDL_Event& e);
    void endStep();

    // Relative mouse mode; never taken with "-NoGrab".
    void setCaptured(bool on);
    bool captured() const { return captured_; }
    bool noGrab = false;

    // Forgets the press and release edges, so a click that opened something
    // does not also act inside it. Held buttons stay held.
    void clearPressed();

    bool isDown(int button) const { return button >= 0 && button < kMouseButtons && down_[button]; }
    bool wasPressed(int button) const { return button >= 0 && button < kMouseButtons && pressed_[button]; }
    bool wasReleased(int button) const { return button >= 0 && button < kMouseButtons && released_[button]; }
    int firstDown() const;

    // Position in screen units (window pixels scaled to the screen size).
    float x = 0, y = 0;
    float dx = 0, dy = 0;   // this step's motion
    int wheel = 0;          // this step's wheel clicks
    // Distance moved since resetTravel().
    float travel() const { return travel_; }
    void resetTravel() { travel_ = 0; }

    // Window pixel to screen unit factors.
    float scaleX = 1, scaleY = 1;
    float screenW = 1280, screenH = 720;

private:
    void moveBy(float mx, float my);
    bool down_[kMouseButtons] = {};
    bool pressed_[kMouseButtons] = {};
    bool released_[kMouseButtons] = {};
    bool captured_ = false;
    float travel_ = 0;
};

constexpr int kMaxJoysticks = 25;

struct Cjoystick {
    SDL_Joystick* handle = nullptr;
    SDL_JoystickID instance = -1;
    std::string name;
    int numAxes = 0, numButtons = 0, numHats = 0;

    int16_t raw[kJoyAxes] = {};
    float rest[kJoyAxes] = {};
    float axisMin[kJoyAxes] = {};
    float axisMax[kJoyAxes] = {};
    bool calibrated[kJoyAxes] = {};
    bool axisEnabled[kJoyAxes] = {};
    uint64_t buttons = 0, prevButtons = 0;   // bits 0..31 buttons, 32..35 hat

    bool connected() const { return handle != nullptr; }
    // raw / 32767, within -1..1.
    float value(int axis) const;
    // The value less the axis's rest position.
    float fromRest(int axis) const { return validAxis(axis) ? value(axis) - rest[axis] : 0.0f; }
    bool validAxis(int axis) const { return axis >= 0 && axis < numAxes && axis < kJoyAxes; }
    bool buttonDown(int b) const { return b >= 0 && b < kJoyButtonsWithHat && (buttons >> b) & 1; }
    bool buttonPressed(int b) const { return buttonDown(b) && !((prevButtons >> b) & 1); }
    bool buttonReleased(int b) const {
        return b >= 0 && b < kJoyButtonsWithHat && !((buttons >> b) & 1) && ((prevButtons >> b) & 1);
    }
    // The first button or hat direction pressed this step, -1 when none.
    int firstPressed() const;
    void resetCalibration();
    void clearState();
};

class Cjoysticks {
public:
    ~Cjoysticks() { closeAll(); }

    // Closes every slot, then enumerates and opens the joysticks.
    void init();
    // Clears the state of all 25 slots (values, buttons, rest positions);
    // the devices stay open.
    void reset();
    void closeAll();

    void handleEvent(const SDL_Event& e);
    // Reads axes, buttons and hats of every open joystick (once per step).
    void poll();

    // The first enabled axis whose value lies more than 0.7 from its rest
    // position: its index and its value less the rest position.
    bool findMovedAxis(int joystick, int& axis, float& value) const;
    int findJoystickWithButtonDown() const;
    const char* getName(int index) const;
    void captureRestPositions(int joystick);
    void captureAllRestPositions();

    Cjoystick* slot(int index) { return index >= 0 && index < kMaxJoysticks ? &slots_[index] : nullptr; }
    const Cjoystick* slot(int index) const { return index >= 0 && index < kMaxJoysticks ? &slots_[index] : nullptr; }
    int findByInstance(SDL_JoystickID id) const;
    int count() const;

    static constexpr float kMoveThreshold = 0.7f;

private:
    bool openDevice(int deviceIndex);
    std::array<Cjoystick, kMaxJoysticks> slots_;
};
