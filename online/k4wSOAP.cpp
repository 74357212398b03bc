#include "online/k4wSOAP.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/resourceFile.h"
#include "online/k4wTransport.h"

using namespace k4wGen;

k4wSOAP::k4wSOAP() = default;

// Nobody is left to read an answer: calls on the wire are cut off, so the
// joins end at once whatever the service does.
k4wSOAP::~k4wSOAP() {
    abortCalls();
    joinAll();
}

void k4wSOAP::joinAll() {
    startCall.joinAll();
    findCall.joinAll();
    signInTask.join();
    createAccountTask.join();
    tokenTask.join();
    playerNameTask.join();
}

uint32_t k4wSOAP::callLimitMs() const {
    CwebServiceConfig c = config();
    // One attempt's connection and reply, and a little for the reading.
    return (uint32_t)(c.connectTimeout + c.ioTimeout) * 1000u + 500u;
}

bool k4wSOAP::loadConfig(const std::string& fileName) {
    CwebServiceConfig c;
    // $ZORBEX_WEB_SERVICE names a settings file of the same form that points
    // the game at another service (a local one for testing).
    if (const char* other = getenv("ZORBEX_WEB_SERVICE"); other && *other) {
        CresourceFile file;
        if (file.openNarrow(other) && c.parse(file.text())) {
            gEngine->log.print(LOG_L, "k4w: service settings from %s", other);
            setConfig(c);
            return true;
        }
        gEngine->log.print(LOG_E, "k4w: can't read the service settings in %s", other);
        c = CwebServiceConfig();
    }
    if (!c.load(fileName)) {
        gEngine->log.print(LOG_L, "k4w: using the built-in service settings");
        return false;
    }
    setConfig(c);
    return true;
}

void k4wSOAP::setConfig(const CwebServiceConfig& c) {
    std::lock_guard<std::mutex> lock(mutex_);
    config_ = c;
    urls_.clear();
    started_ = false;
}

CwebServiceConfig k4wSOAP::config() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return config_;
}

std::string k4wSOAP::gameTitle() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return gameTitle_;
}

bool k4wSOAP::serviceOff() { return !gEngine || gEngine->webServiceOff; }

void k4wSOAP::switchOff(const char* reason) {
    if (!gEngine->webServiceOff) gEngine->log.print(LOG_L, "Web service switched off: %s", reason);
    gEngine->webServiceOff = true;
}

Ck4wCallResult k4wSOAP::contactService(const std::string& title) {
    CwebServiceConfig c = config();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        gameTitle_ = title;
    }
    if (serviceOff()) return {K4W_SERVICE_OFF, k4wResultText(K4W_SERVICE_OFF)};
    std::vector<std::string> urls = k4wResolveEndpoints(c.scheme, c.host, c.port, c.path);
    if (urls.empty()) gEngine->log.print(LOG_L, "k4w: can't resolve %s", c.host.c_str());
    Ck4wCallResult r{K4W_NO_CONNECTION, k4wResultText(K4W_NO_CONNECTION)};
    // Each address on its own, IPv4 first: the first that answers is kept in
    // front for every later call.
    for (size_t i = 0; i < urls.size(); ++i) {
        Ck4wSettings s;
        s.urls = {urls[i]};
        s.connectTimeout = c.startTimeout;
        s.ioTimeout = c.startTimeout;
        s.stallTimeout = c.stallTimeout;
        s.retries = 0;
        s.maxReply = c.maxReply;
        s.caFile = caFilePath(c);
        s.inFlight = &inFlight_;
        _k4w__GetUnixTime req;
        req.gameTitle = title;
        int64_t serverTime = 0;
        r = k4wCall(s, "GetUnixTime", &k4wProxy::GetUnixTime, req,
                    [&](_k4w__GetUnixTimeResponse& resp) {
                        serverTime = resp.unixTime;
                        return resp.unixTime > 0;
                    }, callLog());
        if (!r.ok()) {
            // Another address helps only when this one could not be reached:
            // a service that stalls or talks nonsense does so on all of them.
            if (r.code != K4W_NO_CONNECTION) break;
            continue;
        }
        std::lock_guard<std::mutex> lock(mutex_);
        urls_ = urls;
        if (i) std::swap(urls_[0], urls_[i]);
        syncedUnixTime_ = serverTime;
        syncedTicks_ = SDL_GetTicks64();
        synced_ = true;
        started_ = true;
        gEngine->log.print(LOG_L, "k4w started: %s", urls_[0].c_str());
        return r;
    }
    return r;
}

