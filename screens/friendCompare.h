#pragma once
// CfriendCompareScreen ("friendCompare.txt"), state FriendCompare: the
// player's statistics beside one added friend's, the arrows stepping through
// the friends. A friend can be deleted; Select opens the find-player screen.
#include <cstdint>

#include "game/progress/playerStatsCache.h"
#include "screens/layoutScreen.h"
#include "screens/friendRows.h"

class Cmenu;
class Cwidget;

class CfriendCompareScreen : public ClayoutScreen {
public:
    CfriendCompareScreen();

    // Opens the screen; Back (or Done) returns to returnState.
    void open(int returnState, bool transition = true);
    Cmenu* menu() const { return menu_; }
    Cwidget* widget(const char* name) const;
    int64_t friendIndex() const { return cursor_.index(); }
    bool waiting() const { return waiting_; }

private:
    void onEnter() override;
    void onUpdate() override;
    bool onLoaded() override;
    static const CwidgetBinding kBindings[];
    void fill();
    void stopWaiting();
    void addRow(const CcompareRow& row);
    void askDelete();
    void deleteCompared();
    Cmenu* menu_ = nullptr;
    Cwidget* friend1_ = nullptr;
    Cwidget* friend2_ = nullptr;
    Cwidget* flag1_ = nullptr;
    Cwidget* flag2_ = nullptr;
    Cwidget* left_ = nullptr;
    Cwidget* right_ = nullptr;
    Cwidget* noFriends_ = nullptr;
    CfriendCursor cursor_;
    CplayerStatsRecord scratch_;
    bool waiting_ = false;
    bool requested_ = false;    // statistics were asked for the compared friend
    bool askedDelete_ = false;  // the confirm dialog shows our question
    uint64_t deleteId_ = 0;
    bool laidOut_ = false;
    int returnState_ = 3;
};
