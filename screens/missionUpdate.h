#pragma once
// The mission update screen ("missionUpdate.txt", state MissonUpdate): after a
// game of a ship with missions, its mission cards; the missions the game has
// just completed get their star with a celebration, and completing the last
// one plays the all-complete sequence. Continue leads to the ship's module
// unlock, the music-generated ship unlock or the main menu.
//
// Completion itself is the progress layer's (completeShipMissions): this
// screen asks it once on entering and shows what it reports.
#include <array>

#include "screens/layoutScreen.h"

class CmissionUpdateScreen : public ClayoutScreen {
public:
    static constexpr float kStarDelay = 1.15f;
    static constexpr float kAllCompleteDelay = 2.5f;

    CmissionUpdateScreen();

    // Marks the missions that the last game completes, and starts their celebration.
    void checkMissions();
    bool newlyCompleted(int card) const { return card >= 0 && card < 4 && newly_[(size_t)card]; }
    bool allComplete() const { return allComplete_; }

private:
    void onEnter() override;
    void onUpdate() override;
    void render() override;
    void celebrate();
    void goOn();

    static const CwidgetBinding kBindings[];
    Cwidget* shadow_ = nullptr;
    Cwidget* complete_ = nullptr;
    std::array<Cwidget*, 4> cards_{};
    std::array<Cwidget*, 4> stars_{};
    Cwidget* card1_ = nullptr;
    Cwidget* card2_ = nullptr;
    Cwidget* card3_ = nullptr;
    Cwidget* card4_ = nullptr;
    Cwidget* star1_ = nullptr;
    Cwidget* star2_ = nullptr;
    Cwidget* star3_ = nullptr;
    Cwidget* star4_ = nullptr;
    Cwidget* allComplete1_ = nullptr;
    Cwidget* allComplete2_ = nullptr;

    std::array<bool, 4> newly_{};
    float starTimer_ = -1;
    float allCompleteTimer_ = 0;
    bool allComplete_ = false;
    bool leaving_ = false;
};
