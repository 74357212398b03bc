#include "screens/mainMenu.h"

#include <algorithm>
#include <cmath>

#include "engine/engine.h"
#include "engine/format.h"
#include "engine/ui/screen.h"
#include "engine/ui/uiDraw.h"
#include "engine/ui/uiMgr.h"
#include "game/enemies/ship.h"
#include "game/game.h"
#include "game/gameTypes.h"
#include "game/progress/xpCurve.h"
#include "platform/steam/steamApi.h"
#include "screens/dailyChallenge.h"
#include "screens/dailyTracks.h"
#include "screens/displayShip.h"
#include "screens/exit.h"
#include "screens/friendCompare.h"
#include "screens/hangar.h"
#include "screens/leaderboard.h"
#include "screens/confirm.h"
#include "screens/listRows.h"
#include "screens/musicBar.h"
#include "screens/musicBrowser.h"
#include "screens/musicRadioBrowser.h"
#include "screens/options.h"
#include "screens/optionsNotifications.h"
#include "screens/optionsTwitter.h"
#include "screens/screenRegistry.h"
#include "screens/shipList.h"
#include "screens/shipMissionPanel.h"
#include "screens/unlockTBShip.h"
#include "screens/shipStatPanels.h"

namespace {
constexpr const char* kBuiltInTenYears = "music/Decade of Zorbex.mp3";
constexpr const char* kInstructionsPage = "https://www.quillmarshgames.com/zrb-instructions.html";
constexpr float kVisualiserMoveLimit = 50.0f;

// Email offer answers.
enum { EMAIL_YES = 0, EMAIL_NOT_NOW = 1, EMAIL_DONT_ASK = 2 };
}  // namespace

const CmainMenuScreen::Croute CmainMenuScreen::kRoutes[] = {
    {"Play", GM_GAME_TYPE},
    {"QuickPlay", -1},
    {"Perks", GM_PERK_MENU},
    {"DailyTracks", GM_DAILY_TRACKS},
    {"ShipHangar", GM_GALLERY},
    {"PartyMode", GM_PARTY_LOGIN},
    {"DailyChallenge", -1},
    {"LightningChallenge", -1},
    {"MusicBrowser", GM_MUSIC_TYPE_LIST},
    {"Achievements", GM_ACHIEVEMENTS},
    {"Instructions", -1},
    {"Options", GM_OPTIONS},
    {"ShipDetails", GM_HANGAR},
    {"Leaderboard", GM_LEADERBOARD},
    {"Twitter", GM_OPTIONS_TWITTER},
    {"FriendCompare", GM_FRIEND_COMPARE},
    {"Visualiser", -1},
    {"Exit", -1},
    {"Store", -1},
    {"10Years", -1},
    {"NewsFeed", -1},
};

const char* const CmainMenuScreen::kOnlineWidgets[8] = {
    "DailyChallenge", "LightningChallenge", "DailyTracks", "Leaderboard", "FriendCompare",
    "GlobalDiscoveries", "GlobalTimePlayed", "GlobalTracksCleared"};

// ---- panel texts ----

std::string statsXpText(uint64_t xp) {
    return std::string(gEngine->text("fcXP")) + ": " + formatThousands64((int64_t)xp);
}

std::string statsRankText(uint64_t xp) {
    return std::string(gEngine->text("fcRank")) + ": " + rankTitle(xp);
}

std::string statsTimeText(float seconds) {
    return std::string(gEngine->text("fcTimePlayed")) + ": " + formatTime(seconds > 0 ? (int)seconds : 0);
}

std::string statsTracksText(int count) {
    return std::string(gEngine->text("fcTracksCompleted")) + ": " + CbString::format("%d", count).str();
}

// ---- loading ----

