#include "screens/missionUpdate.h"

#include "engine/engine.h"
#include "engine/render/particles.h"
#include "engine/ui/uiMgr.h"
#include "game/game.h"
#include "game/gameTypes.h"
#include "game/missionResult.h"
#include "game/progress/playerShipDef.h"
#include "screens/displayShip.h"
#include "screens/listRows.h"
#include "screens/screenRegistry.h"
#include "screens/unlockProcShip.h"
#include "screens/unlockShipMod.h"

namespace {
constexpr int kActionContinue = 1;
constexpr int kModuleMissions = 2;   // missions complete that bring the ship's module

// Flashes need the frame rate: a slow machine that runs several update steps a frame skips them.
void flash(float seconds) {
    if (gEngine->subSteps < 2) gEngine->screenFlash.start(Ccolour(1, 1, 1, 1), seconds);
}

Cvec3 at(const Cwidget* w) { return Cvec3(w->x, w->y, 0); }
}  // namespace

const CwidgetBinding CmissionUpdateScreen::kBindings[] = {
    {&CmissionUpdateScreen::shadow_, "ShadowMission"},  {&CmissionUpdateScreen::complete_, "Complete"},
    {&CmissionUpdateScreen::card1_, "MissionCard1"},    {&CmissionUpdateScreen::card2_, "MissionCard2"},
    {&CmissionUpdateScreen::card3_, "MissionCard3"},    {&CmissionUpdateScreen::card4_, "MissionCard4"},
    {&CmissionUpdateScreen::star1_, "Star1"},           {&CmissionUpdateScreen::star2_, "Star2"},
    {&CmissionUpdateScreen::star3_, "Star3"},           {&CmissionUpdateScreen::star4_, "Star4"},
    {&CmissionUpdateScreen::allComplete1_, "AllComplete1"}, {&CmissionUpdateScreen::allComplete2_, "AllComplete2"},
};

CmissionUpdateScreen::CmissionUpdateScreen() : ClayoutScreen("missionUpdate.txt", kBindings) {}

void CmissionUpdateScreen::onEnter() {
    cards_ = {card1_, card2_, card3_, card4_};
    stars_ = {star1_, star2_, star3_, star4_};
    leaving_ = false;
    for (Cwidget* w : stars_) w->setHidden(true);
    allComplete1_->setHidden(true);
    allComplete2_->setHidden(true);
    allCompleteTimer_ = 0;
    starTimer_ = -1;
    newly_.fill(false);
    CplayerShipDef* ship = gGame->playerShips.currentShip();
    const int missions = ship ? std::min(ship->numMissions(), 4) : 0;
    for (int i = 0; i < 4; ++i) {
        Cwidget* card = cards_[(size_t)i];
        card->setHidden(i >= missions);
        if (i >= missions) continue;
        card->startEffect(EFFECT_ZOOM_IN, 0, nullptr, 0.1f * (float)i, 0.3f);
        fillTrackList(card, i, ship->data.missions[(size_t)i], ship->missionComplete[i] != 0);
    }
    for (Cwidget* w : {shadow_, complete_}) {
        w->setHidden(false);
        w->startEffect(EFFECT_ZOOM_IN, 0, nullptr, 0, 0.3f);
    }
    gUi->buttonBar.addButtonByKey("Continue", kActionContinue, 0);
    checkMissions();
}

void CmissionUpdateScreen::checkMissions() {
    allComplete_ = true;
    allCompleteTimer_ = 0;
    Cgame& g = *gGame;
    CplayerShipDef* ship = g.playerShips.currentShip();
    if (!ship) return;
    // The game's results marked its missions when they were kept; a game not kept yet is checked here.
    CmissionsCompleted done;
    if (g.world.session.awarded) {
        done.newly = g.world.session.missionsDone;
        done.allComplete = ship->numMissions() > 0 && ship->numMissionsComplete() == std::min(ship->numMissions(), kMaxShipMissions);
    } else {
        done = completeShipMissions(*ship, g.progress, missionResultOf(g.world.session));
    }
    for (int i : done.newly) {
        if (i < 0 || i >= 4) continue;
        newly_[(size_t)i] = true;
        stars_[(size_t)i]->setHidden(false);
        stars_[(size_t)i]->startEffect(EFFECT_ZOOM_IN, 0, nullptr, 0.5f, 0.4f);
        if (Cgadget* star = cards_[(size_t)i]->findGadget("Star")) star->colour = g.namedColours.white;
        starTimer_ = kStarDelay;
        gEngine->log.print(LOG_L, "Mission complete: %s %d", ship->name().c_str(), i + 1);
    }
    if (!done.newly.empty()) g.saveRequested = 1;
    allComplete_ = done.allComplete;
    // The all-complete sequence plays for the game that completes the last mission.
    if (done.allComplete && !done.newly.empty()) {
        allCompleteTimer_ = kAllCompleteDelay;
        for (const char* name : {"AchCompShadow1", "AchCompShadow2", "AchCompShadow3", "AchCompShadow4"})
            if (CachievementDef* a = g.achievements.findAchievement(name)) g.achievements.addProgress(a);
    }
}

