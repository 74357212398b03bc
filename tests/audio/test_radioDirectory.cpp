#include <gtest/gtest.h>

#include <SDL.h>

#include <mutex>
#include <utility>

#include "audio/shoutcastBrowser.h"
#include "audio/songInfoMgr.h"
#include "support/localHttpServer.h"
#include "support/testEngine.h"

namespace {
// Replies as the directory sends them (trimmed).
const char* kTop500 =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
    "<stationlist><tunein base=\"/sbin/tunein-station.pls\" base-m3u=\"/sbin/tunein-station.m3u\" "
    "base-xspf=\"/sbin/tunein-station.xspf\"/>"
    "<station name=\"Hits &amp; More %s\" mt=\"audio/mpeg\" id=\"1001\" br=\"128\" genre=\"Pop\" "
    "ct=\"Band - Song\" lc=\"5120\"/>"
    "<station name=\"Jazz Caf\xc3\xa9\" mt=\"audio/aacp\" id=\"1002\" br=\"64\" genre=\"Jazz\" lc=\"77\"/>"
    "<station name=\"\" id=\"1003\" br=\"64\"/>"
    "<station name=\"No id\" br=\"64\"/>"
    "</stationlist>";
const char* kPrimary =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><response><statusCode>200</statusCode><statusText>Ok</statusText>"
    "<data><genrelist><genre name=\"Alternative\" id=\"1\" haschildren=\"true\" parentid=\"0\"/>"
    "<genre name=\"Blues\" id=\"24\" haschildren=\"true\" parentid=\"0\"/></genrelist></data></response>";
const char* kSecondary =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><response><statusCode>200</statusCode><data><genrelist>"
    "<genre name=\"Adult Alternative\" id=\"2\" haschildren=\"false\" parentid=\"1\"/>"
    "<genre name=\"Britpop\" id=\"3\" haschildren=\"false\" parentid=\"1\"/></genrelist></data></response>";
const char* kByGenre =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><response><statusCode>200</statusCode><data><stationlist>"
    "<tunein base=\"/sbin/tunein-station.pls\"/>"
    "<station name=\"Indie Now\" mt=\"audio/mpeg\" id=\"2001\" br=\"192\" genre=\"Alternative\" lc=\"9\"/>"
    "</stationlist></data></response>";

// The directory's reply to a request, or an empty one where it has none.
ChttpResponse replyTo(const std::string& path) {
    ChttpResponse r;
    r.contentType = "text/xml";
    r.status = 404;
    const std::pair<const char*, const char*> routes[] = {{"/legacy/Top500", kTop500},
                                                          {"/genre/primary", kPrimary},
                                                          {"/genre/secondary", kSecondary},
                                                          {"/station/advancedsearch", kByGenre}};
    for (const auto& [prefix, body] : routes)
        if (path.rfind(prefix, 0) == 0) {
            r.body = body;
            r.status = 200;
        }
    return r;
}
}  // namespace

TEST(RadioDirectory, BrokenOrUnexpectedRepliesAddNothing) {
    CtestEngine eng(false);
    std::vector<CradioStation> none;
    EXPECT_FALSE(CshoutcastBrowser::parseStations("<stationlist><station name=\"x\" id=\"1\"", "http://t", none));
    EXPECT_FALSE(CshoutcastBrowser::parseStations(kPrimary, "http://t", none));
    EXPECT_FALSE(CshoutcastBrowser::parseGenres("<html>Service unavailable</html>", none));
    EXPECT_FALSE(CshoutcastBrowser::parseGenres("", none));
    EXPECT_TRUE(none.empty());
}

