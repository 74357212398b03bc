// The song library file and the recent tracks file.
#include "audio/songInfoMgr.h"
#include "fuzzEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzEngine();
    static CsongInfoMgr library;
    std::vector<std::unique_ptr<CsongPackInfo>> entries;
    library.parseLibrary(data, size, entries);
    for (auto& e : entries) e->getKey();
    std::vector<std::string> recent;
    CsongInfoMgr::parseRecent(data, size, recent);
    return 0;
}
