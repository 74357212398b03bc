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
}  // namespace

ClocalHttpServer::ClocalHttpServer(Chandler handler) : handler_(std::move(handler)) {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (::bind(listenFd_, (sockaddr*)&addr, sizeof addr) != 0 || ::listen(listenFd_, 16) != 0 ||
        getsockname(listenFd_, (sockaddr*)&addr, &len) != 0) {
        ::close(listenFd_);
        listenFd_ = -1;
        return;
    }
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

// One request per connection; enough for the clients under test.
void ClocalHttpServer::serve(int fd) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    // Appends what comes next to into; false once the client is gone or slow.
    auto readMore = [&](std::string& into) {
        char buf[8192];
        for (;;) {
            pollfd p{fd, POLLIN, 0};
            if (std::chrono::steady_clock::now() > deadline || ::poll(&p, 1, 100) < 0) return false;
            if (!(p.revents & POLLIN)) continue;
            ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n > 0) into.append(buf, (size_t)n);
            return n > 0;
        }
    };
    std::string data;
    size_t headerEnd;
    while ((headerEnd = data.find("\r\n\r\n")) == std::string::npos)
        if (!readMore(data)) return;
    ChttpRequest req;
    std::string head = data.substr(0, headerEnd) + "\r\n";
    size_t lineEnd = head.find("\r\n");
    std::string first = head.substr(0, lineEnd);
    size_t s1 = first.find(' '), s2 = first.rfind(' ');
    if (s1 == std::string::npos || s2 == s1) return;
    req.method = first.substr(0, s1);
    req.path = first.substr(s1 + 1, s2 - s1 - 1);
    for (size_t at = lineEnd + 2, e; (e = head.find("\r\n", at)) != std::string::npos; at = e + 2) {
        std::string line = head.substr(at, e - at);
        size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        size_t value = line.find_first_not_of(' ', colon + 1);
        req.headers[lower(line.substr(0, colon))] = value == std::string::npos ? "" : line.substr(value);
    }
    size_t contentLength = req.header("content-length").empty() ? 0 : std::stoul(req.header("content-length"));
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
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(resp.delayMs);
    while (!stop_ && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    // Clients read the code, never the reason text.
    std::string out = "HTTP/1.1 " + std::to_string(resp.status) + (resp.status == 200 ? " OK" : " Status") + "\r\n";
    out += "Content-Type: " + resp.contentType + "\r\nContent-Length: " + std::to_string(resp.body.size()) + "\r\n";
    for (auto& h : resp.extraHeaders) out += h.first + ": " + h.second + "\r\n";
    out += "Connection: close\r\n\r\n" + resp.body;
    for (size_t sent = 0; sent < out.size();) {
        ssize_t n = ::send(fd, out.data() + sent, out.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;
        sent += (size_t)n;
    }
}