bool k4wSOAP::setGameTitle(const std::string& title) {
    if (contactService(title).ok()) return true;
    switchOff("the service did not answer at start-up");
    return false;
}

bool k4wSOAP::startClient(const std::string& title) {
    if (serviceOff()) return false;
    CwebServiceConfig c = config();
    // The platform's check reads these on the call's thread.
    gEngine->platform.checkHost = c.host;
    gEngine->platform.checkPort = c.port;
    startNoConnection_ = false;
    return startCall.ask([this, title] {
        if (!gEngine->platform.checkInternet()) {
            startNoConnection_ = true;
            return Ck4wCallResult{K4W_NO_CONNECTION, "no connection"};
        }
        return contactService(title);
    }, (uint32_t)(c.startTimeout * 2 + 1) * 1000u);
}

void k4wSOAP::setLogin(const std::string& login, const std::string& password, const std::string& email) {
    std::lock_guard<std::mutex> lock(mutex_);
    login_ = login;
    password_ = password;
    email_ = email;
}

std::string k4wSOAP::loginName() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return login_;
}

std::string k4wSOAP::loginPassword() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return password_;
}

std::string k4wSOAP::loginEmail() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return email_;
}

bool k4wSOAP::hasLogin() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return !login_.empty();
}

void k4wSOAP::clearLogin() {
    std::lock_guard<std::mutex> lock(mutex_);
    login_.clear();
    password_.clear();
    email_.clear();
    token_.clear();
    signedIn_ = 0;
    playerId_ = 0;
    nickname_.clear();
    guid_.clear();
}

void k4wSOAP::setSession(uint64_t id, const std::string& nick, const std::string& guid) {
    playerId_ = id;
    nickname_ = utf8Truncate(nick, kMaxPlayerName);
    guid_ = guid;
}

int k4wSOAP::prepareCall(Ck4wSettings& s, std::string* token) const {
    if (serviceOff()) return K4W_SERVICE_OFF;
    if (!started_) return K4W_NOT_STARTED;
    std::lock_guard<std::mutex> lock(mutex_);
    if (token) {
        if (token_.empty()) return K4W_NOT_SIGNED_IN;
        *token = token_;
    }
    s.urls = urls_;
    s.connectTimeout = config_.connectTimeout;
    s.ioTimeout = config_.ioTimeout;
    s.stallTimeout = config_.stallTimeout;
    s.retries = config_.retries;
    s.inFlight = &inFlight_;
    s.maxReply = config_.maxReply;
    s.caFile = caFilePath(config_);
    return K4W_OK;
}

std::string k4wSOAP::caFilePath(const CwebServiceConfig& c) {
    if (c.caFile.empty() || c.caFile[0] == '/') return c.caFile;
    return gEngine->dataPath(c.caFile);
}

bool k4wSOAP::passwordMayGo(const char* op) {
    CwebServiceConfig c = config();
    if (k4wPasswordTransportSafe(c)) return true;
    gEngine->log.print(LOG_E, "k4w %s refused: a password is never sent over plain HTTP to %s", op, c.host.c_str());
    switchOff("password over plain HTTP");
    noteCall(op, {K4W_SERVICE_OFF, k4wResultText(K4W_SERVICE_OFF)}, 0);
    return false;
}

Ck4wCallLog k4wSOAP::callLog() {
    return [this](const char* op, const Ck4wCallResult& r, int ms) { noteCall(op, r, ms); };
}

void k4wSOAP::noteCall(const char* op, const Ck4wCallResult& r, int ms) {
    char line[512];
    snprintf(line, sizeof line, "k4w %s -> %d %s (%d ms)", op, r.code, r.ok() ? "" : r.text.c_str(), ms);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        debugLines_.push_back(line);
        while (debugLines_.size() > kDebugLogLines) debugLines_.pop_front();
        if (!r.ok()) {
            lastError_ = r.code;
            lastErrorText_ = r.text;
        }
    }
    if (debugToLog) gEngine->log.print(LOG_V, "%s", line);
}

