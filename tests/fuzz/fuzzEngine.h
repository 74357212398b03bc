#pragma once
// The engine the fuzz targets run against: made once, quiet, with a save
// folder of its own and the built data folder ($ZORBEX_DATA, else "data").
#include <stdio.h>
#include <stdlib.h>

#include <functional>

#include "engine/engine.h"
#include "engine/resourceFile.h"
#include "engine/webMessage.h"

inline void fuzzEngine() {
    static const bool made = [] {
        Cengine::create();
        gEngine->log.echoToSdl = false;
        char folder[] = "/tmp/zx_fuzz_XXXXXX";
        if (mkdtemp(folder)) gEngine->setSaveFolder(folder);
        const char* data = getenv("ZORBEX_DATA");
        gEngine->setDataRoot(data && *data ? data : "data");
        return true;
    }();
    (void)made;
    // The recent lines would only grow; nothing reads them here.
    gEngine->log.clearRecent();
}

inline std::string fuzzText(const uint8_t* data, size_t size) { return std::string((const char*)data, size); }

// Puts bytes at a full path, or into a file of the save folder (packed as the
// game packs its own save files when packed is set), for readers that only
// read files.
inline bool fuzzWriteFile(const std::string& path, const uint8_t* data, size_t size) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = size == 0 || fwrite(data, 1, size, f) == size;
    return fclose(f) == 0 && ok;
}
inline bool fuzzSaveFile(const std::string& name, const uint8_t* data, size_t size, bool packed) {
    Cbytes p = packed ? CwebMessage::pack(0, data, size) : Cbytes(data, data + size);
    return fuzzWriteFile(gEngine->savePath(name), p.data(), p.size());
}

// Each target defines its readers; fuzzEntry.cpp hands them the input (the
// first byte picks the reader when there is more than one).
using CfuzzReader = std::function<void(const uint8_t* data, size_t size)>;
std::vector<CfuzzReader> fuzzReaders();
template <class F>
CfuzzReader fuzzTextReader(F read) {
    return [read](const uint8_t* p, size_t n) { read(fuzzText(p, n)); };
}
