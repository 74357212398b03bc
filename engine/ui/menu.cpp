#include "engine/ui/menu.h"

#include <algorithm>
#include <cmath>

#include "engine/engine.h"
#include "engine/ui/uiDraw.h"
#include "engine/ui/uiMgr.h"

namespace {
constexpr int kLockedSound = 7;
constexpr float kWheelStep = 40.0f;   // layout pixels a wheel notch or a key scrolls a list without choices
constexpr const char* kTitleTemplate = "MenuTitle";
constexpr const char* kEmptyTemplate = "EmptyListNote";
}

bool Cmenu::inGroup(const std::string& group) const {
    for (auto& g : groups)
        if (equalsIgnoreCase(g, group)) return true;
    return false;
}

void Cmenu::clearItems() {
    items.clear();
    rows_.clear();
    rowSource_.reset();
    madeRows_.clear();
    rowsPlaced_ = false;
    marked_ = nullptr;
    pressedItem_ = nullptr;
    selected_ = -1;
    requested_ = -1;
    activated_ = nullptr;
    pointerPressed_ = nullptr;
    scroll_ = 0;
}

void Cmenu::setRows(std::unique_ptr<CrowSource> rows) {
    clearItems();
    if (!rows) return;
    rowSource_ = std::move(rows);
    size_t count = 0;
    rows_.reserve(rowSource_->rowCount());
    for (size_t r = 0; r < rowSource_->rowCount(); ++r) {
        rows_.push_back({count, 0});
        count += rowSource_->rowItems(r);
    }
    items.resize(count);
    for (size_t r = 0; r < rows_.size() && selected_ < 0; ++r)
        for (size_t k = 0; k < rowSource_->rowItems(r); ++k)
            if (rowSource_->selectable(r, k)) {
                selected_ = (int)(rows_[r].first + k);
                break;
            }
    positionItems();
}

Cwidget* Cmenu::item(size_t i) const {
    // Never made const: a list's rows are made when asked for.
    return i < items.size() ? const_cast<Cmenu*>(this)->itemAt(i) : nullptr;
}

Cwidget* Cmenu::itemAt(size_t i) {
    if (!items[i] && rowSource_) makeRow(rowOf(i));
    return items[i].get();
}

int64_t Cmenu::itemValue(size_t i) const {
    if (i >= items.size()) return -1;
    if (items[i]) return items[i]->value;
    return rowSource_ ? rowSource_->rowValue(rowOf(i)) : -1;
}

bool Cmenu::attachedItem(size_t i) const {
    if (i >= items.size()) return false;
    if (rowSource_) return rows_[rowOf(i)].first != i;
    return items[i]->attachToPrevious;
}

size_t Cmenu::rowOf(size_t item) const {
    auto after = std::upper_bound(rows_.begin(), rows_.end(), item,
                                  [](size_t i, const CrowSpan& r) { return i < r.first; });
    return after == rows_.begin() ? 0 : (size_t)(after - rows_.begin()) - 1;
}

void Cmenu::makeRow(size_t row) {
    const size_t first = rows_[row].first, n = rowSource_->rowItems(row);
    making_.clear();
    rowSource_->makeRow(row, making_);
    for (size_t k = 0; k < n; ++k) {
        CwidgetPtr w = k < making_.size() && making_[k] ? std::move(making_[k]) : std::make_unique<Cwidget>();
        w->attachToPrevious = k > 0;
        items[first + k] = std::move(w);
    }
    making_.clear();
    madeRows_.push_back(row);
    placeRow(row);
}

// Where the rows' heads go follows from their number alone; the made rows
// are placed like the items of a list without rows.
void Cmenu::positionRows() {
    const float s = gUi->scale();
    const Crect area = areaRect();
    const float h = rowSource_->rowHeight() * s;
    float yCursor = 0;   // summed as a list of items sums it, to the same pixel
    for (CrowSpan& r : rows_) {
        r.top = (area.y + yCursor + h * 0.5f - scroll_) - h * 0.5f;
        yCursor += h + spacing * s;
    }
    tallestRow_ = h;
    rowsPlaced_ = true;
    contentHeight_ = yCursor > 0 ? yCursor - spacing * s : 0;
    for (size_t r : madeRows_) placeRow(r);
    makeRowsNearClip();
}

