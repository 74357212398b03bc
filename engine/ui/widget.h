#pragma once
// Cwidget: one element of a screen, built from a layout block or a template.
// A widget is a rectangle with an optional background style and a list of
// gadgets (texts, sprites, progress bars) placed relative to its centre.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/bString.h"
#include "engine/render/drawList.h"
#include "engine/ui/uiDraw.h"
#include "engine/ui/uiTypes.h"

class Csprite;
class Cscreen;
class Cmenu;
struct CbackgroundStyle;
struct CshadowStyle;

// The kinds startEffect takes: the draw-list effects by their numbers, and
// three more of the popup queue (2, 5 and 7) played by draw-list effects.
enum EuiEffectKind {
    EFFECT_NONE = DRAW_FX_NONE,
    EFFECT_ZOOM_IN = DRAW_FX_ZOOM_IN,         // scale 10 -> 1
    EFFECT_FADE_IN = 2,                       // alpha 0 -> 1
    EFFECT_SLIDE_IN = DRAW_FX_SLIDE_IN,       // from the nearest screen edge
    EFFECT_FADE_OUT = 5,                      // alpha 1 -> 0, hidden at the end
    EFFECT_GROW_IN = DRAW_FX_GROW_IN,         // scale 0.5 -> 1 (hiding: 1 -> 0.5)
    EFFECT_SHRINK_OUT = 7,                    // scale 1 -> 0, hidden at the end
    EFFECT_SCALE_FROM = DRAW_FX_SCALE_FROM,   // scale from -> 1
    EFFECT_POP_IN = DRAW_FX_POP_IN,           // hidden until its delay, then scale 5 -> 1
};

enum EgadgetKind { GADGET_TEXT = 0, GADGET_SPRITE = 1, GADGET_PROGRESS = 2 };

class Cgadget {
public:
    EgadgetKind kind = GADGET_TEXT;
    std::string name;
    float offsetX = 0, offsetY = 0;   // from the widget centre, layout pixels
    float width = 0, height = 0;      // layout pixels (sprites: 0 = the sprite's size)
    bool hidden = false;
    Ccolour colour{1, 1, 1, 1};
    // Text gadgets.
    CbString text;
    std::string textKey;              // the tag the text came from, if any
    std::string font = "FontMedium";
    int align = ALIGN_CENTRE;
    const CshadowStyle* shadow = nullptr;
    float textScale = 1.0f;
    bool wrap = false;
    // The text as last fitted to its box, and what it was fitted for.
    uiDraw::CfittedText fitted;
    std::string fittedFor;
    // Sprite gadgets.
    std::string spriteName;
    Csprite* sprite = nullptr;        // resolved lazily by name
    float rotation = 0;
    // A text gadget may also show a prop (a module's model) at its centre,
    // drawn behind its text; looked up by name when drawn.
    std::string propName;
    float propScale = 1.0f;
    // Progress bars.
    float fill = 0;                   // 0..1
    Ccolour fillColour{0.2f, 0.9f, 1.0f, 1};

    void setSprite(Csprite* s);
    void setSpriteName(const std::string& n);
};

class Cwidget {
public:
    Cwidget() = default;
    Cwidget(const Cwidget& other);   // deep copy (templates)
    Cwidget& operator=(const Cwidget&) = delete;

