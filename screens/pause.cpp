#include "screens/pause.h"

#include <SDL.h>

#include "engine/engine.h"
#include "engine/ui/screen.h"
#include "engine/ui/uiMgr.h"
#include "game/game.h"
#include "screens/confirm.h"
#include "screens/exit.h"
#include "screens/listRows.h"
#include "screens/musicBar.h"
#include "screens/screenRegistry.h"
#include "screens/shipMissionPanel.h"

const CwidgetBinding CpauseScreen::kBindings[] = {{&CpauseScreen::resume_, "Resume"},
                                                  {&CpauseScreen::restart_, "RestartTrack"},
                                                  {&CpauseScreen::quit_, "QuitTrack"}};

CpauseScreen::CpauseScreen() : ClayoutOverlay("pause.txt", kBindings) {}

// A radio station or open mic plays on: they can't be held.
bool CpauseScreen::musicStops() const {
    const CsongPackInfo* track = gGame->music.currentTrack;
    return !(track && track->kind == SONG_RADIO) && !gGame->music.openMicRunning();
}

void CpauseScreen::resumeMusic() {
    if (musicStops()) gGame->music.resume();
    gEngine->setPaused(false);
}

// While paused the mission card slides back in as a reminder of the goal.
void CpauseScreen::showMissionCard(bool shown) {
    if (CshipMissionPanel* panel = screens::get<CshipMissionPanel>())
        if (panel->enabled()) panel->setShown(shown);
}

// On touch input the on-screen sticks leave the screen while paused, so that
// a tap on a pause button cannot also steer.
void CpauseScreen::parkSticks(bool park) {
    if (gUi->input().device != DEVICE_TOUCH) return;
    CvirtualSticks& sticks = gEngine->input.sticks;
    if (park) sticks.park((float)gEngine->screenWidth, &gEngine->input.joysticks);
    else sticks.setEnabled(true, &gEngine->input.joysticks);
}

void CpauseScreen::show() {
    if (paused_ || !screen_) return;
    // The Escape that paused must not also resume.
    gEngine->lastKey = -1;
    gEngine->input.mouse.clearPressed();
    paused_ = true;
    quitChosen_ = false;
    asking_ = false;
    if (musicStops()) gGame->music.pause();
    gEngine->setPaused(true);
    gEngine->log.print(LOG_DB, "Paused = %d", 1);
    parkSticks(true);
    showMissionCard(true);
    gUi->buttonBar.push();
    screen_->enterOpening();
    screen_->focusWidget(resume_);
    // The pointer is free for the buttons; play gets the mouse back as it had it.
    capturedInPlay_ = gEngine->input.mouse.captured();
    gEngine->input.mouse.setCaptured(false);
    setMusicBarPaused(true);
}

void CpauseScreen::setMusicBarPaused(bool paused) {
    if (CmusicBarScreen* bar = screens::get<CmusicBarScreen>()) bar->setPausedLook(paused);
}

void CpauseScreen::ask(const char* message, bool quit) {
    CconfirmScreen* confirm = screens::get<CconfirmScreen>();
    if (!confirm) return;
    confirm->reset();
    confirm->setMessage(gEngine->text(message));
    confirm->setMessage2(gEngine->text("AreYouSure"));
    confirm->addMenuItem(gEngine->text("YES"), 1);
    confirm->addMenuItem(gEngine->text("NO"), 0);
    confirm->enter();
    quitChosen_ = quit;
    asking_ = true;
}

// Leaving play for another state: the pause goes with it, so that nothing
// holds the next screen or the next play.
void CpauseScreen::leaveTo(int mode) {
    gUi->buttonBar.pop();
    paused_ = false;
    gEngine->input.mouse.setCaptured(false);
    // A track being identified is left: no late answer renames the next one.
    gEngine->acrCloud.forgetPending();
    setMusicBarPaused(false);
    resumeMusic();
    showMissionCard(false);
    gGame->setGameMode(mode, true);
}

void CpauseScreen::answer() {
    CconfirmScreen* confirm = screens::get<CconfirmScreen>();
    asking_ = false;
    bool yes = confirm && confirm->chosen && confirm->value == 1.0f;
    if (confirm) confirm->reset();
    if (!yes) return;
    CgameSession& session = gGame->world.session;
    if (quitChosen_) {
        gEngine->log.print(LOG_L, "Quit track");
        leaveTo(GM_MAIN_MENU);
        nameOpenMicTrack();
    } else {
        gEngine->log.print(LOG_L, "Restart track");
        bool listen = gGame->music.openMicRunning() && session.startMusic;
        leaveTo(GM_321_GO);
        if (listen) {
            session.startMusic = 1;
            session.restartMusic();
        }
    }
}

void CpauseScreen::update() {
    if (!paused_ || !screen_) return;
    if (asking_) {
        // The confirm overlay is stepped on its own while it shows.
        CconfirmScreen* confirm = screens::get<CconfirmScreen>();
        if (!confirm || !confirm->showing()) answer();
        return;
    }
    screen_->update();
    if (screen_->leaving || screen_->left) {
        if (screen_->left || screen_->transitionDone()) {
            paused_ = false;
            gUi->buttonBar.pop();
            gEngine->log.print(LOG_DB, "Paused = %d", 0);
        }
        return;
    }
    if (screen_->wasPressed(resume_) || gEngine->lastKey == SDL_SCANCODE_ESCAPE) {
        gEngine->lastKey = -1;
        gGame->playTransitionEffect(resume_);
        resumeMusic();
        leaveLayout();
        gEngine->input.mouse.setCaptured(capturedInPlay_);
        setMusicBarPaused(false);
        showMissionCard(false);
        parkSticks(false);
    } else if (screen_->wasPressed(quit_)) {
        gGame->playTransitionEffect(quit_);
        ask("QuitTrack", true);
    } else if (screen_->wasPressed(restart_)) {
        gGame->playTransitionEffect(restart_);
        ask("RestartTrack", false);
    }
}

void CpauseScreen::render() {
    if (paused_) renderOver(0.4f);
}
