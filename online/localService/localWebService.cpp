#include "online/localService/localWebService.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>

#include "k4wGenk4wBindingService.h"

using namespace k4wGen;

struct Caccount {
    uint64_t id = 0;
    uint64_t steamId = 0;   // learnt from the account's statistics upload
    std::string nickname, email, password, guid;
};

struct ClocalWebService::Cstate {
    mutable std::mutex mutex;
    std::vector<Caccount> accounts;
    std::map<std::string, uint64_t> tokens;
    std::map<std::string, std::vector<ClocalRow>> boards;
    std::map<uint64_t, std::vector<ClocalMessage>> messages;
    std::map<uint64_t, Cbytes> stats;
    std::map<int, ClocalChallenge> challenges;
    std::map<std::string, int64_t> counters;
    int64_t fixedTime = 0;
    int64_t clockOffset = 0;
    float pollPeriod = 120.0f;
    std::string version = "v1.00";
    uint64_t nextId = 1000;
    uint64_t nextMessageId = 1;
    uint64_t tokenSerial = 1;

    int64_t now() const { return (fixedTime ? fixedTime : (int64_t)time(nullptr)) + clockOffset; }
    Caccount* byLogin(const std::string& login) {
        for (auto& a : accounts)
            if (a.email == login || std::to_string(a.id) == login) return &a;
        return nullptr;
    }
    Caccount* byId(uint64_t id) {
        for (auto& a : accounts)
            if (a.id == id) return &a;
        return nullptr;
    }
    uint64_t who(const std::string& token) const {
        auto it = tokens.find(token);
        return it == tokens.end() ? 0 : it->second;
    }
};

namespace {

int64_t nowFromState(const ClocalWebService::Cstate& s) { return s.now(); }

void setBytes(struct soap* soap, xsd__base64Binary& out, const Cbytes& in) {
    out.__size = (int)in.size();
    out.__ptr = nullptr;
    if (!in.empty()) {
        out.__ptr = (unsigned char*)soap_malloc(soap, in.size());
        memcpy(out.__ptr, in.data(), in.size());
    }
}

Cbytes getBytes(const xsd__base64Binary& b) {
    if (!b.__ptr || b.__size <= 0) return {};
    return Cbytes(b.__ptr, b.__ptr + b.__size);
}

k4w__ScoreRow* makeRow(struct soap* soap, const ClocalRow& r) {
    k4w__ScoreRow* row = soap_new_k4w__ScoreRow(soap);
    row->score = r.score;
    row->playerId = r.playerId;
    setBytes(soap, row->data, r.data);
    return row;
}

void sortRows(std::vector<ClocalRow>& rows) {
    std::stable_sort(rows.begin(), rows.end(), [](const ClocalRow& a, const ClocalRow& b) { return a.score > b.score; });
}

class Cservice : public k4wBindingService {
public:
    Cservice(ClocalWebService::Cstate& st, ClocalWebService& owner) : st_(st), owner_(owner) {}
    k4wBindingService* copy() override { return new Cservice(st_, owner_); }

