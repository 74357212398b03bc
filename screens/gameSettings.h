#pragma once
// CgameSettingsScreen, the GameSettings state ("gameSettings.txt"):
// difficulty, visual intensity, the play time of a radio station or the
// open-mic mode, and what follows the track; OK starts the countdown. During
// a timed challenge OK opens the challenge track's link and plays it on open
// mic.
#include <functional>
#include <string>

#include "screens/layoutScreen.h"
#include "screens/menuColumns.h"

class CchallengeMgr;

class CgameSettingsScreen : public ClayoutScreen {
public:
    // Where BACK goes when the screen was opened from somewhere other than
    // the music choice.
    enum EreturnTo { RETURN_BY_MUSIC_SOURCE, RETURN_SHIP_MISSIONS, RETURN_UNLOCK_HUB };
    static constexpr int kHighestDifficulty = 6;

    CgameSettingsScreen();
    // Opens the screen (with the transition); BACK then returns to `from` once.
    void open(EreturnTo from);
    // The countdown forgets where BACK would have gone.
    void clearReturn() { returnTo_ = RETURN_BY_MUSIC_SOURCE; }

    // The challenge link of a kind ('Y' video, 'S' streaming) and id; empty
    // for another kind or an id with characters other than letters, digits,
    // '-' and '_'.
    static std::string challengeLink(char kind, const std::string& id);
    // Opens an address with the desktop's handler (replaced by tests).
    std::function<bool(const std::string&)> openLink;

    Cmenu* difficulty() const { return difficulty_; }
    Cmenu* visualIntensity() const { return visualIntensity_; }
    Cmenu* radioDuration() const { return radioDuration_; }
    Cmenu* nextTrackMode() const { return nextTrackMode_; }
    Cwidget* visBonus() const { return visBonus_; }
    void update() override;

private:
    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;
    void buildMenus(const CchallengeMgr* challenge);
    void goBack();
    void startChallenge(CchallengeMgr& challenge);
    void startGame();

    static const CwidgetBinding kBindings[];
    Cmenu* difficulty_ = nullptr;
    Cmenu* visualIntensity_ = nullptr;
    Cmenu* radioDuration_ = nullptr;
    Cmenu* nextTrackMode_ = nullptr;
    Cwidget* visBonus_ = nullptr;
    Cwidget* nextTrackModeInfo_ = nullptr;
    CmenuColumns columns_;
    EreturnTo returnTo_ = RETURN_BY_MUSIC_SOURCE;
};
