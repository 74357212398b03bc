// Writes the seed corpora of the fuzz targets, each made by the project's own
// writers: makeSeeds <folder> makes <folder>/<target>/seedN for every target.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/songInfoMgr.h"
#include "engine/bString.h"
#include "game/perkMgr.h"
#include "game/progress/playerStatsCache.h"
#include "game/scoreReplay.h"
#include "online/challengeList.h"
#include "online/friendList.h"
#include "online/inbox.h"
#include "platform/steam/steamStore.h"
#include "platform/steam/steamWorkshopStore.h"
#include "services/workshop.h"
#include "tools/audiogen/lib/encoder.h"
#include "tools/audiogen/lib/synth.h"
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

Cbytes bytesOf(const std::string& s) { return Cbytes(s.begin(), s.end()); }
// A seed whose first byte picks the reader in the target (tag < 0: none).
void put(const std::string& target, const std::string& name, const Cbytes& b, int tag = -1) {
    fs::create_directories(gRoot + "/" + target);
    std::ofstream f(gRoot + "/" + target + "/" + name, std::ios::binary);
    if (tag >= 0) f.put((char)tag);
    f.write((const char*)b.data(), (std::streamsize)b.size());
}
void put(const std::string& target, const std::string& name, const std::string& s, int tag = -1) {
    put(target, name, bytesOf(s), tag);
}
// A file as the game wrote it, when it is there.
void putFile(const std::string& target, const std::string& name, const std::string& path, int tag = -1) {
    Cbytes b;
    if (CresourceFile::readWholeFile(path, b)) put(target, name, b, tag);
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
    progress.playerName = "Seed";
    CplayerShipDef* mine = ships.createCustomShip();
    if (mine) mine->data.displayName = "Seed Ship";
    progress.modules.addModule("Standard");
    save.settings.markTutorialSeen("Tut_Intro1");
    save.settings.notices.add(5, 77);
    tracks.records.push_back(CtrackRecord{});
    put("fuzz_saveRecords", "game", save.gameFile().serialise(), 0);
    put("fuzz_saveRecords", "settings", save.settingsFile().serialise(), 1);
    put("fuzz_saveRecords", "highScores", save.highScoresFile().serialise(), 2);
    // The same files whole, as written to disk (container and stream).
    save.settings.dirty = false;
    if (save.settingsFile().saveItems() && save.highScoresFile().saveItems()) {
        putFile("fuzz_saveRecords", std::string(CsaveLoad::kSettingsFile) + "File", gEngine->savePath(CsaveLoad::kSettingsFile), 5);
        putFile("fuzz_saveRecords", std::string(CsaveLoad::kHighScoresFile) + "File", gEngine->savePath(CsaveLoad::kHighScoresFile), 6);
    }

    Cbytes shipsRecord;
    ships.write(shipsRecord);
    put("fuzz_shipImport", "hangar", shipsRecord);
    if (mine) {
        Cbytes block(CplayerShipData::kBlockSize), outside(CplayerShipDef::kOutsideSize);
        mine->writeDataBlock(block.data());
        mine->writeOutside(outside.data());
        put("fuzz_shipImport", "block", block);
        put("fuzz_shipImport", "outside", outside);
    }
}

void songLibrary() {
    CsongInfoMgr lib;
    CtrackTags tags;
    tags.title = "Night Drive";
    tags.artist = "Vessik";
    tags.length = 201;
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
    CperSongScore s;
    s.name = "Pilot";
    s.deaths = 2;
    s.difficultyFactor = 1.5f;
    CgeneralTracksScore g;
    g.trackTitle = "Night Drive";
    CdailyTrackScore d;
    d.title = "Night Drive";
    d.linkKind = 'Y';
    d.linkId = "abcdefghijk";
    for (auto [name, record] : {std::pair{"basic", b.write()}, {"perSong", s.write()}, {"general", g.write()}, {"daily", d.write()}})
        put("fuzz_scoreRecords", name, record);
}

void textFiles() {
    for (const char* name : {"webService.txt", "musicServices.txt", "twitterHosts.txt"})
        putFile("fuzz_settingsFiles", name, gEngine->dataPath(std::string("textFiles/") + name));
    int n = 0;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(gEngine->dataPath("textFiles/layouts"), ec))
        if (n++ < 40) putFile("fuzz_layoutReader", e.path().filename().string(), e.path().string());
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

