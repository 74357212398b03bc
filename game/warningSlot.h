#pragma once
// The UI's warning overlay in its slot: stepped every update, drawn while
// visible or fading.
#include "engine/ui/warningOverlay.h"
#include "game/screenSlot.h"

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
