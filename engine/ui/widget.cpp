#include "engine/ui/widget.h"

#include <algorithm>

#include "engine/engine.h"
#include "engine/ui/uiDraw.h"
#include "engine/ui/uiStyles.h"

void Cgadget::setSprite(Csprite* s) {
    sprite = s;
    if (s) {
        Cvec2 size = uiDraw::spriteSize(s);
        if (width <= 0) width = size.x;
        if (height <= 0) height = size.y;
    }
}

void Cgadget::setSpriteName(const std::string& n) {
    spriteName = n;
    sprite = nullptr;
}

Cwidget::Cwidget(const Cwidget& o)
    : name(o.name), templateName(o.templateName), anchorX(o.anchorX), anchorY(o.anchorY), offsetX(o.offsetX),
      offsetY(o.offsetY), width(o.width), height(o.height), x(o.x), y(o.y), scale(o.scale), uiScale(o.uiScale),
      hidden(o.hidden), pressed(false), toggle(o.toggle), unavailable(o.unavailable), highlighted(false), selectable(o.selectable),
      overBars(o.overBars), colour(o.colour), textColour(o.textColour), background(o.background),
      floatValue(o.floatValue), value(o.value), soundSlot(o.soundSlot), gadgets(o.gadgets), groups(o.groups) {}

bool Cwidget::inGroup(const std::string& group) const {
    for (auto& g : groups)
        if (equalsIgnoreCase(g, group)) return true;
    return false;
}

Cgadget* Cwidget::findGadget(const std::string& gadgetName) {
    for (auto& g : gadgets)
        if (equalsIgnoreCase(g.name, gadgetName)) return &g;
    return nullptr;
}

Cgadget* Cwidget::findTextGadget(const std::string& gadgetName, bool report) {
    for (auto& g : gadgets)
        if (g.kind == GADGET_TEXT && (gadgetName.empty() || equalsIgnoreCase(g.name, gadgetName))) return &g;
    if (report) gEngine->log.print(LOG_L, "Can't find text gadget: %s in %s", gadgetName.c_str(), name.c_str());
    return nullptr;
}

Cgadget* Cwidget::findProgressBar(const std::string& gadgetName) {
    for (auto& g : gadgets)
        if (g.kind == GADGET_PROGRESS && (gadgetName.empty() || equalsIgnoreCase(g.name, gadgetName))) return &g;
    return nullptr;
}

Cgadget* Cwidget::findSpriteGadget(const std::string& gadgetName) {
    for (auto& g : gadgets)
        if (g.kind == GADGET_SPRITE && (gadgetName.empty() || equalsIgnoreCase(g.name, gadgetName))) return &g;
    return nullptr;
}

void Cwidget::setText(const std::string& gadgetName, const std::string& text) {
    if (Cgadget* g = findTextGadget(gadgetName)) {
        g->text = CbString(text);
        g->textKey.clear();
    }
}

void Cwidget::setTextStr(Cgadget* gadget, const CbString& text) {
    if (!gadget) return;
    gadget->text = text;
    gadget->textKey.clear();
}

void Cwidget::setTextKey(const std::string& tag) { setGadgetTextKey({}, tag); }

void Cwidget::setGadgetTextKey(const std::string& gadgetName, const std::string& tag) {
    if (Cgadget* g = findTextGadget(gadgetName)) {
        g->text = CbString(gEngine->text(tag));
        g->textKey = tag;
    }
}

std::string Cwidget::getText(const std::string& gadgetName) {
    Cgadget* g = findTextGadget(gadgetName, false);
    return g ? g->text.str() : std::string();
}

void Cwidget::setSprite(const std::string& gadgetName, const std::string& spriteName) {
    Cgadget* g = findSpriteGadget(gadgetName);
    if (!g) {
        gEngine->log.print(LOG_L, "Can't find sprite gadget: %s in %s", gadgetName.c_str(), name.c_str());
        return;
    }
    g->setSpriteName(spriteName);
}

void Cwidget::setProgress(const std::string& gadgetName, float fill) {
    if (Cgadget* g = findProgressBar(gadgetName)) g->fill = clampf(fill, 0.0f, 1.0f);
}

