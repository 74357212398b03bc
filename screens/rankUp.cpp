#include "screens/rankUp.h"

#include "engine/engine.h"
#include "engine/format.h"
#include "engine/render/particles.h"
#include "engine/ui/screen.h"
#include "game/game.h"
#include "game/gameAward.h"
#include "game/gameTypes.h"
#include "game/missionResult.h"
#include "game/perkMgr.h"
#include "screens/listRows.h"
#include "screens/perkUnlock.h"
#include "screens/screenRegistry.h"
#include "screens/unlockProcShip.h"

const CwidgetBinding CrankUpScreen::kBindings[] = {
    {&CrankUpScreen::progressBar_, "ProgressBar"},
    {&CrankUpScreen::totalXP_, "TotalXP"},
    {&CrankUpScreen::awardedXP_, "AwardedXP"},
    {&CrankUpScreen::levelTitle_, "LevelTitle"},
    {&CrankUpScreen::levelSprite_, "LevelSprite"},
    {&CrankUpScreen::playerName_, "PlayerName"},
    {&CrankUpScreen::shipProgressBar_, "ShipProgressBar"},
    {&CrankUpScreen::shipTotalXP_, "ShipTotalXP"},
    {&CrankUpScreen::shipAwardedXP_, "ShipAwardedXP"},
    {&CrankUpScreen::shipLevelTitle_, "ShipLevelTitle"},
    {&CrankUpScreen::shipLevelSprite_, "ShipLevelSprite"},
    {&CrankUpScreen::shipName_, "ShipName"},
};

CrankUpScreen::CrankUpScreen() : ClayoutScreen("rankUp.txt", kBindings) {}

namespace {
int lockedPerks(const CperkMgr& perks) {
    int n = 0;
    for (int id = 0; id < kNumPerkDefs; ++id)
        n += perkDef(id).shown && !perks.isUnlocked(id) ? 1 : 0;
    return n;
}

std::string plusXP(uint64_t xp) { return std::string("+") + formatThousands64((int64_t)xp); }

const Ccolour kRankBarColour(0.961f, 0.510f, 0.161f, 1.0f);
// Puffs rise now and then along this half width (layout pixels) either side of
// the screen's centre, at the height of a badge that has just gone up.
constexpr int kFxHalfWidth = 200;
constexpr float kFxPuffChance = 0.0005f;
constexpr float kFxHaloSize = 0.4f;
// The ship's height on the screen, layout pixels.
constexpr float kShipHeight = 220.0f;
}  // namespace

// The name the web service knows; offline, the profile's own name.
std::string CrankUpScreen::playerNameText() {
    const Cgame& g = *gGame;
    std::string name = g.online.soap.nickname();
    if (name.empty()) name = g.progress.playerName;
    if (name.empty()) name = std::string(gEngine->text("PlayerIdx")) + " 1";
    return name;
}

void CrankUpScreen::onEnter() {
    Cgame& g = *gGame;
    CplayerShipDef* ship = g.playerShips.currentShip();
    // The game's results were kept at its game over; the count shows its award going in, once.
    commitGameResults(g);
    CgameAward award;
    takeGameAward(g, award);
    count_.start(award.playerXpBefore, award.shipXpBefore, award.xp, lockedPerks(g.world.perks));
    if (count_.okOffered()) {
        gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
        gEngine->log.print(LOG_L, "Rank-up screen: OK offered");
    }
    playerName_->setText("", playerNameText());
    shipName_->setText("", ship ? (ship->data.displayName.empty() ? ship->name() : ship->data.displayName) : std::string());
    showBars(false);
    showBadge(levelTitle_, levelSprite_, count_.player, false);
    showBadge(shipLevelTitle_, shipLevelSprite_, count_.ship, false);
    CdisplayShip::clearScene();
    if (ship) display_.show(*ship);
}

