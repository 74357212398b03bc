#include "screens/gameOverBossRush.h"

#include <cstdio>

#include "engine/engine.h"
#include "game/game.h"

const CwidgetBinding CgameOverBossRushScreen::kBindings[] = {
    {&CgameOverBossRushScreen::smile_, "Smile"},
    {&CgameOverBossRushScreen::gameOver_, "GameOver"},
    {&CgameOverBossRushScreen::score_, "Score"},
    {&CgameOverBossRushScreen::scoreTitle_, "ScoreTitle"},
    {&CgameOverBossRushScreen::newHighScore_, "NewHighScore"},
    {&CgameOverBossRushScreen::value_, "Wave"},
    {&CgameOverBossRushScreen::valueTitle_, "WaveTitle"},
    {&CgameOverBossRushScreen::commentTitle_, "HighScoreComment"},
    {&CgameOverBossRushScreen::commentField_, "HighScoreCommentText"},
    {&CgameOverBossRushScreen::worldRecord_, "WorldRecord"},
    {&CgameOverBossRushScreen::worldRecordText_, "WorldRecordText"},
    {&CgameOverBossRushScreen::worldRecordNumber_, "WorldRecordNumber"},
    {&CgameOverBossRushScreen::moments_, "Moments"},
};

CgameOverBossRushScreen::CgameOverBossRushScreen()
    : CgameOverModeScreen("gameOverBossRush.txt", kBindings, 1.2f, GM_GAME_OVER_BOSS_RUSH) {}

uint64_t& CgameOverBossRushScreen::best() {
    CplayerProgress& p = gGame->progress;
    return gGame->standardShipFlag ? p.bossRushBest : p.bossRushBestCustom;
}

int CgameOverBossRushScreen::board() const {
    return gGame->standardShipFlag ? CleaderboardMgr::kBossRushBoard
                                   : CleaderboardMgr::kBossRushBoard + CleaderboardMgr::kCustomShipOffset;
}

std::string CgameOverBossRushScreen::valueText() const {
    return std::to_string(gGame->world.session.bossRushWave);
}