void Cmenu::placeRow(size_t row) {
    const float s = gUi->scale();
    const size_t first = rows_[row].first, end = row + 1 < rows_.size() ? rows_[row + 1].first : items.size();
    Cwidget& head = *items[first];
    const float h = head.height * s;
    head.uiScale = s;
    head.x = areaRect().cx() + head.rowDx * s;
    head.y = rows_[row].top + h * 0.5f;
    tallestRow_ = std::max(tallestRow_, h * std::max(head.scale, 1.0f));
    for (size_t i = first + 1; i < end; ++i) {
        Cwidget& w = *items[i];
        w.uiScale = s;
        w.x = head.x + w.rowDx * s;
        w.y = head.y + w.rowDy * s;
        tallestRow_ = std::max(tallestRow_, std::fabs(w.rowDy * s) + w.height * s * std::max(w.scale, 1.0f));
    }
}

void Cmenu::makeRowsNearClip() {
    size_t first = 0, end = 0;
    nearRange(hasClip_ ? clip_ : areaRect(), first, end);
    for (size_t i = first; i < end; ++i)
        if (!items[i]) makeRow(rowOf(i));
}

// Rows far from view go, except the selected one, which keys may reach at once.
void Cmenu::dropFarRows() {
    if (!rowSource_) return;
    size_t first = 0, end = 0;
    nearRange(hasClip_ ? clip_ : areaRect(), first, end);
    const size_t keep = selected_ >= 0 && (size_t)selected_ < items.size() ? rowOf((size_t)selected_) : rows_.size();
    for (size_t k = 0; k < madeRows_.size();) {
        const size_t r = madeRows_[k];
        const size_t from = rows_[r].first, to = r + 1 < rows_.size() ? rows_[r + 1].first : items.size();
        if (r == keep || (to > first && from < end)) {
            ++k;
            continue;
        }
        for (size_t i = from; i < to; ++i) {
            if (items[i].get() == marked_) marked_ = nullptr;
            items[i].reset();
        }
        madeRows_[k] = madeRows_.back();
        madeRows_.pop_back();
    }
}

Cwidget* Cmenu::insertItem(CwidgetPtr widget, int position, bool attachToPrevious, float dx, float dy,
                           bool selectable) {
    if (!widget || rowSource_) return nullptr;
    widget->attachToPrevious = attachToPrevious;
    widget->rowDx = dx;
    widget->rowDy = dy;
    widget->selectable = selectable;
    Cwidget* raw = widget.get();
    rowsPlaced_ = false;
    if (position < 0 || position >= (int)items.size()) {
        items.push_back(std::move(widget));
    } else {
        items.insert(items.begin() + position, std::move(widget));
        if (selected_ >= position) ++selected_;
    }
    if (selected_ < 0 && selectable) selected_ = itemIndex(raw);
    return raw;
}

Cwidget* Cmenu::addTextItem(const std::string& templ, const std::string& text, int64_t value) {
    CwidgetPtr w = gUi->createWidget(templ.empty() ? itemTemplate : templ);
    if (!w) return nullptr;
    w->name = text;
    // Spacers have no text to set.
    if (w->findTextGadget({}, false)) w->setText({}, text);
    w->value = value;
    return insertItem(std::move(w));
}

Cwidget* Cmenu::addTextItemByKey(const std::string& templ, const std::string& tag, bool selectable) {
    CwidgetPtr w = gUi->createWidget(templ.empty() ? itemTemplate : templ);
    if (!w) return nullptr;
    w->name = tag;
    w->setGadgetTextKey({}, tag);
    return insertItem(std::move(w), -1, false, 0, 0, selectable);
}

Cwidget* Cmenu::addTextItemByKey(const std::string& templ, const std::string& tag, int64_t value) {
    Cwidget* w = addTextItemByKey(templ, tag, true);
    if (w) w->value = value;
    return w;
}

void Cmenu::addLayoutItems() {
    for (auto& it : layoutItems)
        if (Cwidget* w = addTextItemByKey(itemTemplate, it.tag)) w->value = it.value;
}

void Cmenu::resetToLayoutItems() {
    clearItems();
    addLayoutItems();
    layout();
}

void Cmenu::setTitleKey(const std::string& tag) {
    titleKey = tag;
    title = CbString(gEngine->text(tag));
}

std::string Cmenu::titleText() const { return titleKey.empty() ? title.str() : std::string(gEngine->text(titleKey)); }

Crect Cmenu::areaRect() const { return blockRect(); }

Crect Cmenu::blockRect() const {
    float s = gUi->scale();
    float cx = anchorX * gEngine->screenWidth + offsetX * s;
    float top = anchorY * gEngine->screenHeight + offsetY * s;
    float h = height * s;
    if (grow) {
        const float bottomShare = anchorY + (offsetY + height) / CuiMgr::kLayoutHeight;
        h = std::max(h, bottomShare * gEngine->screenHeight - top);
    }
    return {cx - width * s * 0.5f, top, width * s, h};
}

