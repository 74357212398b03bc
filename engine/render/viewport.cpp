#include "engine/render/viewport.h"

#include <algorithm>

CscreenToWindow::CscreenToWindow(float screenW, float screenH, int windowW, int windowH, int maxW, int maxH,
                                 int margin)
    : windowH_(windowH) {
    // The viewport reaches past the window on every side: a quad that only
    // crosses the window's edge then needs no clipping, which a software
    // rasteriser does one triangle at a time. Pixels land where they would
    // with a viewport of the window's size.
    const int m = std::max(0, std::min(margin, std::min(maxW - windowW, maxH - windowH) / 2));
    viewportX = viewportY = -m;
    viewportW = windowW + 2 * m;
    viewportH = windowH + 2 * m;
    const float fullW = (float)viewportW, fullH = (float)viewportH;
    ndcScaleX = 2.0f * (float)windowW / (screenW * fullW);
    ndcScaleY = -2.0f * (float)windowH / (screenH * fullH);
    ndcOffsetX = 2.0f * (float)m / fullW - 1.0f;
    ndcOffsetY = 2.0f * (float)(windowH + m) / fullH - 1.0f;
    sx_ = (float)windowW / screenW;
    sy_ = (float)windowH / screenH;
}

CglScissor CscreenToWindow::scissor(const Crect& r) const {
    const int x0 = (int)(r.x * sx_ + 0.5f), x1 = (int)(r.right() * sx_ + 0.5f);
    const int y0 = (int)(r.y * sy_ + 0.5f), y1 = (int)(r.bottom() * sy_ + 0.5f);
    return {x0, windowH_ - y1, x1 - x0, y1 - y0};
}
