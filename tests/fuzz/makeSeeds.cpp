// Writes the seed corpora of the fuzz targets, each made by the project's own
// writers: makeSeeds <folder> makes <folder>/<target>/seedN for every target.
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
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

Cbytes withTag(uint8_t tag, const std::string& s) { return withTag(tag, Cbytes(s.begin(), s.end())); }

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
    // The same files whole, as written to disk (container and stream).
    save.settings.dirty = false;
    if (save.settingsFile().saveItems() && save.highScoresFile().saveItems())
        for (uint8_t i = 1; i < 3; ++i) {
            Cbytes b;
            const char* name = i == 1 ? CsaveLoad::kSettingsFile : CsaveLoad::kHighScoresFile;
            if (CresourceFile::readWholeFile(gEngine->savePath(name), b)) put("fuzz_saveRecords", std::string(name) + "File", withTag(4 + i, b));
        }

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
    uint8_t record[128] = {1, 2, 3};
    _k4w__GetLeaderboardForPlayers forPlayers;
    forPlayers.authToken = authToken;
    forPlayers.board = "XP";
    forPlayers.playerId = {1, 2};
    captureReply(url, 8, "boardForPlayers", &k4wProxy::GetLeaderboardForPlayers, forPlayers);
    _k4w__GetLeaderboardSince since;
    since.authToken = authToken;
    since.board = "XP";
    since.since = 0;
    since.count = 10;
    captureReply(url, 9, "boardSince", &k4wProxy::GetLeaderboardSince, since);
    _k4w__GetPlayerStats stats;
    stats.authToken = authToken;
    stats.playerId = {1};
    captureReply(url, 10, "playerStats", &k4wProxy::GetPlayerStats, stats);
    _k4w__CreateAccount account;
    account.gameTitle = "Zorbex";
    account.nickname = "Second";
    account.email = "second@example.com";
    account.password = "pw";
    captureReply(url, 11, "createAccount", &k4wProxy::CreateAccount, account);
    _k4w__SubmitScore submit;
    submit.authToken = authToken;
    submit.board = "XP";
    submit.score = 6000;
    submit.data.__ptr = record;
    submit.data.__size = (int)sizeof record;
    submit.keepBest = true;
    captureReply(url, 12, "submitScore", &k4wProxy::SubmitScore, submit);
    _k4w__SendMessage send;
    send.authToken = authToken;
    send.toPlayerId = 1;
    send.type = 1;
    send.data.__ptr = record;
    send.data.__size = 16;
    captureReply(url, 13, "sendMessage", &k4wProxy::SendMessage, send);
    _k4w__DeleteMessages remove;
    remove.authToken = authToken;
    remove.messageId = {1};
    captureReply(url, 14, "deleteMessages", &k4wProxy::DeleteMessages, remove);
    _k4w__SetPlayerName rename;
    rename.authToken = authToken;
    rename.name = "Renamed";
    captureReply(url, 15, "setPlayerName", &k4wProxy::SetPlayerName, rename);
    _k4w__SetPlayerStats setStats;
    setStats.authToken = authToken;
    setStats.steamId = 7;
    setStats.data.__ptr = record;
    setStats.data.__size = (int)sizeof record;
    captureReply(url, 16, "setPlayerStats", &k4wProxy::SetPlayerStats, setStats);
    _k4w__getAtomicCount count;
    count.authToken = authToken;
    count.name = "Kills";
    captureReply(url, 17, "getCount", &k4wProxy::getAtomicCount, count);
    _k4w__addAtomicCount add;
    add.authToken = authToken;
    add.name = "Kills";
    add.amount = 5;
    captureReply(url, 18, "addCount", &k4wProxy::addAtomicCount, add);
    service.stop();
}

