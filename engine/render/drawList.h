#pragma once
// CdrawList and CdrawSprite: the show and hide effects of widgets and sprites.
// A draw-list sprite has a value that runs from its start value down to 0 at
// rate 1/duration. Above 1 it waits (hidden, in its starting look), so a start
// value of 1 + delay/duration delays the effect; from 1 to 0 it moves from its
// starting look to its resting one (scale 1, no offset, full alpha). A hiding
// effect plays the same way backwards and ends hidden.
//
// The owner of a widget keeps the shared pointer and reads scale, offset,
// alpha and visible each frame (Cwidget::effect); a sprite given to the effect is drawn by the
// list itself while the effect runs (its owner draws it once it rests).
#include <memory>
#include <vector>

#include "engine/maths.h"

class Csprite;

enum EdrawEffect {
    DRAW_FX_NONE = 0,
    DRAW_FX_ZOOM_IN = 1,     // from scale 10
    DRAW_FX_SLIDE_IN = 3,    // from beyond the nearest screen edge
    DRAW_FX_FADE_IN = 5,     // alpha only
    DRAW_FX_GROW_IN = 6,     // from scale 0.5
    DRAW_FX_SCALE_FROM = 8,  // from a given scale
    DRAW_FX_POP_IN = 9,      // from a given scale with an overshoot
};

class CdrawSprite {
public:
    // Set up.
    int type = DRAW_FX_NONE;
    float value = 1;        // counts down to 0
    float rate = 1;         // per second
    bool hiding = false;    // play backwards and end hidden
    float x = 0, y = 0;     // resting centre, screen pixels
    float width = 0, height = 0;   // size of what is drawn (for slide-ins)
    float fromScale = 1;
    const Csprite* sprite = nullptr;
    Ccolour colour;

    // Results, from recompute().
    float scale = 1;
    float alpha = 1;
    Cvec2 offset;
    bool visible = true;
    bool finished = false;
    bool removed = false;   // taken off its list

    void startZoomIn(bool hide = false);
    void startSlideIn(bool hide = false);
    void startFadeIn(bool hide = false);
    void startGrowIn(bool hide = false);
    void startScaleFrom(float from, bool hide = false);
    void startPopIn(float from = 2.5f, bool hide = false);

    // Progress 0 (starting look) .. 1 (resting look).
    float progress() const;
    // Seconds still to wait before it starts moving.
    float delay() const { return value > 1.0f ? (value - 1.0f) / rate : 0.0f; }
    void recompute();
    void update(float dt);

private:
    void start(int fxType, bool hide);
    Cvec2 slideFrom_;
};

using CdrawSpritePtr = std::shared_ptr<CdrawSprite>;

class CdrawList {
public:
    // A new effect at (x, y) lasting duration seconds after any wait; set its
    // type with one of the start calls. startValue above 1 delays it.
    CdrawSpritePtr addSprite(float startValue, const Csprite* sprite, float x, float y, float duration);
    // The usual shape: wait delay seconds, then run for duration.
    CdrawSpritePtr addDelayed(float delay, const Csprite* sprite, float x, float y, float duration);
    // Drops an effect; its owner keeps the object but it stops moving.
    void remove(const CdrawSpritePtr& effect);
    void clear();

    // Moves every effect on; finished ones leave the list.
    void update(float dt);
    // Draws the effects that carry a sprite.
    void draw();
    size_t size() const { return sprites_.size(); }

private:
    std::vector<CdrawSpritePtr> sprites_;
};