void Cmenu::layout() {
    clip_ = areaRect();
    hasClip_ = true;
    positionItems();
    keepSelectionVisible();
}

void Cmenu::positionItems() {
    if (rowSource_) {
        positionRows();
        return;
    }
    float s = gUi->scale();
    Crect area = areaRect();
    float yCursor = 0;
    Cwidget* rowHead = nullptr;
    rows_.clear();
    tallestRow_ = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        Cwidget& w = *items[i];
        w.uiScale = s;
        if (w.attachToPrevious && rowHead) {
            w.x = rowHead->x + w.rowDx * s;
            w.y = rowHead->y + w.rowDy * s;
            tallestRow_ = std::max(tallestRow_, std::fabs(w.rowDy * s) + w.height * s * std::max(w.scale, 1.0f));
            continue;
        }
        float h = w.height * s;
        w.x = area.cx() + w.rowDx * s;
        w.y = area.y + yCursor + h * 0.5f - scroll_;
        rows_.push_back({i, w.y - h * 0.5f});
        tallestRow_ = std::max(tallestRow_, h * std::max(w.scale, 1.0f));
        yCursor += h + spacing * s;
        rowHead = &w;
    }
    rowsPlaced_ = true;
    contentHeight_ = yCursor > 0 ? yCursor - spacing * s : 0;
}

bool Cmenu::isSelectable(int idx) const {
    if (idx < 0 || idx >= (int)items.size()) return false;
    if (const Cwidget* w = items[(size_t)idx].get()) return w->selectable && w->shown();
    const size_t row = rowOf((size_t)idx);
    return rowSource_ && rowSource_->selectable(row, (size_t)idx - rows_[row].first);
}

Cwidget* Cmenu::getSelectedItem() const { return isSelectable(selected_) ? item((size_t)selected_) : nullptr; }

int64_t Cmenu::getSelectedItemInt() const {
    Cwidget* w = getSelectedItem();
    return w ? w->value : -1;
}

float Cmenu::getSelectedItemFloat() const {
    Cwidget* w = getSelectedItem();
    return w ? w->floatValue : -1.0f;
}

int Cmenu::itemIndex(const Cwidget* w) const {
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == w) return (int)i;
    return -1;
}

void Cmenu::setSelectedIdx(int idx, bool animate) {
    if (idx < 0 || idx >= (int)items.size()) return;
    selected_ = idx;
    requested_ = -1;
    if (animate && itemAt((size_t)idx)) items[idx]->startEffect(EFFECT_SCALE_FROM, 0, nullptr, 0, 0.15f);
    keepSelectionVisible();
}

void Cmenu::applyRequestedSelection() {
    if (requested_ < 0) return;
    if (requested_ >= (int)items.size()) {
        requested_ = -1;
        return;
    }
    if (selected_ == requested_ || selected_ < 0) {
        selected_ = requested_;
        requested_ = -1;
    } else {
        selected_ += requested_ > selected_ ? 1 : -1;   // one step per call
    }
    keepSelectionVisible();
}

void Cmenu::moveSelection(int dir) {
    int n = (int)items.size();
    if (n == 0) return;
    int idx = selected_ < 0 ? (dir > 0 ? -1 : n) : selected_;
    // Skip rows attached to the one we are on.
    for (int tries = 0; tries < n; ++tries) {
        idx += dir;
        if (idx < 0 || idx >= n) {
            if (!wrap) return;
            idx = (idx + n) % n;
        }
        if (attachedItem((size_t)idx)) continue;
        if (isSelectable(idx)) {
            selected_ = idx;
            if (gUi->playSound) gUi->playSound(UI_SOUND_MOVE);
            keepSelectionVisible();
            return;
        }
    }
}

void Cmenu::moveInRow(int dir) {
    int n = (int)items.size();
    if (selected_ < 0 || selected_ >= n) return;
    int idx = selected_ + dir;
    if (idx < 0 || idx >= n) return;
    // Stay in the row: a row is a head and the items attached after it.
    bool sameRow = dir > 0 ? attachedItem((size_t)idx) : attachedItem((size_t)selected_);
    if (sameRow && isSelectable(idx)) selected_ = idx;
}

