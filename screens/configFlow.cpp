#include "screens/configFlow.h"

#include <algorithm>
#include <cmath>

#include "engine/engine.h"
#include "engine/input.h"

const std::vector<CconfigRow>& keyboardConfigTable() {
    static const std::vector<CconfigRow> rows = {
        {ACTION_UP, "ConfigKBUp"},
        {ACTION_DOWN, "ConfigKBDown"},
        {ACTION_LEFT, "ConfigKBLeft"},
        {ACTION_RIGHT, "ConfigKBRight"},
        {ACTION_LT, "ConfigKBPerkWeapon1"},
        {ACTION_RT, "ConfigKBPerkWeapon2"},
        {ACTION_LB, "ConfigKBPerkWeapon3"},
        {ACTION_RB, "ConfigKBPerkWeapon4"},
        {ACTION_NONE, "ConfigComplete"},
    };
    return rows;
}

const std::vector<CconfigRow>& joystickConfigTable() {
    static const std::vector<CconfigRow> rows = {
        {ACTION_SELECT, "ConfigJoySelect", true, "ui_xbox_A.png", "ui_ps4_A.png"},
        {ACTION_BACK, "ConfigJoyBack", true, "ui_xbox_B.png", "ui_ps4_B.png"},
        {ACTION_OPTION_X, "ConfigJoyX", true, "ui_xbox_X.png", "ui_ps4_X.png"},
        {ACTION_OPTION_Y, "ConfigJoyY", true, "ui_xbox_Y.png", "ui_ps4_Y.png"},
        {ACTION_START, "ConfigJoyStart", true, "ui_xbox_Start.png", "ui_ps4_Start.png"},
        {ACTION_BACK2, "ConfigJoyBack2", true, "ui_xbox_Back.png", "ui_ps4_Back.png"},
        {ACTION_LT, "ConfigJoyLTb", true, "ui_xbox_LT.png", "ui_ps4_LT.png"},
        {ACTION_RT, "ConfigJoyRTb", true, "ui_xbox_RT.png", "ui_ps4_RT.png"},
        {ACTION_LB, "ConfigJoyLBb", true, "ui_xbox_LB.png", "ui_ps4_LB.png"},
        {ACTION_RB, "ConfigJoyRBb", true, "ui_xbox_RB.png", "ui_ps4_RB.png"},
        {ACTION_UP, "ConfigJoyDpadUp", true, "ui_xbox_dpad_up.png", "ui_xbox_dpad_up.png"},
        {ACTION_DOWN, "ConfigJoyDpadDown", true, "ui_xbox_dpad_down.png", "ui_xbox_dpad_down.png"},
        {ACTION_LEFT, "ConfigJoyDpadLeft", true, "ui_xbox_dpad_left.png", "ui_xbox_dpad_left.png"},
        {ACTION_RIGHT, "ConfigJoyDpadRight", true, "ui_xbox_dpad_right.png", "ui_xbox_dpad_right.png"},
        {ACTION_L3, "ConfigJoyL3", true, "ui_xbox_L3.png", "ui_ps4_L3.png"},
        {ACTION_R3, "ConfigJoyR3", true, "ui_xbox_R3.png", "ui_ps4_R3.png"},
        {ACTION_RX, "ConfigJoyRX"},
        {ACTION_RY, "ConfigJoyRY"},
        {ACTION_LX, "ConfigJoyLX"},
        {ACTION_LY, "ConfigJoyLY"},
        {ACTION_NONE, "ConfigComplete"},
    };
    return rows;
}

const std::vector<CconfigRow>& CconfigFlow::table() const {
    return device_ == DEVICE_JOYSTICK ? joystickConfigTable() : keyboardConfigTable();
}

const CconfigRow& CconfigFlow::row() const {
    const auto& t = table();
    return t[std::min(row_, t.size() - 1)];
}

void CconfigFlow::prepare(int device, int joystick, int doneState, int escapeState) {
    device_ = device == DEVICE_JOYSTICK ? DEVICE_JOYSTICK : DEVICE_KEYS;
    joystick_ = device_ == DEVICE_JOYSTICK ? joystick : -1;
    doneState_ = doneState;
    escapeState_ = escapeState;
    row_ = 0;
    bindings_.clear();
    limitLogged_ = false;
    phase_ = PHASE_WAIT_RELEASE;
}

void CconfigFlow::begin(Cinput& input) {
    row_ = 0;
    bindings_.clear();
    limitLogged_ = false;
    settleTimer_ = 0;
    isPs4_ = false;
    phase_ = PHASE_WAIT_RELEASE;
    if (device_ != DEVICE_JOYSTICK) return;
    Cjoystick* j = input.joysticks.slot(joystick_);
    if (j) {
        j->resetCalibration();
        isPs4_ = j->name.find("PS4") != std::string::npos;
    }
    phase_ = PHASE_CALIBRATING;
}

std::string CconfigFlow::mappingName(const Cinput& input) const {
    if (device_ != DEVICE_JOYSTICK) return CinputMappings::kKeyboard;
    const Cjoystick* j = input.joysticks.slot(joystick_);
    return j ? j->name : std::string();
}

float CconfigFlow::axisBar(const Cinput& input, int axis) const {
    const Cjoystick* j = input.joysticks.slot(joystick_);
    if (!j || !j->validAxis(axis)) return 0.5f;
    float range = j->axisMax[axis] - j->axisMin[axis];
    if (range <= 0.0f) return 0.5f;
    float v = sticksInUse ? j->value(axis) : j->fromRest(axis);
    return std::clamp((v - j->axisMin[axis]) / range, 0.0f, 1.0f);
}

