// Camera and draw-list effects.
#include "renderFixture.h"

TEST_F(CrenderTest, CameraMapsScreenToPlaneAndBack) {
    Ccamera cam;
    cam.pos = Cvec3(10, 20, 100);
    cam.focal = 200;
    // k = (100 - 0) / 200 = 0.5
    Cvec2 p = cam.screenToPlane(Cvec2(0, 0), -100);   // k = 1
    EXPECT_TRUE(p.x == -630 && p.y == -340) << p.x << "," << p.y;

    for (float depth : {-300.0f, -20.0f, 0.0f, 50.0f, 99.0f}) {
        for (Cvec2 screen : {Cvec2(0, 0), Cvec2(1279, 719), Cvec2(333.5f, 42.25f)}) {
            Cvec2 plane = cam.screenToPlane(screen, depth);
            Cvec2 back = cam.planeToScreen(Cvec3(plane.x, plane.y, depth));
            EXPECT_LT(std::hypot(back.x - screen.x, back.y - screen.y), 1e-2f) << depth;
        }
    }
    // The screen size is the engine's.
    gEngine->setScreenSize(1920, 1080);
    EXPECT_FLOAT_EQ(cam.planeToScreen(Cvec3(10, 20, 0)).x, 960);

    // Nothing at or behind the camera has a place on screen.
    Cvec2 out;
    EXPECT_FALSE(cam.planeToScreen(Cvec3(0, 0, 100), out) || cam.planeToScreen(Cvec3(0, 0, 150), out));
}

TEST_F(CrenderTest, QuadsThroughTheCameraAreProjectedAndShaken) {
    Crenderer& r = gEngine->renderer;
    Ccamera cam;
    cam.pos = Cvec3(0, 0, 100);
    cam.focal = 200;   // 2 pixels a unit at depth 0
    r.setCamera(&cam);
    Cquad q;
    q.centre = Cvec3(10, -5, 0);
    q.width = 4;
    q.height = 6;
    r.addQuad(q);
    q.centre.z = 120;   // behind the camera
    r.addQuad(q);
    r.setShakeOffset(Cvec2(3, -2));
    q.centre.z = 0;
    r.addQuad(q);
    r.drawRect(Crect{0, 0, 10, 10}, Ccolour());   // rectangles stay in screen pixels
    r.setCamera(nullptr);
    ASSERT_EQ(r.quads().size(), 3u);
    const CquadRecord &plain = r.quads()[0], &shaken = r.quads()[1];
    EXPECT_TRUE(plain.x == 660 && plain.y == 350 && plain.width == 8 && plain.height == 12);
    EXPECT_TRUE(shaken.x == 663 && shaken.y == 348);
    EXPECT_FLOAT_EQ(r.quads()[2].x, 5);
}

// Staggered reveals: each later widget shows up later, and every one ends at rest.
TEST_F(CrenderTest, PopInWaitsHiddenForItsDelay) {
    CdrawList& list = gEngine->drawList;
    std::vector<CdrawSpritePtr> row;
    for (int i = 0; i < 4; ++i) {
        row.push_back(list.addDelayed(1.0f + 0.1f * (float)i, nullptr, 0, 0, 0.2f));
        row.back()->startPopIn();
    }
    for (int step = 0; step < 200; ++step) {
        list.update(0.01f);
        for (int i = 1; i < 4; ++i) EXPECT_TRUE(!row[i]->visible || row[i - 1]->visible);
    }
    for (auto& s : row) EXPECT_TRUE(s->finished && s->scale == 1.0f);
    EXPECT_EQ(list.size(), 0u);   // done effects leave the list; the owner still reads them
}

TEST_F(CrenderTest, HideEffectsPlayBackwardsAndEndHidden) {
    CdrawList& list = gEngine->drawList;
    auto fx = list.addSprite(1.0f, nullptr, 100, 100, 0.2f);
    fx->startGrowIn(true);
    list.update(0.1f);
    EXPECT_LT(fx->scale, 1.0f);
    list.update(0.15f);
    EXPECT_TRUE(fx->finished && !fx->visible);

    // A delayed hide stays in view while it waits.
    auto later = list.addDelayed(0.5f, nullptr, 10, 10, 0.2f);
    later->startZoomIn(true);
    EXPECT_TRUE(later->visible && later->alpha == 1.0f);
}

TEST_F(CrenderTest, SlideInComesFromTheNearestEdge) {
    CdrawList& list = gEngine->drawList;
    struct Ccase {
        float x, y;
        Cvec2 start;
    } cases[] = {
        {1200, 360, Cvec2(1280 - 1200 + 50, 0)},   // right
        {30, 300, Cvec2(-(30 + 50), 0)},           // left
        {640, 20, Cvec2(0, -(20 + 25))},           // top
        {640, 700, Cvec2(0, 720 - 700 + 25)},      // bottom
    };
    for (const auto& c : cases) {
        auto fx = list.addSprite(1.0f, nullptr, c.x, c.y, 0.5f);
        fx->width = 100;
        fx->height = 50;
        fx->startSlideIn();
        EXPECT_TRUE(fx->offset.x == c.start.x && fx->offset.y == c.start.y) << c.x << "," << c.y;
        for (int i = 0; i < 40; ++i) list.update(1.0f / 60.0f);
        EXPECT_TRUE(fx->offset.x == 0 && fx->offset.y == 0);
    }
}

TEST_F(CrenderTest, RemovedEffectsStopAndSpriteEffectsAreDrawn) {
    CdrawList& list = gEngine->drawList;
    auto fx = list.addSprite(1.0f, nullptr, 0, 0, 1.0f);
    fx->startGrowIn();
    list.update(0.25f);
    float v = fx->value;
    list.remove(fx);
    list.update(0.25f);
    EXPECT_TRUE(fx->removed && list.size() == 0u && fx->value == v);
    list.remove(fx);       // twice is harmless
    list.remove(nullptr);

    Csprite* star = gEngine->sprites.findSprite("builtin_star");
    ASSERT_NE(star, nullptr);
    auto drawn = list.addSprite(1.0f, star, 300, 200, 1.0f);
    drawn->startScaleFrom(3.0f);
    auto waiting = list.addDelayed(5.0f, star, 10, 10, 1.0f);
    waiting->startGrowIn();
    list.update(0.5f);
    gEngine->renderer.beginFrame();
    list.draw();
    ASSERT_EQ(gEngine->renderer.quads().size(), 1u);   // the waiting one is hidden
    const CquadRecord& q = gEngine->renderer.quads()[0];
    EXPECT_FLOAT_EQ(q.x, 300);
    EXPECT_NEAR(q.width, star->width * drawn->scale, 1e-3f);
    EXPECT_GT(q.width, star->width);
}

TEST_F(CrenderTest, EngineStepMovesEffectsAndParticles) {
    auto fx = gEngine->drawList.addSprite(1.0f, nullptr, 0, 0, 0.5f);
    fx->startFadeIn();
    spawnPuff(Ccolour(1, 0, 0, 1), Cvec3(10, 10, 0));
    ASSERT_EQ(gEngine->particles.countActive(), 1);
    for (int i = 0; i < 31; ++i) gEngine->update();
    EXPECT_TRUE(fx->finished);
    for (int i = 0; i < 150; ++i) gEngine->update();
    EXPECT_EQ(gEngine->particles.countActive(), 0);
}
