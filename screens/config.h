#pragma once
// CconfigScreen ("config.txt"), state Config: binds the game's actions to
// the keyboard or to one joystick, one prompt after another, calibrating a
// joystick's axes first, and stores the result as that device's mapping.
#include "game/screenSlot.h"
#include "screens/configFlow.h"

class Cscreen;
class Cmenu;
class Cwidget;

class CconfigScreen : public CscreenSlot {
public:
    bool load() override;
    void enter() override;
    void update() override;
    void render() override;

    // What the opener hands over: the device (keyboard or joystick slot) and
    // the states to go to when done and on Escape.
    void open(int device, int joystick, int doneState, int escapeState);
    const CconfigFlow& flow() const { return flow_; }
    Cscreen* screen() const { return screen_; }
    Cmenu* axisMenu() const { return axisMenu_; }
    Cwidget* widget(const char* name) const;

private:
    void refreshPrompt();
    void finish();
    Cscreen* screen_ = nullptr;
    Cmenu* axisMenu_ = nullptr;
    Cwidget* message_ = nullptr;
    Cwidget* sprite_ = nullptr;
    Cwidget* escape_ = nullptr;
    Cwidget* title_ = nullptr;
    CconfigFlow flow_;
    bool okAdded_ = false;
};
