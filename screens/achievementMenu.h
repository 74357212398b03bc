#pragma once
// CachievementMenuScreen: the plain achievement menu; BACK returns to the
// main menu.
#include "screens/layoutScreen.h"

class CachievementMenuScreen : public ClayoutScreen {
public:
    CachievementMenuScreen();

private:
    void onEnter() override;
    void onUpdate() override;

    static const CwidgetBinding kBindings[];
    Cmenu* menu_ = nullptr;
};
