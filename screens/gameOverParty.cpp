#include "screens/gameOverParty.h"

#include <algorithm>
#include <cstdio>

#include "engine/engine.h"
#include "engine/format.h"
#include "engine/ui/screen.h"
#include "engine/ui/uiMgr.h"
#include "game/game.h"
#include "game/gameTypes.h"

const CwidgetBinding CgameOverPartyScreen::kBindings[] = {
    {&CgameOverPartyScreen::smile_, "Smile"},
    {&CgameOverPartyScreen::gameOver_, "GameOver"},
    {&CgameOverPartyScreen::footballScore_, "FootballScore"},
    {&CgameOverPartyScreen::footballScoreTitle_, "FootballScoreTitle"},
    {&CgameOverPartyScreen::percentage_, "Percentage"},
    {&CgameOverPartyScreen::percentageTitle_, "PercentageTitle"},
    {&CgameOverPartyScreen::time_, "Time"},
    {&CgameOverPartyScreen::timeTitle_, "TimeTitle"},
    {&CgameOverPartyScreen::wave_, "Wave"},
    {&CgameOverPartyScreen::waveTitle_, "WaveTitle"},
    {&CgameOverPartyScreen::songTitle_, "SongTitle"},
    {&CgameOverPartyScreen::footballTeam1Name_, "FootballTeam1Name"},
    {&CgameOverPartyScreen::footballTeam2Name_, "FootballTeam2Name"},
    {&CgameOverPartyScreen::winnerIcon_, "WinnerIcon"},
    {&CgameOverPartyScreen::moments_, "Moments"},
};

CgameOverPartyScreen::CgameOverPartyScreen() : CgameOverScreen("gameOverParty.txt", kBindings, 1.4f) {}

std::vector<int> CgameOverPartyScreen::rankTeams(const std::array<int64_t, kMaxTeams>& scores, int teams) {
    std::vector<int> order;
    for (int t = 0; t < teams && t < kMaxTeams; ++t) order.push_back(t);
    // A swap starts the pass again; equal scores never swap.
    for (size_t i = 1; i < order.size();) {
        if (scores[order[i]] > scores[order[i - 1]]) {
            std::swap(order[i], order[i - 1]);
            i = 1;
        } else {
            ++i;
        }
    }
    return order;
}

bool CgameOverPartyScreen::onLoaded() {
    char name[24];
    for (int i = 0; i < kMaxTeams; ++i) {
        std::snprintf(name, sizeof name, "Team%dName", i + 1);
        teamNames_[i] = screen_->findWidget(name);
        std::snprintf(name, sizeof name, "Team%dScore", i + 1);
        teamScores_[i] = screen_->findWidget(name);
        if (!teamNames_[i] || !teamScores_[i]) return false;
    }
    return true;
}

void CgameOverPartyScreen::onEnter() {
    Cgame& g = *gGame;
    const CgameSession& s = g.world.session;
    if (!enterCommon()) g.world.waves.logWaveRecord();
    moments_->setText("", "");
    int teams = s.partyMode ? g.world.party.getNumActiveTeams() : 1;
    std::array<int64_t, kMaxTeams> scores{};
    for (int t = 0; t < kMaxTeams; ++t) scores[t] = s.teamScores[t];
    ranking_ = rankTeams(scores, teams);

    bool football = s.gameType == GAMETYPE_PARTY_FOOTBALL;
    for (Cwidget* w : {footballScore_, footballScoreTitle_, footballTeam1Name_, footballTeam2Name_}) w->setHidden(!football);
    for (int i = 0; i < kMaxTeams; ++i) {
        bool shown = !football && i < (int)ranking_.size();
        teamNames_[i]->setHidden(!shown);
        teamScores_[i]->setHidden(!shown);
        if (!shown) continue;
        teamNames_[i]->setText("", g.world.party.getTeamName(ranking_[i]));
        teamScores_[i]->setText("", formatThousands64(scores[ranking_[i]]));
    }
    if (football) {
        char text[64];
        std::snprintf(text, sizeof text, "%lld - %lld", (long long)scores[0], (long long)scores[1]);
        footballScore_->setText("", text);
        footballTeam1Name_->setText("", g.world.party.getTeamName(0));
        footballTeam2Name_->setText("", g.world.party.getTeamName(1));
    }
    winnerIcon_->setHidden(football || ranking_.empty());
    if (!winnerIcon_->hidden) winnerIcon_->y = teamNames_[0]->y;

    bool oneTeam = s.party.teamMode == TEAMMODE_COOP;
    bool showPct = oneTeam && s.gameType == GAMETYPE_STANDARD;
    bool showTime = oneTeam && s.gameType == GAMETYPE_SURVIVAL;
    bool showWave = oneTeam && s.gameType == GAMETYPE_BOSSRUSH;
    percentage_->setHidden(!showPct);
    percentageTitle_->setHidden(!showPct);
    time_->setHidden(!showTime);
    timeTitle_->setHidden(!showTime);
    wave_->setHidden(!showWave);
    waveTitle_->setHidden(!showWave);
    char pct[16];
    std::snprintf(pct, sizeof pct, "%d%%", (int)(std::clamp(s.completion, 0.0f, 1.0f) * 100.0f));
    percentage_->setText("", pct);
    time_->setText("", formatTime((int)s.clock));
    wave_->setText("", std::to_string(s.bossRushWave));

    const CsongPackInfo* now = g.music.currentTrack;
    songTitle_->setText("", now ? g.music.getTrackLabel(now, 0) : s.track.title);
    setSmile(smile_, "ui_SmileLogo_Small.png");
    popIn(smile_, 1.0f);
    popIn(gameOver_, 1.1f);
    popIn(songTitle_, 1.2f);
    if (gUi->playSoundPack) gUi->playSoundPack("GameOver");
}

void CgameOverPartyScreen::onUpdate() {
    Cgame& g = *gGame;
    if (stepButtonTimer()) {
        addShareButton();
        gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
    }
    int action = gUi->action();
    if (action == ACTION_SELECT) g.setGameMode(GM_PARTY_LOGIN, true);
    else if (buttonsShown() && action == ACTION_LB && g.autoShots.shots.size() >= 2) openShare(GM_GAME_OVER_PARTY, false);
}
