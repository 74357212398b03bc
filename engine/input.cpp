#include "engine/input.h"

#include <algorithm>
#include <cmath>

#include "engine/bString.h"
#include "engine/engine.h"

// ---- one player ----

bool CinputPlayer::setDevice(int kind, int joystickIndex) {
    if (kind == DEVICE_CONTROLLER) {
        if (joystickIndex < 0 || joystickIndex >= kMaxJoysticks) return false;
        bindings = defaultControllerBindings();
        joystick = joystickIndex;
    } else if (kind == DEVICE_KEYBOARD_MOUSE || kind == DEVICE_TOUCH) {
        bindings = defaultKeyboardBindings();
        joystick = -1;
    } else {
        return false;
    }
    device = kind;
    clearActions();
    return true;
}

bool CinputPlayer::setJoystick(int index) {
    if (index < 0 || index >= kMaxJoysticks) return false;
    joystick = index;
    return true;
}

void CinputPlayer::applyMapping(const CinputMapping& mapping) {
    // A set-up asks for some actions only: those take the mapping's inputs,
    // every other action keeps the device's default (Select, Back, Fire, ...).
    std::vector<CactionBinding> mapped;
    for (const auto& b : mapping.bindings)
        if (isValidAction(b.action) && b.bindsAnything()) mapped.push_back(b);
    auto isMapped = [&mapped](const CactionBinding& d) {
        return std::any_of(mapped.begin(), mapped.end(), [&d](const CactionBinding& b) { return b.action == d.action; });
    };
    bindings.clear();
    for (const auto& d : device == DEVICE_CONTROLLER ? defaultControllerBindings() : defaultKeyboardBindings())
        if (!isMapped(d)) bindings.push_back(d);
    bindings.insert(bindings.end(), mapped.begin(), mapped.end());
    clearActions();
}

const CactionBinding* CinputPlayer::findBinding(int action) const {
    for (const auto& b : bindings)
        if (b.action == action) return &b;
    return nullptr;
}

bool CinputPlayer::bindsKey(int scanCode) const {
    return std::any_of(bindings.begin(), bindings.end(),
                       [scanCode](const CactionBinding& b) { return b.keyFlag && b.key == scanCode; });
}

int CinputPlayer::firstPressedAction() const {
    for (int a = 1; a < ACTION_COUNT; ++a)
        if (wasActionPressed(a)) return a;
    return 0;
}

void CinputPlayer::clearActions() {
    value_.fill(0.0f);
    down_.fill(false);
    prev_.fill(false);
}

bool Cinput::mustWait(const SDL_Event& e) const {
    if (e.type != SDL_KEYDOWN || e.key.repeat) return false;
    const SDL_Scancode sc = e.key.keysym.scancode;
    // A text entry counts presses of these alone; every other key (letters,
    // Shift, ...) only types, and its text comes whole.
    if (typingText && sc != SDL_SCANCODE_RETURN && sc != SDL_SCANCODE_KP_ENTER && sc != SDL_SCANCODE_BACKSPACE &&
        sc != SDL_SCANCODE_ESCAPE)
        return false;
    return keyboard.pressTooSoon(sc);
}

float CinputPlayer::readBinding(const CactionBinding& b, const Cinput& in) const {
    float v = 0.0f;
    // A key or click that went down and up within one step still counts once.
    if (b.keyFlag && (in.keyboard.isDown(b.key) || in.keyboard.wasPressed(b.key))) v = 1.0f;
    if (b.mouseFlag && (in.mouse.isDown(b.mouseButton) || in.mouse.wasPressed(b.mouseButton))) v = 1.0f;
    if (device == DEVICE_CONTROLLER && (b.joyButtonFlag || b.axisFlag)) {
        const Cjoystick* j = in.joysticks.slot(joystick);
        if (j && j->connected()) {
            if (b.joyButtonFlag && j->buttonDown(b.joyButton)) v = 1.0f;
            if (b.axisFlag && j->validAxis(b.axis)) {
                float a = std::clamp(j->fromRest(b.axis), -1.0f, 1.0f);
                if (b.axisNegative) a = -a;
                if (std::fabs(a) > std::fabs(v)) v = a;
            }
        }
    }
    return v;
}

