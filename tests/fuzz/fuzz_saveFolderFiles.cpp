// The save folder's smaller files, read from disk as the game reads them
// (login, Twitter token, a workshop item's local copy and its ship, perks, a
// cached challenge, static data) and the desktop's user-dirs.dirs. Packed
// files are packed here: the container has a target of its own.
#include <filesystem>

#include "fuzzEngine.h"
#include "game/perkMgr.h"
#include "game/progress/saveLoad.h"
#include "game/workshopGlue.h"
#include "online/challengeList.h"
#include "services/twitter.h"
#include "services/workshop.h"

namespace fs = std::filesystem;

std::vector<CfuzzReader> fuzzReaders() {
    std::vector<CfuzzReader> readers = {
        [](const uint8_t* p, size_t n) {
            fuzzSaveFile(CsaveLoad::kLoginFile, p, n, true);
            CloginData login;
            loadLoginData(login);
        },
        [](const uint8_t* p, size_t n) {
            fuzzSaveFile("twitter.dat", p, n, true);
            static Ctwitter twitter;
            twitter.init();   // reads twitter.dat
        },
        [](const uint8_t* p, size_t n) {
            const uint64_t id = 77;
            fuzzSaveFile(Cworkshop::localItemName(id), p, n, false);
            CresourceFile file;
            CworkshopItemRecord item;
            item.publishedId = id;
            if (!file.open(Cworkshop::localItemName(id), RF_SAVE_RAW | RF_QUIET) ||
                !CwebMessage::unpackRecord(file.data(), file.size(), item.record))
                return;
            Cworkshop::recordUpdateTime(item.record);
            CworkshopShipItem ship;
            static CplayerShipMgr hangar;
            if (Cworkshop::checkShipItem(item, ship)) {
                CworkshopGlue::importShip(hangar, ship);
                hangar.resetToBuiltIn();
            }
        },
        [](const uint8_t* p, size_t n) { CperkMgr().readRecord(p, n); },
        [](const uint8_t* p, size_t n) {
            CchallengeList list;
            list.playerId = 5;
            fuzzSaveFile(CchallengeList::cacheFileName(5, 99), p, n, true);
            list.findCachedChallenge(99);
        },
        [](const uint8_t* p, size_t n) {
            fuzzSaveFile(CchallengeList::staticDataFileName("Fuzz"), p, n, false);
            Cbytes out;
            CchallengeList().loadStaticData("Fuzz", out);
        },
        [](const uint8_t* p, size_t n) {
            static const std::string config = [] {
                std::string c = gEngine->savePath("xdgFuzz");
                makeFolders(c);
                setenv("XDG_CONFIG_HOME", c.c_str(), 1);
                unsetenv("ZORBEX_SAVE_DIR");
                return c;
            }();
            fuzzWriteFile(config + "/user-dirs.dirs", p, n);
            defaultSaveFolder("Zorbex");
        },
    };
    // Files kept aside as unreadable ("loginA1.bad2" ...) would pile up.
    for (CfuzzReader& r : readers)
        r = [r](const uint8_t* p, size_t n) {
            r(p, n);
            std::error_code ec;
            for (const auto& e : fs::directory_iterator(gEngine->saveFolder, ec))
                if (e.path().filename().string().find(".bad") != std::string::npos) fs::remove(e.path(), ec);
        };
    return readers;
}
