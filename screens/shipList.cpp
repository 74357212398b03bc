#include "screens/shipList.h"

#include <algorithm>
#include <cmath>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/format.h"
#include "engine/ui/menu.h"
#include "engine/ui/uiMgr.h"
#include "engine/ui/widget.h"
#include "game/enemies/ship.h"
#include "game/enemies/shipMgr.h"
#include "game/game.h"
#include "game/gameTypes.h"
#include "game/progress/shipEditParams.h"
#include "game/progress/xpCurve.h"

namespace {
// The ship manager refuses ships beyond 800; a list leaves room for the screen's own.
constexpr int kListShipLimit = 790;

const char* const kSortTags[SHIPSORT_COUNT] = {"hangerFilter_All",         "hangerFilter_Favourites",
                                               "hangerFilter_MostUsed",    "hangerFilter_LeastUsed",
                                               "hangerFilter_MissionsComplated", "hangerFilter_Workshop"};
const char* const kMakers[9] = {"brute",   "mosquito",   "crazythief", "scorched", "general",
                                "blazer",  "warbringer", "standard",   "workshop"};
// The makers whose badge carries a plain word rather than a name: the picture
// leaves it out and the badge's Word text reads it from the language's table.
const char* const kMakerWords[9] = {nullptr, nullptr, nullptr, nullptr, nullptr,
                                    nullptr, nullptr, "Manu_Standard", "Manu_Workshop"};

float sortKey(const CplayerShipDef& s, int index, int mode) {
    switch (mode) {
        case SHIPSORT_FAVOURITES: return -(s.timePlayed + (s.favourite ? 1000000.0f : 0.0f));
        case SHIPSORT_MOST_USED: return -s.timePlayed;
        case SHIPSORT_LEAST_USED: return s.timePlayed;
        case SHIPSORT_MISSIONS_COMPLETE: return (float)missionMarksSet(s);
        case SHIPSORT_WORKSHOP: return s.publishedId ? 0.0f : 1.0f;
        default: return (float)index;
    }
}

bool filterPasses(const CplayerShipDef& s, int filter) {
    if (filter == 1) return s.isCustom();
    if (s.isCustom()) return true;
    bool pass = filter == 0 || (filter == 2 && s.source == 0) || (filter == 3 && s.ownerId && s.source != 0) ||
                (filter >= 4 && filter <= 10 && s.source != 0 && s.source != 2 && s.data.manufacturer == filter - 4);
    if (!pass) return false;
    const CplayerProgress& p = gGame->progress;
    if (s.name() == "Vessik") return p.ves5;
    if (s.name() == "Vornak") return p.vor5;
    if (s.name() == "Duveve Rade Dorid!") return p.vuz2;
    return true;
}

const Ccolour& heartColour(const CplayerShipDef& s) {
    return s.favourite ? gGame->namedColours.white : gGame->namedColours.darkGrey;
}
}  // namespace

std::string sortModeLabel(int mode) {
    std::string label = std::string(gEngine->text("hangerFilter_Sort")) + ": ";
    if (mode >= 0 && mode < SHIPSORT_COUNT) label += gEngine->text(kSortTags[mode]);
    return label;
}

std::vector<int> listedShips(int sortMode, int filter) {
    CplayerShipMgr& mgr = gGame->playerShips;
    std::vector<std::pair<float, int>> order;
    for (int i = 0; i < mgr.numShips(); ++i) order.emplace_back(sortKey(*mgr.ships[(size_t)i], i, sortMode), i);
    std::stable_sort(order.begin(), order.end(), [](auto& a, auto& b) { return a.first < b.first; });
    std::vector<int> out;
    for (auto& [key, i] : order) {
        const CplayerShipDef& s = *mgr.ships[(size_t)i];
        if (s.excluded) continue;
        if (!s.skipEvaluation && s.source != SHIP_PROCEDURAL && shipPointBalance(s) < 0) continue;
        if (!s.finished || !filterPasses(s, filter)) continue;
        out.push_back(i);
    }
    return out;
}

int missionMarksSet(const CplayerShipDef& ship) {
    int n = 0;
    for (uint8_t mark : ship.missionComplete) n += mark ? 1 : 0;
    return n;
}

std::string shipTitle(const CplayerShipDef& ship) {
    return ship.data.displayName.empty() ? ship.name() : ship.data.displayName;
}

