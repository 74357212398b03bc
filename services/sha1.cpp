#include "services/sha1.h"

#include <cstring>

namespace {
inline uint32_t rol(uint32_t v, int n) { return (v << n) | (v >> (32 - n)); }
}  // namespace

void Csha1::reset() {
    state_[0] = 0x67452301u;
    state_[1] = 0xEFCDAB89u;
    state_[2] = 0x98BADCFEu;
    state_[3] = 0x10325476u;
    state_[4] = 0xC3D2E1F0u;
    bitCount_[0] = bitCount_[1] = 0;
    memset(buffer_, 0, sizeof buffer_);
}

void Csha1::compress(const uint8_t* block) {
    uint32_t w[80];
    for (int i = 0; i < 16; ++i)
        w[i] = (uint32_t)block[4 * i] << 24 | (uint32_t)block[4 * i + 1] << 16 | (uint32_t)block[4 * i + 2] << 8 |
               (uint32_t)block[4 * i + 3];
    for (int i = 16; i < 80; ++i) w[i] = rol(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);

    uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3], e = state_[4];
    for (int i = 0; i < 80; ++i) {
        uint32_t f, k;
        if (i < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999u;
        } else if (i < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1u;
        } else if (i < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDCu;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6u;
        }
        uint32_t t = rol(a, 5) + f + e + k + w[i];
        e = d;
        d = c;
        c = rol(b, 30);
        b = a;
        a = t;
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
    state_[4] += e;
}

void Csha1::update(const void* bytes, size_t length) {
    const uint8_t* p = (const uint8_t*)bytes;
    size_t used = (bitCount_[0] >> 3) & 63;
    // The bit count is 64 bits in two words; the high word takes the carry.
    uint64_t bits = (uint64_t)length << 3;
    uint32_t low = bitCount_[0] + (uint32_t)bits;
    if (low < bitCount_[0]) ++bitCount_[1];
    bitCount_[0] = low;
    bitCount_[1] += (uint32_t)(bits >> 32);

    if (used) {
        size_t take = kBlockSize - used;
        if (length < take) {
            memcpy(buffer_ + used, p, length);
            return;
        }
        memcpy(buffer_ + used, p, take);
        compress(buffer_);
        p += take;
        length -= take;
    }
    while (length >= kBlockSize) {
        compress(p);
        p += kBlockSize;
        length -= kBlockSize;
    }
    if (length) memcpy(buffer_, p, length);
}

void Csha1::final() {
    uint8_t count[8];
    for (int i = 0; i < 4; ++i) {
        count[i] = (uint8_t)(bitCount_[1] >> (24 - 8 * i));
        count[4 + i] = (uint8_t)(bitCount_[0] >> (24 - 8 * i));
    }
    static const uint8_t kPad[kBlockSize] = {0x80};
    size_t used = (bitCount_[0] >> 3) & 63;
    size_t padLen = used < 56 ? 56 - used : 120 - used;
    update(kPad, padLen);
    update(count, 8);
    for (int i = 0; i < 20; ++i) digest_[i] = (uint8_t)(state_[i >> 2] >> (24 - 8 * (i & 3)));
    memset(buffer_, 0, sizeof buffer_);
    memset(state_, 0, sizeof state_);
    bitCount_[0] = bitCount_[1] = 0;
}

void Csha1::hash(const void* bytes, size_t length, uint8_t out[kDigestSize]) {
    Csha1 s;
    s.update(bytes, length);
    s.final();
    memcpy(out, s.digest(), kDigestSize);
}
