#pragma once
// CcolourTable: named colours from "colours.txt".
//
//   ; name   red green blue alpha (0..255)
//   Colour White 255 255 255 255
//   EndFile
#include <string>
#include <vector>

#include "engine/maths.h"

class CcolourTable {
public:
    struct Centry {
        std::string name;
        Ccolour colour;
    };
    bool load(const std::string& fileName = "colours.txt");
    bool loadFromText(const char* text);
    // The colour record of a name, or null with "Can't find colour: %s".
    const Centry* find(const std::string& name) const;
    // The colour, or magenta (plainly wrong, easy to spot) when missing.
    Ccolour get(const std::string& name) const;
    size_t size() const { return entries_.size(); }

private:
    std::vector<Centry> entries_;
};
