// Drawing of play. Until the renderer is in, play draws nothing of its own.
#include "game/gameWorld.h"

void CgameSession::draw() {
    if (world_.hooks.hudDraw) world_.hooks.hudDraw();
}

void Cship::draw() const {}
void Cship::drawParts() const {}
void Cship::drawGlow() const {}
void CshipMgr::drawShips(bool displayOnly) const { (void)displayOnly; }
void CprojectileMgr::draw() {}
void CpickupMgr::draw() {}
