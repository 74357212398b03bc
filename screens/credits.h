#pragma once
// CcreditsScreen ("credits.txt"), state Credits: the scrolling list of who
// made the game, built on entry from "creditsList.txt". Back returns to
// the options menu.
#include "screens/layoutScreen.h"

class Cmenu;

class CcreditsScreen : public ClayoutScreen {
public:
    CcreditsScreen();
    Cmenu* list() const { return list_; }

private:
    void onEnter() override;
    void onUpdate() override;
    static const CwidgetBinding kBindings[];
    Cmenu* list_ = nullptr;
};
