#pragma once
// CnumberGlyphs: lines made only of digits and a few separators ("12,345",
// "03:25") drawn from one image per glyph, each placed where SDL_ttf places
// it in the rasterised line. A score that changes every frame then needs no
// new line image and no upload. Every glyph and every pair of neighbours is
// checked once against the rasterised line, pixel for pixel; a line with a
// glyph or pair that differs (kerning, overlapping outlines) is left to the
// line cache.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

typedef struct _TTF_Font TTF_Font;
class Ctexture;

class CnumberGlyphs {
public:
    static constexpr int kChars = 16;

    struct Cplaced {
        Ctexture* texture = nullptr;
        int x = 0, width = 0;   // from the line's left edge
    };
    struct Cline {
        const Cplaced* glyphs = nullptr;
        size_t count = 0;
        int width = 0, height = 0;
    };

    CnumberGlyphs() = default;
    CnumberGlyphs(const CnumberGlyphs&) = delete;
    CnumberGlyphs& operator=(const CnumberGlyphs&) = delete;

    // Whether every character of the text has a glyph image here.
    static bool composable(const std::string& text);
    // The text laid out as SDL_ttf would lay it out in face (owned by the
    // font named fontName, keyed by owner and outline); false when it can't
    // be drawn this way. The result lasts until the next call with the same
    // slot (0 or 1, so that an outline and its text can be held together).
    bool compose(const void* owner, const std::string& fontName, TTF_Font* face, int outline, const std::string& text,
                 int slot, Cline& out);
    // The text's line as SDL_ttf renders it (white RGBA rows), made from the
    // glyph images: for text drawn where glyph quads would not meet exactly.
    bool composePixels(const void* owner, const std::string& fontName, TTF_Font* face, int outline,
                       const std::string& text, std::vector<uint8_t>& rgba, int& width, int& height);
    // Drops every glyph image (the fonts are reopened, or the textures go).
    void clear();

private:
    struct Cglyph {
        int state = 0;   // 0 untried, 1 usable, 2 not
        Ctexture* texture = nullptr;
        std::vector<uint8_t> alpha;
        int width = 0, height = 0, origin = 0, advance = 0;
    };
    struct Cset {
        const void* owner = nullptr;
        int outline = 0;
        Cglyph glyphs[kChars];
        uint8_t pairs[kChars][kChars] = {};   // kChecked and what was found
    };
    // What a check against the rasterised line found.
    enum { kChecked = 1, kSamePixels = 2, kApart = 4 };
    Cset& setFor(const void* owner, int outline);
    bool makeGlyph(Cset& set, TTF_Font* face, const std::string& fontName, int index);
    // Places the glyphs of indices; false when their heights differ.
    bool layOut(const Cset& set, const int* indices, size_t n, std::vector<Cplaced>& out, int& width, int& height) const;
    // The glyphs composed as SDL_ttf composes them (kSamePixels when they give
    // its pixels), and whether they share no pixel (kApart: quads may draw them).
    int matchLine(const Cset& set, TTF_Font* face, const std::string& text);
    // The glyphs of the text made and their pairs checked for the flags
    // wanted; the text's glyph indices left in indices_.
    bool prepare(Cset& set, TTF_Font* face, const std::string& fontName, const std::string& text, int wanted);
    // The text's coverage, composed as SDL_ttf composes it, into composed_.
    void composeCoverage(const Cset& set, int width, int height, bool* apart);

    std::vector<std::unique_ptr<Cset>> sets_;
    std::vector<Cplaced> placed_[2];
    std::vector<Cplaced> scratch_;
    std::vector<int> indices_;
    std::vector<uint8_t> composed_;
};
