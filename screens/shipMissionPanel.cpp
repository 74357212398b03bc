#include "screens/shipMissionPanel.h"

#include <algorithm>

#include "engine/engine.h"
#include "engine/ui/uiMgr.h"
#include "game/game.h"
#include "screens/HUD.h"
#include "screens/confirm.h"
#include "screens/listRows.h"
#include "screens/screenRegistry.h"

namespace {
constexpr float kSlideTime = 0.7f;
constexpr float kShownInPlay = 5.0f;
constexpr float kRightGap = 160.0f;    // the card's centre from the right edge, layout pixels
constexpr float kBottomGap = 140.0f;   // and from the bottom edge
constexpr float kAboveBar = 8.0f;      // between the card and the button bar's buttons
}  // namespace

bool CshipMissionPanel::load() {
    card_ = gUi->createWidget("ShipMissionSmall");
    if (!card_) return false;
    place();
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

// In the bottom right corner; on a screen with a button bar (the game
// settings before a mission's game), above the bar's buttons; in play,
// inside the arena's frame and above the HUD's track bar.
void CshipMissionPanel::place() {
    const float s = gUi->scale();
    card_->uiScale = s;
    const CHUD* hud = screens::get<CHUD>();
    const bool inPlay = hud && (gGame->mode() == GM_PLAYING || gGame->mode() == GM_321_GO);
    const Crect area = inPlay ? gGame->world.arenaScreenRect()
                              : Crect{0, 0, (float)gEngine->screenWidth, (float)gEngine->screenHeight};
    card_->x = area.right() - kRightGap * s;
    float bottom = area.bottom() - (kBottomGap - card_->height * 0.5f) * s;
    if (inPlay && hud->trackBarRect().h > 0) bottom = std::min(bottom, hud->trackBarRect().y - kAboveBar * s);
    for (const CbuttonBar::Cbutton& b : gUi->buttonBar.buttons())
        if (!b.hidden && b.rect.right() > card_->x - card_->width * 0.5f * s)
            bottom = std::min(bottom, b.rect.y - kAboveBar * s);
    card_->y = bottom - card_->height * 0.5f * s;
}

void CshipMissionPanel::update() {
    if (!card_) return;
    place();
    if (!shown_ && !card_->effectRunning()) card_->setHidden(true);
    if (shown_ && enabled_ && gGame->mode() == GM_PLAYING && gGame->world.session.clock > kShownInPlay) setShown(false);
}

// Drawn over everything but a question the player must answer: the card
// stood over the confirm box's corner (Quit track from the pause).
bool CshipMissionPanel::inSight() const {
    if (!card_ || !card_->visible()) return false;
    const CconfirmScreen* confirm = screens::get<CconfirmScreen>();
    return !(confirm && confirm->showing());
}

void CshipMissionPanel::render() {
    if (inSight()) card_->render();
}
