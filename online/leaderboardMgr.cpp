#include "online/leaderboardMgr.h"

#include <algorithm>

#include "engine/bString.h"
#include "engine/engine.h"
#include "online/challengeMgr.h"
#include "online/friendList.h"
#include "online/k4wTransport.h"

using namespace k4wGen;

namespace {

struct CfixedBoardDef {
    const char* name;
    const char* title;
};

// In the order of the leaderboard screen's list.
const CfixedBoardDef kFixedBoards[CleaderboardMgr::kNumFixedBoards] = {
    {"XP4", "XPBoardSub"},
    {"TracksUnder2Min", "TrackLessThan2min"},
    {"TracksUnder3Min", "TrackLessThan3min"},
    {"TracksUnder4Min", "TrackLessThan4min"},
    {"TracksUnder5Min", "TrackLessThan5min"},
    {"TracksUnder6Min", "TrackLessThan6min"},
    {"TracksUnder7Min", "TrackLessThan7min"},
    {"TracksOver7Min", "TrackMoreThan7min"},
    {"BossRush", "BossRushHighScore"},
    {"Survival", "SurvivalHighScore"},
    {"DailyTracks3", "DailyTracks"},
    {"TracksUnder2Min_CustomShip", "TrackLessThan2min"},
    {"TracksUnder3Min_CustomShip", "TrackLessThan3min"},
    {"TracksUnder4Min_CustomShip", "TrackLessThan4min"},
    {"TracksUnder5Min_CustomShip", "TrackLessThan5min"},
    {"TracksUnder6Min_CustomShip", "TrackLessThan6min"},
    {"TracksUnder7Min_CustomShip", "TrackLessThan7min"},
    {"TracksOver7Min_CustomShip", "TrackMoreThan7min"},
    {"BossRush_CustomShip", "BossRushHighScore"},
    {"Survival_CustomShip", "SurvivalHighScore"},
};

// Rows from the service: a record larger than any layout is not kept.
bool takeRows(const std::vector<k4w__ScoreRow*>& rows, std::vector<CboardEntry>& out) {
    for (const k4w__ScoreRow* r : rows) {
        if (!r) return false;
        CboardEntry e;
        e.score = r->score;
        e.playerId = r->playerId;
        if (r->data.__size < 0 || (size_t)r->data.__size > CleaderboardMgr::kMaxRecordSize) return false;
        if (r->data.__size > 0 && r->data.__ptr) e.record.assign(r->data.__ptr, r->data.__ptr + r->data.__size);
        out.push_back(std::move(e));
    }
    return true;
}

bool higherFirst(const CboardEntry& a, const CboardEntry& b) { return a.score > b.score; }

}  // namespace

CleaderboardMgr::CleaderboardMgr(k4wSOAP& ws, const CfriendList& friends) : ws_(ws), friends_(friends) { init(); }

CleaderboardMgr::~CleaderboardMgr() = default;

void CleaderboardMgr::init() {
    // A request on the wire belongs to the boards being replaced.
    call.drop();
    result_.reset();
    boards_.clear();
    queue_.clear();
    finished_.clear();
    for (int i = 0; i < kNumFixedBoards; ++i) {
        Cboard b;
        b.name = kFixedBoards[i].name;
        b.title = kFixedBoards[i].title;
        b.index = i;
        b.kind = BOARD_FIXED;
        b.keepBest = i != kDailyTracksBoard;
        boards_.push_back(std::move(b));
    }
}

Cboard* CleaderboardMgr::board(int index) {
    if (index < 0 || (size_t)index >= boards_.size()) return nullptr;
    return &boards_[(size_t)index];
}

Cboard* CleaderboardMgr::findBoard(const std::string& name) {
    for (auto& b : boards_)
        if (equalsIgnoreCase(b.name, name)) return &b;
    return nullptr;
}

const Cboard* CleaderboardMgr::findBoard(const std::string& name) const {
    for (const auto& b : boards_)
        if (equalsIgnoreCase(b.name, name)) return &b;
    return nullptr;
}

std::string CleaderboardMgr::trackBoardName(const std::string& key, bool standardShip) const {
    if (standardShip || (plainNamesWanted && plainNamesWanted())) return key;
    return "Shp_" + key;
}

