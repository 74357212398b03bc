#include "engine/ui/buttonBar.h"

#include <algorithm>

#include "engine/engine.h"
#include "engine/ui/uiDraw.h"
#include "engine/ui/uiMgr.h"

const char* buttonIconSprite(int icon, int device, int padGlyphs) {
    static const char* pad[] = {"ui_xbox_A.png", "ui_xbox_B.png", "ui_xbox_X.png",
                                "ui_xbox_Y.png", "ui_xbox_LB.png", "ui_xbox_RB.png"};
    static const char* ps[] = {"ui_ps4_A.png", "ui_ps4_B.png", "ui_ps4_X.png",
                               "ui_ps4_Y.png", "ui_ps4_LB.png", "ui_ps4_RB.png"};
    // The keys of the default keyboard bindings.
    static const char* keys[] = {"ui_key_Enter.png", "ui_key_Backspace.png", "ui_key_X.png",
                                 "ui_key_Y.png", "ui_key_3.png", "ui_key_4.png"};
    if (icon < 0 || icon > 5) icon = 0;
    if (device != DEVICE_CONTROLLER) return keys[icon];
    return padGlyphs == CbuttonBar::PAD_GLYPHS_PLAYSTATION ? ps[icon] : pad[icon];
}

// The key glyph of the key the first player has bound to an action, or null
// when it is no key or there is no glyph for it.
static Csprite* boundKeyGlyph(int action) {
    const CinputPlayer* p = gEngine->input.player(0);
    const CactionBinding* b = p ? p->findBinding(action) : nullptr;
    if (!b || !b->keyFlag || !gEngine->renderer.isReady()) return nullptr;
    // While a text box is open its keys are typing: Backspace deletes there
    // and Escape is what leaves it.
    if (action == ACTION_BACK && gUi->textEntry.active) return gEngine->sprites.findSprite("ui_key_Esc.png", false);
    std::string name = SDL_GetScancodeName((SDL_Scancode)b->key);
    if (name == "Return") name = "Enter";
    else if (name == "Escape") name = "Esc";
    if (name.empty()) return nullptr;
    return gEngine->sprites.findSprite("ui_key_" + name + ".png", false);
}

// The glyph a button shows for the device in use.
static Csprite* buttonGlyph(const CbuttonBar::Cbutton& b, int device, int padGlyphs) {
    Csprite* glyph = device == DEVICE_CONTROLLER ? nullptr : boundKeyGlyph(b.action);
    return glyph ? glyph : uiDraw::findSprite(buttonIconSprite(b.icon, device, padGlyphs));
}

// Glyphs keep their shape: the caps of long key names are wider than high.
static float glyphWidth(const Csprite* glyph, float height) {
    Cvec2 size = uiDraw::spriteSize(glyph);
    return size.y > 0 ? height * size.x / size.y : height;
}

void CbuttonBar::clear() {
    bars_.back().buttons.clear();
    bars_.back().leaving = false;
    bars_.back().fade = 1.0f;
}

void CbuttonBar::addButton(const std::string& text, int action, int icon) {
    // One button per action: a second add replaces the text.
    for (auto& b : bars_.back().buttons)
        if (b.action == action) {
            b.text = text;
            b.textKey.clear();
            b.icon = icon;
            b.hidden = false;
            layout();
            return;
        }
    bars_.back().buttons.push_back({text, action, icon, false, {}, {}});
    bars_.back().leaving = false;
    layout();
}

void CbuttonBar::addButtonByKey(const std::string& tag, int action, int icon) {
    addButton(gEngine->text(tag), action, icon);
    for (auto& b : bars_.back().buttons)
        if (b.action == action) b.textKey = tag;
}

void CbuttonBar::push() { bars_.emplace_back(); }

void CbuttonBar::pop() {
    if (bars_.size() > 1) bars_.pop_back();
    else clear();
}

void CbuttonBar::transitionOut() { bars_.back().leaving = true; }

void CbuttonBar::setButtonHidden(int action, bool hidden) {
    for (auto& b : bars_.back().buttons)
        if (b.action == action) b.hidden = hidden;
    layout();
}

