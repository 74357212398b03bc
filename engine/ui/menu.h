#pragma once
// Cmenu: a list of item widgets with a selection, driven by keyboard,
// controller, pointer and touch. Items carry a float kind and a 64-bit value;
// the pair -1/-1 marks a locked item. A long list is given as rows instead
// (setRows): its items are then made only near view.
#include <memory>
#include <string>
#include <vector>

#include "engine/ui/rowSource.h"
#include "engine/ui/widget.h"

class Cscreen;
struct CuiInput;

class Cmenu {
public:
    // An "Item <tag> <value>" line of the layout.
    struct ClayoutItem {
        std::string tag;
        int64_t value = 0;
    };

    Cmenu() = default;
    virtual ~Cmenu() = default;
    Cmenu(const Cmenu&) = delete;
    Cmenu& operator=(const Cmenu&) = delete;

    std::string name;
    Cscreen* screen = nullptr;
    float anchorX = 0.5f, anchorY = 0.5f, offsetX = 0, offsetY = 0;   // top centre of the item column
    float width = 400, height = 400;                                   // layout pixels
    std::string itemTemplate = "MenuItem";
    float spacing = 8;
    std::string titleStyle;     // the title's template; empty: "MenuTitle"
    CbString title;             // drawn above the items; a title tag wins over it
    std::string titleKey;
    std::string emptyKey;       // said in the box while the list has no rows
    bool arrowChoice = false;   // left/right step the selected item's choice
    bool focused = true;
    bool hidden = false;
    bool overBars = false;      // drawn over the music bar or the button bar on purpose
    bool wrap = true;           // moving past an end wraps round
    // The box's bottom keeps its share of the screen's height, so that a
    // window taller than 16:9 (16:10, 4:3) shows more rows rather than a gap.
    bool grow = false;
    int playerIdx = 0;
    std::vector<std::string> groups;   // as a widget's; groupHidden kept by the screen
    bool groupHidden = false;
    // A menu with rows holds null for the items of rows not made.
    std::vector<CwidgetPtr> items;
    std::vector<ClayoutItem> layoutItems;

    bool inGroup(const std::string& group) const;
    bool shown() const { return !hidden && !groupHidden; }

    void clearItems();
    // The list's rows in place of its items (the menu owns them); the rows
    // near view are made at once. Items are not inserted into such a list.
    void setRows(std::unique_ptr<CrowSource> rows);
    // Appends an item of the item template for each of the layout's Item lines:
    // its text from the tag, named after the tag, with the line's value.
    void addLayoutItems();
    // Back to the layout's items alone.
    void resetToLayoutItems();
    // Inserts a widget (the menu owns it) at position (-1 appends).
    Cwidget* insertItem(CwidgetPtr widget, int position = -1, bool attachToPrevious = false, float dx = 0,
                        float dy = 0, bool selectable = true);
    Cwidget* addTextItem(const std::string& templ, const std::string& text, int64_t value);
    Cwidget* addTextItemByKey(const std::string& templ, const std::string& tag, bool selectable = true);
    Cwidget* addTextItemByKey(const std::string& templ, const std::string& tag, int64_t value);
    void setTitleKey(const std::string& tag);
    // What an empty list says (an empty tag: nothing).
    void setEmptyTextKey(const std::string& tag) { emptyKey = tag; }
    // The title as drawn now (its tag in the current language), or empty.
    std::string titleText() const;

    // Places the items (after a change of items or of position).
    virtual void layout();
    void positionItems();

    // Per-step input; called by the screen.
    void update(const CuiInput& in, bool inputHeld);
    virtual void render(float alpha = 1.0f);
    // A fixed row drawn above the items (a table's column headings), or none.
    virtual Cwidget* header() const { return nullptr; }

    // The item activated in this step, or none (none while input is held).
    Cwidget* highlightedItem() const { return activated_; }
    // The item pressed with the pointer in this step, or none.
    Cwidget* findPressedItem() const { return pointerPressed_; }
    // -1 or +1 when left/right stepped the selected item in arrow-choice mode.
    int arrowStep() const { return arrowStep_; }

