#pragma once
// CunlockTBShipScreen: a special ship granted by a game over, announced on
// the way into the main menu. Each visit takes one pending ship.
#include <cstdint>

#include "screens/displayShip.h"
#include "screens/layoutScreen.h"

class CunlockTBShipScreen : public ClayoutScreen {
public:
    enum EspecialShip { SHIP_VESSIK = 0, SHIP_VORNAK = 1, SHIP_GOLD = 2 };
    static const char* shipName(int which);
    // The game's byte that holds the ship as earned and not yet announced.
    static uint8_t& pendingByte(int which);

    CunlockTBShipScreen();
    // The ship shown this visit.
    int prize() const { return prize_; }
    void render() override;

private:
    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;

    static const CwidgetBinding kBindings[];
    Cwidget* shipPos_ = nullptr;
    Cwidget* shipName_ = nullptr;
    Cwidget* congrats_ = nullptr;
    CdisplayShip display_;
    int prize_ = SHIP_GOLD;
};

// A special ship is waiting to be announced.
bool specialShipPending();
