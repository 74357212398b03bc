#include "services/hmacSha1.h"

#include <cstring>

void ChmacSha1Stack::hmac(const uint8_t* text, size_t textLength, const uint8_t* key, size_t keyLength,
                          uint8_t out[Csha1::kDigestSize]) {
    memset(keyBlock_, 0, sizeof keyBlock_);
    // Keys longer than a block are replaced by their digest; a 64-byte key is used as it is.
    if (keyLength > Csha1::kBlockSize) Csha1::hash(key, keyLength, keyBlock_);
    else if (keyLength) memcpy(keyBlock_, key, keyLength);
    for (size_t i = 0; i < Csha1::kBlockSize; ++i) {
        innerPad_[i] = keyBlock_[i] ^ 0x36;
        outerPad_[i] = keyBlock_[i] ^ 0x5C;
    }
    uint8_t inner[Csha1::kDigestSize];
    sha_.reset();
    sha_.update(innerPad_, sizeof innerPad_);
    if (textLength) sha_.update(text, textLength);
    sha_.final();
    memcpy(inner, sha_.digest(), sizeof inner);

    sha_.reset();
    sha_.update(outerPad_, sizeof outerPad_);
    sha_.update(inner, sizeof inner);
    sha_.final();
    memcpy(out, sha_.digest(), Csha1::kDigestSize);
    // Key material does not outlive the call.
    memset(keyBlock_, 0, sizeof keyBlock_);
    memset(innerPad_, 0, sizeof innerPad_);
    memset(outerPad_, 0, sizeof outerPad_);
}

void ChmacSha1::hmacSha1(const uint8_t* text, size_t textLength, const uint8_t* key, size_t keyLength,
                         uint8_t out[Csha1::kDigestSize]) const {
    ChmacSha1Stack state;
    state.hmac(text, textLength, key, keyLength, out);
}

const CbString& ChmacSha1::signBase64(const char* key, const char* message) const {
    thread_local CbString result;
    uint8_t digest[Csha1::kDigestSize];
    const char* k = key ? key : "";
    const char* m = message ? message : "";
    hmacSha1((const uint8_t*)m, strlen(m), (const uint8_t*)k, strlen(k), digest);
    result.set(base64Encode(digest).c_str());
    return result;
}

std::string base64Encode(const uint8_t* bytes, size_t length) {
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((length + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= length; i += 3) {
        uint32_t v = (uint32_t)bytes[i] << 16 | (uint32_t)bytes[i + 1] << 8 | bytes[i + 2];
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
    }
    size_t left = length - i;
    if (left) {
        uint32_t v = (uint32_t)bytes[i] << 16 | (left == 2 ? (uint32_t)bytes[i + 1] << 8 : 0);
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += left == 2 ? kAlphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}