std::string k4wSOAP::authToken() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return token_;
}

bool k4wSOAP::refreshToken() { return fetchToken(); }

bool k4wSOAP::fetchToken() {
    if (!passwordMayGo("GetAuthToken")) return false;
    Ck4wSettings s;
    int pre = prepareCall(s, nullptr);
    _k4w__GetAuthToken req;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        req.gameTitle = gameTitle_;
        req.login = login_;
        req.password = password_;
    }
    if (pre != K4W_OK || req.login.empty()) {
        noteCall("GetAuthToken", {pre != K4W_OK ? pre : K4W_NOT_SIGNED_IN, "no login"}, 0);
        return false;
    }
    Ck4wCallResult r = k4wCall(s, "GetAuthToken", &k4wProxy::GetAuthToken, req,
                               [&](_k4w__GetAuthTokenResponse& resp) {
                                   if (resp.authToken.empty() || resp.playerId == 0) return false;
                                   std::lock_guard<std::mutex> lock(mutex_);
                                   token_ = resp.authToken;
                                   setSession(resp.playerId, resp.nickname, resp.guid);
                                   pendingUnixTime_ = resp.unixTime;
                                   unixTimePending_ = resp.unixTime > 0;
                                   return true;
                               }, callLog());
    signedIn_ = r.ok() ? 1 : 0;
    return r.ok();
}

bool k4wSOAP::retrieveAuthToken() {
    if (serviceOff()) return false;
    return tokenTask.start([this] {
        bool ok = fetchToken();
        if (!ok) ++tokenFailures_;
        return ok;
    });
}

void k4wSOAP::commitUnixTime() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (unixTimePending_) {
            syncedUnixTime_ = pendingUnixTime_;
            syncedTicks_ = SDL_GetTicks64();
            synced_ = true;
            unixTimePending_ = false;
        }
    }
    if (gEngine) gEngine->serverUnixTime = unixTime();
    if (!tokenOffApplied_ && tokenFailures_.load() >= kMaxTokenFailures) {
        tokenOffApplied_ = true;
        switchOff("three failed token requests");
    }
}

int64_t k4wSOAP::unixTime() const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!synced_) return (int64_t)time(nullptr);
    return syncedUnixTime_ + (int64_t)((SDL_GetTicks64() - syncedTicks_) / 1000);
}

uint64_t k4wSOAP::playerId() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return playerId_;
}

std::string k4wSOAP::nickname() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return nickname_;
}

std::string k4wSOAP::guid() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return guid_;
}

bool k4wSOAP::startSignIn(const std::string& login, const std::string& password) {
    if (serviceOff() || !passwordMayGo("SignIn")) return false;
    return signInTask.start([this, login, password] {
        Ck4wSettings s;
        int pre = prepareCall(s, nullptr);
        if (pre != K4W_OK) {
            noteCall("SignIn", {pre, k4wResultText(pre)}, 0);
            return false;
        }
        _k4w__SignIn req;
        req.gameTitle = gameTitle();
        req.login = login;
        req.password = password;
        Ck4wCallResult r = k4wCall(s, "SignIn", &k4wProxy::SignIn, req,
                                   [&](_k4w__SignInResponse& resp) {
                                       if (resp.playerId == 0) return false;
                                       std::lock_guard<std::mutex> lock(mutex_);
                                       login_ = login;
                                       password_ = password;
                                       setSession(resp.playerId, resp.nickname, resp.guid);
                                       return true;
                                   }, callLog());
        return r.ok();
    });
}

