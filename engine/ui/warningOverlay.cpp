#include "engine/ui/warningOverlay.h"

#include "engine/engine.h"
#include "engine/ui/uiDraw.h"
#include "engine/ui/uiMgr.h"

bool CwarningOverlay::load() {
    screen_ = gUi->loadScreen("warningOverlay.txt");
    if (!screen_) return false;
    message_ = screen_->findWidget("Message");
    title_ = screen_->findWidget("Title");
    ok_ = screen_->findWidget("OK");
    return message_ && title_ && ok_;
}

void CwarningOverlay::setTitle(const char* text) {
    if (title_) title_->setText("TextName", text ? text : "");
}

void CwarningOverlay::setMessage(const char* text) {
    if (message_) message_->setText("TextName", text ? text : "");
}

void CwarningOverlay::setVisible(bool v) {
    visible = v;
    // A new fade replaces any that is still running.
    gEngine->drawList.remove(fade_);
    fade_ = gEngine->drawList.addSprite(1.0f, nullptr, 0, 0, 0.2f);
    if (v) {
        fade_->startScaleFrom(0.2f);
        if (screen_) screen_->enterOpening();
    } else {
        fade_->startGrowIn(true);
    }
}

void CwarningOverlay::update() {
    if (fade_ && fade_->finished) fade_.reset();
    if (!visible || !screen_) return;
    screen_->update();
    if (screen_->wasPressed(ok_) || gUi->input().action(ACTION_SELECT) || gUi->input().enter) setVisible(false);
}

void CwarningOverlay::render() {
    if (!screen_ || (!visible && !fade_)) return;
    uiDraw::darken(0.7f);
    float s = fade_ ? fade_->scale : 1.0f;
    for (auto& w : screen_->widgets) w->scale = s;
    screen_->render(fade_ ? fade_->alpha : 1.0f);
    for (auto& w : screen_->widgets) w->scale = 1.0f;
}
