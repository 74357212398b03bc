#pragma once
// CsetRezScreen ("setRez.txt"), state SetRez: the display, the window mode
// and the resolution. A change is stored and takes effect at the next start,
// so confirming one ends in the restart message.
#include "screens/layoutScreen.h"
#include "screens/rezChoice.h"

class Cwidget;

class CsetRezScreen : public ClayoutScreen {
public:
    static constexpr int kButtons = 10;
    static constexpr int kMaxDisplays = 3;

    CsetRezScreen();

    // Called for each mode the displays report.
    bool addResolution(int display, int width, int height) { return list_.addResolution(display, width, height); }
    void clearModes() { list_.clear(); }
    // Reads every display's modes into the list.
    void readDisplays();
    const CrezList& list() const { return list_; }
    const CrezChoice& choice() const { return choice_; }
    Cwidget* rezButton(int i) const { return rez_[i]; }
    Cwidget* modeButton(int m) const { return mode_[m]; }
    Cwidget* displayButton(int d) const { return display_[d]; }

private:
    void onEnter() override;
    void onUpdate() override;
    bool onLoaded() override;
    static const CwidgetBinding kBindings[];
    void showChoice();
    void confirm();
    Cwidget* rez_[kButtons] = {};
    Cwidget* windowed_ = nullptr;
    Cwidget* fullscreen_ = nullptr;
    Cwidget* borderless_ = nullptr;
    Cwidget* mode_[3] = {};
    Cwidget* display_[kMaxDisplays] = {};
    Cwidget* current_ = nullptr;
    int numDisplays_ = 1;
    bool nativeOnly_ = false;
    CrezList list_;
    CrezChoice choice_;
};
