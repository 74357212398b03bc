#include "fuzzEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzEngine();
    static const std::vector<CfuzzReader> readers = fuzzReaders();
    if (readers.size() == 1) readers[0](data, size);
    else if (size >= 1) readers[data[0] % readers.size()](data + 1, size - 1);
    return 0;
}