class CreplyCapture {
public:
    explicit CreplyCapture(int port) : url_("http://127.0.0.1:" + std::to_string(port) + "/k4w") {}
    std::string token;
    // Asks with a request fill made and keeps the reply's bytes as seed name.
    template <class Req, class Resp, class Fill>
    Resp ask(uint8_t tag, const char* name, int (k4wProxy::*call)(const char*, const char*, Req*, Resp&), Fill fill) {
        Req req;
        fill(req);
        k4wProxy proxy(SOAP_C_UTFSTRING);
        Ck4wSettings s;
        k4wConfigureSoap(proxy.soap, s);
        std::string bytes;
        gCapture = &bytes;
        gRecv = proxy.soap->frecv;
        proxy.soap->frecv = captureRecv;
        Resp resp;
        (proxy.*call)(url_.c_str(), nullptr, &req, resp);
        gCapture = nullptr;
        proxy.destroy();
        put("fuzz_soapReplies", name, bytes, tag);
        return resp;
    }

private:
    std::string url_;
};

void soapReplies() {
    ClocalWebService service;
    if (!service.start()) return;
    service.addAccount("Pilot", "pilot@example.com", "hunter2");
    service.addRow("XP", 1, 5000, Cbytes(128, 'x'));
    ClocalChallenge challenge;
    challenge.trackTitle = "Night Drive";
    service.setChallenge(24, challenge);
    CreplyCapture k(service.port());
    static uint8_t record[128] = {1, 2, 3};
    auto login = [](auto& r, const char* password) {
        r.gameTitle = "Zorbex";
        r.login = "pilot@example.com";
        r.password = password;
    };
    k.ask(0, "time", &k4wProxy::GetUnixTime, [](auto& r) { r.gameTitle = "Zorbex"; });
    k.ask(1, "signIn", &k4wProxy::SignIn, [&](auto& r) { login(r, "hunter2"); });
    k.token = k.ask(2, "token", &k4wProxy::GetAuthToken, [&](auto& r) { login(r, "hunter2"); }).authToken;
    k.ask(2, "tokenRefused", &k4wProxy::GetAuthToken, [&](auto& r) { login(r, "nope"); });
    auto board = [&](auto& r) {
        r.authToken = k.token;
        r.board = "XP";
    };
    k.ask(3, "board", &k4wProxy::GetLeaderboard, [&](auto& r) { board(r), r.first = 0, r.count = 10; });
    k.ask(6, "config", &k4wProxy::GetGameConfig, [&](auto& r) { r.gameTitle = "Zorbex", r.authToken = k.token; });
    k.ask(4, "messages", &k4wProxy::GetMessages, [&](auto& r) { r.authToken = k.token; });
    k.ask(5, "findPlayer", &k4wProxy::FindPlayer, [&](auto& r) { r.authToken = k.token, r.playerId = 1; });
    k.ask(7, "challenge", &k4wProxy::GetCurrentChallenge, [&](auto& r) { r.authToken = k.token, r.periodHours = 24; });
    k.ask(8, "boardForPlayers", &k4wProxy::GetLeaderboardForPlayers, [&](auto& r) { board(r), r.playerId = {1, 2}; });
    k.ask(9, "boardSince", &k4wProxy::GetLeaderboardSince, [&](auto& r) { board(r), r.since = 0, r.count = 10; });
    k.ask(10, "playerStats", &k4wProxy::GetPlayerStats, [&](auto& r) { r.authToken = k.token, r.playerId = {1}; });
    k.ask(11, "createAccount", &k4wProxy::CreateAccount, [](auto& r) {
        r.gameTitle = "Zorbex", r.nickname = "Second", r.email = "second@example.com", r.password = "pw";
    });
    k.ask(12, "submitScore", &k4wProxy::SubmitScore, [&](auto& r) {
        board(r), r.score = 6000, r.keepBest = true;
        r.data.__ptr = record, r.data.__size = (int)sizeof record;
    });
    k.ask(13, "sendMessage", &k4wProxy::SendMessage, [&](auto& r) {
        r.authToken = k.token, r.toPlayerId = 1, r.type = 1, r.data.__ptr = record, r.data.__size = 16;
    });
    k.ask(14, "deleteMessages", &k4wProxy::DeleteMessages, [&](auto& r) { r.authToken = k.token, r.messageId = {1}; });
    k.ask(15, "setPlayerName", &k4wProxy::SetPlayerName, [&](auto& r) { r.authToken = k.token, r.name = "Renamed"; });
    k.ask(16, "setPlayerStats", &k4wProxy::SetPlayerStats, [&](auto& r) {
        r.authToken = k.token, r.steamId = 7, r.data.__ptr = record, r.data.__size = (int)sizeof record;
    });
    k.ask(17, "getCount", &k4wProxy::getAtomicCount, [&](auto& r) { r.authToken = k.token, r.name = "Kills"; });
    k.ask(18, "addCount", &k4wProxy::addAtomicCount, [&](auto& r) { r.authToken = k.token, r.name = "Kills", r.amount = 5; });
    service.stop();
}

