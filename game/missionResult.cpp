#include "game/missionResult.h"

#include "game/game.h"

CmissionResult missionResultOf(const CgameSession& s) {
    CmissionResult r;
    r.gameType = s.gameType;
    r.difficulty = s.difficulty;
    r.progress = s.completion;
    r.score = (uint64_t)std::max<int64_t>(s.teamScores[0], 0);
    r.bossRushWave = s.bossRushWave;
    r.sessionTime = (float)s.playTime;
    r.extraLivesUsed = s.extraLivesUsed;
    r.weaponsUsed = s.weaponsUsed;
    r.track.title = s.track.title;
    r.track.artist = s.track.artist;
    r.track.album = s.track.album;
    r.track.key = s.track.key;
    r.track.lengthSeconds = (float)s.track.length;
    return r;
}

bool currentShipMissionProgressed() {
    if (!gGame) return false;
    // Once the game's results are kept its missions are marked: those it completed say.
    if (gGame->world.session.awarded) return !gGame->world.session.missionsDone.empty();
    CplayerShipDef* ship = gGame->playerShips.currentShip();
    if (!ship || ship->numMissions() == 0) return false;
    return checkMissionProgress(ship->data.missions, ship->missionComplete, missionResultOf(gGame->world.session),
                                ship->xp);
}
