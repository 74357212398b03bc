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

std::string unhex(const std::string& h) {
    std::string out;
    for (size_t i = 0; i + 1 < h.size(); i += 2) out += (char)std::stoi(h.substr(i, 2), nullptr, 16);
    return out;
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

// FIPS 180-1 appendix A and B, and the one-million "a" message of appendix C.
TEST(Sha1, FipsVectors) {
    EXPECT_EQ(sha1Hex("abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(sha1Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
    EXPECT_EQ(sha1Hex(""), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
    Csha1 s;
    std::string chunk(1000, 'a');
    for (int i = 0; i < 1000; ++i) s.update(chunk.data(), chunk.size());
    s.final();
    EXPECT_EQ(hex(s.digest(), 20), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
}

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
    // A used state gives the same after reset.
    Csha1 s;
    s.update("junk", 4);
    s.reset();
    s.update(text.data(), text.size());
    s.final();
    EXPECT_EQ(hex(s.digest(), 20), whole);
}

// RFC 2202 section 3, all seven cases, in both forms.
TEST(HmacSha1, Rfc2202Vectors) {
    struct Ccase {
        std::string key, data, digest;
    } cases[] = {
        {std::string(20, '\x0b'), "Hi There", "b617318655057264e28bc0b6fb378c8ef146be00"},
        {"Jefe", "what do ya want for nothing?", "effcdf6ae5eb2fa2d27416d5f184df9c259a7c79"},
        {std::string(20, '\xaa'), std::string(50, '\xdd'), "125d7342b9ac11cd91a39af48aa17b4f63f175d3"},
        {unhex("0102030405060708090a0b0c0d0e0f10111213141516171819"), std::string(50, '\xcd'),
         "4c9007f4026250c6bc8414f9bf50c86c2d7235da"},
        {std::string(20, '\x0c'), "Test With Truncation", "4c1a03424b55e07fe7f27be1d58bb9324a9a5a04"},
        {std::string(80, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First",
         "aa4ae5e15272d00e95705637ce8a3b55ed402112"},
        {std::string(80, '\xaa'), "Test Using Larger Than Block-Size Key and Larger Than One Block-Size Data",
         "e8e99d0f45237d786d6bbaa7965c7808bbff1a91"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(engineHmac(c.key, c.data), c.digest) << c.data;
        EXPECT_EQ(stackHmac(c.key, c.data), c.digest) << c.data;
    }
}

TEST(HmacSha1, KeyOfOneBlockIsUsedAsItIsAndLongerKeysAreHashed) {
    std::string key64(64, 'k'), key65(65, 'k');
    std::string text = "message";
    EXPECT_EQ(engineHmac(key64, text), opensslHmac(key64, text));
    EXPECT_EQ(engineHmac(key65, text), opensslHmac(key65, text));
    // A 65-byte key acts as its own digest.
    uint8_t d[20];
    Csha1::hash(key65.data(), key65.size(), d);
    EXPECT_EQ(engineHmac(key65, text), engineHmac(std::string((const char*)d, 20), text));
    EXPECT_NE(engineHmac(key64, text), engineHmac(key64 + "k", text));
}

TEST(HmacSha1, TextsLongerThanFourKilobytesAreSigned) {
    for (size_t n : {4031u, 4032u, 4033u, 20000u}) {
        std::string text(n, 'x');
        text[n / 2] = 'y';
        EXPECT_EQ(engineHmac("key", text), opensslHmac("key", text)) << n;
        EXPECT_EQ(stackHmac("key", text), opensslHmac("key", text)) << n;
    }
}

// RFC 4648 section 10.
TEST(Base64, Rfc4648Vectors) {
    auto b64 = [](const std::string& s) { return base64Encode((const uint8_t*)s.data(), s.size()); };
    EXPECT_EQ(b64(""), "");
    EXPECT_EQ(b64("f"), "Zg==");
    EXPECT_EQ(b64("fo"), "Zm8=");
    EXPECT_EQ(b64("foo"), "Zm9v");
    EXPECT_EQ(b64("foob"), "Zm9vYg==");
    EXPECT_EQ(b64("fooba"), "Zm9vYmE=");
    EXPECT_EQ(b64("foobar"), "Zm9vYmFy");
    EXPECT_EQ(b64("\xff\xfe\xfd"), "//79");
}

TEST(Base64, DigestIsTwentyEightCharactersWithOneFill) {
    for (int seed = 0; seed < 50; ++seed) {
        uint8_t d[20];
        std::string text(seed, (char)seed);
        Csha1::hash(text.data(), text.size(), d);
        std::string t = base64Encode(d);
        ASSERT_EQ(t.size(), 28u);
        EXPECT_EQ(t[27], '=');
        EXPECT_NE(t[26], '=');
    }
}

TEST(HmacSha1, SignBase64KeepsOneResultPerThread) {
    ChmacSha1 signer;
    const CbString& first = signer.signBase64("key", "The quick brown fox jumps over the lazy dog");
    EXPECT_EQ(first.str(), "3nybhbi3iqa8ino29wqQcBydtNk=");
    const CbString& second = signer.signBase64("Jefe", "what do ya want for nothing?");
    EXPECT_EQ(&first, &second);
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
