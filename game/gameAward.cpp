#include "game/gameAward.h"

#include <algorithm>
#include <cstdio>

#include "engine/engine.h"
#include "engine/format.h"
#include "game/game.h"
#include "game/gameTypes.h"
#include "game/missionResult.h"
#include "game/trackBoards.h"

namespace {
constexpr double kClearedTrackSeconds = 120.0;

uint64_t scoreOf(const CgameSession& s) { return (uint64_t)std::max<int64_t>(s.teamScores[0], 0); }

// The running challenge when this game was an attempt at it, else null.
CchallengeMgr* challengeAttempt(Cgame& g) {
    CchallengeMgr* challenge = g.getActiveChallenge();
    return challenge && challenge->challenge.started ? challenge : nullptr;
}

// A timed challenge attempt's score goes to the challenge's board; the
// challenge names its track, so an attempt counts without the track named.
void submitChallengeRun(Cgame& g) {
    CchallengeMgr* challenge = challengeAttempt(g);
    if (!challenge) return;
    const CgameSession& s = g.world.session;
    const CtrackRecord* rec = runKeepsTrackRecords(g) ? g.trackStats.findTrack(s.track.key) : nullptr;
    CchallengeAttempt attempt;
    attempt.nickname = g.online.soap.nickname();
    attempt.comment = rec ? rec->comment : std::string();
    attempt.ship = currentShipSnapshot(g);
    attempt.difficulty = s.difficulty;
    attempt.difficultyFactor = s.difficultyFactor;
    attempt.deaths = s.respawns();
    // Kept at once, so that its board is looked at after the period however the game ends.
    if (submitChallengeAttempt(g.online.leaderboards, *challenge, scoreOf(s), attempt)) g.saveLoad.requestSave();
}

void submitDaily(Cgame& g, const std::string& comment) {
    const CgameSession& s = g.world.session;
    CdailyTrackScore daily;
    daily.gameScore = scoreOf(s);
    daily.comment = comment;
    daily.title = s.track.title;
    daily.artist = s.track.artist;
    daily.album = s.track.album;
    daily.ship = currentShipSnapshot(g).name;
    daily.difficulty = s.difficulty;
    daily.difficultyFactor = s.difficultyFactor;
    g.online.leaderboards.submitDailyTrackScore(daily);
}

// The track's record: a new best, or a run that got further than ever.
void keepTrackRecord(Cgame& g) {
    CgameSession& s = g.world.session;
    if (!runKeepsTrackRecords(g)) return;
    const uint64_t sc = scoreOf(s);
    const float progress = std::clamp(s.completion, 0.0f, 1.0f);
    const CshipSnapshot ship = currentShipSnapshot(g);
    const CtrackRecord* rec = g.trackStats.findTrack(s.track.key);
    const bool newBest = g.trackStats.isNewBest(s.track.key, sc, ship.keepsRecords);
    const bool further = progress > (rec ? rec->completion : 0.0f);
    const std::string comment = rec ? rec->comment : std::string();
    if (newBest || further) g.trackStats.submitScore(s.track.key, sc, s.difficulty, progress, ship, comment);
    if (newBest && progress >= 1.0f) {
        submitDaily(g, comment);
        s.bestKept = true;
        s.keptComment = comment;
    }
}

// A finished track counts towards the player's and the ship's cleared tracks.
void countTrack(Cgame& g) {
    const CgameSession& s = g.world.session;
    if (s.completion >= 1.0f && s.track.length > kClearedTrackSeconds) {
        g.progress.tracksCompleted++;
        g.progress.statsDirty = true;
        if (CplayerShipDef* ship = g.playerShips.currentShip()) ship->addTrackCleared();
    }
    gEngine->analytics.sendEvent("GameOver", s.track.title.c_str(), nullptr);
    if (const CsongPackInfo* now = g.music.currentTrack) g.songLibrary.addRecentTrack(now, false);
    g.achievements.checkShipTracks(g.playerShips);
}

bool submitModeBest(Cgame& g, uint64_t score, const std::string& comment) {
    const CgameSession& s = g.world.session;
    const bool standard = g.standardShipFlag != 0;
    return s.gameType == GAMETYPE_BOSSRUSH ? g.progress.submitBossRushScore(score, comment, standard)
                                           : g.progress.submitSurvivalScore(score, comment, standard);
}

uint64_t modeBest(const Cgame& g) {
    const CplayerProgress& p = g.progress;
    const bool standard = g.standardShipFlag != 0;
    if (g.world.session.gameType == GAMETYPE_BOSSRUSH) return standard ? p.bossRushBest : p.bossRushBestCustom;
    return standard ? p.survivalBest : p.survivalBestCustom;
}

void keepModeBest(Cgame& g) {
    CgameSession& s = g.world.session;
    const uint64_t sc = scoreOf(s);
    if (sc == 0 || sc <= modeBest(g)) return;
    const std::string comment = modeCommentPrefix(g);
    submitModeBest(g, sc, comment);
    s.bestKept = true;
    s.keptComment = comment;
}

void awardXp(Cgame& g) {
    CgameSession& s = g.world.session;
    CplayerShipDef* ship = g.playerShips.currentShip();
    CgameAward& award = s.award;
    award.playerXpBefore = (uint64_t)std::max<int64_t>(g.progress.xp, 0);
    award.shipXpBefore = ship ? ship->xp : 0;
    award.xp = (uint64_t)std::max<int64_t>(s.sessionXp, 0);
    g.progress.addXP(award.xp);
    g.progress.addTimePlayed(s.playTime);
    if (ship) {
        ship->xp += award.xp;
        ship->totalScore += award.xp;
        ship->addTimePlayed((float)s.playTime);
    }
}
}  // namespace

