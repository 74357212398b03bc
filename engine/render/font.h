#pragma once
// Cfont and CfontMgr: TrueType text through SDL_ttf. A line of text is
// rendered once into a white texture and kept in a cache; drawing tints it.
// Named fonts come from "fonts.txt" in the text files folder:
//
//   Font FontBig "DejaVuSans-Bold.ttf" 40 Cjk "wqy-microhei.ttc"   ; name, file, pixel size, CJK twin
//   Fallback "wqy-microhei.ttc"   ; lines with characters a font lacks
//   EndFile
//
// Font files are looked for in the data folder's "fonts/".
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/log.h"
#include "engine/maths.h"
#include "engine/render/renderTypes.h"

typedef struct _TTF_Font TTF_Font;
class CnumberGlyphs;
class Ctexture;

enum EfontStyle { FONT_PLAIN = 0, FONT_OUTLINE = 1, FONT_SHADOW = 2 };

class Cfont {
public:
    Cfont() = default;
    ~Cfont();
    Cfont(const Cfont&) = delete;
    Cfont& operator=(const Cfont&) = delete;

    std::string name;
    std::string file, cjkFile;
    int pixelSize = 20;

    // Style of the text drawn next.
    Ccolour colour;
    int style = FONT_PLAIN;
    Ccolour outlineColour{0, 0, 0, 1};
    int outlineSize = 2;   // pixels at scale 1
    Ccolour shadowColour{0, 0, 0, 0.6f};
    Cvec2 shadowOffset{2, 2};

    void setColour(const Ccolour& c) { colour = c; }
    // Text at (x, y) scaled by scale; align picks the corner or edge of the
    // text's box that (x, y) stands for. Lines break at "\n".
    void drawText(const std::string& text, float x, float y, float scale = 1, int align = ALIGN_LEFT);
    void drawText(const std::string& text, float x, float y, float scale, int align, const Ccolour& c);
    void drawTextf(float x, float y, float scale, int align, const char* fmt, ...) ZX_PRINTF(6, 7);
    // Width and height of the text's box.
    Cvec2 measure(const std::string& text, float scale = 1);
    float lineHeight(float scale = 1) const;

    // A font whose file is missing draws boxes where its text would be.
    bool isPlaceholder() const { return ttf_ == nullptr; }
    bool usingCjk() const { return usingCjk_; }
    // Whether the font's own file has a glyph for every character of the text.
    bool hasGlyphs(const std::string& text) const;

private:
    friend class CfontMgr;
    bool open(bool cjk);
    void close();
    TTF_Font* outlineFont();
    // The face a line is drawn with: the font's own, or the fallback at the
    // same size when the line has characters the font lacks (a Chinese title
    // among English texts).
    TTF_Font* faceFor(const std::string& line, int outline);
    TTF_Font* openFallback(int outline);
    // A line of digits drawn from glyph images at whole pixels; false when
    // it has to be rasterised instead.
    bool drawComposed(const std::string& line, float x, float y, int align, const Ccolour& c);

    TTF_Font* ttf_ = nullptr;
    TTF_Font* outlineTtf_ = nullptr;
    int outlineOpenSize_ = 0;
    TTF_Font* fallbackTtf_ = nullptr;
    TTF_Font* fallbackOutlineTtf_ = nullptr;
    int fallbackOutlineSize_ = 0;
    bool fallbackMissing_ = false;
    bool usingCjk_ = false;
};

class CfontMgr {
public:
    static constexpr size_t kCacheSoftLimit = 512;   // lines kept beyond this are trimmed
    static constexpr uint64_t kCacheMaxIdleFrames = 600;

    CfontMgr();
    ~CfontMgr();
    CfontMgr(const CfontMgr&) = delete;
    CfontMgr& operator=(const CfontMgr&) = delete;

    bool load(const std::string& fileName = "fonts.txt");
    bool loadFromText(const char* text);
    void releaseAll();

    // By name, ignoring case; null with "Can't find font: %s".
    Cfont* findFont(const std::string& name, bool reportMiss = true);
    // By name, or the placeholder font after logging the miss once.
    Cfont* getFont(const std::string& name);
    Cfont* placeholder() { return &placeholder_; }
    size_t count() const { return fonts_.size(); }

    // Chinese and Japanese need the CJK twins of the fonts.
    void setCjk(bool on);
    bool cjk() const { return cjk_; }
    // The font file lines fall back to when their font lacks a character.
    const std::string& fallbackFile() const { return fallbackFile_; }

    // Rendered lines. A line is looked up by font, outline size and text.
    struct Cline {
        Ctexture* texture = nullptr;
        int width = 0, height = 0;
        uint64_t lastFrame = 0;
    };
    const Cline* renderLine(Cfont* font, const std::string& text, int outline);
    // Frees lines not drawn for a while, and the oldest when over the limit.
    void trimCache(uint64_t frame);
    void clearCache();
    size_t cacheSize() const { return cache_.size(); }
    uint64_t cacheHits = 0, cacheMisses = 0;

    // Numbers come from glyph images (numberGlyphs.h): drawn glyph by glyph
    // at whole pixels, else made into lines; off: every line is rasterised,
    // to compare against.
    bool composeNumbers = true;
    CnumberGlyphs& numberGlyphs() { return *numberGlyphs_; }

    // The full path of a font file, or "" when it can't be found.
    static std::string findFontFile(const std::string& file);

private:
    // A cached line in the order of use: the least recently drawn at the
    // head, so trimming looks only at the lines that go.
    struct Centry {
        Cline line;
        const std::string* key = nullptr;
        Centry* older = nullptr;
        Centry* newer = nullptr;
    };
    void dropIdleLines(uint64_t frame);
    void unlink(Centry& e);
    void linkNewest(Centry& e);
    void dropOldest();

    std::vector<std::unique_ptr<Cfont>> fonts_;
    std::unordered_map<std::string, Centry> cache_;   // entries keep their places as others come and go
    Centry* oldest_ = nullptr;
    Centry* newest_ = nullptr;
    std::string key_;                // reused for each look-up
    std::vector<uint8_t> pixels_;    // a new line's packed pixels
    std::unordered_set<std::string> reportedMisses_;
    std::unique_ptr<CnumberGlyphs> numberGlyphs_;
    Cfont placeholder_;
    bool cjk_ = false;
    std::string fallbackFile_ = "wqy-microhei.ttc";
    bool ttfStarted_ = false;
};
