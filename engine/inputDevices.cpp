#include "engine/inputDevices.h"

#include <algorithm>
#include <cmath>

#include "engine/engine.h"

// The devices also work without an engine (tests build them alone), so each
// log line checks for one.
#define ZX_JOY_LOG(...) \
    do {                                          \
        if (gEngine) gEngine->log.print(__VA_ARGS__); \
    } while (0)

// ---- keyboard ----

void Ckeyboard::handleEvent(const SDL_Event& e) {
    if (e.type != SDL_KEYDOWN && e.type != SDL_KEYUP) return;
    int sc = e.key.keysym.scancode;
    if (!valid(sc)) return;
    if (e.type == SDL_KEYDOWN) {
        if (!e.key.repeat && !down_[sc]) pressed_[sc] = true;
        down_[sc] = true;
    } else {
        if (down_[sc]) released_[sc] = true;
        down_[sc] = false;
    }
}

void Ckeyboard::endStep() {
    pressedBefore_ = pressed_;
    pressed_.reset();
    released_.reset();
}

void Ckeyboard::clear() {
    down_.reset();
    endStep();
    pressedBefore_.reset();
}

int Ckeyboard::firstPressed() const {
    for (int i = 1; i < SDL_NUM_SCANCODES; ++i)
        if (pressed_[i]) return i;
    return -1;
}

// ---- mouse ----

void Cmouse::handleEvent(const SDL_Event& e) {
    switch (e.type) {
    case SDL_MOUSEMOTION:
        if (captured_)
            moveBy((float)e.motion.xrel * scaleX, (float)e.motion.yrel * scaleY);
        else
            moveBy((float)e.motion.x * scaleX - x, (float)e.motion.y * scaleY - y);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        int b = (int)e.button.button - 1;   // SDL numbers them from 1
        if (b < 0 || b >= kMouseButtons) return;
        if (!captured_) {
            x = (float)e.button.x * scaleX;
            y = (float)e.button.y * scaleY;
        }
        if (e.type == SDL_MOUSEBUTTONDOWN) {
            if (!down_[b]) pressed_[b] = true;
            down_[b] = true;
        } else {
            if (down_[b]) released_[b] = true;
            down_[b] = false;
        }
        break;
    }
    case SDL_MOUSEWHEEL:
        wheel += e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        break;
    default: break;
    }
}

void Cmouse::moveBy(float mx, float my) {
    x = std::clamp(x + mx, 0.0f, screenW);
    y = std::clamp(y + my, 0.0f, screenH);
    dx += mx;
    dy += my;
    travel_ += std::sqrt(mx * mx + my * my);
}

void Cmouse::endStep() {
    std::fill(std::begin(pressed_), std::end(pressed_), false);
    std::fill(std::begin(released_), std::end(released_), false);
    dx = dy = 0;
    wheel = 0;
}

void Cmouse::clearPressed() {
    std::fill(std::begin(pressed_), std::end(pressed_), false);
    std::fill(std::begin(released_), std::end(released_), false);
}

int Cmouse::firstDown() const {
    for (int i = 0; i < kMouseButtons; ++i)
        if (down_[i]) return i;
    return -1;
}

void Cmouse::setCaptured(bool on) {
    bool want = on && !noGrab;
    if (want == captured_) return;
    captured_ = want;
    // Without a real video driver relative mode is unavailable; the flag still
    // tells the game how to read motion.
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_SetRelativeMouseMode(want ? SDL_TRUE : SDL_FALSE);
}

// ---- joysticks ----

float Cjoystick::value(int axis) const {
    if (!validAxis(axis)) return 0.0f;
    return std::clamp((float)raw[axis] / 32767.0f, -1.0f, 1.0f);
}

int Cjoystick::firstPressed() const {
    for (int b = 0; b < kJoyButtonsWithHat; ++b)
        if (buttonPressed(b)) return b;
    return -1;
}

void Cjoystick::resetCalibration() {
    for (int i = 0; i < kJoyAxes; ++i) {
        axisMin[i] = axisMax[i] = 0.0f;
        calibrated[i] = false;
    }
}

void Cjoystick::clearState() {
    std::fill(std::begin(raw), std::end(raw), (int16_t)0);
    std::fill(std::begin(rest), std::end(rest), 0.0f);
    buttons = prevButtons = 0;
    resetCalibration();
}

void Cjoysticks::init() {
    closeAll();
    if (!SDL_WasInit(SDL_INIT_JOYSTICK)) return;
    int n = SDL_NumJoysticks();
    for (int i = 0; i < n; ++i) openDevice(i);
}

void Cjoysticks::reset() {
    for (auto& j : slots_) j.clearState();
}

void Cjoysticks::closeAll() {
    for (auto& j : slots_) {
        if (j.handle) SDL_JoystickClose(j.handle);
        j = Cjoystick();
    }
}

int Cjoysticks::findByInstance(SDL_JoystickID id) const {
    for (int i = 0; i < kMaxJoysticks; ++i)
        if (slots_[i].handle && slots_[i].instance == id) return i;
    return -1;
}

