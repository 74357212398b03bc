#include "engine/render/font.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstring>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/resourceFile.h"
#include "engine/render/numberGlyphs.h"
#include "engine/render/texture.h"

namespace {
bool fileExists(const std::string& p) {
    struct stat st;
    return !p.empty() && ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        size_t nl = text.find('\n', start);
        std::string line = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        if (nl == std::string::npos) break;
        start = nl + 1;
    }
    return lines;
}

// Rough size of a line for a font that has no file.
float placeholderWidth(const std::string& line, int px) {
    size_t chars = 0;
    for (unsigned char ch : line)
        if ((ch & 0xC0) != 0x80) ++chars;
    return (float)chars * (float)px * 0.55f;
}
}  // namespace

// ---------------------------------------------------------------- Cfont

Cfont::~Cfont() { close(); }

void Cfont::close() {
    // After TTF_Quit the handles are gone with the library.
    if (TTF_WasInit()) {
        if (ttf_) TTF_CloseFont(ttf_);
        if (outlineTtf_) TTF_CloseFont(outlineTtf_);
        if (fallbackTtf_) TTF_CloseFont(fallbackTtf_);
        if (fallbackOutlineTtf_) TTF_CloseFont(fallbackOutlineTtf_);
    }
    ttf_ = outlineTtf_ = fallbackTtf_ = fallbackOutlineTtf_ = nullptr;
    outlineOpenSize_ = fallbackOutlineSize_ = 0;
    fallbackMissing_ = false;
}

bool Cfont::open(bool cjk) {
    close();
    usingCjk_ = cjk && !cjkFile.empty();
    const std::string& want = usingCjk_ ? cjkFile : file;
    std::string path = CfontMgr::findFontFile(want);
    if (path.empty()) {
        gEngine->log.print(LOG_E, "Can't find font file: %s (font %s)", want.c_str(), name.c_str());
        return false;
    }
    ttf_ = TTF_OpenFont(path.c_str(), pixelSize);
    if (!ttf_) {
        gEngine->log.print(LOG_E, "Can't open font file: %s (%s)", path.c_str(), TTF_GetError());
        return false;
    }
    return true;
}

TTF_Font* Cfont::outlineFont() {
    if (!ttf_ || outlineSize <= 0) return nullptr;
    if (outlineTtf_ && outlineOpenSize_ == outlineSize) return outlineTtf_;
    if (outlineTtf_) TTF_CloseFont(outlineTtf_);
    outlineTtf_ = nullptr;
    std::string path = CfontMgr::findFontFile(usingCjk_ ? cjkFile : file);
    outlineTtf_ = path.empty() ? nullptr : TTF_OpenFont(path.c_str(), pixelSize);
    if (outlineTtf_) {
        TTF_SetFontOutline(outlineTtf_, outlineSize);
        outlineOpenSize_ = outlineSize;
    }
    return outlineTtf_;
}

bool Cfont::hasGlyphs(const std::string& text) const {
    if (!ttf_) return false;
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = (unsigned char)text[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        // One UTF-8 sequence; a broken one is left to SDL_ttf.
        const int len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (len == 1 || i + (size_t)len > text.size()) return true;
        uint32_t cp = c & (0xFF >> (len + 1));
        for (int k = 1; k < len; ++k) cp = (cp << 6) | ((unsigned char)text[i + k] & 0x3F);
        if (!TTF_GlyphIsProvided32(ttf_, cp)) return false;
        i += (size_t)len;
    }
    return true;
}

TTF_Font* Cfont::openFallback(int outline) {
    if (fallbackMissing_) return nullptr;
    TTF_Font*& face = outline > 0 ? fallbackOutlineTtf_ : fallbackTtf_;
    if (face && (outline == 0 || fallbackOutlineSize_ == outline)) return face;
    if (face) TTF_CloseFont(face);
    face = nullptr;
    std::string path = CfontMgr::findFontFile(gEngine->fonts.fallbackFile());
    face = path.empty() ? nullptr : TTF_OpenFont(path.c_str(), pixelSize);
    if (!face) {
        gEngine->log.print(LOG_E, "Can't open fallback font: %s (font %s)", gEngine->fonts.fallbackFile().c_str(),
                           name.c_str());
        fallbackMissing_ = true;
        return nullptr;
    }
    if (outline > 0) {
        TTF_SetFontOutline(face, outline);
        fallbackOutlineSize_ = outline;
    }
    return face;
}

