#include "engine/bString.h"

#include <cstdarg>
#include <cstring>

#include "engine/engine.h"

CbString CbString::format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    CbString r(vformat(fmt, args));
    va_end(args);
    return r;
}

void CbString::setf(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    s_ = vformat(fmt, args);
    va_end(args);
}

void CbString::appendf(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    s_ += vformat(fmt, args);
    va_end(args);
}

void CbString::setKey(const char* tag) {
    const char* t = gEngine ? gEngine->language().find(tag, true) : nullptr;
    s_ = t ? t : (tag ? tag : "");
}

size_t CbString::charCount() const {
    size_t n = 0;
    for (unsigned char c : s_)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

size_t utf8CutPoint(std::string_view s, size_t maxBytes) {
    if (s.size() <= maxBytes) return s.size();
    size_t cut = maxBytes;
    while (cut > 0 && ((unsigned char)s[cut] & 0xC0) == 0x80) --cut;
    return cut;
}

std::string utf8Truncate(std::string_view s, size_t maxChars) {
    size_t chars = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (((unsigned char)s[i] & 0xC0) != 0x80) {
            if (chars == maxChars) return std::string(s.substr(0, i));
            ++chars;
        }
    }
    return std::string(s);
}

std::string utf8CutWithEllipsis(std::string_view s, size_t maxBytes) {
    if (s.size() <= maxBytes) return std::string(s);
    static const std::string_view kEllipsis = "\xE2\x80\xA6";
    if (maxBytes < kEllipsis.size()) return std::string(s.substr(0, utf8CutPoint(s, maxBytes)));
    std::string out(s.substr(0, utf8CutPoint(s, maxBytes - kEllipsis.size())));
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out + std::string(kEllipsis);
}

void CbString::truncateBytes(size_t maxBytes) { s_.resize(utf8CutPoint(s_, maxBytes)); }
void CbString::truncateChars(size_t maxChars) { s_ = utf8Truncate(s_, maxChars); }

size_t CbString::deserialise(const uint8_t* p, size_t avail) {
    s_.clear();
    if (!p || avail == 0) return 0;
    size_t i = 0;
    uint64_t len = 0;
    while (i < avail && i < 10 && p[i] >= '0' && p[i] <= '9') {
        len = len * 10 + (p[i] - '0');
        ++i;
    }
    if (i == 0 || i >= avail || p[i] != 0) return 0;   // no digits or no terminator
    ++i;
    if (len > avail - i) return 0;                      // would read past the record
    s_.assign((const char*)p + i, (size_t)len);
    // A text ends at its first zero byte.
    size_t z = s_.find('\0');
    if (z != std::string::npos) s_.resize(z);
    return i + (size_t)len;
}

void CbString::serialise(std::string& out) const {
    out += std::to_string(s_.size());
    out.push_back('\0');
    out += s_;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = (unsigned char)a[i], y = (unsigned char)b[i];
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return false;
    }
    return true;
}

std::string toLowerAscii(std::string_view s) {
    std::string r(s);
    for (auto& c : r)
        if (c >= 'A' && c <= 'Z') c = (char)(c + 32);
    return r;
}

void copyToField(char* field, size_t size, std::string_view s) {
    if (!field || size == 0) return;
    size_t n = utf8CutPoint(s, size - 1);
    memcpy(field, s.data(), n);
    memset(field + n, 0, size - n);
}
