// Replies of the web services read outside SOAP: Twitter's upload reply and
// token reply, the song identification service's reply, and the radio
// playlists and stream titles. The first byte picks the reader.
#include "audio/acrCloud.h"
#include "fuzzEngine.h"
#include "platform/audio/audioDecoder.h"
#include "services/oauth.h"
#include "services/twitter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzEngine();
    if (size < 1) return 0;
    std::string reply = fuzzText(data + 1, size - 1);
    switch (data[0] % 5) {
        case 0: {
            std::string id;
            Ctwitter::findMediaId(reply, id);
            break;
        }
        case 1: {
            Coauth oauth;
            oauth.parseTokenReply(reply);
            break;
        }
        case 2: {
            CtrackTags tags;
            CacrCloud::parseReply(reply, tags);
            break;
        }
        case 3: CaudioDecoder::parsePlaylist(reply); break;
        default: CaudioDecoder::parseIcyTitle(reply); break;
    }
    return 0;
}
