#include "screens/hangar.h"

#include <algorithm>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/format.h"
#include "engine/ui/screen.h"
#include "engine/ui/uiMgr.h"
#include "game/enemies/ship.h"
#include "game/enemies/shipMgr.h"
#include "game/game.h"
#include "game/gameTypes.h"
#include "game/musicLink.h"
#include "screens/confirm.h"
#include "screens/editModules.h"
#include "screens/mainMenu.h"
#include "screens/musicBrowserShipMissions.h"
#include "screens/screenRegistry.h"
#include "screens/shipEditor.h"
#include "screens/shipRows.h"
#include "screens/shipList.h"
#include "screens/shipMissionPanel.h"
#include "screens/shipStatPanels.h"

namespace {
constexpr size_t kDescriptionCut = 380;
constexpr double kRadioMissionSeconds = 300.0;
constexpr double kRadioEndlessSeconds = 86400.0;
constexpr int kMinMissionsForModule = 2;

const char* const kTutorials[] = {"Tut_ShipHangar3", "Tut_ShipHangar4", "Tut_ShipHangar5"};
const char* const kModTutorials[] = {"Tut_ShipMods1", "Tut_ShipMods2", "Tut_ShipMods3"};

const Ccolour& heartColour(bool favourite) {
    return favourite ? gGame->namedColours.white : gGame->namedColours.darkGrey;
}
}  // namespace

const CwidgetBinding ChangarScreen::kBindings[] = {
    {&ChangarScreen::shipName_, "ShipName"},
    {&ChangarScreen::shipDesc_, "ShipDesc"},
    {&ChangarScreen::shipScore_, "ShipScore"},
    {&ChangarScreen::tracksCompleted_, "TracksCompleted"},
    {&ChangarScreen::timePlayed_, "TimePlayed"},
    {&ChangarScreen::rank_, "Rank"},
    {&ChangarScreen::manu_, "Manu"},
    {&ChangarScreen::wipIcon_, "WIPIcon"},
    {&ChangarScreen::heart_, "Heart"},
    {&ChangarScreen::globalDiscoveries_, "GlobalDiscoveries"},
    {&ChangarScreen::globalTimePlayed_, "GlobalTimePlayed"},
    {&ChangarScreen::globalTracksCleared_, "GlobalTracksCleared"},
    {&ChangarScreen::stats_, "ShipModStats"},
    {&ChangarScreen::mission1_, "Mission1"},
    {&ChangarScreen::mission2_, "Mission2"},
    {&ChangarScreen::mission3_, "Mission3"},
    {&ChangarScreen::mission4_, "Mission4"},
    {&ChangarScreen::module_, "Module"},
    {&ChangarScreen::modUnlock_, "ModUnlock"},
    {&ChangarScreen::shipSpot_, "ShipSpot"},
};

ChangarScreen::ChangarScreen() : ClayoutScreen("hangar.txt", kBindings) {}

bool ChangarScreen::onLoaded() {
    Cwidget* const missions[4] = {mission1_, mission2_, mission3_, mission4_};
    std::copy(missions, missions + 4, missions_);
    if (Cgadget* g = shipSpot_->findSpriteGadget()) g->hidden = true;
    return true;
}

void ChangarScreen::open(int backState, bool transition) {
    backState_ = backState;
    gGame->setGameMode(GM_HANGAR, transition);
}

ChangarScreen::EeditKind ChangarScreen::editKind(const CplayerShipDef& ship) {
    if (!ship.finished && ship.ownerId == gEngine->steamId && ship.source == SHIP_CUSTOM) return EDIT_SHIP;
    if (!ship.isCustom()) return EDIT_MODULES;
    return EDIT_NONE;
}

// Built-in ships never go; of the others, one's own and the music-generated.
bool ChangarScreen::mayDelete(const CplayerShipDef& ship) {
    if (ship.source == SHIP_BUILTIN) return false;
    return ship.ownerId == gEngine->steamId || ship.source == SHIP_PROCEDURAL;
}

std::string ChangarScreen::shownDescription(const std::string& text) {
    if (text.size() <= kDescriptionCut) return text;
    return text.substr(0, utf8CutPoint(text, kDescriptionCut)) + "...";
}

// ---- enter and fill ----

void ChangarScreen::onEnter() {
    gGame->world.perks.setPartyOverride(false);
    gGame->world.projectiles.clear();
    gGame->world.ships.clear();
    ship_ = nullptr;
    awaitingConfirm_ = false;
    deleteAsked_ = false;
    fill();
    for (const char* t : kTutorials) gUi->tutorials.show(t);
    bool ownsGenerated = false;
    for (const auto& s : gGame->playerShips.ships) ownsGenerated = ownsGenerated || s->source == SHIP_PROCEDURAL;
    if (ownsGenerated)
        for (const char* t : kModTutorials) gUi->tutorials.show(t);
}