    // A slow service; stop() cuts the wait short.
    void pause() {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(owner_.delayMs.load());
        while (std::chrono::steady_clock::now() < end && !owner_.stopping())
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

    int GetUnixTime(_k4w__GetUnixTime*, _k4w__GetUnixTimeResponse& r) override {
        pause();
        std::lock_guard<std::mutex> lock(st_.mutex);
        r.unixTime = nowFromState(st_);
        return SOAP_OK;
    }

    // The account a login and password name; a wrong pair, or any when
    // refused, gets result 1.
    template <class Req, class Resp>
    Caccount* account(const Req* q, Resp& r, bool refused = false) {
        Caccount* a = st_.byLogin(q->login);
        if (!a || a->password != q->password || refused) {
            r.result = 1;
            r.errorText = "Unknown account or wrong password";
            return nullptr;
        }
        return a;
    }

    int SignIn(_k4w__SignIn* q, _k4w__SignInResponse& r) override {
        pause();
        std::lock_guard<std::mutex> lock(st_.mutex);
        Caccount* a = account(q, r);
        if (!a) return SOAP_OK;
        r.playerId = a->id;
        r.nickname = a->nickname;
        r.guid = a->guid;
        return SOAP_OK;
    }

    int CreateAccount(_k4w__CreateAccount* q, _k4w__CreateAccountResponse& r) override {
        pause();
        std::lock_guard<std::mutex> lock(st_.mutex);
        bool taken = false;
        for (const auto& a : st_.accounts) taken = taken || a.email == q->email || a.nickname == q->nickname;
        if (owner_.refuseNewAccounts || taken || q->email.empty() || q->password.empty()) {
            r.result = 2;
            r.errorText = "Account already exists";
            return SOAP_OK;
        }
        Caccount a;
        a.id = st_.nextId++;
        a.nickname = q->nickname;
        a.email = q->email;
        a.password = q->password;
        a.guid = "guid-" + std::to_string(a.id);
        st_.accounts.push_back(a);
        r.playerId = a.id;
        r.guid = a.guid;
        return SOAP_OK;
    }

    int GetAuthToken(_k4w__GetAuthToken* q, _k4w__GetAuthTokenResponse& r) override {
        pause();
        std::lock_guard<std::mutex> lock(st_.mutex);
        Caccount* a = account(q, r, owner_.refuseTokens);
        if (!a) return SOAP_OK;
        std::string token = "tok" + std::to_string(st_.tokenSerial++) + "_" + std::to_string(a->id);
        st_.tokens[token] = a->id;
        r.authToken = token;
        r.playerId = a->id;
        r.nickname = a->nickname;
        r.guid = a->guid;
        r.unixTime = nowFromState(st_);
        return SOAP_OK;
    }

    // Every call below needs a token; a bad one gets result 3.
    template <class Resp>
    uint64_t caller(const std::string& token, Resp& r) {
        uint64_t id = st_.who(token);
        if (!id) {
            r.result = 3;
            r.errorText = "Not authorised";
        }
        return id;
    }

    int SetPlayerName(_k4w__SetPlayerName* q, _k4w__SetPlayerNameResponse& r) override {
        pause();
        std::lock_guard<std::mutex> lock(st_.mutex);
        uint64_t me = caller(q->authToken, r);
        if (me) st_.byId(me)->nickname = q->name;
        return SOAP_OK;
    }

    int FindPlayer(_k4w__FindPlayer* q, _k4w__FindPlayerResponse& r) override {
        pause();
        std::lock_guard<std::mutex> lock(st_.mutex);
        if (!caller(q->authToken, r)) return SOAP_OK;
        Caccount* a = st_.byId(q->playerId);
        r.found = a != nullptr;
        if (a) {
            r.nickname = a->nickname;
            auto it = st_.stats.find(a->steamId);
            setBytes(soap, r.stats, !a->steamId || it == st_.stats.end() ? Cbytes() : it->second);
        }
        return SOAP_OK;
    }

    int GetGameConfig(_k4w__GetGameConfig* q, _k4w__GetGameConfigResponse& r) override {
        pause();
        std::lock_guard<std::mutex> lock(st_.mutex);
        if (!caller(q->authToken, r)) return SOAP_OK;
        r.messagePollPeriod = st_.pollPeriod;
        r.versionText = st_.version;
        return SOAP_OK;
    }

    int getAtomicCount(_k4w__getAtomicCount* q, _k4w__getAtomicCountResponse& r) override {
        pause();
        std::lock_guard<std::mutex> lock(st_.mutex);
        if (!caller(q->authToken, r)) return SOAP_OK;
        r.count = st_.counters[q->name];
        return SOAP_OK;
    }

    int addAtomicCount(_k4w__addAtomicCount* q, _k4w__addAtomicCountResponse& r) override {
        pause();
        std::lock_guard<std::mutex> lock(st_.mutex);
        if (!caller(q->authToken, r)) return SOAP_OK;
        r.count = (st_.counters[q->name] += q->amount);
        return SOAP_OK;
    }

    int GetLeaderboard(_k4w__GetLeaderboard* q, _k4w__GetLeaderboardResponse& r) override {
        pause();
        std::lock_guard<std::mutex> lock(st_.mutex);
        if (!caller(q->authToken, r)) return SOAP_OK;
        std::vector<ClocalRow> rows = st_.boards[q->board];
        sortRows(rows);
        r.total = (int)rows.size();
        for (int i = std::max(q->first, 0); i < (int)rows.size() && i < q->first + q->count; ++i)
            r.row.push_back(makeRow(soap, rows[(size_t)i]));
        return SOAP_OK;
    }

    int GetLeaderboardForPlayers(_k4w__GetLeaderboardForPlayers* q, _k4w__GetLeaderboardForPlayersResponse& r) override {
        pause();
        std::lock_guard<std::mutex> lock(st_.mutex);
        if (!caller(q->authToken, r)) return SOAP_OK;
        std::vector<ClocalRow> rows = st_.boards[q->board];
        sortRows(rows);
        for (uint64_t id : q->playerId)
            for (const auto& row : rows)
                if (row.playerId == id) {
                    r.row.push_back(makeRow(soap, row));
                    break;   // each player's best
                }
        return SOAP_OK;
    }

    int GetLeaderboardSince(_k4w__GetLeaderboardSince* q, _k4w__GetLeaderboardSinceResponse& r) override {
        pause();
        std::lock_guard<std::mutex> lock(st_.mutex);
        if (!caller(q->authToken, r)) return SOAP_OK;
        std::vector<ClocalRow> rows = st_.boards[q->board];
        sortRows(rows);
        for (const auto& row : rows)
            if ((int64_t)row.score >= q->since && (int)r.row.size() < q->count) r.row.push_back(makeRow(soap, row));
        return SOAP_OK;
    }

    int SubmitScore(_k4w__SubmitScore* q, _k4w__SubmitScoreResponse& r) override {
        pause();
        std::lock_guard<std::mutex> lock(st_.mutex);
        uint64_t me = caller(q->authToken, r);
        if (!me) return SOAP_OK;
        if (q->board.empty()) {
            r.result = 5;
            r.errorText = "No board";
            return SOAP_OK;
        }
        auto& rows = st_.boards[q->board];
        ClocalRow row{q->score, me, getBytes(q->data)};
        bool placed = false;
        if (q->keepBest) {
            for (auto& x : rows) {
                if (x.playerId != me) continue;
                if (q->score > x.score) x = row;
                placed = true;
                break;
            }
        }
        if (!placed) rows.push_back(row);
        sortRows(rows);
        r.place = -1;
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].playerId == me) {
                r.place = (int)i;
                break;
            }
        return SOAP_OK;
    }

