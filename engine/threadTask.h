#pragma once
// CthreadTask: a named background task on its own SDL thread. Local task
// bodies (disk, audio) run under the one engine task mutex, so at most one of
// them runs at a time; network task bodies run beside them, so a stalled
// service never holds up a save. The main thread polls started(), finished()
// and success().
#include <atomic>
#include <functional>
#include <string>

struct SDL_Thread;

class CthreadTask {
public:
    using Cbody = std::function<bool()>;   // returns success
    enum Ekind { TASK_LOCAL, TASK_NETWORK };

    CthreadTask() = default;
    explicit CthreadTask(std::string name, Ekind kind = TASK_LOCAL) : name_(std::move(name)), kind_(kind) {}
    ~CthreadTask();
    CthreadTask(const CthreadTask&) = delete;
    CthreadTask& operator=(const CthreadTask&) = delete;

    // Starts the body on its own thread; refuses while this task runs
    // ("Thread already running! %s"). indicatorText, when given, is shown by
    // the loading indicator while the task runs.
    bool start(Cbody body, const std::string& name = {}, const char* indicatorText = nullptr);
    // Blocks until the thread has ended (for shutdown and tests). The main
    // thread waiting for a network task that still runs is logged: no frame
    // should ever wait on the network.
    void join();
    // Clears the flags and result and drops the task from the engine's list.
    void reset();

    bool running() const { return running_.load(); }
    bool started() const { return started_.load(); }
    bool finished() const { return finished_.load(); }
    bool success() const { return success_.load(); }
    const std::string& name() const { return name_; }
    Ekind kind() const { return kind_; }
    bool showsIndicator() const { return !indicatorText_.empty(); }
    const std::string& indicatorText() const { return indicatorText_; }

private:
    static int threadMain(void* self);
    std::string name_;
    Ekind kind_ = TASK_LOCAL;
    std::string indicatorText_;
    Cbody body_;
    SDL_Thread* thread_ = nullptr;
    std::atomic<bool> running_{false}, started_{false}, finished_{false}, success_{false};
};
