#pragma once
// CrowSource: the rows of a long list, held by their owner as small records.
// A menu given rows makes a row's widgets only while the row is near view and
// drops them once it is far, so that a list costs little per row however long
// it grows. Every row's head has the same height.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/ui/widget.h"

class CrowSource {
public:
    virtual ~CrowSource() = default;
    virtual size_t rowCount() const = 0;
    // How many items the row makes, its head and the items attached after it;
    // fixed for the row, so that item indexes stay put as rows come and go.
    virtual size_t rowItems(size_t row) const = 0;
    // Whether the row's item (0 is the head) can be selected, known without making it.
    virtual bool selectable(size_t row, size_t slot) const = 0;
    // The value every item of the row carries.
    virtual int64_t rowValue(size_t row) const = 0;
    // The head's height in layout pixels.
    virtual float rowHeight() const = 0;
    // Appends the row's widgets to out, the head first, each with its
    // selectable flag and its offset from the head (rowDx, rowDy) set.
    virtual void makeRow(size_t row, std::vector<CwidgetPtr>& out) = 0;
};