    int GetMessages(_k4w__GetMessages* q, _k4w__GetMessagesResponse& r) override {
        pause();
        std::lock_guard<std::mutex> lock(st_.mutex);
        uint64_t me = caller(q->authToken, r);
        if (!me) return SOAP_OK;
        for (const auto& m : st_.messages[me]) {
            k4w__Message* out = soap_new_k4w__Message(soap);
            out->id = m.id;
            out->type = m.type;
            out->fromPlayerId = m.from;
            out->fromName = m.fromName;
            out->sentTime = m.sentTime;
            setBytes(soap, out->data, m.data);
            r.message.push_back(out);
        }
        return SOAP_OK;
    }

    int DeleteMessages(_k4w__DeleteMessages* q, _k4w__DeleteMessagesResponse& r) override {
        pause();
        std::lock_guard<std::mutex> lock(st_.mutex);
        uint64_t me = caller(q->authToken, r);
        if (!me) return SOAP_OK;
        auto& list = st_.messages[me];
        for (uint64_t id : q->messageId)
            list.erase(std::remove_if(list.begin(), list.end(), [id](const ClocalMessage& m) { return m.id == id; }),
                       list.end());
        return SOAP_OK;
    }

    int SendMessage(_k4w__SendMessage* q, _k4w__SendMessageResponse& r) override {
        pause();
        std::lock_guard<std::mutex> lock(st_.mutex);
        uint64_t me = caller(q->authToken, r);
        if (!me) return SOAP_OK;
        if (!st_.byId(q->toPlayerId)) {
            r.result = 4;
            r.errorText = "No such player";
            return SOAP_OK;
        }
        ClocalMessage m{st_.nextMessageId++, q->type, me, st_.byId(me)->nickname, nowFromState(st_), getBytes(q->data)};
        st_.messages[q->toPlayerId].push_back(m);
        return SOAP_OK;
    }

