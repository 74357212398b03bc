#pragma once
// CopenMicSettingsScreen ("openMicSetting.txt"), state OpenMicSettings: the
// capture source (desktop audio, line-in or microphone), its device, the
// level coming in and the device's format. Capture runs while the screen
// shows; it stops on leaving unless open mic was already the track.
#include "screens/layoutScreen.h"

class Cmenu;
class Cwidget;
struct CsongPackInfo;

class CopenMicSettingsScreen : public ClayoutScreen {
public:
    CopenMicSettingsScreen();

    // Opens the screen; Back (or Done) returns to returnState.
    void open(int returnState, bool transition = true);
    int source() const { return source_; }
    Cmenu* menu() const { return menu_; }
    Cwidget* widget(const char* name) const;

private:
    void onEnter() override;
    void onUpdate() override;
    bool onLoaded() override;
    static const CwidgetBinding kBindings[];
    void fillMenu(bool relayout);
    void setSourceButtons();
    void enableSource(Cwidget* w, bool on);
    void chooseSource(int source);
    void leave();
    Cmenu* menu_ = nullptr;
    Cwidget* help_ = nullptr;
    Cwidget* volume_ = nullptr;
    Cwidget* deviceText_ = nullptr;
    Cwidget* deviceInfo_ = nullptr;
    Cwidget* changeDevice_ = nullptr;
    Cwidget* desktop_ = nullptr;
    Cwidget* lineIn_ = nullptr;
    Cwidget* microphone_ = nullptr;
    Cwidget* buttons_[3] = {};
    int source_ = 0;
    int returnState_ = 4;
    bool wasOpenMic_ = false;
    CsongPackInfo* entryTrack_ = nullptr;
};
