#include "game/playScreen.h"

#include "audio/musicPlayer.h"
#include "engine/engine.h"
#include "game/musicLink.h"
#include "game/pilotInput.h"

void CplayScreen::setHud(int id, ChudSlot* hud) {
    if (id < 0 || id >= HUD_COUNT) return;
    huds_[id] = hud;
    hudLoaded_[id] = false;
}

ChudSlot* CplayScreen::activeHud() const {
    int id = world_.session.partyMode ? HUD_PARTY : HUD_NORMAL;
    return hudLoaded_[id] ? huds_[id] : nullptr;
}

bool CplayScreen::load() {
    bool ok = true;
    for (int id = 0; id < HUD_COUNT; ++id) {
        if (!huds_[id] || hudLoaded_[id]) continue;
        hudLoaded_[id] = huds_[id]->loadHud();
        if (!hudLoaded_[id]) {
            gEngine->log.print(LOG_E, "Can't load the HUD %d", id);
            ok = false;
        }
    }
    return ok;
}

void CplayScreen::enter() {
    trackEnded = false;
    lastTrack_ = musicPlayer ? musicPlayer->currentTrack : nullptr;
    const CtrackInfo& t = world_.session.track;
    standIn_.start(trackSeed(t.title, t.length), t.length);
    if (ChudSlot* hud = activeHud()) hud->enterHud();
}

void CplayScreen::update() {
    float dt = (float)gEngine->frameTime;
    // A new track (Survival and BossRush play on) has not ended.
    if (musicPlayer && musicPlayer->currentTrack && musicPlayer->currentTrack != lastTrack_) {
        trackEnded = false;
        if (lastTrack_)
            if (ChudSlot* hud = activeHud()) hud->resetBest();
    }
    if (musicPlayer && musicPlayer->currentTrack) lastTrack_ = musicPlayer->currentTrack;
    // Without a track playing (no sound device, a file that won't open) the
    // stand-in keeps the game going.
    if (musicPlayer && (musicPlayer->currentTrack || trackEnded)) fillMusicFeed(*musicPlayer, trackEnded, dt, world_.music);
    else standIn_.update(dt, world_.music);
    int n = world_.session.numActivePlayers();
    for (int p = 0; p < n; ++p) {
        const CinputPlayer* in = gEngine->input.player(p);
        if (in) readPilotControls(*in, gEngine->input, world_.camera, world_.controls[p]);
    }
    world_.session.update(dt);
}

void CplayScreen::render() { world_.session.draw(); }
