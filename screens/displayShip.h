#pragma once
// CdisplayShip: a player ship shown flying on a screen (the unlock and hub
// screens). It is a display ship of the ship manager, kept at a widget's spot.
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
    // Keeps the ship at the widget's spot, heading angle (radians).
    void placeAt(const Cwidget* spot, float angle);
    // The same at a point of the screen, in pixels.
    void placeAtPixel(float x, float y, float angle);
    Cship* ship() const { return ship_; }

    // Steps the ships and shots of the scene; draws them over the screen.
    static void updateScene();
    static void renderScene();

private:
    Cship* ship_ = nullptr;
};

// The celebration of the unlock screens, once per update: a halo burst on the
// "Congrats" widget and now and then a sparkle beside it.
void sparkleAround(const Cwidget* congrats, const Ccolour& haloColour, float haloSize);
