#pragma once
// CopenMicSettingsScreen ("openMicSetting.txt"), state OpenMicSettings: the
// capture source (desktop audio, line-in or microphone), its device, the
// level coming in and the device's format. Capture runs while the screen
// shows; it stops on leaving unless open mic was already the track.
#include "game/screenSlot.h"

class Cscreen;
class Cmenu;
class Cwidget;
struct CsongPackInfo;

class CopenMicSettingsScreen : public CscreenSlot {
public:
    bool load() override;
    void enter() override;
    void update() override;
    void render() override;

    void setReturnState(int state) { returnState_ = state; }
    int source() const { return source_; }
    Cscreen* screen() const { return screen_; }
    Cmenu* menu() const { return menu_; }
    Cwidget* widget(const char* name) const;

private:
    void fillMenu(bool relayout);
    void setSourceButtons();
    void enableSource(Cwidget* w, bool on);
    void chooseSource(int source);
    void leave();
    Cscreen* screen_ = nullptr;
    Cmenu* menu_ = nullptr;
    Cwidget* help_ = nullptr;
    Cwidget* volume_ = nullptr;
    Cwidget* deviceText_ = nullptr;
    Cwidget* deviceInfo_ = nullptr;
    Cwidget* changeDevice_ = nullptr;
    Cwidget* buttons_[3] = {};
    int source_ = 0;
    int returnState_ = 4;
    bool wasOpenMic_ = false;
    CsongPackInfo* entryTrack_ = nullptr;
};
