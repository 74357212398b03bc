#include "game/gameWorld.h"

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
}

CgameWorld::~CgameWorld() = default;

bool CgameWorld::loadData() { return ships.loadShipDefs("shipProperties.txt"); }

void CgameWorld::setGameMode(int m, bool transition) {
    if (hooks.setGameMode) hooks.setGameMode(m, transition);
    else mode_ = m;
}
