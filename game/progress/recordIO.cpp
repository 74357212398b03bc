#include "game/progress/recordIO.h"

#include <cmath>

#include "engine/bString.h"
#include "engine/engine.h"

void CrecordWriter::text(std::string_view s, size_t size) {
    if (size == 0) return;
    size_t n = utf8CutPoint(s, size - 1);
    out_.insert(out_.end(), (const uint8_t*)s.data(), (const uint8_t*)s.data() + n);
    out_.insert(out_.end(), size - n, 0);
}

void CrecordWriter::string(std::string_view s) {
    u32((uint32_t)s.size());
    bytes(s.data(), s.size());
}

const uint8_t* CrecordReader::span(size_t n) {
    if (failed_ || n > size_ - at_) {
        failed_ = true;
        return nullptr;
    }
    const uint8_t* p = p_ + at_;
    at_ += n;
    return p;
}

uint8_t CrecordReader::u8() {
    const uint8_t* p = span(1);
    return p ? p[0] : 0;
}

uint16_t CrecordReader::u16() {
    const uint8_t* p = span(2);
    return p ? getU16(p) : 0;
}

uint32_t CrecordReader::u32() {
    const uint8_t* p = span(4);
    return p ? getU32(p) : 0;
}

uint64_t CrecordReader::u64() {
    const uint8_t* p = span(8);
    return p ? getU64(p) : 0;
}

float CrecordReader::f32() {
    uint32_t u = u32();
    float v;
    memcpy(&v, &u, 4);
    return v;
}

double CrecordReader::f64() {
    uint64_t u = u64();
    double v;
    memcpy(&v, &u, 8);
    return v;
}

std::string CrecordReader::text(size_t size) {
    const uint8_t* p = span(size);
    if (!p) return {};
    size_t n = 0;
    while (n < size && p[n]) ++n;
    return sanitiseUtf8(std::string_view((const char*)p, n));
}

std::string CrecordReader::string(size_t maxBytes) {
    uint32_t n = u32();
    if (n > maxBytes) {
        failed_ = true;
        return {};
    }
    const uint8_t* p = span(n);
    if (!p) return {};
    return sanitiseUtf8(std::string_view((const char*)p, n));
}

bool CrecordReader::bytes(void* dest, size_t n) {
    const uint8_t* p = span(n);
    if (!p) return false;
    memcpy(dest, p, n);
    return true;
}

std::string sanitiseUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = (unsigned char)s[i];
        size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        bool ok = len > 0 && i + len <= s.size();
        for (size_t k = 1; ok && k < len; ++k)
            if (((unsigned char)s[i + k] >> 6) != 2) ok = false;
        if (ok && c != 0) {
            out.append(s.substr(i, len));
            i += len;
        } else {
            out.push_back('?');
            ++i;
        }
    }
    return out;
}

int checkedInt(const char* what, int v, int lo, int hi, int fallback) {
    if (v >= lo && v <= hi) return v;
    gEngine->log.print(LOG_L, "Stored value out of range: %s = %d (using %d)", what, v, fallback);
    return fallback;
}

float checkedFloat(const char* what, float v, float lo, float hi, float fallback) {
    if (v >= lo && v <= hi) return v;   // false for NaN
    gEngine->log.print(LOG_L, "Stored value out of range: %s = %g (using %g)", what, (double)v, (double)fallback);
    return fallback;
}
