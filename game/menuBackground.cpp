#include "game/menuBackground.h"

#include "engine/engine.h"
#include "engine/random.h"
#include "game/game.h"
#include "game/gameModes.h"

void CmenuBackground::pickNewStyle() { pickNewStyle(gEngine->random); }

void CmenuBackground::pickNewStyle(Crandom& random) {
    uint32_t next = style;
    while (next == style) {
        uint32_t x = random.next();
        next = ((x >> 15) ^ x) & 3u;
    }
    style = next;
    styleTimer = 0;
}

void CmenuBackground::update() {
    const int mode = gGame->mode();
    if (mode == GM_PLAYING || mode == GM_HANGAR || mode == GM_DAILY_CHALLENGE_L || mode == GM_GALLERY) return;
    const float dt = (float)gEngine->frameTime;
    if (reacting) {
        if (gGame->mouseIdle && gEngine->subSteps < 2) {
            const float level = gGame->music.getBandLevel(0);
            if (level > 1.5f) gEngine->screenShake.start(0.5f, 8.0f);
            else if (level > 1.2f) gEngine->screenShake.start(0.5f, 3.0f);
        }
        const float mx = gEngine->mouseX, my = gEngine->mouseY;
        if (mx == lastMouseX && my == lastMouseY) {
            if (my > 50) idleTimer += dt;
            if (idleTimer > 2.0f) gGame->mouseIdle = 1;
        } else {
            if (idleTimer > 0) gGame->mouseIdle = 0;
            lastMouseX = mx;
            lastMouseY = my;
            idleTimer = 0;
        }
    }
    styleTimer += dt;
    if (styleTimer > 60.0f) pickNewStyle();
}
