#pragma once
// Canalytics: usage hits (events, exceptions, screen views) built as URL-query
// text, queued, and posted one at a time on a background task.
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>

#include "engine/threadTask.h"

class Canalytics {
public:
    static constexpr size_t kMaxQueued = 256;
    static constexpr size_t kUserAgentField = 1024;
    static constexpr size_t kClientIdField = 40;
    static constexpr size_t kTrackingIdField = 52;

    Canalytics();
    ~Canalytics();

    // Percent-encodes the browser user agent (bytes outside a-z A-Z 0-9 . _ -
    // become "%XX"); the encoded text is also the agent name of every HTTP request.
    void setUserAgent(const std::string& text);
    void setClientId(const std::string& uuid);
    void setTrackingId(const std::string& tid);
    // The collection endpoint: "host" (https) or "scheme://host:port". Empty sends nothing.
    void setEndpoint(const std::string& hostOrUrl) { endpoint_ = hostOrUrl; }
    void setWebMode(bool web) { webMode_ = web ? 1 : 0; }

    void sendEvent(const char* category, const char* action, const char* label, int value = 0);
    void sendEventNumber(const char* category, float number);
    void sendException(const std::string& text);
    void sendScreenView(const char* name);
    // Moves one queued hit to the send task when no background task runs.
    void update();
    bool sendNow(const std::string& payload);

    size_t queued() const { return queue_.size(); }
    const std::string& queuedPayload(size_t i) const { return queue_[i]; }
    const std::string& userAgent() const { return userAgent_; }
    const std::string& clientId() const { return clientId_; }
    CthreadTask& sendTask() { return sendTask_; }

    // The web-service session the hits read (signed-in byte, player id).
    std::function<bool()> isSignedIn;
    std::function<int64_t()> playerId;

private:
    bool off() const;
    bool appendCommonFields(const char* hitType, std::string& payload) const;
    void enqueue(std::string payload);
    bool post(const std::string& payload);

    uint8_t webMode_ = 0;
    CthreadTask sendTask_{"sendPayload"};
    std::deque<std::string> queue_;
    std::string clientId_, userAgent_, trackingId_, endpoint_;
    std::string sendBuffer_;
    bool droppedLogged_ = false;
};
