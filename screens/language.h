#pragma once
// ClanguageScreen ("language.txt"), state Language: the languages offered,
// each with its flag. Choosing one loads its texts over the English ones;
// choosing the language in use only leaves.
#include "screens/layoutScreen.h"

class Cmenu;

class ClanguageScreen : public ClayoutScreen {
public:
    ClanguageScreen();

    // Where the screen goes once a language is chosen, and where Back leads.
    void open(int choiceState, int backState, bool transition = false);
    int choiceState() const { return choiceState_; }
    int backState() const { return backState_; }
    Cmenu* menu() const { return menu_; }
    // Switches to language n (saving and reporting it); false when n is the
    // language in use or not offered.
    static bool choose(int n);

    static constexpr float kFirstRunSeconds = 3.0f;

private:
    void onEnter() override;
    void onUpdate() override;
    static const CwidgetBinding kBindings[];
    Cmenu* menu_ = nullptr;
    int choiceState_ = 4;
    int backState_ = 4;
    float timer_ = 0;
};
