#pragma once
// MD5 digests (track keys, hashed names).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class Cmd5 {
public:
    Cmd5();
    void update(const void* data, size_t size);
    void finish(uint8_t digest[16]);
    // Lower-case hex digest of a whole text.
    static std::string hex(std::string_view text);

private:
    void transform(const uint8_t block[64]);
    uint32_t state_[4];
    uint64_t length_ = 0;
    uint8_t buffer_[64];
    size_t used_ = 0;
};
