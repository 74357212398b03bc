#include "screens/desktopDialog.h"

#include "engine/engine.h"

namespace desktopDialog {

float prepare() {
    Cplatform& p = gEngine->platform;
    switch (p.windowMode()) {
        case WINDOW_BORDERLESS: p.setBordered(true); return 0.3f;
        case WINDOW_FULLSCREEN: p.minimise(); return 0.1f;
        default: return 0.01f;
    }
}

namespace {
void restoreWindow() {
    Cplatform& p = gEngine->platform;
    if (p.windowMode() == WINDOW_BORDERLESS) {
        Cdisplay d = p.display(p.displayInUse());
        p.setWindowPosition(0, 0);
        p.setBordered(false);
        p.setWindowPosition(0, 0);
        p.setWindowSize(d.native.width, d.native.height);
    } else if (p.windowMode() == WINDOW_FULLSCREEN) {
        p.restore();
    }
}
}  // namespace

std::string pickFolder() {
    std::string folder = gEngine->platform.pickFolderDialog();
    restoreWindow();
    return folder;
}

std::string openPng() {
    std::string path = gEngine->platform.openPngFileDialog();
    restoreWindow();
    return path;
}

}  // namespace desktopDialog
