#pragma once
// Who opened a music browser (the music browser or the radio browser): where
// its Back leads, and whether it offers the playing track to the game
// settings ("UseNowPlaying").
#include "game/gameModes.h"

enum EmusicOrigin { MUSIC_FROM_TYPE_LIST, MUSIC_FROM_GAME_TYPE, MUSIC_FROM_PARTY_GAME_TYPE };

inline bool offersNowPlaying(EmusicOrigin origin) { return origin != MUSIC_FROM_TYPE_LIST; }

inline int musicOriginBackState(EmusicOrigin origin) {
    switch (origin) {
        case MUSIC_FROM_GAME_TYPE: return GM_GAME_TYPE;
        case MUSIC_FROM_PARTY_GAME_TYPE: return GM_PARTY_GAME_TYPE;
        default: return GM_MUSIC_TYPE_LIST;
    }
}
