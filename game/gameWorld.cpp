#include "game/gameWorld.h"

#include <algorithm>

#include "engine/engine.h"
#include "game/progress/playerShipMgr.h"
#include "game/progress/shipEditParams.h"

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
    procShips.pointBalance = [](const CplayerShipDef& ship) { return shipPointBalance(ship); };
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

void CgameWorld::attachHangar(CplayerShipMgr& h) {
    hangar = &h;
    for (const auto& ship : h.ships) ships.syncPlayerShip(*ship);
    h.onShipAdded = [this](CplayerShipDef& ship) { ships.syncPlayerShip(ship); };
    h.onShipRemoved = [this](const std::string& name) { ships.removePlayerShipDef(name); };
    h.buildProcShip = [this, &h](CplayerShipDef& ship, const CtrackInfoView& seed) {
        // Missions and the rest come from the plain growth; the look and the
        // handling are grown from the track, louder tracks giving livelier ships.
        h.growProcShip(ship, seed);
        std::string title(seed.title);
        float energy = title == session.track.title ? session.averageIntensity : 0.5f;
        procShips.generate(trackSeed(title, seed.lengthSeconds), energy, ship);
        return true;
    };
}

void CgameWorld::setGameMode(int m, bool transition) {
    if (hooks.setGameMode) hooks.setGameMode(m, transition);
    else mode_ = m;
}
