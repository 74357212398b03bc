#include "game/trackBoards.h"

#include <algorithm>

#include "engine/engine.h"
#include "online/challengeMgr.h"
#include "online/leaderboardMgr.h"

int trackLengthBoard(double seconds, bool standardShip) {
    if (!(seconds > 0)) return -1;
    int board = 7;
    for (int minutes = 2; minutes <= 7; ++minutes)
        if (seconds < minutes * 60.0) {
            board = minutes - 1;
            break;
        }
    return standardShip ? board : board + CleaderboardMgr::kCustomShipOffset;
}

bool submitTrackBoards(CleaderboardMgr& boards, const std::string& nickname, const CtrackRecord& record,
                       const CshipSnapshot& ship, const CtrackInfo& track, float difficultyFactor) {
    CperSongScore song;
    song.name = nickname;
    song.country = boards.countryCode();
    song.comment = record.comment;
    song.ship = ship.name;
    song.day = record.dayNumber;
    song.difficulty = record.difficulty;
    song.difficultyFactor = difficultyFactor;
    bool queued = boards.submitTrackScore(record.key, ship.standardShip, record.bestScore, song);

    int general = trackLengthBoard(track.length, ship.standardShip);
    if (general < 0) return queued;
    CgeneralTracksScore rec;
    rec.name = nickname;
    rec.trackTitle = track.title;
    rec.comment = record.comment;
    rec.country = song.country;
    rec.ship = ship.name;
    rec.day = record.dayNumber;
    rec.difficulty = record.difficulty;
    rec.difficultyFactor = difficultyFactor;
    return boards.submitBoardScore(general, record.bestScore, rec.write()) || queued;
}

bool submitChallengeAttempt(CleaderboardMgr& boards, CchallengeMgr& challenge, uint64_t score,
                            const CchallengeAttempt& attempt) {
    CperSongScore song;
    song.name = attempt.nickname;
    song.country = boards.countryCode();
    song.comment = attempt.comment;
    song.ship = attempt.ship.name;
    song.day = (int32_t)(gEngine->serverUnixTime / 86400);
    song.difficulty = attempt.difficulty;
    song.difficultyFactor = attempt.difficultyFactor;
    song.deaths = (int8_t)std::clamp(attempt.deaths, 0, 127);
    if (!boards.submitChallengeScore(challenge, score, song)) {
        gEngine->log.print(LOG_L, "Challenge score not queued: %s", challenge.boardName(0).c_str());
        return false;
    }
    gEngine->log.print(LOG_L, "Challenge score %llu queued: %s", (unsigned long long)score, challenge.boardName(0).c_str());
    return true;
}