const CwidgetBinding CmainMenuScreen::kBindings[] = {
    {&CmainMenuScreen::shipName_, "ShipName"},
    {&CmainMenuScreen::shipScore_, "ShipScore"},
    {&CmainMenuScreen::tracksCompleted_, "TracksCompleted"},
    {&CmainMenuScreen::timePlayed_, "TimePlayed"},
    {&CmainMenuScreen::rank_, "Rank"},
    {&CmainMenuScreen::manu_, "Manu"},
    {&CmainMenuScreen::globalDiscoveries_, "GlobalDiscoveries"},
    {&CmainMenuScreen::globalTimePlayed_, "GlobalTimePlayed"},
    {&CmainMenuScreen::globalTracksCleared_, "GlobalTracksCleared"},
    {&CmainMenuScreen::star1_, "ShipStar1"},
    {&CmainMenuScreen::star2_, "ShipStar2"},
    {&CmainMenuScreen::star3_, "ShipStar3"},
    {&CmainMenuScreen::star4_, "ShipStar4"},
    {&CmainMenuScreen::logo_, "Logo"},
    {&CmainMenuScreen::visLogo_, "VisLogo"},
    {&CmainMenuScreen::wipIcon_, "WIPIcon"},
    {&CmainMenuScreen::shipSpot_, "ShipSpot"},
};

CmainMenuScreen::CmainMenuScreen() : ClayoutScreen("mainMenu.txt", kBindings) {}

bool CmainMenuScreen::load() {
    const bool web = !gEngine->webServiceOff;
    if (screen_ && webLayout_ == web) return true;
    webLayout_ = web;
    setLayoutName(web ? "mainMenu.txt" : "mainMenu_NoK4W.txt");
    return ClayoutScreen::load();
}

bool CmainMenuScreen::onLoaded() {
    stars_[0] = star1_;
    stars_[1] = star2_;
    stars_[2] = star3_;
    stars_[3] = star4_;
    buttons_.clear();
    std::string missing;
    for (const Croute& r : kRoutes) {
        const bool optional = std::string(r.name) == "NewsFeed";
        Cwidget* w = screen_->findWidget(r.name, false);
        if (!w && !optional) missing += (missing.empty() ? "" : ", ") + std::string(r.name);
        buttons_.push_back(w);
    }
    for (const char* name : {"Store", "VisLogo", "NewsFeed"})
        if (Cwidget* w = screen_->findWidget(name, false)) w->setHidden(true);
    if (!missing.empty()) gEngine->log.print(LOG_E, "Can't bind %s: missing %s", layoutName().c_str(), missing.c_str());
    return missing.empty();
}

Cwidget* CmainMenuScreen::button(const std::string& name) const {
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (name == kRoutes[i].name) return buttons_[i];
    return nullptr;
}

// ---- enter ----

void CmainMenuScreen::reportOnce() {
    if (reportedThisRun_) return;
    reportedThisRun_ = true;
    gGame->workshop.startSubscribedSync();
    Canalytics& a = gEngine->analytics;
    a.sendEvent("ControllerType", gEngine->input.inputMode == DEVICE_CONTROLLER ? "Joystick" : "Keyboard", nullptr);
    const double hours = gGame->progress.timePlayed / 3600.0;
    const std::string action =
        CbString::format("V=%s - %s", gEngine->versionText.c_str(), gEngine->platformText.c_str()).str();
    const std::string label = CbString::format("%s ID=%lld TP=%.0fh", gEngine->playerName.c_str(),
                                               (long long)gEngine->steamId, hours).str();
    a.sendEvent("Version", action.c_str(), label.c_str());
    gEngine->log.print(LOG_L, "%s ID=%lld V=%s - %s TP=%.0fh", gEngine->playerName.c_str(), (long long)gEngine->steamId,
                       gEngine->versionText.c_str(), gEngine->platformText.c_str(), hours);
    // Awarding is idempotent: achievements reached while Steam was away are caught up.
    for (const std::string& name : gGame->achievements.reachedSteamNames())
        gGame->steamAchievements.award(name.c_str());
}

void CmainMenuScreen::submitXp() {
    const uint64_t xp = (uint64_t)std::max<int64_t>(0, (int64_t)gGame->progress.xp);
    if (xp == xpSubmitted_) return;
    xpSubmitted_ = xp;
    if (gGame->progress.submitBoard) gGame->progress.submitBoard(CleaderboardMgr::kXpBoard, xp, getRankName(rankFromXP(xp)));
}

