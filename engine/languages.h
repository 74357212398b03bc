#pragma once
// The languages the game's texts come in, indexed by the language number kept
// in the settings (0: none chosen yet, read as English).
#include <vector>

struct Clanguage {
    const char* tag;          // its name in the language table
    const char* stringsFile;  // in "textFiles/"
    const char* flag;         // for "flag_%s.png"
    bool cjk;                 // needs the fonts with Chinese and Japanese glyphs
};

constexpr int kLanguageCount = 17;
const Clanguage& languageRow(int number);   // out of range reads as row 0
// The order the language menu offers them in.
const std::vector<int>& offeredLanguages();