bool Cwidget::setProp(const std::string& gadgetName, const std::string& prop, float scale) {
    Cgadget* g = findTextGadget(gadgetName);
    if (!g) return false;
    g->propName.clear();
    if (prop.empty()) return true;
    if (!gEngine->props.findDef(prop)) return false;
    g->propName = prop;
    g->propScale = scale;
    return true;
}

namespace {
constexpr float kTextMargin = 8.0f;       // layout pixels between a text and its widget's edge
constexpr float kDimmedTextFloor = 0.7f;  // the least brightness of a dimmed widget's text
constexpr float kChosenMark = 0.45f;  // how much of the selected look an unfocused choice keeps
constexpr float kMarkFrame = 2.0f;    // layout pixels of the frame that marks a selection

Ccolour mix(const Ccolour& from, const Ccolour& to, float t) {
    return Ccolour(from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
                   from.a + (to.a - from.a) * t);
}
}

Cvec2 Cwidget::textBox(const Cgadget& g) const {
    return {g.width > 0 ? g.width : width - 2 * kTextMargin, g.height > 0 ? g.height : height};
}

const uiDraw::CfittedText& Cwidget::fittedText(Cgadget& g) const {
    Cvec2 box = textBox(g);
    std::string key = g.font + '\x1f' + std::to_string(box.x) + '\x1f' + std::to_string(box.y) + '\x1f' +
                      std::to_string(g.textScale) + (g.wrap ? "w" : "") + '\x1f' + g.text.str();
    if (key != g.fittedFor) {
        g.fitted = uiDraw::fitText(g.font, g.text.str(), g.textScale, box.x, box.y, g.wrap);
        g.fittedFor = std::move(key);
    }
    return g.fitted;
}

Cvec2 Cwidget::getProgressBarEndPos() {
    Cgadget* g = findProgressBar();
    if (!g) return {x, y};
    float s = uiScale * scale;
    float left = x + (g->offsetX - g->width * 0.5f) * s;
    return {left + g->width * s * clampf(g->fill, 0.0f, 1.0f), y + g->offsetY * s};
}

void Cwidget::startEffect(int kind, int style, const char* /*templ*/, float delay, float duration) {
    removeEffect();
    const bool hide = style == 1;
    Crect r = rect();
    CdrawSpritePtr fx = gEngine->drawList.addDelayed(delay, nullptr, x, y, duration);
    fx->width = r.w;
    fx->height = r.h;
    switch (kind) {
    case EFFECT_ZOOM_IN: fx->startZoomIn(hide); break;
    case EFFECT_FADE_IN: fx->startFadeIn(hide); break;
    case EFFECT_SLIDE_IN: fx->startSlideIn(hide); break;
    case EFFECT_FADE_OUT: fx->startFadeIn(true); break;
    case EFFECT_GROW_IN: fx->startGrowIn(hide); break;
    case EFFECT_SHRINK_OUT: fx->startScaleFrom(0.0f, true); break;
    case EFFECT_SCALE_FROM: fx->startScaleFrom(1.0f, hide); break;
    case EFFECT_POP_IN: fx->startPopIn(5.0f, hide); break;
    default: gEngine->drawList.remove(fx); return;   // none, or no effect of ours
    }
    effect = std::move(fx);
}

void Cwidget::removeEffect() {
    if (!effect) return;
    gEngine->drawList.remove(effect);
    effect.reset();
}

Crect Cwidget::rect() const {
    const CdrawSprite* fx = shownEffect();
    float s = uiScale * scale * (fx ? fx->scale : 1.0f);
    Cvec2 o = fx ? fx->offset : Cvec2();
    return {x + o.x - width * s * 0.5f, y + o.y - height * s * 0.5f, width * s, height * s};
}

void Cwidget::resolve(float screenW, float screenH, float scalePx, float left, float top) {
    uiScale = scalePx;
    x = left + anchorX * screenW + offsetX * scalePx;
    y = top + anchorY * screenH + offsetY * scalePx;
}

