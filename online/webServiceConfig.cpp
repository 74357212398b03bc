#include "online/webServiceConfig.h"

#include <arpa/inet.h>

#include "engine/bString.h"
#include "engine/configFile.h"
#include "engine/engine.h"
#include "engine/resourceFile.h"

const char* k4wResultText(int code) {
    switch (code) {
        case K4W_OK: return "OK";
        case K4W_BAD_LOGIN: return "Unknown account or wrong password";
        case K4W_ACCOUNT_EXISTS: return "Account already exists";
        case K4W_BAD_TOKEN: return "Not authorised";
        case K4W_NOT_FOUND: return "Not found";
        case K4W_BAD_REQUEST: return "Bad request";
        case K4W_REFUSED: return "Refused";
        case K4W_NO_CONNECTION: return "Can't reach the web service";
        case K4W_TIMEOUT: return "The web service did not answer in time";
        case K4W_BAD_REPLY: return "Bad reply from the web service";
        case K4W_SERVICE_OFF: return "Web service is off";
        case K4W_NOT_STARTED: return "Web service client not started";
        case K4W_NOT_SIGNED_IN: return "Not signed in";
        case K4W_ABORTED: return "Cut off: the game is quitting";
        default: return "Unknown error";
    }
}

bool k4wPasswordTransportSafe(const CwebServiceConfig& c) {
    if (c.scheme == "https") return true;
    if (equalsIgnoreCase(c.host, "localhost")) return true;
    in_addr a4;
    if (inet_pton(AF_INET, c.host.c_str(), &a4) == 1) return (ntohl(a4.s_addr) >> 24) == 127;
    in6_addr a6;
    if (inet_pton(AF_INET6, c.host.c_str(), &a6) == 1) return IN6_IS_ADDR_LOOPBACK(&a6);
    return false;
}

bool CwebServiceConfig::load(const std::string& fileName) {
    CresourceFile file;
    if (!file.open("textFiles/" + fileName, RF_DATA)) return false;
    return parse(file.text());
}

bool CwebServiceConfig::parse(const char* text) {
    CconfigFile file("WebService");
    if (!file.parse(text, "webService")) return false;
    std::vector<std::string> unknown =
        file.unknownKeys({"Scheme", "CaFile", "Host", "Port", "Path", "StartTimeout", "ConnectTimeout", "IoTimeout", "StallTimeout", "Retries", "MaxReply",
                          "FixedBoardTop", "TrackBoardTop", "BoardRefresh", "RewardPlaces"});
    if (!unknown.empty()) {
        gEngine->log.print(LOG_L, "webService: unknown keyword '%s'", unknown[0].c_str());
        return false;
    }
    CwebServiceConfig c = *this;
    c.scheme = file.get("Scheme", c.scheme);
    for (char& ch : c.scheme) ch = (char)tolower((unsigned char)ch);
    if (c.scheme != "https" && c.scheme != "http") {
        gEngine->log.print(LOG_E, "webService: Scheme must be https or http, not '%s'", c.scheme.c_str());
        return false;
    }
    c.caFile = file.get("CaFile", c.caFile);
    c.host = file.get("Host", c.host);
    c.path = file.get("Path", c.path);
    // Every number is refused outside its range (the file is then not used).
    constexpr int64_t kDay = 24 * 3600;
    bool numbersOk = file.getIntIn("Port", 1, 65535, c.port) && file.getIntIn("StartTimeout", 0, 600, c.startTimeout) &&
                     file.getIntIn("ConnectTimeout", 0, 600, c.connectTimeout) &&
                     file.getIntIn("IoTimeout", 0, 3600, c.ioTimeout) &&
                     file.getIntIn("StallTimeout", 0, 3600, c.stallTimeout) && file.getIntIn("Retries", 0, 100, c.retries) &&
                     file.getIntIn("MaxReply", 0, kMaxReplyCeiling, c.maxReply) &&
                     file.getIntIn("FixedBoardTop", 0, 10000, c.fixedBoardTop) &&
                     file.getIntIn("TrackBoardTop", 0, 10000, c.trackBoardTop) &&
                     file.getIntIn("BoardRefresh", 0, kDay, c.boardRefresh) &&
                     file.getIntIn("RewardPlaces", 0, 10000, c.rewardPlaces);
    if (!numbersOk) return false;
    if (c.host.empty() || c.port <= 0 || c.port > 65535) {
        gEngine->log.print(LOG_E, "webService: bad host or port");
        return false;
    }
    // A wait of zero would mean no limit at all to the socket layer.
    if (c.startTimeout < 1) c.startTimeout = 1;
    if (c.connectTimeout < 1) c.connectTimeout = 1;
    if (c.ioTimeout < 1) c.ioTimeout = 1;
    if (c.stallTimeout < 1) c.stallTimeout = 1;
    if (c.retries < 0) c.retries = 0;
    if (c.retries > 5) c.retries = 5;
    if (c.maxReply < 4096) c.maxReply = 4096;
    if (c.path.empty() || c.path[0] != '/') c.path = "/" + c.path;
    *this = c;
    return true;
}
