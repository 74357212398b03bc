#pragma once
// The exit question ("exit.txt"), in two uses:
//
// CexitPopup, over any screen: Escape brings it up in every state but the
// title and play. "No" or Escape closes it, "Yes" asks for ReallyExit (the
// final save and the quit). While it shows, the state's screen is not stepped.
//
// CexitScreen, the Exit state: the same question as a screen of its own.
#include "game/screenSlot.h"

class Cscreen;
class Cwidget;

class CexitPopup : public CoverlaySlot {
public:
    bool load();
    bool showing() const override { return showing_; }
    void show() override;
    void update() override;
    void render() override;
    Cscreen* screen() const { return screen_; }

private:
    bool showing_ = false;
    Cscreen* screen_ = nullptr;
    Cwidget* yes_ = nullptr;
    Cwidget* no_ = nullptr;
};

class CexitScreen : public CscreenSlot {
public:
    bool load() override;
    void enter() override;
    void update() override;
    void render() override;
    void startLeave() override;
    bool hasLeft() const override;
    Cscreen* screen() const { return screen_; }

private:
    Cscreen* screen_ = nullptr;
    Cwidget* yes_ = nullptr;
    Cwidget* no_ = nullptr;
};

// The short pulse of a pressed button.
void pressTransition(Cwidget* w);
