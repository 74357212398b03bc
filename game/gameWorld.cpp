#include "game/gameWorld.h"

#include <algorithm>

#include "engine/engine.h"

CgameWorld::CgameWorld()
    : powerUps(*this),
      party(*this),
      session(*this),
      ships(*this),
      projectiles(*this),
      pickups(*this),
      waves(*this),
      bosses(*this) {
    if (gEngine) dt = (float)gEngine->updateStep;
    fitCamera();
}

CgameWorld::~CgameWorld() = default;

bool CgameWorld::loadData() { return ships.loadShipDefs("shipProperties.txt"); }

void CgameWorld::fitCamera() {
    float w = gEngine ? (float)gEngine->screenWidth : 1280.0f;
    float h = gEngine ? (float)gEngine->screenHeight : 720.0f;
    // A little of the border shows around the arena.
    float scale = std::min(w / (arenaHalfWidth * 2 + 8), h / (arenaHalfHeight * 2 + 8));
    camera.pos = Cvec3(0, 0, 100);
    camera.focal = scale * 100;
}

void CgameWorld::setGameMode(int m, bool transition) {
    if (hooks.setGameMode) hooks.setGameMode(m, transition);
    else mode_ = m;
}
