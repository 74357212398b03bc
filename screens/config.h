#pragma once
// CconfigScreen ("config.txt"), state Config: binds the game's actions to
// the keyboard or to one joystick, one prompt after another, calibrating a
// joystick's axes first, and stores the result as that device's mapping.
#include "screens/layoutScreen.h"
#include "screens/configFlow.h"

class Cmenu;
class Cwidget;

class CconfigScreen : public ClayoutScreen {
public:
    CconfigScreen();

    // What the opener hands over: the device (keyboard or joystick slot) and
    // the states to go to when done and on Escape.
    void open(int device, int joystick, int doneState, int escapeState, bool transition = true);
    const CconfigFlow& flow() const { return flow_; }
    Cmenu* axisMenu() const { return axisMenu_; }
    Cwidget* widget(const char* name) const;

private:
    void onEnter() override;
    void onUpdate() override;
    static const CwidgetBinding kBindings[];
    void refreshPrompt();
    // The input player whose device is being set up.
    int configuringPlayer() const;
    void finish();
    Cmenu* axisMenu_ = nullptr;
    Cwidget* message_ = nullptr;
    Cwidget* sprite_ = nullptr;
    Cwidget* escape_ = nullptr;
    Cwidget* title_ = nullptr;
    CconfigFlow flow_;
    bool okAdded_ = false;
};
