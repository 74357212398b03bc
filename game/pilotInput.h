#pragma once
// A player's controls in play from the engine's input: movement from the
// left stick (or the direction keys), aim from the right stick or at the
// mouse, fire, and the four perk buttons.
#include "game/pilotControls.h"

class Cinput;
class CinputPlayer;
struct Ccamera;

constexpr float kStickDeadZone = 0.2f;

// Perk button presses are added to those not yet used, so that a press made
// in one sub-step is not lost before the session reads it.
void readPilotControls(const CinputPlayer& in, const Cinput& input, const Ccamera& camera, CpilotControls& out);
