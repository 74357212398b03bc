// The music indexing walk over a generated collection of 10,000 tagged tracks
// (40 seconds each, so every one is added) in 2,000 folders, run the way the
// indexing screen runs it: one time slice per drawn frame. Reported: files per
// second of the whole walk and the longest frame, beside the rate of reading
// the same files' tags with TagLib alone in the same run.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/musicIndexer.h"
#include "audio/songInfoMgr.h"
#include "benchmarks/benchSupport.h"
#include "engine/engine.h"
#include "tools/audiogen/lib/encoder.h"
#include "tools/audiogen/lib/synth.h"

namespace {
constexpr int kFolders = 2000;
constexpr int kTracksPerFolder = 5;
constexpr double kSliceMs = 4.0;   // what the indexing screen gives the walk per frame

struct Ccollection {
    std::string root;
    std::vector<std::string> files;

    Ccollection() {
        char templ[] = "/tmp/zx_bench_index_XXXXXX";
        root = mkdtemp(templ) ? templ : "";
        if (root.empty()) return;
        // Silent 40-second templates, small on disk; each copy gets its own tags.
        const char* exts[] = {"mp3", "ogg", "flac", "m4a"};
        std::vector<std::string> templates;
        CpcmBuffer pcm = synth::makeTone(440.0, 40.0, 8000, 1, 0.0f);
        for (const char* ext : exts) {
            std::string path = root + "/template." + ext;
            if (!encodeAudioFile(path, pcm, 8)) return;
            templates.push_back(path);
        }
        namespace fs = std::filesystem;
        for (int f = 0; f < kFolders; ++f) {
            // Artist folders with album folders, as collections are kept.
            std::string folder = root + "/music/Artist " + std::to_string(f / 10) + "/Album " + std::to_string(f);
            fs::create_directories(folder);
            for (int t = 0; t < kTracksPerFolder; ++t) {
                int i = f * kTracksPerFolder + t;
                const std::string& from = templates[(size_t)i % templates.size()];
                std::string to = folder + "/" + std::to_string(t + 1) + " Track." + from.substr(from.rfind('.') + 1);
                fs::copy_file(from, to, fs::copy_options::overwrite_existing);
                CfileTags tags{"Title " + std::to_string(i), "Artist " + std::to_string(f / 10),
                               "Album " + std::to_string(f), "Genre " + std::to_string(i % 12), t + 1, 2026};
                if (!writeFileTags(to, tags)) return;
                files.push_back(to);
            }
        }
    }
    ~Ccollection() {
        std::error_code ec;
        if (!root.empty()) std::filesystem::remove_all(root, ec);
    }
    bool ready() const { return files.size() == (size_t)kFolders * kTracksPerFolder; }
};

Ccollection& collection() {
    static Ccollection c;
    return c;
}

double nowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
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
    for (auto _ : state) {
        CsongInfoMgr lib;
        CmusicIndexer walk(lib);
        walk.start(c.root + "/music");
        while (walk.running()) {
            double t0 = nowMs();
            walk.runSlice(kSliceMs);
            longestFrame = std::max(longestFrame, nowMs() - t0);
            ++frames;
        }
        found = walk.tracksFound();
        benchmark::DoNotOptimize(lib.size());
    }
    state.counters["files_per_second"] =
        benchmark::Counter((double)c.files.size(), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["longest_frame_ms"] = longestFrame;
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
