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
#include "online/scoreRecord.h"
#include "services/workshop.h"

namespace fs = std::filesystem;

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
    Cbytes record, replay, stats(CplayerStatsRecord::kRecordSize);
    CwebMessage::addBlock(record, 3, text.data(), 2000);
    CsongInfoMgr lib;
    CtrackTags tags;
    tags.title = "Night Drive";
    CradioStation station;
    station.station = "http://radio.example/seed.pls";
    lib.addLocalTrack(SONG_LOCAL, tags, "/music/night.mp3");
    lib.addRadioStation(station);
    lib.addRecentTrack(lib.findByPath("/music/night.mp3"), false);
    CinboxEntry e;
    e.otherName = "Rival";
    Cinbox inbox;
    inbox.add(e);
    CfriendList friends;
    friends.addOrUpdate(0, 42, "Rival");
    CplayerStatsRecord().write(stats.data());
    CreplayRun run;
    run.samples = {{0.0f, 0, 1}, {1.5f, 1200, 2}};
    CscoreReplay::pack(run, replay);
    const std::pair<Cbytes, int> seeds[] = {
        {CwebMessage::pack(1, text.data(), text.size()), 0}, {CwebMessage::pack(0, "abc", 3), 0},
        {CwebMessage::packRecord(record), 0},                {CbasicScore().write(), 1},
        {CperSongScore().write(), 1},                        {CgeneralTracksScore().write(), 1},
        {CdailyTrackScore().write(), 1},                     {lib.serialiseLibrary(), 2},
        {lib.serialiseRecent(), 2},                          {e.pack(), 4},
        {inbox.serialise(), 4},                              {CasyncChallenge().serialise(), 5},
        {friends.serialise(), 6},                            {stats, 7},
        {replay, 8},
    };
    int n = 0;
    for (const auto& [bytes, tag] : seeds) put(target, "seed" + std::to_string(n++), bytes, tag);
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
    ships.createCustomShip();
    save.settings.markTutorialSeen("Tut_Intro1");
    save.settings.notices.add(5, 77);
    tracks.records.push_back(CtrackRecord{});
    CsaveFile* files[] = {&save.gameFile(), &save.settingsFile(), &save.highScoresFile()};
    for (int tag = 0; tag < 3; ++tag) put("fuzz_saveRecords", files[tag]->fileName(), files[tag]->serialise(), tag);
    // The same files whole, as written to disk (container and stream).
    save.settings.dirty = false;
    if (save.settingsFile().saveItems() && save.highScoresFile().saveItems())
        for (int tag : {5, 6}) putFile("fuzz_saveRecords", "whole" + std::to_string(tag), gEngine->savePath(files[tag - 4]->fileName()), tag);
    Cbytes hangar;
    ships.write(hangar);
    put("fuzz_records", "hangar", hangar, 3);
}

void texts() {
    const std::tuple<const char*, int, const char*> replies[] = {
        {"media", 0, "{\"media_id\":710511363345354753,\"media_id_string\":\"710511363345354753\",\"size\":11065}"},
        {"token", 1, "oauth_token=6253282-eWudHldSbIaelX7swmsiHImEL&oauth_token_secret=2EEfA6BG3ly3sR3&user_id=6253282"},
        {"identified", 2, "{\"status\":{\"msg\":\"Success\",\"code\":0},\"metadata\":{\"music\":[{\"title\":\"Night "
                          "Drive\",\"artists\":[{\"name\":\"Vessik\"}],\"album\":{\"name\":\"Roads\"},\"duration_ms\":201000}]}}"},
        {"pls", 3, "[playlist]\nNumberOfEntries=2\nFile1=http://radio.example:8000/stream\nTitle1=Seed FM\n"},
        {"m3u", 3, "#EXTM3U\n#EXTINF:-1,Seed FM\nhttp://radio.example/stream.mp3\n"},
        {"icy", 4, "StreamTitle='Vessik - Night Drive';StreamUrl='';"},
        {"directory", 5, "<?xml version=\"1.0\"?><stationlist><tunein base=\"/sbin/tunein-station.pls\"/><station "
                         "name=\"Seed FM\" mt=\"audio/mpeg\" id=\"42\" br=\"128\" genre=\"Pop\" lc=\"7\"/></stationlist>"},
        {"genres", 5, "<genrelist><genre name=\"Pop\"/><genre name=\"Jazz\"/></genrelist>"},
    };
    for (const auto& [name, tag, text] : replies) put("fuzz_texts", name, std::string(text), tag);
    for (const char* name : {"webService.txt", "musicServices.txt", "twitterHosts.txt"})
        putFile("fuzz_texts", name, gEngine->dataPath(std::string("textFiles/") + name), 6);
    int n = 0;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(gEngine->dataPath("textFiles/layouts"), ec))
        if (n++ < 40) putFile("fuzz_texts", e.path().filename().string(), e.path().string(), 7);
}

// A workshop ship's record as the workshop publishes it.
Cbytes workshopRecord() {
    CplayerShipMgr ships;
    ships.loadBuiltIn();
    CplayerShipDef* ship = ships.createCustomShip();
    Cbytes block(CplayerShipData::kBlockSize), hull;
    if (ship) ship->writeDataBlock(block.data());
    Cworkshop ws;
    ws.newItem();
    Cbytes record = ws.itemBuffer;
    CwebMessage::addBlock(record, Cworkshop::kBlockShip, block.data(), (uint32_t)block.size());
    CresourceFile::readWholeFile(gEngine->dataPath("testShip.png"), hull);
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
    put(target, "userItem", workshopRecord(), 2);

    Cbytes perkRecord;
    CperkMgr().writeRecord(perkRecord);
    put(target, "perks", perkRecord, 3);
    CasyncChallenge c;
    c.guid = 99;
    c.opponentName = "Rival";
    CchallengeList list;
    list.playerId = 5;
    if (list.cacheChallenge(c)) put(target, "challengeCache", savedPayload(CchallengeList::cacheFileName(5, 99)), 4);
    if (list.saveStaticData("Seed", Cbytes(64, 7)))
        putFile(target, "staticData", gEngine->savePath(CchallengeList::staticDataFileName("Seed")), 5);
    put(target, "userDirs", std::string("XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n"), 6);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: %s <seed folder>\n", argv[0]);
        return 2;
    }
    gRoot = argv[1];
    fuzzEngine();
    for (void (*make)() : {records, saves, texts, saveFolderFiles}) make();
    return 0;
}
