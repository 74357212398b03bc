#pragma once
// How the virtual screen (the units the game lays out and draws in, y down)
// lands on the window's pixels (GL's, y up). Kept apart from GL so that the
// arithmetic can be checked at every window shape.
#include "engine/render/renderTypes.h"

struct CglScissor {
    int x = 0, y = 0, w = 0, h = 0;   // window pixels, bottom-left origin
};

class CscreenToWindow {
public:
    // margin: how far the viewport reaches past each edge of the window, cut
    // down to what the driver's largest viewport (maxW x maxH) allows.
    CscreenToWindow(float screenW, float screenH, int windowW, int windowH, int maxW, int maxH, int margin);

    // The glViewport rectangle.
    int viewportX = 0, viewportY = 0, viewportW = 0, viewportH = 0;
    // The vertex shader's screen-to-clip transform: ndc = screen * scale + offset.
    float ndcScaleX = 0, ndcScaleY = 0, ndcOffsetX = 0, ndcOffsetY = 0;

    // A screen rectangle as a scissor box (a list's clip).
    CglScissor scissor(const Crect& r) const;

private:
    float sx_ = 1, sy_ = 1;
    int windowH_ = 0;
};
