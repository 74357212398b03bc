// Composes the game's sound effects and built-in music into the data folder.
// usage: zx_audiogen <data folder>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <functional>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tools/audiogen/lib/encoder.h"
#include "tools/audiogen/lib/synth.h"

namespace {
bool makeFolder(const std::string& p) { return mkdir(p.c_str(), 0755) == 0 || errno == EEXIST; }

bool makeTrack(const std::string& root, const CtrackRecipe& r) {
    CpcmBuffer pcm = composeTrack(r);
    std::string path = root + "/" + r.file, err;
    if (!encodeAudioFile(path, pcm, 160, &err)) {
        fprintf(stderr, "zx_audiogen: %s: %s\n", path.c_str(), err.c_str());
        return false;
    }
    CfileTags tags{r.title, r.artist, r.album, r.genre, r.trackNumber, r.year};
    if (!writeFileTags(path, tags, &err)) {
        fprintf(stderr, "zx_audiogen: %s\n", err.c_str());
        return false;
    }
    return true;
}

bool makeEffect(const std::string& root, const CsfxRecipe& r) {
    CpcmBuffer pcm = makeSfx(r);
    std::string path = root + "/" + r.file, err;
    if (!encodeAudioFile(path, pcm, 96, &err)) {
        fprintf(stderr, "zx_audiogen: %s: %s\n", path.c_str(), err.c_str());
        return false;
    }
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: zx_audiogen <data folder>\n");
        return 2;
    }
    std::string root = argv[1];
    if (!makeFolder(root) || !makeFolder(root + "/sfx") || !makeFolder(root + "/music")) {
        fprintf(stderr, "zx_audiogen: can't make folders under %s\n", root.c_str());
        return 1;
    }
    // Jobs: each track, then the effects as one job; run on every core.
    std::vector<std::function<bool()>> jobs;
    for (const auto& t : builtInTracks()) jobs.push_back([&root, &t] { return makeTrack(root, t); });
    jobs.push_back([&root] {
        bool ok = true;
        for (const auto& s : builtInSfx()) ok = makeEffect(root, s) && ok;
        return ok;
    });
    std::atomic<size_t> next{0};
    std::atomic<bool> ok{true};
    unsigned workers = std::max(1u, std::min(std::thread::hardware_concurrency(), (unsigned)jobs.size()));
    std::vector<std::thread> pool;
    for (unsigned w = 0; w < workers; ++w)
        pool.emplace_back([&] {
            for (size_t j; (j = next++) < jobs.size();)
                if (!jobs[j]()) ok = false;
        });
    for (auto& t : pool) t.join();
    return ok ? 0 : 1;
}
