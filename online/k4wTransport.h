#pragma once
// One k4w operation over the generated gSOAP proxy: bounded waits, the
// endpoints tried in order (IPv4 first, then IPv6), retries of failed
// connections, and the outcome folded into one result code. Only the online
// client's sources include this header; nothing outside sees gSOAP types.
#include <sys/socket.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "k4wGenk4wBindingProxy.h"
#include "online/k4wInFlight.h"
#include "online/k4wSOAP.h"
#include "online/webServiceConfig.h"

// The endpoint URLs of a service. Plain http: the IPv4 addresses of host
// first, then IPv6. https: the host by name, which its certificate must carry.
std::vector<std::string> k4wResolveEndpoints(const std::string& scheme, const std::string& host, int port,
                                             const std::string& path);

void k4wConfigureSoap(struct soap* soap, const Ck4wSettings& s);
// The longest wait between two bytes of a call.
int k4wStallLimit(const Ck4wSettings& s);
// Logs a call made on the main thread (a frame would wait on it).
void k4wNoteThread(const char* op);

struct Ck4wSocketHooks {
    Ck4wInFlight* inFlight = nullptr;
    SOAP_SOCKET (*open)(struct soap*, const char*, const char*, int) = nullptr;
    int (*close)(struct soap*, SOAP_SOCKET) = nullptr;
    void* user = nullptr;
};

// Puts one call's gSOAP context under a Ck4wInFlight for its lifetime.
class Ck4wWatch {
public:
    Ck4wWatch(struct soap* soap, Ck4wInFlight* inFlight);
    ~Ck4wWatch();
    Ck4wWatch(const Ck4wWatch&) = delete;
    Ck4wWatch& operator=(const Ck4wWatch&) = delete;

private:
    struct soap* soap_;
    Ck4wSocketHooks hooks_;
};
// Sets up an https call: the service's certificate must be signed by a trusted
// authority (caFile, else the system's) and name the host. False with text.
bool k4wUseTls(struct soap* soap, const Ck4wSettings& s, std::string& error);
// Folds a gSOAP error into a result code and text; ms is how long the
// attempt took (an end of input is a time-out only when a wait between bytes
// ran out).
Ck4wCallResult k4wTransportFailure(struct soap* soap, int soapError, int ms, int stallLimit);

using k4wProxy = k4wGen::k4wBindingProxy;

// Runs one operation. consume(resp) reads the reply while its memory is
// alive and returns false when the reply does not make sense.
template <class Req, class Resp, class Consume>
Ck4wCallResult k4wCall(const Ck4wSettings& s, const char* op,
                       int (k4wProxy::*method)(const char*, const char*, Req*, Resp&), Req& req,
                       Consume&& consume, const Ck4wCallLog& log = {}) {
    auto t0 = std::chrono::steady_clock::now();
    k4wNoteThread(op);
    Ck4wCallResult r;
    r.code = K4W_NO_CONNECTION;
    r.text = k4wResultText(K4W_NO_CONNECTION);
    bool done = s.urls.empty();
    auto aborted = [&s] { return s.inFlight && s.inFlight->aborted(); };
    for (int attempt = 0; attempt <= s.retries && !done; ++attempt) {
        for (const std::string& url : s.urls) {
            if (aborted()) {
                r = {K4W_ABORTED, k4wResultText(K4W_ABORTED)};
                done = true;
                break;
            }
            k4wProxy proxy(SOAP_C_UTFSTRING);
            k4wConfigureSoap(proxy.soap, s);
            Ck4wWatch watch(proxy.soap, s.inFlight);
            std::string tlsError;
            if (url.rfind("https://", 0) == 0 && !k4wUseTls(proxy.soap, s, tlsError)) {
                r.code = K4W_NO_CONNECTION;
                r.text = std::string(k4wResultText(K4W_NO_CONNECTION)) + " (" + tlsError + ")";
                continue;
            }
            Resp resp;
            auto a0 = std::chrono::steady_clock::now();
            int err = (proxy.*method)(url.c_str(), nullptr, &req, resp);
            if (err == SOAP_OK) {
                r.code = resp.result;
                r.text = resp.errorText;
                if (r.code == K4W_OK && !consume(resp)) {
                    r.code = K4W_BAD_REPLY;
                    r.text = "Malformed reply";
                }
                done = true;
                break;
            }
            int ms = (int)std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - a0).count();
            r = k4wTransportFailure(proxy.soap, err, ms, k4wStallLimit(s));
            if (aborted()) r = {K4W_ABORTED, k4wResultText(K4W_ABORTED)};
            // Only a failed connection is worth another try: a stalled or
            // garbled service would only stall or garble again.
            if (r.code != K4W_NO_CONNECTION || aborted()) {
                done = true;
                break;
            }
        }
    }
    if (log) {
        int ms = (int)std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
        log(op, r, ms);
    }
    return r;
}

// One call that carries the session's auth token. A call refused for its
// token gets one fresh token and one more try.
template <class Req, class Resp, class Consume>
Ck4wCallResult k4wTokenCall(k4wSOAP& ws, const char* op,
                            int (k4wProxy::*method)(const char*, const char*, Req*, Resp&), Req& req,
                            Consume&& consume) {
    Ck4wSettings s;
    std::string token;
    int pre = ws.prepareCall(s, &token);
    if (pre != K4W_OK) {
        Ck4wCallResult r{pre, k4wResultText(pre)};
        ws.callLog()(op, r, 0);
        return r;
    }
    req.authToken = token;
    Ck4wCallResult r = k4wCall(s, op, method, req, consume, ws.callLog());
    if (r.code == K4W_BAD_TOKEN && ws.refreshToken()) {
        req.authToken = ws.authToken();
        r = k4wCall(s, op, method, req, consume, ws.callLog());
    }
    return r;
}
