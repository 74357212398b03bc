#pragma once
// The web boards a new best of a track goes to: the track's own board and the
// general board of its length (1..7 under 2 to 7 minutes and over, 11..17 for
// a custom ship).
#include <string>

#include "game/musicFeed.h"
#include "game/progress/trackStats.h"

class CleaderboardMgr;
class CchallengeMgr;

// The general board of a track's length, or -1 when the length is unknown.
int trackLengthBoard(double seconds, bool standardShip);

// Queues both submissions of the record's best; false when neither was queued.
bool submitTrackBoards(CleaderboardMgr& boards, const std::string& nickname, const CtrackRecord& record,
                       const CshipSnapshot& ship, const CtrackInfo& track, float difficultyFactor);

// What a timed challenge attempt puts on its board besides the score.
struct CchallengeAttempt {
    std::string nickname, comment;
    CshipSnapshot ship;
    int difficulty = 0;
    float difficultyFactor = 0;
    int deaths = 0;
};

// Queues an attempt's score on the challenge board of the running period and
// notes the attempt; false when nothing was queued.
bool submitChallengeAttempt(CleaderboardMgr& boards, CchallengeMgr& challenge, uint64_t score,
                            const CchallengeAttempt& attempt);