// Dimmed (an unset toggle, a locked item) the panel darkens more than its
// text, which stays readable on it; an unavailable widget's text takes the
// DisabledText colour alone, never darkened further.
Ccolour Cwidget::drawnTextColour(const Cgadget& g) const {
    if (unavailable) {
        Ccolour c = gEngine->colours.get("DisabledText");
        c.a *= textColour.a;
        return c;
    }
    float dim = toggle ? 1.0f : 0.5f;
    if (locked()) dim *= 0.6f;
    const float textDim = std::max(dim, kDimmedTextFloor);
    return Ccolour(g.colour.r * colour.r * textDim * textColour.r, g.colour.g * colour.g * textDim * textColour.g,
                   g.colour.b * colour.b * textDim * textColour.b, textColour.a);
}

void Cwidget::render(float alpha) {
    if (!visible()) return;
    const CdrawSprite* fx = shownEffect();
    float a = alpha * (fx ? fx->alpha : 1.0f) * colour.a;
    if (a <= 0.0f) return;
    float s = uiScale * scale * (fx ? fx->scale : 1.0f);
    Cvec2 o = fx ? fx->offset : Cvec2();
    float cx = x + o.x, cy = y + o.y;
    float dim = toggle && !unavailable ? 1.0f : 0.5f;
    if (locked()) dim *= 0.6f;
    Ccolour tint(colour.r * dim, colour.g * dim, colour.b * dim, a);
    Crect r = rect();
    // The selected look: the style's highlight; a current choice without the
    // focus gets half of it. Styles whose highlight looks like their rest, and
    // widgets with no panel, show a frame instead.
    const float mark = highlighted ? 1.0f : (chosen && selectable ? kChosenMark : 0.0f);
    bool framed = mark > 0;
    if (background) {
        if (!background->sprite.empty()) {
            uiDraw::sprite(uiDraw::findSprite(background->sprite), r.cx(), r.cy(), r.w, r.h, tint);
        } else {
            const Ccolour f = mix(background->fill, background->highlightFill, mark);
            const Ccolour fr = mix(background->frame, background->highlightFrame, mark);
            uiDraw::fillRect(r, Ccolour(f.r * dim, f.g * dim, f.b * dim, f.a * a));
            if (background->thickness > 0)
                uiDraw::frame(r, background->thickness * uiScale, Ccolour(fr.r * dim, fr.g * dim, fr.b * dim, fr.a * a));
            framed = framed && !background->hasHighlight();
        }
    }
    if (framed) uiDraw::frame(r, kMarkFrame * uiScale, Ccolour(1, 1, 1, mark * a));
    for (auto& g : gadgets) {
        if (g.hidden) continue;
        float gx = cx + g.offsetX * s, gy = cy + g.offsetY * s;
        Ccolour c(g.colour.r * tint.r, g.colour.g * tint.g, g.colour.b * tint.b, g.colour.a * a);
        switch (g.kind) {
        case GADGET_TEXT: {
            if (!g.propName.empty())
                if (const CpropDef* prop = gEngine->props.findDef(g.propName, false))
                    prop->draw(gx, gy, g.propScale * s, 0, c);
            Ccolour tc = drawnTextColour(g);
            tc.a *= a * g.colour.a;
            float tx = gx;
            if (g.align == ALIGN_LEFT && g.width > 0) tx = gx - g.width * s * 0.5f;
            if (g.align == ALIGN_RIGHT && g.width > 0) tx = gx + g.width * s * 0.5f;
            const uiDraw::CfittedText& fit = fittedText(g);
            uiDraw::text(g.font, fit.text, tx, gy, fit.scale * s, tc, g.align, g.shadow);
            break;
        }
        case GADGET_SPRITE: {
            if (!g.sprite && !g.spriteName.empty()) g.setSprite(uiDraw::findSprite(g.spriteName));
            float w = g.width, h = g.height;
            if ((w <= 0 || h <= 0) && g.sprite) {
                Cvec2 sz = uiDraw::spriteSize(g.sprite);
                w = sz.x;
                h = sz.y;
            }
            uiDraw::sprite(g.sprite, gx, gy, w * s, h * s, c, g.rotation);
            break;
        }
        case GADGET_PROGRESS: {
            Crect back{gx - g.width * s * 0.5f, gy - g.height * s * 0.5f, g.width * s, g.height * s};
            uiDraw::fillRect(back, c);
            Crect fillR = back;
            fillR.w = back.w * clampf(g.fill, 0.0f, 1.0f);
            Ccolour fc = g.fillColour;
            fc.a *= a;
            uiDraw::fillRect(fillR, fc);
            break;
        }
        }
    }
}