    int getSelectedIdx() const { return selected_; }
    Cwidget* getSelectedItem() const;
    int64_t getSelectedItemInt() const;
    float getSelectedItemFloat() const;
    void setSelectedIdx(int idx, bool animate = false);
    void requestSelectedIdx(int idx) { requested_ = idx; }
    // One settle step: moves the selection to the requested index.
    void applyRequestedSelection();
    int itemIndex(const Cwidget* w) const;
    size_t itemCount() const { return items.size(); }
    // The item, its row made first if it was not (it goes again once far from view).
    Cwidget* item(size_t i) const;
    // The item if it is made, else null: for walks that must not make rows.
    Cwidget* madeItem(size_t i) const { return i < items.size() ? items[i].get() : nullptr; }
    // The item's value, made or not; -1 out of range.
    int64_t itemValue(size_t i) const;
    // Whether the item is attached to the head of its row, made or not.
    bool attachedItem(size_t i) const;

    void setVisible(bool v) { hidden = !v; }
    void setVisibleWithTransition(bool v);
    void setPlayerIdx(int idx) { playerIdx = idx; }
    void setFocused(bool f) { focused = f; }
    // Rows are clipped to the list's area, set by every layout(); a screen
    // may clip to another rectangle until the next layout.
    void setClipRect(const Crect& r) { clip_ = r; hasClip_ = true; }
    void clearClipRect() { hasClip_ = false; }
    bool hasClipRect() const { return hasClip_; }
    const Crect& clipRect() const { return clip_; }
    float scrollOffset() const { return scroll_; }
    // Scrolls to that offset (pixels), clamped to the list's length.
    void setScrollOffset(float offset);
    void scrollBy(float pixels) { setScrollOffset(scroll_ + pixels); }
    float maxScrollOffset() const;
    // More rows than the box shows: the list draws a bar beside its box
    // saying how much lies above and below.
    bool scrolls() const { return maxScrollOffset() > 0.5f; }
    // Where the items go, in pixels: the block's Pos, Offset and Size.
    virtual Crect areaRect() const;
    // The items that may show inside the clip rectangle, with a list's height
    // to spare above and below for effects that move them: [first, end).
    // The whole list while the items have not been placed since they changed
    // (never for a list with rows: those are the rows it keeps made).
    void itemsNearClip(size_t& first, size_t& end) const;

protected:
    Crect blockRect() const;

private:
    bool isSelectable(int idx) const;
    Cwidget* itemAt(size_t i);
    size_t rowOf(size_t item) const;
    void positionRows();
    void placeRow(size_t row);
    void makeRow(size_t row);
    void makeRowsNearClip();
    void dropFarRows();
    void nearRange(const Crect& clip, size_t& first, size_t& end) const;
    void moveSelection(int dir);
    void moveInRow(int dir);
    void keepSelectionVisible();
    bool anySelectable() const;
    // The selected item's highlight (focused) or current-choice mark
    // (unfocused); the item marked before loses its mark.
    void markSelection();
    void setMark(Cwidget* w, bool highlighted, bool chosen);
    void renderTitle(float alpha);
    void renderEmptyNote(float alpha);
    void renderScrollBar(float alpha);
    CwidgetPtr titleWidget_, emptyWidget_;   // made from their templates when first drawn
    int selected_ = -1;
    int requested_ = -1;
    Cwidget* activated_ = nullptr;
    Cwidget* pointerPressed_ = nullptr;
    int arrowStep_ = 0;
    float scroll_ = 0;        // pixels the list is scrolled up
    float contentHeight_ = 0;
    Crect clip_;
    bool hasClip_ = false;
    bool hideAfterEffect_ = false;
    // Each row's head (the items attached after it share its row) and the
    // top of the row as placed; rows are placed top to bottom.
    struct CrowSpan {
        size_t first;
        float top;
    };
    std::vector<CrowSpan> rows_;
    std::unique_ptr<CrowSource> rowSource_;
    std::vector<size_t> madeRows_;        // rows whose widgets are made
    std::vector<CwidgetPtr> making_;      // a row's widgets as its source makes them
    float tallestRow_ = 0;
    bool rowsPlaced_ = false;
    // The one item with a mark or a press set, so a frame touches no other.
    size_t markedIdx_ = 0;
    Cwidget* marked_ = nullptr;
    size_t pressedIdx_ = 0;
    Cwidget* pressedItem_ = nullptr;
    void setPressed(Cwidget& w);
    void clearPressed();
};