TEST(RadioDirectory, RequestsToALocalServerAreCachedPerRequest) {
    CtestEngine eng;
    bool failNext = false;
    ClocalHttpServer server([&](const ChttpRequest& req) {
        ChttpResponse r = replyTo(req.path);
        if (std::exchange(failNext, false)) r.status = 500;
        return r;
    });
    CshoutcastBrowser sc;
    sc.init();
    sc.host = server.hostPort();
    sc.tuneInHost = "";   // playlists from the same host
    sc.key = "K&Y";
    sc.timeoutSeconds = 5;

    ASSERT_TRUE(sc.getTop500());
    ASSERT_EQ(sc.stations.size(), 2u);   // the nameless and id-less rows are dropped
    EXPECT_EQ(sc.stations[0].name, "Hits & More %s");
    EXPECT_EQ(sc.stations[1].name, "Jazz Caf\xc3\xa9");
    EXPECT_EQ(sc.stations[0].station, server.url() + "/sbin/tunein-station.pls?id=1001");
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].path, "/legacy/Top500?k=K%26Y&limit=500");
    // The same request again comes from the cache and appends again.
    ASSERT_TRUE(sc.getTop500());
    EXPECT_EQ(sc.stations.size(), 4u);
    EXPECT_EQ(server.requests().size(), 1u);

    sc.clear();
    ASSERT_TRUE(sc.getPrimaryGenres());
    ASSERT_TRUE(sc.getSecondaryGenres(1));
    ASSERT_TRUE(sc.getStationsByGenre(1));
    ASSERT_EQ(sc.stations.size(), 5u);
    EXPECT_NE(sc.stations[2].genreFlag, 0);
    EXPECT_EQ(sc.stations[4].name, "Indie Now");
    auto reqs = server.requests();
    ASSERT_EQ(reqs.size(), 4u);
    EXPECT_EQ(reqs[3].path, "/station/advancedsearch?genre_id=1&limit=500&f=xml&k=K%26Y");

    // A failed request adds nothing, is not cached, and a later one works.
    sc.clear();
    failNext = true;
    EXPECT_FALSE(sc.getSecondaryGenres(24));
    EXPECT_TRUE(sc.stations.empty());
    EXPECT_TRUE(sc.getSecondaryGenres(24));
    CsongInfoMgr lib;
    EXPECT_EQ(lib.addRadioStation(sc.stations[0]), nullptr);   // a genre row is no station for the library
}

TEST(RadioDirectory, ListsArriveInTheBackgroundAndALaterAskWins) {
    CtestEngine eng;
    std::mutex gate;
    gate.lock();   // holds the directory's replies until the test lets go
    ClocalHttpServer server([&](const ChttpRequest& req) {
        if (req.path.rfind("/legacy/Top500", 0) == 0) std::lock_guard<std::mutex> wait(gate);
        ChttpResponse r = replyTo(req.path);
        if (req.path.rfind("/genre/secondary", 0) == 0) r.status = 503;
        return r;
    });
    CshoutcastBrowser sc;
    sc.host = server.hostPort();
    sc.tuneInHost = "";
    sc.key = "k";
    sc.timeoutSeconds = 10;

    // A directory that does not answer leaves every poll returning at once.
    sc.addStation("Old", "http://old.example", 1, 1, "x");
    sc.requestList({{CradioQuery::TOP_500, 0}});
    EXPECT_TRUE(sc.stations.empty());
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(sc.pollList());
    // Asked for the genres meanwhile: the top list, once it comes, is dropped.
    sc.requestList({{CradioQuery::SECONDARY_GENRES, 1}, {CradioQuery::STATIONS_BY_GENRE, 1}});
    gate.unlock();
    ASSERT_TRUE(waitUntil([&] { return sc.pollList(); }));
    // The failed secondary request adds nothing; the stations still come.
    ASSERT_EQ(sc.stations.size(), 1u);
    EXPECT_EQ(sc.stations[0].name, "Indie Now");
    EXPECT_FALSE(sc.pollList());   // nothing more pending

    // The top list was fetched once and is cached: no second request.
    size_t before = server.requests().size();
    sc.requestList({{CradioQuery::TOP_500, 0}});
    ASSERT_TRUE(waitUntil([&] { return sc.pollList(); }));
    EXPECT_EQ(sc.stations.size(), 2u);   // the top list
    EXPECT_EQ(server.requests().size(), before);
}
