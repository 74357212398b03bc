// Particle life, slots, layers and the spawn helpers; lights.
#include "renderFixture.h"

TEST_F(CrenderTest, ParticlesLiveTheirLifeAndFreeTheirSlot) {
    CparticleSystem& ps = gEngine->particles;
    ASSERT_TRUE(ps.loadDefsFromText("ParticleDef Short Life 0.5 0.5 Size 1 1 EndParticleDef EndFile"));
    CparticleDef* def = ps.findDef("short");
    ASSERT_NE(def, nullptr);
    ps.spawn(*def, Cvec3(0, 0, 0), Ccolour(1, 1, 1, 1), 0);
    ps.spawn(*def, Cvec3(0, 0, 0), Ccolour(1, 1, 1, 1), 0);
    EXPECT_EQ(ps.countActive(), 2);
    ps.update(0.49f);
    EXPECT_EQ(ps.countActive(), 2);
    ps.update(0.02f);
    EXPECT_EQ(ps.countActive(), 0);

    // Paused: nothing ages.
    ps.spawn(*def, Cvec3(0, 0, 0), Ccolour(1, 1, 1, 1), 0);
    gEngine->setPaused(true);
    ps.update(5.0f);
    EXPECT_EQ(ps.countActive(), 1);
    gEngine->setPaused(false);
    ps.update(1.0f);
    EXPECT_EQ(ps.countActive(), 0);
}

TEST_F(CrenderTest, ParticleSlotsAreLimitedAndReused) {
    CparticleSystem& ps = gEngine->particles;
    for (int i = 0; i < CparticleSystem::kMaxParticles + 100; ++i) spawnPuff(Ccolour(1, 1, 1, 1), Cvec3(0, 0, 0));
    EXPECT_TRUE(ps.countActive() == CparticleSystem::kMaxParticles && ps.dropped() == 100);
    ps.update(3.0f);   // past the longest puff
    for (int i = 0; i < 10; ++i) spawnPuff(Ccolour(1, 1, 1, 1), Cvec3(0, 0, 0));
    EXPECT_EQ(ps.countActive(), 10);
}

TEST_F(CrenderTest, ParticlesMoveFadeAndDrawByLayer) {
    CparticleSystem& ps = gEngine->particles;
    ASSERT_TRUE(ps.loadDefsFromText("ParticleDef Mover Sprite builtin_soft Life 2 2 Size 0.5 0.5 EndScale 3 "
                                    "Speed 100 100 Blend Alpha EndParticleDef EndFile"));
    CparticleDef* def = ps.findDef("Mover");
    Cparticle* p = ps.spawn(*def, Cvec3(100, 100, 0), Ccolour(1, 0, 0, 1), 2);
    ASSERT_NE(p, nullptr);
    ps.spawn(*def, Cvec3(0, 0, 0), Ccolour(1, 1, 1, 1), 1);
    ps.spawn(*def, Cvec3(0, 0, 0), Ccolour(1, 1, 1, 1), 99);   // a bad layer falls back to 0
    ps.update(1.0f);
    EXPECT_NEAR(Cvec2(p->pos.x - 100, p->pos.y - 100).length(), 100.0f, 0.5f);

    Crenderer& r = gEngine->renderer;
    drawParticleLayer(2);
    ASSERT_EQ(r.quads().size(), 1u);
    const CquadRecord& q = r.quads()[0];
    EXPECT_NEAR(q.colour.a, 0.5f, 1e-4f);   // half its life gone
    EXPECT_NEAR(q.width, 64 * (0.5f + (1.5f - 0.5f) * 0.5f), 1e-3f);
    EXPECT_EQ(q.blend, BLEND_ALPHA);
    for (int layer : {0, 1, 7}) drawParticleLayer(layer);   // 7: no such layer, nothing
    EXPECT_EQ(r.quads().size(), 3u);
}

TEST_F(CrenderTest, SpawnHelpersFindTheirKinds) {
    spawnHaloBurst(Ccolour(1, 0, 0, 1), Cvec3(100, 100, 0), 0.2f, 1);   // with an inner white copy
    spawnSparks(12, Cvec3(0, 0, 0), 300, Ccolour(1, 1, 0, 1), 3, 1);
    spawnShockwave(Cvec3(0, 0, 0), Ccolour(0, 1, 1, 1), 2, 1);
    spawnUiSparkle(Cvec3(5, 5, 0), Ccolour(1, 1, 1, 1), 0.3f);
    spawnLogoFlash(640, 360);
    spawnTransitionFlash(10, 20);
    spawnPuff(Ccolour(0, 0, 1, 1), Cvec3(0, 0, 0), 1);
    EXPECT_EQ(gEngine->particles.countActive(), 2 + 12 + 5);
    EXPECT_FALSE(gEngine->log.containsPart("Can't find particle def"));
}

TEST_F(CrenderTest, LightPoolReservesThePlayersLights) {
    ClightPool pool;
    EXPECT_EQ(pool.countUsed(), 4);
    EXPECT_TRUE(pool.playerLight(3) != nullptr && pool.playerLight(4) == nullptr);
    std::vector<Clight*> got;
    while (Clight* l = pool.allocate()) got.push_back(l);
    EXPECT_EQ((int)got.size(), ClightPool::kMaxLights - 4);
    pool.release(got[0]);
    pool.release(pool.playerLight(0));   // player lights stay reserved
    EXPECT_EQ(pool.countUsed(), ClightPool::kMaxLights - 1);
    EXPECT_NE(pool.allocate(), nullptr);
    pool.reset();
    EXPECT_EQ(pool.countUsed(), 4);

    // Lit lights reach the renderer on screen.
    Ccamera cam;
    cam.pos = Cvec3(0, 0, 100);
    cam.focal = 100;
    Clight* p0 = pool.playerLight(0);
    p0->on = true;
    p0->pos = Cvec3(50, 0, 0);
    p0->radius = 200;
    Clight* l = pool.allocate();
    l->pos = Cvec3(0, 0, 200);   // behind the camera: left out
    pool.apply(gEngine->renderer, cam, Ccolour(0.1f, 0.1f, 0.1f, 1));
    const auto& lights = gEngine->renderer.lights();
    ASSERT_EQ(lights.size(), 1u);
    EXPECT_TRUE(lights[0].x == 690 && lights[0].radius == 200);
}