bool CmainMenuScreen::needsService(const std::string& name) {
    for (const char* w : kOnlineWidgets)
        if (name == w) return true;
    return false;
}

void CmainMenuScreen::hideOnlineWidgets() {
    if (!gEngine->webServiceOff) return;
    for (const char* name : kOnlineWidgets)
        if (Cwidget* w = screen_->findWidget(name, false)) w->setHidden(true);
}

void CmainMenuScreen::onEnter() {
    // 1. Records and what other screens left for the menu.
    gGame->achievements.updateFromRecords(gGame->progress, gGame->playerShips);
    gGame->world.session.checkChristmasTrack();
    gGame->hubVisited = 1;
    if (CshipMissionPanel* panel = screens::get<CshipMissionPanel>()) panel->disable();
    // A browser opened later from here is opened afresh, never as a party's or a game type's.
    if (CmusicBrowserScreen* browser = screens::get<CmusicBrowserScreen>()) browser->clearOrigin();
    if (CmusicRadioBrowserScreen* radio = screens::get<CmusicRadioBrowserScreen>()) radio->clearOrigin();
    // Perks switched off for a mission's or a challenge's game are the player's again.
    gGame->world.perks.restoreEnabledStates();
    // Back here no challenge is chosen: a game started from the menu is the
    // player's own until a challenge's tile is chosen again.
    gGame->online.dailyChallenge.deselect();
    gGame->online.lightningChallenge.deselect();
    // 2. Once a run.
    reportOnce();
    // 3.
    if (visualiser_) toggleVisualiser();
    gGame->online.inbox.tidy();
    // 4.
    submitXp();
    // 5.
    gGame->online.challengeList.activateChallenge(0);
    gEngine->renderer.setClearColour(Ccolour(0.02f, 0.04f, 0.12f, 1.0f));
    // 6. (the opening ran before this)
    gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
    for (Cwidget* b : buttons_) {
        if (!b) continue;
        if (Cgadget* g = b->findGadget("Count")) g->hidden = true;
        if (Cgadget* g = b->findGadget("CountBG")) g->hidden = true;
    }
    // 7.
    if (musicBarFirstVisit_) {
        musicBarFirstVisit_ = false;
        if (CmusicBarScreen* bar = screens::get<CmusicBarScreen>()) bar->setTrack(gGame->music.currentTrack);
    }
    // 8. The e-mail offer.
    if (emailFirstVisit_) {
        emailFirstVisit_ = false;
        const CplayerStatsRecord& local = gGame->statsCache.local;
        emailPromptPending_ = gGame->saveLoad.settings.askEmail && local.sessions >= 2 && !local.emailSet;
    }
    // A special ship won is announced at once (11): the offer and the help
    // boxes wait for the player's return, not drawn over the announcement.
    const bool leavingAtOnce = specialShipPending();
    if (emailPromptPending_ && !leavingAtOnce && !gUi->tutorials.isShowingOrQueued()) showEmailOffer();
    // 9. Tutorials.
    if (!emailPromptShowing_ && !leavingAtOnce) {
        for (const char* t : {"Tut_Intro1", "Tut_Intro2", "Tut_Intro3", "Tut_Intro4"}) gUi->tutorials.show(t);
        gUi->tutorials.show("TUt_ManageMusic", button("MusicBrowser"));
        gUi->tutorials.show("TUt_ShipEditIntro", button("ShipHangar"));
        const Ctutorials::Crecord* perkUnlock = gUi->tutorials.find("Tut_PerkUnlock1");
        if (perkUnlock && perkUnlock->seen) gUi->tutorials.show("Tut_PerkMainMenu1", button("Perks"));
    }
    // 10.
    updateStatsPanel();
    // 11. A special ship won in the last game is announced first.
    if (leavingAtOnce) {
        gGame->setGameMode(GM_UNLOCK_TB_SHIP, true);
        return;
    }
    hideOnlineWidgets();
    // The keys start where the player left the menu.
    if (!screen_->focusWidget(screen_->findWidget(focusName_, false))) screen_->focusWidget(button("Play"));
    const Ctutorials::Crecord* tenYears = gUi->tutorials.find("Tut_10Years1");
    if (tenYears && !tenYears->seen) {
        if (CsongPackInfo* t = gGame->songLibrary.findByPath(kBuiltInTenYears)) gGame->music.playTrack(t);
        if (!emailPromptShowing_) gUi->tutorials.show("Tut_10Years1");
    }
}

