#pragma once
// The leaderboard screen ("leaderboard.txt", state Leaderboard): the list of
// the fixed web boards to choose from, or, opened for one track, that track's
// board straight away. Rows are filled by the list row code.
#include "audio/songPackInfo.h"
#include "game/gameModes.h"
#include "screens/layoutScreen.h"

struct Cboard;

class CleaderboardScreen : public ClayoutScreen {
public:
    CleaderboardScreen();

    // The hand-over of the screen that opens this one: where Back returns,
    // the track (null for the board list) and the ship kind of its board;
    // then the screen's state is asked for.
    void open(int returnState, const CsongPackInfo* track, bool standardShip, bool enter = true);

    bool choosing() const { return choosing_; }
    // Opened for one track: that track (a copy), and where Back goes.
    bool hasTrack() const { return hasTrack_; }
    const CsongPackInfo& track() const { return track_; }
    int returnState() const { return returnState_; }
    int boardIndex() const { return boardIndex_; }

private:
    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;

    void showBoard();
    void fillBasicList();
    void fillPerSongList();
    void fillGeneralTracksList();
    void fillBoardList();
    void setShipWidgets();
    void setSubtitle(const char* text);
    void showRows(Cmenu* table, bool withTransition);
    void requestShownBoard();
    const Cboard* shownBoard();
    // The "no scores" line, or why the service gave nothing new.
    void showEmptyOrTrouble(const Cboard* b, int rows);

    static const CwidgetBinding kBindings[];
    Cwidget* subTitle_ = nullptr;
    Cwidget* noScores_ = nullptr;
    Cmenu* basicRows_ = nullptr;
    Cmenu* perSongRows_ = nullptr;
    Cmenu* generalRows_ = nullptr;
    Cmenu* rows_ = nullptr;   // the table of the board showing
    Cmenu* list_ = nullptr;
    Cwidget* shipCross_ = nullptr;
    Cwidget* shipSprite_ = nullptr;
    Cwidget* shipText_ = nullptr;

    int boardIndex_ = 0;
    bool choosing_ = true;
    int returnState_ = GM_MAIN_MENU;   // entered without open(): the hub's board list
    CsongPackInfo track_;   // a copy: the library may change while the board shows
    bool hasTrack_ = false;
    bool trackStandardShip_ = true;
    bool savedStandardShip_ = true;
};