void CinputPlayer::update(const Cinput& in) {
    prev_ = down_;
    value_.fill(0.0f);
    if (!enabled) {
        down_.fill(false);
        return;
    }
    for (const auto& b : bindings) {
        if (!isValidAction(b.action)) continue;
        float v = readBinding(b, in);
        if (std::fabs(v) > std::fabs(value_[b.action])) value_[b.action] = v;
    }
    if (device == DEVICE_TOUCH && in.sticks.enabled()) {
        Cvec2 move = in.sticks.value(CvirtualSticks::STICK_MOVE);
        Cvec2 aim = in.sticks.value(CvirtualSticks::STICK_AIM);
        auto take = [this](int action, float v) {
            if (std::fabs(v) > std::fabs(value_[action])) value_[action] = v;
        };
        take(ACTION_LX, move.x);
        take(ACTION_LY, move.y);
        take(ACTION_RX, aim.x);
        take(ACTION_RY, aim.y);
        take(ACTION_LEFT, std::max(0.0f, -move.x));
        take(ACTION_RIGHT, std::max(0.0f, move.x));
        take(ACTION_UP, std::max(0.0f, -move.y));
        take(ACTION_DOWN, std::max(0.0f, move.y));
        take(ACTION_FIRE, aim.length() > kDigitalThreshold ? 1.0f : 0.0f);
    }
    for (int a = 1; a < ACTION_COUNT; ++a) {
        if (!isAnalogueAction(a)) value_[a] = std::max(0.0f, value_[a]);
        down_[a] = std::fabs(value_[a]) > kDigitalThreshold;
    }
}

// ---- stored mappings ----

std::string CinputMappings::rowName(const std::string& name) {
    return name.substr(0, utf8CutPoint(name, kNameBytes - 1));
}

const CinputMapping* CinputMappings::find(const std::string& name) const {
    if (name.empty()) return nullptr;
    std::string key = rowName(name);
    for (const auto& m : rows)
        if (equalsIgnoreCase(m.name, key)) return &m;
    return nullptr;
}

bool CinputMappings::store(const CinputMapping& mapping) {
    if (mapping.name.empty()) return false;
    if (mapping.bindings.size() > kMaxBindings) {
        if (gEngine) gEngine->log.print(LOG_L, "Too many bindings to store for %s", mapping.name.c_str());
        return false;
    }
    CinputMapping row = mapping;
    row.name = rowName(mapping.name);
    for (auto& m : rows) {
        if (equalsIgnoreCase(m.name, row.name)) {
            m = std::move(row);
            return true;
        }
    }
    if ((int)rows.size() >= kMaxRows) {
        if (gEngine) gEngine->log.print(LOG_L, "No room to store the mapping of %s", mapping.name.c_str());
        return false;
    }
    rows.push_back(std::move(row));
    return true;
}

void CinputMappings::clear(const std::string& name) {
    std::string key = rowName(name);
    std::erase_if(rows, [&](const CinputMapping& m) { return equalsIgnoreCase(m.name, key); });
}

void CinputMappings::clearAll() { rows.clear(); }

bool CinputMappings::applyTo(CinputPlayer& player, const std::string& name) const {
    const CinputMapping* m = find(name);
    if (!m) return false;
    player.applyMapping(*m);
    return true;
}

// ---- the engine's input ----

Cinput::Cinput() {
    for (auto& p : players_) p.setDevice(DEVICE_KEYBOARD_MOUSE);
    players_[0].enabled = true;
}

void Cinput::init(bool noGrab) {
    mouse.noGrab = noGrab;
    joysticks.init();
}

void Cinput::shutDown() {
    mouse.setCaptured(false);
    joysticks.closeAll();
}

void Cinput::setScreenScale(int screenW, int screenH, int windowW, int windowH) {
    mouse.screenW = touch.screenW = (float)std::max(1, screenW);
    mouse.screenH = touch.screenH = (float)std::max(1, screenH);
    mouse.scaleX = windowW > 0 ? (float)screenW / (float)windowW : 1.0f;
    mouse.scaleY = windowH > 0 ? (float)screenH / (float)windowH : 1.0f;
}

