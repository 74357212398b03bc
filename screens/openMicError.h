#pragma once
// CopenMicErrorScreen ("openMicError.txt"): the pop-up over the current
// screen when live audio capture cannot start. It shows the capture code's
// reason, closes with its close button, and its "Website" button opens the
// open-mic help page in the Steam overlay.
#include <string>

#include "game/screenSlot.h"

class Cscreen;
class Cwidget;

class CopenMicErrorScreen : public CoverlaySlot {
public:
    static constexpr const char* kHelpPage = "https://www.quillmarshgames.com/zorbex/open-mic-help.html";

    bool load() override;
    bool showing() const override { return showing_; }
    // Brings it up with a failure text; ignored while already showing.
    void showError(const std::string& reason);
    void update() override;
    void render() override;
    Cscreen* screen() const { return screen_; }
    Cwidget* widget(const char* name) const;
    // Capture restarts that a screen handles itself show no pop-up.
    int quiet = 0;

private:
    bool showing_ = false;
    Cscreen* screen_ = nullptr;
    Cwidget* close_ = nullptr;
    Cwidget* website_ = nullptr;
    Cwidget* error_ = nullptr;
    Cwidget* message_ = nullptr;
};
