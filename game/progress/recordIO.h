#pragma once
// Little-endian writing and checked reading of the fixed record layouts kept
// in the save files and the workshop data block.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "engine/webMessage.h"

// Appends to a byte vector. Fixed records are written at explicit offsets with
// CrecordWriter::at; streams of records are appended.
class CrecordWriter {
public:
    explicit CrecordWriter(Cbytes& out) : out_(out) {}

    void u8(uint8_t v) { out_.push_back(v); }
    void u16(uint16_t v) { uint8_t b[2]; putU16(b, v); out_.insert(out_.end(), b, b + 2); }
    void u32(uint32_t v) { uint8_t b[4]; putU32(b, v); out_.insert(out_.end(), b, b + 4); }
    void u64(uint64_t v) { uint8_t b[8]; putU64(b, v); out_.insert(out_.end(), b, b + 8); }
    void i32(int32_t v) { u32((uint32_t)v); }
    void i64(int64_t v) { u64((uint64_t)v); }
    void f32(float v) { uint32_t u; memcpy(&u, &v, 4); u32(u); }
    void f64(double v) { uint64_t u; memcpy(&u, &v, 8); u64(u); }
    // A text in a fixed field of size bytes, cut on a character boundary and
    // always terminated; the rest of the field is zero.
    void text(std::string_view s, size_t size);
    // A text of any length: u32 byte count, then the bytes.
    void string(std::string_view s);
    void bytes(const void* p, size_t n) { out_.insert(out_.end(), (const uint8_t*)p, (const uint8_t*)p + n); }
    void zeros(size_t n) { out_.insert(out_.end(), n, 0); }
    // Pads with zeros up to an absolute size (a fixed record's length).
    void padTo(size_t size) { if (out_.size() < size) out_.resize(size, 0); }
    size_t size() const { return out_.size(); }

private:
    Cbytes& out_;
};

// Reads from a span; every read is bounds-checked. A read past the end sets
// failed() and yields zero, so a caller checks once at the end.
class CrecordReader {
public:
    CrecordReader(const uint8_t* p, size_t size) : p_(p), size_(size) {}

    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    uint64_t u64();
    int32_t i32() { return (int32_t)u32(); }
    int64_t i64() { return (int64_t)u64(); }
    float f32();
    double f64();
    // A fixed text field: read up to the first zero inside the field (a field
    // without one is cut at its end), then cut to whole UTF-8 characters.
    std::string text(size_t size);
    // A u32-counted text; refused (failed) when the count exceeds maxBytes.
    std::string string(size_t maxBytes);
    bool bytes(void* dest, size_t n);
    const uint8_t* span(size_t n);   // null (and failed) when n bytes are not there
    void skip(size_t n) { span(n); }
    void seek(size_t at) { if (at > size_) failed_ = true; else at_ = at; }

    size_t at() const { return at_; }
    size_t remaining() const { return size_ - at_; }
    bool failed() const { return failed_; }
    void fail() { failed_ = true; }

private:
    const uint8_t* p_;
    size_t size_;
    size_t at_ = 0;
    bool failed_ = false;
};

// Replaces bytes that are not valid UTF-8 so a text read from a file is safe
// to show and to cut.
std::string sanitiseUtf8(std::string_view s);

// A value read from a file, kept when inside [lo, hi], else replaced by the
// fallback with a log line naming it (NaN counts as outside).
int checkedInt(const char* what, int v, int lo, int hi, int fallback);
float checkedFloat(const char* what, float v, float lo, float hi, float fallback);
