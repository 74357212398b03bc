#pragma once
// CtextEntry: the single line of text entry (names, e-mail, passwords, PINs).
#include <string>

#include "engine/bString.h"
#include "engine/ui/uiTypes.h"

struct CshadowStyle;

class CtextEntry {
public:
    float x = 0, y = 0, width = 400;   // box centre and width, pixels
    Ccolour fontColour{1, 1, 1, 1};
    Ccolour outline{0.3f, 0.85f, 1.0f, 1}, outlineActive{1, 1, 1, 1};
    const CshadowStyle* shadow = nullptr;
    std::string font = "FontMedium";
    bool mask = false;
    bool active = false, finished = false, cancelled = false;
    CbString text, masked;

    // Starts entry of at most maxChars characters.
    void begin(int maxChars, const std::string& initial = {});
    void end();
    void placeBox(float cx, float cy, float w);
    void refreshMasked();
    // Feeds one step of input; true while the entry holds the input.
    bool update(const CuiInput& in, float dt);
    void render();
    int maxChars() const { return maxChars_; }
    // What the box shows of a text boxW layout pixels wide: all of it, or
    // its end after an ellipsis, with room left for the caret.
    std::string visibleTail(const std::string& shown, float boxW) const;

private:
    int maxChars_ = 32;
    float caret_ = 0;
};