std::string shipRankName(uint64_t xp) { return rankTitle(xp); }

void setMakerIcon(Cwidget* w, const char* gadget, int manufacturer, bool withText) {
    if (!w) return;
    Cgadget* g = w->findSpriteGadget(gadget);
    if (!g) return;
    g->hidden = manufacturer < 0 || manufacturer > 8;
    const char* word = g->hidden || !withText ? nullptr : kMakerWords[manufacturer];
    w->setText("Word", word ? gEngine->text(word) : "");
    if (g->hidden) return;
    w->setSprite(gadget, CbString::format(withText ? "ui_man_%s.png" : "ui_man_%s_noText.png", kMakers[manufacturer]).str());
}

int fillShipList(Cmenu* menu, int sortMode, int filter) {
    if (!menu) return 0;
    menu->clearItems();
    CshipMgr& ships = gGame->world.ships;
    ships.clear();
    int added = 0;
    for (int i : listedShips(sortMode, filter)) {
        if (ships.count() > kListShipLimit) break;
        CplayerShipDef& s = *gGame->playerShips.ships[(size_t)i];
        CwidgetPtr row = gUi->createWidget("ShipHangarItem");
        if (!row) break;
        row->name = s.name();
        row->setText("Name", shipTitle(s));
        setMakerIcon(row.get(), "Manu", s.data.manufacturer, false);
        row->setText("Score", shipRankName(s.xp));
        row->setText("NumMods", CbString::format("%s %d", gEngine->text("Modules"), s.getNumModulesFitted()).str());
        if (Cgadget* g = row->findGadget("WIP")) g->hidden = true;
        if (Cgadget* g = row->findGadget("Heart")) g->colour = heartColour(s);
        row->setText("Time", formatTime(s.timePlayed > 0 ? (int)s.timePlayed : 0));
        for (int m = 0; m < 4; ++m) {
            Cgadget* star = row->findGadget(CbString::format("Star%d", m + 1).str());
            if (!star) continue;
            star->hidden = m >= s.numMissions();
            star->colour = s.missionComplete[m] ? gGame->namedColours.white : gGame->namedColours.darkGrey;
        }
        Cship* shown = addDisplayShip(s);
        if (!shown) break;
        shown->pos = Cvec3(-1000.0f, 300.0f * (float)added, CshipMgr::kDisplayDepth);
        row->value = i;
        menu->insertItem(std::move(row));
        ++added;
    }
    menu->layout();
    return added;
}

Cship* addDisplayShip(const CplayerShipDef& ship) {
    CshipMgr& ships = gGame->world.ships;
    CshipDef* def = ships.syncPlayerShip(ship);
    if (!def) return nullptr;
    Cship* s = ships.addShip(def, false);
    if (!s) return nullptr;
    s->display = true;
    s->pos = Cvec3(-10000.0f, 0.0f, CshipMgr::kDisplayDepth);
    s->scale = 1.0f;
    return s;
}

void placeDisplayShip(Cship* ship, float screenX, float screenY, float heightPx) {
    if (!ship) return;
    CgameWorld& world = gGame->world;
    const Cvec2 p = world.screenToPlane(screenX, screenY);
    const Cvec2 top = world.screenToPlane(screenX, screenY - heightPx * 0.5f);
    ship->pos = Cvec3(p.x, p.y, CshipMgr::kDisplayDepth);
    ship->vel = Cvec2();
    const float halfHeight = std::fabs(p.y - top.y);
    // Drawn size follows size; the parts follow scale.
    if (ship->def && ship->def->radius > 0) {
        ship->size = std::max(0.05f, halfHeight * 0.8f);
        ship->scale = ship->size / ship->def->radius;
    }
}

void flyInPlace(Cship* ship, const Cwidget* spot) {
    CgameWorld& world = gGame->world;
    world.ships.update((float)gEngine->frameTime);
    world.projectiles.update((float)gEngine->frameTime);
    if (!ship || !spot) return;
    placeDisplayShip(ship, spot->x, spot->y, spot->height * spot->uiScale);
    ship->angle = 0;
}

void drawDisplayShips(const std::vector<Cship*>& ships) {
    for (Cship* s : ships)
        if (s && s->active) s->drawGlow();
    for (Cship* s : ships)
        if (s && s->active) s->draw();
    for (Cship* s : ships)
        if (s && s->active) s->drawParts();
}