Cboard* CleaderboardMgr::getShipBoard(bool standardShip, const std::string& key) {
    return findBoard(trackBoardName(key, standardShip));
}

Cboard* CleaderboardMgr::addBoard(const std::string& name, EboardKind kind, bool keepBest) {
    if (name.empty()) return nullptr;
    if (Cboard* b = findBoard(name)) return b;
    if (boards_.size() >= kMaxBoards) {
        gEngine->log.print(LOG_L, "Too many leaderboards, not adding %s", name.c_str());
        return nullptr;
    }
    Cboard b;
    b.name = name;
    b.kind = kind;
    b.keepBest = keepBest;
    boards_.push_back(std::move(b));
    return &boards_.back();
}

std::string CleaderboardMgr::countryCode() const { return gEngine ? gEngine->countryCode : std::string(); }

CbasicScore CleaderboardMgr::basicRecord(const std::string& comment, const std::string& ship) const {
    CbasicScore s;
    s.name = ws_.nickname();
    s.comment = comment;
    s.country = countryCode();
    s.day = (int32_t)ws_.dayNumber();
    s.ship = ship;
    return s;
}

bool CleaderboardMgr::queue(Crequest r) {
    if (k4wSOAP::serviceOff()) return false;
    queue_.push_back(std::move(r));
    startNext();
    return true;
}

bool CleaderboardMgr::requestDownload(Cboard* b, int top, bool withPlayers, int64_t since) {
    if (!b || k4wSOAP::serviceOff()) return false;
    if (b->queued) return true;
    // A board fetched a moment ago is not fetched again; time-coded
    // downloads always go out, their window moves.
    int refresh = ws_.config().boardRefresh;
    if (since < 0 && b->downloaded && ws_.unixTime() - b->downloadedAt < refresh) return true;
    Crequest r;
    r.board = b->name;
    r.top = top;
    r.since = since;
    if (withPlayers && since < 0) {
        r.players = friends_.ids();
        if (ws_.playerId()) r.players.push_back(ws_.playerId());
        if (r.players.size() > 100) r.players.resize(100);
    }
    b->queued = true;
    if (!queue(std::move(r))) {
        b->queued = false;
        return false;
    }
    return true;
}

bool CleaderboardMgr::requestBoardDownload(int index, bool standardShip, int64_t since) {
    if (index >= 1 && index <= 9 && !standardShip) index += kCustomShipOffset;
    if (index < 0 || index >= kNumFixedBoards) return false;
    return requestDownload(board(index), ws_.config().fixedBoardTop, index != kDailyTracksBoard,
                           index == kDailyTracksBoard ? since : -1);
}

bool CleaderboardMgr::requestTrackBoard(const std::string& key, bool standardShip) {
    if (key.empty() || k4wSOAP::serviceOff()) return false;
    Cboard* b = addBoard(trackBoardName(key, standardShip), BOARD_TRACK);
    return requestDownload(b, ws_.config().trackBoardTop, true);
}

bool CleaderboardMgr::requestTrackReplayBoard(const std::string& key) {
    if (key.empty() || k4wSOAP::serviceOff()) return false;
    Cboard* b = addBoard("Rpl_" + key, BOARD_REPLAY);
    return requestDownload(b, ws_.config().trackBoardTop, true);
}

bool CleaderboardMgr::requestChallengeBoard(const CchallengeMgr& challenge, int offset) {
    if (challenge.boardBase.empty() || k4wSOAP::serviceOff()) return false;
    Cboard* b = addBoard(challenge.boardName(offset), BOARD_CHALLENGE);
    return requestDownload(b, ws_.config().trackBoardTop, true);
}

int CleaderboardMgr::getScorePlaceOnBoard(const Cboard* b, uint64_t score) const {
    if (!b) return -1;
    int top = std::min<int>(b->topCount, (int)b->entries.size());
    for (int i = 0; i < top; ++i)
        if (score > b->entries[(size_t)i].score) return i;
    // Below every top entry: a place only when the top list was not full.
    int limit = b->kind == BOARD_FIXED ? ws_.config().fixedBoardTop : ws_.config().trackBoardTop;
    return top < limit ? top : -1;
}

