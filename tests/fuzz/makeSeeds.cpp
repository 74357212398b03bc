// Writes the seed corpora of the fuzz targets, each made by the project's own
// writers: makeSeeds <folder> makes <folder>/<target>/<seed> for every target.
#include <filesystem>
#include <fstream>

#include "audio/songInfoMgr.h"
#include "fuzzEngine.h"
#include "game/perkMgr.h"
#include "game/progress/playerStatsCache.h"
#include "game/progress/saveLoad.h"
#include "game/scoreReplay.h"
#include "online/challengeList.h"
#include "online/friendList.h"
#include "online/inbox.h"
#include "online/k4wTransport.h"
#include "online/localService/localWebService.h"
#include "online/scoreRecord.h"
#include "platform/steam/steamStore.h"
#include "platform/steam/steamWorkshopStore.h"
#include "services/workshop.h"
#include "tools/audiogen/lib/encoder.h"
#include "tools/audiogen/lib/synth.h"

namespace fs = std::filesystem;
using namespace k4wGen;

namespace {
std::string gRoot;

// A seed whose first byte picks the reader in the target (tag < 0: none).
void put(const std::string& target, const std::string& name, const Cbytes& b, int tag = -1) {
    fs::create_directories(gRoot + "/" + target);
    std::ofstream f(gRoot + "/" + target + "/" + name, std::ios::binary);
    if (tag >= 0) f.put((char)tag);
    f.write((const char*)b.data(), (std::streamsize)b.size());
}
void put(const std::string& target, const std::string& name, const std::string& s, int tag = -1) {
    put(target, name, Cbytes(s.begin(), s.end()), tag);
}
// A file as the game wrote it, when it is there.
void putFile(const std::string& target, const std::string& name, const std::string& path, int tag = -1) {
    Cbytes b;
    if (CresourceFile::readWholeFile(path, b)) put(target, name, b, tag);
}
// The payload of a packed save file the game wrote.
Cbytes savedPayload(const std::string& name) {
    Cbytes raw, payload;
    if (CresourceFile::readWholeFile(gEngine->savePath(name), raw))
        CwebMessage::unpackPayload(raw.data(), raw.size(), payload);
    return payload;
}

void records() {
    const char* target = "fuzz_records";
    std::string text(3000, 'z');
    put(target, "compressed", CwebMessage::pack(1, text.data(), text.size()), 0);
    put(target, "plain", CwebMessage::pack(0, "abc", 3), 0);
    Cbytes record;
    CwebMessage::addBlock(record, 0, "token", 6);
    CwebMessage::addBlock(record, 3, text.data(), 2000);
    put(target, "record", CwebMessage::packRecord(record), 0);

    CbasicScore b;
    b.name = "Pilot";
    CdailyTrackScore d;
    d.title = "Night Drive";
    d.linkId = "abcdefghijk";
    for (const Cbytes& score : {b.write(), CperSongScore().write(), CgeneralTracksScore().write(), d.write()})
        put(target, "score" + std::to_string(score.size()), score, 1);

    CsongInfoMgr lib;
    CtrackTags tags;
    tags.title = "Night Drive";
    tags.length = 201;
    lib.addLocalTrack(SONG_LOCAL, tags, "/music/night.mp3");
    CradioStation st;
    st.name = "Radio Seed";
    st.station = "http://radio.example/seed.pls";
    lib.addRadioStation(st);
    lib.addRecentTrack(lib.findByPath("/music/night.mp3"), false);
    put(target, "library", lib.serialiseLibrary(), 2);
    put(target, "recent", lib.serialiseRecent(), 2);

    CinboxEntry e;
    e.type = INBOX_WORLD_HIGHSCORE;
    e.score = 123456;
    e.otherName = "Rival";
    e.trackKey = "0123456789abcdef0123456789abcdef";
    put(target, "inboxEntry", e.pack(), 4);
    Cinbox inbox;
    inbox.add(e);
    put(target, "inbox", inbox.serialise(), 4);
    CasyncChallenge c;
    c.opponentName = "Rival";
    c.trackTitle = "Night Drive";
    put(target, "challenge", c.serialise(), 5);
    CfriendList friends;
    friends.addOrUpdate(0, 42, "Rival");
    put(target, "friends", friends.serialise(), 6);
    CplayerStatsRecord stats;
    stats.name = "Rival";
    Cbytes statsBytes(CplayerStatsRecord::kRecordSize);
    stats.write(statsBytes.data());
    put(target, "stats", statsBytes, 7);
    CreplayRun run;
    run.samples = {{0.0f, 0, 1}, {1.5f, 1200, 2}};
    Cbytes replay;
    CscoreReplay::pack(run, replay);
    put(target, "replay", replay, 8);
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
    progress.playerName = "Seed";
    CplayerShipDef* mine = ships.createCustomShip();
    save.settings.markTutorialSeen("Tut_Intro1");
    save.settings.notices.add(5, 77);
    tracks.records.push_back(CtrackRecord{});
    put("fuzz_saveRecords", "game", save.gameFile().serialise(), 0);
    put("fuzz_saveRecords", "settings", save.settingsFile().serialise(), 1);
    put("fuzz_saveRecords", "highScores", save.highScoresFile().serialise(), 2);
    // The same files whole, as written to disk (container and stream).
    save.settings.dirty = false;
    if (save.settingsFile().saveItems() && save.highScoresFile().saveItems()) {
        putFile("fuzz_saveRecords", "settingsFile", gEngine->savePath(CsaveLoad::kSettingsFile), 5);
        putFile("fuzz_saveRecords", "highScoresFile", gEngine->savePath(CsaveLoad::kHighScoresFile), 6);
    }
    Cbytes hangar, block(CplayerShipData::kBlockSize), outside(CplayerShipDef::kOutsideSize);
    ships.write(hangar);
    put("fuzz_records", "hangar", hangar, 3);
    if (!mine) return;
    mine->writeDataBlock(block.data());
    mine->writeOutside(outside.data());
    put("fuzz_records", "shipBlock", block, 3);
    put("fuzz_records", "shipOutside", outside, 3);
}

void texts() {
    const std::pair<const char*, const char*> replies[] = {
        {"media", "{\"media_id\":710511363345354753,\"media_id_string\":\"710511363345354753\",\"size\":11065}"},
        {"token", "oauth_token=6253282-eWudHldSbIaelX7swmsiHImEL&oauth_token_secret=2EEfA6BG3ly3sR3&user_id=6253282"},
        {"identified", "{\"status\":{\"msg\":\"Success\",\"code\":0},\"metadata\":{\"music\":[{\"title\":\"Night Drive\","
                       "\"artists\":[{\"name\":\"Vessik\"}],\"album\":{\"name\":\"Roads\"},\"duration_ms\":201000}]}}"},
        {"pls", "[playlist]\nNumberOfEntries=2\nFile1=http://radio.example:8000/stream\nTitle1=Seed FM\n"},
        {"icy", "StreamTitle='Vessik - Night Drive';StreamUrl='';"},
        {"directory", "<?xml version=\"1.0\"?><stationlist><tunein base=\"/sbin/tunein-station.pls\"/><station "
                      "name=\"Seed FM\" mt=\"audio/mpeg\" id=\"42\" br=\"128\" genre=\"Pop\" lc=\"7\"/></stationlist>"},
    };
    int tag = 0;
    for (const auto& [name, text] : replies) put("fuzz_texts", name, std::string(text), tag++);
    put("fuzz_texts", "m3u", std::string("#EXTM3U\n#EXTINF:-1,Seed FM\nhttp://radio.example/stream.mp3\n"), 3);
    put("fuzz_texts", "genres", std::string("<genrelist><genre name=\"Pop\"/><genre name=\"Jazz\"/></genrelist>"), 5);
    for (const char* name : {"webService.txt", "musicServices.txt", "twitterHosts.txt"})
        putFile("fuzz_texts", name, gEngine->dataPath(std::string("textFiles/") + name), 6);
    int n = 0;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(gEngine->dataPath("textFiles/layouts"), ec))
        if (n++ < 40) putFile("fuzz_texts", e.path().filename().string(), e.path().string(), 7);
    // The shipped tables, each tagged with the reader that reads it.
    const char* const tables[] = {"stringsGameEnglish.txt", "colours.txt",      "spriteSheets.txt",   "fonts.txt",
                                  "particles.txt",          "props.txt",        "achievements.txt",   "playerShips.txt",
                                  "shipProperties.txt",     "shipModules.txt",  "music.txt",          "sounds.txt",
                                  "sounds.txt",             "steamIAPPrices.txt", "creditsList.txt"};
    for (int t = 0; t < 15; ++t)
        putFile("fuzz_dataTables", std::to_string(t) + "_" + tables[t], gEngine->dataPath(std::string("textFiles/") + tables[t]), t);
}

