#include "engine/ui/screen.h"

#include <algorithm>
#include <cmath>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/ui/uiMgr.h"

Cwidget* Cscreen::findWidget(const std::string& widgetName, bool report) {
    for (auto& w : widgets)
        if (equalsIgnoreCase(w->name, widgetName)) return w.get();
    if (report) gEngine->log.print(LOG_L, "Can't find widget: %s in %s", widgetName.c_str(), name.c_str());
    return nullptr;
}

Cmenu* Cscreen::findMenu(const std::string& menuName, bool report) {
    for (auto& m : menus)
        if (equalsIgnoreCase(m->name, menuName)) return m.get();
    if (report) gEngine->log.print(LOG_L, "Can't find menu: %s in %s", menuName.c_str(), name.c_str());
    return nullptr;
}

Ctable* Cscreen::findTable(const std::string& tableName, bool report) {
    for (auto& m : menus)
        if (equalsIgnoreCase(m->name, tableName))
            if (auto* t = dynamic_cast<Ctable*>(m.get())) return t;
    if (report) gEngine->log.print(LOG_L, "Can't find table: %s in %s", tableName.c_str(), name.c_str());
    return nullptr;
}

Cwidget* Cscreen::addWidget(CwidgetPtr widget) {
    if (!widget) return nullptr;
    const Crect f = frame();
    widget->resolve(f.w, f.h, frameScale(), f.x, f.y);
    widgets.push_back(std::move(widget));
    applyGroups();
    return widgets.back().get();
}

bool Cscreen::knowsGroup(const std::string& group) const {
    for (auto& w : widgets)
        if (w->inGroup(group)) return true;
    for (auto& m : menus)
        if (m->inGroup(group)) return true;
    return false;
}

bool Cscreen::isGroupVisible(const std::string& group) const {
    return std::find(hiddenGroups_.begin(), hiddenGroups_.end(), toLowerAscii(group)) == hiddenGroups_.end();
}

void Cscreen::setGroupVisible(const std::string& group, bool visible) {
    if (!knowsGroup(group)) gEngine->log.print(LOG_L, "Can't find group: %s in %s", group.c_str(), name.c_str());
    std::string key = toLowerAscii(group);
    std::erase(hiddenGroups_, key);
    if (!visible) hiddenGroups_.push_back(key);
    applyGroups();
}

void Cscreen::showGroup(const std::string& group) {
    if (!knowsGroup(group)) gEngine->log.print(LOG_L, "Can't find group: %s in %s", group.c_str(), name.c_str());
    hiddenGroups_.clear();
    auto hideOthers = [&](const std::vector<std::string>& groups) {
        for (auto& g : groups)
            if (!equalsIgnoreCase(g, group) && isGroupVisible(g)) hiddenGroups_.push_back(toLowerAscii(g));
    };
    for (auto& w : widgets) hideOthers(w->groups);
    for (auto& m : menus) hideOthers(m->groups);
    applyGroups();
}

void Cscreen::applyGroups() {
    auto hiddenBy = [&](const std::vector<std::string>& groups) {
        if (groups.empty()) return false;
        for (auto& g : groups)
            if (isGroupVisible(g)) return false;
        return true;
    };
    for (auto& w : widgets) w->groupHidden = hiddenBy(w->groups);
    for (auto& m : menus) m->groupHidden = hiddenBy(m->groups);
}

bool Cscreen::wasPressed(const std::string& widgetName) {
    Cwidget* w = findWidget(widgetName, false);
    return w && w->pressed;
}

Crect Cscreen::frame() const {
    if (inPlayFrame && gUi->playFrame) {
        const Crect f = gUi->playFrame();
        if (f.w > 0 && f.h > 0) return f;
    }
    return {0, 0, (float)gEngine->screenWidth, (float)gEngine->screenHeight};
}

float Cscreen::frameScale() const {
    if (!inPlayFrame) return gUi->scale();
    const Crect f = frame();
    return std::min(f.w / CuiMgr::kLayoutWidth, f.h / CuiMgr::kLayoutHeight);
}

void Cscreen::layout() {
    const Crect f = frame();
    const float s = frameScale();
    for (auto& wd : widgets) wd->resolve(f.w, f.h, s, f.x, f.y);
    for (auto& m : menus) m->layout();
}

void Cscreen::enterOpening() {
    entering = true;
    leaving = false;
    left = false;
    state = 0;
    layout();
    gUi->buttonBar.clear();
    resetHighlights();
    swoosh();
}

void Cscreen::resetHighlights() {
    focus_ = -1;
    pressed_ = nullptr;
    for (auto& w : widgets) {
        w->highlighted = false;
        w->pressed = false;
    }
    for (auto& m : menus)
        for (auto& it : m->items)
            if (it) it->pressed = false;
}

namespace {
// A menu's item widgets (of a list with rows, those made) and its header row, if it has one.
template <class Fn>
void forMenuWidgets(const Cmenu& m, Fn fn) {
    if (Cwidget* h = m.header()) fn(*h);
    for (auto& it : m.items)
        if (it) fn(*it);
}
}  // namespace