void CrankUpScreen::onUpdate() {
    CdisplayShip::updateScene();
    // The ship flies up the right of the screen.
    const float s = gUi->scale();
    display_.placeAtPixel((float)gEngine->screenWidth * 0.5f + (830.0f - 640.0f) * s, 600.0f * s, 0.0f, kShipHeight * s);
    if (gUi->action() == ACTION_SELECT) {
        if (count_.takeSelect()) leave();
        return;
    }
    bool hadOk = count_.okOffered();
    const bool wasCounting = count_.counting();
    if (!count_.step((float)gEngine->frameTime)) return;
    if (wasCounting) showBars(true);
    celebrate(count_.player, levelSprite_);
    celebrate(count_.ship, shipLevelSprite_);
    if (count_.okOffered() && !hadOk) {
        if (!gUi->buttonBar.hasAction(ACTION_SELECT)) gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
        gEngine->log.print(LOG_L, "Rank-up screen: OK offered");
    }
}

void CrankUpScreen::showBars(bool effects) {
    const CrankBar* bars[2] = {&count_.player, &count_.ship};
    Cwidget* fills[2] = {progressBar_, shipProgressBar_};
    Cwidget* totals[2] = {totalXP_, shipTotalXP_};
    Cwidget* awards[2] = {awardedXP_, shipAwardedXP_};
    Cwidget* titles[2] = {levelTitle_, shipLevelTitle_};
    Cwidget* sprites[2] = {levelSprite_, shipLevelSprite_};
    for (int i = 0; i < 2; ++i) {
        fills[i]->setProgress("", bars[i]->fraction);
        const Cvec2 end = fills[i]->getProgressBarEndPos();
        for (int puff = 0; puff < 2; ++puff) spawnUiPuff(kRankBarColour, end.x, end.y);
        totals[i]->setText("", formatThousands64((int64_t)bars[i]->shownXP));
        awards[i]->setText("", plusXP(count_.awardedLeft()));
        // The title follows the XP shown, as every other screen names a rank from XP.
        titles[i]->setText("", rankTitle(bars[i]->shownXP));
        if (effects && bars[i]->rankUps > 0) showBadge(titles[i], sprites[i], *bars[i], true);
    }
}

void CrankUpScreen::showBadge(Cwidget* title, Cwidget* sprite, const CrankBar& bar, bool effects) {
    const int rank = bar.rank;
    title->setText("", rankTitle(bar.shownXP));
    char badge[24];
    sprite->setSprite("", rankBadgeName(rank, badge));
    if (!effects) return;
    gEngine->log.print(LOG_V, "Rank up: %d", rank);
    title->startEffect(EFFECT_ZOOM_IN, 0, nullptr, 0.0f, 0.3f);
    sprite->startEffect(EFFECT_ZOOM_IN, 0, nullptr, 0.1f, 0.3f);
}

void CrankUpScreen::celebrate(const CrankBar& bar, const Cwidget* badge) {
    if (bar.fxTimer <= 0) return;
    Crandom& random = gEngine->random;
    const Ccolour colour = gGame->world.colourScheme.getPlayerColour(0);
    const float centre = (float)gEngine->screenWidth * 0.5f;
    for (int dx = -kFxHalfWidth; dx <= kFxHalfWidth; ++dx)
        if (random.fraction() < kFxPuffChance)
            spawnPuff(colour, Cvec3(centre + (float)dx * badge->uiScale, badge->y, 0), kUiFrontLayer);
    spawnUiHalo(colour, badge->x, badge->y, kFxHaloSize);
}

void CrankUpScreen::render() {
    ClayoutScreen::render();
    if (display_.ship()) CdisplayShip::renderScene();
    drawParticleLayer(kUiFrontLayer);
}

void CrankUpScreen::leave() {
    Cgame& g = *gGame;
    display_.forget();
    if (count_.perksToShow() > 0) {
        if (CperkUnlockScreen* unlock = screens::get<CperkUnlockScreen>()) unlock->open(count_.perksToShow());
        else g.setGameMode(GM_PERK_UNLOCK, true);
    } else if (currentShipMissionProgressed()) {
        g.setGameMode(GM_MISSON_UPDATE, true);
    } else if (unlockProcShipDue()) {
        g.setGameMode(GM_UNLOCK_PROC_SHIP, true);
    } else {
        nameOpenMicTrack();
        g.saveLoad.saveGame();
        g.setGameMode(g.getActiveChallenge() ? GM_DAILY_CHALLENGE_L : GM_MAIN_MENU, true);
    }
}