// Replies of the local service, captured as the client receives them.
std::string gCapture;
size_t (*gRecv)(struct soap*, char*, size_t) = nullptr;
size_t captureRecv(struct soap* soap, char* buf, size_t len) {
    size_t n = gRecv(soap, buf, len);
    gCapture.append(buf, n);
    return n;
}
// Asks the service with a request fill made and keeps the reply's bytes.
template <class Req, class Resp, class Fill>
Resp ask(const std::string& url, uint8_t tag, const char* name, int (k4wProxy::*call)(const char*, const char*, Req*, Resp&),
         Fill fill) {
    Req req;
    fill(req);
    k4wProxy proxy(SOAP_C_UTFSTRING);
    k4wConfigureSoap(proxy.soap, Ck4wSettings{});
    gCapture.clear();
    gRecv = proxy.soap->frecv;
    proxy.soap->frecv = captureRecv;
    Resp resp;
    (proxy.*call)(url.c_str(), nullptr, &req, resp);
    proxy.destroy();
    put("fuzz_soapReplies", name, gCapture, tag);
    return resp;
}

void soapReplies() {
    ClocalWebService service;
    if (!service.start()) return;
    service.addAccount("Pilot", "pilot@example.com", "hunter2");
    service.addRow("XP", 1, 5000, Cbytes(128, 'x'));
    ClocalChallenge challenge;
    challenge.trackTitle = "Night Drive";
    service.setChallenge(24, challenge);
    const std::string url = "http://127.0.0.1:" + std::to_string(service.port()) + "/k4w";
    auto login = [](auto& r) {
        r.gameTitle = "Zorbex";
        r.login = "pilot@example.com";
        r.password = "hunter2";
    };
    ask(url, 0, "time", &k4wProxy::GetUnixTime, [](auto& r) { r.gameTitle = "Zorbex"; });
    ask(url, 1, "signIn", &k4wProxy::SignIn, login);
    const std::string token = ask(url, 2, "token", &k4wProxy::GetAuthToken, login).authToken;
    auto board = [&](auto& r) {
        r.authToken = token;
        r.board = "XP";
    };
    ask(url, 3, "board", &k4wProxy::GetLeaderboard, [&](auto& r) { board(r), r.count = 10; });
    ask(url, 4, "messages", &k4wProxy::GetMessages, [&](auto& r) { r.authToken = token; });
    ask(url, 6, "config", &k4wProxy::GetGameConfig, [&](auto& r) { r.gameTitle = "Zorbex", r.authToken = token; });
    ask(url, 7, "challenge", &k4wProxy::GetCurrentChallenge, [&](auto& r) { r.authToken = token, r.periodHours = 24; });
    ask(url, 10, "playerStats", &k4wProxy::GetPlayerStats, [&](auto& r) { r.authToken = token, r.playerId = {1}; });
    ask(url, 18, "addCount", &k4wProxy::addAtomicCount, [&](auto& r) { r.authToken = token, r.name = "Kills", r.amount = 5; });
    service.stop();
}

