#pragma once
// CsetRezScreen ("setRez.txt"), state SetRez: the display, the window mode
// and the resolution. A change is stored and takes effect at the next start,
// so confirming one ends in the restart message.
#include "game/screenSlot.h"
#include "screens/rezChoice.h"

class Cscreen;
class Cwidget;

class CsetRezScreen : public CscreenSlot {
public:
    static constexpr int kButtons = 10;
    static constexpr int kMaxDisplays = 3;

    bool load() override;
    void enter() override;
    void update() override;
    void render() override;

    // Called for each mode the displays report.
    bool addResolution(int display, int width, int height) { return list_.addResolution(display, width, height); }
    void clearModes() { list_.clear(); }
    // Reads every display's modes into the list.
    void readDisplays();
    const CrezList& list() const { return list_; }
    const CrezChoice& choice() const { return choice_; }
    Cscreen* screen() const { return screen_; }
    Cwidget* rezButton(int i) const { return rez_[i]; }
    Cwidget* modeButton(int m) const { return mode_[m]; }
    Cwidget* displayButton(int d) const { return display_[d]; }

private:
    void showChoice();
    void confirm();
    Cscreen* screen_ = nullptr;
    Cwidget* rez_[kButtons] = {};
    Cwidget* mode_[3] = {};
    Cwidget* display_[kMaxDisplays] = {};
    Cwidget* current_ = nullptr;
    int numDisplays_ = 1;
    bool nativeOnly_ = false;
    CrezList list_;
    CrezChoice choice_;
};
