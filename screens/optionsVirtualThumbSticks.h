#pragma once
// CoptionsVirtualThumbSticksScreen ("optionsVirtualThumbSticks.txt"), state
// OptionsVirtualThumbSticks: how the on-screen sticks sit and behave. The
// sticks are shown laid out as the values change.
#include "engine/inputTouch.h"
#include "screens/layoutScreen.h"
#include "screens/menuRows.h"

class Cmenu;

class CoptionsVirtualThumbSticksScreen : public ClayoutScreen {
public:
    enum { STICK_TYPE = 0, SWAP, WEAPONS, SIZE, FIXED_X, FIXED_Y, COUNT };

    CoptionsVirtualThumbSticksScreen();
    void update() override;
    void render() override;
    Cmenu* menu(int i) const { return menus_[i]; }

private:
    void onEnter() override;
    void onUpdate() override;
    bool onLoaded() override;
    static const CwidgetBinding kBindings[];
    void layoutSticks();
    Cmenu* stickType_ = nullptr;
    Cmenu* swap_ = nullptr;
    Cmenu* weapons_ = nullptr;
    Cmenu* size_ = nullptr;
    Cmenu* fixedX_ = nullptr;
    Cmenu* fixedY_ = nullptr;
    Cmenu* menus_[COUNT] = {};
    CmenuRows rows_;
    CstickSettings entry_;
};
