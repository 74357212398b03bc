#include "game/gameAward.h"

#include <algorithm>

#include "game/game.h"

bool awardFinishedGame(Cgame& g, CgameAward* out) {
    CgameSession& session = g.world.session;
    CplayerShipDef* ship = g.playerShips.currentShip();
    CgameAward award;
    award.playerXpBefore = (uint64_t)std::max<int64_t>(g.progress.xp, 0);
    award.shipXpBefore = ship ? ship->xp : 0;
    award.xp = (uint64_t)std::max<int64_t>(session.sessionXp, 0);
    if (out) *out = award;
    if (session.awarded) return false;
    session.awarded = true;
    g.progress.addXP(award.xp);
    if (ship) {
        ship->xp += award.xp;
        ship->totalScore += award.xp;
        ship->addTimePlayed((float)session.playTime);
    }
    g.progress.syncLocalStats(g.statsCache.local);
    g.statsCache.local.changed = true;
    g.progress.saveDirty = g.progress.statsDirty = true;
    return true;
}
