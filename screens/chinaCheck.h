#pragma once
// CchinaCheckScreen, the ChinaCheck state ("chinaCheck.txt"): for players in
// the "CN" region, the choice between Steam services only and the web
// service as well. Either way the start-up sequence follows; when the web
// service can't start, the game plays with Steam services only.
#include "game/screenSlot.h"

class Cscreen;
class Cmenu;

class CchinaCheckScreen : public CscreenSlot {
public:
    enum { kPlayWithSteam = 0, kPlayWithWebService = 1 };

    bool load() override;
    void enter() override;
    void update() override;
    void render() override;
    void startLeave() override;
    bool hasLeft() const override;

    Cmenu* menu() const { return menu_; }
    // What choosing an item does (also for tests).
    void choose(int value);

private:
    Cscreen* screen_ = nullptr;
    Cmenu* menu_ = nullptr;
};
