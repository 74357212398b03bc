// OAuth 1.0a signing: the published example, headers checked by a verifier
// written apart from the client, nonces and token replies.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <regex>
#include <set>

#include "engine/http.h"
#include "support/independentOauth.h"
#include "services/oauth.h"

namespace {
// The header line's "oauth_" pairs, in the order they stand.
std::vector<std::string> headerKeys(const std::string& line) {
    std::vector<std::string> keys;
    std::regex pair("(\\w+)=\"[^\"]*\"");
    for (auto it = std::sregex_iterator(line.begin(), line.end(), pair); it != std::sregex_iterator(); ++it)
        keys.push_back((*it)[1]);
    return keys;
}
}  // namespace

// The worked example of Twitter's developer documentation, "Creating a
// signature" (OAuth 1.0a): POST statuses/update with include_entities=true and
// the status "Hello Ladies + Gentlemen, a signed OAuth request!".
TEST(Coauth, SignsTwittersPublishedExample) {
    Coauth o;
    o.setConsumer("xvz1evFS4wEEPTGEFPHBog", "kAcSOqF21Fu85e7zjz7ZN2U4ZRhfV3WpwPAoE3Z7kBw");
    o.setToken("370773112-GmHxMAgYyLbNEtIKZeRNFsMKPR9EyMZeS9weJAEb", "LswwdoUaIvS8ltyTt5jkRh4J50vUPVVHtR2YPi5kE");
    o.setNonceTimestamp("kYjzVBB8Y0ZFabxSWbWovY3uYSQ2pTgmZeNu2VS4cg", "1318622958");
    CoauthParams p;
    Coauth::addRawPairs("include_entities=true", true, p);
    Coauth::addRawPairs("status=" + percentEncode("Hello Ladies + Gentlemen, a signed OAuth request!"), false, p);
    ASSERT_TRUE(o.addOAuthPairs(false, "", p, false));
    EXPECT_EQ(Coauth::joinPairs(p, "&"),
              "include_entities=true&oauth_consumer_key=xvz1evFS4wEEPTGEFPHBog"
              "&oauth_nonce=kYjzVBB8Y0ZFabxSWbWovY3uYSQ2pTgmZeNu2VS4cg&oauth_signature_method=HMAC-SHA1"
              "&oauth_timestamp=1318622958&oauth_token=370773112-GmHxMAgYyLbNEtIKZeRNFsMKPR9EyMZeS9weJAEb"
              "&oauth_version=1.0&status=Hello%20Ladies%20%2B%20Gentlemen%2C%20a%20signed%20OAuth%20request%21");
    std::string sig = o.getSignature("POST", "https://api.twitter.com/1.1/statuses/update.json", p);
    EXPECT_EQ(sig, "hCtSmYh%2BiHYCEqBWrE7C7hYmtUk%3D");   // hCtSmYh+iHYCEqBWrE7C7hYmtUk=

    CoauthParams header;
    o.addOAuthPairs(false, sig, header, false);
    EXPECT_EQ(Coauth::joinPairs(header, ","),
              "oauth_consumer_key=\"xvz1evFS4wEEPTGEFPHBog\","
              "oauth_nonce=\"kYjzVBB8Y0ZFabxSWbWovY3uYSQ2pTgmZeNu2VS4cg\","
              "oauth_signature=\"hCtSmYh%2BiHYCEqBWrE7C7hYmtUk%3D\",oauth_signature_method=\"HMAC-SHA1\","
              "oauth_timestamp=\"1318622958\","
              "oauth_token=\"370773112-GmHxMAgYyLbNEtIKZeRNFsMKPR9EyMZeS9weJAEb\",oauth_version=\"1.0\"");

    std::string line;
    EXPECT_FALSE(o.buildAuthHeader("PATCH", "https://h/x", "", false, line));   // only GET and POST are signed
}

