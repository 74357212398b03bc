// Writes the seed corpora of the fuzz targets, each made by the project's own
// writers: makeSeeds <folder> makes <folder>/<target>/seedN for every target.
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/songInfoMgr.h"
#include "engine/resourceFile.h"
#include "engine/webMessage.h"
#include "fuzzEngine.h"
#include "game/progress/saveLoad.h"
#include "online/k4wTransport.h"
#include "online/localService/localWebService.h"
#include "online/scoreRecord.h"

namespace fs = std::filesystem;
using namespace k4wGen;

namespace {
std::string gRoot;

void put(const std::string& target, const std::string& name, const void* bytes, size_t size) {
    fs::create_directories(gRoot + "/" + target);
    std::string path = gRoot + "/" + target + "/" + name;
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return;
    fwrite(bytes, 1, size, f);
    fclose(f);
}
void put(const std::string& target, const std::string& name, const Cbytes& b) { put(target, name, b.data(), b.size()); }
void put(const std::string& target, const std::string& name, const std::string& s) {
    put(target, name, s.data(), s.size());
}
Cbytes withTag(uint8_t tag, const Cbytes& b) {
    Cbytes out{tag};
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

void packedContainers() {
    std::string text(3000, 'z');
    text += "and some tail that does not repeat";
    put("fuzz_packedContainer", "compressed", CwebMessage::pack(1, text.data(), text.size()));
    put("fuzz_packedContainer", "plain", CwebMessage::pack(0, "abc", 3));
    Cbytes record;
    CwebMessage::addBlock(record, 0, "token", 6);
    CwebMessage::addBlock(record, 3, text.data(), 2000);
    put("fuzz_packedContainer", "record", CwebMessage::packRecord(record));
    put("fuzz_packedContainer", "recordFlat", record);
}

void saves() {
    CplayerProgress progress;
    CplayerShipMgr ships;
    CachievementDefs ach;
    CtrackStats tracks;
    CsaveLoad save{progress, ships, ach, tracks};
    ships.loadBuiltIn();
    ach.load();
    progress.createNewProfile();
    progress.setXP(123456);
    progress.addCash(77);
    progress.playerName = "Seed";
    CplayerShipDef* mine = ships.createCustomShip();
    if (mine) mine->data.displayName = "Seed Ship";
    progress.modules.addModule("Standard");
    save.settings.markTutorialSeen("Tut_Intro1");
    save.settings.notices.add(5, 77);
    CtrackRecord t;
    tracks.records.push_back(t);
    put("fuzz_saveRecords", "game", withTag(0, save.gameFile().serialise()));
    put("fuzz_saveRecords", "settings", withTag(1, save.settingsFile().serialise()));
    put("fuzz_saveRecords", "highScores", withTag(2, save.highScoresFile().serialise()));

    Cbytes shipsRecord;
    ships.write(shipsRecord);
    put("fuzz_shipImport", "hangar", shipsRecord);
    if (mine) {
        Cbytes block(CplayerShipData::kBlockSize);
        mine->writeDataBlock(block.data());
        put("fuzz_shipImport", "block", block);
        Cbytes outside(CplayerShipDef::kOutsideSize);
        mine->writeOutside(outside.data());
        put("fuzz_shipImport", "outside", outside);
    }
}

void songLibrary() {
    CsongInfoMgr lib;
    CtrackTags tags;
    tags.title = "Night Drive";
    tags.artist = "Vessik";
    tags.album = "Roads";
    tags.genre = "Synth";
    tags.length = 201;
    tags.trackNumber = 3;
    lib.addLocalTrack(SONG_LOCAL, tags, "/music/night.mp3");
    tags.title = "Day";
    lib.addLocalTrack(SONG_LOCAL, tags, "/music/day.ogg");
    CradioStation st;
    st.name = "Radio Seed";
    st.station = "http://radio.example/seed.pls";
    st.bitrate = 128;
    if (CsongPackInfo* r = lib.addRadioStation(st)) r->favourite = 1;
    lib.addRecentTrack(lib.findByPath("/music/day.ogg"), false);
    put("fuzz_songLibrary", "library", lib.serialiseLibrary());
    put("fuzz_songLibrary", "recent", lib.serialiseRecent());
}

void scoreRecords() {
    CbasicScore b;
    b.name = "Pilot";
    b.comment = "gg";
    b.country = "GB";
    b.ship = "Vessik";
    b.day = 20000;
    put("fuzz_scoreRecords", "basic", b.write());
    CperSongScore s;
    s.name = "Pilot";
    s.deaths = 2;
    s.difficulty = 3;
    s.difficultyFactor = 1.5f;
    put("fuzz_scoreRecords", "perSong", s.write());
    CgeneralTracksScore g;
    g.trackTitle = "Night Drive";
    put("fuzz_scoreRecords", "general", g.write());
    CdailyTrackScore d;
    d.title = "Night Drive";
    d.artist = "Vessik";
    d.linkKind = 'Y';
    d.linkId = "abcdefghijk";
    d.length = 201;
    put("fuzz_scoreRecords", "daily", d.write());
}

void textFiles() {
    for (const char* name : {"webService.txt", "musicServices.txt", "twitterHosts.txt"}) {
        Cbytes b;
        if (CresourceFile::readWholeFile(gEngine->dataPath(std::string("textFiles/") + name), b))
            put("fuzz_settingsFiles", name, b);
    }
    int n = 0;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(gEngine->dataPath("textFiles/layouts"), ec)) {
        Cbytes b;
        if (n < 40 && CresourceFile::readWholeFile(e.path().string(), b)) put("fuzz_layoutReader", e.path().filename().string(), b);
        ++n;
    }
    // The directory's two list forms, as the radio browser reads them.
    put("fuzz_radioDirectory", "stations",
        std::string("<?xml version=\"1.0\"?><stationlist><tunein base=\"/sbin/tunein-station.pls\"/>"
                    "<station name=\"Seed FM\" mt=\"audio/mpeg\" id=\"42\" br=\"128\" genre=\"Pop\" lc=\"7\"/>"
                    "<station name=\"Two\" id=\"43\" br=\"64\" genre=\"Jazz\" lc=\"1\"/></stationlist>"));
    put("fuzz_radioDirectory", "genres",
        std::string("<?xml version=\"1.0\"?><genrelist><genre name=\"Pop\"/><genre name=\"Jazz\"/></genrelist>"));
}

// Replies of the local service, captured as the client receives them.
std::string* gCapture = nullptr;
size_t (*gRecv)(struct soap*, char*, size_t) = nullptr;
size_t captureRecv(struct soap* soap, char* buf, size_t len) {
    size_t n = gRecv(soap, buf, len);
    if (gCapture) gCapture->append(buf, n);
    return n;
}

template <class Req, class Resp>
Resp captureReply(const std::string& url, uint8_t tag, const char* name, int (k4wProxy::*call)(const char*, const char*, Req*, Resp&),
                  Req& req) {
    k4wProxy proxy(SOAP_C_UTFSTRING);
    Ck4wSettings s;
    k4wConfigureSoap(proxy.soap, s);
    std::string bytes(1, (char)tag);
    gCapture = &bytes;
    gRecv = proxy.soap->frecv;
    proxy.soap->frecv = captureRecv;
    Resp resp;
    (proxy.*call)(url.c_str(), nullptr, &req, resp);
    gCapture = nullptr;
    proxy.destroy();
    put("fuzz_soapReplies", name, bytes);
    return resp;
}

void soapReplies() {
    ClocalWebService service;
    if (!service.start()) return;
    service.addAccount("Pilot", "pilot@example.com", "hunter2");
    service.addRow("XP", 1, 5000, Cbytes(128, 'x'));
    ClocalChallenge c;
    c.trackTitle = "Night Drive";
    service.setChallenge(24, c);
    const std::string url = "http://127.0.0.1:" + std::to_string(service.port()) + "/k4w";
    _k4w__GetUnixTime time;
    time.gameTitle = "Zorbex";
    captureReply(url, 0, "time", &k4wProxy::GetUnixTime, time);
    _k4w__SignIn signIn;
    signIn.gameTitle = "Zorbex";
    signIn.login = "pilot@example.com";
    signIn.password = "hunter2";
    captureReply(url, 1, "signIn", &k4wProxy::SignIn, signIn);
    _k4w__GetAuthToken token;
    token.gameTitle = "Zorbex";
    token.login = "pilot@example.com";
    token.password = "hunter2";
    std::string authToken = captureReply(url, 2, "token", &k4wProxy::GetAuthToken, token).authToken;
    _k4w__GetAuthToken wrong = token;
    wrong.password = "nope";
    captureReply(url, 2, "tokenRefused", &k4wProxy::GetAuthToken, wrong);
    _k4w__GetLeaderboard board;
    board.authToken = authToken;
    board.board = "XP";
    board.first = 0;
    board.count = 10;
    captureReply(url, 3, "board", &k4wProxy::GetLeaderboard, board);
    _k4w__GetGameConfig config;
    config.gameTitle = "Zorbex";
    config.authToken = authToken;
    captureReply(url, 6, "config", &k4wProxy::GetGameConfig, config);
    _k4w__GetMessages messages;
    messages.authToken = authToken;
    captureReply(url, 4, "messages", &k4wProxy::GetMessages, messages);
    _k4w__FindPlayer find;
    find.authToken = authToken;
    find.playerId = 1;
    captureReply(url, 5, "findPlayer", &k4wProxy::FindPlayer, find);
    _k4w__GetCurrentChallenge challenge;
    challenge.authToken = authToken;
    challenge.periodHours = 24;
    captureReply(url, 7, "challenge", &k4wProxy::GetCurrentChallenge, challenge);
    service.stop();
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: %s <seed folder>\n", argv[0]);
        return 2;
    }
    gRoot = argv[1];
    fuzzEngine();
    packedContainers();
    saves();
    songLibrary();
    scoreRecords();
    textFiles();
    soapReplies();
    return 0;
}