Cbytes workshopRecord(bool withHull) {
    CplayerShipMgr ships;
    ships.loadBuiltIn();
    CplayerShipDef* ship = ships.createCustomShip();
    Cbytes block(CplayerShipData::kBlockSize), hull;
    if (ship) ship->writeDataBlock(block.data());
    Cworkshop ws;
    ws.newItem();
    Cbytes record = ws.itemBuffer;
    CwebMessage::addBlock(record, Cworkshop::kBlockShip, block.data(), (uint32_t)block.size());
    if (withHull) CresourceFile::readWholeFile(gEngine->dataPath("testShip.png"), hull);
    CwebMessage::addBlock(record, Cworkshop::kBlockHull, hull.data(), (uint32_t)hull.size());
    Cworkshop::setRecordUpdateTime(record, 1700000000u);
    return CwebMessage::packRecord(record);
}

void saveFolderFiles() {
    const char* target = "fuzz_saveFolderFiles";
    CloginData login;
    login.name = "Pilot";
    login.password = "hunter2";
    if (saveLoginData(login)) put(target, "login", savedPayload(CsaveLoad::kLoginFile), 0);
    Cbytes twitter;
    CwebMessage::addBlock(twitter, 0, "token-1234", 11);
    CwebMessage::addBlock(twitter, 0, "secret-5678", 12);
    put(target, "twitter", twitter, 1);
    put(target, "userItem", workshopRecord(true), 2);
    put(target, "userItemNoHull", workshopRecord(false), 2);

    std::string steamRoot = gEngine->savePath("steamSeeds/");
    CsteamStore store;
    if (store.open(steamRoot)) {
        store.achievements["ACH_FIRST"] = 1700000000;
        store.boards.push_back({"XP", 2, 1, {{76561198000000001ull, 5000, {1, 2, 3}}}});
        store.friends.push_back({76561198000000003ull, "Wingmate \"Ace\""});
        store.saveAchievements();
        store.saveBoards();
        store.saveFriends();
        int tag = 3;
        for (const char* file : {"achievements.txt", "leaderboards.dat", "friends.txt"}) putFile(target, file, steamRoot + file, tag++);
    }
    CsteamWorkshopStore shop;
    if (shop.open(steamRoot + "workshop")) {
        CworkshopStoredItem item;
        item.title = "Seed";
        item.fileName = "data.dat";
        item.previewName = "preview.png";
        uint64_t id = shop.publish(item, Cbytes(10, 1), Cbytes(4, 2));
        shop.subscribe(5, id);
        putFile(target, "workshopItem", shop.root() + "items/" + std::to_string(id) + "/item.txt", 6);
        putFile(target, "subscriptions", shop.root() + "subscriptions/5.txt", 6);
    }
    Cbytes perkRecord;
    CperkMgr().writeRecord(perkRecord);
    put(target, "perks", perkRecord, 7);
    CasyncChallenge c;
    c.guid = 99;
    c.opponentName = "Rival";
    CchallengeList list;
    list.playerId = 5;
    if (list.cacheChallenge(c)) put(target, "challengeCache", savedPayload(CchallengeList::cacheFileName(5, 99)), 8);
    if (list.saveStaticData("Seed", Cbytes(64, 7)))
        putFile(target, "staticData", gEngine->savePath(CchallengeList::staticDataFileName("Seed")), 9);
    put(target, "userDirs", std::string("XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n"), 10);
    putFile(target, "preview", gEngine->dataPath("testShip.png"), 11);
}

