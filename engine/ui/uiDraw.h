#pragma once
// The UI's few drawing calls, kept in one place so the framework stays
// independent of how the renderer spells them.
#include <string>

#include "engine/maths.h"
#include "engine/ui/uiTypes.h"

class Csprite;
struct CshadowStyle;

namespace uiDraw {
Csprite* findSprite(const std::string& name);
Cvec2 spriteSize(const Csprite* sprite);
void sprite(const Csprite* sprite, float cx, float cy, float w, float h, const Ccolour& colour, float rotationDeg = 0);
void fillRect(const Crect& r, const Ccolour& colour);
void frame(const Crect& r, float thickness, const Ccolour& colour);
// Text at x (left, centre or right by align) with its vertical centre at y.
void text(const std::string& font, const std::string& text, float x, float y, float scale, const Ccolour& colour,
          int align, const CshadowStyle* shadow);
// Measured with the real fonts once they are loaded (even without a
// renderer), else roughly.
Cvec2 measureText(const std::string& font, const std::string& text, float scale);

// A text as it fits a box of boxW x boxH (at the same scale as scale): broken
// at spaces into lines no wider than the box when wrap is set, then scaled
// down, never up, until it is no wider than the box and, wrapped, no taller.
// It is never drawn below its legible floor: what still does not fit there
// is cut with an ellipsis (lines that do not fit the height go, the last one
// kept ends in the ellipsis). A box side of 0 or less sets no limit on that side.
struct CfittedText {
    std::string text;
    float scale = 1.0f;
    bool cut = false;   // shortened with an ellipsis
};
CfittedText fitText(const std::string& font, const std::string& text, float scale, float boxW, float boxH, bool wrap);
// The smallest scale a text of that font and scale is drawn at: 60 % of its
// own, and no less than 11 layout pixels high (never above its own scale).
float legibleFloor(const std::string& font, float scale);
// A line cut at a character so that it and an ellipsis are no wider than boxW.
std::string cutWithEllipsis(const std::string& font, const std::string& line, float scale, float boxW);
void pushClip(const Crect& r);
void popClip();
void darken(float alpha);   // the whole view
}  // namespace uiDraw
