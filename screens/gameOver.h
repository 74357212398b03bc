#pragma once
// CgameOverScreen of a track, state GameOver ("gameOver.txt"): the score and
// how far the track was played, a new best or new progress, the place the
// score takes on the track's board, the special ships a run can earn. The
// results are kept as the screen opens; OK goes on to the rank-up, RetryTrack
// straight back to the countdown, each with the comment typed.
#include "game/progress/trackStats.h"
#include "screens/gameOverCommon.h"

class CchallengeMgr;

class CgameOverTrackScreen : public CgameOverScreen {
public:
    CgameOverTrackScreen();

    static constexpr uint64_t kVessikScore = 300000;
    static constexpr uint64_t kGoldScore = 10000000;

    // The run counts for records (not an open-mic run still unidentified).
    bool runCounts() const { return counts_; }
    bool finished() const { return progress_ >= 1.0f; }
    const CtrackRecord& storedRecord() const { return stored_; }

private:
    void onEnter() override;
    void onUpdate() override;
    void grantSpecialShips();
    void countDethroned();

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
    std::string songTitleText_;
    bool hasRecord_ = false;
    bool counts_ = false;
    float progress_ = 0;
};