void Cinput::handleEvent(const SDL_Event& e) {
    switch (e.type) {
    case SDL_KEYDOWN:
        keyboard.handleEvent(e);
        if (!e.key.repeat && gEngine) {
            gEngine->lastKey = e.key.keysym.scancode;
            gEngine->lastKeyIdx2 = e.key.keysym.sym;
            gEngine->lastKeyIdx3 = e.key.keysym.mod;
        }
        if (!e.key.repeat) keyEvent = true;
        break;
    case SDL_KEYUP: keyboard.handleEvent(e); break;
    case SDL_TEXTINPUT: typedText += e.text.text; break;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
        mouse.handleEvent(e);
        if (gEngine) {
            gEngine->mouseX = mouse.x;
            gEngine->mouseY = mouse.y;
        }
        break;
    case SDL_JOYDEVICEADDED:
    case SDL_JOYDEVICEREMOVED: joysticks.handleEvent(e); break;
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP: touch.handleEvent(e); break;
    default: break;
    }
}

void Cinput::update() {
    joysticks.poll();
    sticks.update(touch);
    for (auto& p : players_) p.update(*this);
    if (gEngine) {
        gEngine->firstPlayerDevice = players_[0].device;
        gEngine->mouseX = mouse.x;
        gEngine->mouseY = mouse.y;
    }
}

void Cinput::endStep() {
    keyboard.endStep();
    mouse.endStep();
    touch.endFrame();
    keyEvent = false;
    typedText.clear();
    if (gEngine) {
        gEngine->lastKey = -1;
        gEngine->lastKeyIdx2 = -1;
        gEngine->lastKeyIdx3 = -1;
    }
}

// A player's navigation presses and released actions, as the menus read them.
static void readNavigation(const CinputPlayer& p, CuiInput& u) {
    u.up = p.wasActionPressed(ACTION_UP);
    u.down = p.wasActionPressed(ACTION_DOWN);
    u.left = p.wasActionPressed(ACTION_LEFT);
    u.right = p.wasActionPressed(ACTION_RIGHT);
    for (int a = 1; a < ACTION_COUNT; ++a)
        if (p.wasActionReleased(a)) u.setAction(a);
}

CuiInput Cinput::uiInput() const {
    CuiInput u;
    const CinputPlayer& first = players_[0];
    u.device = first.device;
    u.pointerX = mouse.x;
    u.pointerY = mouse.y;
    u.pointerMoved = mouse.dx != 0.0f || mouse.dy != 0.0f;
    u.pointerDown = mouse.isDown(0);
    u.pointerPressed = mouse.wasPressed(0);
    u.pointerReleased = mouse.wasReleased(0);
    if (first.device == DEVICE_TOUCH) {
        // The first finger down, or the one lifted this frame, is the pointer.
        for (int i = 0; i < CtouchMgr::kMaxFingers; ++i) {
            const Cfinger& f = touch.finger(i);
            if (!f.used) continue;
            u.pointerX = f.pos.x;
            u.pointerY = f.pos.y;
            u.pointerMoved = f.delta.x != 0.0f || f.delta.y != 0.0f;
            u.pointerDown = f.down;
            u.pointerPressed = f.began;
            u.pointerReleased = f.ended;
            break;
        }
    }
    u.wheel = mouse.wheel;
    readNavigation(first, u);
    u.typed = typedText;
    u.backspace = keyboard.wasPressed(SDL_SCANCODE_BACKSPACE);
    u.enter = keyboard.wasPressed(SDL_SCANCODE_RETURN) || keyboard.wasPressed(SDL_SCANCODE_KP_ENTER);
    u.escape = keyboard.wasPressed(SDL_SCANCODE_ESCAPE);
    return u;
}

CuiInput Cinput::uiInputFor(int player) const {
    if (player <= 0 || player >= kPlayers) return uiInput();
    const CinputPlayer& p = players_[player];
    CuiInput u;
    u.device = p.device;
    readNavigation(p, u);
    return u;
}

int Cinput::findFreePlayer() const {
    for (int i = 0; i < kPlayers; ++i)
        if (!players_[i].enabled) return i;
    return -1;
}

int Cinput::findPlayerWithJoystick(int joystick) const {
    for (int i = 0; i < kPlayers; ++i)
        if (players_[i].enabled && players_[i].device == DEVICE_CONTROLLER && players_[i].joystick == joystick)
            return i;
    return -1;
}
