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
#include "screens/shipList.h"

std::string shipTimeText(float seconds) {
    return formatTime(seconds > 0 ? (int)std::floor(seconds) : 0);
}

std::string shipWords(const std::string& stored) {
    for (const char* prefix : {"ShipWords_", "ProcMission_"})
        if (stored.rfind(prefix, 0) == 0)
            if (const char* t = gEngine->language().find(stored, false)) return t;
    return stored;
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
    setMakerIcon(row, "Manu", ship.data.manufacturer, false);
    row->setText("Score", shipRankName(ship.xp));
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


void drawShips(const std::vector<Cship*>& ships) {
    Crenderer& r = gEngine->renderer;
    if (!r.isReady()) return;
    gGame->world.fitCamera();
    r.setCamera(&gGame->world.camera);
    drawDisplayShips(ships);
    r.setCamera(nullptr);
}
