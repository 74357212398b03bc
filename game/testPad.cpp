#include "game/testPad.h"

#include <csignal>
#include <cstdlib>

#include "engine/engine.h"

namespace {
volatile std::sig_atomic_t gPresses = 0;
void onPress(int) { gPresses = gPresses + 1; }
}  // namespace

CtestPad::~CtestPad() {
    if (!pad_ || !SDL_WasInit(SDL_INIT_JOYSTICK)) return;
    SDL_JoystickClose(pad_);
    SDL_JoystickDetachVirtual(0);
}

void CtestPad::start() {
    const char* name = std::getenv(kEnv);
    if (!name || !*name) return;
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = 6;
    desc.nbuttons = 11;
    desc.nhats = 1;
    desc.name = name;
    int device = SDL_JoystickAttachVirtualEx(&desc);
    pad_ = device >= 0 ? SDL_JoystickOpen(device) : nullptr;
    if (!pad_) {
        gEngine->log.print(LOG_E, "Test pad: can't attach %s: %s", name, SDL_GetError());
        return;
    }
    std::signal(SIGUSR1, onPress);
    gEngine->log.print(LOG_L, "Test pad attached: %s", name);
}

void CtestPad::update() {
    if (!pad_) return;
    Uint32 now = SDL_GetTicks();
    if (down_ && SDL_TICKS_PASSED(now, releaseAt_)) {
        SDL_JoystickSetVirtualButton(pad_, 0, 0);
        down_ = false;
    }
    if (!down_ && gPresses > 0) {
        gPresses = gPresses - 1;
        SDL_JoystickSetVirtualButton(pad_, 0, 1);
        down_ = true;
        releaseAt_ = now + kHoldMs;
    }
}
