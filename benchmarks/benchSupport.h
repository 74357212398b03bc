#pragma once
// Pieces shared by the benchmarks that read music files.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/engine.h"

// An engine with its own save folder, logging as the game does when withLogFile.
struct CbenchEngine {
    std::string save;
    explicit CbenchEngine(bool withLogFile = false) {
        char templ[] = "/tmp/zx_bench_save_XXXXXX";
        save = mkdtemp(templ) ? templ : "/tmp";
        Cengine::create();
        gEngine->log.echoToSdl = false;
        gEngine->setSaveFolder(save);
        if (withLogFile) gEngine->log.open(save + "/debug.txt", "bench");
    }
    ~CbenchEngine() {
        Cengine::destroy();
        std::error_code ec;
        std::filesystem::remove_all(save, ec);
    }
};

// Reads every file's tags and length with TagLib alone, as the tag reader
// asks for them; the number of files read.
inline size_t readTagsWithTagLib(const std::vector<std::string>& files) {
    size_t read = 0;
    for (const auto& f : files) {
        TagLib::FileRef ref(f.c_str(), true, TagLib::AudioProperties::Fast);
        if (ref.isNull() || !ref.tag()) continue;
        std::string title = ref.tag()->title().to8Bit(true);
        std::string artist = ref.tag()->artist().to8Bit(true);
        std::string album = ref.tag()->album().to8Bit(true);
        std::string genre = ref.tag()->genre().to8Bit(true);
        unsigned track = ref.tag()->track();
        int ms = ref.audioProperties() ? ref.audioProperties()->lengthInMilliseconds() : 0;
        benchmark::DoNotOptimize(title.size() + artist.size() + album.size() + genre.size() + track + (unsigned)ms);
        ++read;
    }
    return read;
}

// The benchmark body of TagLib alone over a set of files (empty: skipped).
inline void runTagLibAlone(benchmark::State& state, const std::vector<std::string>& files) {
    if (files.empty()) {
        state.SkipWithError("could not make the test files");
        return;
    }
    size_t read = 0;
    for (auto _ : state) read += readTagsWithTagLib(files);
    state.counters["files_per_second"] =
        benchmark::Counter((double)files.size(), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["read"] = (double)read / (double)state.iterations();
}
