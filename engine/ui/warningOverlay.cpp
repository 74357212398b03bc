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

void CwarningOverlay::show(const std::string& title, const std::string& message) {
    setTitle(title.c_str());
    setMessage(message.c_str());
    setVisible(true);
    gEngine->log.print(LOG_L, "Warning shown: %s", title.c_str());
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
        // Fresh presses only. The screen underneath keeps its button bar.
        if (screen_) {
            screen_->layout();
            screen_->resetHighlights();
            screen_->focusWidget(ok_);   // Return's target, in sight
            screen_->entering = screen_->leaving = screen_->left = false;
            screen_->state = 0;
        }
    } else {
        fade_->startGrowIn(true);
    }
}

void CwarningOverlay::update() {
    if (fade_ && fade_->finished) fade_.reset();
    if (!visible || !screen_) return;
    screen_->update();
    // Select counts on its release, like every other press: closing on the
    // key going down would hand its release to the screen underneath.
    const CuiInput& in = gUi->input();
    if (screen_->wasPressed(ok_) || in.action(ACTION_SELECT) || in.action(ACTION_BACK)) {
        setVisible(false);
        gEngine->log.print(LOG_L, "Warning put away");
    }
    // The press that answers the warning is not also the screen's underneath.
    gUi->swallowInput();
}

void CwarningOverlay::render() {
    if (!screen_ || (!visible && !fade_)) return;
    uiDraw::darken(0.7f);
    if (!fade_) {
        screen_->render();
        return;
    }
    // The fade scales the whole panel about the screen's centre.
    const float s = fade_->scale;
    const float cx = (float)gEngine->halfScreenWidth, cy = (float)gEngine->halfScreenHeight;
    for (auto& w : screen_->widgets) {
        const float x = w->x, y = w->y;
        w->x = cx + (x - cx) * s;
        w->y = cy + (y - cy) * s;
        w->scale = s;
        w->render(fade_->alpha);
        w->x = x;
        w->y = y;
        w->scale = 1.0f;
    }
}
