#pragma once
// CloadingIndicator: "working" spinner with a text, shown while a task runs.
#include <string>

class CloadingIndicator {
public:
    void show(const std::string& text);
    void hide() { showing = false; }
    void update(float dt) { angle_ += dt * 360.0f; }
    void render();
    bool showing = false;
    std::string text;

private:
    float angle_ = 0;
};
