#include "audio/shoutcastBrowser.h"

#include <curl/curl.h>

#include "engine/configFile.h"
#include "engine/engine.h"
#include "engine/http.h"
#include "engine/wrappers/xmlReader.h"

namespace {
struct Csink {
    std::string* body;
    size_t max;
    bool overflow = false;
};

size_t writeBody(char* data, size_t size, size_t count, void* user) {
    auto* s = (Csink*)user;
    size_t n = size * count;
    if (s->body->size() + n > s->max) {
        s->overflow = true;
        return 0;
    }
    s->body->append(data, n);
    return n;
}
}  // namespace

bool httpGetText(const std::string& url, std::string& body, std::string& error, long timeoutSeconds, size_t maxBytes) {
    body.clear();
    error.clear();
    CURL* curl = curl_easy_init();
    if (!curl) {
        error = "no curl handle";
        return false;
    }
    Csink sink{&body, maxBytes};
    char errbuf[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &writeBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errbuf);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, timeoutSeconds < 4 ? timeoutSeconds : 4L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, timeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 3L);
#if LIBCURL_VERSION_NUM >= 0x075500
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
#endif
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Zorbex");
    CURLcode rc = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(curl);
    if (sink.overflow) {
        error = "reply too large";
        return false;
    }
    if (rc != CURLE_OK) {
        error = errbuf[0] ? errbuf : curl_easy_strerror(rc);
        return false;
    }
    if (status != 200) {
        error = "HTTP status " + std::to_string(status);
        return false;
    }
    return true;
}

bool CshoutcastBrowser::init() {
    CconfigFile services;
    services.load("musicServices.txt", true);
    host = services.get("ShoutcastHost", host);
    key = services.get("ShoutcastKey", key);
    tuneInHost = services.get("ShoutcastTuneInHost", tuneInHost);
    return true;
}

std::string CshoutcastBrowser::baseUrl(const std::string& h) const {
    if (h.find("://") != std::string::npos) return h;
    return "http://" + h;
}

bool CshoutcastBrowser::parseStations(const std::string& xml, const std::string& tuneIn, std::vector<CradioStation>& out) {
    CxmlReader r;
    if (!r.parse(xml)) return false;
    std::vector<CxmlElement> lists = r.findAll("stationlist");
    if (lists.empty()) return false;
    std::string base = "/sbin/tunein-station.pls";
    std::vector<CxmlElement> tunein = r.findAll("tunein");
    if (!tunein.empty() && *tunein[0].attr("base")) base = tunein[0].attr("base");
    for (const CxmlElement& s : r.findAll("station")) {
        CradioStation st;
        st.name = s.attr("name");
        int id = s.attrInt("id", 0);
        if (st.name.empty() || id <= 0) continue;
        st.station = tuneIn + base + (base.find('?') == std::string::npos ? "?id=" : "&id=") + std::to_string(id);
        st.bitrate = s.attrInt("br", 0);
        st.listeners = s.attrInt("lc", 0);
        st.genre = s.attr("genre");
        out.push_back(std::move(st));
    }
    return true;
}

bool CshoutcastBrowser::parseGenres(const std::string& xml, std::vector<CradioStation>& out) {
    CxmlReader r;
    if (!r.parse(xml)) return false;
    if (r.findAll("genrelist").empty()) return false;
    for (const CxmlElement& g : r.findAll("genre")) {
        CradioStation st;
        st.genreFlag = 1;
        st.name = g.attr("name");
        st.genreId = g.attrInt("id", 0);
        if (st.name.empty() || st.genreId <= 0) continue;
        st.genre = st.name;
        out.push_back(std::move(st));
    }
    return true;
}

