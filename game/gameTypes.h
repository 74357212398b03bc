#pragma once
// The session's settings as the screens show and choose them: game types,
// difficulties and music sources, with their display names.
#include <string>

enum EgameType {
    GAMETYPE_STANDARD = 0,
    GAMETYPE_SURVIVAL = 1,
    GAMETYPE_BOSSRUSH = 2,
    GAMETYPE_PARTY_FOOTBALL = 3,
    GAMETYPE_CHILLOUT = 4,
    GAMETYPE_SHIPTEST = 5,
    GAMETYPE_COUNT = 6
};

enum Edifficulty {
    DIFFICULTY_EASY = 0,
    DIFFICULTY_NORMAL = 1,
    DIFFICULTY_HARD = 2,
    DIFFICULTY_INSANE = 3,
    DIFFICULTY_SUICIDAL = 4,
    DIFFICULTY_APOCALYPTIC = 5,
    DIFFICULTY_ZEN = 6,
    DIFFICULTY_COUNT = 7
};

enum EmusicSource {
    MUSIC_TRACK_LIST = 0,
    MUSIC_RADIO_LIST = 1,
    MUSIC_OPEN_MIC = 2,
    MUSIC_NOW_PLAYING = 3,
    MUSIC_RANDOM = 4,
    MUSIC_RANDOM_FAVOURITE = 5,
    MUSIC_NOT_PLAYED_YET = 6,
    MUSIC_SOURCE_COUNT = 7
};

// Display names, translated through the game language table when it holds the
// name as a tag. Out of range: "Unknown".
const char* gameTypeName(int type);
const char* musicSourceName(int source);
const char* difficultyName(int difficulty);
// The untranslated names ("Standard", "BossRush", "Apocalyptic", "OpenMic").
const char* gameTypeTag(int type);
const char* musicSourceTag(int source);
const char* difficultyTag(int difficulty);

// How hard the enemies are at a difficulty: health, speed and fire-rate scale.
float difficultyScale(int difficulty);
// Zen: enemies never fire and the player never loses a life.
inline bool isZen(int difficulty) { return difficulty == DIFFICULTY_ZEN; }

// The translated rank tag "Rank%02d" of min(r, 27) - 1; from rank 27 on,
// " %d" with r - 26 follows. Ranks below 1 read as rank 1.
std::string getRankName(int rank);
// The rank a player or ship with this XP is shown with: "Unranked" before any
// XP, else the rank's name. Every screen that names a rank from XP uses it.
std::string rankTitle(uint64_t xp);
