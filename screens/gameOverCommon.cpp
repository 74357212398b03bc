#include "screens/gameOverCommon.h"

#include <algorithm>

#include "engine/engine.h"
#include "engine/format.h"
#include "engine/render/particles.h"
#include "engine/ui/screen.h"
#include "engine/ui/uiMgr.h"
#include "game/game.h"
#include "game/gameAward.h"
#include "game/gameTypes.h"
#include "screens/displayShip.h"
#include "screens/optionsNotifications.h"
#include "screens/screenRegistry.h"
#include "screens/shareMoment.h"

namespace {
constexpr float kStripRight = 140.0f;   // the screenshot strip's centre from the right edge
constexpr float kSparkleWidth = 1200.0f;
constexpr float kSparkleChance = 0.0001f;
}  // namespace

CgameOverScreen::CgameOverScreen(std::string layoutName, std::span<const CwidgetBinding> bindings, float returnTimer)
    : ClayoutScreen(std::move(layoutName), bindings), returnTimer_(returnTimer) {}

int64_t CgameOverScreen::score() const { return gGame->world.session.teamScores[0]; }

bool CgameOverScreen::enterCommon() {
    Cgame& g = *gGame;
    // Only a way back from the share screen or the e-mail options is a
    // return; anything else in between starts afresh.
    int from = g.previousMode();
    bool back = (backFromShare_ && from == GM_SHARE_MOMENT) || (backFromEmail_ && from == GM_OPTIONS_NOTIFICATIONS);
    backFromShare_ = backFromEmail_ = false;
    if (gUi->input().device == DEVICE_TOUCH) gEngine->input.sticks.park((float)gEngine->screenWidth, &gEngine->input.joysticks);
    g.world.session.checkChristmasTrack();
    g.world.lights.reset();
    entering_ = false;
    buttonTimer_ = back ? returnTimer_ : 0.0f;
    baseDelay_ = back ? 0.0f : 1.0f;
    if (!back) {
        comment_.clear();
        newBest_ = false;
        place_ = -1;
    }
    return back;
}

void CgameOverScreen::popIn(Cwidget* w, float delay, float duration) {
    w->setHidden(false);
    w->startEffect(EFFECT_POP_IN, 0, nullptr, delay, duration);
}

bool CgameOverScreen::stepButtonTimer() {
    if (buttonTimer_ >= kButtonTime) return false;
    buttonTimer_ = std::min(kButtonTime, buttonTimer_ + (float)gEngine->frameTime);
    return buttonTimer_ >= kButtonTime;
}

void CgameOverScreen::addShareButton() {
    if (gGame->autoShots.shots.size() < 2) return;
    gUi->tutorials.show("Tut_AutoShots");
    gUi->buttonBar.addButtonByKey("ShareMoment", ACTION_LB, ICON_RB);
}

void CgameOverScreen::addCommentButton() { gUi->buttonBar.addButtonByKey("AddComment", ACTION_OPTION_Y, ICON_Y); }

void CgameOverScreen::addEmailButton() { gUi->buttonBar.addButtonByKey("EmailPrompt", ACTION_RB, ICON_LB); }

void CgameOverScreen::addRetryAndOk() {
    gUi->buttonBar.addButtonByKey("RetryTrack", ACTION_OPTION_X, ICON_X);
    gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
}

void CgameOverScreen::startCommentEntry(Cwidget* field) {
    CtextEntry& entry = gUi->textEntry;
    if (entry.active) entry.end();
    Crect r = field->rect();
    entry.placeBox(field->x, field->y, r.w);
    entry.font = "FontSmall";
    entry.shadow = gUi->findShadowStyle("SimpleOutline", false);
    entry.mask = false;
    entry.begin(kMaxComment, comment_);
    entering_ = true;
}

bool CgameOverScreen::stepCommentEntry(Cwidget* field) {
    if (!entering_) return false;
    CtextEntry& entry = gUi->textEntry;
    if (entry.active) return true;
    if (!entry.cancelled) comment_ = entry.text.str();
    field->setText("", comment_);
    entry.finished = entry.cancelled = false;
    entry.end();
    entering_ = false;
    screen_->resetHighlights();
    return true;
}

void CgameOverScreen::retry() {
    Cgame& g = *gGame;
    CgameSession& session = g.world.session;
    if (g.music.openMicRunning() && session.startMusic) session.restartMusic();
    commitGameResults(g);
    g.setGameMode(GM_321_GO, true);
}

void CgameOverScreen::openShare(int returnState, bool withPlace) {
    backFromShare_ = true;
    if (CshareMomentScreen* share = screens::get<CshareMomentScreen>())
        share->open(returnState, withPlace ? place_ : -1, comment_);
    else
        gGame->setGameMode(GM_SHARE_MOMENT, true);
}