TTF_Font* Cfont::faceFor(const std::string& line, int outline) {
    if (!ttf_) return nullptr;
    if (!hasGlyphs(line))
        if (TTF_Font* fallback = openFallback(outline)) return fallback;
    return outline > 0 ? outlineFont() : ttf_;
}

float Cfont::lineHeight(float scale) const {
    int skip = ttf_ ? TTF_FontLineSkip(ttf_) : pixelSize;
    return (float)skip * scale;
}

Cvec2 Cfont::measure(const std::string& text, float scale) {
    if (text.empty()) return Cvec2(0, 0);
    auto lines = splitLines(text);
    float w = 0;
    for (const auto& l : lines) {
        int lw = 0, lh = 0;
        if (ttf_) {
            if (!l.empty() && TTF_SizeUTF8(faceFor(l, 0), l.c_str(), &lw, &lh) != 0) lw = 0;
        } else {
            lw = (int)placeholderWidth(l, pixelSize);
        }
        w = std::max(w, (float)lw);
    }
    return Cvec2(w * scale, lineHeight(scale) * (float)lines.size());
}

void Cfont::drawText(const std::string& text, float x, float y, float scale, int align) {
    drawText(text, x, y, scale, align, colour);
}

void Cfont::drawText(const std::string& text, float x, float y, float scale, int align, const Ccolour& c) {
    if (text.empty() || scale <= 0 || !gEngine->renderer.isReady()) return;
    Crenderer& r = gEngine->renderer;
    const Ccamera* cam = r.camera();
    r.setCamera(nullptr);   // text is drawn in screen pixels

    auto lines = splitLines(text);
    const float lh = lineHeight(scale);
    float blockH = lh * (float)lines.size();
    float top = y;
    if (align & ALIGN_MIDDLE) top = y - blockH * 0.5f;
    else if (align & ALIGN_BOTTOM) top = y - blockH;

    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        float ly = top + lh * (float)i;
        if (line.empty()) continue;
        if (!ttf_) {
            float w = placeholderWidth(line, pixelSize) * scale;
            float lx = (align & ALIGN_RIGHT) ? x - w : (align & ALIGN_CENTRE) ? x - w * 0.5f : x;
            r.drawRect(Crect{lx, ly + lh * 0.15f, w, lh * 0.7f}, Ccolour(1, 0, 1, 0.8f * c.a));
            continue;
        }
        if (scale == 1.0f && drawComposed(line, x, ly, align, c)) continue;
        const CfontMgr::Cline* img = gEngine->fonts.renderLine(this, line, 0);
        if (!img) continue;
        float w = (float)img->width * scale, h = (float)img->height * scale;
        float lx = (align & ALIGN_RIGHT) ? x - w : (align & ALIGN_CENTRE) ? x - w * 0.5f : x;
        if (scale == 1.0f) {
            // Whole pixels keep the glyphs sharp.
            lx = std::floor(lx + 0.5f);
            ly = std::floor(ly + 0.5f);
        }
        Cquad q;
        q.texture = img->texture;
        q.width = w;
        q.height = h;
        if (style == FONT_SHADOW) {
            q.centre = Cvec3(lx + w * 0.5f + shadowOffset.x * scale, ly + h * 0.5f + shadowOffset.y * scale, 0);
            q.colour = Ccolour(shadowColour.r, shadowColour.g, shadowColour.b, shadowColour.a * c.a);
            r.addQuad(q);
        } else if (style == FONT_OUTLINE && outlineSize > 0) {
            const CfontMgr::Cline* out = gEngine->fonts.renderLine(this, line, outlineSize);
            if (out) {
                Cquad o = q;
                o.texture = out->texture;
                o.width = (float)out->width * scale;
                o.height = (float)out->height * scale;
                float ox = lx - (float)outlineSize * scale, oy = ly - (float)outlineSize * scale;
                o.centre = Cvec3(ox + o.width * 0.5f, oy + o.height * 0.5f, 0);
                o.colour = Ccolour(outlineColour.r, outlineColour.g, outlineColour.b, outlineColour.a * c.a);
                r.addQuad(o);
            }
        }
        q.centre = Cvec3(lx + w * 0.5f, ly + h * 0.5f, 0);
        q.colour = c;
        r.addQuad(q);
    }
    r.setCamera(cam);
}