void CmainMenuScreen::showEmailOffer() {
    emailPromptPending_ = false;
    CconfirmScreen* confirm = screens::get<CconfirmScreen>();
    if (!confirm) return;
    CconfirmScreen& c = *confirm;
    c.reset();
    c.setTitle(gEngine->text("SetupEmailNotes1"));
    c.setMessage(gEngine->text("SetupEmailNotes2"));
    c.setMessage2(gEngine->text("SetupEmailNotes3"));
    c.allowBack = true;
    c.addMenuItem(gEngine->text("Yes"), EMAIL_YES);
    c.addMenuItem(gEngine->text("NotNow"), EMAIL_NOT_NOW);
    c.addMenuItem(gEngine->text("DontAskAgain"), EMAIL_DONT_ASK);
    c.safeValue = EMAIL_NOT_NOW;
    c.enter();
    emailPromptShowing_ = true;
}

void CmainMenuScreen::handleEmailAnswer() {
    CconfirmScreen* confirm = screens::get<CconfirmScreen>();
    if (!confirm) return;
    CconfirmScreen& c = *confirm;
    if (!emailPromptShowing_ || (c.showing() && !c.chosen)) return;
    emailPromptShowing_ = false;
    // Backing out is "Not now", never "Yes".
    const int answer = c.backedOut ? EMAIL_NOT_NOW : (int)c.value;
    c.reset();
    Csettings& s = gGame->saveLoad.settings;
    if (answer == EMAIL_YES) {
        s.askEmail = false;
        if (gGame->saveSettings) gGame->saveSettings();
        screens::get<CoptionsNotificationsScreen>()->open(GM_MAIN_MENU, false);
    } else if (answer == EMAIL_DONT_ASK) {
        s.askEmail = false;
        if (gGame->saveSettings) gGame->saveSettings();
    }
}

// ---- update ----

void CmainMenuScreen::checkNotices() {
    CnoticeQueue& q = gGame->saveLoad.settings.notices;
    if (const CnoticeQueue::Cnotice* n = q.findInviteDeclined()) {
        const uint64_t id = n->id;
        q.removeInviteDeclined(id);
        CchallengeList& list = gGame->online.challengeList;
        if (CasyncChallenge* c = list.findCachedChallenge((int64_t)id)) {
            const std::string message = "'" + c->opponentName + "' " + gEngine->text("InviteDecline2");
            gGame->warningOverlay.show(gEngine->text("InviteDecline"), message);
            list.deleteChallenge((int64_t)id);
        }
    }
    if (const CnoticeQueue::Cnotice* n = q.findUnresponsive()) {
        q.removeUnresponsive(n->id);
        gGame->warningOverlay.show(gEngine->text("UnresponsiveTitle"), gEngine->text("UnresponsiveMsg"));
    }
}

