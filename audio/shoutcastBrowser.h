#pragma once
// CshoutcastBrowser: the SHOUTcast radio directory. Each request appends its
// stations or genres to the browser's station list; replies are cached per
// request for the rest of the run. The host, the developer key and the
// tune-in host come from "musicServices.txt"; without a key nothing is asked.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "audio/songPackInfo.h"

class CshoutcastBrowser {
public:
    bool init();
    void update() {}
    void shutdown() { cache_.clear(); stations.clear(); }

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
    bool request(const std::string& object, bool genres);
    std::string baseUrl(const std::string& h) const;
    std::map<std::string, std::vector<CradioStation>> cache_;
};

// One HTTP GET over libcurl: true on status 200, the body at most maxBytes.
bool httpGetText(const std::string& url, std::string& body, std::string& error, long timeoutSeconds,
                 size_t maxBytes = 8u << 20);