void Cmenu::keepSelectionVisible() {
    if (!isSelectable(selected_)) return;
    float s = gUi->scale();
    Crect area = areaRect();
    positionItems();
    Crect r = itemAt((size_t)selected_)->rect();
    float over = (r.y + r.h) - (area.y + area.h);
    float under = area.y - r.y;
    if (over > 0) scroll_ += over;
    else if (under > 0) scroll_ -= under;
    scroll_ = clampf(scroll_, 0.0f, maxScrollOffset());
    (void)s;
    positionItems();
}

float Cmenu::maxScrollOffset() const { return std::max(0.0f, contentHeight_ - areaRect().h); }

void Cmenu::setScrollOffset(float offset) {
    positionItems();   // the content's height as the items stand
    scroll_ = clampf(offset, 0.0f, maxScrollOffset());
    positionItems();
}

bool Cmenu::anySelectable() const {
    for (size_t i = 0; i < items.size(); ++i)
        if (isSelectable((int)i)) return true;
    return false;
}

void Cmenu::itemsNearClip(size_t& first, size_t& end) const {
    first = 0;
    end = items.size();
    if (rowSource_) {
        nearRange(hasClip_ ? clip_ : areaRect(), first, end);
        return;
    }
    if (!hasClip_) return;
    nearRange(clip_, first, end);
}

void Cmenu::nearRange(const Crect& clip, size_t& first, size_t& end) const {
    first = 0;
    end = items.size();
    if (!rowsPlaced_ || rows_.empty()) return;
    const float lo = clip.y - clip.h - tallestRow_, hi = clip.y + 2 * clip.h + tallestRow_;
    auto below = [](const CrowSpan& r, float y) { return r.top < y; };
    auto from = std::lower_bound(rows_.begin(), rows_.end(), lo, below);
    auto to = std::lower_bound(from, rows_.end(), hi, below);
    first = from == rows_.begin() ? 0 : std::prev(from)->first;   // a row above may reach down into view
    end = to == rows_.end() ? items.size() : to->first;
}

void Cmenu::setMark(Cwidget* w, bool highlighted, bool chosen) {
    w->highlighted = highlighted;
    w->chosen = chosen;
}

void Cmenu::markSelection() {
    const bool current = isSelectable(selected_);
    Cwidget* now = current ? itemAt((size_t)selected_) : nullptr;
    if (marked_ && marked_ != now) {
        if (markedIdx_ < items.size() && items[markedIdx_].get() == marked_) {
            setMark(marked_, false, false);
        } else {
            for (auto& w : items)   // the item moved: clear them all
                if (w) setMark(w.get(), false, false);
        }
    }
    marked_ = now;
    markedIdx_ = current ? (size_t)selected_ : 0;
    if (now) setMark(now, focused, !focused);
}

void Cmenu::setPressed(Cwidget& w) {
    w.pressed = true;
    if (pressedItem_ && pressedItem_ != &w) clearPressed();
    pressedItem_ = &w;
    pressedIdx_ = (size_t)itemIndex(&w);
}

void Cmenu::clearPressed() {
    if (!pressedItem_) return;
    if (pressedIdx_ < items.size() && items[pressedIdx_].get() == pressedItem_) {
        pressedItem_->pressed = false;
    } else {
        for (auto& w : items)
            if (w) w->pressed = false;
    }
    pressedItem_ = nullptr;
}

void Cmenu::setVisibleWithTransition(bool v) {
    hidden = false;
    for (auto& w : items)
        if (w) w->startEffect(v ? EFFECT_GROW_IN : EFFECT_GROW_IN, v ? 0 : 1, nullptr, 0, 0.2f);
    if (!v) hidden = false;   // hidden once the effects end (see update)
    hideAfterEffect_ = !v;
}

