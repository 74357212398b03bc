#include "screens/achievements.h"

#include <algorithm>

#include "engine/engine.h"
#include "engine/ui/menu.h"
#include "engine/ui/screen.h"
#include "game/game.h"
#include "screens/tabKeys.h"

namespace {
// Claim buttons carry the waiting entry's index above this, apart from rows.
constexpr int64_t kClaimBase = 1000;
}  // namespace

const CwidgetBinding CachievementsScreen::kBindings[] = {
    {&CachievementsScreen::menu_, "Menu"},
    {&CachievementsScreen::title_, "Title"},
    {&CachievementsScreen::categoryName_, "Category"},
    {&CachievementsScreen::rightArrow_, "RightArrow"},
    {&CachievementsScreen::leftArrow_, "LeftArrow"},
};

CachievementsScreen::CachievementsScreen() : ClayoutScreen("achievements.txt", kBindings) {}

void CachievementsScreen::onEnter() {
    gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);
    buildList();
}

void CachievementsScreen::buildList() {
    CachievementDefs& defs = gGame->achievements;
    int last = std::max(defs.getNumCategories() - 1, 0);
    category_ = std::clamp(category_, 0, last);
    menu_->clearItems();
    categoryName_->setText("", defs.getCategoryTitle(category_));
    int rows = 0;
    for (int i = 0; i < defs.getNumInCategory(category_); ++i) {
        CachievementDef* a = defs.getAchievementInCategory(category_, i);
        if (!a) continue;
        int reached = category_ == 0 ? defs.getWaitingMilestones(i) : defs.getNumMilestonesReached(*a);
        bool complete = category_ != 0 && reached >= a->getNumMilestones();
        CwidgetPtr row = gUi->createWidget("AchievementMenuItem");
        if (!row) return;
        row->value = i;
        row->setText("Title", a->title.empty() ? std::string() : gEngine->text(a->title));
        row->setText("Desc", a->desc.empty() ? std::string() : gEngine->text(a->desc));
        if (Cgadget* g = row->findGadget("ProgressBar")) g->hidden = complete;
        if (Cgadget* g = row->findGadget("Progress")) g->hidden = complete;
        if (Cgadget* g = row->findGadget("Completed")) g->hidden = !complete;
        if (!complete) {
            float fill = category_ == 0 ? 1.0f : std::clamp(a->progressValue(), 0.0f, 1.0f);
            row->setProgress("ProgressBar", fill);
            row->setText("Progress", achievementProgressText(defs, *a, category_, reached));
        }
        if (!a->sprite.empty()) row->setSprite("SpriteName", a->sprite);
        menu_->insertItem(std::move(row));
        ++rows;
        if (category_ == 0) {
            CwidgetPtr claim = gUi->createWidget("AchievementClaimButton");
            if (claim) {
                claim->value = kClaimBase + i;
                menu_->insertItem(std::move(claim), -1, true, 330, -30);
            }
        }
    }
    menu_->layout();
    bool nothingWaiting = gGame->progress.waitingAchievements.empty();
    leftArrow_->setHidden(category_ == 0 || (category_ == 1 && nothingWaiting));
    rightArrow_->setHidden(category_ >= last);
    if (category_ == 0 && rows == 0 && last > 0) {
        category_ = 1;
        buildList();
    }
}

void CachievementsScreen::onUpdate() {
    if (Cwidget* pressed = menu_->findPressedItem(); pressed && pressed->value >= kClaimBase) {
        if (gGame->achievements.claimWaiting((int)(pressed->value - kClaimBase))) buildList();
        return;
    }
    // The arrows by pointer; by keys and pads the shoulder buttons or Tab step the same way.
    const int step = tabStepRequested();
    if (!rightArrow_->hidden && (rightArrow_->pressed || step > 0)) {
        ++category_;
        buildList();
    } else if (!leftArrow_->hidden && (leftArrow_->pressed || step < 0)) {
        --category_;
        buildList();
    } else if (!menu_->highlightedItem() && gUi->action() == ACTION_BACK) {
        gGame->setGameMode(GM_MAIN_MENU, true);
    }
}
