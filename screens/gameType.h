#pragma once
// CgameTypeScreen, the GameType state ("gameType.txt"): the game type, the
// music source and, on touch screens, the stick scheme. OK goes on to the
// music browser, the radio browser or straight to the game settings.
#include "screens/layoutScreen.h"
#include "screens/menuColumns.h"
#include "screens/musicOrigin.h"

class CsongPackInfo;

// The music of a source, shared with the party game type. First the track
// that a picked source (now playing, random, favourite, not played yet)
// plays: false, with the refusal tone and a message, when it has none; the
// other sources pick none and pass. Then the way on: a browser for the track
// and radio lists, the game settings for open mic and the picked sources
// (their track played first).
bool pickTrackForSource(int source, CsongPackInfo*& track);
// The browsers are opened for origin: their Back returns to the screen that asked.
void goToMusicSource(int source, CsongPackInfo* track, Cwidget* pressed, EmusicOrigin origin);

class CgameTypeScreen : public ClayoutScreen {
public:
    CgameTypeScreen();
    Cmenu* gameTypes() const { return gameType_; }
    Cmenu* musicSources() const { return musicSource_; }
    Cmenu* stickSchemes() const { return twinSticks_; }
    void update() override;

private:
    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;
    void confirm();

    static const CwidgetBinding kBindings[];
    Cmenu* gameType_ = nullptr;
    Cmenu* musicSource_ = nullptr;
    Cmenu* twinSticks_ = nullptr;
    CmenuColumns columns_;
};
