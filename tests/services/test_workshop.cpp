// Cworkshop through the local Steam client: publishing new and existing
// items with every failure, the sync of subscribed items with local copies
// and paging, and the checks on items from other players.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "engine/engine.h"
#include "engine/resourceFile.h"
#include "game/progress/playerShipDef.h"
#include "services/workshop.h"
#include "support/steamTestClient.h"

namespace {

Cbytes pngBytes(int w, int h) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ABGR8888);
    SDL_FillRect(s, nullptr, 0xFF3366CC);
    std::vector<uint8_t> mem(1 << 22);
    SDL_RWops* rw = SDL_RWFromMem(mem.data(), (int)mem.size());
    EXPECT_EQ(IMG_SavePNG_RW(s, rw, 0), 0);
    Cbytes out(mem.begin(), mem.begin() + SDL_RWtell(rw));
    SDL_RWclose(rw);
    SDL_FreeSurface(s);
    return out;
}

Cbytes shipBlock(const std::string& identifier) {
    CplayerShipData d;
    d.identifier = identifier;
    d.displayName = identifier;
    d.topSpeed = 20;
    Cbytes block(CplayerShipData::kBlockSize);
    d.write(block.data(), 0);
    return block;
}

// An item record as another player's game would make it.
Cbytes shipRecord(const Cbytes& block, const Cbytes& hull, uint32_t kind = Cworkshop::kItemKindShip) {
    Cbytes record;
    uint8_t word[4];
    putU32(word, kind);
    CwebMessage::addBlock(record, Cworkshop::kBlockKind, word, 4);
    putU32(word, 0);
    CwebMessage::addBlock(record, Cworkshop::kBlockSpare, word, 4);
    CwebMessage::addBlock(record, Cworkshop::kBlockShip, block.data(), (uint32_t)block.size());
    CwebMessage::addBlock(record, Cworkshop::kBlockHull, hull.data(), (uint32_t)hull.size());
    return CwebMessage::packRecord(record);
}

constexpr uint64_t kOtherPlayer = 76561197960265999ull;

struct Cfixture {
    Cfixture() {
        EXPECT_TRUE(SteamAPI_Init());
        ws.init();
        ws.onImport = [this](const CworkshopShipItem& item) {
            imports.push_back(item);
            return true;
        };
    }
    // Runs the callbacks until the flow ends.
    void run() {
        for (int i = 0; i < 400 && (ws.state != Cworkshop::STATE_IDLE || steamLocal::pendingResults() > 0); ++i)
            SteamAPI_RunCallbacks();
    }
    CworkshopShip ship(const std::string& name) {
        CworkshopShip s;
        s.dataBlock = shipBlock(name);
        s.hullImage = pngBytes(32, 24);
        s.title = name + " title";
        s.description = name + " description";
        return s;
    }
    uint64_t publish(const CworkshopShip& s) {
        ws.publishShip(s, pngBytes(8, 8));
        run();
        return ws.hasError ? 0 : ws.publishedId;
    }
    uint64_t addOther(const std::string& name, const Cbytes& file) {
        uint64_t id = steamLocal::addWorkshopItem(kOtherPlayer, name, "from someone else", file, pngBytes(4, 4));
        EXPECT_TRUE(steamLocal::subscribeWorkshopItem(id));
        return id;
    }
    void sync() {
        imports.clear();
        ws.requestSubscribedList();
        run();
    }
    CsteamTestClient steam;
    Cworkshop ws;
    std::vector<CworkshopShipItem> imports;
};

}  // namespace

// A new ship becomes a private item its publisher is subscribed to; publishing
// it again updates that item, keeping its description.
TEST(Workshop, PublishingMakesAnItemAndPublishingAgainUpdatesIt) {
    Cfixture f;
    CworkshopShip s = f.ship("Hawk");
    uint64_t id = f.publish(s);
    ASSERT_NE(id, 0u) << f.ws.errorText;
    EXPECT_EQ(f.ws.statusText, "WS_PublishingComplete");
    CworkshopStoredItem item;
    ASSERT_TRUE(steamLocal::findWorkshopItem(id, item));
    EXPECT_EQ(item.title, "Hawk title");
    EXPECT_EQ(item.visibility, PUBLISHED_FILE_VISIBILITY_PRIVATE);
    EXPECT_EQ(item.owner, steamLocal::localSteamId());

    // The item's file is the record other players' games read.
    Cbytes file;
    ASSERT_TRUE(steamLocal::readWorkshopFile(id, false, file));
    EXPECT_EQ(file, shipRecord(s.dataBlock, s.hullImage));
    f.sync();
    ASSERT_EQ(f.imports.size(), 1u);
    EXPECT_EQ(f.imports[0].publishedId, id);

    s.published = true;
    s.publishedId = id;
    s.publicFlag = true;
    s.title = "Hawk Mk II";
    s.description = "a new description";
    s.dataBlock = shipBlock("HawkTwo");
    f.ws.publishShip(s, pngBytes(9, 9));
    // Not complete until the commit's result has come back.
    for (int i = 0; i < 2; ++i) SteamAPI_RunCallbacks();
    EXPECT_EQ(steamLocal::counters().commitCalls, 1);
    EXPECT_EQ(f.ws.state, Cworkshop::STATE_PUBLISHING);
    EXPECT_NE(f.ws.statusText, "WS_PublishingComplete");
    f.run();
    EXPECT_FALSE(f.ws.hasError) << f.ws.errorText;
    EXPECT_EQ(f.ws.statusText, "WS_PublishingComplete");
    EXPECT_EQ(steamLocal::counters().publishCalls, 1);
    CworkshopStoredItem after;
    ASSERT_TRUE(steamLocal::findWorkshopItem(id, after));
    EXPECT_EQ(after.title, "Hawk Mk II");
    EXPECT_EQ(after.description, "Hawk description");
    EXPECT_EQ(after.visibility, PUBLISHED_FILE_VISIBILITY_PUBLIC);
    EXPECT_GT(after.updated, item.updated);
    ASSERT_TRUE(steamLocal::readWorkshopFile(id, false, file));
    EXPECT_EQ(file, shipRecord(s.dataBlock, s.hullImage));
}

