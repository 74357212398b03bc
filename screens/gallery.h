#pragma once
// CgalleryScreen, the Gallery state ("gallery.txt"): every ship of the
// player in a scrolling list, each turning beside its row, sorted in one of
// six orders, with the totals of ships, play time and missions complete.
// A ship chosen becomes the current ship (for the main menu or the hangar);
// a new ship goes to the ship editor.
#include <vector>

#include "screens/layoutScreen.h"

class Cship;
class CplayerShipDef;

enum EgallerySort {
    SORT_MANUFACTURER = 0,
    SORT_FAVOURITES,
    SORT_MOST_USED,
    SORT_LEAST_USED,
    SORT_MISSIONS,
    SORT_WORKSHOP,
    SORT_COUNT
};

// The number a ship is sorted by (ascending) in a sort mode.
double gallerySortKey(int mode, const CplayerShipDef& ship);

class CgalleryScreen : public ClayoutScreen {
public:
    static constexpr int kMaxDisplayShips = 790;
    // Item kinds (float values): a ship row and its two buttons.
    static constexpr float kRowShip = 3.0f, kRowSelect = 1.0f, kRowDetails = 2.0f;

    CgalleryScreen();
    void render() override;

    int sortMode() const { return sortMode_; }
    Cmenu* menu() const { return menu_; }
    int totalShips() const { return totalShips_; }
    float totalPlayTime() const { return totalPlayTime_; }
    int totalMissionsComplete() const { return totalMissions_; }
    // The player-ship index of each ship row, top to bottom.
    std::vector<int> listedShips() const;
    void buildList();

private:
    struct Crow {
        Cwidget* item;
        Cship* ship;
        int shipIdx;
    };
    void onEnter() override;
    void onUpdate() override;
    void addButtons();
    void showTotals();
    void choose(int shipIdx, int state);

    static const CwidgetBinding kBindings[];
    Cmenu* menu_ = nullptr;
    Cwidget* totalShipsText_ = nullptr;
    Cwidget* totalTimeText_ = nullptr;
    Cwidget* totalMissionsText_ = nullptr;
    int sortMode_ = SORT_MANUFACTURER;
    bool builtOnce_ = false;
    int totalShips_ = 0;
    float totalPlayTime_ = 0;
    int totalMissions_ = 0;
    float turn_ = 0;
    std::vector<Crow> rows_;
};
