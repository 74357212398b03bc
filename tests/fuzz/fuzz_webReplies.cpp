// Replies of the web services read outside SOAP: Twitter's upload reply and
// token reply, the song identification service's reply, and the radio
// playlists and stream titles. The first byte picks the reader.
#include "audio/acrCloud.h"
#include "fuzzEngine.h"
#include "platform/audio/audioDecoder.h"
#include "services/oauth.h"
#include "services/twitter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<CfuzzReader> readers = {
        [](const uint8_t* p, size_t n) {
            std::string id;
            Ctwitter::findMediaId(fuzzText(p, n), id);
        },
        [](const uint8_t* p, size_t n) { Coauth().parseTokenReply(fuzzText(p, n)); },
        [](const uint8_t* p, size_t n) {
            CtrackTags tags;
            CacrCloud::parseReply(fuzzText(p, n), tags);
        },
        [](const uint8_t* p, size_t n) { CaudioDecoder::parsePlaylist(fuzzText(p, n)); },
        [](const uint8_t* p, size_t n) { CaudioDecoder::parseIcyTitle(fuzzText(p, n)); },
    };
    return fuzzPick(data, size, readers);
}
