#pragma once
// Ctable: a menu whose items are rows of columns, for list screens. Each row
// is made from the row template (the menu's item template) and gets one
// gadget per column, named after the column and placed by the columns'
// widths, left to right, the whole set centred in the row. Selection,
// scrolling and pointer handling are the menu's; rows outside the table's
// area are clipped. Columns with heading tags give the table a header row
// above the rows, made from the header template.
#include <string>
#include <vector>

#include "engine/ui/menu.h"

struct CtableColumn {
    std::string name;
    float width = 100;          // layout pixels
    int align = ALIGN_LEFT;
    bool sprite = false;        // an icon cell instead of a text
    std::string headingTag;     // the header row's text, from the language table
};

class Ctable : public Cmenu {
public:
    // The text gadget of a row template that styles text cells (font,
    // colour, shadow) where the template has no gadget named like the column.
    static constexpr const char* kCellStyle = "Cell";

    std::vector<CtableColumn> columns;
    std::string headerTemplate;   // empty: the row template

    // Builds the header row; the layout reader calls it at the end of the block.
    // False (and logged) when the header template is missing.
    bool build();

    // A new row from the row template with the given texts in the text
    // columns, in column order (extra texts are ignored, missing ones left
    // empty). position -1 appends. Null when the row template is missing.
    Cwidget* addRow(int64_t value, const std::vector<std::string>& texts, int position = -1);
    void clearRows() { clearItems(); }
    size_t rowCount() const { return itemCount(); }
    Cwidget* row(size_t i) const { return item(i); }

    int columnIndex(const std::string& column) const;   // -1 when there is none
    // The gadget of one cell, for its text, colour or sprite; null when out of range.
    Cgadget* cell(size_t rowIdx, const std::string& column) const;
    Cgadget* cell(size_t rowIdx, size_t column) const;
    void setCellText(size_t rowIdx, const std::string& column, const std::string& text);

    Cwidget* header() const override { return header_.get(); }
    // The rows' part of the table: its area less the header row.
    Crect areaRect() const override;
    void layout() override;
    void render(float alpha = 1.0f) override;

private:
    // Gives a row (or the header) its column gadgets, placed by the columns.
    void placeColumns(Cwidget& row) const;
    float headerSpace() const;
    CwidgetPtr header_;
};
