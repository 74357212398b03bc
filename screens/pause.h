#pragma once
// CpauseScreen: the pause over play ("pause.txt"). Play stands still while it
// shows; Resume (or Escape) goes back to play, RestartTrack and QuitTrack ask
// first through the confirm overlay, then go to the countdown or the main menu.
#include "screens/layoutScreen.h"

class CpauseScreen : public ClayoutOverlay {
public:
    CpauseScreen();
    bool showing() const override { return paused_; }
    // Pauses play (nothing when already paused).
    void show() override;
    void update() override;
    void render() override;
    bool paused() const { return paused_; }

private:
    bool musicStops() const;
    void resumeMusic();
    void ask(const char* message, bool quit);
    void answer();
    void leaveTo(int mode);
    void showMissionCard(bool shown);
    void parkSticks(bool park);
    void setMusicBarPaused(bool paused);

    static const CwidgetBinding kBindings[];
    Cwidget* resume_ = nullptr;
    Cwidget* restart_ = nullptr;
    Cwidget* quit_ = nullptr;
    bool paused_ = false;
    bool capturedInPlay_ = false;   // the mouse as play had it when the pause came
    bool quitChosen_ = false;
    bool asking_ = false;
};