// The shipped text tables, each tagged with the reader that reads it.
void dataTables() {
    const char* const tables[] = {"stringsGameEnglish.txt", "colours.txt",      "spriteSheets.txt", "fonts.txt",
                                  "particles.txt",          "props.txt",        "achievements.txt", "playerShips.txt",
                                  "shipProperties.txt",     "shipModules.txt",  "music.txt",        "sounds.txt",
                                  "sounds.txt",             "steamIAPPrices.txt", "creditsList.txt", "stringsInternal.txt"};
    for (int tag = 0; tag < 16; ++tag)
        putFile("fuzz_dataTables", std::to_string(tag % 15) + "_" + tables[tag],
                gEngine->dataPath(std::string("textFiles/") + tables[tag]), tag % 15);
}

// The payload of a packed save file the game wrote.
Cbytes savedPayload(const std::string& name) {
    Cbytes raw, payload;
    if (CresourceFile::readWholeFile(gEngine->savePath(name), raw))
        CwebMessage::unpackPayload(raw.data(), raw.size(), payload);
    return payload;
}

Cbytes workshopRecord(bool withHull) {
    CplayerShipMgr ships;
    ships.loadBuiltIn();
    CplayerShipDef* ship = ships.createCustomShip();
    Cbytes block(CplayerShipData::kBlockSize);
    if (ship) ship->writeDataBlock(block.data());
    Cworkshop ws;
    ws.newItem();
    Cbytes record = ws.itemBuffer;
    CwebMessage::addBlock(record, Cworkshop::kBlockShip, block.data(), (uint32_t)block.size());
    Cbytes hull;
    if (withHull) CresourceFile::readWholeFile(gEngine->dataPath("testShip.png"), hull);
    CwebMessage::addBlock(record, Cworkshop::kBlockHull, hull.data(), (uint32_t)hull.size());
    Cworkshop::setRecordUpdateTime(record, 1700000000u);
    return record;
}

