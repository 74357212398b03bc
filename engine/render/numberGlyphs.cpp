#include "engine/render/numberGlyphs.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "engine/engine.h"
#include "engine/render/texture.h"

namespace {
const char kCharList[CnumberGlyphs::kChars + 1] = "0123456789,.:- '";

int indexOf(char c) {
    const char* at = c ? strchr(kCharList, c) : nullptr;
    return at ? (int)(at - kCharList) : -1;
}

// SDL_ttf's blended lines are white ARGB with the coverage in alpha.
SDL_Surface* renderWhite(TTF_Font* face, const char* text) {
    SDL_Surface* s = TTF_RenderUTF8_Blended(face, text, SDL_Color{255, 255, 255, 255});
    if (s && s->format->format != SDL_PIXELFORMAT_ARGB8888) {
        SDL_FreeSurface(s);
        return nullptr;
    }
    return s;
}

uint32_t pixelAt(const SDL_Surface* s, int x, int y) {
    uint32_t p;
    memcpy(&p, (const uint8_t*)s->pixels + (size_t)y * s->pitch + (size_t)x * 4, 4);
    return p;
}
}  // namespace

bool CnumberGlyphs::composable(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text)
        if (indexOf(c) < 0) return false;
    return true;
}

void CnumberGlyphs::clear() {
    for (auto& set : sets_)
        for (Cglyph& g : set->glyphs)
            if (g.texture && gEngine) gEngine->textures.destroy(g.texture);
    sets_.clear();
}

CnumberGlyphs::Cset& CnumberGlyphs::setFor(const void* owner, int outline) {
    for (auto& s : sets_)
        if (s->owner == owner && s->outline == outline) return *s;
    sets_.push_back(std::make_unique<Cset>());
    sets_.back()->owner = owner;
    sets_.back()->outline = outline;
    return *sets_.back();
}

bool CnumberGlyphs::makeGlyph(Cset& set, TTF_Font* face, const std::string& fontName, int index) {
    Cglyph& g = set.glyphs[index];
    g.state = 2;
    const char one[2] = {kCharList[index], 0};
    int minx = 0, maxx = 0, miny = 0, maxy = 0, advance = 0;
    if (TTF_GlyphMetrics32(face, (Uint32)one[0], &minx, &maxx, &miny, &maxy, &advance) != 0) return false;
    SDL_Surface* s = renderWhite(face, one);
    if (!s) return false;
    g.width = s->w;
    g.height = s->h;
    g.origin = std::max(0, -minx) + TTF_GetFontOutline(face);
    g.advance = advance;
    g.alpha.resize((size_t)s->w * s->h);
    std::vector<uint8_t> rgba((size_t)s->w * s->h * 4, 255);
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            const uint8_t a = (uint8_t)(pixelAt(s, x, y) >> 24);
            g.alpha[(size_t)y * s->w + x] = a;
            rgba[((size_t)y * s->w + x) * 4 + 3] = a;
        }
    SDL_UnlockSurface(s);
    SDL_FreeSurface(s);
    g.texture = gEngine->textures.createFromPixels("text:" + fontName, rgba.data(), g.width, g.height, PACK_TEXT);
    if (!g.texture) return false;
    g.state = 1;
    // A run of the glyph shows whether the pen moves by whole pixels.
    if (matchLine(set, face, std::string(8, one[0])) & kSamePixels) return true;
    g.state = 2;
    gEngine->textures.destroy(g.texture);
    g.texture = nullptr;
    return false;
}

bool CnumberGlyphs::layOut(const Cset& set, const int* indices, size_t n, std::vector<Cplaced>& out, int& width,
                           int& height) const {
    out.resize(n);
    int pen = 0, left = INT_MAX, right = INT_MIN;
    height = set.glyphs[indices[0]].height;
    for (size_t k = 0; k < n; ++k) {
        const Cglyph& g = set.glyphs[indices[k]];
        if (g.height != height) return false;
        const int x = pen - g.origin;
        out[k].texture = g.texture;
        out[k].x = x;
        out[k].width = g.width;
        left = std::min(left, x);
        right = std::max(right, x + g.width);
        pen += g.advance;
    }
    for (Cplaced& p : out) p.x -= left;
    width = right - left;
    return true;
}

