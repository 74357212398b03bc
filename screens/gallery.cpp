#include "screens/gallery.h"

#include <algorithm>
#include <cstdio>

#include "engine/engine.h"
#include "engine/ui/uiDraw.h"
#include "engine/ui/uiMgr.h"
#include "game/enemies/procShipGen.h"
#include "game/game.h"
#include "screens/hangar.h"
#include "screens/screenRegistry.h"
#include "screens/shipEditor.h"
#include "screens/shipList.h"
#include "screens/shipRows.h"

namespace {
constexpr double kMillion = 1000000.0;
constexpr int kWorkshopMaker = 8;
constexpr float kTurnPerStep = 0.01f;

bool byMaker(int mode) { return mode == SORT_MANUFACTURER || mode == SORT_WORKSHOP; }

// The ships a maker's header stands over: those the list shows (a special
// ship still locked is not one of them).
int countMaker(int maker) {
    int n = 0;
    for (const auto& ship : gGame->playerShips.ships)
        n += ship && ship->data.manufacturer == maker && shipListable(*ship) ? 1 : 0;
    return n;
}
}  // namespace

double gallerySortKey(int mode, const CplayerShipDef& ship) {
    const double t = ship.timePlayed;
    const double m = ship.data.manufacturer;
    switch (mode) {
        case SORT_FAVOURITES: return ship.favourite ? -(t + kMillion) : -t;
        case SORT_MOST_USED: return -t;
        case SORT_LEAST_USED: return t;
        case SORT_MISSIONS: return (10 - ship.numMissionsComplete()) * kMillion - t;
        case SORT_WORKSHOP: return ship.data.manufacturer == kWorkshopMaker ? -100000.0 - t : m * kMillion - t;
        default: return m * kMillion - t;
    }
}


const CwidgetBinding CgalleryScreen::kBindings[] = {{&CgalleryScreen::menu_, "Menu"},
                                                    {&CgalleryScreen::totalShipsText_, "TotalShips"},
                                                    {&CgalleryScreen::totalTimeText_, "TotalPlayTime"},
                                                    {&CgalleryScreen::totalMissionsText_, "TotalMissionsComplete"}};

CgalleryScreen::CgalleryScreen() : ClayoutScreen("gallery.txt", kBindings) {}

std::vector<int> CgalleryScreen::listedShips() const {
    std::vector<int> out;
    for (const Crow& r : rows_) out.push_back(r.shipIdx);
    return out;
}

void CgalleryScreen::onEnter() {
    CgameWorld& world = gGame->world;
    builtOnce_ = false;
    world.projectiles.clear();
    world.ships.clear();
    buildList();
    addButtons();
    showTotals();
    gUi->tutorials.show("Tut_ShipHangar1");
    gUi->tutorials.show("Tut_ShipHangar2a");
}

void CgalleryScreen::addButtons() {
    CbuttonBar& bar = gUi->buttonBar;
    bar.clear();
    bar.addButtonByKey("CreateNewShip", ACTION_LB, ICON_LB);
    bar.addButton(sortModeLabel(sortMode_), ACTION_OPTION_Y, ICON_Y);
    if (gUi->input().device == DEVICE_CONTROLLER) {
        bar.addButtonByKey("Details", ACTION_OPTION_X, ICON_X);
        bar.addButtonByKey("Select", ACTION_SELECT, ICON_OK);
    }
    bar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);
}

void CgalleryScreen::showTotals() {
    char text[160];
    snprintf(text, sizeof text, "%s: %d", gEngine->text("TotalShips"), totalShips_);
    totalShipsText_->setText("", text);
    snprintf(text, sizeof text, "%s: %s", gEngine->text("TotalPlayTime"), shipTimeText(totalPlayTime_).c_str());
    totalTimeText_->setText("", text);
    snprintf(text, sizeof text, "%s: %d", gEngine->text("TotalMissionsComplete"), totalMissions_);
    totalMissionsText_->setText("", text);
}

