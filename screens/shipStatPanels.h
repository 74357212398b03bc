#pragma once
// Fillers shared by the ship screens (hangar, module editing, main menu,
// unlock screens). They write texts and colours into text gadgets the
// caller's widgets already have and keep no state.
class Cwidget;
class CplayerShipDef;
class CshipModule;

// The ship's worldwide figures, one per widget's first text gadget. The
// discoveries line is shown only for a music-generated ship.
void fillGlobalShipStats(const CplayerShipDef& ship, Cwidget* discoveries, Cwidget* tracksCleared,
                         Cwidget* timePlayed);

// One module card ("Prop", "Name", "Rarity", "PosTitle", "NegTitle",
// "PosFactor", "NegFactor", "Edge", "Lock", "Unlock"); no module empties it.
void fillShipModuleCard(Cwidget* card, const CshipModule* module);

// The twelve stat lines "Stats1".."Stats12" with the module share of each
// value in "Stats1b".."Stats12b".
void fillShipStatsPanel(Cwidget* panel, const CplayerShipDef& ship);

// Which colour a ship value takes: -1 bad, 0 normal, 1 good.
enum EvalueLook { VALUE_BAD = -1, VALUE_NORMAL = 0, VALUE_GOOD = 1 };
// The line's look for a value, lines 1..10; 0 for the others.
int statLineLook(int line, float value);
// A module bonus: signed to two places, "+" from above 0.005 on.
const char* bonusText(float bonus);
int bonusLook(float bonus);
