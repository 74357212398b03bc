#pragma once
// k4wSOAP: the session with the maker's k4w web service. It starts the client
// (the service is checked over IPv4, then IPv6), holds the login, the auth
// token and the signed-in player, keeps the last error and a debug log of the
// calls, and runs every call that waits on the network as a CthreadTask whose
// flags the screens poll. With the engine's web-service-off switch set no
// request is made at all.
#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "engine/threadTask.h"
#include "engine/webMessage.h"
#include "online/k4wInFlight.h"
#include "online/serviceCall.h"
#include "online/webServiceConfig.h"

// What a player look-up found.
struct CfoundPlayer {
    uint64_t id = 0;
    bool found = false;
    std::string name;
    Cbytes record;   // the statistics record; zeros when the service had none
};

class k4wSOAP {
    // First, so that it outlives every call and task below.
    mutable Ck4wInFlight inFlight_;

public:
    static constexpr size_t kMaxPlayerName = 29;     // characters
    static constexpr size_t kStatsRecordSize = 309;  // a player statistics record
    static constexpr int kMaxTokenFailures = 3;
    static constexpr size_t kDebugLogLines = 64;

    k4wSOAP();
    ~k4wSOAP();
    k4wSOAP(const k4wSOAP&) = delete;
    k4wSOAP& operator=(const k4wSOAP&) = delete;

    // Where the service is ("textFiles/webService.txt").
    bool loadConfig(const std::string& fileName = "webService.txt");
    void setConfig(const CwebServiceConfig& c);
    CwebServiceConfig config() const;

    // Starts the client: sets the game title and asks the service for its
    // time over IPv4, then IPv6, within the start time-out. A failure sets
    // the off switch. Blocks for at most the start time-out per address:
    // screens use startClient instead.
    bool setGameTitle(const std::string& title);
    // The same beside the frame loop, after a check that the service's host
    // takes connections at all; startCall is polled. Nothing is switched off
    // here: the screen that asked decides.
    bool startClient(const std::string& title);
    CserviceCall startCall{"StartService"};
    // After a failed startClient: whether the connection check failed.
    bool startFoundNoConnection() const { return startNoConnection_.load(); }
    bool isStarted() const { return started_.load(); }
    std::string gameTitle() const;

    // The off switch (the engine's webServiceOff byte).
    static bool serviceOff();
    void switchOff(const char* reason);

    // The login used for the token; the save layer loads and saves it.
    void setLogin(const std::string& login, const std::string& password, const std::string& email);
    std::string loginName() const;
    std::string loginPassword() const;
    std::string loginEmail() const;
    bool hasLogin() const;
    // Forgets the login, the token and the signed-in player.
    void clearLogin();

    // "SigningIn": e-mail or player id, and password. On success the
    // credentials become the login.
    bool startSignIn(const std::string& login, const std::string& password);
    // "CreatingAccount": on success the e-mail and password become the login.
    bool startCreateAccount(const std::string& nickname, const std::string& email, const std::string& password);
    // "GetAuthToken" with the stored login. Its failures are counted; the
    // third in a run switches the service off (applied by commitUnixTime and
    // update on the main thread).
    bool retrieveAuthToken();
    int tokenFailures() const { return tokenFailures_.load(); }
    // Takes the server time that came with the last token as the session's
    // clock.
    void commitUnixTime();
    // Cuts the name to 29 characters, keeps it as the nickname and sends it
    // to the service when signed in.
    void setPlayerName(const std::string& name);

    // "Find Player": looks a player up by id; pollFindPlayer() polls it. Done
    // means the service answered (found or not); the answer is foundPlayer().
    bool startFindPlayer(uint64_t id);
    CserviceCall findCall{"Find Player"};
    const CfoundPlayer& foundPlayer() const { return found_; }
    EcallState pollFindPlayer();

    // Ends every call on the wire at once and refuses new ones (quitting).
    void abortCalls() { inFlight_.abort(); }
    // The longest a screen's call may take before it counts as timed out.
    uint32_t callLimitMs() const;

    CthreadTask signInTask{"SigningIn", CthreadTask::TASK_NETWORK};
    CthreadTask createAccountTask{"CreatingAccount", CthreadTask::TASK_NETWORK};
    CthreadTask tokenTask{"GetAuthToken", CthreadTask::TASK_NETWORK};
    CthreadTask playerNameTask{"SetPlayerName", CthreadTask::TASK_NETWORK};

    // The session.
    uint8_t signedIn() const { return signedIn_.load(); }
    uint64_t playerId() const;
    std::string nickname() const;
    std::string guid() const;
    // The service's unix time in seconds, ticking on between syncs (the local
    // clock until the first sync).
    int64_t unixTime() const;
    int64_t dayNumber() const { return unixTime() / 86400; }

    // Logs the last service error with text at level 4 and returns its code;
    // with fatal set the program ends through the fatal path.
    int getLastErrorCode(const char* text, bool fatal);
    int lastErrorCode() const;
    std::string lastErrorText() const;
    std::vector<std::string> debugLog() const;
    bool debugToLog = true;   // echo the debug lines to the game log (level 2)

    // Per update: applies the off switch after three failed tokens, sends a
    // pending player name, keeps the engine's server time.
    void update();

    // For the clients of online/ (run from task bodies). prepareCall checks
    // the switch and the start (and the token when needToken) and hands out
    // what one call needs; a non-zero result means "do not send".
    int prepareCall(Ck4wSettings& s, std::string* token) const;
    // False, with a log line and the service switched off, when the service
    // is plain http to another host: no password is sent there.
    bool passwordMayGo(const char* op);
    static std::string caFilePath(const CwebServiceConfig& c);
    Ck4wCallLog callLog();
    // Synchronous token refresh with the stored login, for a body whose call
    // was refused for its token.
    bool refreshToken();
    std::string authToken() const;
    // The signed-in player as a token reply names it (tests set it directly).
    void setSession(uint64_t id, const std::string& nick, const std::string& guid);

private:
    bool fetchToken();   // the body of the token request
    Ck4wCallResult contactService(const std::string& title);
    void noteCall(const char* op, const Ck4wCallResult& r, int ms);
    void joinAll();

    mutable std::mutex mutex_;
    CwebServiceConfig config_;
    std::string gameTitle_;
    std::vector<std::string> urls_;
    std::atomic<bool> started_{false};

    std::string login_, password_, email_;
    std::string token_;
    std::atomic<uint8_t> signedIn_{0};
    uint64_t playerId_ = 0;
    std::string nickname_, guid_;
    std::string pendingName_;
    bool nameToSend_ = false;

    int64_t syncedUnixTime_ = 0;
    uint64_t syncedTicks_ = 0;
    bool synced_ = false;
    int64_t pendingUnixTime_ = 0;
    bool unixTimePending_ = false;

    std::atomic<int> tokenFailures_{0};
    bool tokenOffApplied_ = false;

    int lastError_ = K4W_OK;
    std::string lastErrorText_;
    std::deque<std::string> debugLines_;

    std::atomic<bool> startNoConnection_{false};
    // The last look-up's answer, taken from its call's own reply when done.
    std::shared_ptr<CfoundPlayer> findReply_;
    CfoundPlayer found_;
};
