#include "screens/findPlayer.h"

#include <cstdlib>

#include "engine/engine.h"
#include "game/game.h"
#include "online/serviceCall.h"
#include "screens/exit.h"

const CwidgetBinding CfindPlayerScreen::kBindings[] = {
    {&CfindPlayerScreen::box_, "EnterNameTextBox"},
    {&CfindPlayerScreen::title_, "playerFoundTitle"},
    {&CfindPlayerScreen::name_, "playerFoundName"},
    {&CfindPlayerScreen::ok_, "OK"},
};

CfindPlayerScreen::CfindPlayerScreen() : ClayoutScreen("findPlayer.txt", kBindings) {}

Cwidget* CfindPlayerScreen::widget(const char* name) const {
    return screen_ ? screen_->findWidget(name, false) : nullptr;
}

uint64_t CfindPlayerScreen::parseId(const std::string& text) { return (uint64_t)strtoll(text.c_str(), nullptr, 10); }

void CfindPlayerScreen::open(int returnState, bool transition) {
    returnState_ = returnState;
    gGame->setGameMode(GM_FIND_PLAYER, transition);
}

void CfindPlayerScreen::onEnter() {
    gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);
    text_.clear();
    id_ = 0;
    found_ = false;
    typing_ = false;
    record_.assign(CplayerStatsRecord::kRecordSize, 0);
    box_->setText("TextName", "");
    ok_->setHidden(true);
    title_->setHidden(true);
    name_->setHidden(true);
    // A look-up left running by an earlier visit belongs to nobody now; its
    // thread ends on its own.
    if (asked_) gGame->online.soap.findCall.drop();
    asked_ = false;
    // The ID box has the focus: typing goes into it at once (Escape lets go of it).
    beginTyping();
}

void CfindPlayerScreen::beginTyping() {
    CtextEntry& entry = gUi->textEntry;
    ok_->setHidden(true);
    title_->setHidden(true);
    name_->setHidden(true);
    found_ = false;
    Crect r = box_->rect();
    entry.placeBox(box_->x, box_->y, r.w);
    entry.fontColour = Ccolour(1, 1, 1, 1);
    entry.shadow = gUi->findShadowStyle("SimpleOutline", false);
    entry.mask = false;
    entry.begin(kMaxIdChars, text_);
    box_->setText("TextName", "");
    typing_ = true;
}

void CfindPlayerScreen::entryFinished() {
    CtextEntry& entry = gUi->textEntry;
    const bool cancelled = entry.cancelled;
    if (!cancelled) text_ = entry.text.str();
    entry.finished = false;
    entry.cancelled = false;
    entry.end();
    typing_ = false;
    id_ = parseId(text_);
    box_->setText("TextName", text_);
    screen_->resetHighlights();
    // Escape lets go of the box: nothing is looked up.
    if (cancelled) return;
    k4wSOAP& soap = gGame->online.soap;
    if (id_ != 0 && id_ == soap.playerId()) {
        title_->setTextKey("CantPlaySelf");
        title_->setHidden(false);
        return;
    }
    record_.assign(CplayerStatsRecord::kRecordSize, 0);
    if (soap.startFindPlayer(id_)) {
        asked_ = true;
        gUi->loadingIndicator.show(gEngine->language().text("Working"));
    } else {
        // Nobody was asked: that is no answer about the player.
        title_->setTextKey(k4wSOAP::serviceOff() ? "ServiceOffline" : "ServiceUnreachable");
        title_->setHidden(false);
    }
}

void CfindPlayerScreen::stepLookUp() {
    k4wSOAP& soap = gGame->online.soap;
    const EcallState state = soap.pollFindPlayer();
    if (state == CALL_PENDING) {
        if (gUi->action() != ACTION_BACK) return;
        // Back never waits for the service: the answer is not wanted now.
        soap.findCall.drop();
        asked_ = false;
        gUi->loadingIndicator.hide();
        gEngine->log.print(LOG_L, "Find player: left before the answer");
        gGame->setGameMode(returnState_, true);
        return;
    }
    asked_ = false;
    gUi->loadingIndicator.hide();
    title_->setHidden(false);
    if (state != CALL_DONE) {
        // The service was not heard: say so, never "no such player".
        const EcallFailure why = soap.findCall.failure();
        title_->setTextKey(callFailureTag(why));
        name_->setHidden(true);
        gEngine->log.print(LOG_L, "Find player: %llu not looked up: %s (%s)", (unsigned long long)id_,
                           callFailureName(why), soap.findCall.result().text.c_str());
        soap.findCall.drop();
        return;
    }
    const CfoundPlayer& answer = soap.foundPlayer();
    found_ = answer.found && answer.id == id_;
    soap.findCall.drop();
    if (!found_) {
        title_->setTextKey("PlayerNotFound");
        name_->setHidden(true);
        gEngine->log.print(LOG_L, "Find player: %llu not found", (unsigned long long)id_);
        return;
    }
    record_ = answer.record;
    title_->setTextKey("PlayerFound");
    name_->setText("", answer.name);
    name_->setHidden(false);
    ok_->setHidden(false);
    for (Cwidget* w : {ok_, title_, name_}) w->startEffect(EFFECT_FADE_IN, 0, nullptr, 0, 0.2f);
    gEngine->log.print(LOG_L, "Find player: %llu is %s", (unsigned long long)id_, answer.name.c_str());
}

void CfindPlayerScreen::onUpdate() {
    if (asked_) {
        stepLookUp();
        return;
    }
    CtextEntry& entry = gUi->textEntry;
    if (typing_) {
        if (!entry.active && (entry.finished || entry.cancelled)) entryFinished();
        return;
    }
    if (gUi->action() == ACTION_BACK) {
        gGame->setGameMode(returnState_, true);
        return;
    }
    if (screen_->wasPressed(box_) && !entry.active) {
        beginTyping();
        return;
    }
    if (found_ && !ok_->hidden && screen_->wasPressed(ok_)) {
        gGame->playTransitionEffect(ok_);
        CfriendList& friends = gGame->online.friends;
        const CfriendEntry* known = friends.findById(id_);
        if (!known || known->type == 1) {
            std::string name = gGame->online.soap.foundPlayer().name;
            friends.addOrUpdate(0, id_, name);
            // The service keeps statistics under the player's Steam id, which
            // their record carries: the friend keeps it to ask by later.
            CplayerStatsRecord stats;
            if (stats.read(record_.data(), record_.size()) && stats.steamId != 0) {
                if (stats.name.empty()) stats.name = name;
                friends.setStatsId(id_, stats.steamId);
                gGame->statsCache.addPlayer(stats);
            }
            gGame->saveRequested = 1;   // friends go with the game save
            gEngine->log.print(LOG_L, "Find player: %llu added as a friend", (unsigned long long)id_);
        }
        gGame->setGameMode(returnState_, true);
    }
}

