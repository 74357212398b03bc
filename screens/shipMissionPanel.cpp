#include "screens/shipMissionPanel.h"

#include "engine/engine.h"
#include "engine/ui/uiMgr.h"
#include "game/game.h"
#include "screens/listRows.h"

namespace {
constexpr float kSlideTime = 0.7f;
constexpr float kShownInPlay = 5.0f;
}  // namespace

bool CshipMissionPanel::load() {
    card_ = gUi->createWidget("ShipMissionSmall");
    if (!card_) return false;
    const float s = gUi->scale();
    card_->uiScale = s;
    card_->x = gEngine->screenWidth - 160.0f * s;
    card_->y = gEngine->screenHeight - 140.0f * s;
    card_->setHidden(true);
    for (const char* text : {"MissionType", "Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7"})
        if (Cgadget* g = card_->findGadget(text)) g->colour = gGame->namedColours.hudText;
    if (Cgadget* g = card_->findGadget("Divide")) g->colour = gGame->namedColours.hudText;
    return true;
}

bool CshipMissionPanel::showing() const { return card_ && (shown_ || card_->effectRunning()); }

void CshipMissionPanel::setMission(int index, const CshipMission& mission, bool complete) {
    enabled_ = true;
    if (card_) fillTrackList(card_.get(), index, mission, complete);
}

void CshipMissionPanel::setShown(bool shown) {
    if (!enabled_ || !card_ || shown == shown_) return;
    shown_ = shown;
    if (shown) {
        card_->setHidden(false);
        for (const char* part : {"Star", "Note", "NumTracks"})
            if (Cgadget* g = card_->findGadget(part)) g->hidden = true;
        card_->startEffect(EFFECT_SLIDE_IN, 0, nullptr, 0, kSlideTime);
    } else {
        card_->startEffect(EFFECT_SLIDE_IN, 1, nullptr, 0, kSlideTime);
    }
}

void CshipMissionPanel::disable() {
    setShown(false);
    enabled_ = false;
}

void CshipMissionPanel::update() {
    if (!card_) return;
    if (!shown_ && !card_->effectRunning()) card_->setHidden(true);
    if (shown_ && enabled_ && gGame->mode() == GM_PLAYING && gGame->world.session.clock > kShownInPlay) setShown(false);
}

void CshipMissionPanel::render() {
    if (card_ && card_->visible()) card_->render();
}
