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

namespace {
constexpr float kArenaBorder = 4.0f;   // scene units of border shown around the arena

float screenW() { return gEngine ? (float)gEngine->screenWidth : 1280.0f; }
float screenH() { return gEngine ? (float)gEngine->screenHeight : 720.0f; }

// Pixels per scene unit: the arena and its border fill the screen's width or height.
float arenaPixelScale(float halfW, float halfH) {
    return std::min(screenW() / (halfW * 2 + 2 * kArenaBorder), screenH() / (halfH * 2 + 2 * kArenaBorder));
}

Crect centredRect(float halfW, float halfH) {
    return {screenW() * 0.5f - halfW, screenH() * 0.5f - halfH, halfW * 2, halfH * 2};
}
}  // namespace

void CgameWorld::fitCamera() {
    camera.pos = Cvec3(0, 0, 100);
    camera.focal = arenaPixelScale(arenaHalfWidth, arenaHalfHeight) * 100;
}

Crect CgameWorld::arenaScreenRect() const {
    const float s = arenaPixelScale(arenaHalfWidth, arenaHalfHeight);
    return centredRect(arenaHalfWidth * s, arenaHalfHeight * s);
}

Crect CgameWorld::arenaViewRect() const {
    const float s = arenaPixelScale(arenaHalfWidth, arenaHalfHeight);
    return centredRect((arenaHalfWidth + kArenaBorder) * s, (arenaHalfHeight + kArenaBorder) * s);
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
