#pragma once
// CmenuBackground: the menu background's style (0..3), changed once a
// minute and on every new track, and the shake it gives the screen on strong
// beats while the player leaves the mouse alone.
#include <cstdint>

class Crandom;

class CmenuBackground {
public:
    uint32_t style = 0;
    bool reacting = true;     // reacts to the player and the music
    float idleTimer = 0;
    float lastMouseX = 0, lastMouseY = 0;
    float styleTimer = 0;

    // A style other than the current one, from the engine's generator.
    void pickNewStyle();
    void pickNewStyle(Crandom& random);
    // Per step, from Cgame::update.
    void update();
};
