// The web service over TLS: a local service with a certificate the test makes,
// one the client does not trust, and a password that must never travel in
// plain HTTP to another host (loopback, where the other tests sign in, may).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "onlineFixture.h"
#include "services/twitter.h"

namespace {
// A self-signed certificate for 127.0.0.1 made with the openssl tool: cert.pem,
// and server.pem holding the key and the certificate for the service.
struct CtestCertificate {
    std::string folder, cert, server;
    bool ok = false;
    explicit CtestCertificate(const char* tag) {
        folder = makeTempFolder(tag);
        cert = folder + "/cert.pem";
        server = folder + "/server.pem";
        std::string key = folder + "/key.pem";
        std::string cmd = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -days 1 -subj /CN=127.0.0.1"
                          " -addext subjectAltName=IP:127.0.0.1 -keyout " + key + " -out " + cert + " >/dev/null 2>&1";
        if (system(cmd.c_str()) != 0) return;
        std::ifstream k(key), c(cert);
        std::stringstream both;
        both << k.rdbuf() << c.rdbuf();
        std::ofstream(server) << both.str();
        ok = true;
    }
    ~CtestCertificate() { removeFolderTree(folder); }
};
}  // namespace

// Signed in with the test's certificate trusted; neither the system's
// authorities nor another certificate vouch for it, for the web service or
// for the Twitter client.
TEST(WebServiceTls, SignsInWithTheTrustedCertificateAndRefusesAnUntrustedOne) {
    CtestEngine eng;
    CtestCertificate cert("tls"), other("tls_other");
    ASSERT_TRUE(cert.ok && other.ok) << "openssl could not make the test certificates";
    ClocalWebService service;
    ASSERT_TRUE(service.start(cert.server));
    service.addAccount("Pilot", "pilot@example.com", "hunter2");
    for (const std::string& ca : {std::string(), other.cert}) {
        Conline online;
        CwebServiceConfig c = service.config();
        c.caFile = ca;
        online.soap.setConfig(c);
        EXPECT_FALSE(online.soap.setGameTitle("Zorbex")) << ca;
        EXPECT_TRUE(gEngine->webServiceOff);
        EXPECT_EQ(online.soap.lastErrorCode(), K4W_NO_CONNECTION);
        EXPECT_NE(online.soap.lastErrorText().find("certificate verify failed"), std::string::npos)
            << online.soap.lastErrorText();
        gEngine->webServiceOff = false;
    }
    Ctwitter t;
    t.oauth().setConsumer("ck", "cs");
    t.oauth().setToken("tok", "ts");
    t.schemeIndex = 0;
    t.restHost = "127.0.0.1:" + std::to_string(service.port());
    EXPECT_FALSE(t.postStatus("hello", ""));
    EXPECT_NE(std::string(t.curlError()).find("certificate"), std::string::npos) << t.curlError();
    EXPECT_EQ(service.requestCount(), 0);

    Conline online;
    CwebServiceConfig c = service.config();
    c.caFile = cert.cert;
    online.soap.setConfig(c);
    ASSERT_TRUE(online.soap.setGameTitle("Zorbex"));
    ASSERT_TRUE(online.soap.startSignIn("pilot@example.com", "hunter2"));
    ASSERT_TRUE(waitTask(online.soap.signInTask));
    EXPECT_TRUE(online.soap.signInTask.success());
}

TEST(WebServiceTls, APasswordIsNeverSentOverPlainHttpToAnotherHost) {
    CtestEngine eng;
    Conline online;
    CwebServiceConfig c;
    c.scheme = "http";
    c.host = "192.0.2.10";
    c.connectTimeout = 1;
    online.soap.setConfig(c);
    online.soap.setLogin("pilot@example.com", "hunter2", "pilot@example.com");
    EXPECT_FALSE(online.soap.startSignIn("pilot@example.com", "hunter2") && waitTask(online.soap.signInTask) &&
                 online.soap.signInTask.success());
    // Nothing was tried: no connection failed.
    EXPECT_FALSE(online.soap.signInTask.started());
    EXPECT_EQ(online.soap.lastErrorCode(), K4W_SERVICE_OFF);
    EXPECT_TRUE(gEngine->log.contains("k4w SignIn refused: a password is never sent over plain HTTP to 192.0.2.10"));
    EXPECT_TRUE(gEngine->webServiceOff);
    EXPECT_TRUE(gEngine->log.contains("Web service switched off: password over plain HTTP"));
}
