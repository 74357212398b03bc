#pragma once
// Csha1: SHA-1 (FIPS 180-1) over a stream of bytes.
#include <cstddef>
#include <cstdint>

class Csha1 {
public:
    static constexpr size_t kDigestSize = 20;
    static constexpr size_t kBlockSize = 64;

    Csha1() { reset(); }

    void reset();
    void update(const void* bytes, size_t length);
    // Pads, writes the digest and clears the working state.
    void final();
    const uint8_t* digest() const { return digest_; }

    // One-shot helper.
    static void hash(const void* bytes, size_t length, uint8_t out[kDigestSize]);

private:
    void compress(const uint8_t* block);

    uint32_t state_[5];
    uint32_t bitCount_[2];   // low, high
    uint8_t buffer_[kBlockSize];
    uint8_t digest_[kDigestSize];
};
