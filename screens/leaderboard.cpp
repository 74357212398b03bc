#include "screens/leaderboard.h"

#include "engine/engine.h"
#include "engine/ui/uiMgr.h"
#include "game/game.h"
#include "engine/ui/table.h"
#include "online/leaderboardMgr.h"
#include "online/serviceCall.h"
#include "screens/dailyTracks.h"
#include "screens/exit.h"
#include "screens/listRows.h"
#include "screens/screenRegistry.h"

namespace {
constexpr int kActionBack = 2;

CleaderboardMgr& boards() { return gGame->online.leaderboards; }

// The ship kind the boards belong to lives with the game and the board client.
void setStandardShip(bool standard) {
    gGame->standardShipFlag = standard ? 1 : 0;
    boards().standardShipFlag = standard ? 1 : 0;
}

bool basicBoard(int index) {
    return index == CleaderboardMgr::kXpBoard || index == CleaderboardMgr::kBossRushBoard ||
           index == CleaderboardMgr::kSurvivalBoard || index == CleaderboardMgr::kBossRushBoard + 10 ||
           index == CleaderboardMgr::kSurvivalBoard + 10;
}
}  // namespace

const CwidgetBinding CleaderboardScreen::kBindings[] = {
    {&CleaderboardScreen::subTitle_, "BoardSubTitle"},
    {&CleaderboardScreen::noScores_, "NoScores"},
    {&CleaderboardScreen::basicRows_, "BasicRows"},
    {&CleaderboardScreen::perSongRows_, "PerSongRows"},
    {&CleaderboardScreen::generalRows_, "GeneralTracksRows"},
    {&CleaderboardScreen::list_, "List"},
    {&CleaderboardScreen::shipCross_, "StandardShipSpriteCross"},
    {&CleaderboardScreen::shipSprite_, "StandardShipSprite"},
    {&CleaderboardScreen::shipText_, "StandardShip"},
};

CleaderboardScreen::CleaderboardScreen() : ClayoutScreen("leaderboard.txt", kBindings) {}

bool CleaderboardScreen::onLoaded() {
    boardIndex_ = 0;
    choosing_ = true;
    rows_ = basicRows_;
    return true;
}

// One table shows at a time; the others and the "no scores" line hide.
void CleaderboardScreen::showRows(Cmenu* table, bool withTransition) {
    for (Cmenu* t : {basicRows_, perSongRows_, generalRows_})
        if (t != table) t->setVisible(false);
    noScores_->setHidden(true);
    rows_ = table;
    if (!table) return;
    if (withTransition)
        table->setVisibleWithTransition(true);
    else
        table->setVisible(true);
}

void CleaderboardScreen::open(int returnState, const CsongPackInfo* track, bool standardShip, bool enter) {
    returnState_ = returnState;
    hasTrack_ = track != nullptr;
    track_ = track ? *track : CsongPackInfo();
    trackStandardShip_ = standardShip;
    if (enter) gGame->setGameMode(GM_LEADERBOARD);
}

void CleaderboardScreen::setSubtitle(const char* text) { subTitle_->setText("", text ? text : ""); }

void CleaderboardScreen::setShipWidgets() {
    bool standard = gGame->standardShipFlag != 0;
    shipText_->setHidden(false);
    shipSprite_->setHidden(false);
    shipCross_->setHidden(standard);
    shipText_->setGadgetTextKey("", standard ? "StandardShip" : "OtherShip");
}

void CleaderboardScreen::requestShownBoard() {
    bool standard = gGame->standardShipFlag != 0;
    if (hasTrack_)
        boards().requestTrackBoard(track_.getKey(), standard);
    else
        boards().requestBoardDownload(boardIndex_, standard);
}

void CleaderboardScreen::fillBoardList() {
    list_->clearItems();
    auto add = [&](int index) {
        const Cboard* b = boards().board(index);
        Cwidget* item = list_->addTextItem("MenuItem", gEngine->text(b ? b->title : std::string()), index);
        if (item) item->value = index;
    };
    add(CleaderboardMgr::kDailyTracksBoard);
    add(CleaderboardMgr::kXpBoard);
    int first = gGame->standardShipFlag ? 1 : 11;
    for (int i = first; i < first + 9; ++i) add(i);
    list_->layout();
    setSubtitle(gEngine->text("SelectBoard"));
}

void CleaderboardScreen::onEnter() {
    gUi->buttonBar.addButtonByKey("BACK", kActionBack, 1);
    if (hasTrack_) {
        list_->setVisible(false);
        showRows(perSongRows_, true);
        perSongRows_->clearItems();
        setSubtitle("");
        choosing_ = false;
        savedStandardShip_ = gGame->standardShipFlag != 0;
        setStandardShip(trackStandardShip_);
    } else {
        showRows(nullptr, false);
        list_->setVisible(true);
        subTitle_->startEffect(EFFECT_GROW_IN);
        setSubtitle(gEngine->text("SelectBoard"));
        choosing_ = true;
        savedStandardShip_ = gGame->standardShipFlag != 0;
    }
    if (!choosing_) {
        requestShownBoard();
        gUi->loadingIndicator.show(gEngine->text("Working"));
        return;
    }
    fillBoardList();
    setShipWidgets();
}

const Cboard* CleaderboardScreen::shownBoard() {
    if (hasTrack_) return boards().getShipBoard(gGame->standardShipFlag != 0, track_.getKey());
    return boards().board(boardIndex_);
}