int CconfigFlow::calibratedAxes(const Cinput& input) const {
    const Cjoystick* j = input.joysticks.slot(joystick_);
    if (!j) return 0;
    int n = 0;
    for (int a = 0; a < j->numAxes && a < kJoyAxes; ++a) n += j->calibrated[a] ? 1 : 0;
    return n;
}

bool CconfigFlow::add(const CactionBinding& b) {
    if (bindings_.size() >= kMaxBindings) {
        if (!limitLogged_)
            gEngine->log.print(LOG_E, "Config: the mapping holds %d bindings, %s is not bound", (int)kMaxBindings,
                               actionName(b.action));
        limitLogged_ = true;
        return false;
    }
    bindings_.push_back(b);
    return true;
}

void CconfigFlow::nextRow() {
    if (row_ + 1 < table().size()) ++row_;
    phase_ = PHASE_WAIT_RELEASE;
}

void CconfigFlow::endCalibration() {
    phase_ = PHASE_SETTLING;
    settleTimer_ = kSettleSeconds;
}

bool CconfigFlow::anythingHeld(const Cinput& input) const {
    if (input.keyboard.anyDown() || input.mouse.firstDown() >= 0) return true;
    if (device_ != DEVICE_JOYSTICK) return false;
    const Cjoystick* j = input.joysticks.slot(joystick_);
    if (!j || !j->connected()) return false;
    if (j->buttons != 0) return true;
    int axis;
    float value;
    return input.joysticks.findMovedAxis(joystick_, axis, value);
}

CconfigFlow::Estep CconfigFlow::step(Cinput& input, float dt, bool confirm) {
    Cjoystick* j = device_ == DEVICE_JOYSTICK ? input.joysticks.slot(joystick_) : nullptr;
    switch (phase_) {
    case PHASE_CALIBRATING: {
        if (!j || !j->connected()) {
            endCalibration();
            return STEP_CALIBRATED;
        }
        int done = 0;
        int axes = std::min(j->numAxes, kJoyAxes);
        for (int a = 0; a < axes; ++a) {
            float v = sticksInUse ? j->value(a) : j->fromRest(a);
            j->axisMin[a] = std::min(j->axisMin[a], v);
            j->axisMax[a] = std::max(j->axisMax[a], v);
            if (j->axisMax[a] - j->axisMin[a] > kCalibratedRange) j->calibrated[a] = true;
            done += j->calibrated[a] ? 1 : 0;
        }
        // A trigger that rests at one end never spans the range; a button
        // press ends calibration once both sticks' worth of axes are done.
        bool button = j->firstPressed() >= 0 && done >= kAxesForButtonFinish;
        if (done == axes || done > kEnoughAxes || button) {
            endCalibration();
            return STEP_CALIBRATED;
        }
        return STEP_NONE;
    }
    case PHASE_SETTLING:
        settleTimer_ -= dt;
        if (settleTimer_ > 0) return STEP_NONE;
        settleTimer_ = 0;
        input.joysticks.captureRestPositions(joystick_);
        phase_ = PHASE_WAIT_RELEASE;
        return STEP_NONE;
    case PHASE_WAIT_RELEASE:
        if (anythingHeld(input)) return STEP_NONE;
        phase_ = onLastRow() ? PHASE_COMPLETE : PHASE_ASKING;
        return STEP_NONE;
    case PHASE_ASKING: {
        const CconfigRow& r = row();
        if (device_ != DEVICE_JOYSTICK) {
            int key = input.keyboard.firstPressed();
            int mouse = -1;
            for (int b = 0; b < kMouseButtons && key < 0 && mouse < 0; ++b)
                if (input.mouse.wasPressed(b)) mouse = b;
            if (key < 0 && mouse < 0) return STEP_NONE;
            add(key >= 0 ? CactionBinding::forKey(r.action, key) : CactionBinding::forMouse(r.action, mouse));
            nextRow();
            return STEP_BOUND;
        }
        if (!j || !j->connected()) return STEP_NONE;
        int button = r.acceptsButtons ? j->firstPressed() : -1;
        if (button >= 0) {
            add(CactionBinding::forJoyButton(r.action, button));
            nextRow();
            return STEP_BOUND;
        }
        int axis;
        float value;
        if (!input.joysticks.findMovedAxis(joystick_, axis, value)) return STEP_NONE;
        bool negative = value < 0;
        add(CactionBinding::forAxis(r.action, axis, negative));
        // A stick across or down also steers the menus.
        if (r.action == ACTION_LX) {
            add(CactionBinding::forAxis(ACTION_RIGHT, axis, negative));
            add(CactionBinding::forAxis(ACTION_LEFT, axis, !negative));
        } else if (r.action == ACTION_LY) {
            add(CactionBinding::forAxis(ACTION_UP, axis, negative));
            add(CactionBinding::forAxis(ACTION_DOWN, axis, !negative));
        }
        nextRow();
        return STEP_BOUND;
    }
    case PHASE_COMPLETE: {
        bool pressed = confirm || input.keyboard.firstPressed() >= 0 || (j && j->firstPressed() >= 0);
        if (!pressed) return STEP_NONE;
        phase_ = PHASE_DONE;
        return STEP_FINISHED;
    }
    case PHASE_DONE:
        return STEP_NONE;
    }
    return STEP_NONE;
}

bool CconfigFlow::storeMapping(Cinput& input) const {
    CinputMapping m;
    m.name = mappingName(input);
    m.bindings = bindings_;
    if (m.name.empty()) return false;
    input.mappings.clear(m.name);
    if (input.mappings.store(m)) return true;
    gEngine->log.print(LOG_E, "Config: the mapping table holds %d devices, %s is not stored", CinputMappings::kMaxRows,
                       m.name.c_str());
    return false;
}
