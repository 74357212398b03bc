#include "screens/musicBar.h"

#include "engine/engine.h"
#include "engine/ui/screen.h"
#include "engine/ui/uiMgr.h"
#include "game/game.h"
#include "screens/confirm.h"
#include "screens/exit.h"
#include "screens/leaderboard.h"
#include "screens/listRows.h"
#include "screens/screenRegistry.h"
#include "screens/startUp.h"

namespace {
bool inAny(int mode, std::initializer_list<int> modes) {
    for (int m : modes)
        if (m == mode) return true;
    return false;
}
}  // namespace

const CwidgetBinding CmusicBarScreen::kBindings[] = {
    {&CmusicBarScreen::bar_, "MusicBar"},
    {&CmusicBarScreen::heart_, "Heart"},
    {&CmusicBarScreen::trash_, "Trash"},
    {&CmusicBarScreen::next_, "NextTrack"},
    {&CmusicBarScreen::leaderboard_, "Leaderboard"},
    {&CmusicBarScreen::promptHeart_, "PromptHeart"},
    {&CmusicBarScreen::promptTrash_, "PromptTrash"},
    {&CmusicBarScreen::promptNext_, "PromptNextTrack"},
    {&CmusicBarScreen::promptLeaderboard_, "PromptLeaderboard"},
};

CmusicBarScreen::CmusicBarScreen() : ClayoutOverlay("musicBar.txt", kBindings) {}

// The header list outlives the game: it must not keep a widget of this bar.
CmusicBarScreen::~CmusicBarScreen() {
    if (nowPlayingHeaders().musicBar == bar_) nowPlayingHeaders().musicBar = nullptr;
}

bool CmusicBarScreen::load() {
    if (!loadLayout()) return false;
    if (Cgadget* p = bar_->findProgressBar()) p->fillColour = Ccolour(1.0f, 1.0f, 1.0f, 0.3f);
    nowPlayingHeaders().musicBar = bar_;
    for (Cwidget* w : {bar_, heart_, trash_, next_, leaderboard_, promptHeart_, promptTrash_, promptNext_,
                       promptLeaderboard_})
        w->setHidden(true);
    return true;
}

void CmusicBarScreen::showWidgets(bool slide, float duration) {
    for (Cwidget* w : {bar_, heart_, trash_, next_, promptNext_, promptHeart_, promptTrash_}) {
        if (slide) w->startEffect(EFFECT_SLIDE_IN, 0, nullptr, 0, duration);
    }
}

void CmusicBarScreen::activate() {
    if (!screen_) return;
    active_ = true;
    screen_->enterOpening();
    bar_->setHidden(false);
    heart_->setHidden(false);
    trash_->setHidden(false);
    next_->setHidden(false);
    promptNext_->setHidden(false);
    promptHeart_->setHidden(false);
    promptTrash_->setHidden(false);
    showWidgets(true, 0.5f);
    hidden_ = false;
    showTimer_ = kShowSeconds;
    refreshPadGlyphs();
}

void CmusicBarScreen::refreshPadGlyphs() {
    if (!screen_) return;
    Cinput& input = gEngine->input;
    const bool ps4 = input.inputMode == DEVICE_CONTROLLER && input.currentJoystick >= 0 &&
                     std::string(input.joysticks.getName(input.currentJoystick)).find("PS4") != std::string::npos;
    promptNext_->setSprite("", ps4 ? "ui_PS4_Start.png" : "ui_xbox_Start.png");
    promptTrash_->setSprite("", ps4 ? "ui_PS4_Back.png" : "ui_xbox_Back.png");
    // Glyphs are for pads; with keys and mouse the buttons are clicked.
    const bool pad = input.inputMode == DEVICE_CONTROLLER;
    for (Cwidget* w : {promptHeart_, promptTrash_, promptNext_, promptLeaderboard_})
        if (Cgadget* g = w->findSpriteGadget()) g->hidden = !pad;
}

void CmusicBarScreen::setHeartColour(bool favourite) {
    if (Cgadget* g = heart_->findSpriteGadget())
        g->colour = favourite ? gGame->namedColours.listFavourite : gGame->namedColours.listPlain;
}

