#pragma once
// CoptionsNotificationsScreen ("optionsNotifications.txt"), state
// OptionsNotifications: the e-mail address that hears of beaten scores.
#include <string>

#include "game/screenSlot.h"

class Cscreen;
class Cwidget;

class CoptionsNotificationsScreen : public CscreenSlot {
public:
    bool load() override;
    void enter() override;
    void update() override;
    void render() override;

    void setReturnState(int state) { returnState_ = state; }
    const std::string& address() const { return address_; }
    Cscreen* screen() const { return screen_; }
    Cwidget* textBox() const { return box_; }

private:
    void beginEntry();
    Cscreen* screen_ = nullptr;
    Cwidget* box_ = nullptr;
    std::string address_;
    bool typing_ = false;
    int returnState_ = 4;
};
