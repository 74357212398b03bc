#include "game/frameLoop.h"

#include <SDL.h>

#include <algorithm>

#include "engine/engine.h"
#include "game/game.h"

CframeLoop::CframeLoop() {
    clock = [] { return (double)SDL_GetTicks64(); };
}

void CframeLoop::start() { gameClock_ = clock(); }

double CframeLoop::periodMs() const { return 1000.0 / (double)std::max(1, gEngine->updateRate); }

void CframeLoop::runPeriod() {
    gEngine->updateStep = 1.0 / (double)std::max(1, gEngine->updateRate);
    int subSteps = std::max(1, gEngine->subSteps);
    for (int i = 0; i < subSteps; ++i) {
        gEngine->platform.pollEvents();
        gGame->handleQuitRequest();
        if (gGame->quit) break;
        gEngine->update();
        gGame->update();
        gEngine->endFrame();
    }
    ++periods_;
    updatedSinceDraw_ = true;
}

void CframeLoop::draw() {
    Crenderer& r = gEngine->renderer;
    if (r.isReady()) {
        r.beginFrame();
        gGame->draw();
        gEngine->errorOverlay.draw();
        r.flush();
    } else {
        // No renderer (it failed or was never started): the clear colour only.
        gEngine->platform.clear();
    }
    gEngine->platform.swapWindow();
    ++draws_;
    updatedSinceDraw_ = false;
}

bool CframeLoop::runPass() {
    if (updatedSinceDraw_ && !gEngine->holdDrawing) draw();
    gEngine->platform.pollEvents();
    gGame->handleQuitRequest();

    double now = clock();
    if (now - gameClock_ > kMaxLagMs) {
        gameClock_ = now;
        ++skips_;
        gEngine->log.print(LOG_L, "-- 0.5s Delay - skipping update");
    }
    bool ran = false;
    double period = periodMs();
    while (gameClock_ < now && !gGame->quit) {
        runPeriod();
        gameClock_ += period;
        ran = true;
    }
    return ran;
}
