#pragma once
// Cscreen: a screen built from its layout file: named widgets and menus.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/ui/menu.h"
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

    // A widget or menu by name; a miss logs "Can't find ..." when report is set.
    Cwidget* findWidget(const std::string& widgetName, bool report = true);
    Cmenu* findMenu(const std::string& menuName, bool report = true);
    Cwidget* addWidget(CwidgetPtr widget);

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

    // Places every widget and menu for the current screen size.
    void layout();

private:
    void navigate(int dx, int dy);
    Cwidget* pressed_ = nullptr;
    int focus_ = -1;   // the highlighted selectable widget for keys and pads
};