// The shipped text tables, each tagged with the reader that reads it.
void dataTables() {
    const std::pair<uint8_t, const char*> tables[] = {
        {0, "stringsGameEnglish.txt"}, {0, "stringsInternal.txt"}, {1, "colours.txt"},     {2, "spriteSheets.txt"},
        {3, "fonts.txt"},              {4, "particles.txt"},       {5, "props.txt"},       {6, "achievements.txt"},
        {7, "playerShips.txt"},        {8, "shipProperties.txt"},  {9, "shipModules.txt"}, {10, "music.txt"},
        {11, "sounds.txt"},            {12, "sounds.txt"},         {13, "steamIAPPrices.txt"}, {14, "creditsList.txt"},
    };
    for (const auto& [tag, name] : tables) {
        Cbytes b;
        if (CresourceFile::readWholeFile(gEngine->dataPath(std::string("textFiles/") + name), b))
            put("fuzz_dataTables", std::to_string(tag) + "_" + name, withTag(tag, b));
    }
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
    if (saveLoginData(login)) put(target, "login", withTag(0, savedPayload(CsaveLoad::kLoginFile)));

    Cbytes twitter;
    CwebMessage::addBlock(twitter, 0, "token-1234", 11);
    CwebMessage::addBlock(twitter, 0, "secret-5678", 12);
    put(target, "twitter", withTag(1, twitter));

    put(target, "userItem", withTag(2, CwebMessage::packRecord(workshopRecord(true))));
    put(target, "userItemNoHull", withTag(2, CwebMessage::packRecord(workshopRecord(false))));

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
        const char* files[3] = {"achievements.txt", "leaderboards.dat", "friends.txt"};
        for (uint8_t i = 0; i < 3; ++i) {
            Cbytes b;
            if (CresourceFile::readWholeFile(steamRoot + files[i], b)) put(target, files[i], withTag(3 + i, b));
        }
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
        Cbytes b;
        if (CresourceFile::readWholeFile(shop.root() + "items/" + std::to_string(id) + "/item.txt", b))
            put(target, "workshopItem", withTag(6, b));
        if (CresourceFile::readWholeFile(shop.root() + "subscriptions/5.txt", b)) put(target, "subscriptions", withTag(6, b));
    }

    CperkMgr perks;
    Cbytes perkRecord;
    perks.writeRecord(perkRecord);
    put(target, "perks", withTag(7, perkRecord));

    CasyncChallenge c;
    c.guid = 99;
    c.opponentName = "Rival";
    c.trackTitle = "Night Drive";
    CchallengeList list;
    list.playerId = 5;
    if (list.cacheChallenge(c)) put(target, "challengeCache", withTag(8, savedPayload(CchallengeList::cacheFileName(5, 99))));
    if (list.saveStaticData("Seed", Cbytes(64, 7))) {
        Cbytes b;
        if (CresourceFile::readWholeFile(gEngine->savePath(CchallengeList::staticDataFileName("Seed")), b))
            put(target, "staticData", withTag(9, b));
    }
    put(target, "userDirs", withTag(10, std::string("# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                                    "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\nXDG_MUSIC_DIR=\"/srv/music\"\n")));
    Cbytes png;
    if (CresourceFile::readWholeFile(gEngine->dataPath("testShip.png"), png)) put(target, "preview", withTag(11, png));
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
    put(target, "inboxEntry", withTag(0, e.pack()));
    Cinbox inbox;
    inbox.add(e);
    e.messageId = 8;
    e.type = INBOX_SURVIVAL_HIGHSCORE;
    inbox.add(e);
    put(target, "inbox", withTag(0, inbox.serialise()));

    CasyncChallenge c;
    c.guid = 99;
    c.opponentId = 42;
    c.opponentName = "Rival";
    c.trackKey = "0123456789abcdef0123456789abcdef";
    c.trackTitle = "Night Drive";
    c.artist = "Vessik";
    c.album = "Roads";
    c.duration = 201;
    c.linkKind = 'Y';
    c.linkId = "abcdefghijk";
    put(target, "challenge", withTag(1, c.serialise()));

    CfriendList friends;
    friends.addOrUpdate(0, 42, "Rival");
    friends.addOrUpdate(1, 43, "Wingmate");
    put(target, "friends", withTag(2, friends.serialise()));

    CplayerStatsRecord stats;
    stats.steamId = 42;
    stats.xp = 5000;
    stats.timePlayed = 3600;
    stats.countryCode = "GB";
    stats.name = "Rival";
    Cbytes statsBytes(CplayerStatsRecord::kRecordSize);
    stats.write(statsBytes.data());
    put(target, "stats", withTag(3, statsBytes));

    CreplayRun run;
    run.samples = {{0.0f, 0, 1}, {1.5f, 1200, 2}, {3.0f, 5000, 4}};
    run.deathTime = 3.5f;
    Cbytes replay;
    CscoreReplay::pack(run, replay);
    put(target, "replay", withTag(4, replay));
}

