#pragma once
// The packed record container.
//
// Single-block form, 12-byte header then payload (all integers little-endian):
//   0 u16 type | 2 u8 compressed | 3 u8 scrambled | 4 u32 stored payload length | 8 u32 raw payload length
// Multi-block record, 14-byte header then blocks:
//   0 u32 block count | 4 u32 stored total length (header included) | 8 u32 raw total length
//   12 u8 compressed | 13 u8 scrambled
//   block: 0 u16 type | 2 u32 data length | 6 six unused bytes (zero) | 12 data
// Payloads are zlib-compressed only when that makes them smaller, then scrambled
// byte by byte with a fixed 10,000-byte table.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

using Cbytes = std::vector<uint8_t>;

class CwebMessage {
public:
    static constexpr size_t kHeaderSize = 12;
    static constexpr size_t kRecordHeaderSize = 14;
    static constexpr size_t kBlockHeaderSize = 12;
    static constexpr size_t kMaxFirstBlock = 61440;
    static constexpr uint32_t kMaxRawLength = 64u * 1024u * 1024u;

    struct Cheader {
        uint16_t type = 0;
        uint8_t compressed = 0;
        uint8_t scrambled = 0;
        uint32_t storedLength = 0;
        uint32_t rawLength = 0;
    };

    // Packs raw bytes into the single-block form.
    static Cbytes pack(uint16_t type, const void* raw, size_t size);
    // Undoes pack: the result is a 12-byte header (flags cleared, lengths equal)
    // followed by the raw payload. False, with a log line, on any fault.
    static bool unpack(const uint8_t* packed, size_t size, Cbytes& out);
    // Payload only, and the header's type.
    static bool unpackPayload(const uint8_t* packed, size_t size, Cbytes& payload, uint16_t* type = nullptr);
    static bool readHeader(const uint8_t* p, size_t size, Cheader& h);

    // Multi-block records.
    static void addBlock(Cbytes& record, uint16_t type, const void* data, uint32_t length);
    static Cbytes packRecord(const Cbytes& record);
    // Unpacks a record; flags 0 pass through unchanged. Every block is checked
    // to lie inside the record.
    static bool unpackRecord(const uint8_t* packed, size_t size, Cbytes& out);
    static uint32_t blockCount(const Cbytes& record);
    // The n-th block of an unpacked record; false when out of range.
    static bool getBlock(const Cbytes& record, uint32_t index, uint16_t& type, const uint8_t*& data, uint32_t& length);

    static void scramble(uint8_t* p, size_t n);
    static void unscramble(uint8_t* p, size_t n) { scramble(p, n); }
};

// Little-endian helpers for fixed record layouts.
inline void putU16(uint8_t* p, uint16_t v) { p[0] = (uint8_t)v; p[1] = (uint8_t)(v >> 8); }
inline void putU32(uint8_t* p, uint32_t v) { for (int i = 0; i < 4; ++i) p[i] = (uint8_t)(v >> (8 * i)); }
inline void putU64(uint8_t* p, uint64_t v) { for (int i = 0; i < 8; ++i) p[i] = (uint8_t)(v >> (8 * i)); }
inline uint16_t getU16(const uint8_t* p) { return (uint16_t)(p[0] | (p[1] << 8)); }
inline uint32_t getU32(const uint8_t* p) {
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}
inline uint64_t getU64(const uint8_t* p) {
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}
