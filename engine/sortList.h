#pragma once
// A list of (key, data) pairs sorted by number or by text.
#include <cstdint>
#include <string>
#include <vector>

class CsortList {
public:
    struct Centry {
        float number = 0;
        std::string text;
        int64_t data = 0;
    };
    void clear() { entries_.clear(); }
    void addNumber(float key, int64_t data) { entries_.push_back({key, {}, data}); }
    void addString(const std::string& key, int64_t data) { entries_.push_back({0, key, data}); }
    // option 0 ascending, 1 descending; equal keys keep their order.
    void sortNumbers(int option);
    // option 0 byte order of UTF-8, 1 ignoring case (never descending).
    void sortAlpha(int option);
    size_t size() const { return entries_.size(); }
    int64_t dataAt(size_t i) const { return entries_[i].data; }
    const Centry& at(size_t i) const { return entries_[i]; }

private:
    std::vector<Centry> entries_;
};
