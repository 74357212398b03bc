#pragma once
// The screens the state machine brings with it: stand-ins for states whose
// real screens are not written yet, and ReallyExit.
#include "engine/ui/warningOverlay.h"
#include "game/gameModes.h"
#include "game/screenSlot.h"

// Does nothing; leaves at once.
class CemptyScreen : public CscreenSlot {};

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
