#include "online/webServiceConfig.h"

#include "engine/bString.h"
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
        default: return "Unknown error";
    }
}

bool CwebServiceConfig::load(const std::string& fileName) {
    CresourceFile file;
    if (!file.open("textFiles/" + fileName, RF_DATA)) return false;
    return parse(file.text());
}

bool CwebServiceConfig::parse(const char* text) {
    CwebServiceConfig c = *this;
    const char* cursor = text;
    std::string tok;
    bool inBlock = false;
    while (Cengine::readToken(tok, cursor)) {
        if (tok == "EndFile") break;
        if (tok == "WebService") { inBlock = true; continue; }
        if (tok == "EndWebService") { inBlock = false; continue; }
        if (!inBlock) {
            gEngine->log.print(LOG_L, "webService: unexpected token '%s'", tok.c_str());
            return false;
        }
        if (equalsIgnoreCase(tok, "Host")) Cengine::readToken(c.host, cursor);
        else if (equalsIgnoreCase(tok, "Port")) c.port = Cengine::readInt(cursor);
        else if (equalsIgnoreCase(tok, "Path")) Cengine::readToken(c.path, cursor);
        else if (equalsIgnoreCase(tok, "StartTimeout")) c.startTimeout = Cengine::readInt(cursor);
        else if (equalsIgnoreCase(tok, "ConnectTimeout")) c.connectTimeout = Cengine::readInt(cursor);
        else if (equalsIgnoreCase(tok, "IoTimeout")) c.ioTimeout = Cengine::readInt(cursor);
        else if (equalsIgnoreCase(tok, "Retries")) c.retries = Cengine::readInt(cursor);
        else if (equalsIgnoreCase(tok, "MaxReply")) c.maxReply = (uint64_t)Cengine::readInt(cursor);
        else if (equalsIgnoreCase(tok, "FixedBoardTop")) c.fixedBoardTop = Cengine::readInt(cursor);
        else if (equalsIgnoreCase(tok, "TrackBoardTop")) c.trackBoardTop = Cengine::readInt(cursor);
        else if (equalsIgnoreCase(tok, "BoardRefresh")) c.boardRefresh = Cengine::readInt(cursor);
        else if (equalsIgnoreCase(tok, "RewardPlaces")) c.rewardPlaces = Cengine::readInt(cursor);
        else {
            gEngine->log.print(LOG_L, "webService: unknown keyword '%s'", tok.c_str());
            return false;
        }
    }
    if (c.host.empty() || c.port <= 0 || c.port > 65535) {
        gEngine->log.print(LOG_E, "webService: bad host or port");
        return false;
    }
    // A wait of zero would mean no limit at all to the socket layer.
    if (c.startTimeout < 1) c.startTimeout = 1;
    if (c.connectTimeout < 1) c.connectTimeout = 1;
    if (c.ioTimeout < 1) c.ioTimeout = 1;
    if (c.retries < 0) c.retries = 0;
    if (c.retries > 5) c.retries = 5;
    if (c.maxReply < 4096) c.maxReply = 4096;
    if (c.path.empty() || c.path[0] != '/') c.path = "/" + c.path;
    *this = c;
    return true;
}
