#pragma once
// The results of a game are kept once, as its game over is reached: the
// player's and the ship's XP and time played, the track's record and its
// boards (or the boss-rush and survival bests and theirs), and the player's
// statistics, written to the save at once. Whichever way the player leaves
// the game over (on to the rank-up, straight back to the countdown, out of
// the program), the same records are kept.
#include <cstdint>
#include <string>

class Cgame;
struct CshipSnapshot;

struct CgameAward {
    uint64_t playerXpBefore = 0;
    uint64_t shipXpBefore = 0;
    uint64_t xp = 0;   // what the game gave
};

// Keeps the session's game results; false (nothing kept) when this game had
// them already, or when no game is over. A party game keeps nothing.
bool commitGameResults(Cgame& game);
// The award kept for this game, handed out once (the rank-up counts it in);
// otherwise the totals as they are with nothing awarded, and false.
bool takeGameAward(Cgame& game, CgameAward& out);
// A comment typed at the game over after the results were kept goes with the
// new best to its record and boards.
void amendResultComment(Cgame& game, const std::string& comment);
// An open-mic run whose track was never identified keeps no track records; a
// timed one does, unless it is a challenge attempt, which has its own board.
bool runKeepsTrackRecords(Cgame& game);
// What goes before the comment of a boss-rush or survival best on its board.
std::string modeCommentPrefix(const Cgame& game);
CshipSnapshot currentShipSnapshot(Cgame& game);
