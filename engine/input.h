#pragma once
// Cinput: the engine's input. It owns the devices and the four input players,
// takes SDL's input events, and once per update step turns device state into
// each player's actions. Press and release edges last for one update step.
#include <SDL.h>

#include <array>
#include <string>
#include <vector>

#include "engine/inputBinding.h"
#include "engine/inputDevices.h"
#include "engine/inputTouch.h"
#include "engine/ui/uiTypes.h"

class Cinput;

class CinputPlayer {
public:
    static constexpr float kDigitalThreshold = 0.5f;

    bool enabled = false;
    int device = DEVICE_KEYBOARD_MOUSE;
    int joystick = -1;   // joystick slot for a controller, -1 none
    std::vector<CactionBinding> bindings;

    // Device kind 0, 1 or 2 with that kind's default bindings; a controller
    // needs a valid joystick slot. False (and no change) otherwise.
    bool setDevice(int kind, int joystickIndex = -1);
    // False for an index outside the 25 joystick slots.
    bool setJoystick(int index);
    // The device's default bindings, those of the actions the mapping binds
    // replaced by the mapping's.
    void applyMapping(const CinputMapping& mapping);

    const CactionBinding* findBinding(int action) const;
    // True when a key of the keyboard does one of this player's actions.
    bool bindsKey(int scanCode) const;

    bool isActionDown(int action) const { return isValidAction(action) && down_[action]; }
    bool wasActionPressed(int action) const { return isValidAction(action) && down_[action] && !prev_[action]; }
    bool wasActionReleased(int action) const { return isValidAction(action) && !down_[action] && prev_[action]; }
    // -1..1 for the stick actions, 0..1 for the others.
    float actionValue(int action) const { return isValidAction(action) ? value_[action] : 0.0f; }
    // The first action pressed this step, 0 when none.
    int firstPressedAction() const;

    // Reads the devices into this step's action states.
    void update(const Cinput& input);
    void clearActions();

private:
    float readBinding(const CactionBinding& b, const Cinput& input) const;
    std::array<float, ACTION_COUNT> value_{};
    std::array<bool, ACTION_COUNT> down_{}, prev_{};
};

// The stored mappings: at most one per device name ("Keyboard" or a
// joystick's name, compared without case), 25 in all. The settings file
// keeps them.
class CinputMappings {
public:
    static constexpr int kMaxRows = 25;
    static constexpr size_t kMaxBindings = 56;   // a stored row's room
    static constexpr size_t kNameBytes = 128;    // a stored row's name field, terminator included
    static constexpr const char* kKeyboard = "Keyboard";

    const CinputMapping* find(const std::string& name) const;
    bool isKnown(const std::string& name) const { return find(name) != nullptr; }
    // Replaces the mapping of the same name; false (nothing stored) when all
    // rows hold other devices or the mapping has more bindings than a row holds.
    bool store(const CinputMapping& mapping);
    // Forgets one device's mapping.
    void clear(const std::string& name);
    // Forgets every device's mapping, the keyboard's too.
    void clearAll();
    // Gives a player the bindings stored for a device; false when none are.
    bool applyTo(CinputPlayer& player, const std::string& name) const;

    // The name as a row keeps it: cut on a character boundary to fit the field.
    static std::string rowName(const std::string& name);

    std::vector<CinputMapping> rows;
};

class Cinput {
public:
    static constexpr int kPlayers = 4;

    Cinput();

    // Opens the joysticks; "-NoGrab" keeps the mouse out of relative mode.
    void init(bool noGrab);
    void shutDown();

    void handleEvent(const SDL_Event& e);
    // An event that must wait for a later step: a key pressed again so soon
    // that the two presses would count as one. While text is typed only the
    // keys the entry counts wait: typed text comes whole, however fast.
    bool mustWait(const SDL_Event& e) const;
    // Once per update step, before the game reads input.
    void update();
    // Once per update step, after the game has read input: ends the edges.
    void endStep();
    // This step's input as the menus read it: the first player's device and
    // released actions, the pointer (mouse, or the first finger on touch),
    // navigation presses and typing.
    CuiInput uiInput() const;
    // The same for another local player: that player's actions and
    // navigation; the pointer and typing stay with the first player.
    CuiInput uiInputFor(int player) const;

    // The screen size that pointer and touch positions are given in, and the
    // window size they arrive in.
    void setScreenScale(int screenW, int screenH, int windowW, int windowH);

    CinputPlayer* player(int index) { return index >= 0 && index < kPlayers ? &players_[index] : nullptr; }
    const CinputPlayer* player(int index) const { return index >= 0 && index < kPlayers ? &players_[index] : nullptr; }
    // The first player not enabled, -1 when all four are.
    int findFreePlayer() const;
    // The enabled controller player using a joystick slot, -1 when none.
    int findPlayerWithJoystick(int joystick) const;

    Ckeyboard keyboard;
    Cmouse mouse;
    Cjoysticks joysticks;
    CtouchMgr touch;
    CvirtualSticks sticks;
    CinputMappings mappings;

    int inputMode = DEVICE_KEYBOARD_MOUSE;   // how the menus are driven
    bool inputHold = false;                  // input is held back (e.g. after a dialog)
    int currentJoystick = -1;                // the joystick the last start came from
    bool keyEvent = false;                   // a key went down this step

    // Text typed this step (SDL text input events).
    std::string typedText;
    bool typingText = false;   // a text entry has the keyboard

private:
    std::array<CinputPlayer, kPlayers> players_;
};
