#pragma once
// CopenMicErrorScreen ("openMicError.txt"): the pop-up over the current
// screen when live audio capture cannot start. It shows the capture code's
// reason, closes with its close button, and its "Website" button opens the
// open-mic help page in the Steam overlay. It takes the music player's
// open-mic error hook when it loads.
#include <string>

#include "screens/layoutScreen.h"

class CopenMicErrorScreen : public ClayoutOverlay {
public:
    static constexpr const char* kHelpPage = "https://www.quillmarshgames.com/zorbex/open-mic-help.html";

    CopenMicErrorScreen();
    bool load() override;
    bool showing() const override { return showing_; }
    // Brings it up with a failure text; ignored while already showing.
    void showError(const std::string& reason);
    void update() override;
    void render() override;
    Cwidget* widget(const char* name) const;
    // Capture restarts that a screen explains itself show no pop-up.
    int quiet = 0;

private:
    static const CwidgetBinding kBindings[];
    bool showing_ = false;
    Cwidget* close_ = nullptr;
    Cwidget* website_ = nullptr;
    Cwidget* error_ = nullptr;
    Cwidget* message_ = nullptr;
};
