#pragma once
// The engine the fuzz targets run against: made once, quiet, with a save
// folder of its own and the built data folder ($ZORBEX_DATA, else "data").
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/engine.h"

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
