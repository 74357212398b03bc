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
#include "tools/audiogen/lib/encoder.h"
#include "tools/audiogen/lib/synth.h"

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

// A generated collection of tagged tracks (40 seconds each, so every one is
// added to a library) in artist and album folders under root + "/music".
struct Ccollection {
    std::string root;
    std::vector<std::string> files;
    size_t wanted = 0;

    Ccollection(int folders, int tracksPerFolder) : wanted((size_t)folders * (size_t)tracksPerFolder) {
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
        for (int f = 0; f < folders; ++f) {
            std::string folder = root + "/music/Artist " + std::to_string(f / 10) + "/Album " + std::to_string(f);
            fs::create_directories(folder);
            for (int t = 0; t < tracksPerFolder; ++t) {
                int i = f * tracksPerFolder + t;
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
    Ccollection(const Ccollection&) = delete;
    Ccollection& operator=(const Ccollection&) = delete;
    bool ready() const { return files.size() == wanted; }
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
