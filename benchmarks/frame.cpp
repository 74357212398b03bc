// The full play field drawn through OpenGL (run under xvfb-run): draw calls
// per frame and the main thread's CPU time of building and flushing a frame,
// then the resident memory over 10,000 frames. wallFrameMs is the whole frame
// on the clock, the swap and the rasteriser's own threads included. Argument 1 draws batched (the
// atlases and the shared blend function), 0 the way frames were drawn before,
// for comparison in the same run.
#include <benchmark/benchmark.h>
#include <time.h>

#include <chrono>
#include <cstdio>

#include "benchEngine.h"

namespace {
using bench::CbenchEngine;
using bench::CfullField;
using bench::residentMb;
using bench::startFullField;

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

// Steps the field, then draws it; returns the main thread's CPU seconds of
// the draw, and of its flush alone.
double playAndDraw(CbenchEngine& eng, CfullField& field, double* flushSeconds = nullptr) {
    field.topUp();
    field.step();
    Crenderer& r = gEngine->renderer;
    const double t0 = threadCpuSeconds();
    r.beginFrame();
    field.harness->world.session.draw();
    const double t1 = threadCpuSeconds();
    r.flush();
    const double t2 = threadCpuSeconds();
    eng.swap();
    if (flushSeconds) *flushSeconds = t2 - t1;
    return t2 - t0;
}

void BM_FullFieldFrameGl(benchmark::State& state) {
    const bool batched = state.range(0) != 0;
    CbenchEngine eng(RENDER_GL, batched);
    CfullField field;
    if (!startFullField(state, eng, field)) return;
    for (int i = 0; i < 60; ++i) playAndDraw(eng, field);   // every picture loaded, the field full
    // ZORBEX_BENCH_SHOT saves the next frame as a PNG, to compare builds by eye or pixel by pixel.
    if (const char* shot = getenv("ZORBEX_BENCH_SHOT"); shot && *shot) {
        field.topUp();
        field.step();
        Crenderer& r = gEngine->renderer;
        r.beginFrame();
        field.harness->world.session.draw();
        if (r.readPixels(0, 0, 1280, 720)) r.saveScreenshotPng(shot);
        eng.swap();
    }
    double calls = 0, quads = 0, flushing = 0, wall = 0;
    for (auto _ : state) {
        double flush = 0;
        const auto start = std::chrono::steady_clock::now();
        state.SetIterationTime(playAndDraw(eng, field, &flush));
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        flushing += flush;
        calls += gEngine->renderer.frameDrawCalls();
        quads += gEngine->renderer.frameQuads();
    }
    const double n = (double)state.iterations();
    state.counters["drawCalls"] = n > 0 ? calls / n : 0;
    state.counters["quads"] = n > 0 ? quads / n : 0;
    state.counters["flushMs"] = n > 0 ? flushing / n * 1000.0 : 0;
    // The whole frame as the player waits for it: a step of play, the drawing
    // and the swap, the rasteriser's threads included.
    state.counters["wallFrameMs"] = n > 0 ? wall / n * 1000.0 : 0;
}

void BM_FullFieldMemoryGl(benchmark::State& state) {
    const bool batched = state.range(0) != 0;
    CbenchEngine eng(RENDER_GL, batched);
    CfullField field;
    if (!startFullField(state, eng, field)) return;
    // ZORBEX_BENCH_FRAMES shortens the run; ZORBEX_BENCH_TRACE prints the
    // resident memory every 100 frames.
    const char* framesEnv = getenv("ZORBEX_BENCH_FRAMES");
    const int kFrames = framesEnv && atoi(framesEnv) > 0 ? atoi(framesEnv) : 10000, kSettled = 1000;
    const bool trace = getenv("ZORBEX_BENCH_TRACE") != nullptr;
    double atStart = residentMb(), atSettled = 0;
    for (auto _ : state) {
        for (int f = 1; f <= kFrames; ++f) {
            playAndDraw(eng, field);
            if (f == kSettled) atSettled = residentMb();
            if (trace && f % 100 == 0) fprintf(stderr, "frame %d: %.1f MB\n", f, residentMb());
        }
    }
    const double atEnd = residentMb();
    state.counters["rssStartMB"] = atStart;
    state.counters["rssFrame1000MB"] = atSettled;
    state.counters["rssFrame10000MB"] = atEnd;
    state.counters["growthAfter1000MB"] = atEnd - atSettled;
}
}  // namespace

BENCHMARK(BM_FullFieldFrameGl)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_FullFieldMemoryGl)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_MAIN();
