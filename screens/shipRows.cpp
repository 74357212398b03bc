#include "screens/shipRows.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/engine.h"
#include "engine/format.h"
#include "engine/ui/widget.h"
#include "game/enemies/procShipGen.h"
#include "game/game.h"
#include "game/gameTypes.h"
#include "game/progress/xpCurve.h"

std::string shipTimeText(float seconds) {
    return formatTime(seconds > 0 ? (int)std::floor(seconds) : 0);
}

bool shipListable(CplayerShipDef& ship) {
    if (ship.hidden || ship.excluded) return false;
    const CplayerProgress& progress = gGame->progress;
    const std::string& name = ship.name();
    if (name == "Vessik" && !progress.ves5) return false;
    if (name == "Vornak" && !progress.vor5) return false;
    if (name == "Duveve Rade Dorid!" && !progress.vuz2) return false;
    // A player's own design is listed only when it makes a ship that flies.
    if (!ship.data.builtIn && !ship.skipEvaluation && !gGame->world.ships.syncPlayerShip(ship)) return false;
    return true;
}

int fillShipRow(Cwidget* row, const CplayerShipDef& ship, const Ccolour& favourite, const Ccolour& plain) {
    if (!row) return 0;
    row->setText("Name", ship.data.displayName.empty() ? ship.name() : ship.data.displayName);
    if (Cgadget* manu = row->findSpriteGadget("Manu")) {
        int m = ship.data.manufacturer;
        manu->hidden = m < 0 || m >= CprocShipGen::kNumManufacturers;
        if (!manu->hidden) manu->setSpriteName(CprocShipGen::getManufacturerIconNoTextName(m));
    }
    row->setText("Score", ship.xp == 0 ? std::string(gEngine->text("Unranked")) : getRankName(rankFromXP(ship.xp)));
    if (Cgadget* wip = row->findSpriteGadget("WIP")) wip->hidden = ship.finished;
    char mods[64];
    snprintf(mods, sizeof mods, "%s %d", gEngine->text("Modules"), ship.getNumModulesFitted());
    row->setText("NumMods", mods);
    if (Cgadget* heart = row->findSpriteGadget("Heart")) heart->colour = ship.favourite ? favourite : plain;
    row->setText("Time", shipTimeText(ship.timePlayed));
    int complete = 0;
    for (int i = 0; i < kMaxShipMissions; ++i) {
        char name[8];
        snprintf(name, sizeof name, "Star%d", i + 1);
        Cgadget* star = row->findSpriteGadget(name);
        if (!star) continue;
        star->hidden = i >= ship.numMissions();
        bool done = !star->hidden && ship.missionComplete[i];
        star->colour = done ? favourite : plain;
        complete += done ? 1 : 0;
    }
    return complete;
}

Cship* addDisplayShip(CplayerShipDef& def) {
    CshipMgr& ships = gGame->world.ships;
    CshipDef* flyable = ships.syncPlayerShip(def);
    Cship* ship = flyable ? ships.addShip(flyable, false) : nullptr;
    if (!ship) return nullptr;
    ship->display = true;
    ship->pos = Cvec3(0, 0, CshipMgr::kDisplayDepth);
    ship->scale = 1.0f;
    return ship;
}

void placeDisplayShip(Cship* ship, float x, float y, float boxHeight, float angle) {
    if (!ship) return;
    CgameWorld& world = gGame->world;
    const Cvec2 p = world.screenToPlane(x, y);
    const Cvec2 top = world.screenToPlane(x, y - boxHeight * 0.5f);
    ship->pos = Cvec3(p.x, p.y, CshipMgr::kDisplayDepth);
    ship->angle = angle;
    ship->vel = Cvec2();
    const float halfHeight = std::fabs(p.y - top.y);
    if (ship->size > 0) ship->scale = std::max(0.05f, halfHeight * 0.8f / ship->size);
}

void drawDisplayShips() {
    Crenderer& r = gEngine->renderer;
    if (!r.isReady()) return;
    gGame->world.fitCamera();
    r.setCamera(&gGame->world.camera);
    gGame->world.ships.drawShips(true);
    r.setCamera(nullptr);
}