TEST(Workshop, EveryPublishFailureLeavesItsText) {
    struct Ccase { const char* what; bool existing; std::function<void()> fault; std::string text; };
    auto refuse = [](const char* call) { return [call] { steamLocal::faults().refusedCalls = {call}; }; };
    auto result = [](const char* call, int code) { return [call, code] { steamLocal::faults().callResults[call] = code; }; };
    auto agreement = [] { steamLocal::faults().workshopAgreementNeeded = true; };
    const std::vector<Ccase> cases = {
        {"preview write", false, [] { steamLocal::faults().writeFails = true; }, "WS_Failedtowritepreviewimage"},
        {"data write", false, refuse("FileWrite data.dat"), "WS_Failedtowritedatafile"},
        {"io failure", false, [] { steamLocal::faults().ioFailure = true; }, "WS_IOFailureError"},
        {"publish result", false, result("PublishWorkshopFile", 3), " = 3 no/failed network connection"},
        {"agreement", false, agreement, "WS_Needtoacceptworkshopagreement"},
        {"update file", true, refuse("UpdatePublishedFileFile"), "WS_UpdateFileError"},
        {"update title", true, refuse("UpdatePublishedFileTitle"), "WS_UpdateVisibilityError"},
        {"commit result", true, result("CommitPublishedFileUpdate", 15), " = 15 access is denied"},
        {"commit agreement", true, agreement, "WS_Needtoacceptworkshopagreement"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Cfixture f;
        CworkshopShip s = f.ship("Kite");
        if (c.existing) {
            s.publishedId = f.publish(s);
            ASSERT_NE(s.publishedId, 0u);
            s.published = true;
        }
        int commits = steamLocal::counters().commitCalls;
        c.fault();
        f.ws.publishShip(s, pngBytes(8, 8));
        f.run();
        EXPECT_EQ(f.ws.state, Cworkshop::STATE_IDLE);
        EXPECT_TRUE(f.ws.hasError);
        EXPECT_EQ(f.ws.errorText, c.text);
        bool agreement = c.text == "WS_Needtoacceptworkshopagreement";
        EXPECT_EQ(f.ws.needsAgreement != 0, agreement);
        if (!agreement) EXPECT_NE(f.ws.statusText, "WS_PublishingComplete");
        // A refused setter sends no commit.
        if (c.existing && !steamLocal::faults().refusedCalls.empty()) EXPECT_EQ(steamLocal::counters().commitCalls, commits);
    }
}

TEST(Workshop, SyncDownloadsNewItemsAndReusesUnchangedLocalCopies) {
    Cfixture f;
    uint64_t a = f.addOther("Alpha", shipRecord(shipBlock("Alpha"), pngBytes(64, 64)));
    uint64_t b = f.addOther("Beta", shipRecord(shipBlock("Beta"), {}));
    uint64_t banned = f.addOther("Gamma", shipRecord(shipBlock("Gamma"), {}));
    ASSERT_TRUE(steamLocal::setWorkshopBanned(banned, true));

    f.sync();
    EXPECT_FALSE(f.ws.hasError) << f.ws.errorText;
    ASSERT_EQ(f.imports.size(), 2u);
    EXPECT_EQ(f.imports[0].publishedId, a);
    EXPECT_EQ(f.imports[0].owner, kOtherPlayer);
    EXPECT_EQ(f.imports[0].hullImage, pngBytes(64, 64));
    EXPECT_EQ(f.imports[1].publishedId, b);
    EXPECT_EQ(steamLocal::counters().ugcDownloadCalls, 2);
    EXPECT_EQ(f.ws.statusText, "WS_Downloaded");
    // The banned item keeps no local copy.
    EXPECT_FALSE(fileExistsW(f.steam.eng->savePath(Cworkshop::localItemName(banned))));

    // Unchanged items come from their local copies; a changed one is fetched again.
    ASSERT_TRUE(steamLocal::replaceWorkshopFile(b, shipRecord(shipBlock("BetaTwo"), {})));
    f.sync();
    ASSERT_EQ(f.imports.size(), 2u);
    EXPECT_EQ(steamLocal::counters().ugcDownloadCalls, 3);
    EXPECT_EQ(f.imports[1].dataBlock, shipBlock("BetaTwo"));

    // A damaged local copy is simply fetched again.
    const char junk[] = "not a record";
    ASSERT_TRUE(CresourceFile::writeFileAtomic(f.steam.eng->savePath(Cworkshop::localItemName(a)), junk, sizeof junk));
    f.sync();
    EXPECT_EQ(f.imports.size(), 2u);
    EXPECT_EQ(steamLocal::counters().ugcDownloadCalls, 4);
}

TEST(Workshop, SubscribedListsArePagedByFifty) {
    Cfixture f;
    Cbytes file = shipRecord(shipBlock("Many"), {});
    int count = 0;
    for (int target : {49, 50, 51}) {
        SCOPED_TRACE(target);
        for (; count < target; ++count) f.addOther("Many", file);
        // A second sync starts again from the first page.
        for (int sync = 0; sync < 2; ++sync) {
            int before = steamLocal::counters().enumerateCalls;
            f.sync();
            EXPECT_EQ((int)f.imports.size(), count);
            EXPECT_EQ(steamLocal::counters().enumerateCalls - before, count >= 50 ? 2 : 1);
        }
    }
}

// A failed list or download ends the sync with its text and imports nothing;
// a failed download does not stop the others being tried.
TEST(Workshop, ListAndItemFailuresAreReported) {
    struct Ccase { const char* call; int code; const char* text; int downloads; } cases[] = {
        {"EnumerateUserSubscribedFiles", 3, " = 3 no/failed network connection", 0},
        {"UGCDownload", 16, " = 16 operation timed out", 2},
        {nullptr, 0, "WS_IOFailureError", -1},
    };
    for (const Ccase& c : cases) {
        Cfixture f;
        f.addOther("Alpha", shipRecord(shipBlock("Alpha"), {}));
        f.addOther("Beta", shipRecord(shipBlock("Beta"), {}));
        if (c.call) steamLocal::faults().callResults[c.call] = c.code;
        else steamLocal::faults().ioFailure = true;
        f.sync();
        EXPECT_EQ(f.ws.state, Cworkshop::STATE_IDLE);
        EXPECT_TRUE(f.ws.hasError);
        EXPECT_EQ(f.ws.errorText, c.text);
        EXPECT_TRUE(f.imports.empty());
        if (c.downloads >= 0) EXPECT_EQ(steamLocal::counters().ugcDownloadCalls, c.downloads) << c.text;
    }
}

TEST(Workshop, HostileOrRefusedItemsAreNotKeptAndLongTextsAreCut) {
    Cfixture f;
    Cbytes shortBlock = shipBlock("Short"), longBlock = shipBlock("Long"), png = pngBytes(16, 16);
    shortBlock.pop_back();
    longBlock.push_back(0);
    Cbytes tallPng = png, heavyPng = png, brokenPng(png.begin(), png.begin() + 40);
    tallPng[20] = 0x01;   // claims 65,536 pixels high
    heavyPng.resize(Cworkshop::kMaxHullBytes + 1, 0);
    const Cbytes ship = shipBlock("Bad");
    const std::vector<Cbytes> files = {
        shipRecord(shortBlock, {}),        shipRecord(longBlock, {}),     shipRecord(ship, {}, 4),
        shipRecord(ship, pngBytes(300, 10)), shipRecord(ship, tallPng),   shipRecord(ship, heavyPng),
        shipRecord(ship, Cbytes(100, 'x')), shipRecord(ship, brokenPng),  Cbytes(64, 0xEE),
    };
    std::vector<uint64_t> ids;
    for (const auto& file : files) ids.push_back(f.addOther("Bad", file));
    // The game refuses one; long texts are cut to their fields.
    ids.push_back(f.addOther("Refused", shipRecord(shipBlock("Refused"), {})));
    uint64_t good = steamLocal::addWorkshopItem(kOtherPlayer, std::string(200, 'T'), std::string(9000, 'D'),
                                                shipRecord(shipBlock("Good"), pngBytes(256, 256)), {});
    ASSERT_TRUE(steamLocal::subscribeWorkshopItem(good));
    f.ws.onImport = [&](const CworkshopShipItem& item) {
        f.imports.push_back(item);
        return item.publishedId != ids.back();
    };
    f.sync();
    ASSERT_EQ(f.imports.size(), 2u);
    EXPECT_EQ(f.imports[1].publishedId, good);
    EXPECT_EQ(f.imports[1].title, std::string(49, 'T'));
    EXPECT_EQ(f.imports[1].description, std::string(999, 'D'));
    for (uint64_t id : ids) EXPECT_FALSE(fileExistsW(f.steam.eng->savePath(Cworkshop::localItemName(id)))) << id;
    EXPECT_TRUE(fileExistsW(f.steam.eng->savePath(Cworkshop::localItemName(good))));
}
