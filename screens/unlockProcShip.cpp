#include "screens/unlockProcShip.h"

#include "engine/engine.h"
#include "engine/format.h"
#include "engine/ui/screen.h"
#include "game/enemies/procShipGen.h"
#include "game/game.h"
#include "game/gameTypes.h"
#include "game/progress/procShipUnlock.h"
#include "game/progress/shipEditParams.h"
#include "screens/confirm.h"
#include "screens/listRows.h"
#include "screens/screenRegistry.h"
#include "screens/shipList.h"
#include "screens/shipRows.h"
#include "screens/shipStatPanels.h"

namespace {
CtrackInfoView viewOf(const CtrackInfo& t) {
    CtrackInfoView v;
    v.title = t.title;
    v.artist = t.artist;
    v.album = t.album;
    v.key = t.key;
    v.lengthSeconds = (float)t.length;
    return v;
}

std::string dollars(int64_t amount) { return std::string("$") + formatThousands64(amount); }
}  // namespace

bool unlockProcShipDue() {
    Cgame& g = *gGame;
    if (g.getActiveChallenge()) return false;
    const CgameSession& s = g.world.session;
    const bool owned = !s.track.key.empty() && g.playerShips.findShip(s.track.key) != nullptr;
    return !s.track.key.empty() && CprocShipOffer::isDue(s.gameType, s.completion, (float)s.track.length, owned);
}

const CwidgetBinding CunlockProcShipScreen::kBindings[] = {
    {&CunlockProcShipScreen::shipPos_, "ShipPos"},
    {&CunlockProcShipScreen::shipManu_, "ShipManu"},
    {&CunlockProcShipScreen::manuTag_, "ManuTag"},
    {&CunlockProcShipScreen::manuDesc_, "ManuDesc"},
    {&CunlockProcShipScreen::shipName_, "ShipName"},
    {&CunlockProcShipScreen::shipModStats_, "ShipModStats"},
    {&CunlockProcShipScreen::globalDiscoveries_, "GlobalDiscoveries"},
    {&CunlockProcShipScreen::globalTimePlayed_, "GlobalTimePlayed"},
    {&CunlockProcShipScreen::globalTracksCleared_, "GlobalTracksCleared"},
    {&CunlockProcShipScreen::newProcShipTitle_, "NewProcShipTitle"},
    {&CunlockProcShipScreen::firstDiscover_, "FirstDiscover"},
    {&CunlockProcShipScreen::module_, "Module"},
    {&CunlockProcShipScreen::modUnlock_, "ModUnlock"},
    {&CunlockProcShipScreen::mission1_, "Mission1"},
    {&CunlockProcShipScreen::mission2_, "Mission2"},
    {&CunlockProcShipScreen::mission3_, "Mission3"},
    {&CunlockProcShipScreen::mission4_, "Mission4"},
    {&CunlockProcShipScreen::cash_, "Cash"},
    {&CunlockProcShipScreen::cashTitle_, "CashTitle"},
};

CunlockProcShipScreen::CunlockProcShipScreen() : ClayoutScreen("UnlockProcShip.txt", kBindings) {}

bool CunlockProcShipScreen::onLoaded() {
    if (Cgadget* g = shipPos_->findTextGadget({}, false)) g->hidden = true;
    return true;
}

void CunlockProcShipScreen::setupReward(const std::string& shipKey, const std::string& title, const std::string& artist,
                                        const CtrackInfo& seed, std::function<void()> settled) {
    rewardMode_ = true;
    rewardSettled_ = std::move(settled);
    key_ = shipKey;
    rewardTitle_ = title;
    rewardArtist_ = artist;
    rewardSeed_ = seed;
}

int32_t CunlockProcShipScreen::procShipPrice() const {
    return CprocShipOffer::price(gGame->progress.cash, manufacturer_, points_, rewardMode_);
}

