#pragma once
// CserviceCall: one question a screen puts to the web service, answered
// beside the frame loop. The screen polls it once per update and reads
// pending, done, or failed with the reason. A screen that leaves drops its
// call: nothing waits for the call's thread, and its late reply is thrown
// away. A call still pending after its time limit counts as timed out.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/threadTask.h"
#include "online/webServiceConfig.h"

enum EcallState { CALL_IDLE, CALL_PENDING, CALL_DONE, CALL_FAILED };
enum EcallFailure { CALL_NO_FAILURE, CALL_UNREACHABLE, CALL_TIMED_OUT, CALL_REFUSED, CALL_BAD_REPLY };

// Why a k4w result code failed, as the player is told.
EcallFailure callFailureOf(int k4wCode);
// "unreachable", "timed out", "refused", "bad reply" (for the log).
const char* callFailureName(EcallFailure f);
// The string-table tag of the player's message for a failure.
const char* callFailureTag(EcallFailure f);

class CserviceCall {
public:
    using Cbody = std::function<Ck4wCallResult()>;

    explicit CserviceCall(std::string name);
    // Threads still running end on their own first (quitting aborts the
    // transport, so they end at once).
    ~CserviceCall();
    CserviceCall(const CserviceCall&) = delete;
    CserviceCall& operator=(const CserviceCall&) = delete;

    // Runs body on its own thread; a call still pending is dropped first.
    // After limitMs the call counts as timed out (0: no limit of its own).
    bool ask(Cbody body, uint32_t limitMs);
    // Main thread, once per update: takes a finished reply.
    EcallState poll();
    EcallState state() const { return state_; }
    bool pending() const { return state_ == CALL_PENDING; }
    EcallFailure failure() const { return failure_; }
    // The reply's code and text (the details, for the log).
    const Ck4wCallResult& result() const { return result_; }
    // The asker is gone or has read the answer: back to idle. A reply still
    // to come is thrown away when it arrives.
    void drop();
    const std::string& name() const { return name_; }
    // Threads of dropped calls that still run.
    size_t leftBehind() const;
    // Waits for every thread of this call: only when its owner goes, after
    // the transport was aborted.
    void joinAll();

    // Milliseconds; SDL's tick count unless a test sets it.
    static std::function<uint64_t()> clock;

private:
    struct Coutcome {
        Ck4wCallResult result;
    };
    void reap();
    std::string name_;
    std::unique_ptr<CthreadTask> task_;
    std::shared_ptr<Coutcome> outcome_;
    std::vector<std::unique_ptr<CthreadTask>> dropped_;
    EcallState state_ = CALL_IDLE;
    EcallFailure failure_ = CALL_NO_FAILURE;
    Ck4wCallResult result_;
    uint64_t deadline_ = 0;
};
