#pragma once
// Where the game's window goes on its display, from the stored window mode
// and size and what the display offers. Kept apart from SDL so that the rule
// can be checked for any desktop.

struct CwindowRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const CwindowRect& o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
};

// desktop: the display's bounds; usable: the part the desktop's own panels
// leave free (empty when unknown). mode is an EwindowMode; w x h the stored
// size (for full screen, the display mode found for it).
//  - borderless fills the desktop whatever size is stored: the stored size
//    may come from another desktop, and a window manager that does not
//    stretch the window would otherwise leave it at that size, off centre;
//  - full screen takes the mode's size at the display's corner;
//  - a window keeps its size where the usable area holds it, else it is
//    shrunk to fit, and is centred there.
CwindowRect placeWindow(int mode, int w, int h, const CwindowRect& desktop, const CwindowRect& usable);
