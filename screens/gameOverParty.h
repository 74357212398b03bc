#pragma once
// The game over of a party game ("gameOverParty.txt"): the teams ranked by
// score (or the football result), the winner marked, and for a one-team game
// how far it got. OK goes back to the party login.
#include <array>
#include <vector>

#include "screens/gameOverCommon.h"

class CgameOverPartyScreen : public CgameOverScreen {
public:
    static constexpr int kMaxTeams = 4;
    CgameOverPartyScreen();

    // Team indices by score, highest first (ties keep team order).
    static std::vector<int> rankTeams(const std::array<int64_t, kMaxTeams>& scores, int teams);
    const std::vector<int>& ranking() const { return ranking_; }

private:
    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;

    static const CwidgetBinding kBindings[];
    Cwidget* smile_ = nullptr;
    Cwidget* gameOver_ = nullptr;
    Cwidget* footballScore_ = nullptr;
    Cwidget* footballScoreTitle_ = nullptr;
    Cwidget* percentage_ = nullptr;
    Cwidget* percentageTitle_ = nullptr;
    Cwidget* time_ = nullptr;
    Cwidget* timeTitle_ = nullptr;
    Cwidget* wave_ = nullptr;
    Cwidget* waveTitle_ = nullptr;
    Cwidget* songTitle_ = nullptr;
    Cwidget* footballTeam1Name_ = nullptr;
    Cwidget* footballTeam2Name_ = nullptr;
    Cwidget* winnerIcon_ = nullptr;
    Cwidget* moments_ = nullptr;
    std::array<Cwidget*, kMaxTeams> teamNames_{};
    std::array<Cwidget*, kMaxTeams> teamScores_{};
    std::vector<int> ranking_;
};
