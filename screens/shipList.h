#pragma once
// The player's ships as the ship screens list and show them: the sorted and
// filtered ship list of "ShipHangarItem" rows (the daily challenge's ship
// choice), the sort label of the gallery, and the display ships that fly in
// place beside a screen's widgets.
#include <cstdint>
#include <string>
#include <vector>

class Cmenu;
class Cship;
class Cwidget;
class CplayerShipDef;

enum EshipSort {
    SHIPSORT_ALL = 0,
    SHIPSORT_FAVOURITES,
    SHIPSORT_MOST_USED,
    SHIPSORT_LEAST_USED,
    SHIPSORT_MISSIONS_COMPLETE,
    SHIPSORT_WORKSHOP,
    SHIPSORT_COUNT
};

// Ship filters: 0 all, 1 player designs only, 2 built-in, 3 workshop, 4..10
// the makers 0..6. Player designs pass every filter but 1's own.
constexpr int kShipFilterCount = 11;

// "Sort: <mode>" for the gallery's sort button; a mode beyond the list gives
// the prefix alone.
std::string sortModeLabel(int mode);

// The indices into the player's ships that a list shows, in order. Excluded
// and unfinished ships, ships that go over their point balance and ships the
// filter refuses are left out; the three special ships wait for their unlocks.
std::vector<int> listedShips(int sortMode, int filter);

// Empties the menu and the ship manager and adds one row per listed ship with
// a display ship for each (row value: the ship's index). Returns the rows added.
int fillShipList(Cmenu* menu, int sortMode, int filter);

// The name a player knows a ship by: its display name, else its identifier.
std::string shipTitle(const CplayerShipDef& ship);
// How many of the ship's four mission-complete marks are set.
int missionMarksSet(const CplayerShipDef& ship);
// The ship's rank name, or "Unranked" before its first XP.
std::string shipRankName(uint64_t xp);
// Sets a sprite gadget to the maker's icon (with or without the maker's name
// in it, a plain word going in the widget's Word text); none for a ship
// without a maker.
void setMakerIcon(Cwidget* w, const char* gadget, int manufacturer, bool withText);

// A display ship of a player's ship, off screen until placed; null when the
// ship manager is full.
Cship* addDisplayShip(const CplayerShipDef& ship);
// Holds a display ship still, centred on a screen point, its size fitted to
// a height in screen pixels.
void placeDisplayShip(Cship* ship, float screenX, float screenY, float heightPx);
// One step of the ships and shots of a screen that shows one ship, held
// nose up over a layout widget (none: the ship stays where it is).
void flyInPlace(Cship* ship, const Cwidget* spot);
// Draws display ships in the ships' three passes; ships set inactive are skipped.
void drawDisplayShips(const std::vector<Cship*>& ships);
