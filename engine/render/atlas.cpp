#include "engine/render/atlas.h"

#include <algorithm>
#include <cstring>

#include "engine/engine.h"

CtextureAtlas::CtextureAtlas(std::string name, int pageSize, int maxPages)
    : name_(std::move(name)), pageSize_(pageSize), maxPages_(maxPages) {}

CtextureAtlas::~CtextureAtlas() {
    // The pages' textures go with the backend (releaseAll frees them while it lives).
}

bool CtextureAtlas::fits(int w, int h) const {
    return w > 0 && h > 0 && w + 2 * kPad <= pageSize_ / 2 && h + 2 * kPad <= pageSize_ / 2;
}

unsigned CtextureAtlas::pageId(int page) const {
    return page >= 0 && page < (int)pages_.size() ? pages_[page].id : 0;
}

int CtextureAtlas::pageHeight(int page) const {
    return page >= 0 && page < (int)pages_.size() ? pages_[page].height : 0;
}

bool CtextureAtlas::reach(Cpage& page, int bottom) {
    if (bottom <= page.height) return true;
    // Powers of two, so a cell's texture coordinates scale exactly.
    int height = page.height;
    while (height < bottom) height *= 2;
    height = std::min(height, pageSize_);
    unsigned id = gEngine->renderer.growTexture(page.id, pageSize_, page.height, height);
    if (!id) return false;
    page.id = id;
    page.height = height;
    ++growths_;
    return true;
}

bool CtextureAtlas::hasSpan(const Cshelf& shelf, int w) {
    for (const Cspan& s : shelf.free)
        if (s.w >= w) return true;
    return false;
}

bool CtextureAtlas::takeSpan(Cshelf& shelf, int w, int& x) {
    for (size_t i = 0; i < shelf.free.size(); ++i) {
        Cspan& s = shelf.free[i];
        if (s.w < w) continue;
        x = s.x;
        s.x += w;
        s.w -= w;
        if (s.w == 0) shelf.free.erase(shelf.free.begin() + (long)i);
        return true;
    }
    return false;
}

bool CtextureAtlas::allocate(Cpage& page, int w, int h, int& x, int& y) {
    // A shelf of about this height first, then an empty one of any taller
    // height, then the lowest taller shelf with room, then a new shelf below
    // the last. Where that would make the page grow, the last shelf grows
    // taller instead if it has room: fewer rows either way.
    const int slack = std::max(4, h / 4);
    for (Cshelf& s : page.shelves)
        if (s.h >= h && s.h <= h + slack && takeSpan(s, w, x)) {
            y = s.y;
            return true;
        }
    for (Cshelf& s : page.shelves)
        if (s.h >= h && s.empty(pageSize_) && takeSpan(s, w, x)) {
            y = s.y;
            return true;
        }
    Cshelf* lowest = nullptr;
    for (Cshelf& s : page.shelves)
        if (s.h >= h && (!lowest || s.h < lowest->h) && hasSpan(s, w)) lowest = &s;
    if (lowest && takeSpan(*lowest, w, x)) {
        y = lowest->y;
        return true;
    }
    const int shelfH = (h + 3) & ~3;   // a little room for neighbours of nearly this height
    if (page.nextY + shelfH > page.height && !page.shelves.empty()) {
        Cshelf& last = page.shelves.back();
        if (last.y + shelfH <= pageSize_ && takeSpan(last, w, x)) {
            last.h = shelfH;
            page.nextY = last.y + shelfH;
            y = last.y;
            return true;
        }
    }
    const int room = pageSize_ - page.nextY;
    if (room < h) return false;
    Cshelf s;
    s.y = page.nextY;
    s.h = std::min(shelfH, room);
    s.free.push_back(Cspan{0, pageSize_});
    page.nextY += s.h;
    page.shelves.push_back(s);
    if (!takeSpan(page.shelves.back(), w, x)) return false;
    y = s.y;
    return true;
}

