#pragma once
// CtestPad: a controller for scripts that drive the real game. With the
// environment switch ZORBEX_TEST_PAD set to a name, a virtual controller of
// that name is plugged in at start; each SIGUSR1 then holds its first button
// down for a moment. Without the switch it does nothing.
#include <SDL.h>

class CtestPad {
public:
    static constexpr const char* kEnv = "ZORBEX_TEST_PAD";
    static constexpr Uint32 kHoldMs = 150;

    ~CtestPad();
    // Plugs the controller in (after SDL's joystick start-up).
    void start();
    // Once per pass of the main loop: starts and ends the presses.
    void update();

private:
    SDL_Joystick* pad_ = nullptr;
    Uint32 releaseAt_ = 0;
    bool down_ = false;
};
