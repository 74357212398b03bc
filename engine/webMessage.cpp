#include "engine/webMessage.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "engine/engine.h"

namespace {
// The scramble table: 10,000 fixed bytes made once from a fixed seed.
const std::array<uint8_t, 10000>& scrambleTable() {
    static const std::array<uint8_t, 10000> table = [] {
        std::array<uint8_t, 10000> t{};
        uint32_t x = 0x5A0B1E7Du;
        for (auto& b : t) {
            x = x * 1103515245u + 12345u;
            b = (uint8_t)((x >> 16) ^ (x >> 24));
        }
        return t;
    }();
    return table;
}

void logError(const char* what) {
    if (gEngine) gEngine->log.print(LOG_L, "CwebMessage: %s", what);
}

// Compresses into out; false when compression would not make it smaller.
// zlib's default level: the best one took about 90 ms over a 10,000-track
// library, a hitch each time it was saved, for about 6 % less on disk.
bool compressSmaller(const uint8_t* raw, size_t size, Cbytes& out) {
    if (size == 0) return false;
    uLongf bound = compressBound((uLong)size);
    out.resize(bound);
    if (compress2(out.data(), &bound, raw, (uLong)size, Z_DEFAULT_COMPRESSION) != Z_OK) return false;
    if (bound >= size) return false;
    out.resize(bound);
    return true;
}

// Deflate expands at most 1032 times, so a raw length beyond that is refused
// at once.
constexpr uint64_t kMaxInflateRatio = 1032;
bool inflatable(uint64_t storedLength, uint64_t rawLength) { return rawLength <= storedLength * kMaxInflateRatio; }

// Inflates src and appends exactly rawLength bytes to out. The stated length
// is only a claim: the buffer grows with what the stream really gives, so a
// header asking for megabytes over a few bytes of garbage costs nothing.
bool inflateAppend(const uint8_t* src, size_t srcSize, uint32_t rawLength, Cbytes& out) {
    constexpr size_t kFirstStep = 64 * 1024;
    const size_t base = out.size();
    const size_t want = base + rawLength;
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return false;
    z.next_in = const_cast<Bytef*>(src);
    z.avail_in = (uInt)srcSize;
    size_t done = base;
    int rc = Z_OK;
    while (rc == Z_OK && done < want) {
        size_t grow = std::min(want - done, std::max(kFirstStep, done - base));
        out.resize(done + grow);
        z.next_out = out.data() + done;
        z.avail_out = (uInt)grow;
        rc = inflate(&z, Z_NO_FLUSH);
        done += grow - z.avail_out;
        if (rc == Z_BUF_ERROR && z.avail_out == 0) rc = Z_OK;   // only out of room: grow again
    }
    if (rc == Z_OK && done == want) {
        // All the room is used: the stream must end here and nowhere later.
        uint8_t spare;
        z.next_out = &spare;
        z.avail_out = 1;
        rc = inflate(&z, Z_NO_FLUSH);
        if (z.avail_out == 0) rc = Z_DATA_ERROR;
    }
    inflateEnd(&z);
    out.resize(done);
    return rc == Z_STREAM_END && done == want;
}
}  // namespace

void CwebMessage::scramble(uint8_t* p, size_t n) {
    const auto& t = scrambleTable();
    for (size_t i = 0; i < n; ++i) p[i] ^= t[i % t.size()];
}

Cbytes CwebMessage::pack(uint16_t type, const void* raw, size_t size) {
    const uint8_t* src = (const uint8_t*)raw;
    Cbytes compressed;
    bool useZ = compressSmaller(src, size, compressed);
    const uint8_t* payload = useZ ? compressed.data() : src;
    size_t stored = useZ ? compressed.size() : size;
    Cbytes out(kHeaderSize + stored);
    putU16(&out[0], type);
    out[2] = useZ ? 1 : 0;
    out[3] = 1;
    putU32(&out[4], (uint32_t)stored);
    putU32(&out[8], (uint32_t)size);
    if (stored) memcpy(&out[kHeaderSize], payload, stored);
    scramble(&out[kHeaderSize], stored);
    return out;
}

bool CwebMessage::readHeader(const uint8_t* p, size_t size, Cheader& h) {
    if (!p || size < kHeaderSize) return false;
    h.type = getU16(p);
    h.compressed = p[2];
    h.scrambled = p[3];
    h.storedLength = getU32(p + 4);
    h.rawLength = getU32(p + 8);
    return true;
}

bool CwebMessage::unpack(const uint8_t* packed, size_t size, Cbytes& out) {
    out.clear();
    Cheader h;
    if (!readHeader(packed, size, h)) { logError("packed data shorter than its header"); return false; }
    if (h.compressed > 1 || h.scrambled > 1) { logError("bad packed flags"); return false; }
    if (h.storedLength > size - kHeaderSize) { logError("stored length past the end of the data"); return false; }
    if (h.rawLength > kMaxRawLength) { logError("raw length too large"); return false; }
    if (!h.compressed && h.storedLength != h.rawLength) { logError("stored and raw lengths differ"); return false; }
    if (h.compressed && !inflatable(h.storedLength, h.rawLength)) { logError("raw length beyond what the stored data can inflate to"); return false; }
    Cbytes payload(packed + kHeaderSize, packed + kHeaderSize + h.storedLength);
    if (h.scrambled) unscramble(payload.data(), payload.size());
    out.resize(kHeaderSize);
    putU16(&out[0], h.type);
    out[2] = 0;
    out[3] = 0;
    putU32(&out[4], h.rawLength);
    putU32(&out[8], h.rawLength);
    if (h.compressed) {
        if (!inflateAppend(payload.data(), payload.size(), h.rawLength, out)) {
            out.clear();
            logError("compressed payload does not give its stated size");
            return false;
        }
    } else {
        out.insert(out.end(), payload.begin(), payload.end());
    }
    return true;
}