void CunlockProcShipScreen::onEnter() {
    Cgame& g = *gGame;
    if (!returningFromTest_) {
        rememberedShip_ = g.playerShips.currentIdx;
        if (!rewardMode_) key_ = g.world.session.track.key;
        alreadyOwned_ = g.playerShips.findShip(key_) != nullptr;
    }
    returningFromTest_ = false;
    discarding_ = askingSwap_ = finished_ = false;

    CdisplayShip::clearScene();
    addDisplayedShip();
    CplayerShipDef* ship = g.playerShips.findShip(key_);

    cash_->setText("", dollars(g.progress.cash));
    manufacturer_ = ship ? ship->data.manufacturer : kNoManufacturer;
    if (manufacturer_ < CprocShipGen::kNumManufacturers) {
        setMakerIcon(shipManu_, "", manufacturer_, true);
        manuTag_->setText("", CprocShipGen::getManufacturerName(manufacturer_));
        manuDesc_->setText("", CprocShipGen::getManufacturerDesc(manufacturer_));
    } else {
        shipManu_->setSprite("", "");
        manuTag_->setText("", "");
        manuDesc_->setText("", "");
    }
    shipName_->setText("", ship ? ship->data.displayName : std::string());

    gUi->buttonBar.addButtonByKey("TestShip", ACTION_OPTION_X, ICON_X);
    gUi->buttonBar.addButton(std::string(gEngine->text("BuyProcShip")) + " " + dollars(procShipPrice()), ACTION_SELECT,
                             ICON_OK);
    gUi->buttonBar.addButtonByKey("DiscardProcShip", ACTION_BACK, ICON_BACK);

    if (ship) {
        fillShipStatsPanel(shipModStats_, *ship);
        fillMissions(*ship);
        fillGlobalShipStats(*ship, globalDiscoveries_, globalTracksCleared_, globalTimePlayed_);
    }
    gUi->tutorials.show("Tut_ProcShip1");

    shownModule_ = CshipModule();
    shownModule_.initFromKey(key_);
    module_->setHidden(false);
    modUnlock_->setHidden(false);
    fillShipModuleCard(module_, &shownModule_);

    for (Cwidget* w : {globalDiscoveries_, globalTimePlayed_, globalTracksCleared_, cashTitle_, cash_})
        w->setHidden(rewardMode_);
    newProcShipTitle_->setTextKey(rewardMode_ ? "RewardProcShip1" : "NewProcShip");
    firstDiscover_->setTextKey(rewardMode_ ? "RewardProcShip2" : "FirstDiscover");
    firstDiscover_->setHidden(!rewardMode_);
}

void CunlockProcShipScreen::addDisplayedShip() {
    Cgame& g = *gGame;
    display_.forget();
    CplayerShipDef* ship = g.playerShips.findShip(key_);
    if (!ship) {
        const CtrackInfo& seed = rewardMode_ ? rewardSeed_ : g.world.session.track;
        ship = g.playerShips.createProcShip(key_, viewOf(seed));
        // An offer is the player's once bought; a reward is won already.
        if (ship) ship->preview = !rewardMode_;
    }
    if (!ship) return;
    g.playerShips.setCurrentShip(key_);
    display_.show(*ship, 1.4f);
    points_ = shipPointBalance(*ship);
    gEngine->log.print(LOG_DB, "Ship %s - Points = %d", ship->name().c_str(), points_);
    if (ship->firstFlight) ship->firstFlight = false;
}

void CunlockProcShipScreen::fillMissions(const CplayerShipDef& ship) {
    Cwidget* cards[4] = {mission1_, mission2_, mission3_, mission4_};
    for (Cwidget* c : cards) c->setHidden(true);
    for (int i = 0; i < ship.numMissions() && i < 4; ++i) {
        const CshipMission& m = ship.data.missions[(size_t)i];
        cards[i]->setHidden(false);
        cards[i]->setText("", shipWords(m.name));
        if (Cgadget* text = cards[i]->findTextGadget({}, false))
            text->colour = ship.missionComplete[i] ? gGame->namedColours.green : gGame->namedColours.white;
    }
}

