#pragma once
// CoptionsNotificationsScreen ("optionsNotifications.txt"), state
// OptionsNotifications: the e-mail address that hears of beaten scores.
#include <string>

#include "screens/layoutScreen.h"

class Cwidget;

class CoptionsNotificationsScreen : public ClayoutScreen {
public:
    CoptionsNotificationsScreen();

    // Opens the screen; Back (or Done) returns to returnState.
    void open(int returnState, bool transition = true);
    const std::string& address() const { return address_; }
    Cwidget* textBox() const { return box_; }

private:
    void onEnter() override;
    void onUpdate() override;
    static const CwidgetBinding kBindings[];
    void beginEntry();
    Cwidget* box_ = nullptr;
    std::string address_;
    bool typing_ = false;
    int returnState_ = 4;
};
