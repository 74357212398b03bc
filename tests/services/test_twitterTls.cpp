#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <thread>

#include "services/twitter.h"
#include "support/testEngine.h"

namespace {
// A TLS listener on 127.0.0.1 with a self-signed certificate for 127.0.0.1:
// it answers one handshake attempt, then closes.
class CselfSignedTls {
public:
    CselfSignedTls() {
        key_ = EVP_EC_gen("P-256");
        cert_ = X509_new();
        X509_set_version(cert_, 2);
        ASN1_INTEGER_set(X509_get_serialNumber(cert_), 1);
        X509_gmtime_adj(X509_getm_notBefore(cert_), 0);
        X509_gmtime_adj(X509_getm_notAfter(cert_), 3600);
        X509_set_pubkey(cert_, key_);
        X509_NAME* name = X509_get_subject_name(cert_);
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, (const unsigned char*)"127.0.0.1", -1, -1, 0);
        X509_set_issuer_name(cert_, name);
        X509_sign(cert_, key_, EVP_sha256());
        ctx_ = SSL_CTX_new(TLS_server_method());
        SSL_CTX_use_certificate(ctx_, cert_);
        SSL_CTX_use_PrivateKey(ctx_, key_);

        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(fd_, (sockaddr*)&addr, sizeof addr) != 0 || ::listen(fd_, 4) != 0) return;
        socklen_t len = sizeof addr;
        getsockname(fd_, (sockaddr*)&addr, &len);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { serveOne(); });
    }
    ~CselfSignedTls() {
        if (thread_.joinable()) thread_.join();
        ::close(fd_);
        SSL_CTX_free(ctx_);
        X509_free(cert_);
        EVP_PKEY_free(key_);
    }
    int port() const { return port_; }

private:
    void serveOne() {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, 10000) <= 0) return;
        int c = ::accept(fd_, nullptr, nullptr);
        if (c < 0) return;
        SSL* ssl = SSL_new(ctx_);
        SSL_set_fd(ssl, c);
        if (SSL_accept(ssl) == 1) {
            const char reply[] = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\n{}";
            SSL_write(ssl, reply, (int)strlen(reply));
            SSL_shutdown(ssl);
        }
        SSL_free(ssl);
        ::close(c);
    }

    EVP_PKEY* key_ = nullptr;
    X509* cert_ = nullptr;
    SSL_CTX* ctx_ = nullptr;
    int fd_ = -1;
    int port_ = 0;
    std::thread thread_;
};
}  // namespace

TEST(TwitterTls, UntrustedCertificateIsRefused) {
    CtestEngine eng;
    CselfSignedTls server;
    ASSERT_GT(server.port(), 0);
    Ctwitter t;
    t.oauth().setConsumer("ck", "cs");
    t.oauth().setToken("tok", "ts");
    t.schemeIndex = 0;
    t.restHost = "127.0.0.1:" + std::to_string(server.port());
    EXPECT_FALSE(t.postStatus("hello", ""));
    std::string error = t.curlError();
    EXPECT_NE(error.find("certificate"), std::string::npos) << error;
}
