#include "screens/perkMenu.h"

#include <algorithm>

#include "engine/engine.h"
#include "engine/format.h"
#include "engine/ui/menu.h"
#include "engine/ui/screen.h"
#include "engine/ui/uiDraw.h"
#include "game/game.h"
#include "game/perkMgr.h"

namespace {
const int kClassOrder[] = {PERKCLASS_OTHER,           PERKCLASS_SCORING,       PERKCLASS_FIREPOWER,
                           PERKCLASS_FIREPOWER_BOOST, PERKCLASS_SURVIVABILITY, PERKCLASS_DIFFICULTY};
constexpr float kUpgradeDx = -535.0f;   // the button 190 wide stays inside the list (1270 wide)
constexpr float kButtonDx = 450.0f, kButtonStep = 50.0f;
// The perk buttons' key list: its heading level with the class heading's top, the
// four lines under it ending above the first row.
constexpr float kBindingsDx = 400.0f, kBindingsDy = -78.0f, kBindingsLine = 22.0f;

bool isFirePower(int id) { return perkDef(id).perkClass == PERKCLASS_FIREPOWER; }
std::string dollars(int64_t amount) { return std::string("$") + formatThousands64(amount); }

Cwidget* addLine(Cmenu* menu, const char* templ, const std::string& text) {
    Cwidget* w = menu->addTextItem(templ, text, -1);
    if (w) w->selectable = false;
    return w;
}
}  // namespace

const CwidgetBinding CperkMenuScreen::kBindings[] = {
    {&CperkMenuScreen::menu_, "Menu"},
    {&CperkMenuScreen::cash_, "Cash"},
    {&CperkMenuScreen::numSlotsPos_, "NumSlotsPos"},
};

CperkMenuScreen::CperkMenuScreen() : ClayoutScreen("perkMenu.txt", kBindings) {}

int CperkMenuScreen::deviceKind() const { return gUi->input().device; }

void CperkMenuScreen::onEnter() {
    if (deviceKind() == DEVICE_CONTROLLER) {
        gUi->buttonBar.addButtonByKey("CycleBinding", ACTION_OPTION_Y, ICON_Y);
        gUi->buttonBar.setButtonHidden(ACTION_OPTION_Y, true);
        gUi->buttonBar.addButtonByKey("UpgradePerk", ACTION_OPTION_X, ICON_X);
        gUi->buttonBar.addButtonByKey("EnablePerk", ACTION_SELECT, ICON_OK);
    }
    gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);
    numSlotsPos_->setText("", "");
    menu_->clearItems();
    buildList();
}

Cwidget* CperkMenuScreen::findItem(int perkId, int kind) const {
    for (size_t i = 0; i < menu_->itemCount(); ++i) {
        Cwidget* w = menu_->item(i);
        if (w->value == perkId && (int)w->floatValue == kind) return w;
    }
    return nullptr;
}

