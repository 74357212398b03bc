#pragma once
// CautoScreenShot: watches play for spectacular moments (a crowd of enemies
// at a loud part of the track, a kill, a boss going down) and captures the
// part of the screen around the players a moment later. The pictures stay as
// textures until the next game starts: the game-over screens show them as a
// column of thumbnails scrolling up beside them, and the share screen offers
// them.
//
// Moment types: 1 and 2 are armed by the projectile and enemy code; 3, 5 and
// 6 by update() from the ship counts, the projectiles, the particles and the
// music. Each type has a cooldown timer (index 0..6) that must have run out.
#include <cstdint>
#include <functional>
#include <vector>

#include "services/screenCapture.h"

class CgameWorld;
class Crandom;

class CautoScreenShot {
public:
    static constexpr int kTimers = 7;
    static constexpr size_t kMaxShots = 50;
    static constexpr int kReplaceAmong = 45;    // a shot beyond the limit replaces one of the oldest
    static constexpr float kCooldown = 10.0f;   // seconds between moments of a type (doubled in Survival and BossRush)
    // Around the players' ships, in play-plane units: the picture's margin
    // and how far inside the arena's edge a ship must be.
    static constexpr float kShotMargin = 50.0f;
    static constexpr float kEdgeMargin = 25.0f;
    static constexpr float kThumbWidth = 250.0f, kThumbGap = 5.0f, kScrollStep = 2.5f;

    struct Cshot {
        uint32_t type = 0;
        CtexturePtr texture;
    };

    CautoScreenShot(CgameWorld& world, CscreenCapture& capture);

    // At the start of every game: timers full, nothing armed, no shots.
    void reset();
    // Every update step.
    void update();
    // The column of thumbnails centred on x (the game-over screens).
    void drawThumbnails(float x, float scale = 1.0f);   // scale: the UI's, for the strip's width
    // Arms a moment when nothing is armed and the type's timer has run out.
    bool arm(int type, float delay, int timer);

    // The "AutoShots" setting (on when unset).
    std::function<bool()> settingOn;
    // The music's loudness, as the music player measures it (about 0..5);
    // unset: the play feed's intensity on that scale.
    std::function<float()> musicIntensity;

    // Chooses the shot that makes room; the engine's generator when unset.
    Crandom* random = nullptr;

    bool disabled = false;   // "-NoScreenShots"
    bool armed = false;
    uint32_t momentType = 0;
    float delay = 0;
    float left = 0, top = 0, right = 0, bottom = 0;   // screen pixels
    float timers[kTimers] = {};
    std::vector<Cshot> shots;
    float scroll = 0;

private:
    bool on() const { return !disabled && (!settingOn || settingOn()); }
    // Moments are taken in play, not in ChillOut or ShipTest games.
    bool collecting() const;
    float intensity() const;
    bool playersClearOfEdges() const;
    void computeRectangle();
    void keepShot();

    CgameWorld& world_;
    CscreenCapture& capture_;
    bool requested_ = false;
};