void saveFolderFiles() {
    const char* target = "fuzz_saveFolderFiles";
    CloginData login;
    login.name = "Pilot";
    login.password = "hunter2";
    login.email = "pilot@example.com";
    if (saveLoginData(login)) put(target, "login", savedPayload(CsaveLoad::kLoginFile), 0);

    Cbytes twitter;
    CwebMessage::addBlock(twitter, 0, "token-1234", 11);
    CwebMessage::addBlock(twitter, 0, "secret-5678", 12);
    put(target, "twitter", twitter, 1);
    put(target, "userItem", CwebMessage::packRecord(workshopRecord(true)), 2);
    put(target, "userItemNoHull", CwebMessage::packRecord(workshopRecord(false)), 2);

    std::string steamRoot = gEngine->savePath("steamSeeds/");
    CsteamStore store;
    if (store.open(steamRoot)) {
        store.achievements["ACH_FIRST"] = 1700000000;
        store.achievements["ACH_SECOND"] = 1700000100;
        CsteamBoard board;
        board.name = "XP";
        board.sortMethod = 2;
        board.displayType = 1;
        board.entries.push_back({76561198000000001ull, 5000, {1, 2, 3}});
        board.entries.push_back({76561198000000002ull, 4000, {}});
        store.boards.push_back(board);
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
        item.owner = 76561198000000001ull;
        item.appId = 480;
        item.title = "Seed";
        item.fileName = "data.dat";
        item.previewName = "preview.png";
        uint64_t id = shop.publish(item, Cbytes(10, 1), Cbytes(4, 2));
        shop.subscribe(5, id);
        putFile(target, "workshopItem", shop.root() + "items/" + std::to_string(id) + "/item.txt", 6);
        putFile(target, "subscriptions", shop.root() + "subscriptions/5.txt", 6);
    }

    CperkMgr perks;
    Cbytes perkRecord;
    perks.writeRecord(perkRecord);
    put(target, "perks", perkRecord, 7);

    CasyncChallenge c;
    c.guid = 99;
    c.opponentName = "Rival";
    c.trackTitle = "Night Drive";
    CchallengeList list;
    list.playerId = 5;
    if (list.cacheChallenge(c)) put(target, "challengeCache", savedPayload(CchallengeList::cacheFileName(5, 99)), 8);
    if (list.saveStaticData("Seed", Cbytes(64, 7)))
        putFile(target, "staticData", gEngine->savePath(CchallengeList::staticDataFileName("Seed")), 9);
    put(target, "userDirs",
        std::string("# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                    "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\nXDG_MUSIC_DIR=\"/srv/music\"\n"),
        10);
    putFile(target, "preview", gEngine->dataPath("testShip.png"), 11);
}

void serviceRecords() {
    const char* target = "fuzz_serviceRecords";
    CinboxEntry e;
    e.type = INBOX_WORLD_HIGHSCORE;
    e.day = 20000;
    e.score = 123456;
    e.otherPlayerId = 42;
    e.messageId = 7;
    e.otherName = "Rival";
    e.trackKey = "0123456789abcdef0123456789abcdef";
    e.shipName = "Vessik";
    put(target, "inboxEntry", e.pack(), 0);
    Cinbox inbox;
    inbox.add(e);
    e.messageId = 8;
    e.type = INBOX_SURVIVAL_HIGHSCORE;
    inbox.add(e);
    put(target, "inbox", inbox.serialise(), 0);

    CasyncChallenge c;
    c.guid = 99;
    c.opponentId = 42;
    c.opponentName = "Rival";
    c.trackKey = e.trackKey;
    c.trackTitle = "Night Drive";
    c.linkKind = 'Y';
    c.linkId = "abcdefghijk";
    put(target, "challenge", c.serialise(), 1);

    CfriendList friends;
    friends.addOrUpdate(0, 42, "Rival");
    friends.addOrUpdate(1, 43, "Wingmate");
    put(target, "friends", friends.serialise(), 2);

    CplayerStatsRecord stats;
    stats.steamId = 42;
    stats.xp = 5000;
    stats.name = "Rival";
    Cbytes statsBytes(CplayerStatsRecord::kRecordSize);
    stats.write(statsBytes.data());
    put(target, "stats", statsBytes, 3);

    CreplayRun run;
    run.samples = {{0.0f, 0, 1}, {1.5f, 1200, 2}, {3.0f, 5000, 4}};
    run.deathTime = 3.5f;
    Cbytes replay;
    CscoreReplay::pack(run, replay);
    put(target, "replay", replay, 4);
}

