#include "screens/NewsFeed.h"

#include "engine/engine.h"
#include "engine/format.h"
#include "game/game.h"
#include "screens/exit.h"
#include "screens/leaderboard.h"
#include "screens/screenRegistry.h"

namespace {
const char* const kButtonTags[] = {"", "FightBack", "Leaderboard", "ListenToTrack"};
const float kButtonDx[] = {0, 0, 260, -260};
}  // namespace

const CwidgetBinding CnewsFeedScreen::kBindings[] = {
    {&CnewsFeedScreen::menu_, "Menu"},
};

CnewsFeedScreen::CnewsFeedScreen() : ClayoutScreen("NewsFeed.txt", kBindings) {}

bool CnewsFeedScreen::onLoaded() {
    keepOnReturn_ = false;
    return true;
}

bool CnewsFeedScreen::padMode() const { return gEngine->input.inputMode == DEVICE_CONTROLLER; }

void CnewsFeedScreen::onEnter() {
    gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);
    if (!keepOnReturn_) buildList();
    lastSelection_ = -1;
    keepOnReturn_ = false;
}

void CnewsFeedScreen::buildList() {
    menu_->clearItems();
    const Cinbox& inbox = gGame->online.inbox;
    const CstringTable& t = gEngine->language();
    auto rows = newsFeed::rows(inbox, gGame->songLibrary);
    for (size_t r = 0; r < rows.size(); ++r) {
        const CnewsRow& row = rows[r];
        const CinboxEntry& e = inbox.entries()[(size_t)row.entry];
        if (r > 0) menu_->addTextItem("ShortMenuBreak", "", -1)->selectable = false;
        CwidgetPtr w = gUi->createWidget("NewsFeedDethroned");
        if (!w) return;
        w->value = row.entry;
        w->floatValue = 0;
        w->setText("Date", monthYearText((int64_t)e.day * 86400));
        if (row.trackMessage) {
            w->setText("Title", e.otherName + " " + t.text(row.titleTag));
            CsongPackInfo* track = newsFeed::trackOf(e, gGame->songLibrary);
            w->setText("Message2", gGame->music.getTrackLabel(track, 0));
        } else {
            w->setText("Title", t.text(row.titleTag));
            w->setText("Message2", "");
        }
        w->setText("Message3", std::string(t.text("NewScore")) + formatThousands64((int64_t)e.score));
        w->setText("Ship", e.shipName);
        if (e.read) {
            if (Cgadget* g = w->findGadget("NewTxt")) g->hidden = true;
            if (Cgadget* g = w->findGadget("NewSpr")) g->hidden = true;
        }
        menu_->insertItem(std::move(w), -1, false, 0, 0, padMode());
        for (EnewsAction a : newsFeed::buttonsOf(row)) {
            CwidgetPtr b = gUi->createWidget("buttonBrushSmallAndShort");
            if (!b) continue;
            b->setTextKey(kButtonTags[a]);
            b->value = row.entry;
            b->floatValue = (float)a;
            menu_->insertItem(std::move(b), -1, true, kButtonDx[a], 62, !padMode());
        }
    }
    if (rows.empty()) {
        CwidgetPtr w = gUi->createWidget("MediumTextWhiteWithShadow");
        if (w) {
            w->setTextKey("NoNews");
            menu_->insertItem(std::move(w), -1, false, 0, 0, false);
        }
    }
    menu_->layout();
    if (padMode()) menu_->setSelectedIdx(0);
}

void CnewsFeedScreen::updateButtonBar() {
    CbuttonBar& bar = gUi->buttonBar;
    bar.clear();
    Cwidget* sel = menu_->getSelectedItem();
    if (sel && sel->value >= 0) {
        CnewsRow row;
        const auto& entries = gGame->online.inbox.entries();
        if (sel->value < (int64_t)entries.size() && newsFeed::isTrackMessage(entries[(size_t)sel->value])) {
            CsongPackInfo* t = newsFeed::trackOf(entries[(size_t)sel->value], gGame->songLibrary);
            if (t && t->kind != SONG_OPEN_MIC) {
                bar.addButtonByKey("ListenToTrack", ACTION_OPTION_X, ICON_X);
                bar.addButtonByKey("FightBack", ACTION_SELECT, ICON_OK);
            }
            bar.addButtonByKey("Leaderboard", ACTION_OPTION_Y, ICON_Y);
        }
    }
    bar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);
}

void CnewsFeedScreen::act(int entry, EnewsAction wanted) {
    Cinbox& inbox = gGame->online.inbox;
    EnewsAction a = newsFeed::allowed(inbox, gGame->songLibrary, entry, wanted);
    if (a == NEWS_NONE) return;
    const CinboxEntry& e = inbox.entries()[(size_t)entry];
    CsongPackInfo* track = newsFeed::trackOf(e, gGame->songLibrary);
    switch (a) {
    case NEWS_FIGHT_BACK: {
        gGame->music.stopOpenMic();
        CgameSession& s = gGame->world.session;
        s.gameType = GAMETYPE_STANDARD;
        s.track = CtrackInfo();
        s.track.title = track->tags.title;
        s.track.artist = track->tags.artist;
        s.track.album = track->tags.album;
        s.track.genre = track->tags.genre;
        s.track.key = track->key;
        s.track.length = track->tags.length;
        s.track.entryType = track->kind == SONG_BUILT_IN ? CtrackInfo::ENTRY_BUILT_IN : CtrackInfo::ENTRY_FILE;
        s.difficulty = gGame->saveLoad.settings.defDifficulty;
        s.visualIntensity = gGame->saveLoad.settings.visIntensity;
        gGame->songLibrary.setCurrentTrack(track);
        inbox.markAllRead();
        gEngine->log.print(LOG_L, "News feed: fight back on %s", track->tags.title.c_str());
        gGame->setGameMode(GM_321_GO, true);
        break;
    }
    case NEWS_LEADERBOARD:
        keepOnReturn_ = true;
        if (CleaderboardScreen* board = screens::get<CleaderboardScreen>())
            board->open(GM_NEWS_FEED, track, newsFeed::isStandardShip(e.shipName), false);
        gGame->setGameMode(GM_LEADERBOARD, true);
        break;
    case NEWS_LISTEN:
        gGame->music.playTrack(track);
        break;
    default: break;
    }
}

void CnewsFeedScreen::onUpdate() {
    if (padMode()) {
        int sel = menu_->getSelectedIdx();
        if (sel != lastSelection_) {
            lastSelection_ = sel;
            updateButtonBar();
        }
    }
    int action = gUi->action();
    if (action == ACTION_BACK) {
        gGame->online.inbox.markAllRead();
        gGame->setGameMode(GM_MAIN_MENU, true);
        return;
    }
    if (padMode()) {
        Cwidget* sel = menu_->getSelectedItem();
        EnewsAction a = action == ACTION_SELECT     ? NEWS_FIGHT_BACK
                        : action == ACTION_OPTION_X ? NEWS_LISTEN
                        : action == ACTION_OPTION_Y ? NEWS_LEADERBOARD
                                                    : NEWS_NONE;
        if (sel && a != NEWS_NONE) act((int)sel->value, a);
        return;
    }
    if (Cwidget* item = menu_->highlightedItem()) {
        gGame->playTransitionEffect(item);
        act((int)item->value, (EnewsAction)(int)item->floatValue);
    }
}

