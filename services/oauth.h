#pragma once
// Coauth: OAuth 1.0 (RFC 5849, HMAC-SHA1) signing of the Twitter client's
// requests, and the reading of token replies. It sends nothing itself.
#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <string>

// Ordered by plain byte comparison of the keys.
using CoauthParams = std::map<std::string, std::string>;

class Coauth {
public:
    Coauth();

    // Credentials.
    void setConsumer(const std::string& key, const std::string& secret) {
        consumerKey_ = key;
        consumerSecret_ = secret;
    }
    void setToken(const std::string& token, const std::string& secret) {
        token_ = token;
        tokenSecret_ = secret;
    }
    void setVerifier(const std::string& verifier) { verifier_ = verifier; }
    const std::string& consumerKey() const { return consumerKey_; }
    const std::string& consumerSecret() const { return consumerSecret_; }
    const std::string& token() const { return token_; }
    const std::string& tokenSecret() const { return tokenSecret_; }
    const std::string& verifier() const { return verifier_; }
    const std::string& screenName() const { return screenName_; }
    const std::string& nonce() const { return nonce_; }
    const std::string& timestamp() const { return timestamp_; }
    // For signing a request whose nonce and timestamp are already known.
    void setNonceTimestamp(const std::string& nonce, const std::string& timestamp) {
        nonce_ = nonce;
        timestamp_ = timestamp;
    }

    // A fresh timestamp (seconds, "%ld") and nonce (the timestamp then a
    // random 0..999 in "%x"). A nonce is never handed out twice in one second.
    void makeNonceTimestamp();

    // Adds the pairs of text "k=v&k=v" to params; values percent-encoded when
    // asked; pieces without "=" are skipped.
    static void addRawPairs(const std::string& text, bool encodeValues, CoauthParams& params);
    // The "oauth_" pairs. Returns whether params is non-empty.
    bool addOAuthPairs(bool withVerifier, const std::string& signature, CoauthParams& params, bool renewNonce);
    // key=value pairs in key order joined by separator; with "," each value is quoted.
    static std::string joinPairs(const CoauthParams& params, const std::string& separator);
    // The percent-encoded signature for method GET, POST or DELETE; empty for any other.
    std::string getSignature(const std::string& method, const std::string& url, const CoauthParams& params) const;
    // The whole "Authorization: OAuth ..." line. False (and empty) on failure.
    bool buildAuthHeader(const std::string& method, const std::string& url, const std::string& body,
                         bool withVerifier, std::string& header);
    // Reads token, token secret and screen name from a token reply. False for an empty reply.
    bool parseTokenReply(const std::string& reply);

private:
    std::string consumerKey_;
    std::string consumerSecret_;
    std::string token_;
    std::string tokenSecret_;
    std::string verifier_;
    std::string nonce_;
    std::string timestamp_;
    std::string screenName_;

    std::mt19937 random_;
    int64_t nonceSecond_ = -1;
    std::set<uint32_t> noncesThisSecond_;
};
