// The radio directory's station and genre lists.
#include "audio/shoutcastBrowser.h"
#include "fuzzEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzEngine();
    std::string xml = fuzzText(data, size);
    std::vector<CradioStation> out;
    CshoutcastBrowser::parseStations(xml, "http://yp.shoutcast.com", out);
    out.clear();
    CshoutcastBrowser::parseGenres(xml, out);
    return 0;
}
