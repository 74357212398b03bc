#pragma once
// Typed callback objects over CsteamCallbackBase.
//
// CsteamCallback registers itself for its payload's callback id when it is
// constructed and unregisters when it is destroyed. CsteamCallResult waits for
// one call handle at a time: setting a new call drops the one still pending.
#include "platform/steam/steamApi.h"

template <class Towner, class Tparam>
class CsteamCallback final : public CsteamCallbackBase {
public:
    using Chandler = void (Towner::*)(Tparam*);

    CsteamCallback(Towner* owner, Chandler handler) : owner_(owner), handler_(handler) {
        SteamAPI_RegisterCallback(this, Tparam::kCallbackId);
    }
    ~CsteamCallback() override {
        if (callbackFlags & kRegistered) SteamAPI_UnregisterCallback(this);
    }

    void Run(void* result, bool, SteamAPICall_t) override { Run(result); }
    void Run(void* result) override {
        if (owner_ && handler_) (owner_->*handler_)((Tparam*)result);
    }
    int GetCallbackSizeBytes() override { return (int)sizeof(Tparam); }

private:
    Towner* owner_;
    Chandler handler_;
};

template <class Towner, class Tparam>
class CsteamCallResult final : public CsteamCallbackBase {
public:
    using Chandler = void (Towner::*)(Tparam*, bool ioFailure);

    CsteamCallResult() { callbackId = Tparam::kCallbackId; }
    ~CsteamCallResult() override { cancel(); }

    // Waits for the result of call; a call still pending on this object is dropped.
    void set(SteamAPICall_t call, Towner* owner, Chandler handler) {
        cancel();
        if (call == kSteamCallInvalid) return;
        owner_ = owner;
        handler_ = handler;
        call_ = call;
        SteamAPI_RegisterCallResult(this, call);
    }
    void cancel() {
        if (call_ != kSteamCallInvalid) SteamAPI_UnregisterCallResult(this, call_);
        call_ = kSteamCallInvalid;
    }
    bool isActive() const { return call_ != kSteamCallInvalid; }
    SteamAPICall_t call() const { return call_; }

    void Run(void* result, bool ioFailure, SteamAPICall_t call) override {
        if (call != call_) return;
        call_ = kSteamCallInvalid;   // the client has already dropped the registration
        if (owner_ && handler_) (owner_->*handler_)((Tparam*)result, ioFailure);
    }
    void Run(void* result) override { Run(result, false, call_); }
    int GetCallbackSizeBytes() override { return (int)sizeof(Tparam); }

private:
    Towner* owner_ = nullptr;
    Chandler handler_ = nullptr;
    SteamAPICall_t call_ = kSteamCallInvalid;
};
