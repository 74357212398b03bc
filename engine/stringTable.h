#pragma once
// CstringTable: texts looked up by tag.
//
// File format (keyword text file): pairs of tag and text, ended by "EndFile".
//   ; comment
//   OK        "OK"
//   Welcome   "Welcome back, %s"
//   EndFile
#include <string>
#include <unordered_map>

class CstringTable {
public:
    // Loads a table from the data folder's "textFiles/"; with overlay the
    // tags read replace or add to those already held.
    bool load(const std::string& fileName, bool overlay = false);
    bool loadFromText(const char* text, bool overlay = false);
    // The text of a tag, or null (with "can't find tag '%s'" when report).
    const char* find(const std::string& tag, bool report = true) const;
    // The text, or the tag itself when it is missing (never null).
    const char* text(const std::string& tag) const;
    bool has(const std::string& tag) const { return map_.count(lower(tag)) != 0; }
    void set(const std::string& tag, const std::string& value) { map_[lower(tag)] = value; }
    void clear() { map_.clear(); }
    size_t size() const { return map_.size(); }
    const std::string& name() const { return name_; }

private:
    static std::string lower(const std::string& s);
    std::unordered_map<std::string, std::string> map_;
    std::string name_;
};
