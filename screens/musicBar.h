#pragma once
// CmusicBarScreen ("musicBar.txt"): the playing track over every menu
// screen, with its heart, trash, next-track and leaderboard buttons. An
// overlay, not a game state: stepped every update before the state's screen
// and drawn on top. It stays up on menu screens and slides away during play,
// the countdown and a few busy screens (five seconds after it was last shown).
#include <string>

#include "screens/layoutScreen.h"

class Cscreen;
class Cwidget;
class CsongPackInfo;

class CmusicBarScreen : public ClayoutOverlay {
public:
    CmusicBarScreen();
    ~CmusicBarScreen() override;
    static constexpr float kShowSeconds = 5.0f;

    bool load() override;
    bool showing() const override { return active_; }
    void update() override;
    void render() override;

    // At the start of the title screen's entry: the bar slides in.
    void activate();
    // Fills the bar for a track (its record, buttons and heart colour).
    void setTrack(const CsongPackInfo* track);
    // The controller glyphs beside the buttons follow the first pad.
    void refreshPadGlyphs();
    // While play is paused the bar shows the held track, without its buttons
    // (a paused game keeps its track); false brings the normal look back.
    void setPausedLook(bool paused);
    bool pausedLook() const { return pausedLook_; }
    static constexpr float kPausedLookSeconds = 0.7f;

    Cwidget* bar() const { return bar_; }
    Cwidget* heart() const { return heart_; }
    Cwidget* trash() const { return trash_; }
    Cwidget* next() const { return next_; }
    Cwidget* leaderboard() const { return leaderboard_; }
    bool hidden() const { return hidden_; }
    bool awaitingDelete() const { return awaitingDelete_; }
    float showTimer() const { return showTimer_; }

private:
    void show();
    void hide();
    bool awayHere() const;   // the screen shown has no music bar
    void showWidgets(bool slide, float duration);
    bool leaderboardHidden() const;
    void setHeartColour(bool favourite);
    void finishDelete();

    static const CwidgetBinding kBindings[];
    Cwidget* bar_ = nullptr;
    Cwidget* heart_ = nullptr;
    Cwidget* trash_ = nullptr;
    Cwidget* next_ = nullptr;
    Cwidget* leaderboard_ = nullptr;
    Cwidget* promptHeart_ = nullptr;
    Cwidget* promptTrash_ = nullptr;
    Cwidget* promptNext_ = nullptr;
    Cwidget* promptLeaderboard_ = nullptr;
    bool active_ = false;
    bool hidden_ = true;
    bool awaitingDelete_ = false;
    bool pausedLook_ = false;
    std::string deletePath_;   // the file of the track the player asked to delete
    const CsongPackInfo* shownTrack_ = nullptr;   // the track the header last showed
    int languageShown_ = -1;                        // the language its texts were made in
    float showTimer_ = 0;
    int lastState_ = 0;
};
