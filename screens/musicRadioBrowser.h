#pragma once
// The radio browser ("MusicRadioBrowser.txt", state MusicRadioBrowser): the
// directory's top stations, its genres (primary, then a primary genre's
// secondary genres and stations) and the stations marked as favourites.
// Choosing a station plays it. Directory lists arrive in the background; the
// screen waits for them behind the loading indicator.
#include <string>

#include "audio/songPackInfo.h"
#include "screens/layoutScreen.h"

class CmusicRadioBrowserScreen : public ClayoutScreen {
public:
    enum Emode { MODE_GENRES = 4, MODE_TOP = 6, MODE_FAVOURITES = 8 };

    CmusicRadioBrowserScreen();

    // Set by the game type and party game type screens before they open this one.
    void openFrom(bool gameType, bool partyGameType);
    void clearFromFlags() { openFrom(false, false); }

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
    bool fromGameType_ = false;
    bool fromPartyGameType_ = false;
    int lastSelection_ = -1;
    bool waiting_ = false;
};
