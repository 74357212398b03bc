#include <SDL_image.h>

#include <climits>
#include <cmath>

#include "engine/resourceFile.h"
#include "renderFixture.h"

namespace {
Csprite* makeSprite(const std::string& folder, const char* name, int w, int h) {
    std::string path = folder + "/" + name;
    if (!writeSolidPng(path, w, h, 200, 100, 50)) return nullptr;
    Ctexture* t = gEngine->textures.addFile(path);
    return t ? gEngine->sprites.createSprite(name, t) : nullptr;
}

Cquad quadOf(const Csprite* s, float x = 10, float y = 10) {
    Cquad q;
    q.sprite = s;
    q.centre = Cvec3(x, y, 0);
    return q;
}
}  // namespace

TEST_F(CrenderTest, BatchMergesRunsOfTheSameStateAndSplitsOnChange) {
    Crenderer& r = gEngine->renderer;
    gEngine->textures.setPacking(false);   // two textures of their own
    Csprite* a = makeSprite(tmp, "a.png", 8, 8);
    Csprite* b = makeSprite(tmp, "b.png", 8, 8);
    ASSERT_TRUE(a && b);
    for (int i = 0; i < 3; ++i) r.addQuad(quadOf(a));
    r.addQuad(quadOf(b));
    r.addQuad(quadOf(b));
    Cquad add = quadOf(b);
    add.blend = BLEND_ADDITIVE;
    r.addQuad(add);
    r.addQuad(quadOf(a));
    r.flush();
    ASSERT_EQ(r.flushes().size(), 1u);
    // Blend modes share a call.
    const auto& calls = r.flushes()[0].calls;
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_TRUE(calls[0].quadCount == 3 && calls[1].quadCount == 3 && calls[2].firstQuad == 6);
    EXPECT_TRUE(calls[0].texture != calls[1].texture && calls[0].texture == calls[2].texture);
    gEngine->textures.setPacking(true);
    r.flush();   // nothing pending: draws nothing
    EXPECT_EQ(r.flushes().size(), 1u);
    r.beginFrame();   // a new frame forgets the last one's record
    EXPECT_TRUE(r.flushes().empty() && r.frameQuads() == 0);
}

TEST_F(CrenderTest, FullBatchFlushesItselfAndKeepsEveryQuad) {
    Crenderer& r = gEngine->renderer;
    Csprite* a = makeSprite(tmp, "a.png", 4, 4);
    for (int i = 0; i < Crenderer::kMaxQuads + 5; ++i) r.addQuad(quadOf(a, (float)(i % 1280), 5));
    r.flush();
    ASSERT_EQ(r.flushes().size(), 2u);
    EXPECT_TRUE(r.flushes()[0].quads == Crenderer::kMaxQuads && r.flushes()[1].quads == 5);
    EXPECT_EQ(r.flushes()[1].calls[0].firstQuad, 0);
}

TEST_F(CrenderTest, ScissorStackClipsNestsAndReportsAnEmptyPop) {
    Crenderer& r = gEngine->renderer;
    Csprite* a = makeSprite(tmp, "a.png", 4, 4);
    r.addQuad(quadOf(a));
    r.pushScissor(Crect::fromEdges(100, 100, 400, 300));
    r.addQuad(quadOf(a));
    r.pushScissor(Crect::fromEdges(300, 0, 800, 200));   // cut to the outer clip
    r.addQuad(quadOf(a));
    EXPECT_EQ(r.scissorDepth(), 2);
    EXPECT_TRUE(r.popScissor());
    r.addQuad(quadOf(a));
    EXPECT_TRUE(r.popScissor());
    r.addQuad(quadOf(a));
    r.flush();
    const auto& calls = r.flushes()[0].calls;
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_TRUE(!calls[0].scissorOn && calls[1].scissorOn && !calls[4].scissorOn);
    EXPECT_EQ(calls[1].scissor, Crect::fromEdges(100, 100, 400, 300));
    EXPECT_EQ(calls[2].scissor, Crect::fromEdges(300, 100, 400, 200));
    EXPECT_EQ(calls[3].scissor, Crect::fromEdges(100, 100, 400, 300));

    EXPECT_FALSE(r.popScissor());
    EXPECT_TRUE(gEngine->log.contains("POP error!"));
    EXPECT_EQ(r.scissorDepth(), 0);

    // Clips that don't overlap leave an empty clip, not a bad one.
    r.pushScissor(Crect::fromEdges(0, 0, 10, 10));
    r.pushScissor(Crect::fromEdges(50, 50, 60, 60));
    r.addQuad(quadOf(a));
    r.flush();
    EXPECT_TRUE(r.quads().back().scissor.empty());
    r.beginFrame();   // a new frame starts unclipped
    EXPECT_EQ(r.scissorDepth(), 0);

    // The same clip popped and pushed again keeps the open call.
    r.pushScissor(Crect::fromEdges(0, 0, 10, 10));
    r.addQuad(quadOf(a));
    r.popScissor();
    r.pushScissor(Crect::fromEdges(0, 0, 10, 10));
    r.addQuad(quadOf(a));
    r.flush();
    EXPECT_EQ(r.flushes().back().calls.size(), 1u);
}

