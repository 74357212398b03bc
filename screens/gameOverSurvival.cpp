#include "screens/gameOverSurvival.h"

#include "engine/engine.h"
#include "engine/format.h"
#include "game/game.h"

const CwidgetBinding CgameOverSurvivalScreen::kBindings[] = {
    {&CgameOverSurvivalScreen::smile_, "Smile"},
    {&CgameOverSurvivalScreen::gameOver_, "GameOver"},
    {&CgameOverSurvivalScreen::score_, "Score"},
    {&CgameOverSurvivalScreen::scoreTitle_, "ScoreTitle"},
    {&CgameOverSurvivalScreen::newHighScore_, "NewHighScore"},
    {&CgameOverSurvivalScreen::value_, "Time"},
    {&CgameOverSurvivalScreen::valueTitle_, "TimeTitle"},
    {&CgameOverSurvivalScreen::commentTitle_, "HighScoreComment"},
    {&CgameOverSurvivalScreen::commentField_, "HighScoreCommentText"},
    {&CgameOverSurvivalScreen::worldRecord_, "WorldRecord"},
    {&CgameOverSurvivalScreen::worldRecordText_, "WorldRecordText"},
    {&CgameOverSurvivalScreen::worldRecordNumber_, "WorldRecordNumber"},
    {&CgameOverSurvivalScreen::moments_, "Moments"},
};

CgameOverSurvivalScreen::CgameOverSurvivalScreen()
    : CgameOverModeScreen("gameOverSurvival.txt", kBindings, 1.4f, GM_GAME_OVER_SURVIVAL) {}

uint64_t& CgameOverSurvivalScreen::best() {
    CplayerProgress& p = gGame->progress;
    return gGame->standardShipFlag ? p.survivalBest : p.survivalBestCustom;
}

// The survival board takes every ship.
int CgameOverSurvivalScreen::board() const { return CleaderboardMgr::kSurvivalBoard; }

std::string CgameOverSurvivalScreen::valueText() const { return formatTime((int)gGame->world.session.clock); }


