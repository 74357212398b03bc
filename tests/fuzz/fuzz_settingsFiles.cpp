// The small key-value settings files of the data folder (the web service
// file among them).
#include "engine/configFile.h"
#include "fuzzEngine.h"
#include "online/webServiceConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzEngine();
    std::string text = fuzzText(data, size);
    CconfigFile plain;
    if (plain.parse(text.c_str(), "fuzz")) {
        int64_t v = 0;
        for (const auto& e : plain.entries()) plain.getIntIn(e.key, -1000, 1000, v);
    }
    CwebServiceConfig service;
    service.parse(text.c_str());
    return 0;
}
