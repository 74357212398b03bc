// One scene drawn through OpenGL with every image in a texture of its own and
// a draw call per blend change, then with atlas pages and shared calls: the
// pictures must match (run under Xvfb).
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/engine.h"
#include "glWindow.h"
#include "support/testEngine.h"

namespace {
// A sheet of four coloured quarters with hard edges between them.
bool writeSheet(const std::string& path) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 64, 64, 32, SDL_PIXELFORMAT_ABGR8888);
    if (!s) return false;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            uint8_t* p = (uint8_t*)s->pixels + (size_t)y * s->pitch + (size_t)x * 4;
            int q = (x >= 32 ? 1 : 0) + (y >= 32 ? 2 : 0);
            p[0] = q == 0 || q == 3 ? 255 : 0;
            p[1] = q == 1 || q == 3 ? 255 : 30;
            p[2] = q == 2 ? 255 : 0;
            p[3] = x % 32 == 0 ? 0 : 255;   // a transparent column at each quarter's left edge
        }
    bool ok = IMG_SavePNG(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

struct Cshot {
    std::vector<uint8_t> pixels;
    int drawCalls = 0;
    int quads = 0;
};

// Game art where the build made it, sprite sheet regions, built-in shapes in
// both blend modes at many sizes and angles, rectangles, lines and text.
Cshot drawScene(const std::string& folder) {
    CspriteMgr& sm = gEngine->sprites;
    Crenderer& r = gEngine->renderer;
    sm.loadFolder(folder);
    sm.loadSheetsFromText(
        "Sheet \"sheet.png\"\n"
        "  Sprite \"sheet_red\" 0 0 32 32\n"
        "  Sprite \"sheet_blue\" 0 32 32 32\n"
        "  Sprite \"sheet_yellow\" 32 32 32 32\n"
        "EndSheet\nEndFile\n");
    r.setClearColour(Ccolour(0.05f, 0.05f, 0.12f, 1));
    r.beginFrame();
    r.drawPanel(Crect::fromEdges(60, 60, 600, 330), 4, Ccolour(1, 1, 1, 1), Ccolour(0.1f, 0.2f, 0.5f, 1));

    const char* art[] = {"ui_ZRLogo.png", "ss_hull_standard.png", "ui_panel.png", "ui_SmileLogo.png",
                         "ui_rank05.png", "ui_whitePixel.png", "QMLoading_2.png", "ss_shockwave.png"};
    float x = 700;
    for (int i = 0; i < 8; ++i) {
        const Csprite* s = sm.findSprite(art[i], false);
        if (!s) s = sm.findSprite("sheet_yellow", false);
        const float scale = 0.23f + 0.31f * (float)i;
        r.drawSprite(s, x, 120 + 60.0f * (float)(i % 3), scale, Ccolour(1, 1, 1, 0.5f + 0.07f * (float)i),
                     (float)(i * 37));
        x += 70;
    }
    const char* shapes[] = {"builtin_soft", "builtin_ring", "builtin_spark", "builtin_star"};
    for (int i = 0; i < 120; ++i) {
        Cquad q;
        q.sprite = sm.findSprite(shapes[i % 4]);
        q.centre = Cvec3(80.0f + (float)(i * 97 % 1100), 380.0f + (float)(i * 53 % 300), 0);
        q.width = q.height = 6.0f + (float)(i % 9) * 9.5f;
        q.rotation = (float)(i * 29);
        q.colour = Ccolour(0.3f + (float)(i % 5) * 0.15f, 1.0f - (float)(i % 7) * 0.1f, 0.6f, 0.9f);
        q.blend = i % 3 ? BLEND_ADDITIVE : BLEND_ALPHA;
        r.addQuad(q);
        if (i % 20 == 0) r.drawRect(Crect{(float)(i * 9), 650, 40, 30}, Ccolour(1, 0.2f, 0.2f, 0.5f));
    }
    const char* parts[] = {"sheet_red", "sheet_blue", "sheet_yellow"};
    for (int i = 0; i < 9; ++i)
        r.drawSprite(sm.findSprite(parts[i % 3]), 120.0f + (float)i * 55, 270, 0.4f + 0.35f * (float)i, Ccolour(),
                     (float)(i * 11));
    r.drawLine(50, 700, 1200, 360, 3.5f, Ccolour(0.2f, 1, 0.4f, 0.8f));

    Cfont* big = gEngine->fonts.findFont("FontBig");
    Cfont* small = gEngine->fonts.findFont("FontSmall");
    if (big && small) {
        big->drawText("Zorbex", 90, 90, 1, ALIGN_LEFT, Ccolour(1, 1, 1, 1));
        big->style = FONT_OUTLINE;
        big->drawText("Outlined 1234", 90, 150, 0.8f, ALIGN_LEFT, Ccolour(1, 0.8f, 0.2f, 1));
        big->style = FONT_PLAIN;
        small->style = FONT_SHADOW;
        small->drawText("Neon arena shooter", 90, 210, 1, ALIGN_LEFT, Ccolour(0.4f, 1, 1, 1));
        small->style = FONT_PLAIN;
    }
    r.flush();
    Cshot shot;
    shot.drawCalls = r.frameDrawCalls();
    shot.quads = r.frameQuads();
    if (r.readPixels(0, 0, 1280, 720)) shot.pixels = r.pixels();
    return shot;
}
}  // namespace

using AtlasGl = CglTest;

TEST_F(AtlasGl, SceneLooksTheSameWithAndWithoutAtlases) {
    const std::string tmp = makeTempFolder("atlasgl");
    ASSERT_TRUE(writeSheet(tmp + "/sheet.png"));

    Cshot shots[2];
    for (int batched = 0; batched < 2; ++batched) {
        shutdownRendering();
        gEngine->textures.setPacking(batched != 0);
        gEngine->renderer.setMergeBlends(batched != 0);
        ASSERT_TRUE(initRendering(RENDER_GL));
        shots[batched] = drawScene(tmp);
        window.swap();
    }
    gEngine->textures.setPacking(true);
    gEngine->renderer.setMergeBlends(true);
    removeFolderTree(tmp);

    const auto& a = shots[0].pixels;
    const auto& b = shots[1].pixels;
    ASSERT_EQ(a.size(), (size_t)1280 * 720 * 4);
    ASSERT_EQ(b.size(), a.size());
    EXPECT_EQ(shots[0].quads, shots[1].quads);
    EXPECT_LT(shots[1].drawCalls * 10, shots[0].drawCalls);

    // The same picture: rounding of the blend may move a channel by a step or
    // two, and nothing else differs.
    int lit = 0, off = 0, worst = 0;
    for (size_t i = 0; i < a.size(); i += 4) {
        if (a[i] + a[i + 1] + a[i + 2] > 120) ++lit;
        int d = 0;
        for (int c = 0; c < 3; ++c) d = std::max(d, std::abs((int)a[i + c] - (int)b[i + c]));
        worst = std::max(worst, d);
        if (d > 3) ++off;
    }
    printf("draw calls %d -> %d, quads %d; lit %d, pixels off %d, worst %d\n", shots[0].drawCalls,
           shots[1].drawCalls, shots[1].quads, lit, off, worst);
    EXPECT_GT(lit, 1280 * 720 / 20);
    EXPECT_LE(off, 1280 * 720 / 2000);
    EXPECT_LE(worst, 24);
}
