#pragma once
// CplaceholderScreen: the stand-in shown by every state whose screen is not
// built yet ("placeholder.txt"): the state's name and Back, so that a player
// is never stuck there. Back leads to the state it came from; from a state
// that can't be gone back to (loading, sign-in, play...) to the main menu,
// and from the main menu to the title.
#include "screens/layoutScreen.h"

class CplaceholderScreen : public ClayoutScreen {
public:
    CplaceholderScreen();
    // One stand-in serves many states: its layout is loaded once.
    bool load() override;
    // Where Back leads from the state showing now.
    int backState() const { return back_; }

private:
    void onEnter() override;
    void onUpdate() override;

    static const CwidgetBinding kBindings[];
    Cwidget* title_ = nullptr;
    int back_ = 0;
};
