#pragma once
// CoptionsVirtualThumbSticksScreen ("optionsVirtualThumbSticks.txt"), state
// OptionsVirtualThumbSticks: how the on-screen sticks sit and behave. The
// sticks are shown laid out as the values change.
#include "engine/inputTouch.h"
#include "game/screenSlot.h"
#include "screens/menuRows.h"

class Cscreen;
class Cmenu;

class CoptionsVirtualThumbSticksScreen : public CscreenSlot {
public:
    enum { STICK_TYPE = 0, SWAP, WEAPONS, SIZE, FIXED_X, FIXED_Y, COUNT };

    bool load() override;
    void enter() override;
    void update() override;
    void render() override;
    Cscreen* screen() const { return screen_; }
    Cmenu* menu(int i) const { return menus_[i]; }

private:
    void layoutSticks();
    Cscreen* screen_ = nullptr;
    Cmenu* menus_[COUNT] = {};
    CmenuRows rows_;
    CstickSettings entry_;
};
