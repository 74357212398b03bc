#include "audio/shoutcastBrowser.h"

#include <curl/curl.h>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/resourceFile.h"
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

std::string escape(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
            out.push_back((char)c);
        } else {
            char b[4];
            snprintf(b, sizeof b, "%%%02X", c);
            out += b;
        }
    }
    return out;
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
    CresourceFile f;
    if (f.open("textFiles/musicServices.txt", RF_DATA | RF_QUIET)) {
        const char* c = f.text();
        std::string tok, value;
        while (Cengine::readToken(tok, c) && !equalsIgnoreCase(tok, "EndFile")) {
            if (!Cengine::readToken(value, c)) break;
            if (equalsIgnoreCase(tok, "ShoutcastHost")) host = value;
            else if (equalsIgnoreCase(tok, "ShoutcastKey")) key = value;
            else if (equalsIgnoreCase(tok, "ShoutcastTuneInHost")) tuneInHost = value;
        }
    }
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

bool CshoutcastBrowser::request(const std::string& object, bool genres) {
    if (key.empty()) {
        gEngine->log.print(LOG_L, "Radio directory: no key set");
        return false;
    }
    std::string url = baseUrl(host) + object;
    auto hit = cache_.find(url);
    if (hit != cache_.end()) {
        stations.insert(stations.end(), hit->second.begin(), hit->second.end());
        return true;
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
    cache_[url] = got;
    stations.insert(stations.end(), got.begin(), got.end());
    return true;
}

bool CshoutcastBrowser::getTop500() { return request("/legacy/Top500?k=" + escape(key) + "&limit=500", false); }

bool CshoutcastBrowser::getPrimaryGenres() { return request("/genre/primary?k=" + escape(key) + "&f=xml", true); }

bool CshoutcastBrowser::getSecondaryGenres(int parentId) {
    return request("/genre/secondary?parentid=" + std::to_string(parentId) + "&k=" + escape(key) + "&f=xml", true);
}

bool CshoutcastBrowser::getStationsByGenre(int genreId) {
    return request("/station/advancedsearch?genre_id=" + std::to_string(genreId) + "&limit=500&f=xml&k=" + escape(key),
                   false);
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
