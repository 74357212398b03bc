// Atlas pages: where images are placed, what is given back, and the draw
// calls a mixed frame needs with them.
#include <random>

#include "renderFixture.h"

namespace {
// The cell with its padding, as a rectangle of the page.
Crect padded(const CatlasCell& c) {
    const float p = (float)CtextureAtlas::kPad;
    return Crect{(float)c.x - p, (float)c.y - p, (float)c.w + 2 * p, (float)c.h + 2 * p};
}

bool overlap(const Crect& a, const Crect& b) {
    return a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
}

void expectApart(const std::vector<CatlasCell>& cells, int pageSize) {
    for (size_t i = 0; i < cells.size(); ++i) {
        Crect a = padded(cells[i]);
        ASSERT_GE(a.x, 0);
        ASSERT_GE(a.y, 0);
        ASSERT_LE(a.right(), (float)pageSize);
        ASSERT_LE(a.bottom(), (float)pageSize);
        for (size_t j = i + 1; j < cells.size(); ++j) {
            if (cells[i].page == cells[j].page) {
                ASSERT_FALSE(overlap(a, padded(cells[j]))) << i << " and " << j;
            }
        }
    }
}

Csprite* solidSprite(const std::string& folder, const char* name, int w, int h) {
    if (!writeSolidPng(folder + "/" + name, w, h, 10, 200, 30)) return nullptr;
    Ctexture* t = gEngine->textures.addFile(folder + "/" + name);
    return t ? gEngine->sprites.createSprite(name, t) : nullptr;
}

}  // namespace

// Cells placed and given back at random, as lines of text come and go all
// game long, stay apart and on their page, and the pages do not grow.
TEST_F(CrenderTest, AtlasCellsStayApartAndSpaceGivenBackIsTakenAgain) {
    CtextureAtlas atlas("test", 512, 4);
    std::mt19937 rng(11);
    std::vector<CatlasCell> live;
    for (int i = 0; i < 20000; ++i) {
        CatlasCell c;
        ASSERT_TRUE(atlas.place(20 + (int)(rng() % 200), 30 + (int)(rng() % 3) * 10, nullptr, 0, c)) << i;
        live.push_back(c);
        if (live.size() > 20) {
            size_t k = rng() % live.size();
            atlas.release(live[k]);
            live.erase(live.begin() + (long)k);
        }
        if (i % 1000 == 0) expectApart(live, 512);
    }
    EXPECT_LE(atlas.pageCount(), 2);
    EXPECT_EQ(atlas.cellCount(), (int)live.size());
    // Filled up: refused once every page is taken.
    CatlasCell c;
    while (atlas.place(100, 100, nullptr, 0, c)) live.push_back(c);
    EXPECT_EQ(atlas.pageCount(), 4);
    expectApart(live, 512);

    // Over half a page with its padding never shares a page.
    CtextureAtlas small("test", 256, 1);
    EXPECT_TRUE(!small.fits(125, 10) && small.fits(124, 124) && !small.fits(0, 4));
    EXPECT_FALSE(small.place(200, 4, nullptr, 0, c));

    // Short images take taller shelves with room: the title's images fit in 512 rows.
    CtextureAtlas title("test", 2048, 1);
    for (auto [w, h] : {std::pair{1, 1}, {16, 16}, {64, 64}, {128, 128}, {32, 32}, {64, 64}, {512, 160}, {4, 4},
                        {16, 40}, {16, 30}, {16, 20}, {16, 10}, {768, 192}})
        ASSERT_TRUE(title.place(w, h, nullptr, 0, c));
    EXPECT_EQ(title.pageHeight(0), 512);
}

TEST_F(CrenderTest, SmallTexturesShareAPageAndMapTheirCoordinates) {
    CtextureMgr& tm = gEngine->textures;
    std::vector<uint8_t> px(40 * 20 * 4, 255);
    Ctexture* a = tm.createFromPixels("a", px.data(), 40, 20, PACK_IMAGES);
    Ctexture* b = tm.createFromPixels("b", px.data(), 20, 10, PACK_IMAGES);
    Ctexture* own = tm.createFromPixels("own", px.data(), 20, 10);
    ASSERT_TRUE(a && b && own);
    EXPECT_TRUE(a->isPacked() && b->isPacked() && !own->isPacked());
    EXPECT_TRUE(a->id() == b->id() && own->id() != a->id());
    std::vector<uint8_t> tall(600 * 300 * 4, 255);
    for (int i = 0; i < 8; ++i) ASSERT_NE(tm.createFromPixels("tall", tall.data(), 600, 300, PACK_IMAGES), nullptr);
    EXPECT_TRUE(tm.imageAtlas().growths() > 0 && a->id() == tm.imageAtlas().pageId(a->cell().page));

    // The image's corners land on its cell's corners in the page, grown since by the tall images.
    const float page = (float)tm.imageAtlas().pageSize(), rows = (float)tm.imageAtlas().pageHeight(a->cell().page);
    float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
    a->mapUv(u0, v0);
    a->mapUv(u1, v1);
    const CatlasCell& cell = a->cell();
    EXPECT_TRUE(u0 * page == cell.x && v0 * rows == cell.y && u1 * page == cell.x + 40 && v1 * rows == cell.y + 20);

    // A sprite over part of a packed image draws that part of the cell.
    Csprite* s = gEngine->sprites.createSprite("half of a", a, 20, 0, 20, 20);
    ASSERT_NE(s, nullptr);
    gEngine->renderer.drawSprite(s, 100, 100);
    const CquadRecord& q = gEngine->renderer.quads().back();
    EXPECT_EQ(q.texture, a->id());
    EXPECT_TRUE(q.u0 * page == cell.x + 20 && q.u1 * page == cell.x + 40 && q.v1 * rows == cell.y + 20);

    // Too wide for a page: a texture of its own. Destroyed cells are given back.
    std::vector<uint8_t> wide(1100 * 2 * 4, 255);
    Ctexture* big = tm.createFromPixels("big", wide.data(), 1100, 2, PACK_IMAGES);
    ASSERT_NE(big, nullptr);
    EXPECT_FALSE(big->isPacked());
    int cells = tm.imageAtlas().cellCount();
    tm.destroy(b);
    EXPECT_EQ(tm.imageAtlas().cellCount(), cells - 1);
}

