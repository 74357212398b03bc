#include "support/localHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

namespace {
std::string lower(std::string s) {
    for (auto& c : s) c = (char)tolower((unsigned char)c);
    return s;
}

const char* reasonText(int status) {
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}
}  // namespace

ClocalHttpServer::ClocalHttpServer(Chandler handler) : handler_(std::move(handler)) {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (::bind(listenFd_, (sockaddr*)&addr, sizeof addr) != 0 || ::listen(listenFd_, 16) != 0) {
        ::close(listenFd_);
        listenFd_ = -1;
        return;
    }
    socklen_t len = sizeof addr;
    getsockname(listenFd_, (sockaddr*)&addr, &len);
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { run(); });
}

ClocalHttpServer::~ClocalHttpServer() { stop(); }

void ClocalHttpServer::stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (listenFd_ >= 0) ::close(listenFd_);
    listenFd_ = -1;
}

std::vector<ChttpRequest> ClocalHttpServer::requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

void ClocalHttpServer::clearRequests() {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.clear();
}

void ClocalHttpServer::run() {
    while (!stop_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        serve(fd);
        ::close(fd);
    }
}

void ClocalHttpServer::serve(int fd) {
    // One request per connection; enough for the clients under test.
    std::string data;
    char buf[8192];
    size_t headerEnd = std::string::npos;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    // Appends what comes next to into; false once the client is gone or slow.
    auto readMore = [&](std::string& into) {
        for (;;) {
            pollfd p{fd, POLLIN, 0};
            if (std::chrono::steady_clock::now() > deadline || ::poll(&p, 1, 100) < 0) return false;
            if (!(p.revents & POLLIN)) continue;
            ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n > 0) into.append(buf, (size_t)n);
            return n > 0;
        }
    };
    while (headerEnd == std::string::npos) {
        if (!readMore(data)) return;
        headerEnd = data.find("\r\n\r\n");
    }
    ChttpRequest req;
    std::string head = data.substr(0, headerEnd);
    size_t lineEnd = head.find("\r\n");
    std::string first = head.substr(0, lineEnd);
    size_t s1 = first.find(' '), s2 = first.rfind(' ');
    if (s1 == std::string::npos || s2 == s1) return;
    req.method = first.substr(0, s1);
    req.path = first.substr(s1 + 1, s2 - s1 - 1);
    req.version = first.substr(s2 + 1);
    size_t at = lineEnd == std::string::npos ? head.size() : lineEnd + 2;
    while (at < head.size()) {
        size_t e = head.find("\r\n", at);
        if (e == std::string::npos) e = head.size();
        std::string line = head.substr(at, e - at);
        size_t colon = line.find(':');
        if (colon != std::string::npos) {
            std::string value = line.substr(colon + 1);
            while (!value.empty() && value[0] == ' ') value.erase(0, 1);
            req.headers[lower(line.substr(0, colon))] = value;
        }
        at = e + 2;
    }
    size_t contentLength = 0;
    if (!req.header("content-length").empty()) contentLength = std::stoul(req.header("content-length"));
    req.body = data.substr(headerEnd + 4);
    if (lower(req.header("expect")) == "100-continue") {
        const char* cont = "HTTP/1.1 100 Continue\r\n\r\n";
        ::send(fd, cont, strlen(cont), MSG_NOSIGNAL);
    }
    while (req.body.size() < contentLength && readMore(req.body)) {
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(req);
    }
    ChttpResponse resp = handler_ ? handler_(req) : ChttpResponse{};
    if (resp.delayMs > 0) {
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(resp.delayMs);
        while (!stop_ && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::string out = "HTTP/1.1 " + std::to_string(resp.status) + " " + reasonText(resp.status) + "\r\n";
    out += "Content-Type: " + resp.contentType + "\r\n";
    out += "Content-Length: " + std::to_string(resp.body.size()) + "\r\n";
    for (auto& h : resp.extraHeaders) out += h.first + ": " + h.second + "\r\n";
    out += "Connection: close\r\n\r\n";
    out += resp.body;
    size_t sent = 0;
    while (sent < out.size()) {
        ssize_t n = ::send(fd, out.data() + sent, out.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;
        sent += (size_t)n;
    }
}
