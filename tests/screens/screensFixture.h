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
// stand left or right of the list's box, where its clip cuts them, or run
// into the part before them on their line: one line each, empty when every
// shown part is inside and clear.
inline std::string rowPartsOutsideList(const Cmenu& m) {
    const Crect box = m.areaRect();
    std::string out;
    Crect before;
    for (size_t i = 0; i < m.itemCount(); ++i) {
        const Cwidget* w = m.item(i);
        if (!w->shown()) continue;
        const Crect r = w->rect();
        if (r.x < box.x - 0.5f || r.right() > box.right() + 0.5f)
            out += m.name + " item " + std::to_string(i) + " spans " + std::to_string((int)r.x) + ".." +
                   std::to_string((int)r.right()) + " in " + std::to_string((int)box.x) + ".." +
                   std::to_string((int)box.right()) + "\n";
        if (w->attachToPrevious && overlapping(r, before))
            out += m.name + " item " + std::to_string(i) + " at " + std::to_string((int)r.x) + ".." +
                   std::to_string((int)r.right()) + " runs into the part before it at " +
                   std::to_string((int)before.x) + ".." + std::to_string((int)before.right()) + "\n";
        before = r;
    }
    return out;
}

// ---- Steps shared by the screen tests of the later screens ----
// The first item of the menu with this value (a selectable one if asked), or null.
inline Cwidget* itemWithValue(const Cmenu* m, int64_t value, bool selectableOnly = false) {
    for (size_t i = 0; m && i < m->itemCount(); ++i)
        if (m->item(i)->value == value && (m->item(i)->selectable || !selectableOnly)) return m->item(i);
    return nullptr;
}
// Text typed into the entry that has the focus, as the desktop sends it.
inline void typeInto(CtestGame& g, const std::string& text) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    snprintf(e.text.text, sizeof e.text.text, "%s", text.c_str());
    SDL_PushEvent(&e);
    g.steps(1);
}
// Steps until the state is current; false when it never comes.
inline bool waitForMode(CtestGame& g, int mode, int steps = 600) {
    for (int i = 0; i < steps && g.mode() != mode; ++i) g.steps(1);
    return g.mode() == mode;
}
// The button bar shows a button for this action.
inline bool barShows(int action) {
    for (const auto& b : gUi->buttonBar.buttons())
        if (b.action == action) return !b.hidden;
    return false;
}
