#pragma once
// An OAuth 1.0 verifier written apart from the client: it reads an
// Authorization header the way a server does and recomputes the signature
// with OpenSSL.
#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace oauthCheck {

inline std::string percentDecode(const std::string& s, bool plusIsSpace) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && isxdigit((unsigned char)s[i + 1]) &&
            isxdigit((unsigned char)s[i + 2])) {
            out += (char)std::stoi(s.substr(i + 1, 2), nullptr, 16);
            i += 2;
        } else if (plusIsSpace && s[i] == '+') {
            out += ' ';
        } else {
            out += s[i];
        }
    }
    return out;
}

// RFC 3986 unreserved characters stay; everything else is %XX.
inline std::string encode(const std::string& s) {
    std::string out;
    char buf[4];
    for (unsigned char c : s) {
        if (isalnum(c) || (c && strchr("-._~", c))) {
            out += (char)c;
            continue;
        }
        snprintf(buf, sizeof buf, "%%%02X", c);
        out += buf;
    }
    return out;
}

// "OAuth k="v",k="v"" -> decoded map.
inline std::map<std::string, std::string> parseAuthHeader(const std::string& header) {
    std::map<std::string, std::string> out;
    const std::string s = header.rfind("OAuth ", 0) == 0 ? header.substr(6) : header;
    for (size_t at = 0, eq, close; (eq = s.find('=', at)) != std::string::npos; at = close + 1 + (s[close + 1] == ',')) {
        if (s[eq + 1] != '"' || (close = s.find('"', eq + 2)) == std::string::npos) break;
        const size_t from = s.find_first_not_of(' ', at);
        out[s.substr(from, eq - from)] = percentDecode(s.substr(eq + 2, close - eq - 2), false);
    }
    return out;
}

inline void addForm(const std::string& text, std::multimap<std::string, std::string>& params) {
    for (size_t at = 0, amp; at < text.size(); at = amp + 1) {
        amp = std::min(text.find('&', at), text.size());
        std::string piece = text.substr(at, amp - at);
        size_t eq = piece.find('=');
        if (eq != std::string::npos)
            params.emplace(percentDecode(piece.substr(0, eq), true), percentDecode(piece.substr(eq + 1), true));
    }
}

inline std::string hmacSha1Base64(const std::string& key, const std::string& text) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    HMAC(EVP_sha1(), key.data(), (int)key.size(), (const unsigned char*)text.data(), text.size(), digest, &len);
    unsigned char b64[64];
    int n = EVP_EncodeBlock(b64, digest, (int)len);
    return std::string((const char*)b64, (size_t)n);
}

// The signature a server expects for this request (RFC 5849 section 3.4).
// baseUrl has no query; query and formBody are as sent on the wire.
inline std::string expectedSignature(const std::string& method, const std::string& baseUrl,
                                     const std::string& query, const std::string& formBody,
                                     const std::map<std::string, std::string>& header,
                                     const std::string& consumerSecret, const std::string& tokenSecret) {
    std::multimap<std::string, std::string> decoded;
    addForm(query, decoded);
    addForm(formBody, decoded);
    for (const auto& [k, v] : header)
        if (k != "oauth_signature" && k != "realm") decoded.emplace(k, v);
    // Sorted fully: by encoded key, then encoded value.
    std::vector<std::pair<std::string, std::string>> encoded;
    for (const auto& [k, v] : decoded) encoded.emplace_back(encode(k), encode(v));
    std::sort(encoded.begin(), encoded.end());
    std::string normal;
    for (const auto& [k, v] : encoded) normal += (normal.empty() ? "" : "&") + k + "=" + v;
    std::string base = method + "&" + encode(baseUrl) + "&" + encode(normal);
    return hmacSha1Base64(encode(consumerSecret) + "&" + encode(tokenSecret), base);
}

}  // namespace oauthCheck
