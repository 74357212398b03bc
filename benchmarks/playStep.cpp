// Cost of one update step of play with 200 enemies, 2,000 projectiles and
// 2,500 particles about (the particles' own step included), and of drawing
// that field into the null renderer. The field is topped up between steps,
// outside the timing.
#include <benchmark/benchmark.h>

#include "benchEngine.h"

namespace {
using bench::CbenchEngine;
using bench::CfullField;
using bench::startFullField;

void BM_PlayUpdateStep(benchmark::State& state) {
    CbenchEngine eng(RENDER_NULL);
    CfullField b;
    if (!startFullField(state, eng, b)) return;
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
    CbenchEngine eng(RENDER_NULL);
    CfullField b;
    if (!startFullField(state, eng, b)) return;
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
