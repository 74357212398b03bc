#include "screens/321Go.h"

#include <cstdio>

#include "engine/engine.h"
#include "engine/ui/uiMgr.h"
#include "game/game.h"
#include "game/gameTypes.h"
#include "online/scoreRecord.h"
#include "screens/gameSettings.h"
#include "screens/listRows.h"
#include "screens/screenRegistry.h"

namespace {
constexpr int kActionCancel = 2;
constexpr float kThree = 0.8f, kTwo = 0.7f, kOne = 0.6f, kGo = 0.5f;
constexpr float kSeconds = 3.0f;
constexpr int kGoTexts = 6;
}  // namespace

const CwidgetBinding C321GoScreen::kBindings[] = {
    {&C321GoScreen::logo_, "Logo"},           {&C321GoScreen::three_, "3"},
    {&C321GoScreen::two_, "2"},               {&C321GoScreen::one_, "1"},
    {&C321GoScreen::go_, "Go"},               {&C321GoScreen::goComment_, "GoComment"},
    {&C321GoScreen::openMic_, "OpenMic"},     {&C321GoScreen::openMicVolume_, "OpenMicVolume"},
    {&C321GoScreen::acrLogo_, "ACRLogo"},     {&C321GoScreen::acrText_, "ACRText"}};

C321GoScreen::C321GoScreen() : ClayoutScreen("321Go.txt", kBindings) {}

Cwidget* C321GoScreen::widget(int digit) const {
    switch (digit) {
        case 3: return three_;
        case 2: return two_;
        case 1: return one_;
        default: return go_;
    }
}

bool C321GoScreen::onLoaded() {
    three_->setText("", "3");
    two_->setText("", "2");
    one_->setText("", "1");
    return true;
}

void C321GoScreen::onEnter() {
    Cgame& g = *gGame;
    CgameSession& session = g.world.session;
    if (CgameSettingsScreen* settings = screens::get<CgameSettingsScreen>()) settings->clearReturn();
    g.music.pause();
    countdown_ = 1.0f;
    g.music.setOpenMicTrackName();
    for (Cwidget* w : {three_, two_, one_, go_, goComment_}) {
        w->removeEffect();
        w->setHidden(true);
    }
    char tag[8];
    std::snprintf(tag, sizeof tag, "Go%d", gEngine->random.choice(kGoTexts));
    go_->setText("", gEngine->text(tag));
    goComment_->setText("", "");
    requestBoards();

    bool listen = session.startMusic != 0;
    listening_ = listen && g.music.openMicRunning();
    for (Cwidget* w : {openMic_, openMicVolume_, acrLogo_, acrText_}) w->setHidden(!listen);
    if (listen) {
        openMic_->setText("", gEngine->text("OpenMicWaitSilence"));
        openMic_->textColour = g.namedColours.yellow;
        openMicVolume_->textColour = g.namedColours.yellow;
        gUi->buttonBar.addButtonByKey("CANCEL", kActionCancel, 1);
    }
}

void C321GoScreen::requestBoards() {
    Cgame& g = *gGame;
    const CgameSession& session = g.world.session;
    CleaderboardMgr& boards = g.online.leaderboards;
    switch (session.gameType) {
        case GAMETYPE_STANDARD:
            if (!g.music.openMicRunning() && !session.track.key.empty()) {
                boards.requestTrackReplayBoard(session.track.key);
                boards.requestTrackBoard(session.track.key, g.standardShipFlag != 0);
            }
            break;
        case GAMETYPE_BOSSRUSH:
            boards.requestBoardDownload(CleaderboardMgr::kBossRushBoard, g.standardShipFlag != 0);
            break;
        case GAMETYPE_SURVIVAL:
            boards.requestBoardDownload(CleaderboardMgr::kSurvivalBoard, g.standardShipFlag != 0);
            break;
        default:
            break;
    }
}