void CmusicBarScreen::setTrack(const CsongPackInfo* track) {
    if (!screen_) return;
    lastState_ = 0;
    fillTrackProgress(bar_, track, false);
    // Gone from a screen without the bar (the rank-up after a track), a new
    // track does not bring it back half way in and out again.
    if (!(hidden_ && awayHere())) show();
    if (gEngine->audio.openMicRunning) {
        for (Cwidget* w : {heart_, promptHeart_, trash_, promptTrash_}) w->setHidden(true);
    } else {
        heart_->setHidden(false);
        promptHeart_->setHidden(false);
        const bool radio = track && track->kind == SONG_RADIO;
        trash_->setHidden(radio);
        promptTrash_->setHidden(radio);
        setHeartColour(track && track->favourite);
    }
    next_->setHidden(false);
    promptNext_->setHidden(false);
}

void CmusicBarScreen::setPausedLook(bool paused) {
    if (!screen_ || !active_ || paused == pausedLook_) return;
    pausedLook_ = paused;
    if (!paused) {
        setTrack(gGame->music.currentTrack);
        return;
    }
    hidden_ = false;
    // The record may have changed since the bar last showed (a game over kept a new best).
    fillTrackProgress(bar_, gGame->music.currentTrack, false);
    bar_->setHidden(false);
    bar_->startEffect(EFFECT_SLIDE_IN, 0, nullptr, 0, kPausedLookSeconds);
    for (Cwidget* w : {heart_, trash_, next_, leaderboard_, promptHeart_, promptTrash_, promptNext_, promptLeaderboard_})
        w->setHidden(true);
}

void CmusicBarScreen::show() {
    showTimer_ = kShowSeconds;
    if (!hidden_) return;
    hidden_ = false;
    // The track's record may have changed while the bar was away (a game).
    fillTrackProgress(bar_, gGame->music.currentTrack, false);
    showWidgets(true, 0.2f);
}

void CmusicBarScreen::hide() {
    if (showTimer_ > 0 || hidden_) return;
    hidden_ = true;
    for (Cwidget* w : {bar_, heart_, trash_, next_, promptNext_, promptHeart_, promptTrash_})
        w->startEffect(EFFECT_SLIDE_IN, 1, nullptr, 0, 0.5f);
}

bool CmusicBarScreen::leaderboardHidden() const {
    const int mode = gGame->mode();
    if (gEngine->webServiceOff) return true;
    if (mode == GM_PLAYING || (mode >= GM_GAME_OVER && mode <= GM_RANK_UP)) return true;
    if (inAny(mode, {GM_PRESS_START, GM_OPTIONS, GM_OPTIONS_VOLUME, GM_OPTIONS_NOTIFICATIONS, GM_CONFIG, GM_SIGN_IN,
                     GM_LEADERBOARD, GM_FIND_MUSIC, GM_321_GO, GM_OPEN_MIC_SETTINGS, GM_MISSON_UPDATE,
                     GM_SHIP_EDITOR, GM_UNLOCK_PROC_SHIP, GM_DAILY_CHALLENGE_L, GM_SHARE_MOMENT, GM_EXIT}))
        return true;
    if (gUi->textEntry.active) return true;
    const CconfirmScreen* confirm = screens::get<CconfirmScreen>();
    if ((confirm && confirm->showing()) || gGame->warningOverlay.visible) return true;
    const CstartUpScreen* startUp = screens::get<CstartUpScreen>();
    if (!startUp || !startUp->finished) return true;
    return gGame->blocking || gEngine->audio.openMicRunning;
}

void CmusicBarScreen::finishDelete() {
    awaitingDelete_ = false;
    CconfirmScreen* confirmScreen = screens::get<CconfirmScreen>();
    if (!confirmScreen) return;
    CconfirmScreen& confirm = *confirmScreen;
    if (!confirm.backedOut && confirm.value == 1.0f) {
        gGame->playTransitionEffect(trash_);
        // The track the player pressed on, even if another one plays by now.
        // By its file: two copies of a song share a key.
        CsongPackInfo* track = deletePath_.empty() ? nullptr : gGame->songLibrary.findByPath(deletePath_);
        if (track) {
            track->removed = 1;
            gGame->songLibrary.markDirty();
            gEngine->log.print(LOG_L, "Track removed: %s", track->tags.title.c_str());
            if (track == gGame->music.currentTrack || !gGame->music.currentTrack) {
                if (CsongPackInfo* next = gGame->songLibrary.getRandomTrack()) gGame->music.playTrack(next);
            }
        }
    }
    deletePath_.clear();
    confirm.reset();
}

