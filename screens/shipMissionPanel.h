#pragma once
// CshipMissionPanel: the small card of the mission being played, in the
// corner of the screen while a mission game starts. The hangar enables and
// shows it when it starts a mission game (setMission, setShown); it slides
// away by itself five seconds into play, and the main menu takes it away.
#include "engine/ui/widget.h"
#include "game/screenSlot.h"

class CshipMission;

class CshipMissionPanel : public CoverlaySlot {
public:
    // The card, made from "ShipMissionSmall" and hidden.
    bool load() override;
    bool showing() const override;
    void update() override;
    void render() override;

    // Fills the card with the mission and enables the panel.
    void setMission(int index, const CshipMission& mission, bool complete);
    // Slides the card in or out; only while enabled, and only on a change.
    void setShown(bool shown);
    // The main menu: out of sight and disabled.
    void disable();

    bool shown() const { return shown_; }
    // Drawn now: shown, and no confirm box up.
    bool inSight() const;
    bool enabled() const { return enabled_; }
    Cwidget* card() const { return card_.get(); }

private:
    void place();
    CwidgetPtr card_;
    bool shown_ = false;
    bool enabled_ = false;
};
