#pragma once
// Several one-row choice menus on one screen (volumes, stick settings): up
// and down pick the row, left and right step along it, and the pointer
// picks the row it is over. A row is a label followed by its choices.
#include <string>
#include <vector>

class Cmenu;
class Cwidget;

class CmenuRows {
public:
    void setMenus(std::vector<Cmenu*> menus);
    // Fills a row: the label (not selectable), then one choice per text,
    // each carrying its int and float values.
    static void fillRow(Cmenu* menu, const std::string& labelTag, const std::string& itemTemplate,
                        const std::vector<std::string>& texts, const std::vector<float>& values, float step);
    // The choice whose value is nearest, selected.
    static void selectValue(Cmenu* menu, float value);
    // The selected choice's float value, or fallback.
    static float selectedValue(const Cmenu* menu, float fallback);

    // Before the screen's update: moves the focus among the rows.
    void update();
    void focus(int row);
    int current() const { return current_; }

private:
    std::vector<Cmenu*> menus_;
    int current_ = 0;
};
