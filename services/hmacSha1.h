#pragma once
// HMAC-SHA1 (RFC 2104) and Base64 (RFC 4648) of digests.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/bString.h"
#include "services/sha1.h"

// The buffer-free form: every piece of state held inline, the pad and the
// text hashed as two updates, so there is no bound on the text.
class ChmacSha1Stack {
public:
    void hmac(const uint8_t* text, size_t textLength, const uint8_t* key, size_t keyLength,
              uint8_t out[Csha1::kDigestSize]);

private:
    Csha1 sha_;
    uint8_t innerPad_[Csha1::kBlockSize];
    uint8_t outerPad_[Csha1::kBlockSize];
    uint8_t keyBlock_[Csha1::kBlockSize];
};

// The engine's signer (the fingerprint requests use it). Each call works on
// its own state, so a task thread may sign while the main thread does too.
class ChmacSha1 {
public:
    void hmacSha1(const uint8_t* text, size_t textLength, const uint8_t* key, size_t keyLength,
                  uint8_t out[Csha1::kDigestSize]) const;
    // HMAC-SHA1 of message under key, as Base64. The result lives until the
    // next call on the same thread: copy it at once.
    const CbString& signBase64(const char* key, const char* message) const;
};

// Base64, standard alphabet, "=" fill. A 20-byte digest gives 28 characters.
std::string base64Encode(const uint8_t* bytes, size_t length);
inline std::string base64Encode(const uint8_t (&digest)[Csha1::kDigestSize]) {
    return base64Encode(digest, Csha1::kDigestSize);
}
