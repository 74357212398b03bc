#include "screens/dailyChallenge.h"

#include <algorithm>
#include <cmath>

#include "audio/songPackInfo.h"
#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/format.h"
#include "engine/ui/menu.h"
#include "engine/ui/screen.h"
#include "engine/ui/table.h"
#include "engine/ui/uiMgr.h"
#include "game/enemies/ship.h"
#include "game/enemies/shipMgr.h"
#include "game/game.h"
#include "game/gameTypes.h"
#include "game/progress/shipMission.h"
#include "online/leaderboardMgr.h"
#include "online/serviceCall.h"
#include "screens/editModules.h"
#include "screens/listRows.h"
#include "screens/screenRegistry.h"
#include "screens/shipList.h"
#include "screens/unlockChallengeShip.h"

namespace {
constexpr int kRefusedSound = 7;
// An attempt needs the whole track and five minutes to spare.
constexpr int64_t kAttemptMargin = 300;
constexpr int kBoardRowsBeforeBreak = 10;
constexpr float kPreviewScale = 1.3f;
// The perks a rule switches off: the extra lives, and the weapons.
constexpr int kExtraLifePerks[] = {3, 4};
constexpr int kWeaponPerksLow[2] = {14, 21};
constexpr int kWeaponPerksHigh[2] = {26, 33};

const char* const kClassTags[4] = {"ShipClass_Any", "ShipClass_Standard", "ShipClass_BuiltIn", "ShipClass_Workshop"};
// Maker names are shown as they are, in every language.
const char* const kClassMakers[7] = {"Brute",       "Mosquito Systems", "Cra$y Thief",       "Scorched Earth",
                                     "General Industries", "Blazer Labs", "War Bringer Cartel"};

bool gamepad() { return gEngine->input.inputMode == DEVICE_CONTROLLER; }

void setText(Cwidget* w, const std::string& text) {
    if (w) w->setText("", text);
}
}  // namespace

const CwidgetBinding CdailyChallengeScreen::kBindings[] = {
    {&CdailyChallengeScreen::title_, "Title"},
    {&CdailyChallengeScreen::track_, "challTrack"},
    {&CdailyChallengeScreen::artist_, "challArtist"},
    {&CdailyChallengeScreen::timeRemaining_, "timeRemaining"},
    {&CdailyChallengeScreen::timeRemainingTitle_, "TimeRemainingTitle"},
    {&CdailyChallengeScreen::duration_, "Duration"},
    {&CdailyChallengeScreen::difficulty_, "Difficulty"},
    {&CdailyChallengeScreen::weaponRestriction_, "weaponRestriction"},
    {&CdailyChallengeScreen::extraLives_, "ExtraLives"},
    {&CdailyChallengeScreen::shipClass_, "ShipClass"},
    {&CdailyChallengeScreen::shipPos_, "ShipPos"},
    {&CdailyChallengeScreen::shipManu_, "ShipManu"},
    {&CdailyChallengeScreen::shipName_, "ShipName"},
    {&CdailyChallengeScreen::newChallengeNote_, "NewChallengeNote"},
    {&CdailyChallengeScreen::menu_, "menu"},
    {&CdailyChallengeScreen::shipMenu_, "shipMenu"},
};

CdailyChallengeScreen::CdailyChallengeScreen() : ClayoutScreen("dailyChallenge.txt", kBindings) {}

bool CdailyChallengeScreen::onLoaded() {
    // Only the marker's place is used: the preview ship stands there.
    if (Cgadget* g = shipPos_->findSpriteGadget()) g->hidden = true;
    return true;
}

std::string CdailyChallengeScreen::shipClassText(int shipClass) {
    if (shipClass >= 0 && shipClass < 4) return gEngine->text(kClassTags[shipClass]);
    if (shipClass >= 4 && shipClass <= 10) return kClassMakers[shipClass - 4];
    return {};
}

void CdailyChallengeScreen::open(int shipIndexOnEntry) {
    shipIndexOnEntry_ = shipIndexOnEntry;
    gGame->setGameMode(GM_DAILY_CHALLENGE_L);
}

int64_t CdailyChallengeScreen::secondsLeft() const {
    return challenge_ ? challenge_->challenge.endTime - gGame->online.soap.unixTime() : 0;
}

bool CdailyChallengeScreen::attemptAllowed() const {
    return challenge_ && secondsLeft() >= challenge_->challenge.duration + kAttemptMargin;
}

// ---- enter ----