void CperkMenuScreen::buildList() {
    const CperkMgr& perks = gGame->world.perks;
    const CnamedColours& colours = gGame->namedColours;
    const int device = deviceKind();
    const int64_t cash = gGame->progress.cash;
    const int keepSelected = menu_->getSelectedIdx();
    const float keepScroll = menu_->scrollOffset();

    menu_->clearItems();
    std::fill(std::begin(slotTaken_), std::end(slotTaken_), false);
    conflict_ = false;
    lastHighlight_ = -1;

    for (int perkClass : kClassOrder) {
        // A class with nothing unlocked yet gets no heading, and the perk
        // buttons' key list stands only beside perks that use them.
        bool any = false;
        for (int id = 0; id < kNumPerkDefs && !any; ++id)
            any = perkDef(id).perkClass == perkClass && perkDef(id).shown && perks.isUnlocked(id);
        if (!any) continue;
        addLine(menu_, "SmallText", "");
        addLine(menu_, "BigText", gEngine->text(perkClassTag(perkClass)));
        addLine(menu_, "SmallText", "");
        if (perkClass == PERKCLASS_FIREPOWER && device != DEVICE_TOUCH) {
            // In the lines' own template: a box as wide as the list's rows ran past its right edge.
            CwidgetPtr heading = gUi->createWidget("UniSmallText");
            if (heading) {
                heading->setText("", gEngine->text("PerkKeyBindings"));
                menu_->insertItem(std::move(heading), -1, true, kBindingsDx, kBindingsDy, false);
            }
            const CinputPlayer* player = gEngine->input.player(0);
            for (int k = 1; k <= CperkMgr::kNumPerkButtons; ++k) {
                CwidgetPtr line = gUi->createWidget("UniSmallText");
                if (!line) continue;
                const CactionBinding* b = player ? player->findBinding(ACTION_START + k) : nullptr;
                line->setText("", std::string(gEngine->text("PerkKey")) + CbString::format(" %d - ", k).str() +
                                      (b ? keyDisplayName(*b) : std::string()));
                menu_->insertItem(std::move(line), -1, true, kBindingsDx, kBindingsDy + kBindingsLine * (float)k, false);
            }
        }
        for (int id = 0; id < kNumPerkDefs; ++id) {
            const CperkDef& def = perkDef(id);
            if (def.perkClass != perkClass || !def.shown || !perks.isUnlocked(id)) continue;
            const bool bought = perks.isBought(id);
            const bool enabled = perks.isEnabled(id);
            const bool canEnable = perks.canEnable(id);
            const int level = perks.level(id), top = perks.maxLevel(id), levels = perks.numLevels(id);

            CwidgetPtr row = gUi->createWidget("PerkItem");
            if (!row) return;
            row->setText("Title", perks.getPerkName(id));
            row->setText("Desc", bought ? perks.getPerkSubText(id) : perks.getPerkDesc(id));
            row->setProgress("Bar", top == 0 ? 1.0f : std::clamp((float)level / (float)top, 0.0f, 1.0f));
            row->setText("Upgrade", CbString::format("(%d / %d)", std::max(level + 1, 0), levels).str());
            if (levels < 3) {
                if (Cgadget* g = row->findGadget("Bar")) g->hidden = true;
                if (Cgadget* g = row->findGadget("Upgrade")) g->hidden = true;
            }
            if (Cgadget* icon = row->findGadget("Enable")) {
                icon->hidden = false;
                if (!bought) {
                    row->setSprite("Enable", "ui_icon_dollar.png");
                } else if (enabled) {
                    row->setSprite("Enable", "ui_icon_boxtick.png");
                    icon->colour = colours.green;
                    row->colour = colours.reallyLightGreen;
                } else if (!canEnable) {
                    icon->hidden = true;
                } else {
                    row->setSprite("Enable", "ui_icon_box.png");
                }
            }
            row->floatValue = KIND_PERK;
            row->value = id;
            const bool selectable = !((!bought || !canEnable) && device != DEVICE_CONTROLLER);
            menu_->insertItem(std::move(row), -1, false, 0, 0, selectable);

            if (isFirePower(id) && enabled && device != DEVICE_TOUCH) {
                const int slot = perks.getButton(id);
                for (int k = 0; k < CperkMgr::kNumPerkButtons; ++k) {
                    CwidgetPtr number = gUi->createWidget("PeakWeaponNumber");
                    if (!number) continue;
                    number->setText("", std::to_string(k + 1));
                    number->floatValue = (float)(KIND_BUTTON + k);
                    number->value = id;
                    if (k == slot) {
                        number->colour = slotTaken_[k] ? colours.red : colours.reallyLightGreen;
                        if (slotTaken_[k]) conflict_ = true;
                        slotTaken_[k] = true;
                    }
                    menu_->insertItem(std::move(number), -1, true, kButtonDx + kButtonStep * (float)k, 0);
                }
            }

            CwidgetPtr upgrade = gUi->createWidget("PerkUpgradeItem");
            if (!upgrade) continue;
            const int price = perks.getPrice(id);
            const bool maxed = bought && level >= top;
            upgrade->setText("Title", gEngine->text(!bought ? "PurchasePerk" : (maxed ? "ParkMaxed" : "UpgradePerk")));
            upgrade->setText("Cost", dollars(price));
            upgrade->floatValue = KIND_UPGRADE;
            upgrade->value = id;
            bool upgradeSelectable = false;
            if (maxed) {
                if (Cgadget* g = upgrade->findGadget("Cost")) g->hidden = true;
                upgrade->hidden = true;
            } else if (price <= cash) {
                upgradeSelectable = true;
            } else {
                upgrade->colour = colours.darkRed;
            }
            menu_->insertItem(std::move(upgrade), -1, true, kUpgradeDx, 0, upgradeSelectable);
        }
    }
    menu_->layout();
    // The player stays where they were in the list, and so does the view.
    menu_->setScrollOffset(keepScroll);
    if (keepSelected >= 0 && keepSelected < (int)menu_->itemCount()) menu_->setSelectedIdx(keepSelected);
    cash_->setText("", dollars(cash));
}

void CperkMenuScreen::onUpdate() {
    if (deviceKind() == DEVICE_CONTROLLER) controllerStep();
    if (Cwidget* item = menu_->highlightedItem()) {
        // Read before anything rebuilds the list: the item goes with the old list.
        const int kind = (int)item->floatValue, id = (int)item->value;
        if (deviceKind() != DEVICE_CONTROLLER || kind != KIND_PERK || gGame->world.perks.isBought(id)) choose(kind, id);
        else buy(id);
        return;
    }
    if (gUi->action() == ACTION_BACK) back();
}