void ChangarScreen::fill() {
    CplayerShipDef* ship = gGame->playerShips.currentShip();
    if (!ship) return;
    CshipMgr& ships = gGame->world.ships;
    if (ship_) ships.removeShip(ship_);
    ship_ = addDisplayShip(*ship);

    shipName_->setText("", shipTitle(*ship));
    setMakerIcon(manu_, "", ship->data.manufacturer, true);
    heart_->colour = heartColour(ship->favourite);
    shipDesc_->setText("", shownDescription(shipWords(ship->data.description)));
    shipScore_->setText("", statsXpText(ship->xp));
    rank_->setText("", std::string(gEngine->text("fcRank")) + ": " + shipRankName(ship->xp));
    timePlayed_->setText("", statsTimeText(ship->timePlayed));
    tracksCompleted_->setText("", std::string(gEngine->text("fcTracksCompleted")) + ": " +
                                      formatThousands64(ship->tracksCompleted));
    fillMissions(*ship);
    fillShipStatsPanel(stats_, *ship);

    // The bar follows the ship: what may be edited, and whether it may go.
    editKind_ = editKind(*ship);
    deleteShown_ = mayDelete(*ship);
    CbuttonBar& bar = gUi->buttonBar;
    bar.clear();
    bar.addButtonByKey("DeleteShip", ACTION_RB, 4);
    bar.setButtonHidden(ACTION_RB, !deleteShown_);
    bar.addButtonByKey(editKind_ == EDIT_SHIP ? "EditShip" : "shipMod_Edit", ACTION_OPTION_X, 2);
    bar.setButtonHidden(ACTION_OPTION_X, editKind_ == EDIT_NONE);
    bar.addButtonByKey("BACK", ACTION_BACK, 1);

    wipIcon_->setHidden(ship->finished);
    heart_->setHidden(!ship->finished);
    fillModule(*ship);
    fillGlobalShipStats(*ship, globalDiscoveries_, globalTracksCleared_, globalTimePlayed_);
}

void ChangarScreen::fillMissions(const CplayerShipDef& ship) {
    for (Cwidget* w : missions_) w->setHidden(true);
    for (int i = 0; i < ship.numMissions() && i < 4; ++i) {
        Cwidget* w = missions_[i];
        const CshipMission& m = ship.data.missions[(size_t)i];
        w->setHidden(false);
        w->setText("Name", shipWords(m.name));
        w->setText("Type", getStringFromMissionType((int)m.type));
        if (Cgadget* star = w->findGadget("Star")) star->colour = heartColour(ship.missionComplete[i] != 0);
    }
}

void ChangarScreen::fillModule(const CplayerShipDef& ship) {
    if (ship.numMissions() < kMinMissionsForModule) {
        module_->setHidden(true);
        modUnlock_->setHidden(true);
        return;
    }
    module_->setHidden(false);
    CshipModule card;
    card.initFromKey(ship.name());
    fillShipModuleCard(module_, &card);
    const bool locked = missionMarksSet(ship) < kMinMissionsForModule;
    modUnlock_->setHidden(!locked);
    if (Cgadget* g = module_->findGadget("Lock")) g->hidden = !locked;
    if (Cgadget* g = module_->findGadget("Unlock")) {
        g->hidden = locked;
        g->colour = gGame->namedColours.green;
    }
}

// ---- update ----

void ChangarScreen::onUpdate() {
    if (awaitingConfirm_) {
        settleDelete();
        return;
    }
    CconfirmScreen* confirm = screens::get<CconfirmScreen>();
    if (deleteAsked_ && confirm && !confirm->showing()) {
        awaitingConfirm_ = true;
        return;
    }
    flyInPlace(ship_, shipSpot_);

    CplayerShipDef* ship = gGame->playerShips.currentShip();
    const int action = gUi->action();
    if (action == ACTION_OPTION_X) {
        // The button is hidden for another player's design: nothing to edit.
        if (editKind_ == EDIT_NONE) return;
        gGame->playTransitionEffect(nullptr);
        if (editKind_ == EDIT_MODULES) {
            if (CeditModulesScreen* edit = screens::get<CeditModulesScreen>()) edit->open(false);
        } else if (CshipEditorScreen* editor = screens::get<CshipEditorScreen>()) {
            editor->open(gGame->playerShips.currentIdx, backState_);
        }
        return;
    }
    if (ship_ && ship && screen_->wasPressed(heart_)) {
        gGame->playTransitionEffect(heart_);
        ship->favourite = !ship->favourite;
        heart_->colour = heartColour(ship->favourite);
        gGame->progress.saveDirty = true;
        return;
    }
    if (action == ACTION_RB) {
        if (deleteShown_ && ship && mayDelete(*ship)) askDelete();
        return;
    }
    if (action == ACTION_BACK) {
        gGame->playTransitionEffect(nullptr);
        gGame->setGameMode(backState_);
        return;
    }
    for (int i = 0; ship && i < 4 && i < ship->numMissions(); ++i) {
        if (!screen_->wasPressed(missions_[i])) continue;
        gGame->playTransitionEffect(missions_[i]);
        startMission(i, ship->data.missions[(size_t)i], ship->missionComplete[i] != 0);
        return;
    }
    if (ship && ship->changed) {
        ship->changed = false;
        fillGlobalShipStats(*ship, globalDiscoveries_, globalTracksCleared_, globalTimePlayed_);
    }
}

