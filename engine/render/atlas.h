#pragma once
// CtextureAtlas: small images packed into a few large backend textures, so
// that quads of different images can share one draw call. Each image sits in
// a cell with its edge texels repeated around it, so linear filtering at its
// edges reads what it would read from a texture of its own. Cells lie on
// shelves; a freed cell is taken again by an image of about its height.
// A page starts with an eighth of its rows and doubles them as its shelves
// reach down: a page holding little keeps little video memory.
#include <cstdint>
#include <string>
#include <vector>

// Where an image lies: its own texels, the padding is outside.
struct CatlasCell {
    int page = -1;
    int x = 0, y = 0, w = 0, h = 0;
    bool valid() const { return page >= 0; }
};

class CtextureAtlas {
public:
    static constexpr int kPad = 2;

    CtextureAtlas(std::string name, int pageSize, int maxPages);
    ~CtextureAtlas();
    CtextureAtlas(const CtextureAtlas&) = delete;
    CtextureAtlas& operator=(const CtextureAtlas&) = delete;

    // Small enough to share a page: at most half a page each way with its padding.
    bool fits(int w, int h) const;
    // Places an image (RGBA rows, top row first; null reserves the room only).
    // False when it doesn't fit or every page is full.
    bool place(int w, int h, const uint8_t* rgba, int pitchBytes, CatlasCell& out);
    void release(const CatlasCell& cell);
    // Forgets every cell and deletes the pages' textures.
    void releaseAll();

    unsigned pageId(int page) const;
    int pageSize() const { return pageSize_; }
    // The rows a page has now (its width is always pageSize).
    int pageHeight(int page) const;
    // Counts the times a page grew: its id and its cells' coordinates changed.
    int growths() const { return growths_; }
    int pageCount() const { return (int)pages_.size(); }
    int cellCount() const { return cells_; }
    const std::string& name() const { return name_; }

private:
    struct Cspan {
        int x = 0, w = 0;
    };
    struct Cshelf {
        int y = 0, h = 0;
        std::vector<Cspan> free;   // sorted by x, never touching
        bool empty(int pageSize) const { return free.size() == 1 && free[0].x == 0 && free[0].w == pageSize; }
    };
    struct Cpage {
        unsigned id = 0;
        std::vector<Cshelf> shelves;   // top to bottom
        int nextY = 0;
        int height = 0;
    };
    bool allocate(Cpage& page, int w, int h, int& x, int& y);
    static bool hasSpan(const Cshelf& shelf, int w);
    bool takeSpan(Cshelf& shelf, int w, int& x);
    bool reach(Cpage& page, int bottom);
    void upload(unsigned id, const CatlasCell& cell, const uint8_t* rgba, int pitchBytes);

    std::string name_;
    int pageSize_;
    int maxPages_;
    int cells_ = 0;
    int growths_ = 0;
    std::vector<Cpage> pages_;
    std::vector<uint8_t> scratch_;
};
