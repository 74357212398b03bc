#include "online/serviceCall.h"

#include <SDL.h>

#include <algorithm>

#include "engine/engine.h"

std::function<uint64_t()> CserviceCall::clock;

EcallFailure callFailureOf(int code) {
    switch (code) {
        case K4W_OK: return CALL_NO_FAILURE;
        case K4W_NO_CONNECTION:
        case K4W_SERVICE_OFF:
        case K4W_NOT_STARTED:
        case K4W_ABORTED: return CALL_UNREACHABLE;
        case K4W_TIMEOUT: return CALL_TIMED_OUT;
        case K4W_BAD_REPLY: return CALL_BAD_REPLY;
        default: return CALL_REFUSED;   // the service's own refusals
    }
}

const char* callFailureName(EcallFailure f) {
    switch (f) {
        case CALL_UNREACHABLE: return "unreachable";
        case CALL_TIMED_OUT: return "timed out";
        case CALL_REFUSED: return "refused";
        case CALL_BAD_REPLY: return "bad reply";
        default: return "none";
    }
}

const char* callFailureTag(EcallFailure f) {
    switch (f) {
        case CALL_TIMED_OUT: return "ServiceTimedOut";
        case CALL_REFUSED: return "ServiceRefused";
        case CALL_BAD_REPLY: return "ServiceBadReply";
        default: return "ServiceUnreachable";
    }
}

namespace {
uint64_t nowMs() { return CserviceCall::clock ? CserviceCall::clock() : SDL_GetTicks64(); }
}  // namespace

CserviceCall::CserviceCall(std::string name) : name_(std::move(name)) {}

CserviceCall::~CserviceCall() { joinAll(); }

void CserviceCall::joinAll() {
    if (task_) task_->join();
    for (auto& t : dropped_) t->join();
}

bool CserviceCall::ask(Cbody body, uint32_t limitMs) {
    if (state_ == CALL_PENDING) drop();
    reap();
    auto outcome = std::make_shared<Coutcome>();
    auto task = std::make_unique<CthreadTask>(name_, CthreadTask::TASK_NETWORK);
    // The body writes only into its own outcome: a dropped call's late reply
    // lands where nobody reads it.
    bool started = task->start([outcome, body = std::move(body)] {
        outcome->result = body();
        return outcome->result.ok();
    });
    if (!started) {
        state_ = CALL_FAILED;
        result_ = {K4W_NO_CONNECTION, "no thread for the call"};
        failure_ = CALL_UNREACHABLE;
        return false;
    }
    task_ = std::move(task);
    outcome_ = std::move(outcome);
    state_ = CALL_PENDING;
    failure_ = CALL_NO_FAILURE;
    result_ = {};
    deadline_ = limitMs ? nowMs() + limitMs : 0;
    return true;
}

EcallState CserviceCall::poll() {
    reap();
    if (state_ != CALL_PENDING) return state_;
    if (task_->finished()) {
        task_->join();
        result_ = outcome_->result;
        task_.reset();
        outcome_.reset();
        failure_ = callFailureOf(result_.code);
        state_ = result_.ok() ? CALL_DONE : CALL_FAILED;
        return state_;
    }
    if (deadline_ && nowMs() >= deadline_) {
        // The transport's own limits should have ended it; it is not waited for.
        gEngine->log.print(LOG_L, "k4w %s: no answer in time, dropped", name_.c_str());
        dropped_.push_back(std::move(task_));
        outcome_.reset();
        result_ = {K4W_TIMEOUT, k4wResultText(K4W_TIMEOUT)};
        failure_ = CALL_TIMED_OUT;
        state_ = CALL_FAILED;
    }
    return state_;
}

void CserviceCall::drop() {
    if (task_) {
        if (task_->finished()) task_->join();
        else dropped_.push_back(std::move(task_));
    }
    task_.reset();
    outcome_.reset();
    state_ = CALL_IDLE;
    failure_ = CALL_NO_FAILURE;
    result_ = {};
}

void CserviceCall::reap() {
    // A finished thread is joined at once; running ones are left alone.
    dropped_.erase(std::remove_if(dropped_.begin(), dropped_.end(),
                                  [](const std::unique_ptr<CthreadTask>& t) {
                                      if (!t->finished()) return false;
                                      t->join();
                                      return true;
                                  }),
                   dropped_.end());
}

size_t CserviceCall::leftBehind() const {
    size_t n = 0;
    for (const auto& t : dropped_) n += t->finished() ? 0 : 1;
    return n;
}
