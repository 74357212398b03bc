#pragma once
// Cscreen: a screen built from its layout file: named widgets and menus.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/ui/menu.h"
#include "engine/ui/table.h"
#include "engine/ui/widget.h"

class Cscreen {
public:
    static constexpr uint32_t kStateLeaving = 256;

    std::string name;       // the layout file it came from
    std::vector<CwidgetPtr> widgets;
    std::vector<std::unique_ptr<Cmenu>> menus;
    uint32_t state = 0;     // 256 while leaving
    bool entering = false;
    bool leaving = false;
    bool left = false;
    // How the screen stands to the bars (layout "WithoutMusicBar",
    // "WithoutButtonBar", "OverBars"): shown with the music bar along the top
    // and the button bar along the bottom unless it says otherwise; an
    // overlay drawn over both says so.
    bool musicBar = true, buttonBar = true, overBars = false;
    // Laid out in the rectangle play is drawn in (layout "InPlayFrame"), so
    // that it stands inside the arena's frame at every window shape.
    bool inPlayFrame = false;
    // Where the screen's widgets are laid out, and the pixels per layout pixel there.
    Crect frame() const;
    float frameScale() const;

    // A widget or menu by name; a miss logs "Can't find ..." when report is set.
    Cwidget* findWidget(const std::string& widgetName, bool report = true);
    Cmenu* findMenu(const std::string& menuName, bool report = true);
    // A Table block by name (tables are menus too: findMenu finds them).
    Ctable* findTable(const std::string& tableName, bool report = true);
    Cwidget* addWidget(CwidgetPtr widget);

    // Visibility groups (a widget's or menu's "Groups" line). Every group is
    // visible at load. A widget or menu shows when it is in no group or in
    // any visible one; code may still hide it on its own.
    void setGroupVisible(const std::string& group, bool visible);
    // Shows one group and hides every other; ungrouped ones are untouched.
    void showGroup(const std::string& group);
    bool isGroupVisible(const std::string& group) const;
    // Recomputes groupHidden of every widget and menu (after adding some).
    void applyGroups();

    // Per-step update: menus, widget presses, transitions; reads the UI input.
    void update();
    void render(float alpha = 1.0f);

    // Every screen's common enter opening: mark entering, clear the button
    // bar, reset highlights, play the swoosh.
    void enterOpening();
    void resetHighlights();
    void swoosh();
    void transitionOut();
    bool transitionDone() const;
    void markLeaving() { leaving = true; state |= kStateLeaving; }

    // Widgets pressed (clicked or chosen) in this step.
    bool wasPressed(const Cwidget* w) const { return w && w->pressed; }
    bool wasPressed(const std::string& widgetName);
    Cwidget* pressedWidget() const { return pressed_; }
    Cwidget* highlightedWidget() const { return focus_ >= 0 ? widgets[focus_].get() : nullptr; }
    // Gives the keys' focus to one of the screen's selectable widgets; false
    // (focus unchanged) for any other.
    bool focusWidget(const Cwidget* w);

    // Places every widget and menu for the current screen size.
    void layout();

private:
    void navigate(int dx, int dy);
    bool knowsGroup(const std::string& group) const;
    std::vector<std::string> hiddenGroups_;   // lower case
    Cwidget* pressed_ = nullptr;
    int focus_ = -1;   // the highlighted selectable widget for keys and pads
    bool heldBefore_ = false;   // the input was held (a help box, text entry) in the last step
};
