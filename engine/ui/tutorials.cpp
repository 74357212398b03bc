#include "engine/ui/tutorials.h"

#include "engine/engine.h"
#include "engine/ui/uiDraw.h"
#include "engine/ui/uiMgr.h"

Ctutorials::Crecord* Ctutorials::find(const std::string& name) {
    for (auto& r : records_)
        if (equalsIgnoreCase(r.name, name)) return &r;
    records_.push_back({name, false});
    return &records_.back();
}

bool Ctutorials::show(const std::string& name, const Cwidget* near) {
    Crecord* r = find(name);
    if (r->seen) return false;
    for (auto& q : queue_)
        if (equalsIgnoreCase(q.name, name)) return true;
    if (equalsIgnoreCase(currentName_, name) && box_) return true;
    float nx = near ? near->x : -1, ny = near ? near->y : -1;
    if (box_) queue_.push_back({name, nx, ny});
    else open(name, nx, ny);
    return true;
}

void Ctutorials::open(const std::string& name, float nearX, float nearY) {
    box_ = gUi->createWidget("TutorialBox");
    if (!box_) {
        find(name)->seen = true;   // nothing to show it with; never ask again
        return;
    }
    currentName_ = name;
    shownFor_ = 0;
    box_->setGadgetTextKey("Text", name);
    float w = (float)gEngine->screenWidth, h = (float)gEngine->screenHeight;
    box_->uiScale = gUi->scale();
    box_->x = w * 0.5f;
    box_->y = h * 0.5f;
    if (nearX >= 0) {
        // Beside the widget it explains, kept on screen.
        Crect r = box_->rect();
        box_->x = clampf(nearX, r.w * 0.5f + 10, w - r.w * 0.5f - 10);
        float below = nearY + r.h * 0.5f + 60.0f * box_->uiScale;
        box_->y = below + r.h * 0.5f < h - 80 ? below : clampf(nearY - r.h * 0.5f - 60.0f * box_->uiScale, r.h * 0.5f, h);
    }
    box_->startEffect(EFFECT_SCALE_FROM, 0, nullptr, 0, 0.25f);
    box_->effect->startScaleFrom(0.3f);
    find(name)->seen = true;
    gEngine->log.print(LOG_L, "Help box shown: %s", name.c_str());
    if (gUi->onTutorialsChanged) gUi->onTutorialsChanged();
}

void Ctutorials::resetAll() {
    for (auto& r : records_) r.seen = false;
    queue_.clear();
    putAway();
    if (gUi && gUi->onTutorialsChanged) gUi->onTutorialsChanged();
}

std::vector<std::string> Ctutorials::seenNames() const {
    std::vector<std::string> out;
    for (auto& r : records_)
        if (r.seen) out.push_back(r.name);
    return out;
}

void Ctutorials::setSeenNames(const std::vector<std::string>& names) {
    for (auto& r : records_) r.seen = false;
    for (auto& n : names) find(n)->seen = true;
}

bool Ctutorials::update(const CuiInput& in, float dt) {
    if (!box_) return false;
    if (waiting()) {
        shownFor_ = 0;   // the press that puts the warning away leaves the box
        return false;
    }
    shownFor_ += dt;
    // A short grace time so the press that opened a screen does not close its tutorial.
    bool dismiss = shownFor_ > 0.25f && (in.action(ACTION_SELECT) || in.action(ACTION_BACK) || in.pointerReleased ||
                                         in.enter || in.escape);
    if (dismiss) {
        putAway();
        if (!queue_.empty()) {
            Cqueued next = queue_.front();
            queue_.pop_front();
            open(next.name, next.x, next.y);
        }
    }
    return true;
}

void Ctutorials::putAway() {
    if (box_) gEngine->log.print(LOG_L, "Help box put away: %s", currentName_.c_str());
    box_.reset();
    currentName_.clear();
}

void Ctutorials::render() {
    if (!box_ || waiting()) return;
    uiDraw::darken(0.35f);
    box_->render();
}
