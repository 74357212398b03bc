#pragma once
// Background and shadow styles named by layout files ("uiStyles.txt").
#include <string>

#include "engine/maths.h"

struct CbackgroundStyle {
    std::string name;
    Ccolour fill{0.1f, 0.15f, 0.3f, 0.85f};
    Ccolour frame{0.2f, 0.8f, 1.0f, 1.0f};
    float thickness = 2;
    Ccolour highlightFill{0.15f, 0.35f, 0.6f, 0.95f};
    Ccolour highlightFrame{1, 1, 1, 1};
    std::string sprite;   // optional: a sprite stretched over the widget instead of a panel
    // A highlighted widget looks different from one at rest.
    bool hasHighlight() const {
        return sprite.empty() && (highlightFill != fill || (thickness > 0 && highlightFrame != frame));
    }
};

struct CshadowStyle {
    std::string name;
    Ccolour colour{0, 0, 0, 0.8f};
    float offsetX = 2, offsetY = 2;
    float outline = 0;   // > 0: drawn round the text instead of offset
};