void CdailyChallengeScreen::onEnter() {
    gUi->buttonBar.addButtonByKey("shipMod_Edit", ACTION_OPTION_X, 2);
    gUi->buttonBar.addButtonByKey("AttemptChallenge", ACTION_SELECT, 0);
    gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, 1);
    selectReadsChange_ = false;
    chosenItem_ = nullptr;
    waitingChallenge_ = false;
    Conline& online = gGame->online;
    challenge_ = online.dailyChallenge.active ? &online.dailyChallenge : &online.lightningChallenge;
    fillTexts();

    online.leaderboards.requestChallengeBoard(*challenge_, boardOffset_);
    menu_->clearItems();
    menu_->addTextItemByKey("NormalTextWhiteWithShadow", "Downloading", false);
    menu_->layout();
    waitingBoard_ = true;

    fillShips();
    makePreview();

    gUi->tutorials.show("Tut_TimedChallenge1");
    gUi->tutorials.show("Tut_TimedChallenge2");
    shipMenu_->setFocused(true);
    menu_->setFocused(false);
}

void CdailyChallengeScreen::fillTexts() {
    const CtimedChallenge& c = challenge_->challenge;
    const bool daily = challenge_->periodHours == 24;
    title_->setGadgetTextKey("", daily ? "DailyChallenge" : "LightningChallenge");
    setText(newChallengeNote_, CbString::format("%s %d %s", gEngine->text("NewChallengeNote1"), challenge_->periodHours,
                                                gEngine->text("NewChallengeNote2")).str());
    setText(track_, c.trackTitle);
    setText(artist_, c.artist);
    setText(duration_, formatTime(c.duration));
    setText(difficulty_, difficultyName(c.difficulty));
    setText(weaponRestriction_, getStringFromWeaponRestriction(c.weaponRestriction));
    setText(extraLives_, gEngine->text(c.noExtraLives ? "No" : "Yes"));
    setText(shipClass_, shipClassText(c.shipClass));
    setText(timeRemaining_, formatTime((int)std::max<int64_t>(0, secondsLeft())));
}

void CdailyChallengeScreen::fillShips() {
    noShips_ = false;
    fillShipList(shipMenu_, SHIPSORT_ALL, challenge_->challenge.shipClass);
    rowShips_ = gGame->world.ships.ships();
    if (shipMenu_->itemCount() == 0) {
        shipMenu_->addTextItemByKey("NormalTextWhiteWithShadow", "NoShips", false);
        shipMenu_->layout();
        noShips_ = true;
        gUi->buttonBar.setButtonHidden(ACTION_SELECT, true);
        gUi->buttonBar.setButtonHidden(ACTION_OPTION_X, true);
        return;
    }
    CplayerShipMgr& ships = gGame->playerShips;
    Cwidget* item = nullptr;
    for (size_t i = 0; i < shipMenu_->itemCount() && !item; ++i)
        if (shipMenu_->item(i)->value == ships.currentIdx) item = shipMenu_->item(i);
    if (!item) item = shipMenu_->item(0);
    shipMenu_->setSelectedIdx(shipMenu_->itemIndex(item));
    chooseShip(item);
}

// Makes the item's ship current, marks its row and hides module editing for
// ships that can't take modules.
void CdailyChallengeScreen::chooseShip(Cwidget* item) {
    if (!item) return;
    const int idx = (int)item->value;
    CplayerShipMgr& ships = gGame->playerShips;
    ships.setCurrentShipIdx(idx);
    gGame->standardShipFlag = idx == 0 ? 1 : 0;
    gGame->online.leaderboards.standardShipFlag = gGame->standardShipFlag;
    if (CplayerShipDef* s = ships.getShip(idx)) {
        gGame->world.session.playerShips[0] = s->name();
        gUi->buttonBar.setButtonHidden(ACTION_OPTION_X, s->isCustom());
    }
    for (auto& w : shipMenu_->items) w->colour = gGame->namedColours.darkGrey;
    item->colour = gGame->namedColours.darkYellow;
    chosenItem_ = item;
}

void CdailyChallengeScreen::makePreview() {
    const CtimedChallenge& c = challenge_->challenge;
    const std::string key = challengeShipKey(c.trackTitle, c.artist, c.duration);
    if (key.empty()) return;
    previewName_ = key;
    CplayerShipMgr& ships = gGame->playerShips;
    CplayerShipDef* def = ships.findShip(key);
    previewMadeHere_ = false;
    if (!def) {
        CtrackInfoView seed;
        seed.title = c.trackTitle;
        seed.artist = c.artist;
        seed.album = c.album;
        seed.lengthSeconds = (float)c.duration;
        def = ships.createProcShip(key, seed);
        previewMadeHere_ = def != nullptr;
        // Only looked at: the prize is the player's once it is won.
        if (def) def->preview = true;
        // Its identifier is the track's key: the player knows it by the track.
        if (def && def->data.displayName.empty()) def->data.displayName = c.trackTitle.substr(0, CplayerShipData::kDisplayNameBytes - 1);
    }
    if (!def) return;
    preview_ = addDisplayShip(*def);
    setMakerIcon(shipManu_, "", def->data.manufacturer, true);
    setText(shipName_, shipTitle(*def));
}