// Short files of every kind the player's music may be, with tags, and radio
// stations of two kinds as fuzz_radioStream takes them.
void audioFiles() {
    const char* const extensions[] = {"mp3", "ogg", "flac", "wav", "m4a", "opus", "wma"};
    CfileTags tags{"Night Drive", "Vessik", "Roads", "Synth", 3, 2026};
    std::string folder = gEngine->savePath("media");
    fs::create_directories(folder);
    for (int i = 0; i < 7; ++i) {
        std::string path = folder + "/seed." + extensions[i];
        Cbytes b;
        if (!encodeAudioFile(path, synth::makeTone(440, 0.3, 22050, 2), 32)) continue;
        writeFileTags(path, tags);
        if (!CresourceFile::readWholeFile(path, b) || b.size() > 64 * 1024) continue;
        put("fuzz_mediaFiles", std::string("tags.") + extensions[i], b, i);
        put("fuzz_mediaFiles", std::string("audio.") + extensions[i], b, 7 + i);
        if (i > 1) continue;
        // The wire: a metadata block after every 1 + 4 * 16 bytes of audio.
        std::string wire, meta = "StreamTitle='Vessik - Night Drive';";
        meta.resize((meta.size() + 15) / 16 * 16, '\0');
        for (size_t at = 0; at < b.size(); at += 65) {
            wire.append(b.begin() + at, b.begin() + std::min(b.size(), at + 65));
            if (at + 65 > b.size()) break;
            wire += at == 0 ? std::string(1, (char)(meta.size() / 16)) + meta : std::string(1, '\0');
        }
        put("fuzz_radioStream", std::string("station.") + extensions[i], std::string(1, 16) + "Seed FM\nSynth\n" + wire);
    }
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: %s <seed folder>\n", argv[0]);
        return 2;
    }
    gRoot = argv[1];
    fuzzEngine();
    for (void (*make)() : {records, saves, texts, soapReplies, saveFolderFiles, audioFiles}) make();
    return 0;
}
