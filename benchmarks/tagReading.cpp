// Reading a music collection: 10,000 generated, tagged files read through
// CaudioBASS::readFileTags and added with CsongInfoMgr::addLocalTrack (what
// the music indexing does per file), next to TagLib alone on the same files.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/audioBASS.h"
#include "audio/songInfoMgr.h"
#include "benchmarks/benchSupport.h"
#include "engine/engine.h"
#include "tools/audiogen/lib/encoder.h"
#include "tools/audiogen/lib/synth.h"

namespace {
constexpr int kFiles = 10000;

struct Ccollection {
    std::string folder;
    std::vector<std::string> files;

    Ccollection() {
        char templ[] = "/tmp/zx_bench_tags_XXXXXX";
        folder = mkdtemp(templ) ? templ : "";
        if (folder.empty()) return;
        // One short template per common format; each copy gets its own tags.
        const char* exts[] = {"mp3", "mp3", "ogg", "flac", "m4a"};
        std::vector<std::string> templates;
        for (const char* ext : exts) {
            std::string path = folder + "/template." + ext;
            if (std::filesystem::exists(path)) {
                templates.push_back(path);
                continue;
            }
            CpcmBuffer pcm = synth::makeTone(440.0, 1.0, 44100, 2, 0.3f);
            if (!encodeAudioFile(path, pcm, 64)) return;
            templates.push_back(path);
        }
        for (int i = 0; i < kFiles; ++i) {
            const std::string& from = templates[(size_t)i % templates.size()];
            std::string to = folder + "/track" + std::to_string(i) + from.substr(from.rfind('.'));
            std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
            CfileTags t{"Title " + std::to_string(i), "Artist " + std::to_string(i % 97),
                        "Album " + std::to_string(i % 500), "Genre " + std::to_string(i % 12), i % 20 + 1, 2026};
            if (!writeFileTags(to, t)) return;
            files.push_back(to);
        }
    }
    ~Ccollection() {
        std::error_code ec;
        if (!folder.empty()) std::filesystem::remove_all(folder, ec);
    }
};

Ccollection& collection() {
    static Ccollection c;
    return c;
}

void BM_ReadFileTagsAndAddLocalTrack(benchmark::State& state) {
    Ccollection& c = collection();
    if (c.files.size() != (size_t)kFiles) {
        state.SkipWithError("could not make the test files");
        return;
    }
    CbenchEngine eng;
    size_t added = 0;
    for (auto _ : state) {
        CsongInfoMgr lib;
        for (const auto& f : c.files) {
            CtrackTags tags;
            if (CaudioBASS::readFileTags(f, tags) && lib.addLocalTrack(SONG_LOCAL, tags, f)) ++added;
        }
        benchmark::DoNotOptimize(lib.size());
    }
    state.counters["files_per_second"] =
        benchmark::Counter((double)c.files.size(), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["added"] = (double)added / (double)state.iterations();
}

void BM_TagLibAlone(benchmark::State& state) {
    Ccollection& c = collection();
    runTagLibAlone(state, c.files.size() == (size_t)kFiles ? c.files : std::vector<std::string>{});
}
}  // namespace

BENCHMARK(BM_ReadFileTagsAndAddLocalTrack)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TagLibAlone)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