    int GetPlayerStats(_k4w__GetPlayerStats* q, _k4w__GetPlayerStatsResponse& r) override {
        pause();
        std::lock_guard<std::mutex> lock(st_.mutex);
        if (!caller(q->authToken, r)) return SOAP_OK;
        for (uint64_t id : q->playerId) {
            auto it = st_.stats.find(id);
            if (it == st_.stats.end()) continue;
            k4w__StatsRecord* s = soap_new_k4w__StatsRecord(soap);
            s->playerId = id;
            setBytes(soap, s->data, it->second);
            r.stats.push_back(s);
        }
        return SOAP_OK;
    }

    int SetPlayerStats(_k4w__SetPlayerStats* q, _k4w__SetPlayerStatsResponse& r) override {
        pause();
        std::lock_guard<std::mutex> lock(st_.mutex);
        uint64_t me = caller(q->authToken, r);
        if (!me) return SOAP_OK;
        // Statistics are kept by Steam id; one Steam id belongs to one account.
        for (const Caccount& a : st_.accounts) {
            if (a.steamId == q->steamId && a.id != me) {
                r.result = 5;
                r.errorText = "Steam id belongs to another player";
                return SOAP_OK;
            }
        }
        if (!q->steamId) {
            r.result = 5;
            r.errorText = "No Steam id";
            return SOAP_OK;
        }
        st_.byId(me)->steamId = q->steamId;
        st_.stats[q->steamId] = getBytes(q->data);
        return SOAP_OK;
    }

    int GetCurrentChallenge(_k4w__GetCurrentChallenge* q, _k4w__GetCurrentChallengeResponse& r) override {
        pause();
        std::lock_guard<std::mutex> lock(st_.mutex);
        if (!caller(q->authToken, r)) return SOAP_OK;
        auto it = st_.challenges.find(q->periodHours);
        if (it == st_.challenges.end() || q->periodHours <= 0) return SOAP_OK;
        const ClocalChallenge& c = it->second;
        k4w__Challenge* out = soap_new_k4w__Challenge(soap);
        int64_t period = (int64_t)q->periodHours * 3600;
        out->periodHours = q->periodHours;
        out->periodNumber = nowFromState(st_) / period;
        out->trackTitle = c.trackTitle;
        out->artist = c.artist;
        out->album = c.album;
        out->duration = c.duration;
        out->difficulty = c.difficulty;
        out->difficultyCap = c.difficultyCap;
        out->noExtraLives = c.noExtraLives;
        out->weaponRestriction = c.weaponRestriction;
        out->shipClass = c.shipClass;
        out->endTime = (out->periodNumber + 1) * period;
        out->linkKind = c.linkKind;
        out->linkId = c.linkId;
        out->plainBoardNames = c.plainBoardNames;
        r.challenge = out;
        return SOAP_OK;
    }

private:
    ClocalWebService::Cstate& st_;
    ClocalWebService& owner_;
};

}  // namespace