TEST(PackColourTest, ClampsRoundsAndPacksInMemoryOrder) {
    const struct {
        Ccolour colour;
        uint32_t packed;
    } cases[] = {
        {Ccolour(1, 0, 0, 1), 0xff0000ffu},
        {Ccolour(0.5f, 0.2f, 1.5f, -1), 0x00ff3380u},
        {Ccolour(0.998f, 0.002f, 0, 1), 0xff0001feu},
        {Ccolour(NAN, 1, INFINITY, -INFINITY), 0x00ffff00u},
    };
    for (const auto& c : cases) EXPECT_EQ(packColour(c.colour), c.packed) << c.colour.r << " " << c.colour.g;
}

// A quad turned by a direction lands where the same quad turned by its angle
// does; lines are drawn that way.
TEST_F(CrenderTest, QuadsTurnedByADirectionMatchTheirAngle) {
    Crenderer& r = gEngine->renderer;
    Csprite* a = makeSprite(tmp, "a.png", 20, 10);
    Cquad q = quadOf(a, 100, 50);
    q.rotation = 30;
    r.addQuad(q);
    q.rotation = 0;
    const float rad = degToRad(30);
    r.addQuadTurned(q, std::cos(rad), std::sin(rad));
    r.addQuadTurned(q, 0, -1);   // straight up the screen
    r.drawLine(10, 10, 10, 60, 2, Ccolour(1, 1, 1, 1));
    ASSERT_EQ(r.quads().size(), 4u);
    EXPECT_NEAR(r.quads()[1].rotation, r.quads()[0].rotation, 1e-4f);
    EXPECT_TRUE(r.quads()[1].x == r.quads()[0].x && r.quads()[1].width == r.quads()[0].width);
    EXPECT_NEAR(r.quads()[2].rotation, -90, 1e-4f);
    EXPECT_NEAR(r.quads()[3].rotation, 90, 1e-4f);   // the line: down, 50 long, centred
    EXPECT_TRUE(r.quads()[3].width == 50 && r.quads()[3].y == 35);
}

TEST_F(CrenderTest, NormalMapsLightsAndTheColourKeySplitTheBatch) {
    Crenderer& r = gEngine->renderer;
    Csprite* hull = makeSprite(tmp, "hull.png", 8, 8);
    Csprite* normals = makeSprite(tmp, "hull_n.png", 8, 8);
    Csprite* bare = makeSprite(tmp, "bare.png", 8, 8);
    hull->normalMap = normals;
    Cquad q = quadOf(bare);
    q.mode = DRAW_NORMAL_MAP;
    r.addQuad(q);   // no normal map: drawn plain
    EXPECT_EQ(r.quads().back().mode, DRAW_PLAIN);
    q.sprite = hull;
    r.addQuad(q);
    r.addQuad(q);
    CshaderLight light;
    light.x = 50;
    r.setLights(&light, 1);
    r.addQuad(q);
    r.flush();
    const auto& calls = r.flushes()[0].calls;
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_TRUE(calls[1].mode == DRAW_NORMAL_MAP && calls[1].normalTexture == normals->texture->id());
    EXPECT_EQ(calls[1].quadCount, 2);
    EXPECT_NE(calls[1].lightSet, calls[2].lightSet);
    std::vector<CshaderLight> many(20);   // more than the program takes: cut to its limit
    r.setLights(many.data(), (int)many.size());
    EXPECT_EQ((int)r.lights().size(), Crenderer::kMaxLights);

    // The colour key is part of the state too.
    r.beginFrame();
    q = quadOf(bare);
    q.mode = DRAW_COLOUR_KEY;
    for (const Ccolour& key : {Ccolour(1, 0, 1, 1), Ccolour(1, 0, 1, 1), Ccolour(0, 1, 0, 1)}) {
        r.setColourKey(key);
        r.addQuad(q);
    }
    r.flush();
    ASSERT_EQ(r.flushes()[0].calls.size(), 2u);
    EXPECT_EQ(r.flushes()[0].calls[1].key, Ccolour(0, 1, 0, 1));
}

