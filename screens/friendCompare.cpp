#include "screens/friendCompare.h"

#include "engine/engine.h"
#include "game/game.h"
#include "screens/confirm.h"
#include "screens/exit.h"
#include "screens/findPlayer.h"
#include "screens/screenRegistry.h"

const CwidgetBinding CfriendCompareScreen::kBindings[] = {
    {&CfriendCompareScreen::menu_, "Menu"},
    {&CfriendCompareScreen::friend1_, "Friend1"},
    {&CfriendCompareScreen::friend2_, "Friend2"},
    {&CfriendCompareScreen::flag1_, "Flag1"},
    {&CfriendCompareScreen::flag2_, "Flag2"},
    {&CfriendCompareScreen::left_, "Friend2LeftArrow"},
    {&CfriendCompareScreen::right_, "Friend2RightArrow"},
    {&CfriendCompareScreen::noFriends_, "NoFriends"},
};

CfriendCompareScreen::CfriendCompareScreen() : ClayoutScreen("friendCompare.txt", kBindings) {}

bool CfriendCompareScreen::onLoaded() {
    if (menu_) menu_->setFocused(false);
    return true;
}

Cwidget* CfriendCompareScreen::widget(const char* name) const {
    return screen_ ? screen_->findWidget(name, false) : nullptr;
}

void CfriendCompareScreen::open(int returnState, bool transition) {
    returnState_ = returnState;
    gGame->setGameMode(GM_FRIEND_COMPARE, transition);
}

void CfriendCompareScreen::onEnter() {
    bool pad = gEngine->input.inputMode == DEVICE_CONTROLLER;
    if (pad) {
        const Cjoystick* j = gEngine->input.joysticks.slot(gEngine->input.currentJoystick);
        bool ps4 = j && j->name.find("PS4") != std::string::npos;
        left_->setSprite("", ps4 ? "ui_PS4_LB.png" : "ui_xbox_LB.png");
        right_->setSprite("", ps4 ? "ui_PS4_RB.png" : "ui_xbox_RB.png");
    }
    gUi->buttonBar.addButtonByKey("DeleteFriend", ACTION_OPTION_X, ICON_X);
    if (!pad) gUi->buttonBar.addButtonByKey("FindFriend", ACTION_SELECT, ICON_OK);
    gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);
    askedDelete_ = false;
    const CfriendList& friends = gGame->online.friends;
    cursor_.validate(friends);
    int n = friends.getNumFriendsOfType(0);
    noFriends_->setHidden(n != 0);
    friend2_->setHidden(n == 0);
    flag2_->setHidden(n == 0);
    left_->setHidden(n < 2);
    right_->setHidden(n < 2);
    gUi->buttonBar.setButtonHidden(ACTION_OPTION_X, n == 0);
    if (n == 0) noFriends_->startEffect(EFFECT_POP_IN, 0, nullptr, 0, 0.2f);
    else friend2_->startEffect(EFFECT_SCALE_FROM, 0, nullptr, 0, 0.2f);
    requested_ = false;
    waiting_ = false;
    fill();
}

void CfriendCompareScreen::addRow(const CcompareRow& row) {
    const CstringTable& t = gEngine->language();
    if (row.kind == CcompareRow::SECTION) {
        if (menu_->itemCount() > 0) menu_->addTextItem("ShortMenuBreak", "", -1)->selectable = false;
        CwidgetPtr w = gUi->createWidget("BigText");
        if (!w) return;
        w->setTextKey(row.title);
        menu_->insertItem(std::move(w), -1, false, 0, 0, false);
        return;
    }
    CwidgetPtr l = gUi->createWidget("compareMenuItemLeft");
    if (!l) return;
    l->setText("Title", t.text(row.title));
    l->setText("Value", row.left);
    // The greater side sits on the green brush; equal sides on neither.
    if (Cgadget* g = l->findGadget("Brush")) g->hidden = row.greater <= 0;
    // The row's title starts 270 left of its middle: at -220 it stays inside
    // the list (1000 wide), whose clip cut it at -300.
    menu_->insertItem(std::move(l), -1, false, -220, 0, false);
    if (!row.differs) return;
    CwidgetPtr r = gUi->createWidget("CompareMenuItemRight");
    if (!r) return;
    r->setText("Value", row.right);
    if (Cgadget* g = r->findGadget("Brush")) g->hidden = row.greater >= 0;
    menu_->insertItem(std::move(r), -1, true, 580, 0, false);
}

