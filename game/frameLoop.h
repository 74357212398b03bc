#pragma once
// CframeLoop: the main loop's frame function. Each pass draws when an update
// has happened since the last draw, pumps events, then runs fixed-length
// update periods while the game clock is behind real time. Each period is
// made of the engine's sub-steps: event pump, Cengine::update, Cgame::update,
// Cengine::endFrame.
#include <cstdint>
#include <functional>

class CframeLoop {
public:
    // More than this behind real time and the game clock jumps to the present.
    static constexpr double kMaxLagMs = 500.0;

    CframeLoop();

    // Real time in milliseconds; SDL's tick count unless a test drives it.
    std::function<double()> clock;

    // The game clock starts at the present.
    void start();
    // One pass. True when at least one update period ran.
    bool runPass();
    // One update period (all its sub-steps).
    void runPeriod();
    void draw();

    double periodMs() const;
    double gameClock() const { return gameClock_; }
    uint64_t periods() const { return periods_; }
    uint64_t skips() const { return skips_; }
    uint64_t draws() const { return draws_; }
    bool updatedSinceDraw() const { return updatedSinceDraw_; }

private:
    double gameClock_ = 0;
    uint64_t periods_ = 0, skips_ = 0, draws_ = 0;
    bool updatedSinceDraw_ = false;
};