void CbuttonBar::setButtonText(int action, const std::string& text) {
    for (auto& b : bars_.back().buttons)
        if (b.action == action) {
            b.text = text;
            b.textKey.clear();
        }
    layout();
}

void CbuttonBar::removeSelectButtons() {
    auto& v = bars_.back().buttons;
    v.erase(std::remove_if(v.begin(), v.end(), [](const Cbutton& b) { return b.action == ACTION_SELECT; }), v.end());
    layout();
}

bool CbuttonBar::hasAction(int action) const {
    for (auto& b : bars_.back().buttons)
        if (b.action == action && !b.hidden) return true;
    return false;
}

void CbuttonBar::refreshTexts() {
    for (auto& bar : bars_) {
        for (auto& b : bar.buttons)
            if (!b.textKey.empty()) b.text = gEngine->text(b.textKey);
        layoutBar(bar);   // the bars underneath show again as they are when popped
    }
}

void CbuttonBar::layout() { layoutBar(bars_.back()); }

void CbuttonBar::layoutBar(Cbar& bar) {
    // Right-aligned along the bottom edge, first button rightmost.
    float s = gUi ? gUi->scale() : 1.0f;
    layoutDevice_ = gUi ? gUi->input().device : DEVICE_KEYBOARD_MOUSE;
    float right = (float)gEngine->screenWidth - 30.0f * s;
    float h = 44.0f * s;
    float y = (float)gEngine->screenHeight - 20.0f * s - h;
    for (auto& b : bar.buttons) {
        if (b.hidden) continue;
        Cvec2 tsize = uiDraw::measureText("FontSmall", b.text, s);
        float glyphW = glyphWidth(buttonGlyph(b, layoutDevice_, padGlyphs), h * kGlyphHeight);
        float w = h * kGlyphInset + glyphW + 8.0f * s + tsize.x + 16.0f * s + h * (1.0f - kGlyphHeight - kGlyphInset);
        b.rect = {right - w, y, w, h};
        right -= w + 14.0f * s;
    }
}

int CbuttonBar::update(const CuiInput& in, float dt) {
    Cbar& bar = bars_.back();
    if (bar.leaving) bar.fade = std::max(0.0f, bar.fade - dt / 0.2f);
    else bar.fade = std::min(1.0f, bar.fade + dt / 0.2f);
    if (bar.leaving || !in.pointerReleased || in.device == DEVICE_CONTROLLER) return ACTION_NONE;
    for (auto& b : bar.buttons)
        if (!b.hidden && b.rect.contains(in.pointerX, in.pointerY)) return b.action;
    return ACTION_NONE;
}

void CbuttonBar::render() {
    Cbar& bar = bars_.back();
    if (bar.fade <= 0.0f) return;
    float s = gUi->scale();
    int device = gUi->input().device;
    if (device != layoutDevice_) layout();   // another device, other glyphs
    const CshadowStyle* shadow = gUi->findShadowStyle("SimpleOutline", false);
    for (auto& b : bar.buttons) {
        if (b.hidden) continue;
        Crect r = b.rect;
        uiDraw::fillRect(r, Ccolour(0.04f, 0.06f, 0.14f, 0.75f * bar.fade));
        uiDraw::frame(r, 1.5f * s, Ccolour(0.3f, 0.85f, 1.0f, 0.8f * bar.fade));
        Csprite* glyph = buttonGlyph(b, device, padGlyphs);
        float glyphH = r.h * kGlyphHeight, glyphW = glyphWidth(glyph, glyphH);
        float left = r.x + r.h * kGlyphInset;
        uiDraw::sprite(glyph, left + glyphW * 0.5f, r.cy(), glyphW, glyphH, Ccolour(1, 1, 1, bar.fade));
        uiDraw::text("FontSmall", b.text, left + glyphW + 8.0f * s, r.cy(), s, Ccolour(1, 1, 1, bar.fade), ALIGN_LEFT,
                     shadow);
    }
}
