// The GL backend drawing a whole scene into a real window (run under Xvfb).
#include <GL/glew.h>
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/engine.h"
#include "engine/format.h"
#include "glWindow.h"
#include "support/testEngine.h"

namespace {
struct Cpixel {
    int r, g, b;
};

// An RGBA picture read back from a PNG.
class Cpicture {
public:
    explicit Cpicture(const std::string& path) {
        SDL_Surface* s = IMG_Load(path.c_str());
        if (!s) return;
        surface_ = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ABGR8888, 0);
        SDL_FreeSurface(s);
    }
    ~Cpicture() {
        if (surface_) SDL_FreeSurface(surface_);
    }
    bool ok() const { return surface_ && surface_->w == 1280 && surface_->h == 720; }
    Cpixel at(int x, int y) const {
        const uint8_t* p = (const uint8_t*)surface_->pixels + (size_t)y * surface_->pitch + (size_t)x * 4;
        return {p[0], p[1], p[2]};
    }
    template <class F>
    int count(int x0, int y0, int x1, int y1, F pred) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (pred(at(x, y))) ++n;
        return n;
    }

private:
    SDL_Surface* surface_ = nullptr;
};

bool near(const Cpixel& p, int r, int g, int b, int tol = 4) {
    return std::abs(p.r - r) <= tol && std::abs(p.g - g) <= tol && std::abs(p.b - b) <= tol;
}

bool writePng(const std::string& path, int w, int h, void (*fill)(int x, int y, uint8_t* rgba)) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ABGR8888);
    if (!s) return false;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) fill(x, y, (uint8_t*)s->pixels + (size_t)y * s->pitch + (size_t)x * 4);
    bool ok = IMG_SavePNG(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

// Background, as the PNG stores it.
const Ccolour kClear(0.05f, 0.05f, 0.12f, 1);
const int kClearR = 13, kClearG = 13, kClearB = 31;
}  // namespace

class CrenderGlTest : public CglTest {
protected:
    void SetUp() override {
        CglTest::SetUp();
        tmp = makeTempFolder("rendergl");
    }
    void TearDown() override {
        CglTest::TearDown();
        removeFolderTree(tmp);
    }
    std::string tmp;
};

