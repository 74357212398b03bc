#include "screens/fadeLogo.h"

#include <algorithm>

#include "engine/engine.h"
#include "engine/ui/uiMgr.h"

const CwidgetBinding CfadeScreen::kBindings[] = {{&CfadeScreen::logo_, "Logo"}};

CfadeScreen::CfadeScreen() : ClayoutScreen("fadeLogo.txt", kBindings) {}

bool CfadeScreen::onLoaded() {
    background_ = gEngine->colours.get("Fade_Background");
    shard1_ = gEngine->colours.get("Fade_Shard1");
    shard2_ = gEngine->colours.get("Fade_Shard2");
    return true;
}

void CfadeScreen::enter() {
    t = 0;
    leaving_ = false;
    thudPlayed_ = false;
    ClayoutScreen::enter();
}

void CfadeScreen::onEnter() {
    logo_->setHidden(false);
    logo_->startEffect(EFFECT_ZOOM_IN, 0, nullptr, 0, 0.3f);
    if (gUi->playSoundPack) gUi->playSoundPack("LogoSwoosh");
    spawnLogoFlash((float)gEngine->halfScreenWidth, (float)gEngine->halfScreenHeight);
}

void CfadeScreen::update() {
    if (!gEngine->paused) t += (float)gEngine->frameTime;
    ClayoutScreen::update();
    // The thud lands as the zoom settles.
    if (!thudPlayed_ && logo_ && !logo_->effectRunning()) {
        thudPlayed_ = true;
        if (gUi->playSoundPack) gUi->playSoundPack("LogoThud");
    }
    if (t > kShowTime && !leaving_) {
        leaveLayout();
        leaving_ = true;
    }
    Cvec3 centre((float)gEngine->halfScreenWidth, (float)gEngine->halfScreenHeight, 0);
    spawnHaloBurst(shard1_, centre, 1.0f);
    spawnHaloBurst(shard2_, centre, 1.0f);
}

bool CfadeScreen::hasLeft() const { return leaving_ && (!screen_ || screen_->left); }

float CfadeScreen::coverAlpha(float time) {
    if (time < kFadeIn) return std::max(0.0f, time / kFadeIn);
    if (time <= kCoverEnd) return 1.0f;
    return std::max(0.0f, 1.0f - (time - kCoverEnd) / kFadeOut);
}

void CfadeScreen::render() {
    float a = coverAlpha(t);
    if (a > 0) gEngine->renderer.drawRectPixelsColour(background_, a);
    drawParticleLayer(0);
    ClayoutScreen::render();
}
