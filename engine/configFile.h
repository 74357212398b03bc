#pragma once
// CconfigFile: a small settings file of "Key value" pairs in the data folder
// ("textFiles/<name>"). Keys are compared without case, a later pair of the
// same key wins, ';' starts a comment and "EndFile" ends the file. A file may
// keep its pairs inside one named block ("WebService" ... "EndWebService").
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

class CconfigFile {
public:
    struct Centry {
        std::string key, value;
    };

    // block: the pairs must stand between "<block>" and "End<block>".
    explicit CconfigFile(std::string block = {}) : block_(std::move(block)) {}

    // False when the file can't be opened (quiet: no log line when it is
    // missing) or a pair is broken; the pairs before the fault stay.
    bool load(const std::string& name, bool quiet = false);
    // The same from text; name is for the log lines.
    bool parse(const char* text, const std::string& name);

    bool has(std::string_view key) const { return find(key) != nullptr; }
    std::string get(std::string_view key, const std::string& def = {}) const;
    // The value read as Cengine::readInt does (decimal, or 0x hex).
    int getInt(std::string_view key, int def = 0) const;
    // A whole number in lo..hi, left as it is when the key is absent. False,
    // with a log line naming file and key, for anything else (a negative
    // count, a value too large for its field, text).
    bool getIntIn(std::string_view key, int64_t lo, int64_t hi, int64_t& value) const;
    template <class T>
    bool getIntIn(std::string_view key, int64_t lo, int64_t hi, T& value) const {
        int64_t v = (int64_t)value;
        if (!getIntIn(key, lo, hi, v)) return false;
        value = (T)v;
        return true;
    }
    // The keys of the file not in known, in file order.
    std::vector<std::string> unknownKeys(std::initializer_list<std::string_view> known) const;
    const std::vector<Centry>& entries() const { return entries_; }

private:
    const std::string* find(std::string_view key) const;
    std::string block_;
    std::string name_;
    std::vector<Centry> entries_;
};