void Cscreen::swoosh() {
    int i = 0;
    auto scaleIn = [&](Cwidget& w) {
        w.startEffect(EFFECT_SCALE_FROM, 0, nullptr, 0.02f * (float)(i++ % 10), 0.25f);
        w.effect->startScaleFrom(0.85f);
    };
    for (auto& w : widgets)
        if (w->shown()) scaleIn(*w);
    for (auto& m : menus) forMenuWidgets(*m, scaleIn);
    if (gUi->playSoundPack) gUi->playSoundPack("Swoosh");
}

void Cscreen::transitionOut() {
    markLeaving();
    auto fadeOut = [](Cwidget& w) { w.startEffect(EFFECT_FADE_OUT, 1, nullptr, 0, 0.2f); };
    for (auto& w : widgets)
        if (w->shown()) fadeOut(*w);
    for (auto& m : menus) forMenuWidgets(*m, fadeOut);
}

bool Cscreen::transitionDone() const {
    for (auto& w : widgets)
        if (w->shown() && w->effectRunning()) return false;
    bool done = true;
    for (auto& m : menus)
        forMenuWidgets(*m, [&](const Cwidget& w) { done = done && !w.effectRunning(); });
    return done;
}

bool Cscreen::focusWidget(const Cwidget* w) {
    for (size_t i = 0; i < widgets.size(); ++i) {
        if (widgets[i].get() != w) continue;
        if (!w->selectable || !w->shown()) return false;
        focus_ = (int)i;
        for (size_t k = 0; k < widgets.size(); ++k) widgets[k]->highlighted = k == i;
        return true;
    }
    return false;
}

void Cscreen::navigate(int dx, int dy) {
    // Nearest selectable widget in the direction pressed.
    Cwidget* from = focus_ >= 0 ? widgets[focus_].get() : nullptr;
    int best = -1;
    float bestScore = 1e30f;
    for (size_t i = 0; i < widgets.size(); ++i) {
        Cwidget& w = *widgets[i];
        if ((int)i == focus_ || !w.selectable || !w.visible()) continue;
        if (!from) {
            float score = w.y * 10000.0f + w.x;   // top-left first
            if (score < bestScore) { bestScore = score; best = (int)i; }
            continue;
        }
        float ddx = w.x - from->x, ddy = w.y - from->y;
        float along = ddx * dx + ddy * dy;
        if (along <= 1.0f) continue;
        float across = std::fabs(ddx * dy) + std::fabs(ddy * dx);
        float score = along + across * 2.0f;
        if (score < bestScore) { bestScore = score; best = (int)i; }
    }
    if (best >= 0) {
        focus_ = best;
        if (gUi->playSound) gUi->playSound(UI_SOUND_MOVE);
    }
}

void Cscreen::update() {
    const CuiInput& in = gUi->input();
    bool held = gUi->inputHeld();
    // The release of a key that put a help box away is not a press of the focused button.
    const bool afterHold = heldBefore_;
    heldBefore_ = held;
    pressed_ = nullptr;
    for (auto& w : widgets) w->pressed = false;
    bool menuFocused = false;
    for (auto& m : menus) {
        // A menu of another local player is stepped by its screen with that player's input.
        if (m->playerIdx != 0) continue;
        m->update(in, held);
        if (m->focused && m->shown() && m->itemCount() > 0) menuFocused = true;
    }
    if (entering && transitionDone()) entering = false;
    if (leaving && transitionDone()) left = true;
    if (held || leaving) {
        for (auto& w : widgets) w->highlighted = false;
        return;
    }
    // Pointer on selectable widgets.
    if (in.device != DEVICE_CONTROLLER && in.pointerX >= 0) {
        for (int i = (int)widgets.size() - 1; i >= 0; --i) {
            Cwidget& w = *widgets[i];
            if (!w.selectable || !w.visible() || !w.rect().contains(in.pointerX, in.pointerY)) continue;
            if (in.pointerMoved || in.pointerPressed) focus_ = i;
            if (in.pointerReleased) {
                w.pressed = true;
                pressed_ = &w;
            }
            break;
        }
    }
    // Keys and pads move among the screen's buttons when no menu has the focus.
    if (!menuFocused) {
        if (in.up) navigate(0, -1);
        if (in.down) navigate(0, 1);
        if (in.left) navigate(-1, 0);
        if (in.right) navigate(1, 0);
        if (in.action(ACTION_SELECT) && focus_ >= 0 && !pressed_ && !afterHold) {
            Cwidget& w = *widgets[focus_];
            if (w.visible()) {
                w.pressed = true;
                pressed_ = &w;
            }
        }
    }
    for (size_t i = 0; i < widgets.size(); ++i) widgets[i]->highlighted = (int)i == focus_;
}

void Cscreen::render(float alpha) {
    for (auto& w : widgets) w->render(alpha);
    for (auto& m : menus) m->render(alpha);
}
