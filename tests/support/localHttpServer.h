#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for tests: one handler answers every
// request; requests are recorded for the test to inspect.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct ChttpRequest {
    std::string method, path;
    std::map<std::string, std::string> headers;   // names in lower case
    std::string body;
    std::string header(const std::string& lowerName) const {
        return headers.count(lowerName) ? headers.at(lowerName) : std::string();
    }
};

struct ChttpResponse {
    using Cheaders = std::vector<std::pair<std::string, std::string>>;
    ChttpResponse(int code = 200, std::string text = "", std::string type = "text/plain", Cheaders headers = {})
        : status(code), body(std::move(text)), contentType(std::move(type)), extraHeaders(std::move(headers)) {}
    int status;
    std::string body;
    std::string contentType;
    Cheaders extraHeaders;
    int delayMs = 0;   // wait before answering (for time-out tests)
};

// An answer the test holds back until it lets it go (or a minute passes): a
// call that comes back while it is held did not wait for the service. The
// server's handler calls waitTurn() before answering.
class CheldAnswer {
public:
    void hold() { set(true); }
    void letGo() { set(false); }
    void waitTurn() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(60), [this] { return !holding_; });
        ++answered_;
    }
    int answered() const { return answered_.load(); }

private:
    void set(bool on) {
        std::lock_guard<std::mutex> lock(mutex_);
        holding_ = on;
        changed_.notify_all();
    }
    std::mutex mutex_;
    std::condition_variable changed_;
    bool holding_ = false;
    std::atomic<int> answered_{0};
};

class ClocalHttpServer {
public:
    using Chandler = std::function<ChttpResponse(const ChttpRequest&)>;
    explicit ClocalHttpServer(Chandler handler);
    ~ClocalHttpServer();
    int port() const { return port_; }
    std::string hostPort() const { return "127.0.0.1:" + std::to_string(port_); }
    std::string url() const { return "http://" + hostPort(); }
    std::vector<ChttpRequest> requests() const;
    void clearRequests();   // a long-running server forgets what it was asked
    void stop();

private:
    void run();
    void serve(int fd);
    Chandler handler_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<ChttpRequest> requests_;
};