void CfriendCompareScreen::fill() {
    menu_->clearItems();
    CplayerStatsCache& cache = gGame->statsCache;
    const CfriendList& friends = gGame->online.friends;
    const CplayerStatsRecord& left = cache.local;
    const CplayerStatsRecord* right = &left;
    uint64_t id = cursor_.id(friends);
    const CfriendEntry* compared = friends.findById(id);
    const uint64_t statsKey = compared ? compared->statsKey() : id;
    // Asked for and still missing: the friend's statistics are not
    // available, which is not the same as a record of zeros.
    bool unavailable = false;
    if (cursor_.index() != CfriendCursor::kNone && id != 0) {
        right = cache.findPlayer(statsKey);
        if (!right && requested_) {
            scratch_ = CplayerStatsRecord();
            right = &scratch_;
            unavailable = true;
        }
        if (!right) {
            cache.queuePlayer(statsKey);
            gUi->loadingIndicator.show(gEngine->language().text("Working"));
            waiting_ = true;
            requested_ = true;
            return;
        }
    }
    friend1_->setText("", getPlayerNameById(cache, -1));
    std::string rightName = right == &left || unavailable ? std::string() : getPlayerNameById(cache, (int64_t)statsKey);
    if (rightName.empty() && right != &left) rightName = compared ? compared->name : "";
    friend2_->setText("", rightName);
    auto flagOf = [](const std::string& code) {
        std::string f = "flag_" + code + ".png";
        for (auto& c : f) c = (char)tolower((unsigned char)c);
        return !code.empty() && gEngine->sprites.findSprite(f, false) ? f : std::string("flag_unknown.png");
    };
    flag1_->setSprite("", flagOf(left.countryCode));
    flag2_->setSprite("", flagOf(right->countryCode));
    std::vector<CcompareRow> rows = compareRows(left, *right);
    if (unavailable) markRightUnavailable(rows);
    for (const CcompareRow& row : rows) addRow(row);
    if (!laidOut_) laidOut_ = true;
    menu_->layout();
}

void CfriendCompareScreen::askDelete() {
    const CfriendList& friends = gGame->online.friends;
    deleteId_ = cursor_.id(friends);
    if (deleteId_ == 0) return;
    CconfirmScreen& c = *screens::get<CconfirmScreen>();
    c.reset();
    const CstringTable& t = gEngine->language();
    c.setTitle(t.text("DeleteFriend"));
    c.setMessage(t.text("AreYouSure"));
    c.addMenuItem(t.text("YES"), 1);
    c.addMenuItem(t.text("NO"), 0);
    c.allowBack = true;
    c.enter();
    askedDelete_ = true;
}

void CfriendCompareScreen::deleteCompared() {
    // The friend asked about, by id: the list may have changed meanwhile.
    CfriendList& friends = gGame->online.friends;
    const CfriendEntry* f = friends.findById(deleteId_);
    if (f && f->type == 0) {
        friends.removeById(deleteId_);
        gGame->saveRequested = 1;   // friends go with the game save
        gEngine->log.print(LOG_L, "Friend %llu deleted", (unsigned long long)deleteId_);
    }
    cursor_.validate(friends);
    stopWaiting();
    gGame->setGameMode(GM_FRIEND_COMPARE);
}

void CfriendCompareScreen::stopWaiting() {
    if (!waiting_) return;
    waiting_ = false;
    gUi->loadingIndicator.hide();
}

void CfriendCompareScreen::onUpdate() {
    // A friend's statistics may be slow to come: the keys work meanwhile.
    if (waiting_ && !gGame->statsCache.requestsPending()) {
        stopWaiting();
        fill();
        return;
    }
    CconfirmScreen& c = *screens::get<CconfirmScreen>();
    if (askedDelete_ && !c.showing()) {
        askedDelete_ = false;
        if (c.chosen && !c.backedOut && c.value == 1.0f) {
            deleteCompared();
            return;
        }
    }
    int action = gUi->action();
    const CfriendList& friends = gGame->online.friends;
    if (action == ACTION_OPTION_X && friends.getNumFriendsOfType(0) > 0) {
        askDelete();
        return;
    }
    bool stepLeft = screen_->wasPressed(left_) || action == ACTION_LB;
    bool stepRight = screen_->wasPressed(right_) || action == ACTION_RB;
    if ((stepLeft || stepRight) && friends.getNumFriendsOfType(0) > 1) {
        if (stepLeft) cursor_.left(friends);
        else cursor_.right(friends);
        requested_ = false;
        fill();
        return;
    }
    if (action == ACTION_BACK) {
        stopWaiting();
        gGame->setGameMode(returnState_, true);
    } else if (action == ACTION_SELECT) {
        stopWaiting();
        screens::get<CfindPlayerScreen>()->open(GM_FRIEND_COMPARE);
    }
}

