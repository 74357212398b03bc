#pragma once
// A finished game counts once toward the player's XP, the current ship's
// record (its XP and time played) and the player's statistics, whichever way
// the player leaves its game over: on to the rank-up, straight back to the
// countdown, or out of the game.
#include <cstdint>

class Cgame;

struct CgameAward {
    uint64_t playerXpBefore = 0;
    uint64_t shipXpBefore = 0;
    uint64_t xp = 0;   // what the game gave
};

// Gives the session's game its award; false (nothing given) when this game
// had it already. out, when given, says what the totals were before.
bool awardFinishedGame(Cgame& game, CgameAward* out = nullptr);