void CmainMenuScreen::quickPlay() {
    CmusicPlayer& music = gGame->music;
    CsongPackInfo* track = music.currentTrack;
    if (!track || !track->isTrack()) {
        // Nothing plays: a library track, or the music choice when the library is empty.
        track = gGame->songLibrary.getRandomTrack();
        if (!track) {
            gGame->setGameMode(GM_MUSIC_TYPE_LIST);
            return;
        }
        music.playTrack(track);
    }
    CgameSession& s = gGame->world.session;
    const Csettings& settings = gGame->saveLoad.settings;
    s.gameType = GAMETYPE_STANDARD;
    s.difficulty = settings.defDifficulty;
    s.difficultyFactor = settings.difficultyFactor;
    s.musicSource = MUSIC_NOW_PLAYING;
    s.track.title = track->tags.title;
    s.track.artist = track->tags.artist;
    s.track.album = track->tags.album;
    s.track.genre = track->tags.genre;
    s.track.key = track->getKey();
    s.track.length = track->tags.length;
    s.track.entryType = track->kind == SONG_RADIO      ? CtrackInfo::ENTRY_RADIO
                        : track->kind == SONG_OPEN_MIC ? CtrackInfo::ENTRY_OPEN_MIC
                        : track->kind == SONG_BUILT_IN ? CtrackInfo::ENTRY_BUILT_IN
                                                       : CtrackInfo::ENTRY_FILE;
    if (gEngine->audio.openMicRunning) s.restartMusic();
    else s.startMusic = 0;
    if (track->kind == SONG_RADIO) s.endTime = 300.0;
    gGame->setGameMode(GM_321_GO);
}

void CmainMenuScreen::startChallenge(bool lightning) {
    CchallengeMgr& chosen = lightning ? gGame->online.lightningChallenge : gGame->online.dailyChallenge;
    CchallengeMgr& other = lightning ? gGame->online.dailyChallenge : gGame->online.lightningChallenge;
    if (chosen.state != CHALL_READY) {
        // Say why nothing opens: still asking, or nothing to be had.
        const bool asking = chosen.state == CHALL_IDLE || chosen.state == CHALL_REFRESH;
        gGame->warningOverlay.show(gEngine->text(lightning ? "LightningChallenge" : "DailyChallenge"),
                                   gEngine->text(asking ? "ChallengeOnItsWay" : "NoChallengeNow"));
        return;
    }
    other.deselect();
    chosen.select();
    if (CplayerShipDef* ship = gGame->playerShips.currentShip()) gGame->world.session.playerShips[0] = ship->name();
    if (CdailyChallengeScreen* screen = screens::get<CdailyChallengeScreen>()) screen->open(gGame->playerShips.currentIdx);
    else gGame->setGameMode(GM_DAILY_CHALLENGE_L);
}

bool CmainMenuScreen::pressButton(Cwidget* w, const char* name) {
    if (!w || w->hidden || !screen_->wasPressed(w)) return false;
    const std::string n = name;
    if (gEngine->webServiceOff && needsService(n)) {
        // The service went away while the menu showed: say so, and take
        // the tiles that need it away.
        gUi->popups.showMessage(gEngine->text("ServiceOffline"));
        hideOnlineWidgets();
        return true;
    }
    gGame->playTransitionEffect(w);
    if (n == "QuickPlay") quickPlay();
    else if (n == "DailyChallenge") startChallenge(false);
    else if (n == "LightningChallenge") startChallenge(true);
    else if (n == "Visualiser") toggleVisualiser();
    else if (n == "ShipDetails") {
        if (ChangarScreen* hangar = screens::get<ChangarScreen>()) hangar->open(GM_MAIN_MENU);
    } else if (n == "DailyTracks") {
        if (CdailyTracksScreen* tracks = screens::get<CdailyTracksScreen>()) tracks->open(GM_MAIN_MENU);
    }
    else if (n == "Twitter") screens::get<CoptionsTwitterScreen>()->open(GM_MAIN_MENU, false);
    else if (n == "Options") screens::get<CoptionsScreen>()->open(GM_MAIN_MENU, false);
    else if (n == "FriendCompare") screens::get<CfriendCompareScreen>()->open(GM_MAIN_MENU, false);
    else if (n == "Leaderboard")
        screens::get<CleaderboardScreen>()->open(GM_MAIN_MENU, nullptr, gGame->standardShipFlag != 0);
    else if (n == "Exit") {
        if (CoverlaySlot* o = gGame->overlay(OVERLAY_EXIT)) o->show();
    } else if (n == "Instructions") {
        if (ISteamFriends* f = SteamFriends()) f->ActivateGameOverlayToWebPage(kInstructionsPage);
    } else {
        for (const Croute& r : kRoutes)
            if (n == r.name && r.state >= 0) gGame->setGameMode(r.state);
    }
    return true;
}

