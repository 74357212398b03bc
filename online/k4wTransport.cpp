#include "online/k4wTransport.h"

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

void k4wConfigureSoap(struct soap* soap, const Ck4wSettings& s) {
    soap->connect_timeout = s.connectTimeout;
    soap->send_timeout = s.ioTimeout;
    soap->recv_timeout = s.ioTimeout;
    // A service that trickles its answer byte by byte is cut off as well.
    soap->transfer_timeout = s.ioTimeout * 2;
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

Ck4wCallResult k4wTransportFailure(struct soap* soap, int soapError, int ms, int ioTimeout) {
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
        bool waited = soap->errnum == 0 && ms >= ioTimeout * 1000 - 100;
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
