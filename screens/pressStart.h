#pragma once
// CpressStartScreen: the title screen (PressStart). It waits for the first
// player to press Return, Space or a gamepad button, gives that player the
// device, checks the connection and the region, and moves on to the language
// choice, the region choice or the start-up sequence.
#include "screens/layoutScreen.h"

class CpressStartScreen : public ClayoutScreen {
public:
    CpressStartScreen();
    void render() override;

    // The entry animation waits longer on the first visit of the run.
    static constexpr float kFirstVisitDelay = 1.5f;
    static constexpr float kLaterVisitDelay = 0.1f;
    static bool firstVisit;

private:
    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;
    void startEntryAnimation();
    // After a keyboard or gamepad start: the connection, the region and the
    // language decide where the game goes next. The service is asked beside
    // the frame loop; stepConnecting polls it until it answered or failed.
    void leave();
    void stepConnecting();
    void goOn();
    bool anyButtonHighlighted() const;

    static const CwidgetBinding kBindings[];
    Cwidget* guid_ = nullptr;
    Cwidget* yourId_ = nullptr;
    Cwidget* options_ = nullptr;
    Cwidget* exit_ = nullptr;
    Cwidget* resetController_ = nullptr;
    bool exitAsked_ = false;   // the exit question was asked from here
    bool connecting_ = false;  // started: waiting for the service's first answer
};
