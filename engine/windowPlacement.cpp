#include "engine/windowPlacement.h"

#include <algorithm>

#include "engine/platform.h"

CwindowRect placeWindow(int mode, int w, int h, const CwindowRect& desktop, const CwindowRect& usable) {
    if (mode == WINDOW_BORDERLESS && desktop.w > 0 && desktop.h > 0) return desktop;
    if (mode == WINDOW_FULLSCREEN) return {desktop.x, desktop.y, w, h};
    const CwindowRect& area = usable.w > 0 && usable.h > 0 ? usable : desktop;
    if (area.w <= 0 || area.h <= 0) return {0, 0, w, h};
    CwindowRect r;
    r.w = std::min(w, area.w);
    r.h = std::min(h, area.h);
    r.x = area.x + (area.w - r.w) / 2;
    r.y = area.y + (area.h - r.h) / 2;
    return r;
}
