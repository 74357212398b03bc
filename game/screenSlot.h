#pragma once
#include <memory>

// CscreenSlot: what Cgame asks of the screen of a game state. The screens
// live in screens/: the screen registry (screens/screenRegistry.cpp) makes
// them and binds each to its state; Cgame knows only the slots.
//
//   load    once, while loading (Cgame::loadScreens or loadBaseResources)
//   enter   each time its state becomes current (Cgame::enterGameMode)
//   update  once per update step while its state is current
//   render  once per drawn frame while its state is current
//
// When a new state is requested without a transition, the showing screen is
// asked to leave first; the new state is entered once hasLeft() is true.

class CscreenSlot {
public:
    virtual ~CscreenSlot() = default;

    virtual bool load() { return true; }
    virtual void enter() {}
    virtual void update() {}
    virtual void render() {}

    // Start the leave transition; hasLeft() reports when it has ended.
    virtual void startLeave() {}
    virtual bool hasLeft() const { return true; }
    // Its entry has run its course and it takes the player's input.
    virtual bool ready() const { return true; }
};

// The HUD of play, drawn over the play field by the session: one for a
// normal game and one for party mode (CplayScreen picks by the session).
// Play tells it when the score, the cash or the track changed.
class ChudSlot {
public:
    virtual ~ChudSlot() = default;

    virtual bool loadHud() = 0;
    virtual void enterHud() = 0;   // each new play
    virtual void stepHud() = 0;    // each step of play
    virtual void drawHud() = 0;    // each frame of play
    virtual void refreshScore() {}
    virtual void refreshCash() {}
    // The next track of a run has started.
    virtual void resetBest() {}
};
enum EhudId { HUD_NORMAL = 0, HUD_PARTY, HUD_COUNT };

// The overlays drawn over the current state. They are not game states.
class CoverlaySlot {
public:
    virtual ~CoverlaySlot() = default;

    virtual bool showing() const = 0;
    // Once, with the screens (Cgame::loadScreens).
    virtual bool load() { return true; }
    // Brings the overlay up (the exit pop-up on Escape); others ignore it.
    virtual void show() {}
    virtual void update() {}
    virtual void render() {}
};

// Overlay slots. The order is the draw order, bottom to top; the UI's own
// overlays (button bar, popups, text entry, tutorials) are drawn between the
// warning and the music bar. See Cgame::update for the update order. A modal
// overlay takes the update step from the current state's screen while it shows.
enum EoverlayId {
    OVERLAY_PAUSE = 0,        // in Playing while paused; modal
    OVERLAY_CONFIRM,          // while shown the game steps nothing else
    OVERLAY_WARNING,          // steps every update; stays across state changes
    OVERLAY_MUSIC_BAR,        // steps before the state; drawn over the overlays above
    OVERLAY_EXIT,             // the exit pop-up; modal
    OVERLAY_OPEN_MIC_ERROR,   // modal
    OVERLAY_MISSION_PANEL,    // steps every update; drawn over everything
    OVERLAY_COUNT
};

const char* overlayName(int id);

// The screens themselves, owned as one set that Cgame keeps for its lifetime.
class CscreenSet {
public:
    virtual ~CscreenSet() = default;
};

// Made by the screen registry: every screen and overlay, each bound to its
// slot of game.
class Cgame;
std::unique_ptr<CscreenSet> makeScreens(Cgame& game);