// A frame of many images, rectangles and both blend modes, then text, takes
// one call for the images and one for the text pages; a clip starts its own.
TEST_F(CrenderTest, MixedFrameTakesOneDrawCallForImagesAndOneForText) {
    std::vector<Csprite*> sprites;
    for (int i = 0; i < 6; ++i) {
        sprites.push_back(solidSprite(tmp, ("s" + std::to_string(i) + ".png").c_str(), 8 + i, 8));
        ASSERT_NE(sprites.back(), nullptr);
    }
    Crenderer& r = gEngine->renderer;
    for (int i = 0; i < 60; ++i) {
        Cquad q;
        q.sprite = sprites[i % sprites.size()];
        q.centre = Cvec3((float)(i * 20), 100, 0);
        q.blend = i % 3 ? BLEND_ADDITIVE : BLEND_ALPHA;
        r.addQuad(q);
        if (i % 10 == 0) r.drawRect(Crect{0, 0, 50, 10}, Ccolour(1, 0, 0, 0.5f));
    }
    r.drawSprite(gEngine->sprites.findSprite("builtin_soft"), 300, 300);
    for (int i = 0; i < 4; ++i) gEngine->fonts.findFont("FontMedium")->drawText("Score " + std::to_string(i), 10, 10);
    r.flush();
    EXPECT_EQ(r.frameDrawCalls(), 2);

    r.beginFrame();
    r.drawSprite(sprites[0], 10, 10);
    r.pushScissor(Crect{0, 0, 100, 100});
    r.drawSprite(sprites[1], 10, 10);
    r.popScissor();
    r.drawSprite(sprites[2], 10, 10);
    r.flush();
    EXPECT_EQ(r.frameDrawCalls(), 3);
}

TEST_F(CrenderTest, NormalMappedImagesKeepTexturesOfTheirOwn) {
    Csprite* hull = solidSprite(tmp, "hull.png", 8, 8);
    Csprite* normals = solidSprite(tmp, "hull_n.png", 8, 8);
    ASSERT_TRUE(hull && normals);
    ASSERT_TRUE(gEngine->sprites.loadSheetsFromText("NormalMap \"hull.png\" \"hull_n.png\"\nEndFile\n"));
    EXPECT_EQ(hull->normalMap, normals);
    Cquad q;
    q.sprite = hull;
    q.mode = DRAW_NORMAL_MAP;
    q.centre = Cvec3(50, 50, 0);
    gEngine->renderer.addQuad(q);
    EXPECT_FALSE(hull->texture->isPacked() || normals->texture->isPacked());
    EXPECT_EQ(gEngine->renderer.quads().back().mode, DRAW_NORMAL_MAP);

    // Paired after it was packed and drawn: taken out of the atlas on the next draw.
    Csprite* ship = solidSprite(tmp, "ship.png", 8, 8);
    Csprite* shipN = solidSprite(tmp, "ship_n.png", 8, 8);
    gEngine->renderer.drawSprite(ship, 10, 10);
    EXPECT_TRUE(ship->texture->isPacked());
    ship->normalMap = shipN;
    q.sprite = ship;
    gEngine->renderer.addQuad(q);
    EXPECT_FALSE(ship->texture->isPacked());
    EXPECT_EQ(gEngine->renderer.quads().back().mode, DRAW_NORMAL_MAP);
}

TEST_F(CrenderTest, ChangingTextKeepsTheTextPagesBounded) {
    // A new long line every frame, as a running score or timer makes.
    Cfont* f = gEngine->fonts.findFont("FontBig");
    ASSERT_NE(f, nullptr);
    Crenderer& r = gEngine->renderer;
    const std::string pad(20, 'W');
    for (int i = 0; i < 700; ++i) {
        r.beginFrame();
        f->drawText(pad + std::to_string(i), 0, 0);
        f->drawText("Steady", 0, 100);
    }
    CtextureMgr& tm = gEngine->textures;
    EXPECT_EQ(tm.textAtlas().pageCount(), CtextureMgr::kTextPages);
    EXPECT_LE(gEngine->fonts.cacheSize(), CfontMgr::kCacheSoftLimit + 1);
    // New lines still find room in the pages.
    ASSERT_TRUE(tm.textAtlas().fits((int)f->measure(pad + "999").x, (int)f->lineHeight()));
    int unpacked = 0;
    for (int i = 0; i < 5; ++i) {
        r.beginFrame();
        f->drawText(pad + std::to_string(900 + i), 0, 0);
        const CquadRecord& q = r.quads().back();
        bool inPage = false;
        for (int p = 0; p < tm.textAtlas().pageCount(); ++p) inPage = inPage || q.texture == tm.textAtlas().pageId(p);
        if (!inPage) ++unpacked;
    }
    EXPECT_LE(unpacked, 1);
}
