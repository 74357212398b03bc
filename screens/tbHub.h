#pragma once
// CtbHubScreen: the three special ships flying, with which of them are unlocked.
#include "screens/displayShip.h"
#include "screens/layoutScreen.h"

class CtbHubScreen : public ClayoutScreen {
public:
    CtbHubScreen();
    void render() override;
    // The spot of each special ship (Vessik, Vornak, the gold ship) and the ship flying there.
    Cwidget* spot(int ship) const { return ship >= 0 && ship < 3 ? spots_[ship] : nullptr; }
    Cship* shownShip(int ship) const { return ship >= 0 && ship < 3 ? ships_[ship].ship() : nullptr; }

private:
    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;

    static const CwidgetBinding kBindings[];
    Cwidget* shipPos1_ = nullptr;
    Cwidget* shipPos2_ = nullptr;
    Cwidget* shipPos3_ = nullptr;
    Cwidget* spots_[3] = {};
    Cwidget* vessikUnlocked_ = nullptr;
    Cwidget* vornakUnlocked_ = nullptr;
    CdisplayShip ships_[3];
};
