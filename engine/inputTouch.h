#pragma once
// Touch fingers and the on-screen thumb sticks they drive.
#include <SDL.h>

#include <array>

#include "engine/maths.h"

class Cjoysticks;

struct Cfinger {
    SDL_FingerID id = 0;
    bool used = false;     // the slot holds a finger (down now or lifted this frame)
    bool down = false;
    bool began = false;    // touched down this frame
    bool ended = false;    // lifted this frame; dropped at endFrame
    Cvec2 pos, start, delta;
};

class CtouchMgr {
public:
    static constexpr int kMaxFingers = 10;

    // Finger events are in 0..1 of the window; they are kept in screen units.
    void handleEvent(const SDL_Event& e);
    // Clears the fingers' deltas and drops those that ended this frame.
    void endFrame();
    void clear();

    bool present() const;   // a finger is on the screen
    const Cfinger& finger(int i) const { return fingers_[i]; }
    int findSlot(SDL_FingerID id) const;
    // The first finger down, or null.
    const Cfinger* firstActive() const;

    float screenW = 1280, screenH = 720;

private:
    std::array<Cfinger, kMaxFingers> fingers_;
};

// The six stored settings of the on-screen sticks.
struct CstickSettings {
    int type = 0;            // 0 fixed, 1 floating
    int swap = 0;            // 1: the move stick on the right
    int weaponButtons = 0;   // 0 on the left, 1 on the right
    int size = 5;            // 1..10
    int fixedX = 0;          // -10..10
    int fixedY = 0;          // -10..10
};

class CvirtualSticks {
public:
    enum { STICK_MOVE = 0, STICK_AIM = 1 };
    static constexpr float kParkX = -1000.0f;

    struct Cstick {
        Cvec2 home;     // where the layout put it
        Cvec2 centre;   // where it is now (floating sticks follow the finger)
        Cvec2 knob;
        Cvec2 value;    // -1..1 each way
        float radius = 150;
        float zoneLeft = 0, zoneWidth = 640;
        int finger = -1;   // finger slot holding it
        bool fixed = true;
    };

    // Places both sticks from the settings and the screen size.
    void layout(const CstickSettings& settings, float screenW, float screenH);
    // Turns the sticks on or off: recentres them, parks the tracked touch at
    // -1000 and clears the joystick slots.
    void setEnabled(bool on, Cjoysticks* joysticks);
    // Switches the sticks off and moves them off screen (paused play, game over).
    void park(float screenW, Cjoysticks* joysticks);
    void update(const CtouchMgr& touch);

    bool enabled() const { return enabled_; }
    const Cstick& stick(int i) const { return sticks_[i & 1]; }
    Cvec2 value(int i) const { return sticks_[i & 1].value; }
    const CstickSettings& settings() const { return settings_; }

    float inner = 50;
    Ccolour colour{1, 1, 1, 0.3f};
    Cvec2 lastTouch{kParkX, kParkX};

private:
    void recentre();
    std::array<Cstick, 2> sticks_;
    CstickSettings settings_;
    bool enabled_ = false;
};