void CdailyChallengeScreen::removePreview() {
    CshipMgr& ships = gGame->world.ships;
    ships.clear();
    preview_ = nullptr;
    rowShips_.clear();
    if (previewMadeHere_) {
        // The ship was made only to be looked at: it goes with the screen.
        const int current = gGame->playerShips.currentIdx;
        gGame->playerShips.deleteShip(previewName_);
        if (current != gGame->playerShips.currentIdx) gGame->playerShips.setCurrentShipIdx(gGame->playerShips.currentIdx);
        previewMadeHere_ = false;
    }
}

// ---- update ----

void CdailyChallengeScreen::onUpdate() {
    if (waitingChallenge_ && gUi->action() == ACTION_BACK) {
        // The refresh goes on in the challenge manager; nobody waits for it here.
        waitingChallenge_ = false;
        gUi->loadingIndicator.hide();
        gGame->playTransitionEffect(nullptr);
        removePreview();
        gGame->playerShips.setCurrentShipIdx(shipIndexOnEntry_);
        gGame->setGameMode(GM_MAIN_MENU);
        return;
    }
    if (waitingChallenge_) {
        if (challenge_->state == CHALL_READY) {
            waitingChallenge_ = false;
            gUi->loadingIndicator.hide();
            removePreview();
            gGame->setGameMode(GM_DAILY_CHALLENGE_L);
        } else if (challenge_->state == CHALL_NONE) {
            waitingChallenge_ = false;
            gUi->loadingIndicator.hide();
            removePreview();
            gGame->setGameMode(GM_MAIN_MENU);
        }
        return;
    }

    const int64_t left = secondsLeft();
    const Ccolour& colour = attemptAllowed() ? gGame->namedColours.white : gGame->namedColours.red;
    for (Cwidget* w : {timeRemaining_, timeRemainingTitle_})
        if (Cgadget* g = w->findTextGadget()) g->colour = colour;
    setText(timeRemaining_, formatTime((int)std::max<int64_t>(0, left)));
    if (left < 1) {
        challenge_->state = CHALL_REFRESH;
        waitingChallenge_ = true;
        gUi->loadingIndicator.show(gEngine->text("Working"));
        return;
    }

    gGame->world.ships.update((float)gEngine->frameTime);

    CleaderboardMgr& boards = gGame->online.leaderboards;
    const Cboard* board = boards.findBoard(challenge_->boardName(boardOffset_));
    if (waitingBoard_ && (!board || !board->queued)) {
        waitingBoard_ = false;
        fillBoard();
        return;
    }

    const int action = gUi->action();
    Cwidget* taken = noShips_ ? nullptr : shipMenu_->highlightedItem();
    if (taken && taken != chosenItem_) {
        gGame->playTransitionEffect(taken);
        chooseShip(taken);
    } else if (action == ACTION_SELECT || (taken && gamepad())) {
        if (noShips_) {
            // The attempt button is hidden: nothing to fly.
        } else if (!attemptAllowed()) {
            gUi->playSound(kRefusedSound);
        } else {
            removePreview();
            gGame->world.session.gameType = GAMETYPE_STANDARD;
            gGame->setGameMode(GM_GAME_SETTINGS);
            return;
        }
    } else if (action == ACTION_BACK) {
        gGame->playTransitionEffect(nullptr);
        removePreview();
        gGame->playerShips.setCurrentShipIdx(shipIndexOnEntry_);
        gGame->setGameMode(GM_MAIN_MENU);
        return;
    } else if (action == ACTION_OPTION_X) {
        const CplayerShipDef* s = gGame->playerShips.currentShip();
        // The button is hidden for these; a press that still arrives does nothing.
        if (!noShips_ && s && !s->isCustom()) {
            gGame->playTransitionEffect(nullptr);
            removePreview();
            if (CeditModulesScreen* edit = screens::get<CeditModulesScreen>()) edit->open(true);
            return;
        }
    }

    placeRowShips();
    if (preview_) {
        placeDisplayShip(preview_, shipPos_->x, shipPos_->y, shipPos_->height * shipPos_->uiScale * kPreviewScale);
        preview_->angle = 0;
    }

    if (gamepad()) {
        Cwidget* sel = shipMenu_->getSelectedItem();
        bool change = shipMenu_->focused && sel && sel != chosenItem_;
        if (change != selectReadsChange_) {
            selectReadsChange_ = change;
            gUi->buttonBar.removeSelectButtons();
            gUi->buttonBar.addButtonByKey(change ? "ChangeShip" : "AttemptChallenge", ACTION_SELECT, 0);
        }
    }
}