void CmissionUpdateScreen::onUpdate() {
    const float dt = (float)gEngine->frameTime;
    if (allCompleteTimer_ > 0) {
        allCompleteTimer_ -= dt;
        if (allCompleteTimer_ <= 0) {
            allCompleteTimer_ = -1;
            if (gUi->playSoundPack) gUi->playSoundPack("MissionComplete");
            for (Cwidget* w : {allComplete1_, allComplete2_}) {
                w->setHidden(false);
                w->startEffect(EFFECT_ZOOM_IN, 0, nullptr, 0, 0.2f);
            }
            flash(0.5f);
        }
    }
    if (starTimer_ >= 0) {
        starTimer_ -= dt;
        if (starTimer_ < 0) {
            flash(0.3f);
            for (int i = 0; i < 4; ++i)
                if (newly_[(size_t)i]) {
                    spawnShockwave(at(stars_[(size_t)i]), gGame->namedColours.yellow, 1, 2.0f);
                    spawnShockwave(at(stars_[(size_t)i]), gGame->namedColours.white, 1, 1.0f);
                }
        }
    }
    celebrate();
    if (!leaving_ && gUi->action() == kActionContinue) goOn();
}

// The celebration's halos, sparkles and shockwaves stand in front of the screen.
void CmissionUpdateScreen::render() {
    ClayoutScreen::render();
    drawParticleLayer(kUiFrontLayer);
}

void CmissionUpdateScreen::celebrate() {
    if (starTimer_ >= 0 || !(newly_[0] || newly_[1] || newly_[2] || newly_[3])) return;
    Crandom& rnd = gEngine->random;
    const Ccolour& gold = gGame->namedColours.yellow;
    spawnUiHalo(gold, complete_->x, complete_->y, 0.3f);
    if (rnd.fraction() < 0.1f) spawnUiSparkle(at(complete_) + Cvec3(rnd.range(-500, 500), 0, 0), gold, 0.5f, true);
    for (int i = 0; i < 4; ++i) {
        if (!newly_[(size_t)i]) continue;
        spawnUiHalo(gold, stars_[(size_t)i]->x, stars_[(size_t)i]->y, 0.05f);
        if (rnd.fraction() < 0.01f) spawnUiSparkle(at(stars_[(size_t)i]), gold, 0.3f, true);
    }
    if (allCompleteTimer_ < 0) {
        spawnUiHalo(gold, allComplete1_->x, allComplete1_->y, 0.2f);
        if (rnd.fraction() < 0.1f) spawnUiSparkle(at(allComplete1_) + Cvec3(rnd.range(-200, 200), 0, 0), gold, 0.3f, true);
    }
}

void CmissionUpdateScreen::goOn() {
    leaving_ = true;
    Cgame& g = *gGame;
    gGame->playTransitionEffect();
    CplayerShipDef* ship = g.playerShips.currentShip();
    // Two missions complete bring the ship's module, once.
    if (ship && ship->numMissionsComplete() >= kModuleMissions && !g.progress.modules.findModule(ship->name())) {
        gEngine->log.print(LOG_L, "Mission update: the module of %s is unlocked", ship->name().c_str());
        if (CunlockShipModScreen* unlock = screens::get<CunlockShipModScreen>())
            unlock->open(ship->name().substr(0, 33));
        else
            g.setGameMode(GM_UNLOCK_SHIP_MOD, true);
        return;
    }
    if (g.world.session.difficultyFactor == 1.0f && unlockProcShipDue()) {
        g.setGameMode(GM_UNLOCK_PROC_SHIP, true);
        return;
    }
    if (g.music.openMicRunning()) {
        g.music.setOpenMicTrackName();
        updateChallengeHeaders(g.music.currentTrack);
    }
    g.saveLoad.saveGame();
    g.setGameMode(GM_MAIN_MENU, true);
}
