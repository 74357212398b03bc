#pragma once
// CoptionsVolumeScreen ("optionsVolume.txt"), state OptionsVolume: music and
// effects volumes, graphics detail, the menu visualiser and automatic
// screenshots. Changes apply at once; cancel puts the entry values back.
#include "screens/layoutScreen.h"
#include "screens/menuRows.h"
#include "screens/optionsChoices.h"

class Cmenu;

class CoptionsVolumeScreen : public ClayoutScreen {
public:
    static constexpr int kPreviewSlot = 1;   // the effects volume is heard on this sound

    CoptionsVolumeScreen();
    void update() override;

    Cmenu* menu(int i) const { return menus_[i]; }
    enum { MUSIC = 0, EFFECTS, DETAIL, VISUALISER, AUTO_SHOTS, COUNT };

private:
    void onEnter() override;
    void onUpdate() override;
    bool onLoaded() override;
    static const CwidgetBinding kBindings[];
    Cmenu* music_ = nullptr;
    Cmenu* sfx_ = nullptr;
    Cmenu* detail_ = nullptr;
    Cmenu* visualiser_ = nullptr;
    Cmenu* autoShots_ = nullptr;
    Cmenu* menus_[COUNT] = {};
    CmenuRows rows_;
    CvolumeChoice choice_;
};