bool k4wSOAP::startCreateAccount(const std::string& nickname, const std::string& email, const std::string& password) {
    if (serviceOff() || !passwordMayGo("CreateAccount")) return false;
    std::string nick = utf8Truncate(nickname, kMaxPlayerName);
    return createAccountTask.start([this, nick, email, password] {
        Ck4wSettings s;
        int pre = prepareCall(s, nullptr);
        if (pre != K4W_OK) {
            noteCall("CreateAccount", {pre, k4wResultText(pre)}, 0);
            return false;
        }
        _k4w__CreateAccount req;
        req.gameTitle = gameTitle();
        req.nickname = nick;
        req.email = email;
        req.password = password;
        Ck4wCallResult r = k4wCall(s, "CreateAccount", &k4wProxy::CreateAccount, req,
                                   [&](_k4w__CreateAccountResponse& resp) {
                                       if (resp.playerId == 0) return false;
                                       std::lock_guard<std::mutex> lock(mutex_);
                                       login_ = email;
                                       password_ = password;
                                       email_ = email;
                                       setSession(resp.playerId, nick, resp.guid);
                                       return true;
                                   }, callLog());
        return r.ok();
    });
}

void k4wSOAP::setPlayerName(const std::string& name) {
    std::string cut = utf8Truncate(name, kMaxPlayerName);
    std::lock_guard<std::mutex> lock(mutex_);
    nickname_ = cut;
    pendingName_ = cut;
    nameToSend_ = true;
}

bool k4wSOAP::startFindPlayer(uint64_t id) {
    if (serviceOff()) return false;
    // Each look-up has a reply of its own: one dropped by a screen that left
    // can't overwrite the next.
    auto reply = std::make_shared<CfoundPlayer>();
    reply->id = id;
    reply->record.assign(kStatsRecordSize, 0);
    findReply_ = reply;
    found_ = CfoundPlayer();
    return findCall.ask([this, reply] {
        _k4w__FindPlayer req;
        req.playerId = reply->id;
        bool found = false;
        std::string name;
        Cbytes stats(kStatsRecordSize, 0);
        Ck4wCallResult r = k4wTokenCall(*this, "FindPlayer", &k4wProxy::FindPlayer, req,
                                        [&](_k4w__FindPlayerResponse& resp) {
            found = resp.found;
            name = utf8Truncate(resp.nickname, kMaxPlayerName);
            // A statistics record is all or nothing: one of another size is
            // not taken apart.
            if (resp.stats.__size == 0) return true;
            if (resp.stats.__size != (int)kStatsRecordSize || !resp.stats.__ptr) return false;
            memcpy(stats.data(), resp.stats.__ptr, kStatsRecordSize);
            return true;
        });
        if (r.ok()) {
            reply->found = found;
            reply->name = name;
            reply->record = stats;
        }
        return r;
    }, callLimitMs());
}

EcallState k4wSOAP::pollFindPlayer() {
    EcallState st = findCall.poll();
    if (st == CALL_DONE && findReply_) {
        found_ = *findReply_;
        findReply_.reset();
    } else if (st == CALL_FAILED) {
        findReply_.reset();
    }
    return st;
}

int k4wSOAP::getLastErrorCode(const char* text, bool fatal) {
    int code;
    std::string err;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        code = lastError_;
        err = lastErrorText_;
    }
    if (fatal) gEngine->raiseFatal("%s : %d %s", text ? text : "", code, err.c_str());
    gEngine->log.print(LOG_E, "%s : %d %s", text ? text : "", code, err.c_str());
    return code;
}

int k4wSOAP::lastErrorCode() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lastError_;
}

std::string k4wSOAP::lastErrorText() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lastErrorText_;
}

std::vector<std::string> k4wSOAP::debugLog() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return {debugLines_.begin(), debugLines_.end()};
}

void k4wSOAP::update() {
    if (!tokenOffApplied_ && tokenFailures_.load() >= kMaxTokenFailures) {
        tokenOffApplied_ = true;
        switchOff("three failed token requests");
    }
    if (gEngine) gEngine->serverUnixTime = unixTime();

    if (playerNameTask.finished()) playerNameTask.reset();
    std::string name;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!nameToSend_ || token_.empty() || playerNameTask.running()) return;
        nameToSend_ = false;
        name = pendingName_;
    }
    if (serviceOff()) return;
    playerNameTask.start([this, name] {
        _k4w__SetPlayerName req;
        req.name = name;
        return k4wTokenCall(*this, "SetPlayerName", &k4wProxy::SetPlayerName, req,
                            [](_k4w__SetPlayerNameResponse&) { return true; })
            .ok();
    });
}
