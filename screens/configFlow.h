#pragma once
// CconfigFlow: binding the game's actions one after another to keyboard keys
// and mouse buttons, or to one joystick's buttons and axes, after the
// joystick's axes are calibrated. The screen shows its state; the flow reads
// the devices once per update step.
//
// Only new presses count, and after each binding the flow waits until every
// key, button and axis is back at rest, so one press never binds two rows.
#include <string>
#include <vector>

#include "engine/inputBinding.h"

class Cinput;

struct CconfigRow {
    int action = 0;           // 0 ends the table
    const char* tag = "";     // the prompt's string-table tag
    bool acceptsButtons = false;
    const char* glyph = nullptr;      // Xbox-style pads
    const char* glyphPs4 = nullptr;   // pads whose name holds "PS4"
};

const std::vector<CconfigRow>& keyboardConfigTable();
const std::vector<CconfigRow>& joystickConfigTable();

class CconfigFlow {
public:
    enum Edevice { DEVICE_KEYS = 0, DEVICE_JOYSTICK = 1 };
    enum Ephase { PHASE_CALIBRATING, PHASE_SETTLING, PHASE_WAIT_RELEASE, PHASE_ASKING, PHASE_COMPLETE, PHASE_DONE };
    enum Estep { STEP_NONE = 0, STEP_BOUND, STEP_CALIBRATED, STEP_FINISHED };

    static constexpr float kCalibratedRange = 1.9f;
    static constexpr int kEnoughAxes = 5;          // more than this ends calibration
    static constexpr int kAxesForButtonFinish = 2;  // a button may end it with this many
    static constexpr float kSettleSeconds = 5.0f;
    static constexpr size_t kMaxBindings = 56;      // a stored mapping row's room

    // What the screen is told before it is entered.
    void prepare(int device, int joystick, int doneState, int escapeState);
    // The screen's enter: for a joystick resets its calibration and starts it.
    void begin(Cinput& input);
    // One update step. confirm is the button bar's OK on the last row.
    Estep step(Cinput& input, float dt, bool confirm);

    int device() const { return device_; }
    int joystick() const { return joystick_; }
    int doneState() const { return doneState_; }
    int escapeState() const { return escapeState_; }
    Ephase phase() const { return phase_; }
    bool isPs4() const { return isPs4_; }
    float settleTimer() const { return settleTimer_; }
    const CconfigRow& row() const;
    bool onLastRow() const { return row().action == 0; }
    const std::vector<CactionBinding>& bindings() const { return bindings_; }
    // The mapping's name: "Keyboard" or the joystick's name.
    std::string mappingName(const Cinput& input) const;

    // Replaces the stored mapping of the same name with the bindings made.
    // False, logged, when the mapping table has no room for another device.
    bool storeMapping(Cinput& input) const;

    // Calibration shown per axis: 0..1 along the range seen so far.
    float axisBar(const Cinput& input, int axis) const;
    int calibratedAxes(const Cinput& input) const;
    // The on-screen sticks stand in for a pad; their axes have no rest offset.
    bool sticksInUse = false;

private:
    bool add(const CactionBinding& b);
    void nextRow();
    void endCalibration();
    bool anythingHeld(const Cinput& input) const;
    const std::vector<CconfigRow>& table() const;

    int device_ = DEVICE_KEYS;
    int joystick_ = -1;
    int doneState_ = 0, escapeState_ = 0;
    Ephase phase_ = PHASE_ASKING;
    bool isPs4_ = false;
    float settleTimer_ = 0;
    size_t row_ = 0;
    std::vector<CactionBinding> bindings_;
    bool limitLogged_ = false;
};
