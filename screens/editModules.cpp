#include "screens/editModules.h"

#include <algorithm>

#include "engine/engine.h"
#include "engine/ui/menu.h"
#include "engine/ui/screen.h"
#include "engine/ui/uiMgr.h"
#include "game/enemies/ship.h"
#include "game/enemies/shipMgr.h"
#include "game/game.h"
#include "game/gameTypes.h"
#include "game/musicLink.h"
#include "screens/confirm.h"
#include "screens/screenRegistry.h"
#include "screens/shipList.h"
#include "screens/shipStatPanels.h"

namespace {
constexpr int kRefusedSound = 7;
constexpr float kCardKind = 0.0f, kTrashKind = 1.0f;
constexpr float kCardDy = -20.0f, kTrashDy = 90.0f;
constexpr double kRadioTestSeconds = 300.0;

std::string filterLabel(int filter) {
    return filter == CeditModulesScreen::kFilterAll ? gEngine->text("shipMod_All") : getShipModString(filter);
}

void markSave() {
    gGame->progress.saveDirty = true;
    gGame->saveRequested = 1;
}
}  // namespace

const CwidgetBinding CeditModulesScreen::kBindings[] = {
    {&CeditModulesScreen::menu_, "Menu"},           {&CeditModulesScreen::shipName_, "ShipName"},
    {&CeditModulesScreen::shipPos_, "ShipPos"},     {&CeditModulesScreen::stats_, "ShipModStats"},
    {&CeditModulesScreen::tip_, "ModuleTip"},       {&CeditModulesScreen::slot1_, "Module1"},
    {&CeditModulesScreen::slot2_, "Module2"},       {&CeditModulesScreen::slot3_, "Module3"},
    {&CeditModulesScreen::slot4_, "Module4"},       {&CeditModulesScreen::slot5_, "Module5"},
};

CeditModulesScreen::CeditModulesScreen() : ClayoutScreen("editModules.txt", kBindings) {}

bool CeditModulesScreen::onLoaded() {
    Cwidget* const slots[5] = {slot1_, slot2_, slot3_, slot4_, slot5_};
    std::copy(slots, slots + 5, slots_);
    filter_ = kFilterAll;
    // Only the marker's place is used: the ship flies there.
    if (Cgadget* g = shipPos_->findSpriteGadget()) g->hidden = true;
    return true;
}

void CeditModulesScreen::open(bool fromChallenge) {
    returnToChallenge_ = fromChallenge;
    gGame->setGameMode(GM_EDIT_MODULES);
}

void CeditModulesScreen::addButtons() {
    gUi->buttonBar.clear();
    gUi->buttonBar.addButton(std::string(gEngine->text("shipMod_Filter")) + ": " + filterLabel(filter_), ACTION_OPTION_Y, 3);
    gUi->buttonBar.addButtonByKey("TestShip", ACTION_OPTION_X, 2);
    gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, 1);
}

void CeditModulesScreen::onEnter() {
    addButtons();
    gGame->world.projectiles.clear();
    gGame->world.ships.clear();
    ship_ = nullptr;
    testFlight_ = false;
    buildList();
    showShip();
    fillSlots();
    deletePending_ = false;
}

// ---- list, ship and slots ----

void CeditModulesScreen::buildList() {
    addButtons();
    menu_->clearItems();
    const CshipModuleMgr& owned = gGame->progress.modules;
    const CplayerShipDef* ship = gGame->playerShips.currentShip();
    std::vector<std::pair<float, int>> order;
    for (size_t i = 0; i < owned.modules.size(); ++i) {
        const CshipModule& m = owned.modules[i];
        if (filter_ != kFilterAll && m.posKind != filter_) continue;
        order.emplace_back((float)((10 - m.posKind) * 100) + m.posFactor, (int)i);
    }
    std::stable_sort(order.begin(), order.end(), [](auto& a, auto& b) { return a.first > b.first; });
    for (auto& [key, i] : order) {
        const CshipModule& m = owned.modules[(size_t)i];
        CwidgetPtr card = gUi->createWidget("ShipModuleItem");
        CwidgetPtr trash = gUi->createWidget("Trash");
        if (!card || !trash) break;
        fillShipModuleCard(card.get(), &m);
        card->value = i;
        card->floatValue = kCardKind;
        card->colour = ship && ship->hasModule(m.key) ? gGame->namedColours.lightGreen : gGame->namedColours.darkGrey;
        menu_->insertItem(std::move(card), -1, false, 0, kCardDy);
        trash->value = i;
        trash->floatValue = kTrashKind;
        menu_->insertItem(std::move(trash), -1, true, 0, kTrashDy);
    }
    menu_->layout();
    tip_->setHidden(menu_->itemCount() != 0);
}

void CeditModulesScreen::showShip() {
    CshipMgr& ships = gGame->world.ships;
    if (ship_) ships.removeShip(ship_);
    ship_ = nullptr;
    const CplayerShipDef* current = gGame->playerShips.currentShip();
    if (!current) return;
    ship_ = addDisplayShip(*current);
    shipName_->setText("", shipTitle(*current));
    fillShipStatsPanel(stats_, *current);
}