// Replies as the services send them.
void webReplies() {
    const std::tuple<const char*, int, const char*> replies[] = {
        {"media", 0, "{\"media_id\":710511363345354753,\"media_id_string\":\"710511363345354753\",\"size\":11065,"
                     "\"expires_after_secs\":86400}"},
        {"token", 1, "oauth_token=6253282-eWudHldSbIaelX7swmsiHImEL4KinwaGloHANdrY&oauth_token_secret="
                     "2EEfA6BG3ly3sR3RjE0IBSnlQu4ZrUzPiYKmrkVU&user_id=6253282&screen_name=pilot"},
        {"identified", 2, "{\"status\":{\"msg\":\"Success\",\"code\":0,\"version\":\"1.0\"},\"metadata\":{\"music\":[{"
                          "\"title\":\"Night Drive\",\"artists\":[{\"name\":\"Vessik\"}],\"album\":{\"name\":\"Roads\"},"
                          "\"genres\":[{\"name\":\"Synth\"}],\"duration_ms\":201000}]}}"},
        {"notIdentified", 2, "{\"status\":{\"msg\":\"No result\",\"code\":1001}}"},
        {"pls", 3, "[playlist]\nNumberOfEntries=2\nFile1=http://radio.example:8000/stream\nTitle1=Seed FM\n"
                   "File2=http://radio.example:8002/\nVersion=2\n"},
        {"m3u", 3, "#EXTM3U\n#EXTINF:-1,Seed FM\nhttp://radio.example/stream.mp3\n"},
        {"icy", 4, "StreamTitle='Vessik - Night Drive';StreamUrl='';"},
    };
    for (const auto& [name, tag, text] : replies) put("fuzz_webReplies", name, std::string(text), tag);
}

void workshopItems() {
    put("fuzz_workshopItems", "item", workshopRecord(true), 0);
    put("fuzz_workshopItems", "itemNoHull", workshopRecord(false), 0);
    putFile("fuzz_workshopItems", "hull", gEngine->dataPath("testShip.png"), 1);
}

// Short files of every kind the player's music may be, with tags.
void mediaFiles() {
    const char* const extensions[] = {"mp3", "ogg", "flac", "wav", "m4a", "opus", "wma"};
    const int kinds = 7;
    CfileTags tags;
    tags.title = "Night Drive";
    tags.artist = "Vessik";
    tags.album = "Roads";
    tags.genre = "Synth";
    tags.trackNumber = 3;
    std::string folder = gEngine->savePath("media");
    fs::create_directories(folder);
    for (int i = 0; i < kinds; ++i) {
        std::string path = folder + "/seed." + extensions[i];
        Cbytes b;
        if (!encodeAudioFile(path, synth::makeTone(440, 0.3, 22050, 2), 32)) continue;
        writeFileTags(path, tags);
        if (!CresourceFile::readWholeFile(path, b) || b.size() > 64 * 1024) continue;
        put("fuzz_mediaFiles", std::string("tags.") + extensions[i], b, i);
        put("fuzz_mediaFiles", std::string("audio.") + extensions[i], b, kinds + i);
    }
}

// A station as fuzz_radioStream takes it: metaint, name and genre, the audio,
// then one metadata block per title as sent on the wire.
std::string radioStream(uint8_t metaint, const std::string& name, const std::string& genre, const Cbytes& audio,
                        const std::vector<std::string>& titles) {
    std::string out(1, (char)metaint);
    out += name + "\n" + genre + "\n";
    out.push_back((char)(audio.size() & 0xff));
    out.push_back((char)(audio.size() >> 8));
    out.append(audio.begin(), audio.end());
    for (const std::string& title : titles) {
        std::string meta = "StreamTitle='" + title + "';StreamUrl='';";
        size_t blocks = (meta.size() + 15) / 16;
        meta.resize(blocks * 16, '\0');
        out.push_back((char)blocks);
        out += meta;
    }
    return out;
}

void radioStreams() {
    std::string folder = gEngine->savePath("radio");
    fs::create_directories(folder);
    for (std::string ext : {"mp3", "ogg"}) {
        Cbytes audio;
        std::string path = folder + "/seed." + ext;
        if (!encodeAudioFile(path, synth::makeTone(660, 0.3, 22050, 2), 32) || !CresourceFile::readWholeFile(path, audio) ||
            audio.size() > 0xffff)
            continue;
        put("fuzz_radioStream", "twoTitles." + ext, radioStream(64, "Seed FM", "Synth", audio, {"Vessik - Night Drive", "Vessik - Day"}));
        put("fuzz_radioStream", "latin1." + ext, radioStream(16, "Caf\xe9 Radio", "", audio, {"Caf\xe9 - Cr\xeape"}));
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
    for (void (*make)() : {packedContainers, saves, songLibrary, scoreRecords, textFiles, soapReplies, dataTables,
                           saveFolderFiles, serviceRecords, webReplies, workshopItems, mediaFiles, radioStreams})
        make();
    return 0;
}
