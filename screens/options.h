#pragma once
// CoptionsScreen ("options.txt"), the Options state: the list of option
// screens. Back saves the settings and returns to the screen that opened it.
#include "game/screenSlot.h"

class Cscreen;
class Cmenu;
class Cwidget;

class CoptionsScreen : public CscreenSlot {
public:
    bool load() override;
    void enter() override;
    void update() override;
    void render() override;

    // Where Back leads: the main menu, or the press-start screen.
    void setReturnState(int state) { returnState_ = state; }
    int returnState() const { return returnState_; }
    Cscreen* screen() const { return screen_; }
    Cmenu* menu() const { return menu_; }
    // Acts on a chosen item as a click on it would.
    void choose(int value);

private:
    Cscreen* screen_ = nullptr;
    Cmenu* menu_ = nullptr;
    Cwidget* guid_ = nullptr;
    int returnState_ = 3;
};