void ChangarScreen::askDelete() {
    CconfirmScreen* confirm = screens::get<CconfirmScreen>();
    const CplayerShipDef* ship = gGame->playerShips.currentShip();
    if (!confirm || !ship) return;
    gGame->playTransitionEffect(nullptr);
    confirm->reset();
    const bool generated = ship->source == SHIP_PROCEDURAL;
    confirm->setMessage(gEngine->text(generated ? "ProcDeleteShip" : "DeleteShipMsg1"));
    confirm->setMessage2(gEngine->text(generated ? "ProcDeleteShipMsg1" : "DeleteShipMsg2"));
    confirm->addMenuItem(gEngine->text("Yes"), 1);
    confirm->addMenuItem(gEngine->text("No"), 0);
    confirm->enter();
    deleteAsked_ = true;
}

// The answer to this screen's own question, once the ship list may change.
void ChangarScreen::settleDelete() {
    CplayerShipMgr& ships = gGame->playerShips;
    if (ships.hold) return;
    awaitingConfirm_ = false;
    deleteAsked_ = false;
    CconfirmScreen* confirm = screens::get<CconfirmScreen>();
    const bool yes = confirm && confirm->chosen && !confirm->backedOut && confirm->value == 1.0f;
    if (confirm) confirm->reset();
    CplayerShipDef* ship = ships.currentShip();
    if (!yes || !ship || !mayDelete(*ship)) return;
    const std::string name = ship->name();
    // A workshop ship whose deletion at Steam fails still goes here.
    if (ship->source != SHIP_PROCEDURAL && ship->publishedId) gEngine->workshop.deletePublishedFile(ship->publishedId);
    if (!ships.deleteShip(name)) return;
    gGame->world.ships.clear();
    ship_ = nullptr;
    ships.setCurrentShipIdx(0);
    gGame->standardShipFlag = 1;
    gGame->saveRequested = 1;
    gGame->setGameMode(GM_GALLERY);
}

void ChangarScreen::startMission(int index, const CshipMission& mission, bool complete) {
    Cgame& g = *gGame;
    CgameSession& session = g.world.session;
    const Csettings& settings = g.saveLoad.settings;
    const CmissionRules rules = mission.rules();
    const CsongPackInfo* track = g.music.currentTrack;
    const bool radio = track && track->kind == SONG_RADIO;
    switch (mission.type) {
        case MissionType_CompleteTrack: session.gameType = GAMETYPE_STANDARD; break;
        case MissionType_ObtainShipRank: session.gameType = GAMETYPE_STANDARD; break;
        case MissionType_PlayBossRush: session.gameType = GAMETYPE_BOSSRUSH; break;
        case MissionType_PlaySurvival: session.gameType = GAMETYPE_SURVIVAL; break;
        default: return;
    }
    session.difficulty = std::max(settings.defDifficulty, rules.minDifficulty);
    session.difficultyFactor = settings.difficultyFactor;
    if (!rules.disabledPerks.empty()) {
        g.world.perks.saveEnabledStates();
        for (int id : rules.disabledPerks) g.world.perks.switchOffForGame(id);
    }
    if (mission.type == MissionType_CompleteTrack) {
        // The tracks that meet the mission are chosen in the mission's track
        // browser; it fills the mission panel and shows it when play starts.
        if (CmusicBrowserShipMissionsScreen* tracks = screens::get<CmusicBrowserShipMissionsScreen>())
            tracks->open(index, mission);
        return;
    }
    // The mission panel shows the mission while its game starts.
    if (CshipMissionPanel* panel = screens::get<CshipMissionPanel>()) {
        panel->setMission(index, mission, complete);
        panel->setShown(true);
    }
    if (track) session.track = trackInfoFromSong(*track);
    if (mission.type == MissionType_ObtainShipRank && g.music.openMicRunning()) session.restartMusic();
    else session.startMusic = 0;
    if (radio) session.endTime = mission.type == MissionType_ObtainShipRank ? kRadioMissionSeconds : kRadioEndlessSeconds;
    g.setGameMode(GM_321_GO);
}

void ChangarScreen::render() {
    Crenderer& r = gEngine->renderer;
    if (r.isReady()) {
        gGame->world.fitCamera();
        r.setCamera(&gGame->world.camera);
        gGame->world.projectiles.draw();
        if (ship_) drawDisplayShips({ship_});
        r.setCamera(nullptr);
    }
    ClayoutScreen::render();
}
