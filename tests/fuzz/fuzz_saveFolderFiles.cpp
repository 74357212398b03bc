// The save folder's smaller files, read from disk as the game reads them: the
// login, the Twitter token, a workshop item's local copy (its ship imported
// as the sync imports it), the local Steam layer's files (a workshop item's
// preview too), the perks record, a cached challenge, a static data file, and
// the desktop's user-dirs.dirs that names the documents folder. The first
// byte picks the file; packed files are packed here so the input reaches the
// reader behind the container (the container has a target of its own).
#include <filesystem>

#include "fuzzEngine.h"
#include "engine/render/texture.h"
#include "game/perkMgr.h"
#include "game/workshopGlue.h"
#include "online/challengeList.h"
#include "game/progress/saveLoad.h"
#include "platform/steam/steamStore.h"
#include "platform/steam/steamWorkshopStore.h"
#include "services/twitter.h"
#include "services/workshop.h"

namespace fs = std::filesystem;

namespace {
// The local Steam layer's folder, in the save folder.
std::string steamRoot() { return gEngine->savePath("steamFuzz/"); }

// Files kept aside as unreadable ("loginA1.bad2" ...) would pile up.
void removeKeptAside() {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(gEngine->saveFolder, ec))
        if (e.path().filename().string().find(".bad") != std::string::npos) fs::remove(e.path(), ec);
}

// One of the local Steam layer's files.
CfuzzReader steamFile(const char* name) {
    return [name](const uint8_t* p, size_t n) {
        static bool made = makeFolders(steamRoot());
        (void)made;
        fuzzWriteFile(steamRoot() + name, p, n);
        CsteamStore store;
        store.open(steamRoot());
    };
}

CsteamWorkshopStore* workshopStore() {
    static CsteamWorkshopStore store;
    return store.isOpen() || store.open(steamRoot() + "workshop") ? &store : nullptr;
}
}  // namespace

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
            // A workshop item's local copy, checked as the sync checks it.
            const uint64_t id = 77;
            fuzzSaveFile(Cworkshop::localItemName(id), p, n, false);
            CresourceFile file;
            CworkshopItemRecord item;
            item.publishedId = id;
            if (file.open(Cworkshop::localItemName(id), RF_SAVE_RAW | RF_QUIET) &&
                CwebMessage::unpackRecord(file.data(), file.size(), item.record)) {
                Cworkshop::recordUpdateTime(item.record);
                CworkshopShipItem ship;
                static CplayerShipMgr hangar;
                if (Cworkshop::checkShipItem(item, ship)) {
                    CworkshopGlue::importShip(hangar, ship);
                    hangar.resetToBuiltIn();
                }
            }
        },
        steamFile("achievements.txt"),
        steamFile("leaderboards.dat"),
        steamFile("friends.txt"),
        [](const uint8_t* p, size_t n) {
            // The local workshop's record of an item and a player's subscriptions.
            CsteamWorkshopStore* store = workshopStore();
            if (!store) return;
            const std::string item = store->root() + "items/" + std::to_string(CsteamWorkshopStore::kFirstId);
            makeFolders(item);
            fuzzWriteFile(item + "/item.txt", p, n);
            fuzzWriteFile(store->root() + "subscriptions/5.txt", p, n);
            CworkshopStoredItem found;
            store->find(CsteamWorkshopStore::kFirstId, found);
            store->subscriptions(5);
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
        [](const uint8_t* p, size_t n) {
            // A workshop item's preview image, read back and decoded.
            CsteamWorkshopStore* store = workshopStore();
            if (!store) return;
            static const uint64_t id = [store] {
                CworkshopStoredItem item;
                item.title = "Fuzz";
                item.fileName = "data.dat";
                item.previewName = "preview.png";
                return store->publish(item, Cbytes(4, 1), Cbytes(4, 2));
            }();
            fuzzWriteFile(store->root() + "items/" + std::to_string(id) + "/preview.dat", p, n);
            Cbytes preview;
            if (store->readFile(id, true, preview))
                if (SDL_Surface* surface = CtextureMgr::decode(preview.data(), preview.size(), "fuzz preview"))
                    SDL_FreeSurface(surface);
        },
    };
    for (CfuzzReader& r : readers)
        r = [r](const uint8_t* p, size_t n) {
            r(p, n);
            removeKeptAside();
        };
    return readers;
}