bool Cfont::drawComposed(const std::string& line, float x, float y, int align, const Ccolour& c) {
    CfontMgr& fm = gEngine->fonts;
    Crenderer& r = gEngine->renderer;
    // Glyph images meet as the line's pixels do only where a virtual pixel is a window pixel.
    if (!fm.composeNumbers || !r.isGl() || gEngine->windowWidth != gEngine->screenWidth ||
        gEngine->windowHeight != gEngine->screenHeight || !CnumberGlyphs::composable(line))
        return false;
    if (style == FONT_SHADOW && (shadowOffset.x != std::floor(shadowOffset.x) || shadowOffset.y != std::floor(shadowOffset.y)))
        return false;
    const bool outlined = style == FONT_OUTLINE && outlineSize > 0;
    CnumberGlyphs& glyphs = fm.numberGlyphs();
    CnumberGlyphs::Cline text, outline;
    if (!glyphs.compose(this, name, faceFor(line, 0), 0, line, 0, text)) return false;
    if (outlined && !glyphs.compose(this, name, faceFor(line, outlineSize), outlineSize, line, 1, outline)) return false;
    const float w = (float)text.width;
    const float lx = std::floor(((align & ALIGN_RIGHT) ? x - w : (align & ALIGN_CENTRE) ? x - w * 0.5f : x) + 0.5f);
    const float ly = std::floor(y + 0.5f);
    auto put = [&r](const CnumberGlyphs::Cline& l, float left, float top, const Ccolour& colour) {
        for (size_t i = 0; i < l.count; ++i) {
            Cquad q;
            q.texture = l.glyphs[i].texture;
            q.width = (float)l.glyphs[i].width;
            q.height = (float)l.height;
            q.centre = Cvec3(left + (float)l.glyphs[i].x + q.width * 0.5f, top + q.height * 0.5f, 0);
            q.colour = colour;
            r.addQuad(q);
        }
    };
    if (style == FONT_SHADOW) {
        put(text, lx + shadowOffset.x, ly + shadowOffset.y,
            Ccolour(shadowColour.r, shadowColour.g, shadowColour.b, shadowColour.a * c.a));
    } else if (outlined) {
        put(outline, lx - (float)outlineSize, ly - (float)outlineSize,
            Ccolour(outlineColour.r, outlineColour.g, outlineColour.b, outlineColour.a * c.a));
    }
    put(text, lx, ly, c);
    return true;
}

void Cfont::drawTextf(float x, float y, float scale, int align, const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::string text = vformat(fmt, ap);
    va_end(ap);
    drawText(text, x, y, scale, align);
}

// ---------------------------------------------------------------- CfontMgr

CfontMgr::CfontMgr() : numberGlyphs_(std::make_unique<CnumberGlyphs>()) { placeholder_.name = "Placeholder"; }

CfontMgr::~CfontMgr() {
    // Textures belong to the texture manager; only the cache's view goes.
    cache_.clear();
    oldest_ = newest_ = nullptr;
    fonts_.clear();
    placeholder_.close();
    if (ttfStarted_ && TTF_WasInit()) TTF_Quit();
}

std::string CfontMgr::findFontFile(const std::string& file) {
    if (file.empty()) return "";
    if (file[0] == '/') return fileExists(file) ? file : "";
    std::string p = gEngine->dataPath("fonts/" + file);
    if (fileExists(p)) return p;
    // A build whose data folder lacks the fonts still finds the system's copies.
    const char* system[] = {"/usr/share/fonts/truetype/dejavu/", "/usr/share/fonts/truetype/wqy/"};
    for (const char* dir : system)
        if (fileExists(dir + file)) return dir + file;
    return "";
}

