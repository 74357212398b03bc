// Score records of the boards as the service hands them back.
#include "fuzzEngine.h"
#include "online/scoreRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzEngine();
    Cbytes rec(data, data + size);
    CbasicScore::read(rec);
    CperSongScore::read(rec);
    CgeneralTracksScore::read(rec);
    CdailyTrackScore::read(rec);
    return 0;
}