void CunlockProcShipScreen::onUpdate() {
    Cgame& g = *gGame;
    CdisplayShip::updateScene();
    if (askingSwap_) {
        CconfirmScreen* confirm = screens::get<CconfirmScreen>();
        if (confirm && !confirm->chosen && confirm->showing()) return;
        finishSwap();
        return;
    }
    if (discarding_) {
        finishDiscard();
        return;
    }
    display_.placeAt(shipPos_, 0.0f);
    const int action = gUi->action();
    if (action == ACTION_OPTION_X) {
        testFlight();
    } else if (action == ACTION_SELECT) {
        buy();
    } else if (action == ACTION_BACK) {
        rewardMode_ = false;
        discarding_ = true;
    } else if (CplayerShipDef* ship = g.playerShips.findShip(key_); ship && ship->discoveryPending) {
        fillGlobalShipStats(*ship, globalDiscoveries_, globalTracksCleared_, globalTimePlayed_);
        if (ship->globalDiscoveries == 0 && !rewardMode_) {
            firstDiscover_->setHidden(false);
            firstDiscover_->startEffect(EFFECT_FADE_IN, 0, nullptr, 0, 0.2f);
        }
        ship->sendDiscovery();
    }
}

void CunlockProcShipScreen::testFlight() {
    CgameSession& s = gGame->world.session;
    s.shipTestReturnState = GM_UNLOCK_PROC_SHIP;
    s.gameType = GAMETYPE_SHIPTEST;
    if (s.musicSource == MUSIC_OPEN_MIC) s.restartMusic();
    if (s.track.entryType == CtrackInfo::ENTRY_OPEN_MIC) s.chosenTrackTime = 300.0;
    returningFromTest_ = true;
    display_.forget();
    gEngine->log.print(LOG_V, "Test flight of %s", key_.c_str());
    s.startGame();
}

void CunlockProcShipScreen::buy() {
    Cgame& g = *gGame;
    if (CplayerShipDef* ship = g.playerShips.findShip(key_)) ship->preview = false;
    if (!rewardMode_) {
        const int32_t price = procShipPrice();
        g.progress.addCash(-(int64_t)price);
        g.sfx.play(SFX_PURCHASE, 1.0f);
        gEngine->log.print(LOG_V, "Bought ship %s for %d", key_.c_str(), price);
    } else {
        g.sfx.play(SFX_ACHIEVEMENT, 1.0f);
    }
    nameOpenMicTrack();
    if (CconfirmScreen* confirm = screens::get<CconfirmScreen>()) {
        confirm->reset();
        confirm->setMessage(gEngine->text("SwapShip"));
        confirm->addMenuItem(gEngine->text("Yes"), 1);
        confirm->addMenuItem(gEngine->text("No"), 0);
        confirm->enter();
    }
    askingSwap_ = true;
}

void CunlockProcShipScreen::finishSwap() {
    Cgame& g = *gGame;
    CconfirmScreen* confirm = screens::get<CconfirmScreen>();
    const bool keepOld = !confirm || confirm->value == 0.0f;
    // "No": the bought ship waits in the hangar and the old one flies on.
    if (keepOld) g.playerShips.setCurrentShipIdx(rememberedShip_);
    askingSwap_ = false;
    if (confirm) confirm->reset();
    leaveForMainMenu();
}

void CunlockProcShipScreen::finishDiscard() {
    Cgame& g = *gGame;
    discarding_ = false;
    if (!alreadyOwned_) g.playerShips.deleteShip(key_);
    g.playerShips.setCurrentShipIdx(rememberedShip_);
    leaveForMainMenu();
}

void CunlockProcShipScreen::leaveForMainMenu() {
    Cgame& g = *gGame;
    display_.forget();
    finished_ = true;
    rewardMode_ = false;
    // Before the save: the reward is no longer pending in it.
    if (std::function<void()> settled = std::move(rewardSettled_)) {
        rewardSettled_ = nullptr;
        settled();
    }
    nameOpenMicTrack();
    g.saveLoad.saveGame();
    g.setGameMode(GM_MAIN_MENU, true);
}

void CunlockProcShipScreen::render() {
    ClayoutScreen::render();
    if (display_.ship()) CdisplayShip::renderScene();
}
