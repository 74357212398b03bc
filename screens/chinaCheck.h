#pragma once
// CchinaCheckScreen, the ChinaCheck state ("chinaCheck.txt"): for players in
// the "CN" region, the choice between Steam services only and the web
// service as well. Either way the start-up sequence follows; when the web
// service can't start, the game plays with Steam services only.
#include "screens/layoutScreen.h"

class CchinaCheckScreen : public ClayoutScreen {
public:
    enum { kPlayWithSteam = 0, kPlayWithWebService = 1 };

    CchinaCheckScreen();
    Cmenu* menu() const { return menu_; }
    // What choosing an item does (also for tests).
    void choose(int value);

private:
    void onEnter() override;
    void onUpdate() override;
    // The web service chosen: its first answer, or why there was none.
    void started(bool ok);

    static const CwidgetBinding kBindings[];
    Cmenu* menu_ = nullptr;
    bool connecting_ = false;   // the client is being started beside the frame loop
};
