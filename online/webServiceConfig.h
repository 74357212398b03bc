#pragma once
// Where the k4w web service is and how long the client waits for it, read
// from "textFiles/webService.txt" in the data folder.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class Ck4wInFlight;

// Results of a web-service call: 0 done, positive codes are the service's own
// refusals, negative codes are the client's (transport or reply faults).
enum Ek4wResult : int {
    K4W_OK = 0,
    K4W_BAD_LOGIN = 1,        // unknown account or wrong password
    K4W_ACCOUNT_EXISTS = 2,   // nickname or e-mail already taken
    K4W_BAD_TOKEN = 3,        // the auth token is unknown or has expired
    K4W_NOT_FOUND = 4,
    K4W_BAD_REQUEST = 5,
    K4W_REFUSED = 6,
    K4W_NO_CONNECTION = -1,   // no endpoint could be reached
    K4W_TIMEOUT = -2,         // the service stalled longer than allowed
    K4W_BAD_REPLY = -3,       // the reply was not a valid answer
    K4W_SERVICE_OFF = -4,     // the off switch is set: nothing was sent
    K4W_NOT_STARTED = -5,     // the client has not been started
    K4W_NOT_SIGNED_IN = -6,
    K4W_ABORTED = -7,         // the game is quitting: the call was cut off
};

const char* k4wResultText(int code);

struct CwebServiceConfig {
    // "https" checks the service's certificate and host name; "http" is for
    // a service on this machine (no password goes over it to another host).
    std::string scheme = "https";
    std::string host = "k4w.quillmarshgames.invalid";
    int port = 443;
    std::string path = "/k4w";
    int startTimeout = 3;
    int connectTimeout = 5;
    int ioTimeout = 10;      // the whole of a request or a reply
    int stallTimeout = 5;    // between two bytes (and before the first)
    int retries = 1;
    uint64_t maxReply = 4u * 1024u * 1024u;
    static constexpr int64_t kMaxReplyCeiling = 1024 * 1024 * 1024;
    int fixedBoardTop = 50;
    int trackBoardTop = 10;
    int boardRefresh = 60;
    int rewardPlaces = 10;
    // A PEM file of the authorities to trust instead of the system's, for a
    // private service (relative to the data folder unless a full path).
    std::string caFile;

    // Reads "textFiles/webService.txt"; the defaults stay on a failure.
    bool load(const std::string& fileName = "webService.txt");
    bool parse(const char* text);
};

// The outcome of one call: a result code and a text to show or log.
struct Ck4wCallResult {
    int code = K4W_OK;
    std::string text;
    bool ok() const { return code == K4W_OK; }
};

// What one call needs to know of where and how long.
struct Ck4wSettings {
    std::vector<std::string> urls;   // in the order they are tried
    std::string caFile;              // https only; empty: the system's authorities
    int connectTimeout = 5;
    int ioTimeout = 10;
    int stallTimeout = 5;
    int retries = 1;
    uint64_t maxReply = 4u * 1024u * 1024u;
    Ck4wInFlight* inFlight = nullptr;   // where the call is watched, for quitting
};

// Whether a password may go to this service: over https always, over plain
// http only to this machine (a loopback address or "localhost").
bool k4wPasswordTransportSafe(const CwebServiceConfig& c);

// Told once per call its operation name, result and time taken. It is never
// given request contents, so no password can reach a log through it.
using Ck4wCallLog = std::function<void(const char* op, const Ck4wCallResult& r, int ms)>;
