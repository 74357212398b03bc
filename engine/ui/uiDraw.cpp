// The UI's drawing calls, through the renderer once it has been started.
// Before that (headless runs) they draw nothing and measure text roughly.
#include "engine/ui/uiDraw.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/engine.h"
#include "engine/ui/uiStyles.h"

namespace {
bool drawing() { return gEngine && gEngine->renderer.isReady(); }
}  // namespace

namespace uiDraw {
Csprite* findSprite(const std::string& name) {
    if (!drawing() || name.empty()) return nullptr;
    return gEngine->sprites.getSprite(name);   // a missing one is logged and shown as the placeholder
}

Cvec2 spriteSize(const Csprite* sprite) {
    if (!sprite) return {64, 64};
    return {sprite->width, sprite->height};
}

void sprite(const Csprite* sprite, float cx, float cy, float w, float h, const Ccolour& colour, float rotationDeg) {
    if (!drawing() || !sprite) return;
    Cquad q;
    q.sprite = sprite;
    q.centre = Cvec3(cx, cy, 0);
    q.width = w;
    q.height = h;
    q.colour = colour;
    q.rotation = rotationDeg;
    gEngine->renderer.addQuad(q);
}

void fillRect(const Crect& r, const Ccolour& colour) {
    if (drawing()) gEngine->renderer.drawRect(r, colour);
}

void frame(const Crect& r, float thickness, const Ccolour& colour) {
    if (drawing()) gEngine->renderer.drawFrame(r.x, r.y, r.right(), r.bottom(), thickness, colour);
}

void text(const std::string& font, const std::string& text, float x, float y, float scale, const Ccolour& colour,
          int align, const CshadowStyle* shadow) {
    if (!drawing() || text.empty()) return;
    Cfont* f = gEngine->fonts.getFont(font);
    const int style = f->style;
    const Ccolour outlineColour = f->outlineColour, shadowColour = f->shadowColour;
    const int outlineSize = f->outlineSize;
    const Cvec2 shadowOffset = f->shadowOffset;
    if (shadow && shadow->outline > 0) {
        f->style = FONT_OUTLINE;
        f->outlineSize = std::max(1, (int)std::lround(shadow->outline));
        f->outlineColour = shadow->colour;
    } else if (shadow) {
        f->style = FONT_SHADOW;
        f->shadowOffset = Cvec2(shadow->offsetX, shadow->offsetY);
        f->shadowColour = shadow->colour;
    } else {
        f->style = FONT_PLAIN;
    }
    f->drawText(text, x, y, scale, (align & (ALIGN_CENTRE | ALIGN_RIGHT)) | ALIGN_MIDDLE, colour);
    f->style = style;
    f->outlineColour = outlineColour;
    f->shadowColour = shadowColour;
    f->outlineSize = outlineSize;
    f->shadowOffset = shadowOffset;
}

Cvec2 measureText(const std::string& font, const std::string& t, float scale) {
    if (!gEngine || gEngine->fonts.count() == 0) return {(float)t.size() * 12.0f * scale, 24.0f * scale};
    return gEngine->fonts.getFont(font)->measure(t, scale);
}

namespace {
// Chinese, Japanese and Korean run without spaces: their lines may break
// between any two characters (three- and four-byte UTF-8 sequences from U+3000 on).
bool breaksAnywhere(const std::string& word) {
    for (size_t i = 0; i < word.size(); ++i) {
        const unsigned char c = (unsigned char)word[i];
        if (c >= 0xF0 || (c >= 0xE3 && c <= 0xEF)) return true;
    }
    return false;
}

// Greedy line breaking at spaces; explicit line ends stay. A word longer
// than the box keeps a line of its own, unless it is of a script that
// breaks between characters.
std::string wrapLines(const std::string& font, const std::string& text, float scale, float boxW) {
    std::string out, line, word;
    auto place = [&](const std::string& piece, bool joinWithSpace) {
        std::string tried = line.empty() ? piece : line + (joinWithSpace ? " " : "") + piece;
        if (!line.empty() && measureText(font, tried, scale).x > boxW) {
            out += line + "\n";
            line = piece;
        } else {
            line = tried;
        }
    };
    auto flushWord = [&]() {
        if (word.empty()) return;
        if (breaksAnywhere(word) && measureText(font, word, scale).x > boxW) {
            bool first = true;
            for (size_t i = 0; i < word.size();) {
                size_t n = 1;
                while (i + n < word.size() && ((unsigned char)word[i + n] & 0xC0) == 0x80) ++n;
                place(word.substr(i, n), first);
                first = false;
                i += n;
            }
        } else {
            place(word, true);
        }
        word.clear();
    };
    for (char c : text) {
        if (c == ' ' || c == '\n') {
            flushWord();
            if (c == '\n') {
                out += line + "\n";
                line.clear();
            }
        } else {
            word += c;
        }
    }
    flushWord();
    return out + line;
}
}  // namespace

float legibleFloor(const std::string& font, float scale) {
    constexpr float kShare = 0.6f, kSmallestPixels = 11.0f;
    float pixels = 24.0f;   // the rough measure's line
    if (gEngine && gEngine->fonts.count() > 0) pixels = (float)gEngine->fonts.getFont(font)->pixelSize;
    return std::min(scale, std::max(scale * kShare, kSmallestPixels / pixels));
}

namespace {
constexpr const char* kEllipsis = "\xE2\x80\xA6";

// Where each UTF-8 character of s starts, and s's length last.
std::vector<size_t> characterStarts(const std::string& s) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < s.size(); ++i)
        if (((unsigned char)s[i] & 0xC0) != 0x80) starts.push_back(i);
    starts.push_back(s.size());
    return starts;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        size_t nl = text.find('\n', start);
        lines.push_back(text.substr(start, nl == std::string::npos ? std::string::npos : nl - start));
        if (nl == std::string::npos) return lines;
        start = nl + 1;
    }
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) out += (i ? "\n" : "") + lines[i];
    return out;
}
}  // namespace

