#pragma once
// CbString: the program's text type. One growable UTF-8 byte string.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/log.h"

class CbString {
public:
    CbString() = default;
    CbString(const char* s) : s_(s ? s : "") {}
    CbString(std::string s) : s_(std::move(s)) {}
    CbString(std::string_view s) : s_(s) {}

    static CbString format(const char* fmt, ...) ZX_PRINTF(1, 2);
    void set(const char* s) { s_ = s ? s : ""; }
    void setf(const char* fmt, ...) ZX_PRINTF(2, 3);
    void appendf(const char* fmt, ...) ZX_PRINTF(2, 3);
    void append(std::string_view s) { s_.append(s); }
    // The translated text of a tag from the game language table.
    void setKey(const char* tag);

    const char* c_str() const { return s_.c_str(); }
    const std::string& str() const { return s_; }
    std::string& str() { return s_; }
    size_t length() const { return s_.size(); }
    bool empty() const { return s_.empty(); }
    void clear() { s_.clear(); }

    // Number of UTF-8 characters.
    size_t charCount() const;
    // Cuts to at most maxBytes bytes, never inside a UTF-8 character.
    void truncateBytes(size_t maxBytes);
    // Cuts to at most maxChars characters.
    void truncateChars(size_t maxChars);

    // Reads a length-prefixed text: decimal digits, a zero byte, then that many
    // bytes. Never reads past avail bytes; a bad length gives an empty text.
    // Returns the bytes consumed (0 when nothing could be read).
    size_t deserialise(const uint8_t* p, size_t avail);
    // Writes this text in the same form.
    void serialise(std::string& out) const;

    bool operator==(const CbString& o) const { return s_ == o.s_; }
    bool operator==(const char* o) const { return s_ == (o ? o : ""); }
    operator std::string_view() const { return s_; }

private:
    std::string s_;
};

// UTF-8 helpers on plain strings.
size_t utf8CutPoint(std::string_view s, size_t maxBytes);   // largest boundary <= maxBytes
std::string utf8Truncate(std::string_view s, size_t maxChars);
// At most maxBytes, cut on a character boundary; a text that had to be cut
// ends in an ellipsis so that a reader sees it goes on.
std::string utf8CutWithEllipsis(std::string_view s, size_t maxBytes);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
std::string toLowerAscii(std::string_view s);
// Copies into a fixed field of size bytes (terminator included), cut on a
// UTF-8 character boundary.
void copyToField(char* field, size_t size, std::string_view s);