TEST_F(CrenderGlTest, SceneOfSpritesTextPanelAndParticles) {
    ASSERT_TRUE(writePng(tmp + "/solid_green.png", 32, 32, [](int, int, uint8_t* p) {
        p[0] = 0; p[1] = 255; p[2] = 0; p[3] = 255;
    }));
    // Left half the key colour, right half blue.
    ASSERT_TRUE(writePng(tmp + "/keyed.png", 32, 32, [](int x, int, uint8_t* p) {
        bool key = x < 16;
        p[0] = key ? 255 : 0; p[1] = 0; p[2] = 255; p[3] = 255;
    }));
    ASSERT_TRUE(writePng(tmp + "/lit.png", 32, 32, [](int, int, uint8_t* p) { p[0] = p[1] = p[2] = p[3] = 255; }));
    ASSERT_TRUE(writePng(tmp + "/lit_n.png", 32, 32, [](int, int, uint8_t* p) {
        p[0] = 128; p[1] = 128; p[2] = 255; p[3] = 255;   // facing the viewer
    }));
    CspriteMgr& sm = gEngine->sprites;
    ASSERT_EQ(sm.loadFolder(tmp), 4);
    ASSERT_TRUE(sm.loadSheetsFromText("NormalMap \"lit.png\" \"lit_n.png\" EndFile"));

    Crenderer& r = gEngine->renderer;
    r.setClearColour(kClear);
    r.beginFrame();

    // A panel with two fonts of text on it.
    r.drawPanel(Crect::fromEdges(80, 80, 560, 330), 4, Ccolour(1, 1, 1, 1), Ccolour(0.1f, 0.2f, 0.5f, 1));
    Cfont* big = gEngine->fonts.findFont("FontBig");
    Cfont* small = gEngine->fonts.findFont("FontSmall");
    Cfont* uni = gEngine->fonts.findFont("UniFontNormal");
    ASSERT_TRUE(big && small && uni);
    big->drawText("Zorbex", 100, 100, 1, ALIGN_LEFT, Ccolour(1, 1, 1, 1));
    small->drawText("Neon arena shooter", 100, 170, 1, ALIGN_LEFT, Ccolour(1, 0.9f, 0.1f, 1));
    uni->drawText("\xE4\xBD\xA0\xE5\xA5\xBD Zorbex", 100, 220, 1, ALIGN_LEFT, Ccolour(0.4f, 1, 1, 1));
    const Cvec2 bigBox = big->measure("Zorbex");
    const Cvec2 smallBox = small->measure("Neon arena shooter");

    // Sprites: plain, colour-keyed and normal-mapped.
    r.drawSprite(sm.findSprite("solid_green.png"), 760, 160, 2);
    r.setColourKey(Ccolour(1, 0, 1, 1));
    Cquad keyed;
    keyed.sprite = sm.findSprite("keyed.png");
    keyed.centre = Cvec3(960, 160, 0);
    keyed.width = keyed.height = 64;
    keyed.mode = DRAW_COLOUR_KEY;
    r.addQuad(keyed);
    CshaderLight light;
    light.x = 1150;
    light.y = 160;
    light.z = 60;
    light.radius = 300;
    r.setLights(&light, 1, Ccolour(0.25f, 0.25f, 0.25f, 1));
    Cquad lit;
    lit.sprite = sm.findSprite("lit.png");
    lit.width = lit.height = 64;
    lit.mode = DRAW_NORMAL_MAP;
    lit.centre = Cvec3(1150, 160, 0);
    r.addQuad(lit);
    lit.centre = Cvec3(1150, 400, 0);   // far from the light
    r.addQuad(lit);

    // A clipped rectangle.
    r.pushScissor(Crect::fromEdges(100, 400, 200, 500));
    r.drawRect(Crect::fromEdges(50, 350, 250, 550), Ccolour(1, 0, 0, 1));
    r.popScissor();

    // Particles.
    spawnSparks(40, Cvec3(400, 600, 0), 200, Ccolour(1, 0.6f, 0.1f, 1), 0, 1);
    spawnHaloBurst(Ccolour(0.2f, 1, 1, 1), Cvec3(650, 600, 0), 0.5f, 0);
    ASSERT_EQ(gEngine->particles.countActive(), 42);
    for (int i = 0; i < 6; ++i) gEngine->particles.update(1.0f / 60.0f);
    drawParticleLayer(0);

    r.flush();
    ASSERT_TRUE(r.readPixels(0, 0, 1280, 720));
    const std::string shot = "render_scene.png";   // left in the build folder to look at
    ASSERT_TRUE(r.saveScreenshotPng(shot));
    window.swap();

    Cpicture pic(shot);
    ASSERT_TRUE(pic.ok());
    // Known colours at known places: the background, the sprite, the panel and its frame.
    EXPECT_TRUE(near(pic.at(5, 5), kClearR, kClearG, kClearB));
    EXPECT_TRUE(near(pic.at(760, 160), 0, 255, 0));
    EXPECT_TRUE(near(pic.at(731, 131), 0, 255, 0));
    EXPECT_TRUE(near(pic.at(700, 160), kClearR, kClearG, kClearB));
    EXPECT_TRUE(near(pic.at(500, 300), 26, 51, 128));
    EXPECT_TRUE(near(pic.at(81, 300), 255, 255, 255));
    EXPECT_TRUE(near(pic.at(559, 81), 255, 255, 255));

    // Text where it was drawn, in both fonts, and none just below it.
    auto white = [](const Cpixel& p) { return p.r > 200 && p.g > 200 && p.b > 200; };
    auto yellow = [](const Cpixel& p) { return p.r > 200 && p.g > 180 && p.b < 90; };
    EXPECT_GT(pic.count(100, 100, 100 + (int)bigBox.x, 100 + (int)bigBox.y, white), 200);
    EXPECT_GT(pic.count(100, 170, 100 + (int)smallBox.x, 170 + (int)smallBox.y, yellow), 60);
    EXPECT_EQ(pic.count(100, 270, 100 + (int)bigBox.x, 320, white), 0);
    EXPECT_GT(pic.count(100, 220, 160, 250, [](const Cpixel& p) { return p.g > 200 && p.b > 200 && p.r < 150; }),
              20);   // the CJK glyphs

    // The colour key drops the key half and keeps the blue one.
    EXPECT_TRUE(near(pic.at(940, 160), kClearR, kClearG, kClearB));
    EXPECT_TRUE(near(pic.at(980, 160), 0, 0, 255));
    EXPECT_EQ(pic.count(928, 128, 992, 192, [](const Cpixel& p) { return p.r > 40; }), 0);   // no seam
    // The light brightens the quad beneath it more than the far one.
    Cpixel nearLight = pic.at(1150, 160), farLight = pic.at(1150, 400);
    EXPECT_GT(nearLight.r, 200);
    EXPECT_LT(farLight.r, 110);
    EXPECT_GT(farLight.r, 40);   // still the ambient light
    // The clip held the red rectangle inside it.
    EXPECT_TRUE(near(pic.at(150, 450), 255, 0, 0));
    EXPECT_TRUE(near(pic.at(75, 450), kClearR, kClearG, kClearB));
    EXPECT_TRUE(near(pic.at(150, 520), kClearR, kClearG, kClearB));
    // Particles around their spawn points.
    auto glowing = [](const Cpixel& p) { return p.r + p.g + p.b > 150; };
    EXPECT_GT(pic.count(300, 500, 500, 700, glowing), 30);
    EXPECT_GT(pic.count(550, 500, 750, 700, glowing), 30);
}

