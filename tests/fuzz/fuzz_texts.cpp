// Texts from outside: Twitter's upload and token replies, the song
// identification service's reply, radio playlists, stream titles and the
// directory's lists, the data folder's key-value settings files (the web
// service file among them) and layout files.
#include "audio/acrCloud.h"
#include "audio/shoutcastBrowser.h"
#include "engine/configFile.h"
#include "engine/ui/layoutReader.h"
#include "engine/ui/screen.h"
#include "engine/ui/uiMgr.h"
#include "fuzzEngine.h"
#include "online/webServiceConfig.h"
#include "platform/audio/audioDecoder.h"
#include "services/oauth.h"
#include "services/twitter.h"

std::vector<CfuzzReader> fuzzReaders() {
    return {
        fuzzTextReader([](const std::string& t) {
            std::string id;
            Ctwitter::findMediaId(t, id);
        }),
        fuzzTextReader([](const std::string& t) { Coauth().parseTokenReply(t); }),
        fuzzTextReader([](const std::string& t) {
            CtrackTags tags;
            CacrCloud::parseReply(t, tags);
        }),
        fuzzTextReader([](const std::string& t) { CaudioDecoder::parsePlaylist(t); }),
        fuzzTextReader([](const std::string& t) { CaudioDecoder::parseIcyTitle(t); }),
        fuzzTextReader([](const std::string& t) {
            std::vector<CradioStation> out;
            CshoutcastBrowser::parseStations(t, "http://yp.shoutcast.com", out);
            CshoutcastBrowser::parseGenres(t, out);
        }),
        fuzzTextReader([](const std::string& t) {
            CconfigFile plain;
            int64_t v = 0;
            if (plain.parse(t.c_str(), "fuzz"))
                for (const auto& e : plain.entries()) plain.getIntIn(e.key, -1000, 1000, v);
            CwebServiceConfig().parse(t.c_str());
        }),
        fuzzTextReader([](const std::string& t) {
            CuiMgr ui;
            Cscreen screen;
            screen.name = "fuzz";
            if (ClayoutReader(ui, "fuzz", &screen).read(t.c_str())) screen.layout();
        }),
    };
}