void CleaderboardScreen::onUpdate() {
    if (gUi->loadingIndicator.showing) {
        const Cboard* b = shownBoard();
        if (!b || !b->queued) {
            gUi->loadingIndicator.hide();
            showBoard();
            return;
        }
        // Back never waits for the service; the download goes on into the
        // boards, and this screen no longer looks at it.
        if (gUi->action() != kActionBack) return;
        gUi->loadingIndicator.hide();
    }
    if (choosing_) {
        if (Cwidget* item = list_->highlightedItem()) {
            gGame->playTransitionEffect(item);
            boardIndex_ = (int)item->value;
            if (boardIndex_ == CleaderboardMgr::kDailyTracksBoard) {
                if (CdailyTracksScreen* tracks = screens::get<CdailyTracksScreen>()) tracks->open(GM_LEADERBOARD);
                return;
            }
            requestShownBoard();
            gEngine->log.print(LOG_L, "Leaderboard: board %d opened", boardIndex_);
            choosing_ = false;
            list_->setVisibleWithTransition(false);
            showRows(basicBoard(boardIndex_) ? basicRows_ : generalRows_, true);
            rows_->clearItems();
            subTitle_->startEffect(EFFECT_GROW_IN);
            const Cboard* b = shownBoard();
            if (b && b->queued)
                gUi->loadingIndicator.show(gEngine->text("Working"));
            else
                showBoard();
            return;
        }
    }
    if (gUi->action() != kActionBack) return;
    gGame->playTransitionEffect(nullptr);
    if (!hasTrack_ && !choosing_) {
        choosing_ = true;
        list_->setVisibleWithTransition(true);
        if (rows_) rows_->setVisibleWithTransition(false);
        noScores_->setHidden(true);
        subTitle_->startEffect(EFFECT_GROW_IN);
        setSubtitle(gEngine->text("SelectBoard"));
        setShipWidgets();
        gEngine->log.print(LOG_L, "Leaderboard: boards listed");
        return;
    }
    setStandardShip(savedStandardShip_);
    int back = returnState_;
    // The hand-over is used once: a later entry without open() shows the list.
    open(GM_MAIN_MENU, nullptr, gGame->standardShipFlag != 0, false);
    gGame->setGameMode(back);
}

void CleaderboardScreen::showBoard() {
    if (hasTrack_)
        fillPerSongList();
    else if (basicBoard(boardIndex_))
        fillBasicList();
    else
        fillGeneralTracksList();
    if (!hasTrack_ && boardIndex_ == CleaderboardMgr::kXpBoard) {
        for (Cwidget* w : {shipCross_, shipSprite_, shipText_}) w->setHidden(true);
    } else {
        setShipWidgets();
    }
}

namespace {
using CrowFill = void (*)(Cwidget*, const Cboard&, const CboardEntry&, int, uint64_t);

// One row per entry, ranked from 1, against the first entry's score.
int fillRows(Cmenu* menu, const Cboard* b, CrowFill fill) {
    auto* table = static_cast<Ctable*>(menu);
    table->clearRows();
    int rank = 0;
    if (b) {
        uint64_t top = b->entries.empty() ? 0 : b->entries[0].score;
        for (const CboardEntry& e : b->entries)
            if (Cwidget* row = table->addRow(rank + 1, {})) fill(row, *b, e, ++rank, top);
    }
    table->layout();
    return rank;
}
}  // namespace

void CleaderboardScreen::fillBasicList() {
    const Cboard* b = boards().board(boardIndex_);
    setSubtitle(b ? gEngine->text(b->title) : "");
    showRows(basicRows_, false);
    showEmptyOrTrouble(b, fillRows(basicRows_, b, &fillBasicBoardRow));
}

void CleaderboardScreen::fillGeneralTracksList() {
    const Cboard* b = boards().board(boardIndex_);
    setSubtitle(b ? gEngine->text(b->title) : "");
    showRows(generalRows_, false);
    showEmptyOrTrouble(b, fillRows(generalRows_, b, &fillGeneralTracksRow));
}

void CleaderboardScreen::fillPerSongList() {
    const Cboard* b = boards().getShipBoard(gGame->standardShipFlag != 0, track_.getKey());
    setSubtitle(gGame->music.getTrackLabel(&track_, 1).c_str());
    showRows(perSongRows_, false);
    showEmptyOrTrouble(b, fillRows(perSongRows_, b, &fillPerSongBoardRow));
}

void CleaderboardScreen::showEmptyOrTrouble(const Cboard* b, int rows) {
    const EcallFailure failure = b ? b->failure : CALL_NO_FAILURE;
    if (rows == 0 && k4wSOAP::serviceOff()) {
        noScores_->setTextKey("ServiceOffline");
        noScores_->setHidden(false);
        return;
    }
    if (failure == CALL_NO_FAILURE) {
        // The XP and high-score boards always hold the player's own row.
        noScores_->setTextKey("NoScores");
        noScores_->setHidden(rows != 0 || (!hasTrack_ && basicBoard(boardIndex_)));
        return;
    }
    gEngine->log.print(LOG_L, "Leaderboard: %s not downloaded (%s)", b->name.c_str(), callFailureName(failure));
    if (rows == 0) {
        // Nothing to show: the line says why instead of "No scores".
        noScores_->setTextKey(callFailureTag(failure));
        noScores_->setHidden(false);
        return;
    }
    noScores_->setHidden(true);
    gUi->popups.showMessage(gEngine->text("ServiceOldData"));
}
