#pragma once
// CbuttonBar: the row of action buttons along the bottom of the screen. Each
// button is bound to an input action and names an icon; bars stack so that an
// overlay can push its own and pop it when it closes.
#include <string>
#include <vector>

#include "engine/ui/uiTypes.h"

class CbuttonBar {
public:
    struct Cbutton {
        std::string text;
        int action = ACTION_NONE;
        int icon = ICON_OK;
        bool hidden = false;
        Crect rect;           // on screen, set by layout
        std::string textKey;  // the tag the text came from, if any
    };

    // The controller glyphs the bar shows: the Xbox set or the PlayStation set.
    enum EpadGlyphs { PAD_GLYPHS_XBOX = 0, PAD_GLYPHS_PLAYSTATION = 1 };
    int padGlyphs = PAD_GLYPHS_XBOX;

    // A glyph is this part of the button's height, this far from its left edge.
    static constexpr float kGlyphHeight = 0.8f;
    static constexpr float kGlyphInset = 0.15f;

    CbuttonBar() { bars_.emplace_back(); }
    void clear();
    void addButton(const std::string& text, int action, int icon);
    void addButtonByKey(const std::string& tag, int action, int icon);
    void push();   // a new empty bar over the current one
    void pop();
    void transitionOut();
    void setButtonHidden(int action, bool hidden);
    // A new label for the buttons of an action (a screen whose choice means a different thing per item).
    void setButtonText(int action, const std::string& text);
    void removeSelectButtons();
    // Texts given by tag read again from the language in use, in every bar.
    void refreshTexts();
    bool hasAction(int action) const;
    const std::vector<Cbutton>& buttons() const { return bars_.back().buttons; }
    size_t depth() const { return bars_.size(); }

    // Per step: the action of a button clicked with the pointer, or 0.
    int update(const CuiInput& in, float dt);
    void render();
    void layout();

private:
    struct Cbar {
        std::vector<Cbutton> buttons;
        float fade = 1.0f;
        bool leaving = false;
    };
    void layoutBar(Cbar& bar);

    std::vector<Cbar> bars_;
    int layoutDevice_ = DEVICE_KEYBOARD_MOUSE;   // whose glyphs the last layout made room for
};

// The glyph sprite of an icon for a device kind (controllers in a glyph set).
const char* buttonIconSprite(int icon, int device, int padGlyphs = CbuttonBar::PAD_GLYPHS_XBOX);
