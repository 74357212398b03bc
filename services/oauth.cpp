#include "services/oauth.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "engine/http.h"
#include "services/hmacSha1.h"

Coauth::Coauth() {
    // Seeded once: headers made in the same second must still differ.
    auto now = std::chrono::system_clock::now().time_since_epoch();
    random_.seed((uint32_t)std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() ^
                 (uint32_t)(uintptr_t)this);
}

void Coauth::makeNonceTimestamp() {
    int64_t now = (int64_t)time(nullptr);
    if (now != nonceSecond_) {
        nonceSecond_ = now;
        noncesThisSecond_.clear();
    }
    if (noncesThisSecond_.size() >= 1000) noncesThisSecond_.clear();   // a thousand in one second: start over
    uint32_t r;
    do {
        r = random_() % 1000;
    } while (!noncesThisSecond_.insert(r).second);
    char text[64];
    snprintf(text, sizeof text, "%ld", (long)now);
    timestamp_ = text;
    snprintf(text, sizeof text, "%s%x", timestamp_.c_str(), r);
    nonce_ = text;
}

void Coauth::addRawPairs(const std::string& text, bool encodeValues, CoauthParams& params) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('&', start);
        if (end == std::string::npos) end = text.size();
        std::string piece = text.substr(start, end - start);
        size_t eq = piece.find('=');
        if (eq != std::string::npos) {
            std::string value = piece.substr(eq + 1);
            params[piece.substr(0, eq)] = encodeValues ? percentEncode(value) : value;
        }
        start = end + 1;
    }
}

bool Coauth::addOAuthPairs(bool withVerifier, const std::string& signature, CoauthParams& params, bool renewNonce) {
    if (renewNonce) makeNonceTimestamp();
    params["oauth_consumer_key"] = consumerKey_;
    params["oauth_nonce"] = nonce_;
    if (!signature.empty()) params["oauth_signature"] = signature;
    params["oauth_signature_method"] = "HMAC-SHA1";
    params["oauth_timestamp"] = timestamp_;
    if (!token_.empty()) params["oauth_token"] = token_;
    if (withVerifier && !verifier_.empty()) params["oauth_verifier"] = verifier_;
    params["oauth_version"] = "1.0";
    return !params.empty();
}

std::string Coauth::joinPairs(const CoauthParams& params, const std::string& separator) {
    bool quote = separator == ",";
    std::string out;
    for (const auto& [key, value] : params) {
        if (!out.empty()) out += separator;
        out += key;
        out += '=';
        if (quote) out += '"';
        out += value;
        if (quote) out += '"';
    }
    return out;
}

std::string Coauth::getSignature(const std::string& method, const std::string& url,
                                 const CoauthParams& params) const {
    if (method != "GET" && method != "POST" && method != "DELETE") return {};
    std::string base = method + "&" + percentEncode(url) + "&" + percentEncode(joinPairs(params, "&"));
    std::string key = consumerSecret_ + "&" + tokenSecret_;
    uint8_t digest[Csha1::kDigestSize];
    ChmacSha1Stack hmac;
    hmac.hmac((const uint8_t*)base.data(), base.size(), (const uint8_t*)key.data(), key.size(), digest);
    return percentEncode(base64Encode(digest));
}

bool Coauth::buildAuthHeader(const std::string& method, const std::string& url, const std::string& body,
                             bool withVerifier, std::string& header) {
    header.clear();
    CoauthParams params;
    std::string baseUrl = url;
    size_t q = url.find('?');
    if (q != std::string::npos) {
        baseUrl = url.substr(0, q);
        addRawPairs(url.substr(q + 1), true, params);
    }
    // The body is sent already encoded.
    addRawPairs(body, false, params);
    addOAuthPairs(withVerifier, "", params, true);
    std::string signature = getSignature(method, baseUrl, params);
    if (signature.empty()) return false;
    // The header carries only the oauth_ pairs.
    params.clear();
    addOAuthPairs(withVerifier, signature, params, false);
    header = "Authorization: OAuth " + joinPairs(params, ",");
    return true;
}

namespace {
// Where the value of key starts: the key must stand at the start of the text
// or right after "&", and be followed by "=". npos when absent.
size_t findValue(const std::string& reply, const std::string& key) {
    size_t at = 0;
    while ((at = reply.find(key, at)) != std::string::npos) {
        bool starts = at == 0 || reply[at - 1] == '&';
        size_t eq = at + key.size();
        if (starts && eq < reply.size() && reply[eq] == '=') return eq + 1;
        at += 1;
    }
    return std::string::npos;
}

// The value up to the next "&"; a value with no "&" after it leaves the field as it was.
void takeValueBeforeAmp(const std::string& reply, const std::string& key, std::string& field) {
    size_t v = findValue(reply, key);
    if (v == std::string::npos) return;
    size_t amp = reply.find('&', v);
    if (amp == std::string::npos) return;
    field = reply.substr(v, amp - v);
}
}  // namespace

bool Coauth::parseTokenReply(const std::string& reply) {
    if (reply.empty()) return false;
    takeValueBeforeAmp(reply, "oauth_token", token_);
    takeValueBeforeAmp(reply, "oauth_token_secret", tokenSecret_);
    size_t v = findValue(reply, "screen_name");
    if (v != std::string::npos) {
        size_t amp = reply.find('&', v);
        screenName_ = reply.substr(v, amp == std::string::npos ? std::string::npos : amp - v);
    }
    return true;
}
