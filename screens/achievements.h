#pragma once
// CachievementsScreen: the game's achievements, one category at a time, with
// their progress; category 0 lists the milestones waiting to be claimed.
#include "screens/layoutScreen.h"

class CachievementsScreen : public ClayoutScreen {
public:
    CachievementsScreen();

    int category() const { return category_; }
    Cmenu* menu() const { return menu_; }
    Cwidget* leftArrow() const { return leftArrow_; }
    Cwidget* rightArrow() const { return rightArrow_; }

private:
    void onEnter() override;
    void onUpdate() override;
    void buildList();

    static const CwidgetBinding kBindings[];
    Cmenu* menu_ = nullptr;
    Cwidget* title_ = nullptr;
    Cwidget* categoryName_ = nullptr;
    Cwidget* rightArrow_ = nullptr;
    Cwidget* leftArrow_ = nullptr;
    int category_ = 0;
};