bool CleaderboardMgr::submitBoardScore(int index, uint64_t score, const Cbytes& record) {
    Cboard* b = board(index);
    if (!b || index >= kNumFixedBoards) return false;
    return submitBoardScore(b->name, score, record, b->keepBest);
}

bool CleaderboardMgr::submitBoardScore(int index, uint64_t score, const std::string& comment, const std::string& ship) {
    return submitBoardScore(index, score, basicRecord(comment, ship).write());
}

bool CleaderboardMgr::submitBoardScore(const std::string& name, uint64_t score, const Cbytes& record, bool keepBest) {
    if (name.empty() || record.size() > kMaxRecordSize || k4wSOAP::serviceOff()) return false;
    Cboard* b = findBoard(name);
    if (!b) b = addBoard(name, BOARD_TRACK, keepBest);
    if (b && !b->steamRegistered && addSteamBoard) {
        // Descending, numeric, keep best; the time-coded board has no twin.
        b->steamRegistered = true;
        if (keepBest) addSteamBoard(name, name, 2, 1, 1);
    }
    Crequest r;
    r.submit = true;
    r.board = name;
    r.score = score;
    r.record = record;
    r.keepBest = keepBest;
    return queue(std::move(r));
}

bool CleaderboardMgr::submitTrackScore(const std::string& key, bool standardShip, uint64_t score, const CperSongScore& rec) {
    if (key.empty()) return false;
    return submitBoardScore(trackBoardName(key, standardShip), score, rec.write(), true);
}

bool CleaderboardMgr::submitChallengeScore(CchallengeMgr& challenge, uint64_t score, const CperSongScore& rec) {
    if (challenge.boardBase.empty()) return false;
    if (!submitBoardScore(challenge.boardName(0), score, rec.write(), true)) return false;
    challenge.noteAttempt();
    return true;
}

bool CleaderboardMgr::submitDailyTrackScore(CdailyTrackScore rec) {
    if (k4wSOAP::serviceOff()) return false;
    if (rec.name.empty()) rec.name = ws_.nickname();
    if (rec.country.empty()) rec.country = countryCode();
    Crequest r;
    r.submit = true;
    r.daily = true;
    r.board = kFixedBoards[kDailyTracksBoard].name;
    r.score = (uint64_t)ws_.unixTime();
    r.record = rec.write();
    r.keepBest = false;
    return queue(std::move(r));
}

bool CleaderboardMgr::isBusy() const {
    if (k4wSOAP::serviceOff()) return false;
    return !queue_.empty() || call.pending();
}

bool CleaderboardMgr::runRequest(const Crequest& r, Cresult& out) {
    if (r.submit) {
        _k4w__SubmitScore req;
        req.board = r.board;
        req.score = r.score;
        req.keepBest = r.keepBest;
        // The record is copied into a buffer the request owns for its call.
        Cbytes data = r.record;
        req.data.__ptr = data.empty() ? nullptr : data.data();
        req.data.__size = (int)data.size();
        Ck4wCallResult c = k4wTokenCall(ws_, "SubmitScore", &k4wProxy::SubmitScore, req,
                                        [&](_k4w__SubmitScoreResponse& resp) {
                                            out.place = resp.place;
                                            return true;
                                        });
        // The request does not own the bytes: keep gSOAP from freeing them.
        req.data.__ptr = nullptr;
        req.data.__size = 0;
        out.code = c.code;
        out.text = c.text;
        return c.ok();
    }
    Ck4wCallResult c;
    if (r.since >= 0) {
        _k4w__GetLeaderboardSince req;
        req.board = r.board;
        req.since = r.since;
        req.count = r.top;
        c = k4wTokenCall(ws_, "GetLeaderboardSince", &k4wProxy::GetLeaderboardSince, req,
                         [&](_k4w__GetLeaderboardSinceResponse& resp) { return takeRows(resp.row, out.top); });
    } else {
        _k4w__GetLeaderboard req;
        req.board = r.board;
        req.first = 0;
        req.count = r.top;
        c = k4wTokenCall(ws_, "GetLeaderboard", &k4wProxy::GetLeaderboard, req,
                         [&](_k4w__GetLeaderboardResponse& resp) { return takeRows(resp.row, out.top); });
        if (c.ok()) {
            // The followed players and the player, where the top list does not
            // already hold them.
            _k4w__GetLeaderboardForPlayers more;
            more.board = r.board;
            for (uint64_t id : r.players) {
                bool inTop = false;
                for (const auto& e : out.top) inTop = inTop || e.playerId == id;
                if (!inTop) more.playerId.push_back(id);
            }
            if (!more.playerId.empty()) {
                c = k4wTokenCall(ws_, "GetLeaderboardForPlayers", &k4wProxy::GetLeaderboardForPlayers, more,
                                 [&](_k4w__GetLeaderboardForPlayersResponse& resp) {
                                     return takeRows(resp.row, out.extra);
                                 });
            }
        }
    }
    out.code = c.code;
    out.text = c.text;
    if ((int)out.top.size() > std::max(r.top, 0)) out.top.resize((size_t)std::max(r.top, 0));
    return c.ok();
}

