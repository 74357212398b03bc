#include "screens/menuRows.h"

#include <cmath>

#include "engine/engine.h"
#include "engine/ui/menu.h"
#include "engine/ui/uiMgr.h"

void CmenuRows::setMenus(std::vector<Cmenu*> menus) {
    menus_ = std::move(menus);
    focus(0);
}

void CmenuRows::fillRow(Cmenu* menu, const std::string& labelTag, const std::string& itemTemplate,
                        const std::vector<std::string>& texts, const std::vector<float>& values, float step) {
    if (!menu) return;
    menu->clearItems();
    menu->wrap = false;
    CwidgetPtr label = gUi->createWidget("RowLabel");
    if (!label) return;
    label->setTextKey(labelTag);
    label->value = -1;
    // Far enough left that the longest row (21 positions, 36 apart) ends
    // inside a list 1100 wide.
    Cwidget* head = menu->insertItem(std::move(label), -1, false, -370, 0, false);
    (void)head;
    for (size_t i = 0; i < texts.size(); ++i) {
        CwidgetPtr w = gUi->createWidget(itemTemplate);
        if (!w) return;
        w->setText("", texts[i]);
        w->value = (int64_t)i;
        w->floatValue = i < values.size() ? values[i] : (float)i;
        // Offsets run from the label, whose right edge is 150 to its right.
        float dx = 160.0f + w->width * 0.5f + step * (float)i;
        menu->insertItem(std::move(w), -1, true, dx, 0, true);
    }
    menu->layout();
}

void CmenuRows::selectValue(Cmenu* menu, float value) {
    if (!menu) return;
    int best = -1;
    float bestD = 1e30f;
    for (size_t i = 0; i < menu->itemCount(); ++i) {
        Cwidget* w = menu->item(i);
        if (!w->selectable) continue;
        float d = std::fabs(w->floatValue - value);
        if (d < bestD) {
            bestD = d;
            best = (int)i;
        }
    }
    if (best >= 0) menu->setSelectedIdx(best);
}

float CmenuRows::selectedValue(const Cmenu* menu, float fallback) {
    const Cwidget* w = menu ? menu->getSelectedItem() : nullptr;
    return w ? w->floatValue : fallback;
}

void CmenuRows::focus(int row) {
    if (menus_.empty()) return;
    current_ = row < 0 ? 0 : row >= (int)menus_.size() ? (int)menus_.size() - 1 : row;
    for (size_t i = 0; i < menus_.size(); ++i)
        if (menus_[i]) menus_[i]->setFocused((int)i == current_);
}

void CmenuRows::update() {
    const CuiInput& in = gUi->input();
    if (gUi->inputHeld() || menus_.empty()) return;
    if (in.device != DEVICE_CONTROLLER && in.pointerX >= 0 && (in.pointerMoved || in.pointerPressed)) {
        for (size_t i = 0; i < menus_.size(); ++i) {
            Cmenu* m = menus_[i];
            if (!m || m->hidden) continue;
            for (size_t k = 0; k < m->itemCount(); ++k)
                if (m->item(k)->selectable && m->item(k)->rect().contains(in.pointerX, in.pointerY))
                    if ((int)i != current_) focus((int)i);
        }
    }
    if (in.up && current_ > 0) focus(current_ - 1);
    else if (in.down && current_ + 1 < (int)menus_.size()) focus(current_ + 1);
}
