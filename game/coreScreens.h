#pragma once
// The screens the state machine brings with it: stand-ins for states whose
// real screens are not written yet, and ReallyExit.
#include "engine/ui/warningOverlay.h"
#include "game/screenSlot.h"

// Does nothing; leaves at once.
class CemptyScreen : public CscreenSlot {};

// The fade between states without its picture: it lasts one second of game
// time and then lets the requested state in.
class CtimedFade : public CscreenSlot {
public:
    static constexpr double kLength = 1.0;
    void enter() override { t_ = 0; }
    void update() override;
    bool hasLeft() const override { return t_ > kLength; }

private:
    double t_ = 0;
};

// ReallyExit: the final save and the quit flag.
class CreallyExitScreen : public CscreenSlot {
public:
    void enter() override;
};

// The UI's warning overlay in its slot: stepped every update, drawn while
// visible or fading.
class CwarningOverlaySlot : public CoverlaySlot {
public:
    explicit CwarningOverlaySlot(CwarningOverlay& overlay) : overlay_(overlay) {}
    bool showing() const override { return overlay_.visible || overlay_.fading(); }
    bool load() override { return overlay_.screen() || overlay_.load(); }
    void update() override { overlay_.update(); }
    void render() override { overlay_.render(); }

private:
    CwarningOverlay& overlay_;
};
