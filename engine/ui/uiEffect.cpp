#include "engine/ui/uiEffect.h"

#include "engine/engine.h"

void CuiEffect::start(int k, float dly, float dur, float from) {
    kind = k;
    delay = dly > 0 ? dly : 0;
    duration = dur > 0.001f ? dur : 0.001f;
    t = 0;
    fromScale = from;
    hideAtEnd = (k == EFFECT_FADE_OUT || k == EFFECT_SHRINK_OUT);
    fromX = fromY = 0;
}

void CuiEffect::update(float dt) {
    if (kind == EFFECT_NONE) return;
    if (delay > 0) {
        delay -= dt;
        if (delay > 0) return;
        dt = -delay;
        delay = 0;
    }
    t += dt / duration;
    if (t > 1.0f) t = 1.0f;
}

float CuiEffect::scale() const {
    if (kind == EFFECT_NONE || delay > 0) return kind == EFFECT_ZOOM_IN ? 10.0f : 1.0f;
    float e = easeCurve(LERP_EASE_OUT, t);
    switch (kind) {
    case EFFECT_ZOOM_IN: return lerpValue(LERP_EASE_OUT, 10.0f, 1.0f, t);
    case EFFECT_GROW_IN: return hideAtEnd ? 1.0f + (0.5f - 1.0f) * e : 0.5f + 0.5f * e;
    case EFFECT_SHRINK_OUT: return 1.0f - e;
    case EFFECT_SCALE_FROM: return fromScale + (1.0f - fromScale) * e;
    case EFFECT_POP_IN: return lerpValue(LERP_EASE_OUT, fromScale > 1.0f ? fromScale : 5.0f, 1.0f, t);
    default: return 1.0f;
    }
}

float CuiEffect::alpha() const {
    if (kind == EFFECT_NONE) return 1.0f;
    if (delay > 0) return (kind == EFFECT_FADE_OUT || hideAtEnd) ? 1.0f : 0.0f;
    switch (kind) {
    case EFFECT_FADE_IN: return t;
    case EFFECT_FADE_OUT: return 1.0f - t;
    case EFFECT_ZOOM_IN: return clampf(t * 3.0f, 0.0f, 1.0f);
    default: return hideAtEnd ? 1.0f - t * 0.5f : clampf(0.3f + t, 0.0f, 1.0f);
    }
}

Cvec2 CuiEffect::offset() const {
    if (kind != EFFECT_SLIDE_IN) return {};
    float k = 1.0f - easeCurve(LERP_EASE_OUT, delay > 0 ? 0.0f : t);
    return {fromX * k, fromY * k};
}

bool CuiEffect::hidesWidget() const {
    if (kind == EFFECT_NONE) return false;
    if (delay > 0 && kind != EFFECT_FADE_OUT && !hideAtEnd) return true;   // waiting to appear
    return hideAtEnd && t >= 1.0f;
}
