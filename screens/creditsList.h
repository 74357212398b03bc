#pragma once
// The credits list: read from "textFiles/creditsList.txt", one entry a line,
// top to bottom:
//   Tag Credits03t         a string-table tag, styled by its last character:
//                          "-" an empty line, "b" a centred title, "t" a
//                          section title, anything else plain text
//   Sprite ui_X.png 0.6    a sprite line at a share of its size
//   Language French        a section titled with a language's name
//   Translator "A Name"    a translator's line (a tag is translated)
//   EndFile
#include <string>
#include <vector>

class CstringTable;

struct CcreditLine {
    enum Ekind { TEXT, SPRITE };
    Ekind kind = TEXT;
    std::string widgetTemplate;   // "NormalText", "ScreenTitleCentered", ...
    std::string text;             // the shown text (empty for spacers)
    std::string colour;           // a named colour, or empty
    std::string sprite;
    float scale = 1.0f;
};

namespace credits {
// The lines of one tag by its last character; unicode picks the font with
// Chinese and Japanese glyphs for a section title.
std::vector<CcreditLine> linesForTag(const std::string& tag, const CstringTable& strings, bool sectionTitle = false,
                                     bool unicode = false);
// Parses the credits file. Unknown keywords are logged and skipped.
std::vector<CcreditLine> parse(const char* text, const CstringTable& strings);
bool load(const std::string& fileName, const CstringTable& strings, std::vector<CcreditLine>& out);
}  // namespace credits
