#pragma once
// CshoutcastBrowser: the SHOUTcast radio directory. Each request appends its
// stations or genres to the browser's station list; replies are cached per
// request for the rest of the run. The host, the developer key and the
// tune-in host come from "musicServices.txt"; without a key nothing is asked.
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "audio/songPackInfo.h"
#include "engine/threadTask.h"

// One directory request of a station list (see CshoutcastBrowser::requestList).
struct CradioQuery {
    enum Ekind { TOP_500, PRIMARY_GENRES, SECONDARY_GENRES, STATIONS_BY_GENRE } kind = TOP_500;
    int id = 0;   // the parent genre or the genre
};

class CshoutcastBrowser {
public:
    CshoutcastBrowser() = default;
    ~CshoutcastBrowser() { task_.join(); }   // the task writes into members
    CshoutcastBrowser(const CshoutcastBrowser&) = delete;
    CshoutcastBrowser& operator=(const CshoutcastBrowser&) = delete;

    bool init();
    void update() {}
    void shutdown();

    // A station list made of these requests in order, fetched on a background
    // task so that a slow or dead directory never holds up a frame. It replaces
    // any list asked for before; the station list is emptied at once and
    // filled when pollList reports the new list.
    void requestList(const std::vector<CradioQuery>& queries);
    // Main thread, each update: true once the list asked for last has arrived
    // in stations (requests that failed add nothing and are logged).
    bool pollList();
    bool listPending() const { return listPending_; }

    // The same requests answered at once, appending to stations.

    bool getTop500();
    bool getPrimaryGenres();
    bool getSecondaryGenres(int parentId);
    bool getStationsByGenre(int genreId);
    void addStation(const std::string& name, const std::string& station, int32_t bitrate, int32_t listeners,
                    const std::string& genre);
    void clear() { stations.clear(); }

    // The reply forms; tuneIn is the "http://host" the playlists come from.
    static bool parseStations(const std::string& xml, const std::string& tuneIn, std::vector<CradioStation>& out);
    static bool parseGenres(const std::string& xml, std::vector<CradioStation>& out);

    std::vector<CradioStation> stations;   // the station list the radio browser shows
    std::string host = "api.shoutcast.com";
    std::string key;
    std::string tuneInHost = "yp.shoutcast.com";
    long timeoutSeconds = 8;
    // The GET under every request; a libcurl one unless replaced.
    std::function<bool(const std::string& url, std::string& body, std::string& error)> fetch;

private:
    bool request(const std::string& object, bool genres, std::vector<CradioStation>& out);
    bool runQuery(const CradioQuery& q, std::vector<CradioStation>& out);
    void launchList();
    std::string baseUrl(const std::string& h) const;
    std::mutex cacheMutex_;
    std::map<std::string, std::vector<CradioStation>> cache_;
    CthreadTask task_{"RadioDirectory"};
    std::vector<CradioQuery> wanted_;
    std::vector<CradioStation> fetched_;   // written by the task only while it runs
    uint32_t wantedSerial_ = 0, fetchingSerial_ = 0;
    bool listPending_ = false;
};

// One HTTP GET over libcurl: true on status 200, the body at most maxBytes.
bool httpGetText(const std::string& url, std::string& body, std::string& error, long timeoutSeconds,
                 size_t maxBytes = 8u << 20);
