#pragma once
// CgameTypeScreen, the GameType state ("gameType.txt"): the game type, the
// music source and, on touch screens, the stick scheme. OK goes on to the
// music browser, the radio browser or straight to the game settings.
#include "screens/layoutScreen.h"
#include "screens/menuColumns.h"

class CgameTypeScreen : public ClayoutScreen {
public:
    CgameTypeScreen();
    Cmenu* gameTypes() const { return gameType_; }
    Cmenu* musicSources() const { return musicSource_; }
    Cmenu* stickSchemes() const { return twinSticks_; }
    void update() override;

private:
    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;
    void confirm();

    static const CwidgetBinding kBindings[];
    Cmenu* gameType_ = nullptr;
    Cmenu* musicSource_ = nullptr;
    Cmenu* twinSticks_ = nullptr;
    CmenuColumns columns_;
};
