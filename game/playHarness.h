#pragma once
// CplayHarness: starts a session directly (track, game type, difficulty)
// without the front-end and plays it with scripted pilots, headless or under
// a window. The music is the synthetic stand-in unless the caller fills the
// world's music feed itself.
#include <memory>
#include <string>

#include "game/gameWorld.h"

struct CharnessOptions {
    std::string title = "Generated Track";
    std::string artist = "Zorbex";
    double length = 90;              // seconds; 0: a stream with no end
    int gameType = GAMETYPE_STANDARD;
    int difficulty = DIFFICULTY_NORMAL;
    int musicSource = MUSIC_TRACK_LIST;
    int players = 1;                 // more than one makes a party game
    CpartySettings party;
    std::string ship = "Standard";     // a ship of the hangar or of the ship definitions
};

// A pilot that flies by a fixed rule from what it sees of the world.
class CscriptedPilot {
public:
    enum Estyle { STYLE_DODGE = 0, STYLE_PASSIVE = 1, STYLE_KAMIKAZE = 2 };
    Estyle style = STYLE_DODGE;
    // Fills the player's controls for this step.
    void drive(CgameWorld& world, int player);

private:
    float wander_ = 0;
};

class CplayerShipMgr;

class CplayHarness {
public:
    CplayHarness();
    ~CplayHarness();
    // Reads the ship definitions (once), sets up the session and starts it.
    bool start(const CharnessOptions& options);
    // One step: the music, the pilots, the session.
    void step();
    // Steps until the game is over or maxSeconds of play have passed; the steps run.
    int runUntilGameOver(double maxSeconds);
    int runFor(double seconds);

    CgameWorld world;
    std::unique_ptr<CplayerShipMgr> hangar;   // the built-in player ships
    CsyntheticMusic music;
    CscriptedPilot pilots[4];
    bool syntheticMusic = true;   // false: the caller fills world.music
    bool stepParticles = true;    // false: the engine's update steps them
    float dt = 1.0f / 60.0f;

private:
    bool defsLoaded_ = false;
};
