#pragma once
// The game, headless, with every screen and overlay loaded, and a player's
// taps and clicks as one or two update steps each.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/ui/menu.h"
#include "engine/ui/uiMgr.h"
#include "support/testGame.h"

// The window shapes players' desktops give: 16:9, 16:10 and 4:3.
struct CwindowShape {
    int w, h;
};
inline const CwindowShape kWindowShapes[] = {{1280, 720}, {1280, 800}, {1024, 768}};
// The game's screens laid out again for a window of that shape.
inline void useWindowShape(const CwindowShape& shape) {
    gEngine->setScreenSize(shape.w, shape.h);
    gUi->layoutAll();
}
// Two rectangles share more than an edge.
inline bool overlapping(const Crect& a, const Crect& b) {
    const float eps = 0.5f;
    return a.x + eps < b.right() && b.x + eps < a.right() && a.y + eps < b.bottom() && b.y + eps < a.bottom();
}
// The shown buttons of the button bar, where they are drawn.
inline std::vector<Crect> buttonBarRects() {
    std::vector<Crect> rects;
    for (const auto& b : gUi->buttonBar.buttons())
        if (!b.hidden) rects.push_back(b.rect);
    return rects;
}
inline bool clearOfButtonBar(const Crect& r) {
    for (const Crect& b : buttonBarRects())
        if (overlapping(r, b)) return false;
    return true;
}

// The help boxes the main menu opens on its first entry; tests that pass the
// menu mark them seen so that no box holds the input.
inline void seeMainMenuTutorials() {
    for (const char* t : {"Tut_Intro1", "Tut_Intro2", "Tut_Intro3", "Tut_Intro4", "TUt_ManageMusic",
                          "TUt_ShipEditIntro", "Tut_10Years1", "Tut_PerkMainMenu1"})
        gUi->tutorials.find(t)->seen = true;
}

class CscreensGame : public CtestGame {
public:
    explicit CscreensGame(bool startUp = false) : CtestGame(startUp) {
        if (initOk() && !startUp) {
            EXPECT_TRUE(gGame->loadScreens());
        }
    }
    // Down in one step, up in the next (actions count on release).
    void tapKey(int scanCode) {
        keyDown(scanCode);
        steps(1);
        keyUp(scanCode);
        steps(1);
    }
    void tapAction(int action) {
        setAction(0, action, true);
        steps(1);
        setAction(0, action, false);
        steps(1);
    }
    void clickAt(float x, float y) {
        mouseMove((int)x, (int)y);
        steps(1);
        mouseButton(0, true);
        steps(1);
        mouseButton(0, false);
        steps(1);
    }
    void click(const Cwidget* w) {
        ASSERT_NE(w, nullptr);
        clickAt(w->x, w->y);
    }
    // Lets running entry and leave effects finish.
    void settle(int n = 30) { steps(n); }
};

// The parts of a list's rows (heads and the buttons attached to them) that
// stand left or right of the list's box, where its clip cuts them: one line
// each, empty when every shown part is inside.
inline std::string rowPartsOutsideList(const Cmenu& m) {
    const Crect box = m.areaRect();
    std::string out;
    for (size_t i = 0; i < m.itemCount(); ++i) {
        const Cwidget* w = m.item(i);
        if (!w->shown()) continue;
        const Crect r = w->rect();
        if (r.x < box.x - 0.5f || r.right() > box.right() + 0.5f)
            out += m.name + " item " + std::to_string(i) + " spans " + std::to_string((int)r.x) + ".." +
                   std::to_string((int)r.right()) + " in " + std::to_string((int)box.x) + ".." +
                   std::to_string((int)box.right()) + "\n";
    }
    return out;
}
