#pragma once
// Show and hide effects of widgets: zoom in from 10, slide in from the nearest
// edge, grow in from 0.5, scale from a given value, pop in after a delay, and
// the matching hide effects. Kinds keep the draw-list numbers.
#include "engine/maths.h"

enum EuiEffectKind {
    EFFECT_NONE = 0,
    EFFECT_ZOOM_IN = 1,      // scale 10 -> 1
    EFFECT_FADE_IN = 2,      // alpha 0 -> 1
    EFFECT_SLIDE_IN = 3,     // from the nearest screen edge
    EFFECT_FADE_OUT = 5,     // alpha 1 -> 0, hidden at the end
    EFFECT_GROW_IN = 6,      // scale 0.5 -> 1 (as a hide effect: 1 -> 0.5, hidden at the end)
    EFFECT_SHRINK_OUT = 7,   // scale 1 -> 0, hidden at the end
    EFFECT_SCALE_FROM = 8,   // scale from -> 1
    EFFECT_POP_IN = 9,       // hidden until its delay, then scale 5 -> 1
};

struct CuiEffect {
    int kind = EFFECT_NONE;
    float delay = 0;         // seconds before it starts (the widget waits hidden for pop-ins)
    float duration = 0.2f;
    float t = 0;             // 0..1 once started
    float fromScale = 1;
    float fromX = 0, fromY = 0;   // slide-in start offset, pixels
    bool hideAtEnd = false;
    bool running() const { return kind != EFFECT_NONE; }
    bool finished() const { return kind != EFFECT_NONE && delay <= 0 && t >= 1.0f; }
    void clear() { *this = CuiEffect(); }
    void start(int k, float dly, float dur, float from = 1.0f);
    void update(float dt);
    // The widget's current scale, alpha and offset under the effect.
    float scale() const;
    float alpha() const;
    Cvec2 offset() const;
    bool hidesWidget() const;   // waiting pop-in, or a finished hide effect
};