// Replies as the services send them.
void webReplies() {
    const char* target = "fuzz_webReplies";
    put(target, "media", withTag(0, std::string("{\"media_id\":710511363345354753,\"media_id_string\":\"710511363345354753\","
                                                "\"size\":11065,\"expires_after_secs\":86400}")));
    put(target, "token", withTag(1, std::string("oauth_token=6253282-eWudHldSbIaelX7swmsiHImEL4KinwaGloHANdrY&"
                                                "oauth_token_secret=2EEfA6BG3ly3sR3RjE0IBSnlQu4ZrUzPiYKmrkVU&"
                                                "user_id=6253282&screen_name=pilot")));
    put(target, "identified",
        withTag(2, std::string("{\"status\":{\"msg\":\"Success\",\"code\":0,\"version\":\"1.0\"},\"metadata\":{\"music\":[{"
                               "\"title\":\"Night Drive\",\"artists\":[{\"name\":\"Vessik\"}],\"album\":{\"name\":\"Roads\"},"
                               "\"genres\":[{\"name\":\"Synth\"}],\"duration_ms\":201000}]}}")));
    put(target, "notIdentified", withTag(2, std::string("{\"status\":{\"msg\":\"No result\",\"code\":1001}}")));
    put(target, "pls", withTag(3, std::string("[playlist]\nNumberOfEntries=2\nFile1=http://radio.example:8000/stream\n"
                                              "Title1=Seed FM\nFile2=http://radio.example:8002/\nVersion=2\n")));
    put(target, "m3u", withTag(3, std::string("#EXTM3U\n#EXTINF:-1,Seed FM\nhttp://radio.example/stream.mp3\n")));
    put(target, "icy", withTag(4, std::string("StreamTitle='Vessik - Night Drive';StreamUrl='';")));
}

void workshopItems() {
    Cbytes flat = workshopRecord(true);
    put("fuzz_workshopItems", "item", withTag(0, flat));
    put("fuzz_workshopItems", "itemNoHull", withTag(0, workshopRecord(false)));
    Cbytes png;
    if (CresourceFile::readWholeFile(gEngine->dataPath("testShip.png"), png)) put("fuzz_workshopItems", "hull", withTag(1, png));
}

// Short files of every kind the player's music may be, with tags.
void mediaFiles() {
    const char* const extensions[] = {"mp3", "ogg", "flac", "wav", "m4a", "opus", "wma"};
    const uint8_t kinds = 7;
    CpcmBuffer pcm = synth::makeTone(440, 0.3, 22050, 2);
    CfileTags tags;
    tags.title = "Night Drive";
    tags.artist = "Vessik";
    tags.album = "Roads";
    tags.genre = "Synth";
    tags.trackNumber = 3;
    std::string folder = gEngine->savePath("media");
    fs::create_directories(folder);
    for (uint8_t i = 0; i < kinds; ++i) {
        std::string path = folder + "/seed." + extensions[i];
        if (!encodeAudioFile(path, pcm, 32)) continue;
        writeFileTags(path, tags);
        Cbytes b;
        if (!CresourceFile::readWholeFile(path, b) || b.size() > 64 * 1024) continue;
        put("fuzz_mediaFiles", std::string("tags.") + extensions[i], withTag(i, b));
        put("fuzz_mediaFiles", std::string("audio.") + extensions[i], withTag((uint8_t)(kinds + i), b));
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
    const char* target = "fuzz_radioStream";
    std::string folder = gEngine->savePath("radio");
    fs::create_directories(folder);
    for (const char* ext : {"mp3", "ogg"}) {
        std::string path = folder + "/seed." + ext;
        Cbytes audio;
        if (!encodeAudioFile(path, synth::makeTone(660, 0.3, 22050, 2), 32) || !CresourceFile::readWholeFile(path, audio) ||
            audio.size() > 0xffff)
            continue;
        put(target, std::string("twoTitles.") + ext,
            radioStream(64, "Seed FM", "Synth", audio, {"Vessik - Night Drive", "Vessik - Day"}));
        put(target, std::string("latin1.") + ext, radioStream(16, "Caf\xe9 Radio", "", audio, {"Caf\xe9 - Cr\xeape"}));
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
    packedContainers();
    saves();
    songLibrary();
    scoreRecords();
    textFiles();
    soapReplies();
    dataTables();
    saveFolderFiles();
    serviceRecords();
    webReplies();
    workshopItems();
    mediaFiles();
    radioStreams();
    return 0;
}