void CnumberGlyphs::composeCoverage(const Cset& set, int width, int height, bool* apart) {
    // SDL_ttf ORs each glyph's coverage into the line.
    composed_.assign((size_t)width * height, 0);
    for (size_t k = 0; k < scratch_.size(); ++k) {
        const Cglyph& g = set.glyphs[indices_[k]];
        for (int y = 0; y < g.height; ++y) {
            const uint8_t* from = &g.alpha[(size_t)y * g.width];
            uint8_t* to = &composed_[(size_t)y * width + scratch_[k].x];
            for (int x = 0; x < g.width; ++x) {
                if (apart && from[x] && to[x]) *apart = false;
                to[x] |= from[x];
            }
        }
    }
}

int CnumberGlyphs::matchLine(const Cset& set, TTF_Font* face, const std::string& text) {
    indices_.clear();
    for (char c : text) indices_.push_back(indexOf(c));
    int width = 0, height = 0;
    if (!layOut(set, indices_.data(), indices_.size(), scratch_, width, height)) return kChecked;
    SDL_Surface* s = renderWhite(face, text.c_str());
    if (!s) return kChecked;
    bool same = s->w == width && s->h == height, apart = true;
    if (same) composeCoverage(set, width, height, &apart);
    SDL_LockSurface(s);
    for (int y = 0; same && y < height; ++y)
        for (int x = 0; same && x < width; ++x) {
            const uint32_t p = pixelAt(s, x, y);
            same = (p & 0xFFFFFF) == 0xFFFFFF && (p >> 24) == composed_[(size_t)y * width + x];
        }
    SDL_UnlockSurface(s);
    SDL_FreeSurface(s);
    return kChecked | (same ? kSamePixels : 0) | (same && apart ? kApart : 0);
}

bool CnumberGlyphs::prepare(Cset& set, TTF_Font* face, const std::string& fontName, const std::string& text,
                            int wanted) {
    for (char c : text) {
        const int i = indexOf(c);
        if (set.glyphs[i].state == 0) makeGlyph(set, face, fontName, i);
        if (set.glyphs[i].state != 1) return false;
    }
    for (size_t k = 1; k < text.size(); ++k) {
        uint8_t& pair = set.pairs[indexOf(text[k - 1])][indexOf(text[k])];
        if (!pair) pair = (uint8_t)matchLine(set, face, text.substr(k - 1, 2));
        if ((pair & wanted) != wanted) return false;
    }
    indices_.clear();
    for (char c : text) indices_.push_back(indexOf(c));
    return true;
}

bool CnumberGlyphs::compose(const void* owner, const std::string& fontName, TTF_Font* face, int outline,
                            const std::string& text, int slot, Cline& out) {
    if (!face || !composable(text) || slot < 0 || slot > 1) return false;
    Cset& set = setFor(owner, outline);
    if (!prepare(set, face, fontName, text, kSamePixels | kApart)) return false;
    std::vector<Cplaced>& placed = placed_[slot];
    if (!layOut(set, indices_.data(), indices_.size(), placed, out.width, out.height)) return false;
    // Pairs were checked; a glyph reaching past its neighbour to the next one was not.
    int reach = INT_MIN;
    for (size_t k = 2; k < placed.size(); ++k) {
        reach = std::max(reach, placed[k - 2].x + placed[k - 2].width);
        if (reach > placed[k].x) return false;
    }
    out.glyphs = placed.data();
    out.count = placed.size();
    return true;
}

bool CnumberGlyphs::composePixels(const void* owner, const std::string& fontName, TTF_Font* face, int outline,
                                  const std::string& text, std::vector<uint8_t>& rgba, int& width, int& height) {
    if (!face || !composable(text)) return false;
    Cset& set = setFor(owner, outline);
    if (!prepare(set, face, fontName, text, kSamePixels)) return false;
    if (!layOut(set, indices_.data(), indices_.size(), scratch_, width, height)) return false;
    composeCoverage(set, width, height, nullptr);
    rgba.assign(composed_.size() * 4, 255);
    for (size_t i = 0; i < composed_.size(); ++i) rgba[i * 4 + 3] = composed_[i];
    return true;
}