bool CfontMgr::load(const std::string& fileName) {
    CresourceFile f;
    if (!f.open("textFiles/" + fileName, RF_DATA)) return false;
    return loadFromText(f.text());
}

bool CfontMgr::loadFromText(const char* text) {
    if (!TTF_WasInit()) {
        if (TTF_Init() != 0) {
            gEngine->log.print(LOG_E, "TTF_Init failed: %s", TTF_GetError());
            return false;
        }
        ttfStarted_ = true;
    }
    const char* c = text;
    std::string tok;
    bool ok = true;
    while (Cengine::readToken(tok, c)) {
        if (tok == "EndFile") break;
        if (tok == "Fallback") {
            Cengine::readToken(fallbackFile_, c);
            for (auto& f : fonts_) f->open(cjk_);   // drops fallbacks opened from the old file
        } else if (tok == "Font") {
            auto f = std::make_unique<Cfont>();
            Cengine::readToken(f->name, c);
            Cengine::readToken(f->file, c);
            f->pixelSize = Cengine::readInt(c);
            if (f->pixelSize <= 0 || f->pixelSize > 512) {
                gEngine->log.print(LOG_E, "fonts: bad size %d for %s", f->pixelSize, f->name.c_str());
                f->pixelSize = 20;
            }
            const char* peek = c;
            std::string next;
            if (Cengine::readToken(next, peek) && next == "Cjk") {
                c = peek;
                Cengine::readToken(f->cjkFile, c);
            }
            f->open(cjk_);   // a missing file leaves a placeholder font
            if (Cfont* old = findFont(f->name, false)) {
                gEngine->log.print(LOG_L, "Font defined twice: %s", old->name.c_str());
                continue;
            }
            fonts_.push_back(std::move(f));
        } else {
            gEngine->log.print(LOG_E, "fonts: unexpected token '%s'", tok.c_str());
            ok = false;
            break;
        }
    }
    gEngine->log.print(LOG_V, "Fonts: %d", (int)fonts_.size());
    return ok;
}

void CfontMgr::releaseAll() {
    clearCache();
    fonts_.clear();
    reportedMisses_.clear();
}

Cfont* CfontMgr::findFont(const std::string& name, bool reportMiss) {
    for (auto& f : fonts_)
        if (equalsIgnoreCase(f->name, name)) return f.get();
    if (reportMiss) gEngine->log.print(LOG_L, "Can't find font: %s", name.c_str());
    return nullptr;
}

Cfont* CfontMgr::getFont(const std::string& name) {
    if (Cfont* f = findFont(name, false)) return f;
    if (reportedMisses_.insert(toLowerAscii(name)).second)
        gEngine->log.print(LOG_L, "Can't find font: %s", name.c_str());
    return &placeholder_;
}

void CfontMgr::setCjk(bool on) {
    if (on == cjk_) return;
    cjk_ = on;
    clearCache();
    for (auto& f : fonts_)
        if (!f->cjkFile.empty()) f->open(on);
}

