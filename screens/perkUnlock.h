#pragma once
// CperkUnlockScreen: after a rank-up, the player picks which locked perks
// become available, one per rank gained, then goes on to the track's ship
// offer or the main menu.
#include "screens/layoutScreen.h"

class CperkUnlockScreen : public ClayoutScreen {
public:
    CperkUnlockScreen();

    // Enters the screen with the number of perks to unlock.
    void open(int perksToUnlock);
    int numToUnlock() const { return numToUnlock_; }
    Cmenu* menu() const { return menu_; }

private:
    void onEnter() override;
    void onUpdate() override;
    void buildList();
    void goOn();

    static const CwidgetBinding kBindings[];
    Cmenu* menu_ = nullptr;
    Cwidget* numToUnlockText_ = nullptr;
    int numToUnlock_ = 0;
    bool leaving_ = false;
};
