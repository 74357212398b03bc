#pragma once
// CgameOverScreen of a track, state GameOver ("gameOver.txt"): the score and
// how far the track was played, a new best or new progress, the place the
// score takes on the track's board, the special ships a run can earn. OK
// keeps the record, submits the boards and goes on to the rank-up; RetryTrack
// does the same and goes straight back to the countdown.
#include "game/progress/trackStats.h"
#include "screens/gameOverCommon.h"

class CchallengeMgr;

class CgameOverTrackScreen : public CgameOverScreen {
public:
    CgameOverTrackScreen();

    static constexpr uint64_t kVessikScore = 300000;
    static constexpr uint64_t kGoldScore = 10000000;
    static constexpr double kClearedTrackSeconds = 120.0;

    // The run counts for records (not an open-mic run still unidentified).
    bool runCounts() const { return counts_; }
    bool finished() const { return progress_ >= 1.0f; }
    const CtrackRecord& storedRecord() const { return stored_; }

private:
    void onEnter() override;
    void onUpdate() override;
    void grantSpecialShips();
    void countTrack();
    void countDethroned();
    // Keeps the record (a new best, or a run that got further) and submits the boards.
    void saveRecord();
    // The running challenge when this game was an attempt at it, else null.
    static CchallengeMgr* challengeAttempt();
    // A timed challenge attempt's score goes to the challenge's board.
    void submitChallenge(uint64_t score);

    static const CwidgetBinding kBindings[];
    Cwidget* smile_ = nullptr;
    Cwidget* gameOver_ = nullptr;
    Cwidget* worldRecord_ = nullptr;
    Cwidget* worldRecordText_ = nullptr;
    Cwidget* worldRecordNumber_ = nullptr;
    Cwidget* score_ = nullptr;
    Cwidget* scoreTitle_ = nullptr;
    Cwidget* newHighScore_ = nullptr;
    Cwidget* percentage_ = nullptr;
    Cwidget* percentageTitle_ = nullptr;
    Cwidget* newProgress_ = nullptr;
    Cwidget* songTitle_ = nullptr;
    Cwidget* commentTitle_ = nullptr;
    Cwidget* commentField_ = nullptr;
    Cwidget* emailPrompt_ = nullptr;
    Cwidget* moments_ = nullptr;

    CtrackRecord stored_;
    bool hasRecord_ = false;
    bool counts_ = false;
    float progress_ = 0;
    bool saved_ = false;
};
