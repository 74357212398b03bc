#pragma once
// CrankUpScreen: after a track, the session's XP counted into the player's and
// the current ship's totals, rank by rank. The first Select commits the XP and
// goes on to the perk unlocks, the track's ship offer or the main menu.
#include "game/progress/rankUpCount.h"
#include "screens/displayShip.h"
#include "screens/layoutScreen.h"

class CrankUpScreen : public ClayoutScreen {
public:
    CrankUpScreen();

    const CrankUpCount& count() const { return count_; }
    // The rank-ups the perk unlock screen is to show.
    int perksToShow() const { return count_.perksToShow(); }
    void render() override;

    // The player's name over the player's bar.
    static std::string playerNameText();

private:
    void onEnter() override;
    void onUpdate() override;
    void showBars(bool effects);
    void showBadge(Cwidget* title, Cwidget* sprite, const CrankBar& bar, bool effects);
    // The puffs and halo around a badge while its bar's celebration runs.
    void celebrate(const CrankBar& bar, const Cwidget* badge);
    void leave();

    static const CwidgetBinding kBindings[];
    Cwidget* progressBar_ = nullptr;
    Cwidget* totalXP_ = nullptr;
    Cwidget* awardedXP_ = nullptr;
    Cwidget* levelTitle_ = nullptr;
    Cwidget* levelSprite_ = nullptr;
    Cwidget* playerName_ = nullptr;
    Cwidget* shipProgressBar_ = nullptr;
    Cwidget* shipTotalXP_ = nullptr;
    Cwidget* shipAwardedXP_ = nullptr;
    Cwidget* shipLevelTitle_ = nullptr;
    Cwidget* shipLevelSprite_ = nullptr;
    Cwidget* shipName_ = nullptr;

    CrankUpCount count_;
    CdisplayShip display_;
};
