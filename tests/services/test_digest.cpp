#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <string>
#include <thread>

#include "services/hmacSha1.h"
#include "services/sha1.h"

namespace {
std::string hex(const uint8_t* p, size_t n) {
    static const char* d = "0123456789abcdef";
    std::string s;
    for (size_t i = 0; i < n; ++i) {
        s += d[p[i] >> 4];
        s += d[p[i] & 15];
    }
    return s;
}

std::string sha1Hex(const std::string& text) {
    uint8_t out[20];
    Csha1::hash(text.data(), text.size(), out);
    return hex(out, 20);
}

std::string engineHmac(const std::string& key, const std::string& text) {
    uint8_t out[20];
    ChmacSha1 h;
    h.hmacSha1((const uint8_t*)text.data(), text.size(), (const uint8_t*)key.data(), key.size(), out);
    return hex(out, 20);
}

std::string stackHmac(const std::string& key, const std::string& text) {
    uint8_t out[20];
    ChmacSha1Stack h;
    h.hmac((const uint8_t*)text.data(), text.size(), (const uint8_t*)key.data(), key.size(), out);
    return hex(out, 20);
}

std::string opensslHmac(const std::string& key, const std::string& text) {
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    HMAC(EVP_sha1(), key.data(), (int)key.size(), (const unsigned char*)text.data(), text.size(), out, &len);
    return hex(out, len);
}
}  // namespace

TEST(Sha1, SplitUpdatesMatchOneUpdate) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += (char)(i * 7);
    std::string whole = sha1Hex(text);
    // Every split point across the block boundaries and the 56-byte padding edge.
    for (size_t cut : {1u, 55u, 56u, 63u, 64u, 65u, 119u, 120u, 128u, 299u}) {
        Csha1 s;
        s.update(text.data(), cut);
        s.update(text.data() + cut, text.size() - cut);
        s.final();
        EXPECT_EQ(hex(s.digest(), 20), whole) << cut;
    }
}

// Short keys are padded, keys of one block used as they are, longer ones
// hashed; texts past the signer's four-kilobyte buffer are signed whole.
TEST(HmacSha1, BothSignersMatchOpenSsl) {
    struct Ccase { std::string key, text; } cases[] = {
        {"Jefe", "what do ya want for nothing?"}, {std::string(20, '\xaa'), std::string(50, '\xdd')},
        {std::string(64, 'k'), "message"}, {std::string(65, 'k'), "message"}, {"key", std::string(4031, 'x')},
        {"key", std::string(4032, 'x')},   {"key", std::string(4033, 'x')},   {"key", std::string(20000, 'x')},
    };
    for (auto& c : cases) {
        c.text[c.text.size() / 2] = 'y';
        EXPECT_EQ(engineHmac(c.key, c.text), opensslHmac(c.key, c.text)) << c.key.size() << " " << c.text.size();
        EXPECT_EQ(stackHmac(c.key, c.text), opensslHmac(c.key, c.text)) << c.key.size() << " " << c.text.size();
    }
}

// RFC 4648 section 10.
TEST(Base64, Rfc4648Vectors) {
    const std::pair<std::string, std::string> cases[] = {{"", ""},           {"f", "Zg=="},         {"fo", "Zm8="},
                                                         {"foo", "Zm9v"},    {"foob", "Zm9vYg=="},  {"fooba", "Zm9vYmE="},
                                                         {"foobar", "Zm9vYmFy"}, {"\xff\xfe\xfd", "//79"}};
    for (const auto& [text, encoded] : cases) EXPECT_EQ(base64Encode((const uint8_t*)text.data(), text.size()), encoded);
}

TEST(HmacSha1, SignBase64KeepsOneResultPerThread) {
    ChmacSha1 signer;
    const CbString& first = signer.signBase64("Jefe", "what do ya want for nothing?");
    EXPECT_EQ(first.str(), "7/zfauXrL6LSdBbV8YTfnCWafHk=");

    // A task thread signing meanwhile neither sees nor disturbs this thread's result.
    std::string other;
    const CbString* otherPtr = nullptr;
    std::thread t([&] {
        for (int i = 0; i < 200; ++i) {
            const CbString& r = signer.signBase64("key", "The quick brown fox jumps over the lazy dog");
            otherPtr = &r;
            other = r.str();
        }
    });
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(signer.signBase64("Jefe", "what do ya want for nothing?").str(), "7/zfauXrL6LSdBbV8YTfnCWafHk=");
    t.join();
    EXPECT_EQ(other, "3nybhbi3iqa8ino29wqQcBydtNk=");
    EXPECT_NE(otherPtr, &first);
}
