#pragma once
// The game over of a BossRush game ("gameOverBossRush.txt"): the waves
// beaten and the score against the boss-rush best.
#include "screens/gameOverCommon.h"

class CgameOverBossRushScreen : public CgameOverModeScreen {
public:
    CgameOverBossRushScreen();

private:
    uint64_t& best() override;
    int board() const override;
    std::string valueText() const override;

    static const CwidgetBinding kBindings[];
};