bool runKeepsTrackRecords(Cgame& g) {
    const CgameSession& s = g.world.session;
    const bool unnamed = g.music.openMicRunning() && s.identifiedTrackId == 0;
    return !(unnamed && (s.chosenTrackTime == -1.0 || challengeAttempt(g)));
}

CshipSnapshot currentShipSnapshot(Cgame& g) {
    CshipSnapshot s;
    if (const CplayerShipDef* ship = g.playerShips.currentShip()) {
        s.name = ship->name();
        s.keepsRecords = ship->keepsRecords();
    }
    s.standardShip = g.standardShipFlag != 0;
    return s;
}

std::string modeCommentPrefix(const Cgame& g) {
    const CgameSession& s = g.world.session;
    if (s.gameType == GAMETYPE_BOSSRUSH) {
        char text[64];
        std::snprintf(text, sizeof text, "%s %d : ", gEngine->text("BossWave"), s.bossRushWave);
        return text;
    }
    return std::string(gEngine->text("Time")) + " " + formatTime((int)s.clock) + " : ";
}

bool commitGameResults(Cgame& g) {
    CgameSession& s = g.world.session;
    if (!s.gameOver || s.awarded || s.partyMode) return false;
    s.awarded = true;
    switch (s.getGameOverState()) {
        case GM_GAME_OVER:
            submitChallengeRun(g);
            keepTrackRecord(g);
            countTrack(g);
            break;
        case GM_GAME_OVER_BOSS_RUSH:
        case GM_GAME_OVER_SURVIVAL: keepModeBest(g); break;
        default: break;
    }
    awardXp(g);
    // The missions are checked once the ship has its XP (a rank mission counts it).
    if (CplayerShipDef* ship = g.playerShips.currentShip()) {
        s.missionsDone = completeShipMissions(*ship, g.progress, missionResultOf(s)).newly;
    }
    g.progress.syncLocalStats(g.statsCache.local);
    g.statsCache.local.changed = true;
    g.progress.saveDirty = g.progress.statsDirty = true;
    // Written now: a result the game over shows survives the program's end.
    g.saveLoad.saveGame();
    return true;
}

bool takeGameAward(Cgame& g, CgameAward& out) {
    CgameSession& s = g.world.session;
    if (s.awarded && !s.awardTaken) {
        out = s.award;
        s.awardTaken = true;
        return true;
    }
    const CplayerShipDef* ship = g.playerShips.currentShip();
    out = CgameAward{};
    out.playerXpBefore = (uint64_t)std::max<int64_t>(g.progress.xp, 0);
    out.shipXpBefore = ship ? ship->xp : 0;
    return false;
}

void amendResultComment(Cgame& g, const std::string& comment) {
    CgameSession& s = g.world.session;
    if (!s.bestKept || comment == s.keptComment) return;
    s.keptComment = comment;
    if (s.getGameOverState() == GM_GAME_OVER) {
        g.trackStats.setComment(s.track.key, comment, currentShipSnapshot(g));
        submitDaily(g, comment);
    } else {
        submitModeBest(g, scoreOf(s), comment);
    }
}
