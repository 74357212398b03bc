#pragma once
// ClocalWebService: an in-memory k4w service built on the generated gSOAP
// service class, for tests. It listens on 127.0.0.1 on a free port and serves
// accounts and sign-in, tokens, time, configuration, counters, boards (top N,
// by player ids, since a time), messages, find player, player statistics and
// the current timed challenges. CfaultyService stands in for a service that
// never answers, answers garbage or hangs up.
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/webMessage.h"
#include "online/webServiceConfig.h"

struct ClocalRow {
    uint64_t score = 0;
    uint64_t playerId = 0;
    Cbytes data;
};

struct ClocalMessage {
    uint64_t id = 0;
    int type = 0;
    uint64_t from = 0;
    std::string fromName;
    int64_t sentTime = 0;
    Cbytes data;
};

struct ClocalChallenge {
    std::string trackTitle, artist, album;
    int duration = 180;
    int difficulty = 1;
    int difficultyCap = 6;
    bool noExtraLives = false;
    int weaponRestriction = 0;
    int shipClass = 0;
    std::string linkKind, linkId;
    bool plainBoardNames = true;
};

class ClocalWebService {
public:
    ClocalWebService();
    ~ClocalWebService();

    // 127.0.0.1, a free port. With tlsKeyFile (a PEM file of the key and the
    // certificate) the service speaks https only.
    bool start(const std::string& tlsKeyFile = {});
    void stop();
    int port() const { return port_; }
    // Settings that point the client here, with short waits.
    CwebServiceConfig config(int timeoutSeconds = 2) const;

    // Seeding and inspection; safe while serving.
    uint64_t addAccount(const std::string& nickname, const std::string& email, const std::string& password);
    bool accountExists(const std::string& email) const;
    std::string nicknameOf(uint64_t id) const;
    void setUnixTime(int64_t t);   // 0: the real clock
    // Moves the service's clock on (on top of either clock): a test's way to
    // the next challenge period.
    void moveClock(int64_t seconds);
    int64_t unixTime() const;
    void setGameConfig(float pollPeriod, const std::string& version);
    void addRow(const std::string& board, uint64_t playerId, uint64_t score, const Cbytes& data);
    std::vector<ClocalRow> rows(const std::string& board) const;
    void addMessage(uint64_t to, int type, uint64_t from, const std::string& fromName, const Cbytes& data);
    size_t numMessages(uint64_t to) const;
    std::vector<ClocalMessage> messagesFor(uint64_t to) const;
    // Statistics records by Steam id; an account learns its Steam id from its
    // own upload, or from linkSteamId.
    void setStats(uint64_t steamId, const Cbytes& record);
    Cbytes stats(uint64_t steamId) const;
    void linkSteamId(uint64_t accountId, uint64_t steamId);
    void setChallenge(int periodHours, const ClocalChallenge& c);
    void clearChallenge(int periodHours);
    int64_t counter(const std::string& name) const;
    void setCounter(const std::string& name, int64_t v);
    void expireTokens();
    int requestCount() const { return requests_.load(); }
    bool stopping() const { return stop_.load(); }

    // Misbehaviour on plain http, for the operations named (all when none
    // are): STALL takes the request and never answers, GARBAGE answers
    // nonsense, HANG_UP closes the connection at once, TRICKLE sends a real
    // answer one byte every trickleMs.
    enum Efault { FAULT_NONE, FAULT_STALL, FAULT_GARBAGE, FAULT_HANG_UP, FAULT_TRICKLE };
    void setFault(Efault fault, const std::vector<std::string>& operations = {});
    // "stall", "garbage", "hangup" (or "refuse"), "trickle"; FAULT_NONE otherwise.
    static Efault faultByName(const std::string& name);
    std::atomic<int> trickleMs{3000};
    int faultsServed() const { return faultsServed_.load(); }

    std::atomic<bool> refuseNewAccounts{false};   // every CreateAccount is refused
    std::atomic<bool> refuseTokens{false};        // every GetAuthToken is refused
    std::atomic<int> delayMs{0};      // each answer waits this long first

    struct Cstate;   // the service's data, shared with its gSOAP class

private:
    void serveLoop();
    // True when the connection was taken by the fault instead of served.
    bool misbehave(int fd);
    std::unique_ptr<Cstate> state_;
    std::mutex faultMutex_;
    Efault fault_ = FAULT_NONE;
    std::vector<std::string> faultOps_;
    std::vector<int> held_;              // stalled connections, closed by stop()
    std::vector<std::thread> tricklers_;
    std::atomic<int> faultsServed_{0};
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    int port_ = 0;
    bool tls_ = false;
    void* service_ = nullptr;
};

// A listener that takes connections and then misbehaves.
class CfaultyService {
public:
    enum Emode { SILENT, GARBAGE, HANG_UP };
    explicit CfaultyService(Emode mode) : mode_(mode) {}
    ~CfaultyService();
    bool start();
    void stop();
    int port() const { return port_; }
    CwebServiceConfig config(int timeoutSeconds = 1) const;
    int connections() const { return connections_.load(); }

private:
    void loop();
    Emode mode_;
    int listenFd_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::vector<int> held_;
};
