#pragma once
// A background task that runs until the test lets it go: while it runs the
// engine counts a task as running, so work that waits for a quiet moment
// (analytics hits leaving, the countdown's "1") stays put.
#include <SDL.h>

#include <atomic>

#include "engine/threadTask.h"

class CheldTask {
public:
    CheldTask() {
        task_.start([this] {
            while (!released_) SDL_Delay(1);
            return true;
        });
    }
    ~CheldTask() { release(); }
    CheldTask(const CheldTask&) = delete;
    CheldTask& operator=(const CheldTask&) = delete;

    void release() {
        released_ = true;
        task_.join();
        task_.reset();
    }

private:
    std::atomic<bool> released_{false};
    CthreadTask task_{"heldByTest"};
};
