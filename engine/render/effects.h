#pragma once
// Screen-wide effects: the screen shake, the screen flash and the error overlay.
#include <string>
#include <vector>

#include "engine/maths.h"

class CscreenShake {
public:
    // Starts a shake of rate 1/duration at level 1 with at least the given
    // strength; a running shake keeps the longer duration. Off when the
    // engine runs two or more sub-steps.
    void start(float duration, float strength);
    void update(float dt);
    void stop();
    bool running() const { return level > 0; }
    // The offset to draw the scene with this frame, in pixels.
    Cvec2 offset() const { return offset_; }

    float level = 0;
    float rate = 0;
    float strength = 0;

private:
    Cvec2 offset_;
};

// A full-window flash that fades away (screen transitions).
class CscreenFlash {
public:
    void start(const Ccolour& colour, float duration);
    void update(float dt);
    void draw();
    bool running() const { return level_ > 0; }

private:
    Ccolour colour_;
    float level_ = 0, rate_ = 0;
};

// The last error lines, shown over the frame for a while.
class CerrorOverlay {
public:
    static constexpr int kMaxLines = 6;
    void add(const std::string& text, float seconds = 8);
    void update(float dt);
    void draw();
    void clear() { lines_.clear(); }
    size_t count() const { return lines_.size(); }

private:
    struct Cline {
        std::string text;
        float timeLeft;
    };
    std::vector<Cline> lines_;
};
