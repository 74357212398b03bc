#pragma once
// CdisplayShip: a player ship shown flying on a screen (the unlock and hub
// screens). It is a display ship of the ship manager, kept at a widget's spot.
#include "game/pilotControls.h"

class Cship;
struct Ccolour;
class Cwidget;
class CplayerShipDef;

class CdisplayShip {
public:
    // Empties the scene of ships and shots (a screen showing ships starts from nothing).
    static void clearScene();

    // Adds the ship out of sight, scale 1, its size times sizeFactor.
    // False (logged) when the ship has no flyable definition.
    bool show(const CplayerShipDef& ship, float sizeFactor = 1.0f);
    // Takes the ship out of the scene.
    void forget();
    // Keeps the ship at the widget's spot, heading angle (radians), filling
    // part of the spot's height (more with the size factor it was shown with).
    void placeAt(const Cwidget* spot, float angle);
    // The same at a point of the screen, in pixels, as tall as heightPx (0:
    // its own size).
    void placeAtPixel(float x, float y, float angle, float heightPx = 0);
    // After placing: the ship flies in place, its engines burning, and fires
    // ahead on the beats of the music (beat: the bass level, 1 its usual loudness).
    void fly(float beat);
    // The bass level of the music playing now.
    static float musicBeat();
    // placeAt, then fly to the music playing now.
    void flyAt(const Cwidget* spot, float angle);
    Cship* ship() const { return ship_; }

    // Steps the ships and shots of the scene; draws them over the screen.
    static void updateScene();
    static void renderScene();

    // Louder than this (times the usual loudness) the bass is a beat.
    static constexpr float kBeatLevel = 2.0f;

private:
    Cship* ship_ = nullptr;
    float sizeFactor_ = 1.0f;
    CpilotControls controls_;
};

// Puts a display ship at a point of the screen (pixels) on the display plane,
// scaled to fill that share of heightPx (0 leaves its scale).
void fitShipToSpot(Cship& ship, float x, float y, float heightPx, float fill = 0.65f);

// The particle layer of the screens' own celebrations (sparkles, puffs,
// halos), in screen pixels; a screen that spawns there draws it over itself.
constexpr int kUiFrontLayer = 1;

// A faint spinning ring (with a white one inside it) that grows and fades: spawned
// every step it makes a steady glow. size: times the ring sprite's size.
void spawnUiHalo(const Ccolour& colour, float x, float y, float size);
// A small spark of colour that flies off and fades.
void spawnUiPuff(const Ccolour& colour, float x, float y);

// The celebration of the unlock screens, once per update: a halo burst on the
// "Congrats" widget and now and then a sparkle beside it.
void sparkleAround(const Cwidget* congrats, const Ccolour& haloColour, float haloSize);