    std::string name;
    std::string templateName;
    // Placement: anchor as a fraction of the screen plus an offset in layout
    // pixels (720-line space), resolved to pixels by layout().
    float anchorX = 0.5f, anchorY = 0.5f;
    float offsetX = 0, offsetY = 0;
    float width = 100, height = 40;
    float x = 0, y = 0;               // resolved centre, pixels
    float scale = 1.0f;
    float uiScale = 1.0f;             // pixels per layout pixel
    bool hidden = false;
    bool pressed = false;             // pressed this step
    bool toggle = true;               // an unset toggle draws at half brightness
    bool unavailable = false;         // not usable now: a darker panel, text in the DisabledText colour
    bool highlighted = false;
    bool chosen = false;              // a menu's current choice while another menu has the focus
    bool selectable = false;          // reacts to pointer clicks
    bool overBars = false;            // drawn over the music bar or the button bar on purpose
    bool locked() const { return floatValue == -1.0f && value == -1; }
    Ccolour colour{1, 1, 1, 1};       // tint of the whole widget
    Ccolour textColour{1, 1, 1, 1};
    const CbackgroundStyle* background = nullptr;
    float floatValue = 0;
    int64_t value = 0;
    int soundSlot = -1;
    std::vector<Cgadget> gadgets;
    // The running show or hide effect, an entry of gEngine->drawList (which
    // moves it); a finished one stays until the next starts.
    CdrawSpritePtr effect;
    // Visibility groups the widget shows in (layout "Groups"); none: it shows
    // whatever groups are switched on. groupHidden is kept by the screen.
    std::vector<std::string> groups;
    bool groupHidden = false;
    bool inGroup(const std::string& group) const;
    // Shown unless hidden by code or by its groups (effects aside).
    bool shown() const { return !hidden && !groupHidden; }
    // Menu rows: attached to the previous row, with an offset inside the row.
    bool attachToPrevious = false;
    float rowDx = 0, rowDy = 0;

    Cgadget* findGadget(const std::string& gadgetName);
    // The named text gadget, or the first one when name is empty.
    Cgadget* findTextGadget(const std::string& gadgetName = {}, bool report = true);
    Cgadget* findProgressBar(const std::string& gadgetName = {});
    Cgadget* findSpriteGadget(const std::string& gadgetName = {});

    // Texts by value or by string-table tag. Values are shown as given, never formatted.
    void setText(const std::string& gadgetName, const std::string& text);
    void setTextStr(Cgadget* gadget, const CbString& text);
    void setTextKey(const std::string& tag);
    void setGadgetTextKey(const std::string& gadgetName, const std::string& tag);
    std::string getText(const std::string& gadgetName = {});
    void setSprite(const std::string& gadgetName, const std::string& spriteName);
    void setProgress(const std::string& gadgetName, float fill);
    // Shows a prop on the text gadget at that scale (an empty name takes it
    // away). False, logged, when there is no such gadget or prop.
    bool setProp(const std::string& gadgetName, const std::string& prop, float scale);

    void setHidden(bool h) { hidden = h; }
    void setScale(float s) { scale = s; }
    void setPosition(float px, float py) { x = px; y = py; }
    // A text gadget's box, layout pixels: its own Size where given, else the
    // widget's size less a margin at each side.
    Cvec2 textBox(const Cgadget& g) const;
    // The gadget's text wrapped (if it wraps) and scaled down to fit its box;
    // the scale is in layout pixels (textScale when it fits).
    const uiDraw::CfittedText& fittedText(Cgadget& g) const;
    // The pixel position of the end of the first progress bar's fill.
    Cvec2 getProgressBarEndPos();
    // Starts a show or hide effect (style 1) after delay, over duration: kind
    // from EuiEffectKind. Scale-from starts at 1 until the effect is given
    // another scale (effect->startScaleFrom).
    void startEffect(int kind, int style = 0, const char* templ = nullptr, float delay = 0, float duration = 0.2f);
    void removeEffect();
    // An effect is waiting or moving.
    bool effectRunning() const { return shownEffect() && !effect->finished; }

    Crect rect() const;               // on-screen rectangle at the current scale
    bool visible() const { return shown() && (!shownEffect() || effect->visible); }
    void render(float alpha = 1.0f);
    // The colour a text gadget is drawn in, before the widget's fade.
    Ccolour drawnTextColour(const Cgadget& g) const;
    // Anchors are fractions of the area given (the screen, or a frame at left, top).
    void resolve(float screenW, float screenH, float scalePx, float left = 0, float top = 0);

private:
    // The effect that shapes the widget: none once taken off the draw list.
    const CdrawSprite* shownEffect() const { return effect && !effect->removed ? effect.get() : nullptr; }
};

// A template widget by name; widgets made from it are deep copies.
using CwidgetPtr = std::unique_ptr<Cwidget>;