// Quads that cross the window's edges, or lie far beyond them, cover exactly
// the pixels inside the window they should: whole pixels, no seam, nothing
// shifted by the reach of the viewport past the window.
TEST_F(CrenderGlTest, QuadsCrossingTheWindowEdgesCoverExactlyTheirPixels) {
    Crenderer& r = gEngine->renderer;
    r.setClearColour(Ccolour(0, 0, 0, 1));
    r.beginFrame();
    const Ccolour red(1, 0, 0, 1);
    r.drawRect(Crect{-3000, -3000, 6000, 3010}, Ccolour(0, 0, 1, 1));   // far past three edges: the top 10 rows
    r.drawRect(Crect{-50, 100, 100, 20}, red);       // half past the left edge: 50 x 20 inside
    r.drawRect(Crect{1250, 300, 100, 10}, red);      // past the right edge: 30 x 10
    r.drawRect(Crect{600, -7, 40, 10}, red);         // past the top: 40 x 3
    r.drawRect(Crect{200, 715, 11, 30}, red);        // past the bottom: 11 x 5
    r.drawLine(-400, 400, 400, 400, 4, Ccolour(0, 1, 0, 1));   // a level line from far off screen
    r.flush();
    ASSERT_TRUE(r.readPixels(0, 0, 1280, 720));
    const std::vector<uint8_t>& px = r.pixels();
    auto countIn = [&](int x0, int y0, int x1, int y1, int channel) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (px[((size_t)y * 1280 + x) * 4 + channel] > 128) ++n;
        return n;
    };
    EXPECT_EQ(countIn(0, 90, 100, 130, 0), 50 * 20);
    EXPECT_EQ(countIn(1200, 290, 1280, 320, 0), 30 * 10);
    EXPECT_EQ(countIn(580, 0, 680, 20, 0), 40 * 3);
    EXPECT_EQ(countIn(180, 700, 240, 720, 0), 11 * 5);
    EXPECT_EQ(countIn(0, 0, 1280, 20, 2), 1280 * 10 - 40 * 3);   // the red one drew over it
    EXPECT_EQ(countIn(0, 390, 1280, 410, 1), 400 * 4);
    window.swap();
}

// A page that grows keeps every image it held, texel for texel.
TEST_F(CrenderGlTest, AGrownAtlasPageKeepsEveryImageItHeld) {
    CtextureAtlas atlas("test", 256, 1);
    std::vector<CatlasCell> cells(12);
    std::vector<std::vector<uint8_t>> images(cells.size());
    for (size_t i = 0; i < cells.size(); ++i) {
        images[i].resize((size_t)(40 + i * 7) * (10 + i * 2) * 4);
        for (size_t k = 0; k < images[i].size(); ++k) images[i][k] = (uint8_t)(k * 31 + i * 17);
        ASSERT_TRUE(atlas.place(40 + (int)i * 7, 10 + (int)i * 2, images[i].data(), 0, cells[i]));
    }
    ASSERT_GT(atlas.growths(), 1);
    std::vector<uint8_t> page((size_t)256 * atlas.pageHeight(0) * 4);
    glBindTexture(GL_TEXTURE_2D, atlas.pageId(0));
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, page.data());
    for (size_t i = 0; i < cells.size(); ++i)
        for (int y = 0, w = cells[i].w * 4; y < cells[i].h; ++y)
            ASSERT_EQ(memcmp(images[i].data() + y * w, page.data() + ((cells[i].y + y) * 256 + cells[i].x) * 4, w), 0) << i;
}

// Scores, negative ones and times from glyph images, in a Latin and a CJK font, plain, shadowed and outlined.
TEST_F(CrenderGlTest, NumbersFromGlyphImagesGiveThePixelsOfTheRasterisedLine) {
    const struct { const char* font; int style; } rows[] = {
        {"FontBig", FONT_PLAIN}, {"UniFontBig", FONT_PLAIN}, {"FontSmall", FONT_SHADOW}, {"FontMedium", FONT_OUTLINE}};
    Crenderer& r = gEngine->renderer;
    for (const auto& row : rows) {
        Cfont* f = gEngine->fonts.findFont(row.font);
        f->style = row.style;
        for (int page = 0; page < 6; ++page) {
            std::vector<uint8_t> shots[2];
            for (int composed = 1; composed >= 0; --composed) {
                gEngine->fonts.composeNumbers = composed == 1;   // on, then off, for each page of numbers
                const uint64_t misses = gEngine->fonts.cacheMisses;
                r.beginFrame();
                for (int i = 0; i < 24; ++i) {
                    const int64_t v = (int64_t)(page * 24 + i) * 7919 * (i % 3 ? 1 : 1031) - (i % 5 ? 0 : 90000);
                    f->drawText(i % 4 == 3 ? formatTime((int)(v % 3600)) : formatThousands64(v), 20 + (i % 3) * 420,
                                20 + (i / 3) * 85, 1, ALIGN_LEFT, Ccolour(1, 0.9f, 0.5f, 1));
                }
                r.flush();
                ASSERT_TRUE(r.readPixels(0, 0, 1280, 720));
                shots[composed] = r.pixels();
                if (composed && row.style != FONT_OUTLINE) EXPECT_EQ(gEngine->fonts.cacheMisses, misses) << row.font;
            }
            EXPECT_TRUE(shots[0] == shots[1]) << row.font << ", numbers from " << page * 24;
        }
    }
}
