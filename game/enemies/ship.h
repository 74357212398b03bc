#pragma once
// Cship: a live ship, a player's or an enemy's alike (also the display ships
// of the screens, which stand still at the display depth). A ship is its
// definition plus the live state of its elements: turrets, engines, armour.
#include <cstdint>
#include <vector>

#include "engine/maths.h"
#include "engine/render/sprite.h"
#include "game/enemies/shipDef.h"

class CgameWorld;
struct CpilotControls;

struct Celement {
    const CelementDef* def = nullptr;
    int kind = ELEMENT_TURRET;
    float x = 0, y = 0;       // ship-local units (before the ship's scale), x right, y toward the tail
    float angle = 0;          // degrees from the ship's heading
    float scale = 1;
    float hitPoints = 0, maxHitPoints = 0;
    float fireTimer = 0;
    float flash = 0;          // hit flash
    mutable CspriteRef sprite;   // the def's sprite, for drawing
};

class Cship {
public:
    void init(CgameWorld* world, const CshipDef* def, uint32_t serial);

    // Player control from the ship's controls: thrust, aim, fire (when allowed).
    void updatePlayerControl(bool allowFire);
    // One step of whatever drives the ship (player, enemy behaviour, helper).
    void update(float dt);
    // Damage at a point from a team (-1 enemy). True when this hit destroyed it.
    bool hit(float damage, const Cvec2& at, int byTeam, int byPlayer);

    // Every turret element has lost its hit points (true with no turrets).
    bool allTurretsDestroyed() const;
    float maxTurretHitPoints() const;
    int countElements(int kind) const;

    // The three draw passes: hull, parts (turrets, engines, armour), glow.
    void draw() const;
    void drawParts() const;
    void drawGlow() const;

    float radius() const { return size; }
    // Whether a circle touches the hull or a part that can be hit alone.
    bool touches(const Cvec2& p, float r) const;
    bool isEnemy() const { return team < 0 && kind != SHIPKIND_ASTEROID && kind != SHIPKIND_BALL; }
    bool isPlayer() const { return player >= 0 && kind == SHIPKIND_PLAYER; }
    bool collides() const { return alive && active && spawnTimer <= 0 && !display; }
    Cvec2 pos2() const { return Cvec2(pos.x, pos.y); }
    Cvec2 heading() const;
    // An element's position on the play plane.
    Cvec2 elementPos(const Celement& e) const;

    CgameWorld* world = nullptr;
    const CshipDef* def = nullptr;
    uint32_t serial = 0;
    int kind = SHIPKIND_GRUNT;
    int behaviour = BEHAVE_SEEK;
    int team = -1;        // -1 the enemy; 0..3 a team of players
    int player = -1;      // the player flying it, or owning a helper
    Cvec3 pos;            // z: depth
    Cvec2 vel;
    float angle = 0;      // heading, radians; 0 points up the screen
    float spin = 0;
    float scale = 1;
    float size = 3;       // radius in scene units
    float reach = 3;      // the radius that holds every part that can be hit
    float health = 10, maxHealth = 10;
    float speed = 30;
    bool active = true;   // shown and in play
    bool alive = true;
    bool display = false; // a display ship of a screen
    bool marked = false;  // going: not counted, removed at the end of the step
    bool important = false;   // bosses
    float spawnTimer = 0;     // warping in: harmless, untouchable
    float stunTimer = 0;
    float invulnerableTimer = 0;
    float lifeTimer = -1;     // helpers: seconds left; -1 for ever
    float hitFlash = 0;
    float aiTimer = 0, aiPhase = 0;
    Cvec2 aiDir;
    float fireTimer = 0;
    float shieldTimer = 0;    // the reflect shield
    float beamTimer = 0;      // the ultra beam
    float power = 1;          // a helper's or weapon's strength
    Ccolour colour;
    CpilotControls* controls = nullptr;
    std::vector<Celement> elements;
    mutable CspriteRef hullSprite;   // the def's sprite, for drawing

private:
    void updateEnemy(float dt);
    void updateHelper(float dt);
    void updateBall(float dt);
    void fireTurrets(float dt, const Cvec2& target, bool haveTarget);
    void firePlayerGuns();
    void keepInArena(bool bounce);
    void steerToward(const Cvec2& target, float dt, float speedScale);
};