std::string cutWithEllipsis(const std::string& font, const std::string& line, float scale, float boxW) {
    if (boxW <= 0 || measureText(font, line, scale).x <= boxW) return line;
    // The longest start of the line that fits with the ellipsis after it.
    const std::vector<size_t> starts = characterStarts(line);
    size_t lo = 0, hi = starts.size() - 1;   // characters kept: lo fits, hi is too many
    auto withEllipsis = [&](size_t kept) {
        std::string head = line.substr(0, starts[kept]);
        while (!head.empty() && head.back() == ' ') head.pop_back();
        return head + kEllipsis;
    };
    while (hi - lo > 1) {
        size_t mid = (lo + hi) / 2;
        if (measureText(font, withEllipsis(mid), scale).x <= boxW) lo = mid;
        else hi = mid;
    }
    return withEllipsis(lo);
}

CfittedText fitText(const std::string& font, const std::string& text, float scale, float boxW, float boxH, bool wrap) {
    CfittedText fit{text, scale};
    if (text.empty() || scale <= 0) return fit;
    const float floor = legibleFloor(font, scale);
    if (!wrap) {
        float w = measureText(font, text, scale).x;
        if (boxW <= 0 || w <= boxW) return fit;
        fit.scale = std::max(floor, scale * boxW / w);
        if (fit.scale > floor) return fit;
        std::vector<std::string> lines = splitLines(text);
        for (auto& l : lines) l = cutWithEllipsis(font, l, floor, boxW);
        fit.text = joinLines(lines);
        fit.cut = fit.text != text;
        return fit;
    }
    // Smaller type wraps differently, so shrink in steps until the block fits.
    constexpr float kStep = 0.95f;
    for (float s = scale;; s *= kStep) {
        fit.scale = std::max(s, floor);
        fit.text = boxW > 0 ? wrapLines(font, text, fit.scale, boxW) : text;
        Cvec2 size = measureText(font, fit.text, fit.scale);
        bool fits = (boxW <= 0 || size.x <= boxW) && (boxH <= 0 || size.y <= boxH);
        if (fits) return fit;
        if (fit.scale <= floor) break;
    }
    // At the floor: as many lines as the height takes, each no wider than the box.
    std::vector<std::string> lines = splitLines(fit.text);
    size_t keep = lines.size();
    if (boxH > 0) {
        const float lineH = measureText(font, "Ag", fit.scale).y;
        keep = std::max<size_t>(1, std::min(keep, (size_t)(boxH / std::max(lineH, 1.0f))));
    }
    const bool dropped = keep < lines.size();
    lines.resize(keep);
    if (dropped) lines.back() += kEllipsis;
    for (auto& l : lines) l = cutWithEllipsis(font, l, fit.scale, boxW);
    fit.text = joinLines(lines);
    fit.cut = true;
    return fit;
}

void pushClip(const Crect& r) {
    if (drawing()) gEngine->renderer.pushScissor(r);
}

void popClip() {
    if (drawing()) gEngine->renderer.popScissor();
}

void darken(float alpha) {
    if (drawing()) gEngine->renderer.drawRectPixels(alpha);
}
}  // namespace uiDraw
