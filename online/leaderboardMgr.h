#pragma once
// CleaderboardMgr: the web leaderboards. The first 20 boards are fixed (XP,
// seven track-length boards, boss rush, survival, daily tracks, then the
// custom-ship twins of boards 1 to 9); track, replay and challenge boards are
// registered by name when first asked for. Downloads and submissions queue up
// and run one at a time as the "Leaderboards" task; results are applied on
// the main thread in update(). With the web service off nothing is queued and
// the manager is never busy.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "engine/webMessage.h"
#include "online/scoreRecord.h"
#include "online/serviceCall.h"

class k4wSOAP;
class CfriendList;
class CchallengeMgr;

enum EboardKind { BOARD_FIXED = 0, BOARD_TRACK, BOARD_REPLAY, BOARD_CHALLENGE };

struct CboardEntry {
    uint64_t score = 0;
    uint64_t playerId = 0;
    Cbytes record;   // the score data record, checked by its reader
};

struct Cboard {
    std::string name;          // the service's board name
    std::string title;         // string-table tag shown in lists
    std::string scorePrefix;   // shown before a score; empty for every fixed board
    int index = -1;            // 0..19 for the fixed boards
    EboardKind kind = BOARD_TRACK;
    bool keepBest = true;      // false: every submit is its own entry
    int topCount = 0;          // entries that came from the top-score download
    std::vector<CboardEntry> entries;   // highest first
    bool downloaded = false;
    int64_t downloadedAt = 0;  // service time of the last download
    // Why the last download failed (CALL_NO_FAILURE after one that worked):
    // the entries, if any, are then older than the player asked for.
    EcallFailure failure = CALL_NO_FAILURE;
    bool queued = false;
    bool steamRegistered = false;
};

class CleaderboardMgr {
public:
    static constexpr int kNumFixedBoards = 20;
    static constexpr int kXpBoard = 0;
    static constexpr int kBossRushBoard = 8;
    static constexpr int kSurvivalBoard = 9;
    static constexpr int kDailyTracksBoard = 10;
    static constexpr int kCustomShipOffset = 10;   // boards 1..9 have twins 11..19
    static constexpr size_t kMaxRecordSize = 2048;
    static constexpr size_t kMaxBoards = 2000;

    CleaderboardMgr(k4wSOAP& ws, const CfriendList& friends);
    ~CleaderboardMgr();

    // Makes the 20 fixed boards (again), empty.
    void init();

    Cboard* board(int index);
    Cboard* findBoard(const std::string& name);
    const Cboard* findBoard(const std::string& name) const;
    size_t numBoards() const { return boards_.size(); }

    // A track's board name: the key, or "Shp_" and the key for a custom
    // ship, unless an active timed challenge asks for plain names.
    std::string trackBoardName(const std::string& key, bool standardShip) const;
    std::string trackBoardName(const std::string& key) const { return trackBoardName(key, standardShipFlag); }
    Cboard* getShipBoard(bool standardShip, const std::string& key);
    // Finds or registers a board by name.
    Cboard* addBoard(const std::string& name, EboardKind kind, bool keepBest = true);

    // Downloads. A fixed board index of 1..9 with standardShip false means
    // its custom-ship twin. since >= 0 asks for the entries whose score (a
    // submit time) is at least since; the daily-tracks board uses it.
    bool requestBoardDownload(int index, bool standardShip, int64_t since = -1);
    bool requestTrackBoard(const std::string& key, bool standardShip);
    bool requestTrackReplayBoard(const std::string& key);
    bool requestChallengeBoard(const CchallengeMgr& challenge, int offset);
    bool requestDownload(Cboard* b, int top, bool withPlayers, int64_t since = -1);

    // The 0-based place a score would take among the board's top entries,
    // -1 when there is no board or the score is below a full top list.
    int getScorePlaceOnBoard(const Cboard* b, uint64_t score) const;

    // Submissions.
    bool submitBoardScore(int index, uint64_t score, const Cbytes& record);
    // A fixed board with a basic record of the signed-in player (the XP
    // board takes the rank name as its comment).
    bool submitBoardScore(int index, uint64_t score, const std::string& comment, const std::string& ship = {});
    bool submitBoardScore(const std::string& name, uint64_t score, const Cbytes& record, bool keepBest = true);
    bool submitTrackScore(const std::string& key, bool standardShip, uint64_t score, const CperSongScore& rec);
    bool submitChallengeScore(CchallengeMgr& challenge, uint64_t score, const CperSongScore& rec);
    // The daily-tracks board: the board score is the time of the submit.
    bool submitDailyTrackScore(CdailyTrackScore rec);
    // A basic record of the signed-in player with a comment and ship name.
    CbasicScore basicRecord(const std::string& comment, const std::string& ship) const;

    bool isBusy() const;
    // Names of the boards that finished downloading since the reader last
    // emptied the list.
    const std::vector<std::string>& finishedBoards() const { return finished_; }
    void clearFinishedBoards() { finished_.clear(); }

    void update();

    uint8_t standardShipFlag = 1;
    // Set by the online services: true while an active timed challenge asks
    // for plain track board names.
    std::function<bool()> plainNamesWanted;
    // Registers a board's Steam twin (CsteamLeaderboardMgr::addBoard):
    // name, second name, sort method, display type, upload method.
    std::function<void(const std::string&, const std::string&, int, int, int)> addSteamBoard;
    // Day number and country code written into the records made here.
    std::string countryCode() const;

    // Downloads and submits, one at a time beside the frame loop.
    CserviceCall call{"Leaderboards"};

private:
    struct Crequest {
        bool submit = false;
        std::string board;
        int top = 0;
        std::vector<uint64_t> players;
        int64_t since = -1;
        uint64_t score = 0;
        Cbytes record;
        bool keepBest = true;
        bool daily = false;
    };
    struct Cresult {
        bool ok = false;
        int code = 0;
        std::string text;
        int place = -1;
        std::vector<CboardEntry> top, extra;
    };
    bool queue(Crequest r);
    bool runRequest(const Crequest& r, Cresult& out);
    void apply(const Crequest& r, const Cresult& res);
    void startNext();

    k4wSOAP& ws_;
    const CfriendList& friends_;
    std::deque<Cboard> boards_;   // a deque keeps board pointers valid as boards are added
    std::vector<Crequest> queue_;
    Crequest current_;
    std::shared_ptr<Cresult> result_;
    std::vector<std::string> finished_;
};
