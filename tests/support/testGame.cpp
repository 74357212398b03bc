#include "support/testGame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/steam/steamLocal.h"
#include "screens/loading.h"
#include "screens/screenRegistry.h"

CtestGame::CtestGame(bool startUp, const std::string& commandLine, const std::string& saveDir)
    : eng_(true, commandLine, saveDir) {
    Cgame::create();
    // The loading screen's clock moves more than a redraw's interval on each
    // reading, so the logo's minimum time passes without real waiting.
    screens::get<CloadingScreen>()->clock = [this] { return loadingNow += 10.0; };
    initOk_ = gGame->init();
    EXPECT_TRUE(initOk_) << "game init failed";
    // Pages the game opens are kept here: no test starts the desktop's browser.
    gameOpensWebPages = steamLocal::hasWebPageOpener();
    steamLocal::setWebPageOpener([this](const std::string& url) {
        openedWebPages.push_back(url);
        return true;
    });
    // Headless unless a test run asks for a real window (SDL_VIDEODRIVER=x11 under Xvfb).
    if (const char* driver = getenv("SDL_VIDEODRIVER"); !driver || !strcmp(driver, "dummy"))
        EXPECT_TRUE(gEngine->platform.headless());
    loop.clock = [this] { return now; };
    loop.start();
    if (initOk_ && startUp) {
        initOk_ = gGame->startUp();
        EXPECT_TRUE(initOk_) << "start-up failed";
    }
}

CtestGame::~CtestGame() {
    steamLocal::setWebPageOpener(nullptr);
    for (SDL_Joystick* j : pads_) {
        if (!j) continue;
        SDL_JoystickID id = SDL_JoystickInstanceID(j);
        SDL_JoystickClose(j);
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }
    gEngine->input.joysticks.closeAll();
    Cgame::destroy();
    if (gEngine->renderer.isReady()) shutdownRendering();
}

bool CtestGame::advance(double ms) {
    now += ms;
    return loop.runPass();
}

void CtestGame::steps(int n) {
    for (int i = 0; i < n; ++i) advance(loop.periodMs());
}

bool CtestGame::stepUntil(const std::function<bool()>& pred, double seconds) {
    return waitUntil([&] { return pred() || (steps(1), pred()); }, seconds);
}

namespace {
// Queues an event that fill completes; the next pump takes it.
template <class F>
void push(Uint32 type, F fill) {
    SDL_Event e{};
    e.type = type;
    fill(e);
    SDL_PushEvent(&e);
}
void pushKey(int sc, bool down) {
    push(down ? SDL_KEYDOWN : SDL_KEYUP, [&](SDL_Event& e) {
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.scancode = (SDL_Scancode)sc;
        e.key.keysym.sym = SDL_GetKeyFromScancode((SDL_Scancode)sc);
    });
}
}  // namespace

void CtestGame::keyDown(int sc) { pushKey(sc, true); }
void CtestGame::keyUp(int sc) { pushKey(sc, false); }

void CtestGame::mouseButton(int button, bool down) {
    push(down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP, [&](SDL_Event& e) {
        e.button.button = (Uint8)(button + 1);
        e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.button.x = (Sint32)gEngine->input.mouse.x;
        e.button.y = (Sint32)gEngine->input.mouse.y;
    });
}

void CtestGame::mouseMove(int x, int y) {
    push(SDL_MOUSEMOTION, [&](SDL_Event& e) {
        e.motion.x = x;
        e.motion.y = y;
    });
}

void CtestGame::mouseWheel(int notches) {
    push(SDL_MOUSEWHEEL, [&](SDL_Event& e) {
        e.wheel.y = notches;
        e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    });
}

void CtestGame::finger(SDL_EventType type, SDL_FingerID id, float x, float y) {
    push(type, [&](SDL_Event& e) {
        e.tfinger.touchId = 1;
        e.tfinger.fingerId = id;
        e.tfinger.x = x;
        e.tfinger.y = y;
    });
}

bool CtestGame::setAction(int player, int action, bool down) {
    CinputPlayer* p = gEngine->input.player(player);
    const CactionBinding* b = p ? p->findBinding(action) : nullptr;
    if (!b) return false;
    if (b->keyFlag || b->mouseFlag) {
        b->keyFlag ? pushKey(b->key, down) : mouseButton(b->mouseButton, down);
        return true;
    }
    for (size_t pad = 0; pad < pads_.size(); ++pad) {
        if (padSlot((int)pad) != p->joystick) continue;
        static const Uint8 hat[4] = {SDL_HAT_UP, SDL_HAT_RIGHT, SDL_HAT_DOWN, SDL_HAT_LEFT};
        if (b->joyButtonFlag && b->joyButton < kJoyHatFirst) padButton((int)pad, b->joyButton, down);
        else if (b->joyButtonFlag) padHat((int)pad, down ? hat[b->joyButton - kJoyHatFirst] : SDL_HAT_CENTERED);
        else if (b->axisFlag) padAxis((int)pad, b->axis, down ? (b->axisNegative ? -1.0f : 1.0f) : 0.0f);
        return true;
    }
    return false;
}

int CtestGame::attachPad(const char* name, int axes, int buttons, int hats) {
    SDL_VirtualJoystickDesc desc{SDL_VIRTUAL_JOYSTICK_DESC_VERSION, SDL_JOYSTICK_TYPE_GAMECONTROLLER, (Uint16)axes,
                                 (Uint16)buttons, (Uint16)hats};
    desc.name = name;
    int device = SDL_JoystickAttachVirtualEx(&desc);
    EXPECT_GE(device, 0) << SDL_GetError();
    pads_.push_back(device >= 0 ? SDL_JoystickOpen(device) : nullptr);
    return (int)pads_.size() - 1;
}

void CtestGame::padButton(int pad, int button, bool down) { SDL_JoystickSetVirtualButton(pads_.at(pad), button, down); }

void CtestGame::padAxis(int pad, int axis, float value) {
    SDL_JoystickSetVirtualAxis(pads_.at(pad), axis, (Sint16)std::lround(std::clamp(value, -1.0f, 1.0f) * 32767.0f));
}

void CtestGame::padHat(int pad, Uint8 hat) { SDL_JoystickSetVirtualHat(pads_.at(pad), 0, hat); }

int CtestGame::padSlot(int pad) const {
    if (pad < 0 || pad >= (int)pads_.size() || !pads_[pad]) return -1;
    return gEngine->input.joysticks.findByInstance(SDL_JoystickInstanceID(pads_[pad]));
}

int CtestGame::logCount(const std::string& text) const {
    auto lines = gEngine->log.recentLines();
    return (int)std::count_if(lines.begin(), lines.end(), [&](const ClogLine& l) { return l.text == text; });
}

std::vector<std::string> CtestGame::logLinesStartingWith(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& l : gEngine->log.recentLines())
        if (l.text.rfind(prefix, 0) == 0) out.push_back(l.text);
    return out;
}

void CrecordingScreen::update() {
    ++updates;
    if (leaveLeft > 0) --leaveLeft;
}

void CrecordingScreen::render() {
    ++renders;
    if (drawLog) drawLog->push_back(name);
}

void CrecordingOverlay::update() {
    ++updates;
    lastKeySeen = gEngine->lastKey;
}

void CrecordingOverlay::render() {
    ++renders;
    if (drawLog) drawLog->push_back(name);
}