void CgalleryScreen::buildList() {
    Cgame& g = *gGame;
    CshipMgr& ships = g.world.ships;
    const CnamedColours& colours = g.namedColours;
    totalShips_ = 0;
    totalPlayTime_ = 0;
    totalMissions_ = 0;
    menu_->clearItems();
    ships.clear();
    rows_.clear();

    struct Ckeyed {
        double key;
        int idx;
    };
    std::vector<Ckeyed> order;
    for (int i = 0; i < g.playerShips.numShips(); ++i)
        if (const CplayerShipDef* ship = g.playerShips.getShip(i)) order.push_back({gallerySortKey(sortMode_, *ship), i});
    std::stable_sort(order.begin(), order.end(), [](const Ckeyed& a, const Ckeyed& b) { return a.key < b.key; });

    bool pointer = gUi->input().device != DEVICE_CONTROLLER;
    int lastMaker = -1, lastComplete = -1;
    int lastFavourite = -1;
    int selectRow = -1;
    for (const Ckeyed& k : order) {
        if (ships.count() > kMaxDisplayShips) break;
        CplayerShipDef& ship = *g.playerShips.getShip(k.idx);
        if (!shipListable(ship)) continue;

        // Headers between the groups of the order.
        CwidgetPtr header;
        int maker = ship.data.manufacturer;
        int complete = ship.numMissionsComplete();
        if (byMaker(sortMode_) && maker != lastMaker) {
            header = gUi->createWidget("GalleryDivide");
            if (header) {
                header->setText("ManuText", CprocShipGen::getManufacturerName(maker));
                if (Cgadget* icon = header->findSpriteGadget("ManuSprite")) {
                    icon->hidden = maker >= CprocShipGen::kNumManufacturers;
                    if (!icon->hidden) icon->setSpriteName(CprocShipGen::getManufacturerIconNoTextName(maker));
                }
                char count[16];
                snprintf(count, sizeof count, "%d", countMaker(maker));
                header->setText("NumShips", count);
            }
        } else if (sortMode_ == SORT_FAVOURITES && lastFavourite >= 0 && (int)ship.favourite != lastFavourite) {
            header = gUi->createWidget("ShortMenuBreak2");
        } else if (sortMode_ == SORT_MISSIONS && complete != lastComplete) {
            header = gUi->createWidget("ShortMenuBreak2Stars");
            for (int s = 0; header && s < 4; ++s) {
                char name[8];
                snprintf(name, sizeof name, "Star%d", s + 1);
                if (Cgadget* star = header->findSpriteGadget(name))
                    star->colour = s < complete ? colours.listFavourite : colours.listPlain;
            }
        }
        lastMaker = maker;
        lastComplete = complete;
        lastFavourite = ship.favourite ? 1 : 0;
        if (header) {
            header->value = -1;
            menu_->insertItem(std::move(header), -1, false, 0, 0, false);
        }

        Cwidget* row = menu_->addTextItem("ShipGalleryItem", ship.name(), k.idx);
        if (!row) break;
        row->floatValue = kRowShip;
        row->selectable = true;
        totalMissions_ += fillShipRow(row, ship, colours.listFavourite, colours.listPlain);
        totalPlayTime_ += ship.timePlayed;
        Cship* shown = addDisplayShip(ship);
        ++totalShips_;
        bool current = k.idx == g.playerShips.currentIdx;
        row->colour = current ? colours.lightGreen : Ccolour(1, 1, 1, 1);
        if (current) selectRow = menu_->itemIndex(row);
        rows_.push_back({row, shown, k.idx});
        if (pointer) {
            // The row's own buttons follow its right end, inside the list's box.
            for (float kind : {kRowSelect, kRowDetails}) {
                CwidgetPtr button = gUi->createWidget("buttonBrushSmallest2");
                if (!button) continue;
                button->setTextKey(kind == kRowSelect ? "Select" : "Details");
                button->value = k.idx;
                button->floatValue = kind;
                float dx = kind == kRowSelect ? 338.0f : 454.0f;
                menu_->insertItem(std::move(button), -1, true, dx, 0);
            }
        }
    }
    if (!builtOnce_ && selectRow >= 0) menu_->setSelectedIdx(selectRow);
    menu_->layout();
    builtOnce_ = true;
}

void CgalleryScreen::choose(int shipIdx, int state) {
    gGame->playerShips.setCurrentShipIdx(shipIdx);
    if (state == GM_HANGAR) screens::get<ChangarScreen>()->open(GM_GALLERY, true);
    else if (state >= 0) gGame->setGameMode(state, true);
}

void CgalleryScreen::onUpdate() {
    Cgame& g = *gGame;
    g.world.ships.update((float)gEngine->frameTime);
    turn_ += kTurnPerStep;
    g.world.fitCamera();
    const float screenH = (float)gEngine->screenHeight;
    for (const Crow& r : rows_) {
        if (!r.ship) continue;
        const float h = r.item->height * r.item->uiScale;
        placeDisplayShip(r.ship, r.item->x - r.item->width * r.item->uiScale * 0.42f, r.item->y, h);
        r.ship->angle = turn_ + kPi * 0.5f;
        r.ship->active = r.item->shown() && r.item->y > 0 && r.item->y < screenH;
    }

    int action = gUi->action();
    if (action == ACTION_OPTION_Y) {
        sortMode_ = (sortMode_ + 1) % SORT_COUNT;
        addButtons();
        buildList();
        return;
    }
    if (action == ACTION_LB) {
        CplayerShipDef* made = g.playerShips.createCustomShip();
        CshipEditorScreen* editor = screens::get<CshipEditorScreen>();
        if (made && editor) editor->open(g.playerShips.findShipIdx(made->name()), GM_GALLERY);
        return;
    }
    if (action == ACTION_BACK) {
        g.setGameMode(GM_MAIN_MENU, true);
        return;
    }
    Cwidget* chosen = menu_->highlightedItem();
    if (gUi->input().device == DEVICE_CONTROLLER) {
        Cwidget* selected = menu_->getSelectedItem();
        if (action == ACTION_OPTION_X && selected && selected->floatValue == kRowShip)
            choose((int)selected->value, GM_HANGAR);
        else if (chosen && chosen->floatValue == kRowShip)
            choose((int)chosen->value, GM_MAIN_MENU);
        return;
    }
    if (!chosen || chosen->value < 0) return;
    if (chosen->floatValue == kRowSelect) choose((int)chosen->value, GM_MAIN_MENU);
    else if (chosen->floatValue == kRowDetails) choose((int)chosen->value, GM_HANGAR);
    else if (chosen->floatValue == kRowShip) {
        choose((int)chosen->value, -1);
        buildList();
    }
}

void CgalleryScreen::render() {
    uiDraw::darken(0.8f);
    ClayoutScreen::render();
    std::vector<Cship*> ships;
    for (const Crow& r : rows_) ships.push_back(r.ship);
    drawShips(ships);
}