void CleaderboardMgr::apply(const Crequest& r, const Cresult& res) {
    Cboard* b = findBoard(r.board);
    if (r.submit) {
        if (r.daily) {
            if (res.ok) gEngine->log.print(LOG_L, "submitDailyTrackScore: Submitted");
            else gEngine->log.print(LOG_L, "submitDailyTrackScore: Rejected %d %s", res.code, res.text.c_str());
        } else if (!res.ok) {
            gEngine->log.print(LOG_L, "submitBoardScore: %s rejected %d %s", r.board.c_str(), res.code, res.text.c_str());
        }
        // The board changed: the next request fetches it again.
        if (b && res.ok) b->downloadedAt = 0;
        return;
    }
    if (!b) return;
    b->queued = false;
    if (!res.ok) {
        b->failure = callFailureOf(res.code);
        if (b->failure == CALL_NO_FAILURE) b->failure = CALL_BAD_REPLY;
        gEngine->log.print(LOG_L, "Leaderboard download failed: %s %d %s", r.board.c_str(), res.code, res.text.c_str());
        return;
    }
    b->failure = CALL_NO_FAILURE;
    std::vector<CboardEntry> top = res.top, extra = res.extra;
    std::stable_sort(top.begin(), top.end(), higherFirst);
    std::stable_sort(extra.begin(), extra.end(), higherFirst);
    b->entries = std::move(top);
    b->topCount = (int)b->entries.size();
    for (auto& e : extra) {
        bool dup = false;
        for (const auto& t : b->entries) dup = dup || (t.playerId == e.playerId && t.score == e.score);
        if (!dup) b->entries.push_back(std::move(e));
    }
    b->downloaded = true;
    b->downloadedAt = ws_.unixTime();
    finished_.push_back(b->name);
}

void CleaderboardMgr::startNext() {
    if (call.pending() || queue_.empty()) return;
    current_ = std::move(queue_.front());
    queue_.erase(queue_.begin());
    // The request and its result belong to the call's thread alone until
    // it ends; a call given up on keeps them to itself.
    auto request = std::make_shared<Crequest>(current_);
    auto result = std::make_shared<Cresult>();
    result_ = result;
    call.ask([this, request, result] {
        result->ok = runRequest(*request, *result);
        return Ck4wCallResult{result->ok ? K4W_OK : (result->code ? result->code : K4W_BAD_REPLY), result->text};
    }, ws_.callLimitMs());
}

void CleaderboardMgr::update() {
    EcallState st = call.poll();
    if (st == CALL_DONE || st == CALL_FAILED) {
        Cresult res = result_ && st == CALL_DONE ? *result_ : Cresult{};
        if (st == CALL_FAILED) {
            res.ok = false;
            res.code = call.result().code;
            res.text = call.result().text;
        }
        call.drop();
        result_.reset();
        apply(current_, res);
    }
    if (k4wSOAP::serviceOff()) {
        for (const auto& r : queue_)
            if (Cboard* b = findBoard(r.board)) b->queued = false;
        queue_.clear();
        return;
    }
    startNext();
}