void Cmenu::update(const CuiInput& in, bool inputHeld) {
    activated_ = nullptr;
    pointerPressed_ = nullptr;
    arrowStep_ = 0;
    clearPressed();
    dropFarRows();
    if (hideAfterEffect_) {
        bool done = true;
        for (auto& w : items)
            if (w && w->effectRunning()) done = false;
        if (done) {
            hidden = true;
            hideAfterEffect_ = false;
            for (auto& w : items)
                if (w) w->removeEffect();
        }
    }
    markSelection();
    if (!shown() || inputHeld || items.empty()) return;

    Crect area = areaRect();
    // The wheel scrolls the list under the pointer, focused or not.
    if (in.wheel != 0 && in.pointerX >= 0 && area.contains(in.pointerX, in.pointerY))
        scrollBy(-in.wheel * kWheelStep * gUi->scale());
    if (!focused) return;
    bool pointerInside = in.pointerX >= 0 && (!hasClip_ || clip_.contains(in.pointerX, in.pointerY));
    // Pointer: hover selects, a click activates.
    if (in.device != DEVICE_CONTROLLER && pointerInside) {
        size_t first = 0, end = 0;
        itemsNearClip(first, end);
        for (int i = (int)end - 1; i >= (int)first; --i) {
            Cwidget& w = *itemAt((size_t)i);
            if (!w.visible() || !w.selectable) continue;
            if (!w.rect().contains(in.pointerX, in.pointerY)) continue;
            if (hasClip_ && !clip_.contains(w.x, w.y)) continue;
            if (in.pointerMoved || in.pointerPressed) selected_ = i;
            if (in.pointerReleased) {
                pointerPressed_ = &w;
                setPressed(w);
                if (w.locked()) {
                    if (gUi->playSound) gUi->playSound(kLockedSound);
                } else {
                    activated_ = &w;
                }
            }
            break;
        }
    }
    // Keys and pads move the selection, or scroll a list with nothing to choose.
    if (anySelectable()) {
        if (in.up) moveSelection(-1);
        if (in.down) moveSelection(1);
    } else {
        if (in.up) scrollBy(-kWheelStep * gUi->scale());
        if (in.down) scrollBy(kWheelStep * gUi->scale());
    }
    if (arrowChoice) {
        if (in.left) arrowStep_ = -1;
        if (in.right) arrowStep_ = 1;
    } else {
        if (in.left) moveInRow(-1);
        if (in.right) moveInRow(1);
    }
    if (in.action(ACTION_SELECT) && !activated_ && isSelectable(selected_)) {
        Cwidget& w = *itemAt((size_t)selected_);
        setPressed(w);
        if (w.locked()) {
            if (gUi->playSound) gUi->playSound(kLockedSound);
        } else {
            activated_ = &w;
        }
    }
    markSelection();
}

void Cmenu::render(float alpha) {
    if (!shown()) return;
    renderTitle(alpha);
    if (items.empty()) renderEmptyNote(alpha);
    if (hasClip_) uiDraw::pushClip(clip_);
    size_t first = 0, end = 0;
    itemsNearClip(first, end);
    for (size_t i = first; i < end; ++i) {
        Cwidget* w = itemAt(i);
        if (!w->visible()) continue;
        if (hasClip_) {
            Crect r = w->rect();
            if (r.y + r.h < clip_.y || r.y > clip_.y + clip_.h) continue;
        }
        w->render(alpha);
    }
    if (hasClip_) uiDraw::popClip();
    renderScrollBar(alpha);
}

// A thin track just right of the box, its lit part where the shown rows are.
void Cmenu::renderScrollBar(float alpha) {
    if (!scrolls() || contentHeight_ <= 0) return;
    const float s = gUi->scale();
    const Crect area = areaRect();
    const float x = area.right() + 6 * s, w = 4 * s;
    const float shown = std::min(1.0f, area.h / contentHeight_);
    const float from = scroll_ / contentHeight_;
    uiDraw::fillRect({x, area.y, w, area.h}, Ccolour(1, 1, 1, 0.15f * alpha));
    uiDraw::fillRect({x, area.y + from * area.h, w, shown * area.h}, Ccolour(0.4f, 0.9f, 1.0f, 0.85f * alpha));
}

namespace {
// A text widget of a template, made once; null (logged once) without the template.
Cwidget* textWidget(CwidgetPtr& slot, const std::string& templ) {
    if (!slot) slot = gUi->createWidget(templ);
    return slot.get();
}
}  // namespace

void Cmenu::renderTitle(float alpha) {
    const std::string text = titleText();
    if (text.empty()) return;
    Cwidget* w = textWidget(titleWidget_, titleStyle.empty() ? kTitleTemplate : titleStyle);
    if (!w) return;
    // Just above the list's box, sharing the items' show and hide effects.
    const Crect block = blockRect();
    const float s = gUi->scale();
    w->setText({}, text);
    w->uiScale = s;
    w->x = block.cx();
    w->y = block.y - (w->height * 0.5f + spacing) * s;
    if (!items.empty() && items.front()) w->effect = items.front()->effect;
    w->render(alpha);
}

void Cmenu::renderEmptyNote(float alpha) {
    if (emptyKey.empty()) return;
    Cwidget* w = textWidget(emptyWidget_, kEmptyTemplate);
    if (!w) return;
    const Crect area = areaRect();
    w->setText({}, gEngine->text(emptyKey));
    w->uiScale = gUi->scale();
    w->x = area.cx();
    w->y = area.y + w->height * w->uiScale * 0.5f;
    w->render(alpha);
}