int Cjoysticks::count() const {
    int n = 0;
    for (const auto& j : slots_) n += j.connected() ? 1 : 0;
    return n;
}

bool Cjoysticks::openDevice(int deviceIndex) {
    SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (id < 0 || findByInstance(id) >= 0) return false;
    int free = -1;
    for (int i = 0; i < kMaxJoysticks && free < 0; ++i)
        if (!slots_[i].handle) free = i;
    const char* devName = SDL_JoystickNameForIndex(deviceIndex);
    if (free < 0) {
        ZX_JOY_LOG(LOG_L, "Joystick ignored, every slot is in use: %s", devName ? devName : "?");
        return false;
    }
    SDL_Joystick* h = SDL_JoystickOpen(deviceIndex);
    if (!h) {
        ZX_JOY_LOG(LOG_L, "Can't open joystick: %s", SDL_GetError());
        return false;
    }
    Cjoystick& j = slots_[free];
    j = Cjoystick();
    j.handle = h;
    j.instance = SDL_JoystickInstanceID(h);
    const char* name = SDL_JoystickName(h);
    j.name = name ? name : "";
    j.numAxes = std::min(SDL_JoystickNumAxes(h), kJoyAxes);
    j.numButtons = std::min(SDL_JoystickNumButtons(h), kJoyButtons);
    j.numHats = SDL_JoystickNumHats(h);
    if (j.numAxes < 0) j.numAxes = 0;
    if (j.numButtons < 0) j.numButtons = 0;
    for (int a = 0; a < kJoyAxes; ++a) j.axisEnabled[a] = a < j.numAxes;
    for (int a = 0; a < j.numAxes; ++a) j.raw[a] = SDL_JoystickGetAxis(h, a);
    captureRestPositions(free);
    ZX_JOY_LOG(LOG_L, "Joystick %s opened in slot %d", j.name.c_str(), free);
    return true;
}

void Cjoysticks::handleEvent(const SDL_Event& e) {
    if (e.type == SDL_JOYDEVICEADDED) {
        openDevice(e.jdevice.which);
    } else if (e.type == SDL_JOYDEVICEREMOVED) {
        int s = findByInstance(e.jdevice.which);
        if (s >= 0) {
            ZX_JOY_LOG(LOG_L, "Joystick %s removed from slot %d", slots_[s].name.c_str(), s);
            SDL_JoystickClose(slots_[s].handle);
            slots_[s] = Cjoystick();
        }
    }
}

void Cjoysticks::poll() {
    for (auto& j : slots_) {
        if (!j.handle) continue;
        j.prevButtons = j.buttons;
        uint64_t bits = 0;
        for (int a = 0; a < j.numAxes; ++a) j.raw[a] = SDL_JoystickGetAxis(j.handle, a);
        for (int b = 0; b < j.numButtons; ++b)
            if (SDL_JoystickGetButton(j.handle, b)) bits |= 1ull << b;
        if (j.numHats > 0) {
            Uint8 hat = SDL_JoystickGetHat(j.handle, 0);
            if (hat & SDL_HAT_UP) bits |= 1ull << (kJoyHatFirst + 0);
            if (hat & SDL_HAT_RIGHT) bits |= 1ull << (kJoyHatFirst + 1);
            if (hat & SDL_HAT_DOWN) bits |= 1ull << (kJoyHatFirst + 2);
            if (hat & SDL_HAT_LEFT) bits |= 1ull << (kJoyHatFirst + 3);
        }
        j.buttons = bits;
    }
}

bool Cjoysticks::findMovedAxis(int joystick, int& axis, float& value) const {
    const Cjoystick* j = slot(joystick);
    if (!j || !j->connected()) return false;
    for (int a = 0; a < j->numAxes; ++a) {
        if (!j->axisEnabled[a]) continue;
        float v = j->value(a);
        float moved = v - j->rest[a];
        if (std::fabs(moved) > kMoveThreshold) {
            axis = a;
            value = moved;
            ZX_JOY_LOG(LOG_A, "Axis moved = %d f=%.2f val=%.2f", a, v, moved);
            return true;
        }
    }
    return false;
}

int Cjoysticks::findJoystickWithButtonDown() const {
    for (int i = 0; i < kMaxJoysticks; ++i)
        if (slots_[i].handle && slots_[i].buttons != 0) return i;
    return -1;
}

const char* Cjoysticks::getName(int index) const {
    const Cjoystick* j = slot(index);
    return j && j->connected() ? j->name.c_str() : "";
}

void Cjoysticks::captureRestPositions(int joystick) {
    Cjoystick* j = slot(joystick);
    if (!j) return;
    for (int a = 0; a < kJoyAxes; ++a) j->rest[a] = a < j->numAxes ? j->value(a) : 0.0f;
}

void Cjoysticks::captureAllRestPositions() {
    for (int i = 0; i < kMaxJoysticks; ++i)
        if (slots_[i].handle) captureRestPositions(i);
}
