#pragma once
// The game over of a Survival game ("gameOverSurvival.txt"): the time
// survived and the score against the survival best.
#include "screens/gameOverCommon.h"

class CgameOverSurvivalScreen : public CgameOverModeScreen {
public:
    CgameOverSurvivalScreen();

private:
    uint64_t& best() override;
    int board() const override;
    std::string valueText() const override;

    static const CwidgetBinding kBindings[];
};
