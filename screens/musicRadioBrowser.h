#pragma once
// The radio browser ("MusicRadioBrowser.txt", state MusicRadioBrowser): the
// directory's top stations, its genres (primary, then a primary genre's
// secondary genres and stations) and the stations marked as favourites.
// Choosing a station plays it. Directory lists arrive in the background; the
// screen waits for them behind the loading indicator.
#include <string>

#include "audio/songPackInfo.h"
#include "screens/layoutScreen.h"
#include "screens/musicOrigin.h"

class CmusicRadioBrowserScreen : public ClayoutScreen {
public:
    enum Emode { MODE_GENRES = 4, MODE_TOP = 6, MODE_FAVOURITES = 8 };

    CmusicRadioBrowserScreen();

    // Opens the screen for the screen that asks: Back returns there, and a
    // game type screen gets the playing station through "UseNowPlaying".
    void open(EmusicOrigin origin);
    // The hub's roads never inherit a party's or a game type's hand-over.
    void clearOrigin() { origin_ = MUSIC_FROM_TYPE_LIST; }
    EmusicOrigin origin() const { return origin_; }

    int mode() const { return mode_; }
    int primaryGenre() const { return primary_; }
    int secondaryGenre() const { return secondary_; }
    const CsongPackInfo& stationTrack() const { return stationTrack_; }

private:
    void onEnter() override;
    void onUpdate() override;

    void rebuild();
    void fillRows();
    void setTabsHidden(bool hidden);
    void leave();
    void addButtons(const char* selectTag = "Select");

    static const CwidgetBinding kBindings[];
    Cmenu* menu_ = nullptr;
    Cwidget* topStations_ = nullptr;
    Cwidget* genre_ = nullptr;
    Cwidget* favourites_ = nullptr;
    Cwidget* tabLeft_ = nullptr;
    Cwidget* tabRight_ = nullptr;

    int mode_ = MODE_TOP;
    int primary_ = -1;
    int secondary_ = -1;
    CsongPackInfo stationTrack_;
    EmusicOrigin origin_ = MUSIC_FROM_TYPE_LIST;
    int lastSelection_ = -1;
    bool waiting_ = false;
};
