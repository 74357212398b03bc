#pragma once
// CchallengeMgr: one of the two timed challenges, the 24-hour daily challenge
// ("24HourChall") and the 4-hour lightning challenge ("4HourChall"). The
// service names one track and its rules per period; the manager fetches it
// ("GetChallenge" task) when its state asks for a refresh, and after a period
// the player took part in it looks up the player's place on that period's
// board: a place within the configured reward places wins the challenge ship.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/threadTask.h"

class k4wSOAP;
class CleaderboardMgr;
class CsaveFile;

enum EchallengeState { CHALL_IDLE = 0, CHALL_REFRESH = 1, CHALL_READY = 2, CHALL_NONE = 3 };

struct CtimedChallenge {
    int64_t periodNumber = -1;
    std::string trackTitle, artist, album;
    int32_t duration = 0;        // seconds
    int32_t difficulty = 0;      // Edifficulty
    int32_t difficultyCap = 6;
    bool noExtraLives = false;
    int32_t weaponRestriction = 0;
    int32_t shipClass = 0;       // 0..10
    int64_t endTime = 0;         // unix seconds
    char linkKind = 0;           // 'Y' video, 'S' streaming, else none
    std::string linkId;          // letters, digits, '-' and '_' only
    bool plainBoardNames = true; // track boards keep their plain names while active
    bool started = false;        // an attempt has been started
};

// A challenge-ship reward waiting to be shown.
struct CchallengeReward {
    std::string trackTitle, artist;
    int32_t duration = 0;
    int placing = 0;   // 1-based
    int64_t periodNumber = -1;
};

class CchallengeMgr {
public:
    static constexpr int kMaxPlaceCheck = 100;
    static constexpr uint32_t kMaxLaterRewards = 64;   // a stored count beyond this is not ours

    CchallengeMgr(k4wSOAP& ws, CleaderboardMgr& boards);
    ~CchallengeMgr();

    // Sets the period and board prefix and asks for the current challenge.
    void start(int periodHours, const std::string& boardPrefix);
    void update();

    // The period number at offset periods from now, and its board name
    // "%s_HS_%lld".
    int64_t periodNumber(int offset = 0) const;
    std::string boardName(int offset = 0) const;
    // A challenge is ready and its time has not run out.
    bool isRunning() const;

    void select();     // chosen in the main menu: selected and active
    void deselect();
    // Remembers that the player took part in the current period.
    void noteAttempt();

    bool hasPendingReward() const { return rewardPending; }
    // Hands the first pending challenge-ship reward to the reward screens.
    // It stays pending (and saved) until rewardSettled, so that a game closed
    // on the reward screens shows it again; meanwhile no other is shown.
    // False when nothing was shown.
    bool showPendingShipUnlock();
    // The shown reward was taken or let go: the next one won meanwhile (if
    // any) takes its place.
    void rewardSettled();
    std::function<void(const CchallengeReward&)> onShowShipReward;
    // A finished period's board placed the player within the reward places
    // (once per period): the game counts the win or runner-up place.
    std::function<void(const CchallengeReward&)> onPlaced;

    // lastAttempt and the pending reward, kept in the game save.
    void registerRecord(CsaveFile& file, const std::string& recordName);

    int periodHours = 24;
    std::string boardBase;
    int state = CHALL_IDLE;   // EchallengeState
    bool active = false;
    bool selected = false;
    CtimedChallenge challenge;

    // Reward bookkeeping.
    CtimedChallenge lastAttempt;      // periodNumber -1: none
    bool rewardPending = false;
    CchallengeReward reward;
    // Rewards won while one was still waiting to be shown, oldest first.
    std::vector<CchallengeReward> laterRewards;

    CthreadTask task{"GetChallenge", CthreadTask::TASK_NETWORK};

private:
    // What the save held, kept once the whole file has read.
    struct Cstaged {
        int64_t attemptPeriod = -1;
        int32_t attemptDuration = 0;
        std::string attemptTitle, attemptArtist;
        bool rewardPending = false;
        CchallengeReward reward;
        std::vector<CchallengeReward> laterRewards;
    };
    void checkReward();
    Cstaged staged_;
    k4wSOAP& ws_;
    CleaderboardMgr& boards_;
    CtimedChallenge fetched_;
    bool fetchedSome_ = false;
    std::string rewardBoard_;
    bool rewardRequested_ = false;
    bool rewardShown_ = false;   // in the reward screens' hands
};
