// The packed container of saves and web messages: single-block and multi-block forms.
#include "engine/webMessage.h"
#include "fuzzEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzEngine();
    Cbytes out;
    CwebMessage::unpack(data, size, out);
    Cbytes payload;
    uint16_t type = 0;
    CwebMessage::unpackPayload(data, size, payload, &type);
    if (CwebMessage::unpackRecord(data, size, out)) {
        uint16_t blockType;
        const uint8_t* block;
        uint32_t length;
        for (uint32_t i = 0; i < CwebMessage::blockCount(out) && i < 4096; ++i)
            if (!CwebMessage::getBlock(out, i, blockType, block, length)) break;
    }
    return 0;
}
