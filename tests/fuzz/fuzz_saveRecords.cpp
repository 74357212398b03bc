// The record streams of the game save, the settings and the high scores, read
// through the game's own records (every reader, then the all-or-nothing commit),
// alone or as the whole file from disk (container, then stream).
#include "fuzzEngine.h"
#include "game/progress/saveLoad.h"

namespace {
// What the records load into, made once: reading the ship and achievement
// tables for every input would cost far more than the records themselves.
struct Cworld {
    CplayerProgress progress;
    CplayerShipMgr ships;
    CachievementDefs ach;
    CtrackStats tracks;
    Cworld() {
        ships.loadBuiltIn();
        ach.load();
    }
    // Puts back all that a committed load changes.
    void reset() {
        progress.reset();
        ships.resetToBuiltIn();
        ach.resetProgress();
        tracks.records.clear();
        gEngine->input.mappings.rows.clear();
    }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzEngine();
    static Cworld& w = *new Cworld;
    w.reset();
    // The save layer is cheap to make, and a fresh one holds nothing staged
    // by the input before.
    CsaveLoad save{w.progress, w.ships, w.ach, w.tracks};
    // The first byte picks the file; the rest is its stream.
    if (size < 1) return 0;
    const uint8_t* p = data + 1;
    size_t n = size - 1;
    CsaveFile* files[4] = {&save.gameFile(), &save.settingsFile(), &save.highScoresFile(), &save.newsFeedFile()};
    CsaveFile& file = *files[data[0] % 4];
    bool loaded;
    if (data[0] & 4) {
        // The whole path: the file on disk, its container, then the records;
        // what the load keeps aside is cleared away again.
        fuzzSaveFile(file.fileName(), p, n, false);
        file.setCloud(false);
        loaded = &file == &save.settingsFile() ? save.loadSettings()
                 : &file == &save.gameFile()   ? save.loadGameNow()
                 : &file == &save.highScoresFile() ? save.loadHighScores()
                                                 : save.loadNewsFeed();
        const std::string kept = save.takeKeptAside(file.fileName());
        if (!kept.empty()) removeFile(gEngine->savePath(kept));
    } else {
        loaded = file.deserialise(p, n);
    }
    // What was committed must write back out; a refused stream commits
    // nothing, and the fresh world is not worth writing again.
    if (loaded) {
        save.gameFile().serialise();
        save.settingsFile().serialise();
        save.highScoresFile().serialise();
    }
    return 0;
}
