#pragma once
// CparticleSystem: 2500 particle slots in layers. How each kind of particle
// looks and moves comes from "particles.txt":
//
//   ParticleDef Puff
//     Sprite builtin_soft      ; sprite name
//     Life 1.5 2.5             ; seconds, random between
//     Size 0.2 0.8             ; times the sprite's size, random between
//     EndScale 1.6             ; size at the end of life, times the start size
//     Speed 4 12               ; units a second in a random direction
//     Drag 0.3                 ; share of speed lost a second
//     Gravity 0                ; units a second a second, down the screen
//     Spin -20 20              ; degrees a second
//     Angle 0 360              ; starting rotation
//     FadeIn 0.25              ; seconds to full alpha
//     Stretch 1                ; length along the motion, times the size (with AlignToMotion)
//     AlignToMotion false
//     Blend Additive           ; or Alpha
//   EndParticleDef
//   EndFile
//
// Alpha falls from the spawn colour's alpha to 0 over the life.
#include <array>
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/maths.h"
#include "engine/random.h"
#include "engine/render/renderTypes.h"

class Csprite;

struct CparticleDef {
    std::string name;
    std::string spriteName = "builtin_soft";
    const Csprite* sprite = nullptr;   // found at first use
    float lifeMin = 1, lifeMax = 1;
    float sizeMin = 1, sizeMax = 1;
    float endScale = 1;
    float speedMin = 0, speedMax = 0;
    float drag = 0;
    float gravity = 0;
    float spinMin = 0, spinMax = 0;
    float angleMin = 0, angleMax = 0;
    float fadeIn = 0;
    float stretch = 1;
    bool alignToMotion = false;
    Eblend blend = BLEND_ADDITIVE;
};

struct Cparticle {
    bool active = false;
    uint8_t layer = 0;
    Eblend blend = BLEND_ADDITIVE;
    bool alignToMotion = false;
    const Csprite* sprite = nullptr;
    Cvec3 pos, vel;
    float drag = 0, gravity = 0;
    float size = 1, endSize = 1, stretch = 1;
    float angle = 0, spin = 0;
    Ccolour colour;
    float age = 0, life = 1, fadeIn = 0;
};

class CparticleSystem {
public:
    static constexpr int kMaxParticles = 2500;
    static constexpr int kLayers = 4;

    CparticleSystem();

    bool loadDefs(const std::string& fileName = "particles.txt");
    bool loadDefsFromText(const char* text);
    // By name, ignoring case; null with "Can't find particle def: %s" once a name.
    CparticleDef* findDef(const std::string& name);

    // One particle of a kind, its size times sizeScale; null when every slot is taken.
    Cparticle* spawn(CparticleDef& def, const Cvec3& pos, const Ccolour& colour, int layer, float sizeScale = 1);
    // A free slot, cleared and marked live, for callers that set everything.
    Cparticle* allocate(int layer);

    // Moves and ages the particles; nothing moves while paused.
    void update(float dt);
    void draw(int layer);
    void clear();
    // Forgets looked-up sprites (the sprite manager is being emptied).
    void forgetSprites();

    int countActive() const { return active_; }
    int dropped() const { return dropped_; }   // spawns refused for want of a slot
    bool paused = false;
    Crandom random{0x5eed};

private:
    void release(int idx);

    std::array<Cparticle, kMaxParticles> slots_;
    std::vector<int> free_;   // free slot indices
    std::vector<CparticleDef> defs_;
    std::unordered_set<std::string> reportedMisses_;
    int active_ = 0;
    int dropped_ = 0;
};

// The spawn helpers of the game. Positions are in whatever space the layer is
// drawn in: screen pixels for the interface layers, scene units under a camera.
void spawnPuff(const Ccolour& colour, const Cvec3& pos, int layer = 0);
// A spinning halo with a white copy inside it at size * 0.6.
void spawnHaloBurst(const Ccolour& colour, const Cvec3& pos, float size, int layer = 0);
void spawnUiSparkle(const Cvec3& pos, const Ccolour& colour, float size, bool front = false);
void spawnSparks(int count, const Cvec3& pos, float speed, const Ccolour& colour, int layer, float size);
void spawnShockwave(const Cvec3& pos, const Ccolour& colour, int layer, float size);
void spawnLogoFlash(float x, float y);
void spawnTransitionFlash(float x, float y);
void drawParticleLayer(int layer);
