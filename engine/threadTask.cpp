#include "engine/threadTask.h"

#include <SDL.h>

#include "engine/engine.h"

CthreadTask::~CthreadTask() {
    join();
    if (gEngine) gEngine->removeTask(this);
}

bool CthreadTask::start(Cbody body, const std::string& name, const char* indicatorText) {
    if (!name.empty()) name_ = name;
    if (running_.load()) {
        gEngine->log.print(LOG_L, "Thread already running! %s", name_.c_str());
        if (gEngine->onCodeWarning) gEngine->onCodeWarning("Thread already running! " + name_);
        return false;
    }
    join();   // collect a finished thread before reusing the slot
    body_ = std::move(body);
    indicatorText_ = indicatorText ? indicatorText : "";
    started_ = true;
    finished_ = false;
    success_ = false;
    running_ = true;
    gEngine->addTask(this);
    thread_ = SDL_CreateThread(&CthreadTask::threadMain, name_.c_str(), this);
    if (!thread_) {
        gEngine->log.print(LOG_E, "Can't start thread %s: %s", name_.c_str(), SDL_GetError());
        running_ = false;
        finished_ = true;
        gEngine->removeTask(this);
        return false;
    }
    return true;
}

int CthreadTask::threadMain(void* self) {
    auto* task = (CthreadTask*)self;
    bool ok = false;
    if (task->kind_ == TASK_NETWORK) {
        ok = task->body_ ? task->body_() : false;
    } else {
        std::lock_guard<std::mutex> lock(gEngine->taskMutex());
        ok = task->body_ ? task->body_() : false;
    }
    task->success_ = ok;
    task->finished_ = true;
    task->running_ = false;
    gEngine->removeTask(task);
    return 0;
}

void CthreadTask::join() {
    if (thread_ && kind_ == TASK_NETWORK && running_.load() && gEngine && gEngine->isMainThread())
        gEngine->log.print(LOG_E, "Main thread waits for network task %s", name_.c_str());
    if (thread_) {
        SDL_WaitThread(thread_, nullptr);
        thread_ = nullptr;
    }
}

void CthreadTask::reset() {
    if (running_.load()) join();
    started_ = false;
    finished_ = false;
    success_ = false;
    if (gEngine) gEngine->removeTask(this);
}
