#include "game/gameTypes.h"

#include "game/progress/xpCurve.h"

#include <algorithm>
#include <cstdio>

#include "engine/engine.h"

namespace {
const char* kGameTypeTags[GAMETYPE_COUNT] = {"Standard", "Survival", "BossRush", "PartyFootball", "ChillOut", "ShipTest"};
const char* kDifficultyTags[DIFFICULTY_COUNT] = {"Easy", "Normal", "Hard", "Insane", "Suicidal", "Apocalyptic", "Zen"};
const char* kMusicSourceTags[MUSIC_SOURCE_COUNT] = {"TrackList", "RadioList",       "OpenMic",     "NowPlaying",
                                                    "Random",    "RandomFavourite", "NotPlayedYet"};
const float kDifficultyScale[DIFFICULTY_COUNT] = {0.6f, 1.0f, 1.4f, 1.8f, 2.3f, 3.0f, 0.8f};

const char* translated(const char* tag) {
    if (!gEngine) return tag;
    const char* t = gEngine->language().find(tag, false);
    return t ? t : tag;
}
}  // namespace

const char* gameTypeTag(int type) { return type >= 0 && type < GAMETYPE_COUNT ? kGameTypeTags[type] : "Unknown"; }
const char* musicSourceTag(int source) {
    return source >= 0 && source < MUSIC_SOURCE_COUNT ? kMusicSourceTags[source] : "Unknown";
}
const char* difficultyTag(int difficulty) {
    return difficulty >= 0 && difficulty < DIFFICULTY_COUNT ? kDifficultyTags[difficulty] : "Unknown";
}

const char* gameTypeName(int type) { return translated(gameTypeTag(type)); }
const char* musicSourceName(int source) { return translated(musicSourceTag(source)); }
const char* difficultyName(int difficulty) { return translated(difficultyTag(difficulty)); }

float difficultyScale(int difficulty) {
    return difficulty >= 0 && difficulty < DIFFICULTY_COUNT ? kDifficultyScale[difficulty] : 1.0f;
}

std::string rankTitle(uint64_t xp) {
    if (xp == 0) return gEngine ? gEngine->text("Unranked") : "Unranked";
    return getRankName(rankFromXP(xp));
}

std::string getRankName(int rank) {
    // A rank below 1 would look up "Rank-1"; the lowest rank is 1.
    rank = std::max(rank, 1);
    char tag[16];
    snprintf(tag, sizeof tag, "Rank%02d", std::min(rank, 27) - 1);
    std::string name = gEngine ? gEngine->text(tag) : tag;
    if (rank >= 27) {
        char extra[16];
        snprintf(extra, sizeof extra, " %d", rank - 26);
        name += extra;
    }
    return name;
}