ClocalWebService::ClocalWebService() : state_(std::make_unique<Cstate>()) {}

ClocalWebService::~ClocalWebService() { stop(); }

bool ClocalWebService::start(const std::string& tlsKeyFile) {
    if (service_) return true;
    auto* svc = new Cservice(*state_, *this);
    tls_ = !tlsKeyFile.empty();
    if (tls_) {
        soap_ssl_init();
        if (soap_ssl_server_context(svc->soap, SOAP_SSL_NO_AUTHENTICATION | SOAP_TLSv1_2 | SOAP_TLSv1_3,
                                    tlsKeyFile.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr) != SOAP_OK) {
            delete svc;
            return false;
        }
    }
    svc->soap->bind_flags = SO_REUSEADDR;
    svc->soap->accept_timeout = -100000;   // 0.1 s, so stop() is noticed
    svc->soap->recv_timeout = 5;
    svc->soap->send_timeout = 5;
    svc->soap->socket_flags = MSG_NOSIGNAL;
    if (!soap_valid_socket(svc->bind("127.0.0.1", 0, 16))) {
        delete svc;
        return false;
    }
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    if (getsockname(svc->soap->master, (sockaddr*)&addr, &len) != 0) {
        delete svc;
        return false;
    }
    port_ = ntohs(addr.sin_port);
    service_ = svc;
    stop_ = false;
    thread_ = std::thread([this] { serveLoop(); });
    return true;
}

void ClocalWebService::setFault(Efault fault, const std::vector<std::string>& operations) {
    std::lock_guard<std::mutex> lock(faultMutex_);
    fault_ = fault;
    faultOps_ = operations;
}

ClocalWebService::Efault ClocalWebService::faultByName(const std::string& name) {
    if (name == "stall") return FAULT_STALL;
    if (name == "garbage") return FAULT_GARBAGE;
    if (name == "hangup" || name == "refuse") return FAULT_HANG_UP;
    if (name == "trickle") return FAULT_TRICKLE;
    return FAULT_NONE;
}

namespace {

// Whether the request's SOAP body names one of the operations (as an element,
// with or without a prefix).
bool namesOperation(const std::string& text, const std::vector<std::string>& ops) {
    for (const std::string& op : ops)
        for (const std::string& form : {":" + op + ">", ":" + op + " ", "<" + op + ">", "<" + op + " "})
            if (text.find(form) != std::string::npos) return true;
    return false;
}

// The request as it has arrived so far, left in the socket for gSOAP.
std::string peekRequest(int fd) {
    std::string text;
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(1000);
    char buf[16384];
    while (std::chrono::steady_clock::now() < end) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 20) <= 0) continue;
        ssize_t n = recv(fd, buf, sizeof buf, MSG_PEEK | MSG_DONTWAIT);
        if (n <= 0) break;
        text.assign(buf, (size_t)n);
        if (text.find("Envelope>") != std::string::npos || (size_t)n == sizeof buf) break;
    }
    return text;
}

void drain(int fd) {
    char buf[16384];
    pollfd p{fd, POLLIN, 0};
    while (poll(&p, 1, 50) > 0 && recv(fd, buf, sizeof buf, MSG_DONTWAIT) > 0) {
    }
}

}  // namespace