bool CmainMenuScreen::leaveVisualiserRequested() {
    Cinput& input = gEngine->input;
    if (input.inputMode == DEVICE_CONTROLLER) {
        const int a = gUi->action();
        return a == ACTION_SELECT || a == ACTION_BACK;
    }
    const float dx = gEngine->mouseX - visMouseX_, dy = gEngine->mouseY - visMouseY_;
    return std::sqrt(dx * dx + dy * dy) > kVisualiserMoveLimit;
}

void CmainMenuScreen::placeShowcaseShip() {
    if (!ship_ || !shipSpot_) return;
    fitShipToSpot(*ship_, shipSpot_->x, shipSpot_->y, shipSpot_->height * shipSpot_->uiScale);
    ship_->angle = 0.0f;
    ship_->vel = Cvec2();
}

void CmainMenuScreen::update() {
    if (!screen_) return;
    // 1.
    handleEmailAnswer();
    // 2.
    noticeDelay_ -= (float)gEngine->frameTime;
    if (noticeDelay_ < 0) {
        noticesArmed_ = true;
        checkNotices();
    }
    // 3.
    // The menu keeps answering while a poll is out: what it brings only goes
    // to the inbox, seen when the player next looks.
    CmessagePoller& poller = gGame->online.messages;
    if (!poller.retrieving) {
        poller.retrieveMessages(false);
    } else if (poller.done) {
        poller.retrieving = false;
        poller.done = false;
        poller.messageIndex = 0;
    }
    screen_->update();
    if (const Cwidget* focused = screen_->highlightedWidget()) focusName_ = focused->name;
    if (screen_->leaving) return;

    // A challenge that is not ready looks unavailable (a press says why).
    if (Cwidget* daily = button("DailyChallenge")) daily->unavailable = gGame->online.dailyChallenge.state != CHALL_READY;
    if (Cwidget* lightning = button("LightningChallenge"))
        lightning->unavailable = gGame->online.lightningChallenge.state != CHALL_READY;
    bool pressed = false;
    if (!visualiser_) {
        for (size_t i = 0; i < buttons_.size() && !pressed; ++i) pressed = pressButton(buttons_[i], kRoutes[i].name);
    }
    // 4.
    if (!pressed) {
        if (visualiser_) {
            if (leaveVisualiserRequested()) toggleVisualiser();
        } else {
            gGame->world.ships.update((float)gEngine->frameTime);
        }
    }
    // 5.
    placeShowcaseShip();
    if (CplayerShipDef* ship = gGame->playerShips.currentShip(); ship && ship->changed) {
        ship->changed = false;
        fillGlobalShipStats(*ship, globalDiscoveries_, globalTracksCleared_, globalTimePlayed_);
        hideOnlineWidgets();
    }
    // 6. One reward at a time, and not while the player is already leaving.
    if (!pressed && gGame->pendingMode() < 0 && !gGame->transitionRunning() &&
        !gGame->online.dailyChallenge.showPendingShipUnlock())
        gGame->online.lightningChallenge.showPendingShipUnlock();
}

// ---- panel and ship ----

