// The UI's drawing calls. Until a renderer is attached they draw nothing and
// only measure text roughly, which is what headless runs need.
#include "engine/ui/uiDraw.h"

#include "engine/ui/uiStyles.h"

namespace uiDraw {
Csprite* findSprite(const std::string&) { return nullptr; }
Cvec2 spriteSize(const Csprite*) { return {64, 64}; }
void sprite(const Csprite*, float, float, float, float, const Ccolour&, float) {}
void fillRect(const Crect&, const Ccolour&) {}
void frame(const Crect&, float, const Ccolour&) {}
void text(const std::string&, const std::string&, float, float, float, const Ccolour&, int, const CshadowStyle*) {}
Cvec2 measureText(const std::string&, const std::string& t, float scale) {
    return {(float)t.size() * 12.0f * scale, 24.0f * scale};
}
void pushClip(const Crect&) {}
void popClip() {}
void darken(float) {}
}  // namespace uiDraw
