#pragma once
// CtbHubScreen: the three special ships flying, with which of them are unlocked.
#include "screens/displayShip.h"
#include "screens/layoutScreen.h"

class CtbHubScreen : public ClayoutScreen {
public:
    CtbHubScreen();
    void render() override;

private:
    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;

    static const CwidgetBinding kBindings[];
    Cwidget* shipPos1_ = nullptr;
    Cwidget* shipPos2_ = nullptr;
    Cwidget* vessikUnlocked_ = nullptr;
    Cwidget* vornakUnlocked_ = nullptr;
    CdisplayShip ships_[3];
};
