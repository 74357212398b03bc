// CplatformSteam through the local client: start-up, currency, identity,
// cloud files through the save layer, the overlay, and the friends lookup.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "engine/resourceFile.h"
#include "engine/saveFile.h"
#include "services/steamServices.h"
#include "support/steamTestClient.h"

namespace {

struct CfriendSeen {
    int type;
    int64_t id;
    std::string name;
};

// The services wired to recording seams, as the game wires them to the
// web-service client, its friend list and analytics.
struct CsteamFixture {
    explicit CsteamFixture(const std::string& country = "") {
        if (!country.empty()) gEngine->countryCode = country;
        s.platform.webPlayerId = [this] { return playerId; };
        s.platform.addFriend = [this](int type, int64_t id, const std::string& name) {
            friends.push_back({type, id, name});
        };
        s.platform.friendCount = [this] { return (int)friends.size(); };
        s.platform.sendEvent = [this](const char*, const char*, const char*) { ++events; };
        s.platform.timePlayedSeconds = [] { return 7200.0; };
    }
    void runUpdates(int n) {
        for (int i = 0; i < n; ++i) s.update();
    }
    CsteamTestClient steam;
    CsteamServices s;
    int64_t playerId = 4242;
    std::vector<CfriendSeen> friends;
    int events = 0;
};

int indexOfLine(const std::string& text) {
    auto lines = gEngine->log.recentLines();
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].text == text) return (int)i;
    return -1;
}

// A player on the marker board with the details another game would upload:
// the text padded to 63 ints; a friend too when named.
void addMarker(uint64_t id, const std::string& text, const std::string& friendName = "") {
    if (!friendName.empty()) ASSERT_TRUE(steamLocal::addFriend(id, friendName));
    std::vector<int32_t> d(63, 0);
    memcpy(d.data(), text.data(), std::min(text.size(), d.size() * 4));
    ASSERT_TRUE(steamLocal::addBoardEntry("FriendOwnsGame", id, 100, d.data(), d.size() * 4));
}

}  // namespace

TEST(SteamPlatform, StartsWithItsLogLinesAndPicksTheCurrency) {
    // Country codes match in any case; a country without a row keeps USD.
    for (auto [country, currency] : {std::pair{"gb", "GBP"}, {"LX", "USD"}}) {
        CsteamFixture f(country);
        f.s.platform.appId = 777;   // set before start-up: reported
        ASSERT_TRUE(f.s.init());
        int init = indexOfLine("Steam Init"), success = indexOfLine("Steam Success");
        ASSERT_GE(init, 0);
        EXPECT_GT(success, init);
        EXPECT_STREQ(f.s.platform.currency, currency);
        EXPECT_EQ(gEngine->currency, currency);
        EXPECT_EQ(steamLocal::counters().overlayNotificationPosition, 0);
        EXPECT_EQ(SteamUtils()->GetAppID(), 777u);
        EXPECT_EQ(gEngine->steamId, steamLocal::localSteamId());
    }
}

TEST(SteamPlatform, InitFailureLeavesTheErrorAsTheLastLine) {
    CsteamFixture f;
    steamLocal::faults().initFails = true;
    EXPECT_FALSE(f.s.init());
    EXPECT_EQ(gEngine->log.recentLines().back().text, "Error Starting Steam API - Is Steam running?");
    EXPECT_EQ(gEngine->log.recentLines().back().level, LOG_E);
    EXPECT_STREQ(f.s.platform.currency, "USD");
    EXPECT_EQ(gEngine->currency, "?");
}

// Names are cut to 29 bytes, never inside a letter.
TEST(SteamPlatform, PersonaNameAndSteamIdTexts) {
    CsteamFixture f;
    ASSERT_TRUE(f.s.init());
    for (auto [persona, shown] : {std::pair{std::string(29, 'a'), std::string(29, 'a')},
                                  {std::string(29, 'b') + "c", std::string(29, 'b')},
                                  {std::string(28, 'x') + "\xc3\xa9", std::string(28, 'x')}}) {
        steamLocal::setPersonaName(persona);
        EXPECT_EQ(f.s.platform.getSteamName().str(), shown);
    }
    std::string id = std::to_string((long long)steamLocal::localSteamId());
    for (int i = 0; i < 2; ++i) EXPECT_EQ(f.s.platform.getSteamIdString().str(), id);
}

// Without the friends, utilities, storage or statistics interfaces: no name,
// no overlay position, the cloud calls fail quietly and the friends lookup
// asks nothing.
TEST(SteamPlatform, MissingInterfacesAreDoneWithout) {
    CsteamFixture f;
    steamLocal::faults().missingInterfaces = {kSteamFriendsVersion, kSteamUtilsVersion, kSteamRemoteStorageVersion,
                                              kSteamUserStatsVersion};
    ASSERT_TRUE(f.s.init());
    EXPECT_EQ(f.s.platform.getSteamName().str(), "");
    EXPECT_EQ(steamLocal::counters().overlayNotificationPosition, -1);
    EXPECT_EQ(f.s.platform.remoteStorage, nullptr);
    EXPECT_FALSE(f.s.platform.saveToCloud("x", "abc", 3));
    EXPECT_EQ(f.s.platform.loadFromCloud("x"), 0u);
    f.s.startFriendsLookup();
    f.runUpdates(4);
    EXPECT_EQ(steamLocal::counters().findCalls, 0);
}