void CgameOverScreen::openEmail(int returnState) {
    backFromEmail_ = true;
    if (CoptionsNotificationsScreen* email = screens::get<CoptionsNotificationsScreen>()) email->open(returnState);
    else gGame->setGameMode(GM_OPTIONS_NOTIFICATIONS, true);
}

void CgameOverScreen::showPlace(Cwidget* place, Cwidget* text, Cwidget* number, Cwidget* gameOver, float delay) {
    if (place_ < 0) {
        for (Cwidget* w : {place, text, number}) w->setHidden(true);
        return;
    }
    gameOver->setHidden(true);
    for (Cwidget* w : {place, text, number}) popIn(w, delay);
    number->setText("", ordinalText(place_ + 1));
}

void CgameOverScreen::stepPlaceSparkles(Cwidget* place) {
    if (place_ < 0 || place->hidden) return;
    Crandom& r = gEngine->random;
    float left = gEngine->screenWidth * 0.5f - kSparkleWidth * 0.5f;
    float top = place->rect().y;
    Ccolour gold = gEngine->colours.get("HighScore");
    for (int x = 0; x < (int)kSparkleWidth; ++x)
        if (r.fraction() < kSparkleChance) spawnUiSparkle(Cvec3(left + (float)x, top, 0), gold, 1.0f, true);
    if (r.fraction() < 0.02f) spawnHaloBurst(gold, Cvec3(place->x, top, 0), 1.0f, kUiFrontLayer);
}

void CgameOverScreen::setSmile(Cwidget* smile, const char* sprite) { smile->setSprite("", sprite); }

void CgameOverScreen::render() {
    // The place's halo and sparkles stay under the banner and the place they celebrate.
    drawParticleLayer(kUiFrontLayer);
    ClayoutScreen::render();
    // The strip shrinks with the layout on a narrower screen, clear of the centred block.
    const float s = gUi->scale();
    if (!gGame->autoShots.shots.empty())
        gGame->autoShots.drawThumbnails((float)gEngine->screenWidth - kStripRight * s, s);
}

CgameOverModeScreen::CgameOverModeScreen(std::string layoutName, std::span<const CwidgetBinding> bindings,
                                         float returnTimer, int returnState)
    : CgameOverScreen(std::move(layoutName), bindings, returnTimer), returnState_(returnState) {}

void CgameOverModeScreen::onEnter() {
    Cgame& g = *gGame;
    bool back = enterCommon();
    moments_->setText("", "");
    int64_t sc = score();
    if (!back) {
        // A better score is the new best, kept at once; a return keeps what this game made of it.
        newBest_ = sc > 0 && (uint64_t)sc > best();
        place_ = -1;
        if (newBest_) {
            CleaderboardMgr& boards = g.online.leaderboards;
            const Cboard* bd = boards.board(board());
            place_ = bd && bd->downloaded ? boards.getScorePlaceOnBoard(bd, (uint64_t)sc) : -1;
        }
    }
    score_->setText("", formatThousands64(sc));
    value_->setText("", valueText());
    newHighScore_->setHidden(true);
    float d = baseDelay_;
    popIn(smile_, d);
    popIn(gameOver_, d + 0.1f);
    popIn(valueTitle_, d + 0.2f);
    popIn(value_, d + 0.3f);
    popIn(scoreTitle_, d + 0.4f);
    popIn(score_, d + 0.5f);
    if (newBest_) popIn(newHighScore_, d + 0.6f);
    setSmile(smile_, newBest_ ? "ui_GrinLogo.png" : "ui_AngryLogo.png");
    if (newBest_) {
        popIn(commentTitle_, d + 0.1f);
        popIn(commentField_, d + 0.1f);
    } else {
        commentTitle_->setHidden(true);
        commentField_->setHidden(true);
    }
    commentField_->setText("", comment_);
    showPlace(worldRecord_, worldRecordText_, worldRecordNumber_, gameOver_, d + 0.1f);
    if (!back) commitGameResults(g);
}

void CgameOverModeScreen::onUpdate() {
    Cgame& g = *gGame;
    if (stepCommentEntry(commentField_)) return;
    if (stepButtonTimer()) {
        addShareButton();
        addCommentButton();
        addRetryAndOk();
    }
    stepPlaceSparkles(worldRecord_);
    if (!buttonsShown()) return;
    int action = gUi->action();
    if (action == ACTION_SELECT) {
        // The board's record cuts the comment to its field on a character boundary.
        if (newBest_) amendResultComment(g, modeCommentPrefix(g) + comment_);
        g.setGameMode(GM_RANK_UP, true);
    } else if (action == ACTION_OPTION_X) {
        if (newBest_) amendResultComment(g, modeCommentPrefix(g) + comment_);
        retry();
    } else if (action == ACTION_LB && g.autoShots.shots.size() >= 2) {
        openShare(returnState_);
    } else if (action == ACTION_OPTION_Y || screen_->wasPressed(commentField_)) {
        startCommentEntry(commentField_);
    }
}
