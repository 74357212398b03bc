#pragma once
// CwarningOverlay: a title, a message and an "OK" button over any screen.
#include <string>

#include "engine/render/drawList.h"

class Cscreen;
class Cwidget;

class CwarningOverlay {
public:
    bool load();   // "warningOverlay.txt"
    // Brings the warning up with its title and message.
    void show(const std::string& title, const std::string& message);
    void setTitle(const char* text);
    void setMessage(const char* text);
    void setVisible(bool v);
    void update();
    void render();
    bool visible = false;
    bool fading() const { return fade_ != nullptr; }
    Cscreen* screen() const { return screen_; }

private:
    Cscreen* screen_ = nullptr;
    Cwidget* message_ = nullptr;
    Cwidget* title_ = nullptr;
    Cwidget* ok_ = nullptr;
    CdrawSpritePtr fade_;   // on gEngine->drawList while it runs
};