void CmainMenuScreen::updateStatsPanel() {
    if (!screen_) return;
    CplayerShipDef* ship = gGame->playerShips.currentShip();
    if (!ship) ship = gGame->playerShips.findShip("Standard");
    if (!ship) return;
    // The name the hangar and the gallery show, not the identifier.
    shipName_->setText("", shipTitle(*ship));
    const bool procedural = ship->source == SHIP_PROCEDURAL && ship->data.manufacturer <= 8;
    manu_->setHidden(!procedural);
    if (procedural) {
        static const char* const kMakers[9] = {"brute",   "mosquito",   "crazythief", "scorched", "general",
                                               "blazer",  "warbringer", "standard",   "workshop"};
        manu_->setSprite("", CbString::format("ui_man_%s_noText.png", kMakers[ship->data.manufacturer]).str());
    }
    shipScore_->setText("", statsXpText(ship->xp));
    rank_->setText("", statsRankText(ship->xp));
    timePlayed_->setText("", statsTimeText(ship->timePlayed));
    tracksCompleted_->setText("", statsTracksText(ship->tracksCompleted));
    const int missions = std::min(ship->numMissions(), 4);
    for (int i = 0; i < 4; ++i) {
        Cwidget* star = stars_[i];
        star->setHidden(i >= missions);
        if (i >= missions) continue;
        if (Cgadget* g = star->findSpriteGadget())
            g->colour = ship->missionComplete[i] ? gGame->namedColours.yellow : gGame->namedColours.darkGrey;
        star->startEffect(EFFECT_POP_IN, 0, nullptr, 0.1f * (float)i, 0.3f);
    }
    wipIcon_->setHidden(ship->finished);
    spawnShowcaseShip();
    fillGlobalShipStats(*ship, globalDiscoveries_, globalTracksCleared_, globalTimePlayed_);
    hideOnlineWidgets();
}

void CmainMenuScreen::spawnShowcaseShip() {
    CshipMgr& ships = gGame->world.ships;
    if (ship_) {
        ships.removeShip(ship_);
        ship_ = nullptr;
    }
    ships.clear();
    CplayerShipDef* current = gGame->playerShips.currentShip();
    CshipDef* def = current ? ships.syncPlayerShip(*current) : nullptr;
    if (!def) {
        // A current ship without a flyable definition shows the standard ship instead.
        gEngine->log.print(LOG_L, "Main menu: no definition for the current ship - showing the standard ship");
        CplayerShipDef* standard = gGame->playerShips.findShip("Standard");
        def = standard ? ships.syncPlayerShip(*standard) : nullptr;
    }
    if (!def) return;
    ship_ = ships.addShip(def, false);
    if (!ship_) return;
    ship_->display = true;
    ship_->pos = Cvec3(-10000.0f, 0.0f, CshipMgr::kDisplayDepth);
    ship_->scale = 1.0f;
    ship_->size *= 1.4f;
    placeShowcaseShip();
}

// ---- visualiser ----

void CmainMenuScreen::toggleVisualiser() {
    visualiser_ = !visualiser_;
    gGame->interfaceHidden = visualiser_ ? 1 : 0;
    if (visualiser_) {
        for (auto& w : screen_->widgets) {
            if (w->hidden) continue;
            w->startEffect(EFFECT_GROW_IN, 1, nullptr, 0, 0.2f);
        }
        gUi->buttonBar.clear();
        visMouseX_ = gEngine->mouseX;
        visMouseY_ = gEngine->mouseY;
        return;
    }
    float delay = 0;
    for (auto& w : screen_->widgets) {
        if (w->hidden || w.get() == visLogo_) continue;
        w->startEffect(EFFECT_GROW_IN, 0, nullptr, delay, 0.2f);
        delay += 0.1f / (float)std::max<size_t>(1, screen_->widgets.size() / 8);
    }
    updateStatsPanel();
    gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
}

// ---- render and leave ----

void CmainMenuScreen::render() {
    if (!screen_ || visualiser_) return;
    ClayoutScreen::render();
    const char* fmt = gEngine->analyticsOff ? "* %s - %s - %s" : "%s - %s - %s";
    const std::string line =
        CbString::format(fmt, gEngine->versionText.c_str(), gEngine->platformText.c_str(), gEngine->buildText.c_str()).str();
    uiDraw::text("FontSmall", line, 35.0f, (float)gEngine->screenHeight - 15.0f, gUi->scale(),
                 Ccolour(0.8f, 0.85f, 0.95f, 1.0f), ALIGN_LEFT, nullptr);
    Crenderer& r = gEngine->renderer;
    if (!ship_ || !r.isReady()) return;
    gGame->world.fitCamera();
    r.setCamera(&gGame->world.camera);
    gGame->world.ships.drawShips(true);
    r.setCamera(nullptr);
}