void CmusicBarScreen::update() {
    if (!active_ || !screen_) return;
    if (awaitingDelete_) {
        const CconfirmScreen* confirm = screens::get<CconfirmScreen>();
        if (!confirm || confirm->chosen || !confirm->showing()) {
            finishDelete();
            return;
        }
    }
    // The bar is pointed at, never stepped through with keys: the keys belong
    // to the screen underneath (Return in a form must not press the heart).
    screen_->resetHighlights();
    screen_->update();
    // A new track (chosen anywhere) refreshes the now-playing headers.
    if (gGame->music.currentTrack != shownTrack_) {
        shownTrack_ = gGame->music.currentTrack;
        if (shownTrack_) updateChallengeHeaders(shownTrack_);
    }
    // A language chosen while the bar shows: its texts follow at once.
    if (languageShown_ != gEngine->languageNumber) {
        languageShown_ = gEngine->languageNumber;
        if (shownTrack_) {
            fillTrackProgress(bar_, shownTrack_, false);
            updateChallengeHeaders(shownTrack_);
        }
    }
    setTimeLeftText(bar_);
    const int mode = gGame->mode();
    lastState_ = mode;

    const bool boardHidden = pausedLook_ || leaderboardHidden();
    leaderboard_->setHidden(boardHidden);
    promptLeaderboard_->setHidden(boardHidden);

    if (mode != GM_CONFIG && mode != GM_OPEN_MIC_SETTINGS && !hidden_ && !pausedLook_) {
        CsongPackInfo* current = gGame->music.currentTrack;
        if (screen_->wasPressed(next_)) {
            gGame->playTransitionEffect(next_);
            if (CsongPackInfo* t = gGame->songLibrary.getRandomTrack()) gGame->music.playTrack(t);
        } else if (!boardHidden && screen_->wasPressed(leaderboard_)) {
            gGame->playTransitionEffect(leaderboard_);
            // The playing track's board; Back comes here again.
            if (CleaderboardScreen* board = screens::get<CleaderboardScreen>())
                board->open(mode, current, gGame->online.leaderboards.standardShipFlag != 0);
            return;
        } else if (!heart_->hidden && screen_->wasPressed(heart_) && current) {
            gGame->playTransitionEffect(heart_);
            current->toggleFavourite();
            gEngine->log.print(LOG_L, "Music bar: favourite %s", current->favourite ? "on" : "off");
            setHeartColour(current->favourite != 0);
        } else if (!trash_->hidden && screen_->wasPressed(trash_) && current && current->isTrack()) {
            CconfirmScreen* confirmScreen = screens::get<CconfirmScreen>();
            if (!confirmScreen) return;
            deletePath_ = current->path;
            CconfirmScreen& confirm = *confirmScreen;
            confirm.reset();
            confirm.setTitle(gEngine->text("DeleteTrack"));
            confirm.setMessage(gEngine->text("AreYouSure"));
            confirm.allowBack = true;
            confirm.addMenuItem(gEngine->text("Yes"), 1);
            confirm.addMenuItem(gEngine->text("No"), 0);
            confirm.enter();
            awaitingDelete_ = true;
            // Nothing of the bar's stays pressable under the question.
            leaderboard_->setHidden(true);
            promptLeaderboard_->setHidden(true);
            return;
        }
    }

    showTimer_ -= (float)gEngine->frameTime;
    if (mode == GM_PLAYING || mode == GM_321_GO) showTimer_ = 0;
    if (pausedLook_) return;
    if (awayHere()) hide();
    else show();
}

bool CmusicBarScreen::awayHere() const {
    return gGame->interfaceHidden ||
           inAny(gGame->mode(), {GM_CONFIG, GM_PLAYING, GM_GAME_OVER, GM_GAME_OVER_BOSS_RUSH, GM_GAME_OVER_SURVIVAL,
                                 GM_GAME_OVER_PARTY, GM_RANK_UP, GM_321_GO, GM_MISSON_UPDATE, GM_UNLOCK_PROC_SHIP,
                                 GM_SHARE_MOMENT});
}

void CmusicBarScreen::render() {
    if (screen_) screen_->render();
}
