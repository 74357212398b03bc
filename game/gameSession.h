#pragma once
// CgameSession: one play of a track. startGame sets everything up in order;
// update runs the clock, the ships, projectiles, waves, pickups and power-ups,
// the party rules, the score replay, respawns and the end of the game.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/gameAward.h"
#include "game/gameTypes.h"
#include "game/musicFeed.h"
#include "game/partyMgr.h"

class CgameWorld;
class Cship;

class CgameSession {
public:
    static constexpr double kEndTime = 300.0;          // a track with no end of its own
    static constexpr double kRadioEndTime = 86400.0;   // a radio station
    static constexpr float kRespawnTime = 2.0f;
    static constexpr float kInvulnerableTime = 2.5f;
    static constexpr float kTagTime = 20.0f;
    static constexpr int kMaxLives = 9;
    static constexpr int kBaseLives = 2;   // every game's lives before the extra-life perks
    static constexpr float kGoalHalfWidth = 25.0f;

    explicit CgameSession(CgameWorld& world) : world_(world) {}

    // Analytics events, the track, state Playing, reset power-ups, pickups,
    // party, enemies and projectiles, the players' ships, the wave manager,
    // and the track's generators seeded from its title and length.
    void startGame();
    // One step of play (the world's step time); only while state Playing.
    void update();
    void update(float dt);
    // Draws the play field: ships, projectiles, pickups, particles, the HUD.
    void draw();

    // Adds points times the multiplier of the player's team; the points added.
    int64_t addScore(int player, int64_t points);
    // Open mic: wait for silence again, then for the track.
    void restartMusic();
    // The seasonal test on the current track's tags.
    bool checkChristmasTrack();

    // A ship destroyed by a player (-1: by no one) or by a helper of one.
    void onShipDestroyed(Cship& ship, int byPlayer);
    // A player's ship hit (a life lost unless the game type or difficulty spares it).
    void killPlayer(int player);
    // A player's multiplier, cash, power and weapon pickups.
    void onPickup(int player, int kind, int value);

    // The state the game goes to when it ends.
    int getGameOverState() const;
    bool isGameOver() const { return gameOver; }
    int lives() const { return teamLives[0]; }
    int numActivePlayers() const;
    int respawns() const { return respawns_; }   // of the first team this game
    int numActiveTeams() const;
    float difficultyLevel() const;    // the enemies' strength now (difficulty x factor x ramp)
    int team(int player) const;

    // Settings (the screens set these before startGame).
    int gameType = GAMETYPE_STANDARD;
    int musicSource = MUSIC_TRACK_LIST;
    CtrackInfo track;
    int difficulty = DIFFICULTY_NORMAL;
    float difficultyFactor = 1.0f;
    float visualIntensity = 1.0f;
    int nextTrackMode = 0;
    // How long a radio station or open mic plays, in seconds; -1 until the
    // track ends or is detected (the end time's default then stands).
    double chosenTrackTime = -1.0;
    int shipTestReturnState = 43;   // 43 the ship editor, 50 module editing
    std::array<std::string, 4> playerShips{};   // ship definitions of the players

    // Party.
    bool partyMode = false;
    CpartySettings party;
    float tagCountdown = 0;
    std::array<uint8_t, 4> tagOut{};
    int tagIt = -1;

    // The run.
    double endTime = kEndTime;
    double trackTime = 0;       // the track's own time
    double clock = 0;           // the play clock
    float completion = 0;       // 0..1
    std::array<int64_t, 4> teamScores{};
    std::array<int, 4> teamLives{};
    std::array<float, 4> respawnTimers{};
    int64_t sessionXp = 0;
    double playTime = 0;
    int bossRushWave = 0;
    float waveTimeLeft = 0;
    float difficultyRamp = 1.0f;
    float averageIntensity = 0;   // of the music over the run
    uint32_t seed = 1;
    int64_t cashCollected = 0;
    // For the missions' rules: the first player's lives spent beyond the base
    // lives (extra-life perks and life pickups), and the perk weapons fired
    // (bit k for the weapon slot k, 2..9).
    int extraLivesUsed = 0;
    uint32_t weaponsUsed = 0;
    bool christmasTrack = false;
    bool started = false;   // a game has been started (and may be over)
    bool gameOver = false;
    bool awarded = false;   // the run's results have been kept
    CgameAward award;        // what they gave, for the rank-up
    bool awardTaken = false;
    bool bestKept = false;     // a new best was kept, with this comment
    std::string keptComment;
    std::vector<int> missionsDone;   // the current ship's missions this game completed

    // Open mic.
    uint8_t startMusic = 0;
    uint8_t waitingForSilence = 0;
    uint8_t waitingForTrack = 0;
    uint8_t openMicStart = 0, openMicStart2 = 0;
    int64_t identifiedTrackId = 0;
    double pendingTrackTime = -1.0;

private:
    void resetRun();
    void addPlayerShips();
    void reseed(uint32_t salt);
    void stepClock(float dt);
    void stepRamp(float dt);
    void stepRespawns(float dt);
    void stepTag(float dt);
    void stepFootball();
    void stepBossRush(float dt);
    void stepEndRules();
    void stepPlayers(float dt);
    void stepLights();
    void respawn(int player);
    void endGame(const char* reason);
    bool teamOut(int teamIdx) const;
    void placePlayer(int player);
    void useWeapon(int player, int slot);

    CgameWorld& world_;
    float goalCooldown_ = 0;
    float bossRushDelay_ = 0;
    bool bossUp_ = false;
    bool trackEndHandled_ = false;
    float tagGrace_ = 0;
    double nextReplaySample_ = 0;
    bool reseeded20_ = false, reseeded35_ = false;
    int respawns_ = 0;   // of the first team
};
