// Twenty seconds of the built-in track played by the scripted pilot in a real
// window; the last frame is kept as "play20s.png" in the build folder.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include "engine/engine.h"
#include "game/playEffects.h"
#include "game/playHarness.h"
#include "builtInTrack.h"
#include "glWindow.h"
#include "support/testEngine.h"

namespace {
// How much of a rectangle of the read-back frame is lit, and how many
// distinct hues it holds.
struct Clit {
    int lit = 0;
    int hues = 0;
};

Clit measure(const std::vector<uint8_t>& px, int w, int x0, int y0, int x1, int y1) {
    Clit r;
    bool seen[12] = {};
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint8_t* p = &px[((size_t)y * w + x) * 4];
            int hi = std::max({p[0], p[1], p[2]}), lo = std::min({p[0], p[1], p[2]});
            if (hi < 60) continue;
            ++r.lit;
            if (hi - lo < 40) continue;
            float h = 0;
            if (hi == p[0]) h = (float)(p[1] - p[2]) / (hi - lo);
            else if (hi == p[1]) h = 2.0f + (float)(p[2] - p[0]) / (hi - lo);
            else h = 4.0f + (float)(p[0] - p[1]) / (hi - lo);
            int bucket = ((int)((h < 0 ? h + 6 : h) * 2.0f)) % 12;
            seen[bucket] = true;
        }
    for (bool b : seen) r.hues += b ? 1 : 0;
    return r;
}
}  // namespace

TEST(PlayGl, TwentySecondsOfTheBuiltInTrack) {
    CtestEngine eng;
    CglTestWindow win;
    ASSERT_TRUE(win.open(1280, 720)) << win.error;
    ASSERT_TRUE(initRendering(RENDER_GL));

    // The music: the built-in track through the player, mixed by hand.
    CbuiltInTrack music;
    ASSERT_TRUE(music.start());

    CplayHarness h;
    h.syntheticMusic = false;
    ASSERT_TRUE(h.start(music.options(DIFFICULTY_HARD)));
    h.world.session.track = trackInfoFromSong(*music.track);

    const int frames = 20 * 60;
    float maxIntensity = 0;
    int maxParticles = 0, maxShots = 0, maxEnemies = 0;
    for (int f = 0; f < frames; ++f) {
        music.step(h.dt, h.world.music);
        maxIntensity = std::max(maxIntensity, h.world.music.intensity);
        h.step();
        maxParticles = std::max(maxParticles, eng->particles.countActive());
        maxShots = std::max(maxShots, h.world.projectiles.count());
        maxEnemies = std::max(maxEnemies, h.world.ships.countEnemies());
        Crenderer& r = eng->renderer;
        r.beginFrame();
        h.world.session.draw();
        r.flush();
        win.swap();
        SDL_PumpEvents();
    }
    EXPECT_FALSE(h.world.session.isGameOver());
    EXPECT_GT(maxIntensity, 0.05f);
    EXPECT_GT(h.world.waves.record().size(), 0u);
    EXPECT_GT(maxEnemies, 0);
    EXPECT_GT(maxShots, 0);
    EXPECT_GT(maxParticles, 0);
    EXPECT_GT(h.world.session.teamScores[0], 0);

    // The last frame: the arena lit in many colours, the score in the corner.
    Crenderer& r = eng->renderer;
    ASSERT_TRUE(r.readPixels(0, 0, 1280, 720));
    ASSERT_TRUE(r.saveScreenshotPng("play20s.png"));
    const auto& px = r.pixels();
    int w = r.pixelWidth(), ht = r.pixelHeight();
    ASSERT_EQ(w, 1280);
    Clit all = measure(px, w, 0, 0, w, ht);
    Clit score = measure(px, w, 16, 8, 320, 56);
    EXPECT_GT(all.lit, w * ht / 200);
    EXPECT_GE(all.hues, 4);
    EXPECT_GT(score.lit, 100);
    printf("lit %d hues %d, score box lit %d; enemies %d, shots %d, particles %d, score %lld\n", all.lit, all.hues,
           score.lit, h.world.ships.countEnemies(), h.world.projectiles.count(), eng->particles.countActive(),
           (long long)h.world.session.teamScores[0]);

    music.stop();
    shutdownRendering();
}
