#include "screens/unlockChallengeShip.h"

#include <algorithm>

#include "engine/engine.h"
#include "engine/render/particles.h"
#include "engine/bString.h"
#include "engine/format.h"
#include "engine/ui/screen.h"
#include "game/game.h"
#include "screens/screenRegistry.h"
#include "screens/unlockProcShip.h"

std::string challengeDurationText(int seconds) {
    seconds = std::max(seconds, 0);
    if (seconds < 3600) return CbString::format("%02d:%02d", seconds / 60, seconds % 60).str();
    return CbString::format("%02dh %02dm %02ds", seconds / 3600, seconds / 60 % 60, seconds % 60).str();
}

std::string challengeShipKey(const std::string& title, const std::string& artist, int durationSeconds) {
    std::string key = makeSongKey(SONG_OPEN_MIC, title, artist, (float)durationSeconds);
    if (!key.empty()) key[0] = '!';
    return key;
}

std::string challengePlacingText(int placing) {
    if (placing == 1) return gEngine->text("ChallengeWinner");
    return std::string(gEngine->text("ChallengeRank")) + CbString::format(" - %s ", ordinalText(placing)).str() +
           gEngine->text("ChallengePlace");
}

const CwidgetBinding CunlockChallengeShipScreen::kBindings[] = {
    {&CunlockChallengeShipScreen::shipPos_, "ShipPos"},
    {&CunlockChallengeShipScreen::shipName_, "ShipName"},
    {&CunlockChallengeShipScreen::congrats_, "Congrats"},
    {&CunlockChallengeShipScreen::title_, "Title"},
    {&CunlockChallengeShipScreen::challTitle_, "ChallTitle"},
    {&CunlockChallengeShipScreen::challArtist_, "ChallArtist"},
    {&CunlockChallengeShipScreen::challDuration_, "ChallDuration"},
};

CunlockChallengeShipScreen::CunlockChallengeShipScreen() : ClayoutScreen("UnlockChallengeShip.txt", kBindings) {}

bool CunlockChallengeShipScreen::onLoaded() {
    if (Cgadget* g = shipPos_->findTextGadget({}, false)) g->hidden = true;
    return true;
}

void CunlockChallengeShipScreen::setup(const std::string& shipKey, int placing, const std::string& title,
                                       const std::string& artist, int durationSeconds) {
    key_ = shipKey;
    placing_ = placing;
    challengeTitle_ = title;
    challengeArtist_ = artist;
    duration_ = durationSeconds;
}

void CunlockChallengeShipScreen::openReward(const CchallengeReward& reward, std::function<void()> settled) {
    const std::string key = challengeShipKey(reward.trackTitle, reward.artist, reward.duration);
    if (key.empty()) {
        gEngine->log.print(LOG_L, "Challenge reward without a track: not shown");
        if (settled) settled();
        return;
    }
    CtrackInfo seed;
    seed.title = reward.trackTitle;
    seed.artist = reward.artist;
    seed.key = key;
    seed.length = reward.duration;
    if (CunlockProcShipScreen* unlock = screens::get<CunlockProcShipScreen>())
        unlock->setupReward(key, reward.trackTitle, reward.artist, seed, std::move(settled));
    setup(key, reward.placing, reward.trackTitle, reward.artist, reward.duration);
    gEngine->log.print(LOG_L, "Challenge reward: %s, place %d", reward.trackTitle.c_str(), reward.placing);
    gGame->setGameMode(GM_UNLOCK_CHALLENGE_SHIP, true);
}

void CunlockChallengeShipScreen::onEnter() {
    Cgame& g = *gGame;
    alreadyOwned_ = g.playerShips.findShip(key_) != nullptr;
    CdisplayShip::clearScene();
    display_.forget();
    CplayerShipDef* ship = g.playerShips.findShip(key_);
    if (!ship) {
        CtrackInfoView seed;
        seed.title = challengeTitle_;
        seed.artist = challengeArtist_;
        seed.key = key_;
        seed.lengthSeconds = (float)duration_;
        ship = g.playerShips.createProcShip(key_, seed);
    }
    if (ship) display_.show(*ship, 1.3f);
    gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
    shipName_->setText("", ship ? ship->data.displayName : std::string());
    title_->setText("", challengePlacingText(placing_));
    challTitle_->setText("", challengeTitle_);
    challArtist_->setText("", challengeArtist_);
    challDuration_->setText("", challengeDurationText(duration_));
}

void CunlockChallengeShipScreen::onUpdate() {
    CdisplayShip::updateScene();
    display_.flyAt(shipPos_, 0.0f);
    sparkleAround(congrats_, gGame->namedColours.yellow, 0.1f);
    if (gUi->action() != ACTION_SELECT) return;
    display_.forget();
    gGame->world.ships.clear();
    // The ship made for the display goes: the reward screen grants it.
    if (!alreadyOwned_) gGame->playerShips.deleteShip(key_);
    gGame->setGameMode(GM_UNLOCK_PROC_SHIP, true);
}

void CunlockChallengeShipScreen::render() {
    ClayoutScreen::render();
    if (display_.ship()) CdisplayShip::renderScene();
    drawParticleLayer(kUiFrontLayer);
}
