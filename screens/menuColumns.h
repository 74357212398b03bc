#pragma once
// CmenuColumns: menus standing side by side on one screen, of which one at a
// time takes the keys. Left and right move the focus to the next shown menu;
// the pointer over a menu gives it the focus.
#include <vector>

class Cmenu;

class CmenuColumns {
public:
    void set(std::vector<Cmenu*> menus);
    // Focuses the first shown menu.
    void reset();
    // Before the screen's own update, so that the menu focused now takes
    // this step's input.
    void update();
    Cmenu* focused() const;
    void focus(Cmenu* menu);

private:
    void move(int dir);
    std::vector<Cmenu*> menus_;
    int focus_ = 0;
};
