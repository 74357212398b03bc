#include "online/k4wTransport.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

#include "engine/engine.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>

#include <cstring>
#include <mutex>

std::vector<std::string> k4wResolveEndpoints(const std::string& scheme, const std::string& host, int port,
                                             const std::string& path) {
    std::vector<std::string> urls;
    if (scheme == "https") {
        // The certificate is checked against the name in the URL, so the
        // name stays; the socket layer tries its addresses in turn.
        std::string name = host.find(':') != std::string::npos ? "[" + host + "]" : host;
        urls.push_back("https://" + name + ":" + std::to_string(port) + path);
        return urls;
    }
    for (int family : {AF_INET, AF_INET6}) {
        addrinfo hints{};
        hints.ai_family = family;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* list = nullptr;
        if (getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0) continue;
        for (addrinfo* a = list; a; a = a->ai_next) {
            char text[INET6_ADDRSTRLEN] = {0};
            std::string url;
            if (a->ai_family == AF_INET) {
                inet_ntop(AF_INET, &((sockaddr_in*)a->ai_addr)->sin_addr, text, sizeof text);
                url = "http://" + std::string(text) + ":" + std::to_string(port) + path;
            } else if (a->ai_family == AF_INET6) {
                inet_ntop(AF_INET6, &((sockaddr_in6*)a->ai_addr)->sin6_addr, text, sizeof text);
                url = "http://[" + std::string(text) + "]:" + std::to_string(port) + path;
            } else {
                continue;
            }
            bool seen = false;
            for (const auto& u : urls) seen = seen || u == url;
            if (!seen) urls.push_back(url);
        }
        freeaddrinfo(list);
    }
    return urls;
}

int k4wStallLimit(const Ck4wSettings& s) { return std::max(1, std::min(s.stallTimeout, s.ioTimeout)); }

namespace {

// The socket hooks that let Ck4wInFlight see and cut a call's connection.
SOAP_SOCKET watchedOpen(struct soap* soap, const char* endpoint, const char* host, int port) {
    auto* hooks = (Ck4wSocketHooks*)soap->user;
    SOAP_SOCKET fd = hooks->open(soap, endpoint, host, port);
    if (soap_valid_socket(fd)) hooks->inFlight->connected(soap, (int)fd);
    return fd;
}

int watchedClose(struct soap* soap, SOAP_SOCKET fd) {
    auto* hooks = (Ck4wSocketHooks*)soap->user;
    return hooks->inFlight->closeSocket(soap, (int)fd);
}

}  // namespace

Ck4wWatch::Ck4wWatch(struct soap* soap, Ck4wInFlight* inFlight) : soap_(soap) {
    if (!inFlight) return;
    hooks_.inFlight = inFlight;
    hooks_.open = soap->fopen;
    hooks_.close = soap->fclosesocket;
    hooks_.user = soap->user;
    soap->user = &hooks_;
    soap->fopen = watchedOpen;
    soap->fclosesocket = watchedClose;
    inFlight->add(soap);
}

Ck4wWatch::~Ck4wWatch() {
    if (!hooks_.inFlight) return;
    hooks_.inFlight->remove(soap_);
    // The context outlives the watch: it closes what is left on its own.
    soap_->fopen = hooks_.open;
    soap_->fclosesocket = hooks_.close;
    soap_->user = hooks_.user;
}

void Ck4wInFlight::add(struct soap* soap) {
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.push_back({soap, -1});
}

void Ck4wInFlight::remove(struct soap* soap) {
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.erase(std::remove_if(calls_.begin(), calls_.end(), [soap](const Centry& e) { return e.soap == soap; }),
                 calls_.end());
}

void Ck4wInFlight::connected(struct soap* soap, int fd) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (Centry& e : calls_)
        if (e.soap == soap) e.fd = fd;
    if (aborted_) shutdown(fd, SHUT_RDWR);
}

int Ck4wInFlight::closeSocket(struct soap* soap, int fd) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (Centry& e : calls_)
        if (e.soap == soap && e.fd == fd) e.fd = -1;
    return close(fd) == 0 ? SOAP_OK : SOAP_EOF;
}

void Ck4wInFlight::abort() {
    std::lock_guard<std::mutex> lock(mutex_);
    aborted_ = true;
    // A shut socket wakes its reader at once with an end of input.
    for (const Centry& e : calls_)
        if (e.fd >= 0) shutdown(e.fd, SHUT_RDWR);
}

void k4wNoteThread(const char* op) {
    // Every call belongs beside the frame loop; one made by a frame would
    // hold that frame for as long as the service takes.
    if (gEngine && gEngine->isMainThread()) gEngine->log.print(LOG_L, "k4w %s called on the main thread", op);
}

void k4wConfigureSoap(struct soap* soap, const Ck4wSettings& s) {
    soap->connect_timeout = s.connectTimeout;
    // Between two bytes, and before the first: a service that trickles its
    // answer is cut off at the first long gap; the whole of a request or a
    // reply has its own limit.
    soap->send_timeout = k4wStallLimit(s);
    soap->recv_timeout = k4wStallLimit(s);
    soap->transfer_timeout = s.ioTimeout;
    soap->recv_maxlength = s.maxReply;
    soap->maxlength = (long)s.maxReply;
    soap->maxoccurs = 100000;
    soap->socket_flags = MSG_NOSIGNAL;
}

bool k4wUseTls(struct soap* soap, const Ck4wSettings& s, std::string& error) {
    static std::once_flag once;
    std::call_once(once, [] { soap_ssl_init(); });
    // A CA file of our own replaces the system's authorities.
    unsigned short flags = SOAP_SSL_REQUIRE_SERVER_AUTHENTICATION | SOAP_TLSv1_2 | SOAP_TLSv1_3;
    if (!s.caFile.empty()) flags |= SOAP_SSL_NO_DEFAULT_CA_PATH;
    if (soap_ssl_client_context(soap, flags, nullptr, nullptr, s.caFile.empty() ? nullptr : s.caFile.c_str(), nullptr,
                                nullptr) != SOAP_OK) {
        char detail[256] = {0};
        soap_sprint_fault(soap, detail, sizeof detail);
        for (char& c : detail)
            if (c == '\n' || c == '\r') c = ' ';
        error = std::string("TLS set-up failed: ") + detail;
        return false;
    }
    return true;
}

Ck4wCallResult k4wTransportFailure(struct soap* soap, int soapError, int ms, int stallLimit) {
    Ck4wCallResult r;
    char detail[256] = {0};
    soap_sprint_fault(soap, detail, sizeof detail);
    for (char& c : detail)
        if (c == '\n' || c == '\r') c = ' ';
    if (soapError == SOAP_TCP_ERROR || soapError == SOAP_SSL_ERROR) {
        r.code = K4W_NO_CONNECTION;
    } else if (soapError == SOAP_EOF) {
        // The connection was made, then the input ended: either the wait ran
        // out or the service hung up.
        bool waited = soap->errnum == 0 && ms >= stallLimit * 1000 - 100;
        r.code = waited ? K4W_TIMEOUT : K4W_NO_CONNECTION;
    } else {
        r.code = K4W_BAD_REPLY;
    }
    r.text = k4wResultText(r.code);
    if (detail[0]) {
        r.text += " (";
        r.text += detail;
        r.text += ")";
    }
    return r;
}