void C321GoScreen::onUpdate() {
    Cgame& g = *gGame;
    CgameSession& session = g.world.session;
    // Capture that stopped (the open-mic error says why) would leave the
    // countdown waiting for sound that never comes: the player goes back.
    bool unheard = listening_ && !g.music.openMicRunning() && g.pendingMode() < 0 && !g.transitionRunning();
    if (unheard) gEngine->log.print(LOG_L, "Countdown: open mic not running, going back");
    if (gUi->action() == kActionCancel || unheard) {
        // The music paused on entry plays on in the screen the player returns to.
        g.music.resume();
        g.setGameMode(g.getActiveChallenge() ? GM_DAILY_CHALLENGE_L : GM_GAME_SETTINGS, true);
        return;
    }
    // Nothing in the background holds the count: a board that arrives late
    // is used when it arrives (a stalled service would hold play for good).
    if (session.startMusic && stepOpenMic()) return;

    float dt = (float)gEngine->frameTime;
    if (session.startMusic) session.clock += dt;
    countdown_ -= dt / kSeconds;
    if (countdown_ < 0) {
        g.music.resume();
        session.startGame();
        if (session.startMusic) {
            gEngine->acrCloud.startListening();
            g.music.openMicTrack.tags.title = gEngine->text("OpenMicAnalysing");
            updateChallengeHeaders(g.music.currentTrack);
        }
        return;
    }
    if (countdown_ < kThree && three_->hidden) popIn(three_);
    if (countdown_ < kTwo && two_->hidden) popIn(two_);
    if (countdown_ < kOne && one_->hidden) popIn(one_);
    if (countdown_ < kGo && go_->hidden) {
        if (session.startMusic) bringWindowToFront();
        showGo();
    }
}

// True while a listening phase holds the countdown.
bool C321GoScreen::stepOpenMic() {
    Cgame& g = *gGame;
    CgameSession& session = g.world.session;
    float level = g.music.openMicLevel;
    char text[64];
    std::snprintf(text, sizeof text, "%s%.0f", gEngine->text("OpenMicVolume"), level);
    openMicVolume_->setText("", text);
    if (countdown_ >= kOne) return false;
    if (session.waitingForSilence) {
        if (level < kSilenceLevel) {
            session.waitingForSilence = 0;
            session.waitingForTrack = 1;
            openMic_->setText("", gEngine->text("OpenMicStartTrack"));
            openMic_->textColour = g.namedColours.green;
            openMicVolume_->textColour = g.namedColours.green;
        }
        return true;
    }
    if (session.waitingForTrack) {
        if (level >= kTrackLevel) {
            session.waitingForTrack = 0;
            openMic_->setHidden(true);
            openMicVolume_->setHidden(true);
            session.clock = 0;
        }
        return true;
    }
    return false;
}

void C321GoScreen::popIn(Cwidget* w) {
    w->setHidden(false);
    w->startEffect(EFFECT_GROW_IN, 0, nullptr, 0, 0.2f);
}

void C321GoScreen::bringWindowToFront() {
    gEngine->platform.restore();
    gEngine->platform.raise();
    linkOpened_ = false;
}

// The first comment on the track's board stands in for the "Go" line.
void C321GoScreen::showGo() {
    Cgame& g = *gGame;
    const CgameSession& session = g.world.session;
    const Cboard* board = session.track.key.empty()
                              ? nullptr
                              : g.online.leaderboards.findBoard(g.online.leaderboards.trackBoardName(session.track.key));
    if (board && board->downloaded) {
        for (const CboardEntry& entry : board->entries) {
            CperSongScore rec = CperSongScore::read(entry.record);
            if (rec.comment.empty()) continue;
            go_->setText("", rec.comment);
            std::string who = rec.name;
            if (!g.getActiveChallenge()) {
                char days[48];
                std::snprintf(days, sizeof days, " - %lld ", (long long)(g.online.soap.dayNumber() - rec.day));
                who += days;
                who += gEngine->text("DaysAgo");
            }
            goComment_->setText("", who);
            popIn(goComment_);
            break;
        }
    }
    popIn(go_);
}
