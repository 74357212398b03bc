#include "engine/ui/table.h"

#include <algorithm>

#include "engine/engine.h"
#include "engine/ui/uiMgr.h"

namespace {
// Icon cells are square, a little smaller than the row.
constexpr float kIconFill = 0.8f;
// Text cells keep clear of their column's edges, so a right-aligned number
// and a left-aligned name beside it never run together.
constexpr float kCellGap = 6.0f;
}  // namespace

void Ctable::placeColumns(Cwidget& row) const {
    const bool isHeader = &row == header_.get();
    Cgadget style;
    style.font = "FontSmall";
    if (const Cgadget* s = row.findGadget(kCellStyle); s && s->kind == GADGET_TEXT) style = *s;
    if (Cgadget* s = row.findGadget(kCellStyle)) s->hidden = true;   // a style, not a cell

    float total = 0;
    for (auto& c : columns) total += c.width;
    float left = -total * 0.5f;
    for (auto& c : columns) {
        const EgadgetKind kind = c.sprite && !isHeader ? GADGET_SPRITE : GADGET_TEXT;
        Cgadget* g = row.findGadget(c.name);
        if (!g || g->kind != kind) {
            if (kind == GADGET_TEXT) {
                row.gadgets.push_back(style);
                row.gadgets.back().text = CbString();
                row.gadgets.back().textKey.clear();
            } else {
                row.gadgets.emplace_back();
                float side = std::min(c.width, row.height) * kIconFill;
                row.gadgets.back().width = side;
                row.gadgets.back().height = side;
            }
            g = &row.gadgets.back();
            g->kind = kind;
            g->name = c.name;
            g->hidden = false;
        }
        g->offsetX = left + c.width * 0.5f;
        if (kind == GADGET_TEXT) {
            g->width = std::max(1.0f, c.width - 2 * kCellGap);
            g->align = c.align;
        }
        left += c.width;
    }
}

bool Ctable::build() {
    header_.reset();
    bool anyHeading = std::any_of(columns.begin(), columns.end(), [](auto& c) { return !c.headingTag.empty(); });
    if (!anyHeading) return true;
    header_ = gUi->createWidget(headerTemplate.empty() ? itemTemplate : headerTemplate);
    if (!header_) return false;
    header_->name = name + ".Header";
    header_->selectable = false;
    placeColumns(*header_);
    for (auto& c : columns)
        if (!c.headingTag.empty()) header_->setGadgetTextKey(c.name, c.headingTag);
    return true;
}

Cwidget* Ctable::addRow(int64_t value, const std::vector<std::string>& texts, int position) {
    CwidgetPtr w = gUi->createWidget(itemTemplate);
    if (!w) return nullptr;
    placeColumns(*w);
    size_t next = 0;
    for (auto& c : columns) {
        if (c.sprite) continue;
        if (next >= texts.size()) break;
        w->setText(c.name, texts[next++]);
    }
    w->value = value;
    Cwidget* row = insertItem(std::move(w), position);
    positionItems();
    return row;
}

int Ctable::columnIndex(const std::string& column) const {
    for (size_t i = 0; i < columns.size(); ++i)
        if (equalsIgnoreCase(columns[i].name, column)) return (int)i;
    return -1;
}

Cgadget* Ctable::cell(size_t rowIdx, const std::string& column) const {
    int c = columnIndex(column);
    return c < 0 ? nullptr : cell(rowIdx, (size_t)c);
}

Cgadget* Ctable::cell(size_t rowIdx, size_t column) const {
    Cwidget* r = row(rowIdx);
    if (!r || column >= columns.size()) return nullptr;
    return r->findGadget(columns[column].name);
}

void Ctable::setCellText(size_t rowIdx, const std::string& column, const std::string& text) {
    Cgadget* g = cell(rowIdx, column);
    if (!g || g->kind != GADGET_TEXT) {
        gEngine->log.print(LOG_L, "Can't find cell: %s of row %d in %s", column.c_str(), (int)rowIdx, name.c_str());
        return;
    }
    g->text = CbString(text);
    g->textKey.clear();
}

float Ctable::headerSpace() const { return header_ ? (header_->height + spacing) * gUi->scale() : 0.0f; }

Crect Ctable::areaRect() const {
    Crect r = blockRect();
    float h = std::min(headerSpace(), r.h);
    r.y += h;
    r.h -= h;
    return r;
}

void Ctable::layout() {
    if (header_) {
        Crect block = blockRect();
        float s = gUi->scale();
        header_->uiScale = s;
        header_->x = block.cx();
        header_->y = block.y + header_->height * s * 0.5f;
    }
    Cmenu::layout();
}

void Ctable::render(float alpha) {
    if (!shown()) return;
    if (header_) header_->render(alpha);
    Cmenu::render(alpha);
}