bool CshoutcastBrowser::request(const std::string& object, bool genres, std::vector<CradioStation>& out) {
    if (key.empty()) {
        gEngine->log.print(LOG_L, "Radio directory: no key set");
        return false;
    }
    std::string url = baseUrl(host) + object;
    {
        std::lock_guard<std::mutex> lock(cacheMutex_);
        auto hit = cache_.find(url);
        if (hit != cache_.end()) {
            out.insert(out.end(), hit->second.begin(), hit->second.end());
            return true;
        }
    }
    std::string body, error;
    bool ok = fetch ? fetch(url, body, error) : httpGetText(url, body, error, timeoutSeconds);
    if (!ok) {
        gEngine->log.print(LOG_E, "Radio directory: %s failed: %s", object.c_str(), error.c_str());
        return false;
    }
    std::vector<CradioStation> got;
    std::string tuneIn = baseUrl(tuneInHost.empty() ? host : tuneInHost);
    if (!(genres ? parseGenres(body, got) : parseStations(body, tuneIn, got))) {
        gEngine->log.print(LOG_E, "Radio directory: bad reply to %s", object.c_str());
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(cacheMutex_);
        cache_[url] = got;
    }
    out.insert(out.end(), got.begin(), got.end());
    return true;
}

bool CshoutcastBrowser::runQuery(const CradioQuery& q, std::vector<CradioStation>& out) {
    std::string k = percentEncode(key);
    switch (q.kind) {
        case CradioQuery::TOP_500:
            return request("/legacy/Top500?k=" + k + "&limit=500", false, out);
        case CradioQuery::PRIMARY_GENRES:
            return request("/genre/primary?k=" + k + "&f=xml", true, out);
        case CradioQuery::SECONDARY_GENRES:
            return request("/genre/secondary?parentid=" + std::to_string(q.id) + "&k=" + k + "&f=xml", true, out);
        case CradioQuery::STATIONS_BY_GENRE:
            return request("/station/advancedsearch?genre_id=" + std::to_string(q.id) + "&limit=500&f=xml&k=" + k,
                           false, out);
    }
    return false;
}

bool CshoutcastBrowser::getTop500() { return runQuery({CradioQuery::TOP_500, 0}, stations); }

bool CshoutcastBrowser::getPrimaryGenres() { return runQuery({CradioQuery::PRIMARY_GENRES, 0}, stations); }

bool CshoutcastBrowser::getSecondaryGenres(int parentId) {
    return runQuery({CradioQuery::SECONDARY_GENRES, parentId}, stations);
}

bool CshoutcastBrowser::getStationsByGenre(int genreId) {
    return runQuery({CradioQuery::STATIONS_BY_GENRE, genreId}, stations);
}

void CshoutcastBrowser::requestList(const std::vector<CradioQuery>& queries) {
    wanted_ = queries;
    ++wantedSerial_;
    listPending_ = true;
    stations.clear();
    if (!task_.running()) launchList();   // else started once the running list is in
}

void CshoutcastBrowser::launchList() {
    task_.join();
    task_.reset();
    fetched_.clear();
    fetchingSerial_ = wantedSerial_;
    std::vector<CradioQuery> queries = wanted_;
    task_.start([this, queries] {
        bool ok = true;
        for (const CradioQuery& q : queries) ok = runQuery(q, fetched_) && ok;
        return ok;
    });
}

bool CshoutcastBrowser::pollList() {
    if (!listPending_ || !task_.finished()) return false;
    task_.join();
    if (fetchingSerial_ != wantedSerial_) {   // asked for another list meanwhile
        launchList();
        return false;
    }
    stations = std::move(fetched_);
    fetched_.clear();
    task_.reset();
    listPending_ = false;
    return true;
}

void CshoutcastBrowser::shutdown() {
    task_.join();
    task_.reset();
    listPending_ = false;
    std::lock_guard<std::mutex> lock(cacheMutex_);
    cache_.clear();
    stations.clear();
}

void CshoutcastBrowser::addStation(const std::string& name, const std::string& station, int32_t bitrate,
                                   int32_t listeners, const std::string& genre) {
    CradioStation s;
    s.name = name;
    s.station = station;
    s.bitrate = bitrate;
    s.listeners = listeners;
    s.genre = genre;
    stations.push_back(std::move(s));
}
