#pragma once
// The daily tracks screen ("dailyTracks.txt", state DailyTracks): the tracks
// players submitted scores on lately, from the time-based web board. From a
// row the player copies the track's name, opens its board, plays it from the
// library, or opens its link and plays along through open mic.
#include <cstdint>
#include <functional>
#include <string>

#include "audio/songPackInfo.h"
#include "game/gameModes.h"
#include "screens/layoutScreen.h"

struct Cboard;

struct CboardEntry;

class CdailyTracksScreen : public ClayoutScreen {
public:
    // The kinds of the list's items (their float value).
    enum EitemKind { ITEM_TRACK = 0, ITEM_LIBRARY_TRACK = 1, ITEM_COPY = 1, ITEM_BOARD = 2, ITEM_PLAY = 3, ITEM_LINK = 4 };

    CdailyTracksScreen();

    // The hand-over of the screen that opens this one: where Back returns;
    // then the screen's state is asked for.
    void open(int returnState);

    // The list from the downloaded board.
    void fillList();
    // Why nothing new came: said in the empty list, or old rows marked old.
    void showTrouble(const Cboard* b);

    // The board is asked for the submits since this time (-1 before the first visit).
    int64_t timeCode() const { return timeCode_; }
    const CsongPackInfo& trackEntry() const { return track_; }
    Cmenu* list() const { return list_; }

    // Opens an address in the browser (replaced by tests).
    std::function<bool(const std::string&)> openLink;

private:
    void onEnter() override;
    void onUpdate() override;

    const CboardEntry* entry(int64_t index) const;
    void setTrackEntry(const CboardEntry& e);
    void copyName(const CboardEntry& e);
    void viewBoard(const CboardEntry& e);
    void playTrack(const CboardEntry& e);
    void openTrackLink(const CboardEntry& e);
    void updatePadButtons();
    void leave();

    static const CwidgetBinding kBindings[];
    Cmenu* list_ = nullptr;

    int64_t timeCode_ = -1;
    CsongPackInfo track_;
    int returnState_ = GM_MAIN_MENU;
    float lastRowKind_ = -1.0f;
};