void CperkMenuScreen::controllerStep() {
    const CperkMgr& perks = gGame->world.perks;
    const int count = (int)menu_->itemCount();
    if (count == 0) return;
    const int idx = std::clamp(menu_->getSelectedIdx(), 0, count - 1);
    const Cwidget* item = menu_->item((size_t)idx);
    const int id = (int)item->value;
    if (!perks.isValid(id)) return;
    if (idx != lastHighlight_) {
        lastHighlight_ = idx;
        CbuttonBar& bar = gUi->buttonBar;
        const bool bought = perks.isBought(id), enabled = perks.isEnabled(id);
        bar.setButtonHidden(ACTION_OPTION_Y, !(enabled && isFirePower(id)));
        bar.setButtonText(ACTION_SELECT, gEngine->text(!bought ? "PurchasePerk" : (enabled ? "DisablePerk" : "EnablePerk")));
        bar.setButtonHidden(ACTION_OPTION_X, !bought || perks.level(id) >= perks.maxLevel(id) || perks.numLevels(id) == 1);
        bar.setButtonHidden(ACTION_SELECT, bought && !perks.canEnable(id));
    }
    const int action = gUi->action();
    if (action == ACTION_OPTION_X && perks.isBought(id) && perks.level(id) < perks.maxLevel(id)) {
        buy(id);
    } else if (action == ACTION_OPTION_Y && isFirePower(id) && perks.isEnabled(id)) {
        gGame->world.perks.setButton(id, (perks.getButton(id) + 1) % CperkMgr::kNumPerkButtons);
        buildList();
    }
}

bool CperkMenuScreen::buy(int perkId) {
    CperkMgr& perks = gGame->world.perks;
    CplayerProgress& progress = gGame->progress;
    const int price = perks.getPrice(perkId);
    const bool levelLeft = perks.level(perkId) < perks.maxLevel(perkId);
    if (!levelLeft || price > progress.cash) {
        gGame->sfx.play(SFX_ERROR, 1.0f);
        gEngine->log.print(LOG_V, "Perk %d: can't buy (price %d, cash %lld)", perkId, price, (long long)progress.cash);
        return false;
    }
    progress.addCash(-(int64_t)price);
    perks.buyLevel(perkId);
    gGame->saveRequested = 1;
    gEngine->log.print(LOG_V, "Perk %d bought to level %d for %d", perkId, perks.level(perkId), price);
    buildList();
    gGame->sfx.play(SFX_ACHIEVEMENT, 1.0f);
    return true;
}

void CperkMenuScreen::choose(int kind, int perkId) {
    CperkMgr& perks = gGame->world.perks;
    if (!perks.isValid(perkId)) return;
    if (kind >= KIND_BUTTON) {
        perks.setButton(perkId, kind - KIND_BUTTON);
        buildList();
    } else if (kind == KIND_PERK) {
        toggle(perkId);
    } else if (kind == KIND_UPGRADE) {
        buy(perkId);
    }
}

void CperkMenuScreen::toggle(int perkId) {
    CperkMgr& perks = gGame->world.perks;
    const bool enabled = perks.isEnabled(perkId);
    if (!enabled && !perks.hasFreeSlot()) {
        gEngine->log.print(LOG_V, "Perk %d: no free perk slot", perkId);
        gGame->sfx.play(SFX_ERROR, 1.0f);
        return;
    }
    if (!enabled && (!perks.isBought(perkId) || !perks.canEnable(perkId))) return;
    if (!enabled && isFirePower(perkId) && deviceKind() != DEVICE_TOUCH) {
        gUi->tutorials.show("Tut_PerkBindings");
        if (perks.getButton(perkId) < 0) {
            int free = 0;
            while (free < CperkMgr::kNumPerkButtons && slotTaken_[free]) ++free;
            perks.setButton(perkId, free < CperkMgr::kNumPerkButtons ? free : 0);
        }
    }
    perks.setEnabled(perkId, !enabled);
    gGame->saveRequested = 1;
    buildList();
}

void CperkMenuScreen::back() {
    CperkMgr& perks = gGame->world.perks;
    if (deviceKind() == DEVICE_TOUCH) {
        int next = 0;
        for (int id = 0; id < kNumPerkDefs; ++id)
            if (perks.isUnlocked(id) && perks.isEnabled(id) && isFirePower(id)) perks.setButton(id, next++);
        gGame->setGameMode(GM_MAIN_MENU, true);
        return;
    }
    if (!conflict_) {
        gGame->setGameMode(GM_MAIN_MENU, true);
        return;
    }
    gGame->warningOverlay.show(gEngine->text("PerkWeaponError1"), gEngine->text("PerkWeaponError2"));
    gGame->sfx.play(SFX_ERROR, 1.0f);
}

void CperkMenuScreen::render() {
    ClayoutScreen::render();
    const CperkMgr& perks = gGame->world.perks;
    const int slots = perks.numSlots();
    if (slots < 1 || !screen_) return;
    Csprite* tick = uiDraw::findSprite("ui_icon_boxtick.png");
    Csprite* box = uiDraw::findSprite("ui_icon_box.png");
    const float size = numSlotsPos_->height * numSlotsPos_->uiScale;
    const int free = slots - perks.numEnabled();
    float x = numSlotsPos_->x;
    for (int i = 0; i < slots; ++i) {
        const bool isFree = i < free;
        uiDraw::sprite(isFree ? tick : box, x, numSlotsPos_->y, size, size,
                       isFree ? gGame->namedColours.green : gGame->namedColours.white);
        x += size + 5.0f * numSlotsPos_->uiScale;
    }
}
