// The UI's drawing calls, through the renderer once it has been started.
// Before that (headless runs) they draw nothing and measure text roughly.
#include "engine/ui/uiDraw.h"

#include <cmath>

#include "engine/engine.h"
#include "engine/ui/uiStyles.h"

namespace {
bool drawing() { return gEngine && gEngine->renderer.isReady(); }
}  // namespace

namespace uiDraw {
Csprite* findSprite(const std::string& name) {
    if (!drawing() || name.empty()) return nullptr;
    return gEngine->sprites.getSprite(name);   // a missing one is logged and shown as the placeholder
}

Cvec2 spriteSize(const Csprite* sprite) {
    if (!sprite) return {64, 64};
    return {sprite->width, sprite->height};
}

void sprite(const Csprite* sprite, float cx, float cy, float w, float h, const Ccolour& colour, float rotationDeg) {
    if (!drawing() || !sprite) return;
    Cquad q;
    q.sprite = sprite;
    q.centre = Cvec3(cx, cy, 0);
    q.width = w;
    q.height = h;
    q.colour = colour;
    q.rotation = rotationDeg;
    gEngine->renderer.addQuad(q);
}

void fillRect(const Crect& r, const Ccolour& colour) {
    if (drawing()) gEngine->renderer.drawRect(r, colour);
}

void frame(const Crect& r, float thickness, const Ccolour& colour) {
    if (drawing()) gEngine->renderer.drawFrame(r.x, r.y, r.right(), r.bottom(), thickness, colour);
}

void text(const std::string& font, const std::string& text, float x, float y, float scale, const Ccolour& colour,
          int align, const CshadowStyle* shadow) {
    if (!drawing() || text.empty()) return;
    Cfont* f = gEngine->fonts.getFont(font);
    const int style = f->style;
    const Ccolour outlineColour = f->outlineColour, shadowColour = f->shadowColour;
    const int outlineSize = f->outlineSize;
    const Cvec2 shadowOffset = f->shadowOffset;
    if (shadow && shadow->outline > 0) {
        f->style = FONT_OUTLINE;
        f->outlineSize = std::max(1, (int)std::lround(shadow->outline));
        f->outlineColour = shadow->colour;
    } else if (shadow) {
        f->style = FONT_SHADOW;
        f->shadowOffset = Cvec2(shadow->offsetX, shadow->offsetY);
        f->shadowColour = shadow->colour;
    } else {
        f->style = FONT_PLAIN;
    }
    f->drawText(text, x, y, scale, (align & (ALIGN_CENTRE | ALIGN_RIGHT)) | ALIGN_MIDDLE, colour);
    f->style = style;
    f->outlineColour = outlineColour;
    f->shadowColour = shadowColour;
    f->outlineSize = outlineSize;
    f->shadowOffset = shadowOffset;
}

Cvec2 measureText(const std::string& font, const std::string& t, float scale) {
    if (!drawing()) return {(float)t.size() * 12.0f * scale, 24.0f * scale};
    return gEngine->fonts.getFont(font)->measure(t, scale);
}

void pushClip(const Crect& r) {
    if (drawing()) gEngine->renderer.pushScissor(r);
}

void popClip() {
    if (drawing()) gEngine->renderer.popScissor();
}

void darken(float alpha) {
    if (drawing()) gEngine->renderer.drawRectPixels(alpha);
}
}  // namespace uiDraw
