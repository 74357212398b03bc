#pragma once
// The exit question ("exit.txt"), in two uses:
//
// CexitPopup, over any screen: Escape brings it up in every state but the
// title and play. "No" or Escape closes it, "Yes" asks for ReallyExit (the
// final save and the quit). While it shows, the state's screen is not stepped.
//
// CexitScreen, the Exit state: the same question as a screen of its own.
//
// CreallyExitScreen, the ReallyExit state: the final save and the quit flag.
#include "screens/layoutScreen.h"

class CexitPopup : public ClayoutOverlay {
public:
    CexitPopup();
    bool showing() const override { return showing_; }
    void show() override;
    void update() override;
    void render() override;

private:
    static const CwidgetBinding kBindings[];
    bool showing_ = false;
    Cwidget* yes_ = nullptr;
    Cwidget* no_ = nullptr;
};

class CexitScreen : public ClayoutScreen {
public:
    CexitScreen();

private:
    void onEnter() override;
    void onUpdate() override;

    static const CwidgetBinding kBindings[];
    Cwidget* yes_ = nullptr;
    Cwidget* no_ = nullptr;
};

class CreallyExitScreen : public CscreenSlot {
public:
    void enter() override;
};
