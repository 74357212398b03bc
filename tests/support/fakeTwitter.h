#pragma once
// A stand-in for the Twitter service on 127.0.0.1: checks every signature the
// way the real one does (consumer "ck"/"cs") and answers the token, status and
// upload paths. The request token is "reqTok"; the PIN "7654321" turns it into
// the access token "accTok-1".
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "services/twitter.h"
#include "support/independentOauth.h"
#include "support/localHttpServer.h"

inline const char* const kUploadReply =
    "{\"media_id\":710511363345354753,\"media_id_string\":\"710511363345354753\",\"size\":11065}";
inline const char* const kDuplicate = "{\"errors\":[{\"code\":187,\"message\":\"Status is a duplicate.\"}]}";

class CfakeTwitter {
public:
    CfakeTwitter() : server_([this](const ChttpRequest& r) { return answer(r); }) {}

    std::string hostPort() const { return server_.hostPort(); }
    // Points a client here, with the consumer pair this server checks and a
    // browser that opens nothing. Proxies of the environment are dropped.
    void serve(Ctwitter& t) const {
        for (const char* v : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
            unsetenv(v);
        t.oauth().setConsumer("ck", "cs");
        t.schemeIndex = 1;
        t.restHost = t.uploadHost = hostPort();
        t.openUrl = [](const std::string&) { return true; };
    }
    std::vector<ChttpRequest> requests() const { return server_.requests(); }
    std::vector<std::string> problems() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return problems_;
    }
    void setStatusReply(int code, const std::string& body) {
        std::lock_guard<std::mutex> lock(mutex_);
        statusCode_ = code;
        statusBody_ = body;
    }
    void setUploadReply(const std::string& body) {
        std::lock_guard<std::mutex> lock(mutex_);
        uploadBody_ = body;
    }
    static std::map<std::string, std::string> authFields(const ChttpRequest& r) {
        return oauthCheck::parseAuthHeader(r.header("authorization"));
    }

private:
    ChttpResponse answer(const ChttpRequest& r) {
        std::lock_guard<std::mutex> lock(mutex_);
        auto fields = authFields(r);
        size_t q = std::min(r.path.find('?'), r.path.size());
        std::string path = r.path.substr(0, q), query = r.path.substr(std::min(q + 1, r.path.size()));
        std::string tokenSecret;
        if (fields.count("oauth_token")) {
            auto it = secrets_.find(fields["oauth_token"]);
            if (it == secrets_.end()) return fail(401, "unknown token " + fields["oauth_token"]);
            tokenSecret = it->second;
        }
        bool form = r.header("content-type").rfind("application/x-www-form-urlencoded", 0) == 0;
        std::string expected = oauthCheck::expectedSignature(r.method, "http://" + r.header("host") + path, query,
                                                             form ? r.body : "", fields, "cs", tokenSecret);
        if (fields["oauth_consumer_key"] != "ck" || fields["oauth_signature"] != expected)
            return fail(401, "bad signature on " + r.path);

        const std::string call = r.method + " " + path;
        if (call == "GET /oauth/request_token")
            return {200, "oauth_token=reqTok&oauth_token_secret=reqSec&oauth_callback_confirmed=true"};
        if (call == "GET /oauth/access_token" && (fields["oauth_token"] != "reqTok" || fields["oauth_verifier"] != "7654321"))
            return {401, "Invalid oauth_verifier parameter"};
        if (call == "GET /oauth/access_token")
            return {200, "oauth_token=accTok-1&oauth_token_secret=accSec&user_id=42&screen_name=zorbexPlayer"};
        if (call == "POST /1.1/statuses/update.json") return {statusCode_, statusBody_};
        if (call == "POST /1.1/media/upload.json") return {200, uploadBody_};
        return {404, "no such path"};
    }
    ChttpResponse fail(int status, const std::string& why) {
        problems_.push_back(why);
        return {status, why};
    }

    mutable std::mutex mutex_;
    std::map<std::string, std::string> secrets_{{"reqTok", "reqSec"}, {"accTok-1", "accSec"}};
    std::vector<std::string> problems_;
    int statusCode_ = 200;
    std::string statusBody_ = "{\"id_str\":\"1050118621198921728\"}";
    std::string uploadBody_ = kUploadReply;
    ClocalHttpServer server_;   // last: stops before the state above goes
};
