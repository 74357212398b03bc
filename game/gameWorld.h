#pragma once
// CgameWorld: the game-side members of play (the session, ships, projectiles,
// pickups, power-ups, perks, party, waves, bosses and the score replay) in one
// object that the game object holds. Tests and benchmarks make their own.
// Each member reaches the others through the world it was made with.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "engine/random.h"
#include "engine/render/camera.h"
#include "engine/render/renderTypes.h"
#include "engine/render/lights.h"
#include "game/gameSession.h"
#include "game/musicFeed.h"
#include "game/partyMgr.h"
#include "game/perkMgr.h"
#include "game/pickups.h"
#include "game/pilotControls.h"
#include "game/powerUps.h"
#include "game/projectileMgr.h"
#include "game/scoreReplay.h"
#include "game/enemies/bossGen.h"
#include "game/enemies/procShipGen.h"
#include "game/enemies/shipMgr.h"
#include "game/enemies/waveMgr.h"

class Canalytics;
class CplayerShipMgr;

// What the world asks of the rest of the game. Each may stay empty.
struct CworldHooks {
    // The game state machine (the world keeps its own state while none is set).
    std::function<void(int mode, bool transition)> setGameMode;
    std::function<int()> gameMode;
    // The music player: play the chosen track from its start.
    std::function<void(const CtrackInfo& track)> playTrack;
    // The music player: a Survival or BossRush game goes on to another track.
    std::function<void()> nextTrack;
    // The music player: the open-mic pseudo track takes its unidentified name again.
    std::function<void()> renameOpenMicTrack;
    // Automatic gameplay screenshots: reset, and arm a moment (type, delay, timer index).
    std::function<void()> resetAutoShots;
    std::function<void(int type, float delay, int timer)> armMoment;
    // The HUD: the score changed; the per-step update and draw of the HUD in
    // use (hudDraw false: no HUD drew, play draws a plain one of its own).
    std::function<void()> refreshScore;
    std::function<void()> refreshCash;
    std::function<void()> hudStep;
    std::function<bool()> hudDraw;
    // The party HUD, used instead while the party flag is set: entered when a
    // game starts, stepped and drawn like the HUD, and told before a team's
    // weapon (colour false) or colour level changes.
    std::function<void()> partyHudEnter;
    std::function<void()> partyHudStep;
    std::function<void()> partyHudDraw;
    std::function<void(int player, bool colour)> partyHudFlash;
    // Cash picked up (the progress record takes it).
    std::function<void(int amount)> addCash;
    // Effects: a ship destroyed, a player hit, a pickup taken (for particles and sounds).
    std::function<void(const Cship& ship)> onExplosion;
    std::function<void(int player)> onPlayerDeath;
    std::function<void(int kind, float x, float y)> onPickup;
    // Warnings and banners: a boss arrived (its mass in tons); a player fired
    // a special weapon (its power-up slot, 2..9).
    std::function<void(const Cship& boss, int64_t mass)> onBossSpawned;
    std::function<void(int player, int slot)> onSpecialWeapon;
};

class CgameWorld {
public:
    CgameWorld();
    ~CgameWorld();
    CgameWorld(const CgameWorld&) = delete;
    CgameWorld& operator=(const CgameWorld&) = delete;

    // The ship definitions ("shipProperties.txt"). False when the file can't be read.
    bool loadData();
    // The hangar: its ships fly as flyable definitions (kept up to date as
    // ships come and go), its current ship is the one a game starts with,
    // and its music-generated ships are grown by procShips from their track.
    void attachHangar(CplayerShipMgr& hangar);
    CplayerShipMgr* hangar = nullptr;

    int mode() const { return hooks.gameMode ? hooks.gameMode() : mode_; }
    void setGameMode(int m, bool transition = false);

    // The play plane: the arena's half extents in scene units.
    float arenaHalfWidth = 160, arenaHalfHeight = 90;
    bool insideArena(float x, float y, float margin = 0) const {
        return x >= -arenaHalfWidth - margin && x <= arenaHalfWidth + margin && y >= -arenaHalfHeight - margin &&
               y <= arenaHalfHeight + margin;
    }

    // The game camera: it looks at the arena's centre and holds the whole
    // arena on screen (fitCamera, each frame).
    Ccamera camera;
    void fitCamera();
    // The arena's rectangle on the screen (pixels) as fitCamera frames it:
    // the HUD stands inside it and nothing of play is drawn far outside it.
    Crect arenaScreenRect() const;
    // That rectangle with the little border that shows around the arena.
    Crect arenaViewRect() const;
    // The play plane's point under a screen point (the mouse).
    Cvec2 screenToPlane(float x, float y) const { return camera.screenToPlane(Cvec2(x, y), 0); }

    // The step time of play (seconds): the engine's step, or the step the
    // session is running now.
    float stepTime() const { return dt; }
    float dt = 1.0f / 60.0f;

    CperkMgr perks;
    CpowerUps powerUps;
    CpartyMgr party;
    CgameSession session;
    CshipMgr ships;
    CprojectileMgr projectiles;
    CpickupMgr pickups;
    CwaveMgr waves;
    CbossGen bosses;
    CprocShipGen procShips;
    CscoreReplay replay;

    ClightPool lights;                             // the first four follow the players' ships
    CcolourScheme colourScheme;
    CmusicFeed music;                              // this step's music, filled before the session update
    std::array<CpilotControls, 4> controls{};      // this step's input per player
    Crandom playRandom{1};                         // drops and behaviour; seeded from the track
    Canalytics* analytics = nullptr;
    CworldHooks hooks;

private:
    int mode_ = 0;
};
