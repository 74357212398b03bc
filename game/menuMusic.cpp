#include "game/menuMusic.h"

#include "audio/musicPlayer.h"
#include "audio/songInfoMgr.h"
#include "engine/engine.h"
#include "game/gameModes.h"

bool CmenuMusic::holdsSilence(int mode) {
    return mode == GM_PLAYING || mode == GM_321_GO || (mode >= GM_GAME_OVER && mode <= GM_GAME_OVER_PARTY);
}

void CmenuMusic::update(int mode, CmusicPlayer& music, CsongInfoMgr& library) {
    if (!owed_) return;
    // Something plays again (a retry's track, a track the player chose): nothing is owed.
    if (music.channel) {
        owed_ = false;
        return;
    }
    if (holdsSilence(mode)) return;
    owed_ = false;
    CsongPackInfo* next = library.getTrackForSource(music.nextTrackRule);
    if (!next) return;
    gEngine->log.print(LOG_L, "Menu music: %s", next->tags.title.c_str());
    music.playTrack(next);
}
