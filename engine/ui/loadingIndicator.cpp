#include "engine/ui/loadingIndicator.h"

#include "engine/engine.h"
#include "engine/ui/uiDraw.h"
#include "engine/ui/uiMgr.h"

void CloadingIndicator::show(const std::string& t) {
    text = t;
    showing = true;
}

void CloadingIndicator::render() {
    if (!showing) return;
    float s = gUi->scale();
    float cx = 60.0f * s, cy = (float)gEngine->screenHeight - 60.0f * s;
    uiDraw::sprite(uiDraw::findSprite("ui_gear.png"), cx, cy, 48 * s, 48 * s, Ccolour(0.4f, 0.9f, 1, 1), angle_);
    uiDraw::text("FontSmall", text, cx + 40.0f * s, cy, s, Ccolour(1, 1, 1, 1), ALIGN_LEFT,
                 gUi->findShadowStyle("SimpleOutline", false));
}
