#pragma once
// ClanguageChoice, the Language state, until its screen exists: English, the
// one language the data folder holds, is chosen at once and the game goes on
// to the state it was opened for.
#include "game/gameModes.h"
#include "game/screenSlot.h"

class ClanguageChoice : public CscreenSlot {
public:
    // Shows the choice: choiceState follows once a language is chosen,
    // backState is where Back leads.
    void open(int choiceState, int backState);
    void enter() override;

    int choiceState() const { return choiceState_; }
    int backState() const { return backState_; }

private:
    int choiceState_ = GM_START_UP;
    int backState_ = GM_PRESS_START;
};
