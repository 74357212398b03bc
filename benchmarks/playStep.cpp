// Cost of one update step of play with 200 enemies, 2,000 projectiles and
// 2,500 particles about (the particles' own step included), and of drawing
// that field into the null renderer. The field is topped up between steps,
// outside the timing.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <string>

#include "engine/engine.h"
#include "game/playEffects.h"
#include "game/playHarness.h"

namespace {
constexpr int kEnemies = 200;
constexpr int kProjectiles = 2000;
constexpr int kParticles = CparticleSystem::kMaxParticles;

class CplayBench {
public:
    CplayBench() {
        char dir[] = "/tmp/zx_bench_XXXXXX";
        if (mkdtemp(dir)) saveDir_ = dir;
        Cengine::create();
        gEngine->log.echoToSdl = false;
        gEngine->setSaveFolder(saveDir_);
        const char* data = getenv("ZORBEX_DATA");
        gEngine->setDataRoot(data && *data ? data : "data");
        if (!gEngine->init("") || !initRendering(RENDER_NULL)) return;
        gEngine->renderer.recording = false;
        harness = std::make_unique<CplayHarness>();
        CharnessOptions o;
        o.length = 600;
        o.title = "Benchmark";
        if (!harness->start(o)) return;
        harness->world.waves.enabled = false;   // the field is kept at its size by hand
        CmusicFeed& m = harness->world.music;
        m.intensity = 0.6f;
        ok = true;
    }
    ~CplayBench() {
        harness.reset();
        shutdownRendering();
        Cengine::destroy();
        if (!saveDir_.empty()) (void)!system(("rm -rf '" + saveDir_ + "'").c_str());
    }

    void topUp() {
        CgameWorld& w = harness->world;
        Crandom& r = rnd_;
        if (Cship* me = w.ships.playerShip(0)) me->invulnerableTimer = 100;   // the field never ends the game
        static const char* kinds[] = {"Grunt", "Weaver", "Gunner", "Splitter", "Dasher"};
        float hw = w.arenaHalfWidth - 8, hh = w.arenaHalfHeight - 8;
        for (int n = w.ships.countEnemies(); n < kEnemies; ++n) {
            Cship* s = w.ships.addShip(w.ships.findShipDef(kinds[r.choice(5)]));
            if (!s) break;
            s->pos = Cvec3(r.range(-hw, hw), r.range(-hh, hh), 0);
            s->aiDir.x = r.choice(2) ? 1.0f : -1.0f;
        }
        for (int n = w.projectiles.count(); n < kProjectiles; ++n) {
            float a = r.range(0, 2 * kPi);
            Cvec2 at(r.range(-hw, hw), r.range(-hh, hh));
            Cvec2 v(std::sin(a), -std::cos(a));
            if (n % 2) w.projectiles.fire(at, v * 240.0f, 0, 0, SHOT_BULLET, 10, Ccolour(0.3f, 1, 1), 1.3f);
            else w.projectiles.fire(at, v * 55.0f, -1, -1, SHOT_ROUND, 1, Ccolour(1, 0.3f, 0.8f), 4.0f);
        }
        CparticleSystem& ps = gEngine->particles;
        while (ps.countActive() < kParticles)
            playSparks(50, Cvec2(r.range(-hw, hw), r.range(-hh, hh)), 60.0f, Ccolour(1, 0.6f, 0.2f), 2.0f);
    }

    bool ok = false;
    std::unique_ptr<CplayHarness> harness;

private:
    std::string saveDir_;
    Crandom rnd_{4242};
};

void BM_PlayUpdateStep(benchmark::State& state) {
    CplayBench b;
    if (!b.ok) {
        state.SkipWithError("set-up failed");
        return;
    }
    CgameWorld& w = b.harness->world;
    int enemies = 0, shots = 0, particles = 0;
    for (auto _ : state) {
        state.PauseTiming();
        b.topUp();
        enemies = w.ships.countEnemies();
        shots = w.projectiles.count();
        particles = gEngine->particles.countActive();
        b.harness->pilots[0].drive(w, 0);
        state.ResumeTiming();
        w.session.update(b.harness->dt);
        gEngine->particles.update(b.harness->dt);
    }
    state.counters["enemies"] = enemies;
    state.counters["projectiles"] = shots;
    state.counters["particles"] = particles;
}
BENCHMARK(BM_PlayUpdateStep)->Unit(benchmark::kMicrosecond);

void BM_PlayDrawNull(benchmark::State& state) {
    CplayBench b;
    if (!b.ok) {
        state.SkipWithError("set-up failed");
        return;
    }
    CgameWorld& w = b.harness->world;
    b.topUp();
    for (auto _ : state) {
        Crenderer& r = gEngine->renderer;
        r.beginFrame();
        w.session.draw();
        r.flush();
    }
    state.counters["quads"] = gEngine->renderer.frameQuads();
}
BENCHMARK(BM_PlayDrawNull)->Unit(benchmark::kMicrosecond);
}  // namespace

BENCHMARK_MAIN();