TEST(SteamPlatform, CloudFilesThroughTheSaveLayerAndBadOnesRefused) {
    CsteamFixture f;
    ASSERT_TRUE(f.s.init());
    struct Crec { int32_t xp; char name[12]; } rec{1234, "pilot"};
    CsaveFile save("gamesave3", true);
    save.addRecord("progress", &rec, sizeof rec);
    ASSERT_TRUE(save.saveItems());

    // The local copy goes; the cloud copy brings the record back.
    ASSERT_TRUE(removeFile(gEngine->savePath("gamesave3")));
    rec = {0, ""};
    ASSERT_TRUE(save.loadItems());
    EXPECT_EQ(rec.xp, 1234);
    EXPECT_STREQ(rec.name, "pilot");

    // A damaged cloud file: refused, the local file is read instead.
    ASSERT_TRUE(save.saveItems());
    ASSERT_TRUE(SteamRemoteStorage()->FileWrite("gamesave3", "garbage!garbage!", 16));
    EXPECT_EQ(f.s.platform.loadFromCloud("gamesave3"), 0u);
    rec = {0, ""};
    ASSERT_TRUE(save.loadItems());
    EXPECT_EQ(rec.xp, 1234);

    // A cut-short file and a failed read are refused.
    Cbytes packed = CwebMessage::pack(0, "0123456789abcdef", 16);
    ASSERT_TRUE(SteamRemoteStorage()->FileWrite("short", packed.data(), (int32_t)packed.size() - 3));
    EXPECT_EQ(f.s.platform.loadFromCloud("short"), 0u);
    ASSERT_TRUE(f.s.platform.saveToCloud("whole", "0123456789abcdef", 16));
    steamLocal::faults().readFails = true;
    EXPECT_EQ(f.s.platform.loadFromCloud("whole"), 0u);
    // There but unreadable is not "none": the save layer must not write over it.
    Cbytes got;
    EXPECT_EQ(gEngine->cloudLoad("whole", got), CLOUD_UNREADABLE);
    steamLocal::faults().readFails = false;
    EXPECT_EQ(gEngine->cloudLoad("nothing", got), CLOUD_NONE);

    // A cloud write that fails is logged, and the local file is still written.
    steamLocal::faults().writeFails = true;
    ASSERT_TRUE(removeFile(gEngine->savePath("gamesave3")));
    EXPECT_TRUE(save.saveItems());
    EXPECT_TRUE(fileExistsW(gEngine->savePath("gamesave3")));
    EXPECT_TRUE(gEngine->log.containsPart("Save to cloud Failed: "));
}

TEST(SteamPlatform, FriendsWhoOwnTheGameFromTheMarkerBoard) {
    CsteamFixture f;
    ASSERT_TRUE(f.s.init());
    uint64_t me = steamLocal::localSteamId();
    // Markers that are no player id are skipped; one that fills all 63 ints
    // with no zero is read to its end.
    const std::pair<std::string, std::string> others[] = {{"Alice", "555"}, {std::string(31, 'L'), "777"},
                                                          {"Zero", "0"},    {"Minus", "-5"}, {"Words", "none"},
                                                          {"Long", "9876" + std::string(248, 'z')}};
    for (size_t i = 0; i < std::size(others); ++i) addMarker(me + 1 + i, others[i].second, others[i].first);
    addMarker(me + 50, "999");   // not a friend

    f.s.startFriendsLookup();
    f.runUpdates(4);
    EXPECT_EQ(steamLocal::counters().uploadCalls, 1);
    // The player's own marker is on the board: 6 friends and the player.
    EXPECT_TRUE(gEngine->log.contains("Got Steam Friends. Num=7"));
    EXPECT_STREQ(f.s.leaderboards.boards[0].details, "4242");

    std::set<std::pair<int64_t, std::string>> got;
    for (const auto& fr : f.friends) {
        EXPECT_EQ(fr.type, kSteamFriendType);
        got.insert({fr.id, fr.name});
    }
    std::set<std::pair<int64_t, std::string>> want = {{555, "Alice"}, {777, std::string(29, 'L')}, {9876, "Long"},
                                                      {4242, cutPersonaName(SteamFriends()->GetPersonaName())}};
    EXPECT_EQ(got, want);
    EXPECT_EQ(f.events, 0);   // 4 friends: no analytics event
}

TEST(SteamPlatform, MarkerWaitsForTheBoardHandle) {
    CsteamFixture f;
    ASSERT_TRUE(f.s.init());
    steamLocal::faults().findFails = true;
    f.s.startFriendsLookup();
    f.runUpdates(3);
    EXPECT_TRUE(f.s.platform.markerUploadPending);   // still waiting: the board has no handle
    EXPECT_EQ(steamLocal::counters().uploadCalls, 0);
    steamLocal::faults().findFails = false;
    f.s.leaderboards.findNextBoard();
    f.runUpdates(4);
    EXPECT_EQ(steamLocal::counters().uploadCalls, 1);
    EXPECT_TRUE(gEngine->log.contains("Got Steam Friends. Num=1"));
}
