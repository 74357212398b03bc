// The record streams of the game save, the settings, the high scores and the
// news feed, read through the game's own records (every reader, then the
// all-or-nothing commit), alone or as the whole file from disk (container,
// then stream). The first byte picks the file and the way.
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

void readSave(int which, bool whole, const uint8_t* p, size_t n) {
    static Cworld& w = *new Cworld;
    w.reset();
    // A fresh save layer holds nothing staged by the input before.
    CsaveLoad save{w.progress, w.ships, w.ach, w.tracks};
    CsaveFile* files[4] = {&save.gameFile(), &save.settingsFile(), &save.highScoresFile(), &save.newsFeedFile()};
    bool (CsaveLoad::*loads[4])() = {&CsaveLoad::loadGameNow, &CsaveLoad::loadSettings, &CsaveLoad::loadHighScores,
                                     &CsaveLoad::loadNewsFeed};
    CsaveFile& file = *files[which];
    if (whole) {
        fuzzSaveFile(file.fileName(), p, n, false);
        file.setCloud(false);
    }
    // What was committed must write back out; a refused stream commits nothing.
    if (whole ? (save.*loads[which])() : file.deserialise(p, n))
        for (CsaveFile* f : files) f->serialise();
    // What the load keeps aside is cleared away again.
    const std::string kept = save.takeKeptAside(file.fileName());
    if (!kept.empty()) removeFile(gEngine->savePath(kept));
}
}  // namespace

std::vector<CfuzzReader> fuzzReaders() {
    std::vector<CfuzzReader> readers;
    for (int i = 0; i < 8; ++i) readers.push_back([i](const uint8_t* p, size_t n) { readSave(i % 4, i >= 4, p, n); });
    return readers;
}
