#pragma once
// What the mission check needs of the game just played, read from the play
// session, and whether that game completes a mission of the current ship.
#include "game/progress/shipMission.h"

class CgameSession;

// The result's track texts point into the session: use it while the session stands.
CmissionResult missionResultOf(const CgameSession& session);
// True when the last game completes a mission of the current ship that is
// not complete yet (nothing is marked: the mission update screen does that).
bool currentShipMissionProgressed();
