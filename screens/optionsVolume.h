#pragma once
// CoptionsVolumeScreen ("optionsVolume.txt"), state OptionsVolume: music and
// effects volumes, graphics detail, the menu visualiser and automatic
// screenshots. Changes apply at once; cancel puts the entry values back.
#include "game/screenSlot.h"
#include "screens/menuRows.h"
#include "screens/optionsChoices.h"

class Cscreen;
class Cmenu;

class CoptionsVolumeScreen : public CscreenSlot {
public:
    static constexpr int kPreviewSlot = 1;   // the effects volume is heard on this sound

    bool load() override;
    void enter() override;
    void update() override;
    void render() override;

    Cscreen* screen() const { return screen_; }
    Cmenu* menu(int i) const { return menus_[i]; }
    enum { MUSIC = 0, EFFECTS, DETAIL, VISUALISER, AUTO_SHOTS, COUNT };

private:
    Cscreen* screen_ = nullptr;
    Cmenu* menus_[COUNT] = {};
    CmenuRows rows_;
    CvolumeChoice choice_;
};
