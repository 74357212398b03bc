#pragma once
// CnewsFeedScreen ("NewsFeed.txt"), state NewsFeed: the player's inbox.
// Track messages can be listened to, fought back (played at once) or opened
// on their leaderboard. Leaving marks every message read.
#include "screens/layoutScreen.h"
#include "screens/newsFeedRows.h"

class Cmenu;
class Cwidget;

class CnewsFeedScreen : public ClayoutScreen {
public:
    CnewsFeedScreen();

    Cmenu* menu() const { return menu_; }
    // Runs an action on an inbox entry as its button would.
    void act(int entry, EnewsAction action);

private:
    void onEnter() override;
    void onUpdate() override;
    bool onLoaded() override;
    static const CwidgetBinding kBindings[];
    void buildList();
    void updateButtonBar();
    bool padMode() const;
    Cmenu* menu_ = nullptr;
    bool keepOnReturn_ = false;
    int lastSelection_ = -1;
};
