// Cost of building and flushing a batch of 10,000 quads: with the null
// backend (the batch alone) and, when an X display is there, with OpenGL
// (the batch, the upload and the draw, finished before the clock stops).
#include <benchmark/benchmark.h>

#include "benchEngine.h"

namespace {
using bench::CbenchEngine;
constexpr int kQuads = 10000;

// 10,000 particle-sized quads; textureRun quads share a texture before the
// next one (the shapes each keep a texture of their own here).
void buildAndFlush(benchmark::State& state, ErenderBackend backend) {
    CbenchEngine eng(backend, false);
    if (!eng.ok) {
        state.SkipWithError(eng.error.c_str());
        return;
    }
    const int textureRun = (int)state.range(0);
    const Csprite* sprites[4] = {gEngine->sprites.findSprite("builtin_soft"), gEngine->sprites.findSprite("builtin_ring"),
                                 gEngine->sprites.findSprite("builtin_spark"), gEngine->sprites.findSprite("builtin_star")};
    Crenderer& r = gEngine->renderer;
    for (auto _ : state) {
        r.beginFrame();
        for (int i = 0; i < kQuads; ++i) {
            Cquad q;
            q.sprite = sprites[(i / textureRun) & 3];
            q.centre = Cvec3((float)(i * 37 % 1280), (float)(i * 91 % 720), 0);
            q.colour = Ccolour(1, 0.5f, 0.25f, 0.8f);
            q.rotation = (float)(i % 360);
            q.width = q.height = 16;
            q.blend = BLEND_ADDITIVE;
            r.addQuad(q);
        }
        r.flush();
        if (backend == RENDER_GL) glFinish();
        benchmark::DoNotOptimize(r.frameQuads());
    }
    state.counters["drawCalls"] = r.frameDrawCalls();
    state.SetItemsProcessed(state.iterations() * kQuads);
}

void BM_quads10kNull(benchmark::State& state) { buildAndFlush(state, RENDER_NULL); }
void BM_quads10kGl(benchmark::State& state) { buildAndFlush(state, RENDER_GL); }
}  // namespace

// Argument: quads in a run of one texture (10000: one draw call; 50: 200 draw calls).
BENCHMARK(BM_quads10kNull)->Arg(10000)->Arg(50)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_quads10kGl)->Arg(10000)->Arg(50)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
