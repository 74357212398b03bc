#include "screens/menuColumns.h"

#include "engine/engine.h"
#include "engine/ui/menu.h"
#include "engine/ui/uiMgr.h"

void CmenuColumns::set(std::vector<Cmenu*> menus) {
    menus_ = std::move(menus);
    reset();
}

void CmenuColumns::reset() {
    focus_ = -1;
    for (size_t i = 0; i < menus_.size(); ++i)
        if (menus_[i]->shown() && menus_[i]->itemCount() > 0) {
            focus(menus_[i]);
            return;
        }
    focus(nullptr);
}

Cmenu* CmenuColumns::focused() const {
    return focus_ >= 0 && focus_ < (int)menus_.size() ? menus_[focus_] : nullptr;
}

void CmenuColumns::focus(Cmenu* menu) {
    focus_ = -1;
    for (size_t i = 0; i < menus_.size(); ++i) {
        bool on = menus_[i] == menu;
        menus_[i]->setFocused(on);
        if (on) focus_ = (int)i;
    }
}

void CmenuColumns::move(int dir) {
    int n = (int)menus_.size();
    for (int k = 1; k < n; ++k) {
        int i = focus_ + dir * k;
        if (i < 0 || i >= n) return;   // no wrapping: the ends stay put
        if (menus_[i]->shown() && menus_[i]->itemCount() > 0) {
            focus(menus_[i]);
            return;
        }
    }
}

void CmenuColumns::update() {
    if (gUi->inputHeld()) return;
    const CuiInput& in = gUi->input();
    // A focused menu that was hidden gives the focus on.
    if (Cmenu* f = focused(); !f || !f->shown()) reset();
    if (in.left) move(-1);
    if (in.right) move(1);
    if (in.device != DEVICE_CONTROLLER && in.pointerX >= 0 && (in.pointerMoved || in.pointerPressed)) {
        for (Cmenu* m : menus_)
            if (m->shown() && m->areaRect().contains(in.pointerX, in.pointerY)) {
                if (m != focused()) focus(m);
                break;
            }
    }
}
