#include "screens/perkUnlock.h"

#include "engine/engine.h"
#include "engine/ui/menu.h"
#include "engine/ui/screen.h"
#include "game/game.h"
#include "game/missionResult.h"
#include "game/perkMgr.h"
#include "screens/listRows.h"
#include "screens/unlockProcShip.h"

namespace {
const int kClassOrder[] = {PERKCLASS_OTHER,         PERKCLASS_SCORING,       PERKCLASS_FIREPOWER,
                           PERKCLASS_FIREPOWER_BOOST, PERKCLASS_SURVIVABILITY, PERKCLASS_DIFFICULTY};
}  // namespace

const CwidgetBinding CperkUnlockScreen::kBindings[] = {
    {&CperkUnlockScreen::menu_, "Menu"},
    {&CperkUnlockScreen::numToUnlockText_, "NumToUnlock"},
};

CperkUnlockScreen::CperkUnlockScreen() : ClayoutScreen("perkUnlock.txt", kBindings) {}

void CperkUnlockScreen::open(int perksToUnlock) {
    numToUnlock_ = std::max(perksToUnlock, 0);
    gGame->setGameMode(GM_PERK_UNLOCK, true);
}

void CperkUnlockScreen::onEnter() {
    leaving_ = false;
    buildList();
    gUi->tutorials.show("Tut_PerkUnlock1");
}

void CperkUnlockScreen::buildList() {
    const CperkMgr& perks = gGame->world.perks;
    menu_->clearItems();
    for (int perkClass : kClassOrder) {
        // Headings and spacers are read, never chosen.
        for (const char* templ : {"SmallText", "BigText", "SmallText"}) {
            const bool heading = std::string(templ) == "BigText";
            if (Cwidget* w = menu_->addTextItem(templ, heading ? gEngine->text(perkClassTag(perkClass)) : "", -1))
                w->selectable = false;
        }
        for (int id = 0; id < kNumPerkDefs; ++id) {
            const CperkDef& def = perkDef(id);
            if (def.perkClass != perkClass || !def.shown || perks.isUnlocked(id)) continue;
            CwidgetPtr row = gUi->createWidget("PerkUnlockItem");
            if (!row) return;
            row->value = id;
            row->setText("Title", perks.getPerkName(id));
            row->setText("Desc2", perks.getPerkDesc(id));
            // A perk whose prerequisite is still locked is shown but refused.
            if (!perks.isUnlockable(id)) row->colour = gGame->namedColours.darkRed;
            menu_->insertItem(std::move(row));
        }
    }
    menu_->layout();
    // The focus on the first perk that can be taken, else the first perk.
    int first = -1;
    for (size_t i = 0; i < menu_->itemCount(); ++i) {
        const Cwidget* w = menu_->item(i);
        if (w->value < 0) continue;
        if (first < 0) first = (int)i;
        if (perks.isUnlockable((int)w->value)) {
            first = (int)i;
            break;
        }
    }
    if (first >= 0) menu_->setSelectedIdx(first);
    numToUnlockText_->setText("", std::to_string(numToUnlock_) + " " +
                                      gEngine->text(numToUnlock_ == 1 ? "NumToUnlock" : "NumsToUnlock"));
}

void CperkUnlockScreen::onUpdate() {
    if (leaving_) return;
    if (Cwidget* item = menu_->highlightedItem(); item && item->value >= 0 && numToUnlock_ > 0) {
        CperkMgr& perks = gGame->world.perks;
        int id = (int)item->value;
        if (perks.isUnlockable(id) && !perks.isUnlocked(id)) {
            perks.setUnlocked(id, true);
            gGame->progress.saveDirty = true;
            --numToUnlock_;
            gEngine->log.print(LOG_V, "Perk unlocked: %s", perks.getPerkName(id).c_str());
            gGame->sfx.stop(SFX_ACHIEVEMENT);
            gGame->sfx.play(SFX_ACHIEVEMENT, 1.0f);
            buildList();
        } else {
            gEngine->log.print(LOG_V, "Perk %d can't be unlocked yet", id);
            gGame->sfx.play(SFX_ERROR, 1.0f);
        }
    }
    if (numToUnlock_ <= 0) goOn();
}

void CperkUnlockScreen::goOn() {
    leaving_ = true;
    Cgame& g = *gGame;
    if (currentShipMissionProgressed()) {
        g.setGameMode(GM_MISSON_UPDATE, true);
    } else if (unlockProcShipDue()) {
        g.setGameMode(GM_UNLOCK_PROC_SHIP, true);
    } else {
        nameOpenMicTrack();
        g.saveLoad.saveGame();
        g.setGameMode(GM_MAIN_MENU, true);
    }
}
