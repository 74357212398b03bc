#pragma once
// CcreditsScreen ("credits.txt"), state Credits: the scrolling list of who
// made the game, built on entry from "creditsList.txt". Back returns to
// the options menu.
#include "game/screenSlot.h"

class Cscreen;
class Cmenu;

class CcreditsScreen : public CscreenSlot {
public:
    bool load() override;
    void enter() override;
    void update() override;
    void render() override;
    Cscreen* screen() const { return screen_; }
    Cmenu* list() const { return list_; }

private:
    Cscreen* screen_ = nullptr;
    Cmenu* list_ = nullptr;
};
