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
    if (!gEngine || gEngine->fonts.count() == 0) return {(float)t.size() * 12.0f * scale, 24.0f * scale};
    return gEngine->fonts.getFont(font)->measure(t, scale);
}

namespace {
// Greedy line breaking at spaces; explicit line ends stay. A word longer
// than the box keeps a line of its own.
std::string wrapLines(const std::string& font, const std::string& text, float scale, float boxW) {
    std::string out, line, word;
    auto flushWord = [&]() {
        if (word.empty()) return;
        std::string tried = line.empty() ? word : line + " " + word;
        if (!line.empty() && measureText(font, tried, scale).x > boxW) {
            out += line + "\n";
            line = word;
        } else {
            line = tried;
        }
        word.clear();
    };
    for (char c : text) {
        if (c == ' ' || c == '\n') {
            flushWord();
            if (c == '\n') {
                out += line + "\n";
                line.clear();
            }
        } else {
            word += c;
        }
    }
    flushWord();
    return out + line;
}
}  // namespace

CfittedText fitText(const std::string& font, const std::string& text, float scale, float boxW, float boxH, bool wrap) {
    CfittedText fit{text, scale};
    if (text.empty() || scale <= 0) return fit;
    if (!wrap) {
        float w = measureText(font, text, scale).x;
        if (boxW > 0 && w > boxW) fit.scale = scale * boxW / w;
        return fit;
    }
    // Smaller type wraps differently, so shrink in steps until the block fits.
    constexpr float kStep = 0.95f, kSmallest = 0.25f;
    for (float s = scale;; s *= kStep) {
        fit.scale = s;
        fit.text = boxW > 0 ? wrapLines(font, text, s, boxW) : text;
        Cvec2 size = measureText(font, fit.text, s);
        bool fits = (boxW <= 0 || size.x <= boxW) && (boxH <= 0 || size.y <= boxH);
        if (fits || s * kStep < scale * kSmallest) return fit;
    }
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
