#pragma once
// CoptionsScreen ("options.txt"), the Options state: the list of option
// screens. Back saves the settings and returns to the screen that opened it.
#include "screens/layoutScreen.h"

class Cmenu;
class Cwidget;

class CoptionsScreen : public ClayoutScreen {
public:
    CoptionsScreen();

    // Opens the screen; Back (or Done) returns to returnState.
    void open(int returnState, bool transition = true);
    int returnState() const { return returnState_; }
    Cmenu* menu() const { return menu_; }
    // Acts on a chosen item as a click on it would.
    void choose(int value);

private:
    void onEnter() override;
    void onUpdate() override;
    bool onLoaded() override;
    static const CwidgetBinding kBindings[];
    Cmenu* menu_ = nullptr;
    Cwidget* guid_ = nullptr;
    int returnState_ = 3;
    int lastChoice_ = -1;   // the item the player last chose here, selected again on their return
};
