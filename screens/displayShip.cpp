#include "screens/displayShip.h"

#include <algorithm>
#include <cmath>

#include "engine/engine.h"
#include "engine/render/particles.h"
#include "engine/ui/widget.h"
#include "game/enemies/ship.h"
#include "game/enemies/shipMgr.h"
#include "game/game.h"

namespace {
// Scene units a second: the engines burn as in steady flight.
constexpr float kFlightSpeed = 24.0f;
// A ship shown at its normal size fills this share of its spot's height, so
// that one shown larger still keeps inside the spot.
constexpr float kSpotFill = 0.45f;
}  // namespace

void CdisplayShip::clearScene() {
    gGame->world.projectiles.clear();
    gGame->world.ships.clear();
}

bool CdisplayShip::show(const CplayerShipDef& playerShip, float sizeFactor) {
    forget();
    CshipMgr& ships = gGame->world.ships;
    const CshipDef* def = ships.syncPlayerShip(playerShip);
    if (def) ship_ = ships.addShip(def, false);
    if (!ship_) {
        gEngine->log.print(LOG_L, "Can't show ship: %s", playerShip.name().c_str());
        return false;
    }
    ship_->display = true;
    ship_->pos = Cvec3(-10000.0f, 0.0f, CshipMgr::kDisplayDepth);
    ship_->scale = 1.0f;
    ship_->size *= sizeFactor;
    sizeFactor_ = sizeFactor;
    return true;
}

void CdisplayShip::forget() {
    if (ship_) gGame->world.ships.removeShip(ship_);
    ship_ = nullptr;
}

void CdisplayShip::fly(float beat) {
    if (!ship_) return;
    controls_.clear();
    // Aiming along the heading fires; without a beat the guns rest.
    if (beat >= kBeatLevel) controls_.aim = ship_->heading();
    // The spot it was placed at stands, even beyond the arena's edge.
    const Cvec3 spot = ship_->pos;
    const float angle = ship_->angle;
    ship_->controls = &controls_;
    ship_->updatePlayerControl(true);
    ship_->controls = nullptr;
    ship_->pos = spot;
    ship_->angle = angle;
    // Held in place, but with the flame of a ship at speed.
    ship_->vel = ship_->heading() * kFlightSpeed;
}

void CdisplayShip::flyAt(const Cwidget* spot, float angle) {
    placeAt(spot, angle);
    fly(musicBeat());
}

float CdisplayShip::musicBeat() { return gGame->music.getBandLevel(0); }

void CdisplayShip::placeAt(const Cwidget* spot, float angle) {
    if (spot) placeAtPixel(spot->x, spot->y, angle, spot->height * spot->uiScale);
}

void CdisplayShip::placeAtPixel(float x, float y, float angle, float heightPx) {
    if (!ship_) return;
    fitShipToSpot(*ship_, x, y, heightPx, kSpotFill * sizeFactor_);
    ship_->angle = angle;
    ship_->vel = Cvec2();
}

void fitShipToSpot(Cship& ship, float x, float y, float heightPx, float fill) {
    CgameWorld& world = gGame->world;
    world.fitCamera();
    const Cvec2 p = world.screenToPlane(x, y);
    ship.pos = Cvec3(p.x, p.y, CshipMgr::kDisplayDepth);
    if (heightPx <= 0) return;
    // The ship fills its share of the spot's height, whatever its own size.
    const Cvec2 top = world.screenToPlane(x, y - heightPx * 0.5f);
    const float halfHeight = std::fabs(p.y - top.y);
    // Drawn parts scale with the definition's radius, not with the live size.
    const float radius = ship.def ? ship.def->radius : 0.0f;
    if (radius > 0) {
        ship.scale = std::max(0.1f, halfHeight * fill / radius);
        ship.size = radius * ship.scale * 1.4f;
    }
}

void CdisplayShip::updateScene() {
    const float dt = (float)gEngine->frameTime;
    gGame->world.ships.update(dt);
    gGame->world.projectiles.update(dt);
}

void CdisplayShip::renderScene() {
    Crenderer& r = gEngine->renderer;
    if (!r.isReady()) return;
    gGame->world.fitCamera();
    r.setCamera(&gGame->world.camera);
    gGame->world.projectiles.draw();
    gGame->world.ships.drawShips(true);
    r.setCamera(nullptr);
}

namespace {
// Each ring alone is faint: a step's worth of them adds up to the glow.
constexpr float kUiHaloAlpha = 0.1f;
}  // namespace

void spawnUiHalo(const Ccolour& colour, float x, float y, float size) {
    CparticleSystem& ps = gEngine->particles;
    CparticleDef* def = ps.findDef("UiHalo");
    if (!def) return;
    ps.spawn(*def, Cvec3(x, y, 0), colour.withAlpha(kUiHaloAlpha), kUiFrontLayer, size);
    ps.spawn(*def, Cvec3(x, y, 0), Ccolour(1, 1, 1, kUiHaloAlpha), kUiFrontLayer, size * 0.6f);
}

void spawnUiPuff(const Ccolour& colour, float x, float y) {
    CparticleSystem& ps = gEngine->particles;
    if (CparticleDef* def = ps.findDef("UiPuff")) ps.spawn(*def, Cvec3(x, y, 0), colour, kUiFrontLayer, 1.0f);
}

void sparkleAround(const Cwidget* congrats, const Ccolour& haloColour, float haloSize) {
    if (!congrats) return;
    spawnUiHalo(haloColour, congrats->x, congrats->y, haloSize);
    Crandom& random = gEngine->random;
    if (random.fraction() < 0.1f) {
        const float dx = random.range(-200.0f, 200.0f) * congrats->uiScale;
        spawnUiSparkle(Cvec3(congrats->x + dx, congrats->y, 0.0f), gGame->namedColours.white, 0.3f, true);
    }
}