bool ClocalWebService::misbehave(int fd) {
    Efault fault;
    std::vector<std::string> ops;
    {
        std::lock_guard<std::mutex> lock(faultMutex_);
        fault = fault_;
        ops = faultOps_;
    }
    if (fault == FAULT_NONE || tls_) return false;
    if (!ops.empty() && !namesOperation(peekRequest(fd), ops)) return false;
    ++faultsServed_;
    switch (fault) {
        case FAULT_STALL:
            held_.push_back(fd);   // taken, never answered
            break;
        case FAULT_GARBAGE: {
            drain(fd);
            const char* junk =
                "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: 40\r\nConnection: close\r\n\r\n"
                "<not><soap>\x01\x02 garbage &&& </soap>\xff";
            (void)!send(fd, junk, strlen(junk), MSG_NOSIGNAL);
            close(fd);
            break;
        }
        case FAULT_TRICKLE:
            tricklers_.emplace_back([this, fd] {
                drain(fd);
                const std::string reply =
                    "HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=utf-8\r\nConnection: close\r\n\r\n"
                    "<?xml version=\"1.0\"?><SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\">"
                    "<SOAP-ENV:Body></SOAP-ENV:Body></SOAP-ENV:Envelope>";
                for (char c : reply) {
                    if (send(fd, &c, 1, MSG_NOSIGNAL) != 1) break;
                    auto next = std::chrono::steady_clock::now() + std::chrono::milliseconds(trickleMs.load());
                    while (std::chrono::steady_clock::now() < next && !stop_)
                        std::this_thread::sleep_for(std::chrono::milliseconds(10));
                    if (stop_) break;
                }
                close(fd);
            });
            break;
        default:
            close(fd);   // hung up at once
            break;
    }
    return true;
}

void ClocalWebService::serveLoop() {
    auto* svc = (Cservice*)service_;
    while (!stop_) {
        if (!soap_valid_socket(svc->accept())) continue;   // a time-out: look at stop_
        if (misbehave((int)svc->soap->socket)) {
            svc->soap->socket = SOAP_INVALID_SOCKET;   // the fault has it now
            svc->destroy();
            continue;
        }
        if (tls_ && svc->ssl_accept() != SOAP_OK) {
            svc->destroy();
            continue;
        }
        ++requests_;
        svc->serve();
        svc->destroy();
    }
}

void ClocalWebService::stop() {
    if (!service_) return;
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    for (std::thread& t : tricklers_) t.join();
    tricklers_.clear();
    for (int fd : held_) close(fd);
    held_.clear();
    delete (Cservice*)service_;
    service_ = nullptr;
}

CwebServiceConfig ClocalWebService::config(int timeoutSeconds) const {
    CwebServiceConfig c;
    c.scheme = tls_ ? "https" : "http";
    c.host = "127.0.0.1";
    c.port = port_;
    c.path = "/k4w";
    c.startTimeout = timeoutSeconds;
    c.connectTimeout = timeoutSeconds;
    c.ioTimeout = timeoutSeconds;
    c.retries = 0;
    c.boardRefresh = 0;
    return c;
}

uint64_t ClocalWebService::addAccount(const std::string& nickname, const std::string& email, const std::string& password) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    Caccount a;
    a.id = state_->nextId++;
    a.nickname = nickname;
    a.email = email;
    a.password = password;
    a.guid = "guid-" + std::to_string(a.id);
    state_->accounts.push_back(a);
    return a.id;
}

bool ClocalWebService::accountExists(const std::string& email) const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    for (const auto& a : state_->accounts)
        if (a.email == email) return true;
    return false;
}

std::string ClocalWebService::nicknameOf(uint64_t id) const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    for (const auto& a : state_->accounts)
        if (a.id == id) return a.nickname;
    return {};
}

void ClocalWebService::setUnixTime(int64_t t) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->fixedTime = t;
}

void ClocalWebService::moveClock(int64_t seconds) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->clockOffset += seconds;
}

int64_t ClocalWebService::unixTime() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->now();
}

void ClocalWebService::setGameConfig(float pollPeriod, const std::string& version) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->pollPeriod = pollPeriod;
    state_->version = version;
}

void ClocalWebService::addRow(const std::string& board, uint64_t playerId, uint64_t score, const Cbytes& data) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->boards[board].push_back({score, playerId, data});
}

std::vector<ClocalRow> ClocalWebService::rows(const std::string& board) const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    auto it = state_->boards.find(board);
    if (it == state_->boards.end()) return {};
    std::vector<ClocalRow> out = it->second;
    sortRows(out);
    return out;
}

