#pragma once
// CplayScreen: the screen of state Playing. Each update it reads the players'
// input and the music into the world and steps the session; each frame it
// draws the session. Without a music player, or while it plays no track, the
// session hears a stand-in made from the track's seed.
#include <array>

#include "game/gameWorld.h"
#include "game/musicFeed.h"
#include "game/screenSlot.h"

class CmusicPlayer;
class CsongPackInfo;

class CplayScreen : public CscreenSlot {
public:
    explicit CplayScreen(CgameWorld& world) : world_(world) {}

    bool load() override;
    void enter() override;
    void update() override;
    void render() override;

    // The music player whose analysis drives play (set by its owner), and
    // the end of its track (its onTrackEnd).
    CmusicPlayer* musicPlayer = nullptr;
    bool trackEnded = false;

    // The HUDs (set by the screen registry); the one in use follows the
    // session's party mode, null when there is none.
    void setHud(int id, ChudSlot* hud);
    ChudSlot* activeHud() const;


private:
    CgameWorld& world_;
    CsyntheticMusic standIn_;
    const CsongPackInfo* lastTrack_ = nullptr;
    std::array<ChudSlot*, HUD_COUNT> huds_{};
    std::array<bool, HUD_COUNT> hudLoaded_{};
};