// The header holds the oauth pairs only, in key order and without blanks, and
// a verifier written apart from the client accepts its signature. A query
// arrives raw and a body already encoded; both must sign as encoded once.
TEST(Coauth, HeadersCarryOnlyOauthPairsAndVerifyIndependently) {
    struct Ccase {
        bool token, verifier;
        std::string method, url, body, baseUrl, query;
        size_t pairs;
    } cases[] = {
        {true, false, "POST", "http://127.0.0.1:8080/1.1/statuses/update.json", "status=Hello%20world",
         "http://127.0.0.1:8080/1.1/statuses/update.json", "", 7},
        {true, true, "GET", "http://h/oauth/access_token", "", "http://h/oauth/access_token", "", 8},
        // Asked for the verifier, but no token and no verifier held.
        {false, true, "GET", "http://h/oauth/request_token", "", "http://h/oauth/request_token", "", 6},
        {true, false, "POST", "http://h/p?q=a b&x=1", "status=a%20b%2Bc", "http://h/p", "q=a%20b&x=1", 7},
    };
    for (const Ccase& c : cases) {
        SCOPED_TRACE(c.url);
        Coauth o;
        o.setConsumer("ck", "cs");
        if (c.token) {
            o.setToken("tok", "ts");
            o.setVerifier("1234567");
        }
        std::string line;
        ASSERT_TRUE(o.buildAuthHeader(c.method, c.url, c.body, c.verifier, line));
        ASSERT_EQ(line.rfind("Authorization: OAuth oauth_consumer_key=\"ck\",", 0), 0u) << line;
        EXPECT_EQ(line.find(' ', strlen("Authorization: OAuth ")), std::string::npos);   // no blanks
        std::vector<std::string> keys = headerKeys(line);
        EXPECT_EQ(keys.size(), c.pairs);
        EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
        for (const auto& k : keys) EXPECT_EQ(k.rfind("oauth_", 0), 0u) << k;
        auto fields = oauthCheck::parseAuthHeader(line.substr(strlen("Authorization: ")));
        EXPECT_EQ(fields["oauth_signature"], oauthCheck::expectedSignature(c.method, c.baseUrl, c.query, c.body, fields,
                                                                           "cs", c.token ? "ts" : ""));
        EXPECT_EQ(fields["oauth_verifier"], c.verifier && c.token ? "1234567" : "");
    }
}

TEST(Coauth, NonceStartsWithItsTimestampAndNeverRepeatsWithinASecond) {
    Coauth o;
    std::map<std::string, std::set<std::string>> bySecond;
    for (int i = 0; i < 2000; ++i) {
        o.makeNonceTimestamp();
        const std::string& ts = o.timestamp();
        ASSERT_TRUE(std::regex_match(ts, std::regex("[0-9]+"))) << ts;
        ASSERT_EQ(o.nonce().rfind(ts, 0), 0u);
        // A thousand values a second: past that the set starts again.
        if (bySecond[ts].size() < 1000) EXPECT_TRUE(bySecond[ts].insert(o.nonce()).second) << o.nonce();
    }
}

TEST(Coauth, ParseTokenReply) {
    Coauth o;
    EXPECT_FALSE(o.parseTokenReply(""));
    ASSERT_TRUE(o.parseTokenReply("oauth_token=T1&oauth_token_secret=S1&user_id=9&screen_name=Bob"));
    EXPECT_EQ(o.token() + " " + o.tokenSecret() + " " + o.screenName(), "T1 S1 Bob");
    // Each reply over a held token "old", secret "oldS" and screen name "Bob".
    struct Ccase { const char *reply, *kept; } cases[] = {
        // The token key inside "oauth_token_secret" is not the token.
        {"oauth_token_secret=S2&oauth_token=T2&x=1", "T2 S2 Bob"},
        {"my_oauth_token=bad&oauth_tokens=bad&x=1", "old oldS Bob"},
        // A last pair with no "&" after it is left as it was.
        {"oauth_token=T4", "old oldS Bob"},
        {"oauth_token=T5&oauth_token_secret=S5", "T5 oldS Bob"},
        // The screen name ends at the next pair.
        {"screen_name=Alice&user_id=7", "old oldS Alice"},
    };
    for (const Ccase& c : cases) {
        Coauth r;
        r.parseTokenReply("screen_name=Bob&x=1");
        r.setToken("old", "oldS");
        r.parseTokenReply(c.reply);
        EXPECT_EQ(r.token() + " " + r.tokenSecret() + " " + r.screenName(), c.kept) << c.reply;
    }
}
