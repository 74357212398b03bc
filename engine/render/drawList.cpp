#include "engine/render/drawList.h"

#include <algorithm>

#include "engine/engine.h"
#include "engine/render/sprite.h"

void CdrawSprite::start(int fxType, bool hide) {
    type = fxType;
    hiding = hide;
    finished = false;
    if (type == DRAW_FX_ZOOM_IN) fromScale = 10.0f;
    else if (type == DRAW_FX_GROW_IN) fromScale = 0.5f;
    else if (type == DRAW_FX_SLIDE_IN || type == DRAW_FX_FADE_IN) fromScale = 1.0f;
    if (type == DRAW_FX_SLIDE_IN) {
        // Just past the nearest edge of the screen.
        const float sw = (float)gEngine->screenWidth, sh = (float)gEngine->screenHeight;
        const float dl = x, dr = sw - x, dt = y, db = sh - y;
        const float m = std::min(std::min(dl, dr), std::min(dt, db));
        if (m == dl) slideFrom_ = Cvec2(-(x + width * 0.5f), 0);
        else if (m == dr) slideFrom_ = Cvec2(sw - x + width * 0.5f, 0);
        else if (m == dt) slideFrom_ = Cvec2(0, -(y + height * 0.5f));
        else slideFrom_ = Cvec2(0, sh - y + height * 0.5f);
    } else {
        slideFrom_ = Cvec2();
    }
    recompute();
}

void CdrawSprite::startZoomIn(bool hide) { start(DRAW_FX_ZOOM_IN, hide); }
void CdrawSprite::startSlideIn(bool hide) { start(DRAW_FX_SLIDE_IN, hide); }
void CdrawSprite::startFadeIn(bool hide) { start(DRAW_FX_FADE_IN, hide); }
void CdrawSprite::startGrowIn(bool hide) { start(DRAW_FX_GROW_IN, hide); }

void CdrawSprite::startScaleFrom(float from, bool hide) {
    fromScale = from;
    start(DRAW_FX_SCALE_FROM, hide);
}

void CdrawSprite::startPopIn(float from, bool hide) {
    fromScale = from;
    start(DRAW_FX_POP_IN, hide);
}

float CdrawSprite::progress() const {
    float t = 1.0f - clampf(value, 0.0f, 1.0f);
    return hiding ? 1.0f - t : t;
}

void CdrawSprite::recompute() {
    offset = Cvec2();
    scale = 1;
    alpha = 1;
    if (type == DRAW_FX_NONE) {
        visible = !(hiding && finished);
        return;
    }
    if (value > 1.0f) {
        // Waiting: a show waits hidden, a hide waits in plain view.
        visible = hiding;
        alpha = hiding ? 1.0f : 0.0f;
        scale = hiding ? 1.0f : fromScale;
        return;
    }
    const float t = progress();
    const int curve = type == DRAW_FX_POP_IN ? LERP_OVERSHOOT : LERP_EASE_OUT;
    const float e = easeCurve(curve, t);
    switch (type) {
    case DRAW_FX_SLIDE_IN:
        offset = slideFrom_ * (1.0f - e);
        break;
    case DRAW_FX_FADE_IN:
        alpha = t;
        break;
    case DRAW_FX_POP_IN:
        scale = fromScale + (1.0f - fromScale) * e;
        alpha = clampf(t * 2.0f, 0.0f, 1.0f);
        break;
    default:   // zoom, grow, scale-from
        scale = fromScale + (1.0f - fromScale) * e;
        alpha = t;
        break;
    }
    visible = !(hiding && finished);
}

void CdrawSprite::update(float dt) {
    if (finished || removed) return;
    value -= rate * dt;
    if (value <= 0) {
        value = 0;
        finished = true;
    }
    recompute();
}

CdrawSpritePtr CdrawList::addSprite(float startValue, const Csprite* sprite, float x, float y, float duration) {
    auto s = std::make_shared<CdrawSprite>();
    s->value = startValue;
    s->rate = duration > 1e-4f ? 1.0f / duration : 1e4f;
    s->sprite = sprite;
    s->x = x;
    s->y = y;
    if (sprite) {
        s->width = sprite->width;
        s->height = sprite->height;
    }
    sprites_.push_back(s);
    return s;
}

CdrawSpritePtr CdrawList::addDelayed(float delay, const Csprite* sprite, float x, float y, float duration) {
    float d = duration > 1e-4f ? duration : 1e-4f;
    return addSprite(1.0f + std::max(delay, 0.0f) / d, sprite, x, y, duration);
}

void CdrawList::remove(const CdrawSpritePtr& effect) {
    if (!effect) return;
    effect->removed = true;
    sprites_.erase(std::remove(sprites_.begin(), sprites_.end(), effect), sprites_.end());
}

void CdrawList::clear() {
    for (auto& s : sprites_) s->removed = true;
    sprites_.clear();
}

void CdrawList::update(float dt) {
    for (auto& s : sprites_) s->update(dt);
    // A finished hide still has to be seen hidden by its owner, which holds it.
    sprites_.erase(std::remove_if(sprites_.begin(), sprites_.end(), [](const CdrawSpritePtr& s) { return s->finished; }),
                   sprites_.end());
}

void CdrawList::draw() {
    for (auto& s : sprites_) {
        if (!s->sprite || !s->visible || s->alpha <= 0) continue;
        Cquad q;
        q.sprite = s->sprite;
        q.centre = Cvec3(s->x + s->offset.x, s->y + s->offset.y, 0);
        q.colour = s->colour.withAlpha(s->colour.a * s->alpha);
        q.width = (s->width > 0 ? s->width : s->sprite->width) * s->scale;
        q.height = (s->height > 0 ? s->height : s->sprite->height) * s->scale;
        gEngine->renderer.addQuad(q);
    }
}
