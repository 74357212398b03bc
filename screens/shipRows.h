#pragma once
// The rows of the ship lists (a party player's ship list and the gallery):
// which ships may be listed, and what a ship's row shows.
#include <string>

class Cwidget;
class CplayerShipDef;
struct Ccolour;

// "%02d:%02d", or "%02dh %02dm %02ds" from one hour on, of whole seconds.
std::string shipTimeText(float seconds);

// A built-in ship's description or mission title as the current language
// reads it: the data keeps a tag for those; a player's own words, and a name,
// read as written.
std::string shipWords(const std::string& stored);

// False for a hidden or excluded ship, for a special ship whose unlock the
// progress record does not hold, and for a player design that cannot fly.
bool shipListable(CplayerShipDef& ship);

// Fills a row: "Name", the maker's icon "Manu", the rank "Score", the "WIP"
// mark (an unfinished ship only), "NumMods", "Heart" (in the favourite or
// plain colour), "Time" and one of "Star1".."Star4" per mission (complete in
// the favourite colour). Returns the number of complete missions shown.
int fillShipRow(Cwidget* row, const CplayerShipDef& ship, const Ccolour& favourite, const Ccolour& plain);

class Cship;
#include <vector>
// Draws display ships through the game camera, over the screen's widgets.
void drawShips(const std::vector<Cship*>& ships);
