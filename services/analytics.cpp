#include "services/analytics.h"

#include <cstdio>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/http.h"

Canalytics::Canalytics() = default;

Canalytics::~Canalytics() {
    sendTask_.join();
    queue_.clear();   // queued hits are dropped unsent at shutdown
}

std::string Canalytics::percentEncode(const std::string& text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (unsigned char c : text) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
            c == '-') {
            out.push_back((char)c);
        } else {
            char hex[4];
            snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        }
    }
    return out;
}

void Canalytics::setUserAgent(const std::string& text) {
    std::string enc = percentEncode(text);
    // Too long for its field: cut before a partial "%XX".
    if (enc.size() > kUserAgentField - 1) {
        size_t cut = kUserAgentField - 1;
        size_t pct = enc.rfind('%', cut);
        if (pct != std::string::npos && pct + 3 > cut) cut = pct;
        enc.resize(cut);
    }
    userAgent_ = enc;
    if (gEngine) gEngine->userAgent = userAgent_;
}

void Canalytics::setClientId(const std::string& uuid) { clientId_ = uuid.substr(0, kClientIdField - 1); }
void Canalytics::setTrackingId(const std::string& tid) { trackingId_ = tid.substr(0, kTrackingIdField - 1); }

bool Canalytics::off() const { return !gEngine || gEngine->analyticsOff; }

bool Canalytics::appendCommonFields(const char* hitType, std::string& payload) const {
    if (off() || clientId_.empty()) return false;
    payload += "v=1&t=";
    payload += hitType;
    payload += "&tid=" + trackingId_;
    payload += "&cid=" + clientId_;
    if (webMode_ == 0) {
        payload += "&an=" + gEngine->gameNameNoBlanks;
        payload += "&av=" + gEngine->versionText.substr(0, 5) + "-" + gEngine->platformText + "-" + gEngine->provider;
        payload += "&ds=app";
    } else {
        payload += "&ds=web";
    }
    if (!userAgent_.empty()) payload += "&ua=" + userAgent_;
    return true;
}

void Canalytics::enqueue(std::string payload) {
    bool signedIn = isSignedIn ? isSignedIn() : false;
    if (off() || !signedIn || clientId_.empty()) return;   // dropped, not held
    if (queue_.size() >= kMaxQueued) {
        queue_.pop_front();
        if (!droppedLogged_) {
            gEngine->log.print(LOG_L, "Analytics queue full: dropping the oldest hits");
            droppedLogged_ = true;
        }
    }
    queue_.push_back(std::move(payload));
}

void Canalytics::sendEvent(const char* category, const char* action, const char* label, int /*value*/) {
    if (off()) return;
    std::string p;
    if (!appendCommonFields("event", p)) return;
    p += "&ec=" + percentEncode(category ? category : "");
    p += "&ea=" + percentEncode(action ? action : "");
    p += "&el=" + percentEncode(label ? label : gEngine->countryCode);
    char ev[32];
    snprintf(ev, sizeof ev, "%lld", (long long)(playerId ? playerId() : 0));
    p += "&ev=";
    p += ev;
    enqueue(std::move(p));
}

void Canalytics::sendEventNumber(const char* category, float number) {
    char action[64];
    snprintf(action, sizeof action, "%.0f", number);
    sendEvent(category, action, nullptr, 0);
}

void Canalytics::sendScreenView(const char* name) {
    if (off()) return;
    std::string p;
    if (webMode_) {
        if (!appendCommonFields("pageview", p)) return;
        p += "&dt=" + percentEncode(gEngine->versionText + " - " + gEngine->platformText + " - " + gEngine->provider);
        p += "&dp=" + percentEncode(name ? name : "");
    } else {
        if (!appendCommonFields("screenview", p)) return;
        p += "&cd=" + percentEncode(name ? name : "");
    }
    enqueue(std::move(p));
}

void Canalytics::sendException(const std::string& text) {
    if (off()) return;
    std::string p;
    if (!appendCommonFields(webMode_ ? "event" : "exception", p)) return;
    if (webMode_) p += "&ec=ERROR&ea=" + percentEncode(text);
    else p += "&exd=" + percentEncode(text);
    sendNow(p);
}

void Canalytics::update() {
    if (off() || queue_.empty() || gEngine->anyTaskRunning()) return;
    sendTask_.join();
    sendBuffer_ = std::move(queue_.front());
    queue_.pop_front();
    sendTask_.start([this] {
        if (off()) return false;
        return post(sendBuffer_);
    });
}

bool Canalytics::sendNow(const std::string& payload) {
    if (off()) return false;
    return post(payload);
}

bool Canalytics::post(const std::string& payload) {
    if (endpoint_.empty()) return false;
    std::string host = endpoint_.find("://") == std::string::npos ? "https://" + endpoint_ : endpoint_;
    // httpPost logs its own failures below level 4, so a failed exception hit
    // cannot make another one.
    ChttpReply r = httpPost("POST", host, "/collect?", "", payload.data(), payload.size(), 5);
    return r.ok;
}