const CfontMgr::Cline* CfontMgr::renderLine(Cfont* font, const std::string& text, int outline) {
    if (!font || !font->ttf_ || text.empty()) return nullptr;
    key_ = font->name;
    key_ += '\x1f';
    key_ += std::to_string(outline);
    key_ += '\x1f';
    key_ += text;
    const uint64_t frame = gEngine->renderer.framesBegun();
    auto it = cache_.find(key_);
    if (it != cache_.end()) {
        ++cacheHits;
        Centry& e = it->second;
        e.line.lastFrame = frame;
        unlink(e);
        linkNewest(e);
        return e.line.texture ? &e.line : nullptr;
    }
    ++cacheMisses;
    Cline line;
    line.lastFrame = frame;
    TTF_Font* ttf = font->faceFor(text, outline);
    CtextureMgr& tm = gEngine->textures;
    auto adopt = [&](const uint8_t* px, int w, int h) {
        line.texture = tm.createFromPixels("text:" + font->name, px, w, h, PACK_TEXT);
        // The text pages are full: lines not drawn lately make room for the next ones.
        if (line.texture && !line.texture->isPacked() && tm.packing() && tm.textAtlas().fits(w, h)) dropIdleLines(frame);
        line.width = w;
        line.height = h;
    };
    // A number is made from its glyphs' images, as SDL_ttf would make it.
    int composedW = 0, composedH = 0;
    const bool composed = composeNumbers && ttf &&
                          numberGlyphs_->composePixels(font, font->name, ttf, outline, text, pixels_, composedW, composedH);
    if (composed) {
        adopt(pixels_.data(), composedW, composedH);
    } else if (SDL_Surface* s = ttf ? TTF_RenderUTF8_Blended(ttf, text.c_str(), SDL_Color{255, 255, 255, 255}) : nullptr;
               !s) {
        gEngine->log.print(LOG_E, "Can't render text in %s: %s", font->name.c_str(), TTF_GetError());
    } else {
        // The usual ARGB line is swapped to RGBA while its rows are packed,
        // not converted through a surface of its own: a changing score makes
        // a line every frame.
        const bool argb = s->format->format == SDL_PIXELFORMAT_ARGB8888;
        SDL_Surface* rgba = argb ? s : SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ABGR8888, 0);
        if (rgba != s) SDL_FreeSurface(s);
        if (rgba) {
            SDL_LockSurface(rgba);
            // Rows may be padded: pack them for the texture.
            std::vector<uint8_t>& px = pixels_;
            px.resize((size_t)rgba->w * rgba->h * 4);
            for (int y = 0; y < rgba->h; ++y) {
                uint8_t* to = &px[(size_t)y * rgba->w * 4];
                const uint8_t* from = (const uint8_t*)rgba->pixels + (size_t)y * rgba->pitch;
                if (!argb) {
                    memcpy(to, from, (size_t)rgba->w * 4);
                    continue;
                }
                for (int x = 0; x < rgba->w; ++x, to += 4, from += 4) {
                    uint32_t p;
                    memcpy(&p, from, 4);   // A R G B from the high byte down
                    to[0] = (uint8_t)(p >> 16);
                    to[1] = (uint8_t)(p >> 8);
                    to[2] = (uint8_t)p;
                    to[3] = (uint8_t)(p >> 24);
                }
            }
            SDL_UnlockSurface(rgba);
            adopt(px.data(), rgba->w, rgba->h);
            SDL_FreeSurface(rgba);
        }
    }
    // A line that failed is remembered too, so it isn't retried every frame.
    auto [slot, added] = cache_.try_emplace(key_);
    Centry& e = slot->second;
    if (!added) unlink(e);
    e.line = line;
    e.key = &slot->first;
    linkNewest(e);
    return e.line.texture ? &e.line : nullptr;
}

void CfontMgr::unlink(Centry& e) {
    (e.older ? e.older->newer : oldest_) = e.newer;
    (e.newer ? e.newer->older : newest_) = e.older;
    e.older = e.newer = nullptr;
}

void CfontMgr::linkNewest(Centry& e) {
    e.older = newest_;
    e.newer = nullptr;
    (newest_ ? newest_->newer : oldest_) = &e;
    newest_ = &e;
}

void CfontMgr::dropOldest() {
    Centry& e = *oldest_;
    if (e.line.texture) gEngine->textures.destroy(e.line.texture);
    unlink(e);
    cache_.erase(cache_.find(*e.key));
}

void CfontMgr::trimCache(uint64_t frame) {
    // Lines idle for long go first, then the least recently drawn while over
    // the limit; lines drawn this frame or the last always stay.
    while (oldest_ && frame > oldest_->line.lastFrame + kCacheMaxIdleFrames) dropOldest();
    while (oldest_ && cache_.size() > kCacheSoftLimit && oldest_->line.lastFrame + 1 < frame) dropOldest();
}

void CfontMgr::dropIdleLines(uint64_t frame) {
    while (oldest_ && oldest_->line.lastFrame + 1 < frame) dropOldest();
}

void CfontMgr::clearCache() {
    numberGlyphs_->clear();
    for (auto& [key, e] : cache_)
        if (e.line.texture && gEngine) gEngine->textures.destroy(e.line.texture);
    cache_.clear();
    oldest_ = newest_ = nullptr;
}