void CeditModulesScreen::fillSlots() {
    const CplayerShipDef* ship = gGame->playerShips.currentShip();
    for (int i = 0; i < 5; ++i) {
        const CshipModule* m = ship && ship->slots[i] ? &*ship->slots[i] : nullptr;
        fillShipModuleCard(slots_[i], m);
        if (Cgadget* empty = slots_[i]->findGadget("Empty")) empty->hidden = m != nullptr;
    }
    if (ship) fillShipStatsPanel(stats_, *ship);
}

void CeditModulesScreen::changed() {
    markSave();
    fillSlots();
}

// ---- update ----

void CeditModulesScreen::onUpdate() {
    if (deletePending_) {
        settleDelete();
        return;
    }
    flyInPlace(ship_, shipPos_);

    if (Cwidget* chosen = menu_->highlightedItem()) {
        if (chosen->floatValue == kTrashKind) askDelete((int)chosen->value);
        else chooseCard(chosen);
        return;
    }
    const int action = gUi->action();
    if (action == ACTION_BACK) {
        gGame->playTransitionEffect(nullptr);
        const bool toChallenge = returnToChallenge_;
        returnToChallenge_ = false;
        gGame->setGameMode(toChallenge ? GM_DAILY_CHALLENGE_L : GM_HANGAR);
    } else if (action == ACTION_OPTION_X) {
        startTestFlight();
    } else if (action == ACTION_OPTION_Y) {
        gGame->playTransitionEffect(nullptr);
        filter_ = (filter_ + 1) % (kFilterAll + 1);
        buildList();
    } else {
        CplayerShipDef* ship = gGame->playerShips.currentShip();
        for (int i = 0; ship && i < 5; ++i) {
            if (!screen_->wasPressed(slots_[i]) || !ship->slots[i]) continue;
            gGame->playTransitionEffect(slots_[i]);
            if (CshipModule* m = gGame->progress.modules.findModule(ship->slots[i]->key)) ship->removeModule(*m);
            else ship->removeModule(ship->slots[i]->key);
            changed();
            buildList();
            break;
        }
    }
}

void CeditModulesScreen::chooseCard(Cwidget* card) {
    CplayerShipDef* ship = gGame->playerShips.currentShip();
    CshipModuleMgr& owned = gGame->progress.modules;
    if (!ship || card->value < 0 || card->value >= (int64_t)owned.modules.size()) return;
    CshipModule& m = owned.modules[(size_t)card->value];
    if (ship->hasModule(m.key)) {
        ship->removeModule(m);
        card->colour = gGame->namedColours.darkGrey;
    } else if (ship->getNumModulesFitted() >= kNumModuleSlots) {
        gUi->playSound(kRefusedSound);
        return;
    } else if (gGame->playerShips.fitModule(*ship, m)) {
        card->colour = gGame->namedColours.lightGreen;
    }
    changed();
}

void CeditModulesScreen::askDelete(int index) {
    const CshipModuleMgr& owned = gGame->progress.modules;
    CconfirmScreen* confirm = screens::get<CconfirmScreen>();
    if (!confirm || index < 0 || index >= (int)owned.modules.size()) return;
    deleteKey_ = owned.modules[(size_t)index].key;
    deletePending_ = true;
    confirm->reset();
    confirm->setMessage(gEngine->text("shipMod_Delete"));
    confirm->setMessage2(gEngine->text("AreYouSure"));
    confirm->addMenuItem(gEngine->text("Yes"), 1);
    confirm->addMenuItem(gEngine->text("No"), 0);
    confirm->enter();
}

// The question put by this screen is settled once the overlay has gone.
void CeditModulesScreen::settleDelete() {
    CconfirmScreen* confirm = screens::get<CconfirmScreen>();
    if (!confirm || confirm->showing()) return;
    const bool yes = confirm->chosen && !confirm->backedOut && confirm->value == 1.0f;
    deletePending_ = false;
    confirm->reset();
    if (!yes) return;
    if (gGame->playerShips.deleteModule(gGame->progress.modules, deleteKey_)) {
        buildList();
        changed();
    }
}

void CeditModulesScreen::startTestFlight() {
    Cgame& g = *gGame;
    gGame->playTransitionEffect(nullptr);
    CgameSession& session = g.world.session;
    const Csettings& settings = g.saveLoad.settings;
    session.shipTestReturnState = GM_EDIT_MODULES;
    session.gameType = GAMETYPE_SHIPTEST;
    session.difficulty = settings.defDifficulty;
    session.difficultyFactor = settings.difficultyFactor;
    const CsongPackInfo* track = g.music.currentTrack;
    if (track) session.track = trackInfoFromSong(*track);
    if (g.music.openMicRunning()) session.restartMusic();
    else session.startMusic = 0;
    if (track && track->kind == SONG_RADIO) session.endTime = kRadioTestSeconds;
    if (const CplayerShipDef* current = g.playerShips.currentShip()) session.playerShips[0] = current->name();
    testFlight_ = true;
    ship_ = nullptr;
    g.world.ships.clear();
    session.startGame();
}

void CeditModulesScreen::render() {
    Crenderer& r = gEngine->renderer;
    if (ship_ && r.isReady()) {
        gGame->world.fitCamera();
        r.setCamera(&gGame->world.camera);
        gGame->world.projectiles.draw();
        drawDisplayShips({ship_});
        r.setCamera(nullptr);
    }
    ClayoutScreen::render();
}