bool CwebMessage::unpackPayload(const uint8_t* packed, size_t size, Cbytes& payload, uint16_t* type) {
    Cbytes whole;
    if (!unpack(packed, size, whole)) return false;
    if (type) *type = getU16(whole.data());
    payload.assign(whole.begin() + kHeaderSize, whole.end());
    return true;
}

void CwebMessage::addBlock(Cbytes& record, uint16_t type, const void* data, uint32_t length) {
    if (record.size() < kRecordHeaderSize) {
        // Starting a record.
        if (length > kMaxFirstBlock) {
            if (gEngine) gEngine->raiseFatal("CwebMessage::addBlock first block too large: %u", length);
            return;
        }
        record.assign(kRecordHeaderSize, 0);
    }
    size_t at = record.size();
    record.resize(at + kBlockHeaderSize + length);
    putU16(&record[at], type);
    putU32(&record[at + 2], length);
    if (length) memcpy(&record[at + kBlockHeaderSize], data, length);
    putU32(&record[0], getU32(&record[0]) + 1);
    putU32(&record[4], (uint32_t)record.size());
    putU32(&record[8], (uint32_t)record.size());
}

Cbytes CwebMessage::packRecord(const Cbytes& record) {
    if (record.size() < kRecordHeaderSize) return {};
    const uint8_t* body = record.data() + kRecordHeaderSize;
    size_t bodySize = record.size() - kRecordHeaderSize;
    Cbytes compressed;
    bool useZ = compressSmaller(body, bodySize, compressed);
    Cbytes out(record.begin(), record.begin() + kRecordHeaderSize);
    if (useZ) out.insert(out.end(), compressed.begin(), compressed.end());
    else out.insert(out.end(), body, body + bodySize);
    putU32(&out[4], (uint32_t)out.size());
    putU32(&out[8], (uint32_t)record.size());
    out[12] = useZ ? 1 : 0;
    out[13] = 1;
    scramble(out.data() + kRecordHeaderSize, out.size() - kRecordHeaderSize);
    return out;
}

uint32_t CwebMessage::blockCount(const Cbytes& record) {
    return record.size() >= kRecordHeaderSize ? getU32(record.data()) : 0;
}

bool CwebMessage::getBlock(const Cbytes& record, uint32_t index, uint16_t& type, const uint8_t*& data,
                           uint32_t& length) {
    if (record.size() < kRecordHeaderSize || index >= blockCount(record)) return false;
    size_t at = kRecordHeaderSize;
    for (uint32_t i = 0;; ++i) {
        if (record.size() - at < kBlockHeaderSize) return false;
        uint32_t len = getU32(&record[at + 2]);
        if (len > record.size() - at - kBlockHeaderSize) return false;
        if (i == index) {
            type = getU16(&record[at]);
            data = &record[at + kBlockHeaderSize];
            length = len;
            return true;
        }
        at += kBlockHeaderSize + len;
    }
}

bool CwebMessage::unpackRecord(const uint8_t* packed, size_t size, Cbytes& out) {
    out.clear();
    if (!packed || size < kRecordHeaderSize) { logError("record shorter than its header"); return false; }
    uint32_t count = getU32(packed);
    uint32_t stored = getU32(packed + 4);
    uint32_t raw = getU32(packed + 8);
    uint8_t compressed = packed[12], scrambled = packed[13];
    if (compressed > 1 || scrambled > 1) { logError("bad record flags"); return false; }
    if (stored < kRecordHeaderSize || stored > size) { logError("record stored length out of range"); return false; }
    if (raw < kRecordHeaderSize || raw > kMaxRawLength) { logError("record raw length out of range"); return false; }
    if (!compressed && raw != stored) { logError("record lengths differ"); return false; }
    if (compressed && !inflatable(stored - kRecordHeaderSize, raw - kRecordHeaderSize)) {
        logError("record raw length beyond what the stored data can inflate to");
        return false;
    }
    Cbytes body(packed + kRecordHeaderSize, packed + stored);
    if (scrambled) unscramble(body.data(), body.size());
    out.assign(packed, packed + kRecordHeaderSize);
    if (compressed) {
        if (!inflateAppend(body.data(), body.size(), raw - (uint32_t)kRecordHeaderSize, out)) {
            out.clear();
            logError("record payload does not give its stated size");
            return false;
        }
    } else {
        out.insert(out.end(), body.begin(), body.end());
    }
    putU32(&out[4], raw);
    putU32(&out[8], raw);
    out[12] = 0;
    out[13] = 0;
    // Every block must lie inside the record, and the count must match.
    size_t at = kRecordHeaderSize;
    for (uint32_t i = 0; i < count; ++i) {
        if (out.size() - at < kBlockHeaderSize) { out.clear(); logError("record block header past the end"); return false; }
        uint32_t len = getU32(&out[at + 2]);
        if (len > out.size() - at - kBlockHeaderSize) { out.clear(); logError("record block past the end"); return false; }
        at += kBlockHeaderSize + len;
    }
    return true;
}