// Each row's ship turns beside its row and hides while the row is scrolled away.
void CdailyChallengeScreen::placeRowShips() {
    rowAngle_ += 0.01f;
    const Crect area = shipMenu_->areaRect();
    for (size_t i = 0; i < rowShips_.size() && i < shipMenu_->itemCount(); ++i) {
        Cship* s = rowShips_[i];
        Cwidget* item = shipMenu_->item(i);
        const float h = item->height * item->uiScale;
        const float x = item->x - item->width * item->uiScale * 0.5f + h * 0.6f;
        placeDisplayShip(s, x, item->y, h);
        s->angle = rowAngle_ + 1.5707964f;
        s->active = item->y >= area.y && item->y <= area.bottom();
    }
}

// ---- board ----

void CdailyChallengeScreen::fillBoard() {
    CleaderboardMgr& boards = gGame->online.leaderboards;
    const Cboard* b = boards.findBoard(challenge_->boardName(boardOffset_));
    if (!b) {
        // Nothing was asked for: the service is off or refused the request.
        menu_->clearItems();
        menu_->addTextItemByKey("NormalTextWhiteWithShadow", k4wSOAP::serviceOff() ? "ServiceOffline" : "ServiceUnreachable", false);
        menu_->layout();
        return;
    }
    if (b->failure != CALL_NO_FAILURE) {
        gEngine->log.print(LOG_L, "Daily challenge: board not downloaded (%s)", callFailureName(b->failure));
        if (b->entries.empty()) {
            menu_->clearItems();
            menu_->addTextItemByKey("NormalTextWhiteWithShadow", callFailureTag(b->failure), false);
            menu_->layout();
            return;
        }
        gUi->popups.showMessage(gEngine->text("ServiceOldData"));
    }
    menu_->clearItems();
    auto spacer = [&](const std::string& text) {
        if (Cwidget* w = menu_->addTextItem("ShortMenuBreakChallenge", text, -1)) w->selectable = false;
    };
    spacer("");
    const uint64_t top = b->entries.empty() ? 0 : b->entries[0].score;
    int added = 0;
    auto* table = static_cast<Ctable*>(menu_);
    for (const CboardEntry& e : b->entries) {
        if (added == kBoardRowsBeforeBreak) spacer("");
        if (Cwidget* row = table->addRow(added + 1, {})) fillChallengeBoardRow(row, *b, e, added + 1, top);
        ++added;
    }
    if (added <= kBoardRowsBeforeBreak) spacer("");
    menu_->layout();
}

// ---- rules ----

void CdailyChallengeScreen::applyRules() {
    CchallengeMgr* running = gGame->getActiveChallenge();
    if (!running) return;
    const CtimedChallenge& c = running->challenge;
    CgameSession& session = gGame->world.session;
    const Csettings& settings = gGame->saveLoad.settings;
    if (!c.noExtraLives && c.weaponRestriction == 0) {
        if (c.difficulty < session.difficulty) session.difficulty = c.difficulty;
        session.difficultyFactor = settings.difficultyFactor;
        return;
    }
    CperkMgr& perks = gGame->world.perks;
    perks.saveEnabledStates();
    auto off = [&](int id) { perks.switchOffForGame(id); };
    if (c.noExtraLives)
        for (int id : kExtraLifePerks) off(id);
    if (c.weaponRestriction != 0) {
        for (int id = kWeaponPerksLow[0]; id <= kWeaponPerksLow[1]; ++id) off(id);
        for (int id = kWeaponPerksHigh[0]; id <= kWeaponPerksHigh[1]; ++id) off(id);
    }
}

// ---- render ----

void CdailyChallengeScreen::render() {
    Crenderer& r = gEngine->renderer;
    if (r.isReady()) {
        gGame->world.fitCamera();
        r.setCamera(&gGame->world.camera);
        gGame->world.projectiles.draw();
        r.setCamera(nullptr);
    }
    ClayoutScreen::render();
    if (!r.isReady()) return;
    r.setCamera(&gGame->world.camera);
    r.pushScissor(shipMenu_->areaRect());
    drawDisplayShips(rowShips_);
    r.popScissor();
    if (preview_) drawDisplayShips({preview_});
    r.setCamera(nullptr);
}
