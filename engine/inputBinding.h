#pragma once
// Input actions and their bindings to keys, mouse buttons, joystick buttons
// and joystick axes.
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

// Action numbers are stored in mappings and compared by the screens.
enum EinputAction {
    ACTION_NONE = 0,
    ACTION_SELECT = 1,
    ACTION_BACK = 2,
    ACTION_UP = 3,
    ACTION_DOWN = 4,
    ACTION_LEFT = 5,
    ACTION_RIGHT = 6,
    ACTION_OPTION_X = 7,
    ACTION_OPTION_Y = 8,
    ACTION_BACK2 = 9,
    ACTION_R3 = 10,
    ACTION_L3 = 11,
    ACTION_FIRE = 12,
    ACTION_START = 13,
    ACTION_LT = 14,   // perk weapon 1 on the keyboard
    ACTION_RT = 15,   // perk weapon 2
    ACTION_LB = 16,   // perk weapon 3
    ACTION_RB = 17,   // perk weapon 4
    ACTION_LX = 18,   // analogue: left stick across
    ACTION_LY = 19,   // left stick down the screen
    ACTION_RX = 20,   // right (aim) stick across
    ACTION_RY = 21,
    ACTION_COUNT = 32   // room for more; 22..31 are unused
};

// How a player plays; the first player's kind decides how the menus are driven.
enum EinputDevice { DEVICE_KEYBOARD_MOUSE = 0, DEVICE_CONTROLLER = 1, DEVICE_TOUCH = 2 };

inline bool isValidAction(int a) { return a > ACTION_NONE && a < ACTION_COUNT; }
// Axis actions carry a signed value; the others are pressed or not.
inline bool isAnalogueAction(int a) { return a >= ACTION_LX && a <= ACTION_RY; }
// "Select", "Back", ... "RY"; "Unused" for 22..31.
const char* actionName(int action);

constexpr int kMouseButtons = 5;          // 0 left, 1 middle, 2 right, 3 and 4 the side buttons
constexpr int kJoyButtons = 32;           // real buttons 0..31
constexpr int kJoyHatFirst = 32;          // hat directions as buttons 32..35: up, right, down, left
constexpr int kJoyButtonsWithHat = 36;
constexpr int kJoyAxes = 16;              // axes read per joystick

// One binding of an action to an input. Fields are 32-bit so that a stored
// mapping row has the same layout on every build.
struct CactionBinding {
    int32_t action = ACTION_NONE;
    int32_t mouseFlag = 0;
    int32_t mouseButton = 0;
    int32_t keyFlag = 0;
    int32_t key = 0;              // SDL scan code
    int32_t joyButtonFlag = 0;
    int32_t joyButton = 0;        // 0..31, or 32..35 for the hat
    int32_t axisFlag = 0;
    int32_t axis = 0;
    int32_t axisNegative = 0;     // the action reads the axis turned round

    static CactionBinding forKey(int action, int scanCode);
    static CactionBinding forMouse(int action, int button);
    static CactionBinding forJoyButton(int action, int button);
    static CactionBinding forAxis(int action, int axis, bool negative);

    bool bindsAnything() const { return mouseFlag || keyFlag || joyButtonFlag || axisFlag; }
    bool operator==(const CactionBinding& o) const;
};
static_assert(std::is_trivially_copyable_v<CactionBinding>);
static_assert(sizeof(CactionBinding) == 40);

// A stored set of bindings for one device, named "Keyboard" or by the
// joystick's name.
struct CinputMapping {
    std::string name;
    std::vector<CactionBinding> bindings;
};

const std::vector<CactionBinding>& defaultKeyboardBindings();
const std::vector<CactionBinding>& defaultControllerBindings();

// The text shown for a binding: the key's name, "Mouse Left", "Button 3",
// "D-Pad Up", "Axis 2+"; "" when it binds nothing.
std::string keyDisplayName(const CactionBinding& binding);
