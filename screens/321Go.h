#pragma once
// C321GoScreen, the 321Go state ("321Go.txt"): between the game settings and
// play. It pauses the music, asks for the boards game over will need, counts
// 3, 2, 1, Go over three seconds and starts the session. With open mic and
// track detection it first waits for silence, then for the track to start.
#include "screens/layoutScreen.h"

class C321GoScreen : public ClayoutScreen {
public:
    static constexpr float kSilenceLevel = 3.0f;   // below: silence
    static constexpr float kTrackLevel = 4.0f;     // at or above: the track has started

    C321GoScreen();
    // The game settings opened the challenge track in the browser: the game
    // window comes back to the front as play begins.
    void noteLinkOpened() { linkOpened_ = true; }
    bool linkOpened() const { return linkOpened_; }
    float countdown() const { return countdown_; }

    Cwidget* widget(int digit) const;   // 3, 2, 1; 0 the "Go" line
    Cwidget* goComment() const { return goComment_; }
    Cwidget* openMic() const { return openMic_; }
    Cwidget* openMicVolume() const { return openMicVolume_; }

private:
    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;
    void requestBoards();
    bool stepOpenMic();
    void showGo();
    void popIn(Cwidget* w);
    void bringWindowToFront();

    static const CwidgetBinding kBindings[];
    Cwidget* logo_ = nullptr;
    Cwidget* three_ = nullptr;
    Cwidget* two_ = nullptr;
    Cwidget* one_ = nullptr;
    Cwidget* go_ = nullptr;
    Cwidget* goComment_ = nullptr;
    Cwidget* openMic_ = nullptr;
    Cwidget* openMicVolume_ = nullptr;
    Cwidget* acrLogo_ = nullptr;
    Cwidget* acrText_ = nullptr;
    float countdown_ = 1.0f;
    bool linkOpened_ = false;
    bool listening_ = false;   // the countdown listens to a capture that was running at entry
};
