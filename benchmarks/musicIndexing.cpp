// The music indexing walk over a generated collection of 10,000 tagged tracks
// (40 seconds each, so every one is added) in 2,000 folders, run the way the
// indexing screen runs it: one time slice per drawn frame. Reported: files per
// second of the whole walk and the longest frame, beside the rate of reading
// the same files' tags with TagLib alone in the same run.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "audio/musicIndexer.h"
#include "audio/songInfoMgr.h"
#include "benchmarks/benchSupport.h"
#include "engine/engine.h"

namespace {
constexpr int kFolders = 2000;
constexpr int kTracksPerFolder = 5;
constexpr double kSliceMs = 4.0;   // what the indexing screen gives the walk per frame

Ccollection& collection() {
    static Ccollection c(kFolders, kTracksPerFolder);
    return c;
}

double nowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return (double)t.tv_sec * 1e3 + (double)t.tv_nsec * 1e-6;
}

double percentile99(std::vector<double>& v) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, v.size() * 99 / 100)];
}

void BM_IndexingWalk(benchmark::State& state) {
    Ccollection& c = collection();
    if (!c.ready()) {
        state.SkipWithError("could not make the test files");
        return;
    }
    CbenchEngine eng(true);
    double longestFrame = 0;
    int frames = 0, found = 0;
    std::vector<double> slices, sliceCpu;
    int over = 0;
    for (auto _ : state) {
        CsongInfoMgr lib;
        CmusicIndexer walk(lib);
        walk.start(c.root + "/music");
        while (walk.running()) {
            const double t0 = nowMs(), c0 = threadCpuMs();
            walk.runSlice(kSliceMs);
            slices.push_back(nowMs() - t0);
            sliceCpu.push_back(threadCpuMs() - c0);
            over += slices.back() > kSliceMs;
            longestFrame = std::max(longestFrame, slices.back());
            ++frames;
        }
        found = walk.tracksFound();
        benchmark::DoNotOptimize(lib.size());
    }
    state.counters["files_per_second"] =
        benchmark::Counter((double)c.files.size(), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["longest_frame_ms"] = longestFrame;
    // The slice 99 in 100 stay within: the longest alone is a moment the machine took the thread away.
    // The same of the thread's own CPU time: what the walk overran by itself, without the machine's load.
    if (!slices.empty()) {
        state.counters["p99_frame_ms"] = percentile99(slices);
        state.counters["p99_frame_cpu_ms"] = percentile99(sliceCpu);
        state.counters["frames_over_budget"] = (double)over / (double)state.iterations();
    }
    state.counters["frames"] = (double)frames / (double)state.iterations();
    state.counters["tracks_added"] = found;
}

void BM_TagLibAlone(benchmark::State& state) {
    Ccollection& c = collection();
    runTagLibAlone(state, c.ready() ? c.files : std::vector<std::string>{});
}
}  // namespace

BENCHMARK(BM_TagLibAlone)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_IndexingWalk)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
