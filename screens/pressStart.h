#pragma once
// CpressStartScreen: the title screen (PressStart). It waits for the first
// player to press Return, Space or a gamepad button, gives that player the
// device, checks the connection and the region, and moves on to the language
// choice, the region choice or the start-up sequence.
#include "game/screenSlot.h"

class Cscreen;
class Cwidget;

class CpressStartScreen : public CscreenSlot {
public:
    bool load() override;
    void enter() override;
    void update() override;
    void render() override;

    // The entry animation waits longer on the first visit of the run.
    static constexpr float kFirstVisitDelay = 1.5f;
    static constexpr float kLaterVisitDelay = 0.1f;
    static bool firstVisit;

    Cscreen* screen() const { return screen_; }

private:
    void startEntryAnimation();
    // After a keyboard or gamepad start: the connection, the region and the
    // language decide where the game goes next.
    void leave();
    bool anyButtonHighlighted() const;

    Cscreen* screen_ = nullptr;
    Cwidget* guid_ = nullptr;
    Cwidget* yourId_ = nullptr;
    Cwidget* options_ = nullptr;
    Cwidget* exit_ = nullptr;
    Cwidget* resetController_ = nullptr;
    Cwidget* useMouse_ = nullptr;
    Cwidget* mouseSprite_ = nullptr;
    Cwidget* useGamepad_ = nullptr;
    Cwidget* gamepadSprite_ = nullptr;
    Cwidget* gamepadSpritePS_ = nullptr;
    Cwidget* slash_ = nullptr;
};