TEST_F(CrenderTest, ReadPixelsClipsOrRefusesItsRectangle) {
    Crenderer& r = gEngine->renderer;
    r.setClearColour(Ccolour(0, 1, 0, 1));
    EXPECT_FALSE(r.readPixels(0, 0, 0, 10));
    EXPECT_TRUE(gEngine->log.contains("readPixels: empty rectangle 0,0 0x10"));
    EXPECT_FALSE(r.readPixels(10, 10, 5, -3));
    EXPECT_FALSE(r.readPixels(2000, 100, 50, 50));
    EXPECT_TRUE(gEngine->log.contains("readPixels: rectangle 2000,100 50x50 lies outside the screen"));
    EXPECT_FALSE(r.readPixels(-100, -100, 100, 100));   // ends where the screen begins
    EXPECT_FALSE(r.readPixels(INT_MAX - 5, 0, INT_MAX, 10));   // no overflow on the far edge
    EXPECT_TRUE(r.pixels().empty());

    ASSERT_TRUE(r.readPixels(1270, 710, 100, 100));
    EXPECT_TRUE(r.pixelWidth() == 10 && r.pixelHeight() == 10 && r.pixels().size() == 400u);
    ASSERT_TRUE(r.readPixels(-10, -20, 30, 40));
    EXPECT_TRUE(r.pixelWidth() == 20 && r.pixelHeight() == 20);
    EXPECT_EQ(r.pixels()[1], 255);   // the clear colour's green

    // A window bigger than the virtual screen reads its own pixels.
    gEngine->windowWidth = 2560;
    gEngine->windowHeight = 1440;
    ASSERT_TRUE(r.readPixels(0, 0, 100, 50));
    EXPECT_TRUE(r.pixelWidth() == 200 && r.pixelHeight() == 100);
}

TEST_F(CrenderTest, ScreenshotNeedsPixelsAndWritesAPng) {
    Crenderer& r = gEngine->renderer;
    const std::string file = tmp + "/shot.png";
    EXPECT_FALSE(r.saveScreenshotPng(file));   // nothing read yet
    EXPECT_TRUE(gEngine->log.containsPart("Save PNG: Failed"));
    r.setClearColour(Ccolour(0.2f, 0.4f, 0.6f, 0.0f));
    ASSERT_TRUE(r.readPixels(0, 0, 64, 32));
    ASSERT_TRUE(r.saveScreenshotPng(file));
    EXPECT_TRUE(gEngine->log.contains("Save PNG: Success: " + file));
    SDL_Surface* s = IMG_Load(file.c_str());
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->w == 64 && s->h == 32);
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ABGR8888, 0);
    const uint8_t* p = (const uint8_t*)rgba->pixels;
    EXPECT_TRUE(std::abs(p[0] - 51) <= 1 && std::abs(p[2] - 153) <= 1 && p[3] == 255);   // written opaque
    SDL_FreeSurface(rgba);
    SDL_FreeSurface(s);
    EXPECT_FALSE(fileExistsW(file + ".tmp"));

    // A refused read leaves nothing to save, not the last picture.
    EXPECT_FALSE(r.readPixels(0, 0, 0, 0));
    EXPECT_FALSE(r.saveScreenshotPng(tmp + "/second.png"));
    EXPECT_FALSE(fileExistsW(tmp + "/second.png"));
    // An unwritable place is a failure, not a success.
    ASSERT_TRUE(r.readPixels(0, 0, 8, 8));
    EXPECT_FALSE(r.saveScreenshotPng(tmp + "/no/such/folder/x.png"));

    Ctexture* t = r.grabScreenTexture();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->width, 8);
    EXPECT_NE(t->id(), 0u);
}