bool CtextureAtlas::place(int w, int h, const uint8_t* rgba, int pitchBytes, CatlasCell& out) {
    out = CatlasCell();
    if (!fits(w, h)) return false;
    const int cw = w + 2 * kPad, ch = h + 2 * kPad;
    int x = 0, y = 0, page = -1;
    for (int i = 0; i < (int)pages_.size() && page < 0; ++i)
        if (allocate(pages_[i], cw, ch, x, y)) page = i;
    if (page < 0) {
        if ((int)pages_.size() >= maxPages_) return false;
        const int rows = std::max(1, pageSize_ / 8);
        unsigned id = gEngine->renderer.createTexture(pageSize_, rows, nullptr, 0);
        if (!id) return false;
        Cpage p;
        p.id = id;
        p.height = rows;
        pages_.push_back(std::move(p));
        gEngine->log.print(LOG_V, "Atlas %s: page %d", name_.c_str(), (int)pages_.size());
        if (!allocate(pages_.back(), cw, ch, x, y)) return false;
        page = (int)pages_.size() - 1;
    }
    out.page = page;
    out.x = x + kPad;
    out.y = y + kPad;
    out.w = w;
    out.h = h;
    ++cells_;
    if (!reach(pages_[page], y + ch)) {
        release(out);
        out = CatlasCell();
        return false;
    }
    if (rgba) upload(pages_[page].id, out, rgba, pitchBytes > 0 ? pitchBytes : w * 4);
    return true;
}

void CtextureAtlas::upload(unsigned id, const CatlasCell& cell, const uint8_t* rgba, int pitchBytes) {
    // The image with its edge rows and columns repeated kPad times around it.
    const int cw = cell.w + 2 * kPad, ch = cell.h + 2 * kPad;
    scratch_.resize((size_t)cw * ch * 4);
    for (int y = 0; y < ch; ++y) {
        const int sy = std::clamp(y - kPad, 0, cell.h - 1);
        const uint8_t* src = rgba + (size_t)sy * pitchBytes;
        uint8_t* dst = &scratch_[(size_t)y * cw * 4];
        for (int x = 0; x < kPad; ++x) memcpy(dst + x * 4, src, 4);
        memcpy(dst + kPad * 4, src, (size_t)cell.w * 4);
        for (int x = kPad + cell.w; x < cw; ++x) memcpy(dst + x * 4, src + (size_t)(cell.w - 1) * 4, 4);
    }
    gEngine->renderer.updateTexture(id, cell.x - kPad, cell.y - kPad, cw, ch, scratch_.data());
}

void CtextureAtlas::release(const CatlasCell& cell) {
    if (!cell.valid() || cell.page >= (int)pages_.size()) return;
    Cpage& p = pages_[cell.page];
    const int x = cell.x - kPad, y = cell.y - kPad, w = cell.w + 2 * kPad;
    for (Cshelf& s : p.shelves) {
        if (s.y != y) continue;
        // Back into the free list, joined to the spans it touches.
        auto it = std::lower_bound(s.free.begin(), s.free.end(), x, [](const Cspan& a, int v) { return a.x < v; });
        it = s.free.insert(it, Cspan{x, w});
        if (it + 1 != s.free.end() && it->x + it->w == (it + 1)->x) {
            it->w += (it + 1)->w;
            s.free.erase(it + 1);
        }
        if (it != s.free.begin() && (it - 1)->x + (it - 1)->w == it->x) {
            (it - 1)->w += it->w;
            s.free.erase(it);
        }
        --cells_;
        break;
    }
    // Empty shelves at the bottom give their rows back to the page.
    while (!p.shelves.empty() && p.shelves.back().empty(pageSize_)) {
        p.nextY = p.shelves.back().y;
        p.shelves.pop_back();
    }
}

void CtextureAtlas::releaseAll() {
    for (Cpage& p : pages_)
        if (p.id && gEngine) gEngine->renderer.deleteTexture(p.id);
    pages_.clear();
    cells_ = 0;
}