void ClocalWebService::addMessage(uint64_t to, int type, uint64_t from, const std::string& fromName, const Cbytes& data) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->messages[to].push_back({state_->nextMessageId++, type, from, fromName, state_->now(), data});
}

size_t ClocalWebService::numMessages(uint64_t to) const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    auto it = state_->messages.find(to);
    return it == state_->messages.end() ? 0 : it->second.size();
}

std::vector<ClocalMessage> ClocalWebService::messagesFor(uint64_t to) const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    auto it = state_->messages.find(to);
    return it == state_->messages.end() ? std::vector<ClocalMessage>() : it->second;
}

void ClocalWebService::setStats(uint64_t id, const Cbytes& record) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->stats[id] = record;
}

void ClocalWebService::linkSteamId(uint64_t accountId, uint64_t steamId) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    if (Caccount* a = state_->byId(accountId)) a->steamId = steamId;
}

Cbytes ClocalWebService::stats(uint64_t id) const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    auto it = state_->stats.find(id);
    return it == state_->stats.end() ? Cbytes() : it->second;
}

void ClocalWebService::setChallenge(int periodHours, const ClocalChallenge& c) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->challenges[periodHours] = c;
}

void ClocalWebService::clearChallenge(int periodHours) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->challenges.erase(periodHours);
}

int64_t ClocalWebService::counter(const std::string& name) const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    auto it = state_->counters.find(name);
    return it == state_->counters.end() ? 0 : it->second;
}

void ClocalWebService::setCounter(const std::string& name, int64_t v) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->counters[name] = v;
}

void ClocalWebService::expireTokens() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->tokens.clear();
}

// ---------------------------------------------------------------------------

CfaultyService::~CfaultyService() { stop(); }

bool CfaultyService::start() {
    listenFd_ = socket(AF_INET, SOCK_STREAM, 0);
    if (listenFd_ < 0) return false;
    int one = 1;
    setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    if (bind(listenFd_, (sockaddr*)&addr, sizeof addr) != 0 || listen(listenFd_, 16) != 0 ||
        getsockname(listenFd_, (sockaddr*)&addr, &len) != 0) {
        close(listenFd_);
        listenFd_ = -1;
        return false;
    }
    port_ = ntohs(addr.sin_port);
    stop_ = false;
    thread_ = std::thread([this] { loop(); });
    return true;
}

void CfaultyService::loop() {
    while (!stop_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        int fd = accept(listenFd_, nullptr, nullptr);
        if (fd < 0) continue;
        ++connections_;
        if (mode_ == HANG_UP) {
            close(fd);
            continue;
        }
        // Read what the client sends, then answer badly or not at all.
        char buf[4096];
        pollfd c{fd, POLLIN, 0};
        if (poll(&c, 1, 500) > 0) (void)!read(fd, buf, sizeof buf);
        if (mode_ == GARBAGE) {
            const char* junk =
                "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: 40\r\nConnection: close\r\n\r\n"
                "<not><soap>\x01\x02 garbage &&& </soap>\xff";
            (void)!write(fd, junk, strlen(junk));
            close(fd);
        } else {
            held_.push_back(fd);   // silent: the connection stays open, unanswered
        }
    }
}

void CfaultyService::stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    for (int fd : held_) close(fd);
    held_.clear();
    if (listenFd_ >= 0) close(listenFd_);
    listenFd_ = -1;
}

CwebServiceConfig CfaultyService::config(int timeoutSeconds) const {
    CwebServiceConfig c;
    c.scheme = "http";
    c.host = "127.0.0.1";
    c.port = port_;
    c.startTimeout = timeoutSeconds;
    c.connectTimeout = timeoutSeconds;
    c.ioTimeout = timeoutSeconds;
    c.retries = 0;
    return c;
}
