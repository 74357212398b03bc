#include "screens/musicRadioBrowser.h"

#include "audio/songInfoMgr.h"
#include "engine/engine.h"
#include "engine/ui/uiMgr.h"
#include "game/game.h"
#include "screens/exit.h"
#include "screens/listRows.h"
#include "screens/tabKeys.h"

namespace {
constexpr int kActionSelect = 1, kActionBack = 2, kActionOptionX = 7;
constexpr float kTagHeart = 1.0f;

bool controllerMode() { return gEngine->input.inputMode == DEVICE_CONTROLLER; }
}  // namespace

const CwidgetBinding CmusicRadioBrowserScreen::kBindings[] = {
    {&CmusicRadioBrowserScreen::menu_, "Menu"},
    {&CmusicRadioBrowserScreen::topStations_, "TopStations"},
    {&CmusicRadioBrowserScreen::genre_, "Genre"},
    {&CmusicRadioBrowserScreen::favourites_, "Favourites"},
    {&CmusicRadioBrowserScreen::tabLeft_, "TabLeft"},
    {&CmusicRadioBrowserScreen::tabRight_, "TabRight"},
};

CmusicRadioBrowserScreen::CmusicRadioBrowserScreen() : ClayoutScreen("MusicRadioBrowser.txt", kBindings) {}

void CmusicRadioBrowserScreen::open(EmusicOrigin origin) {
    origin_ = origin;
    gGame->setGameMode(GM_MUSIC_RADIO_BROWSER, true);
}

void CmusicRadioBrowserScreen::addButtons(const char* selectTag) {
    bool from = offersNowPlaying(origin_);
    if (controllerMode()) {
        gUi->buttonBar.addButtonByKey(selectTag, kActionSelect, 0);
        if (from) gUi->buttonBar.addButtonByKey("UseNowPlaying", kActionOptionX, 2);
    } else if (from) {
        gUi->buttonBar.addButtonByKey("UseNowPlaying", kActionOptionX, 2);
    }
    gUi->buttonBar.addButtonByKey("BACK", kActionBack, 1);
}

void CmusicRadioBrowserScreen::onEnter() {
    addButtons();
    rebuild();
}

void CmusicRadioBrowserScreen::rebuild() {
    menu_->clearItems();
    menu_->setEmptyTextKey("");   // nothing to say until the directory answers
    lastSelection_ = -1;
    CshoutcastBrowser& radio = gGame->radio;
    radio.clear();
    waiting_ = false;
    if (mode_ == MODE_FAVOURITES) {
        CsongInfoMgr& lib = gGame->songLibrary;
        lib.rebuildViews();
        if (const CsongGroup* favs = lib.getGroup(0, VIEW_RADIO_FAVOURITES))
            for (const CsongPackInfo* e : *favs)
                radio.addStation(e->tags.title, e->station, e->bitrate, e->listeners, e->tags.genre);
        fillRows();
        return;
    }
    std::vector<CradioQuery> queries;
    if (mode_ == MODE_TOP) {
        queries.push_back({CradioQuery::TOP_500, 0});
    } else if (primary_ < 0) {
        queries.push_back({CradioQuery::PRIMARY_GENRES, 0});
    } else if (secondary_ < 0) {
        queries.push_back({CradioQuery::SECONDARY_GENRES, primary_});
        queries.push_back({CradioQuery::STATIONS_BY_GENRE, primary_});
    } else {
        queries.push_back({CradioQuery::STATIONS_BY_GENRE, secondary_});
    }
    radio.requestList(queries);
    waiting_ = true;
    gUi->loadingIndicator.show(gEngine->text("Working"));
}

void CmusicRadioBrowserScreen::fillRows() {
    menu_->clearItems();
    menu_->setEmptyTextKey(mode_ == MODE_FAVOURITES ? "ListEmptyRadioFavourites" : "ListEmptyRadio");
    const CsongInfoMgr& lib = gGame->songLibrary;
    const auto& list = gGame->radio.stations;
    for (size_t i = 0; i < list.size(); ++i) {
        const CradioStation& s = list[i];
        Cwidget* row;
        if (s.genreFlag) {
            row = menu_->insertItem(gUi->createWidget("SongFolderItem"), -1, false, 0, 0, true);
            if (!row) continue;
            row->setText("Title1", s.name);
        } else {
            row = menu_->insertItem(gUi->createWidget("SongInfoItem"), -1, false, 0, 0, true);
            if (!row) continue;
            row->setSprite("FolderIcon", "ui_radio.png");
            row->setText("NumTracks", "");
            row->setText("Title2", "");
            row->setText("Duration", "");
            row->setText("Title1", s.name);
            if (Cgadget* ship = row->findGadget("ProcShip")) ship->hidden = true;
            fillTrackProgress(row, nullptr, false);
        }
        row->value = (int64_t)i;
        if (!s.genreFlag && !controllerMode()) {
            const CsongPackInfo* known = lib.findByUrl(s.station);
            addHeartIcon(menu_, (int64_t)i, known && known->favourite);
        }
    }
    menu_->layout();
    menu_->setSelectedIdx(menu_->itemCount() ? 0 : -1);
}

void CmusicRadioBrowserScreen::setTabsHidden(bool hidden) {
    for (Cwidget* w : {topStations_, genre_, favourites_, tabLeft_, tabRight_}) {
        if (hidden) {
            w->startEffect(EFFECT_SHRINK_OUT, 1);
        } else {
            w->setHidden(false);
            w->startEffect(EFFECT_GROW_IN);
        }
    }
}

void CmusicRadioBrowserScreen::leave() { gGame->setGameMode(musicOriginBackState(origin_)); }

void CmusicRadioBrowserScreen::onUpdate() {
    CshoutcastBrowser& radio = gGame->radio;
    if (waiting_) {
        if (radio.pollList()) {
            waiting_ = false;
            gUi->loadingIndicator.hide();
            fillRows();
        }
    }
    // A station that could not be opened or decoded: say so.
    std::string& failed = gGame->music.failedStation;
    if (!failed.empty()) {
        gUi->popups.showMessage(std::string(gEngine->text("StationCantPlay")) + "\n" + failed);
        failed.clear();
    }
    const auto& list = radio.stations;
    if (controllerMode() && menu_->itemCount()) {
        int sel = std::min(menu_->getSelectedIdx(), (int)menu_->itemCount() - 1);
        if (sel != lastSelection_ && sel >= 0) {
            lastSelection_ = sel;
            Cwidget* item = menu_->item((size_t)sel);
            bool genreRow = item && (size_t)item->value < list.size() && list[(size_t)item->value].genreFlag;
            gUi->buttonBar.clear();
            addButtons(genreRow ? "Select" : "ListenToStation");
        }
    }
    int action = gUi->action();
    bool from = offersNowPlaying(origin_);
    if (from && action == kActionOptionX) {
        gGame->playTransitionEffect(nullptr);
        gGame->setGameMode(GM_GAME_SETTINGS);
        return;
    }
    if (action == kActionBack) {
        if (secondary_ >= 0) {
            secondary_ = -1;
            rebuild();
        } else if (primary_ >= 0) {
            primary_ = -1;
            setTabsHidden(false);
            rebuild();
        } else {
            leave();
        }
        return;
    }
    const struct {
        Cwidget* tab;
        int mode;
    } tabs[] = {{topStations_, MODE_TOP}, {genre_, MODE_GENRES}, {favourites_, MODE_FAVOURITES}};
    for (const auto& t : tabs) {
        if (screen_->wasPressed(t.tab)) {
            if (mode_ != t.mode) {
                mode_ = t.mode;
                rebuild();
            }
            return;
        }
    }
    // By keys and pads the tabs step round in their order (not while a genre's lists hide them).
    if (int step = tabStepRequested(); step != 0 && primary_ < 0) {
        int i = 0;
        while (i < 3 && tabs[i].mode != mode_) ++i;
        mode_ = tabs[((i % 3) + step + 3) % 3].mode;
        gGame->playTransitionEffect(nullptr);
        rebuild();
        return;
    }
    Cwidget* row = menu_->highlightedItem();
    if (!row || waiting_) return;
    size_t idx = (size_t)row->value;
    if (idx >= list.size()) return;
    gGame->playTransitionEffect(row);
    CradioStation s = list[idx];   // the list is rebuilt below
    if (s.genreFlag) {
        setTabsHidden(true);
        if (primary_ >= 0)
            secondary_ = s.genreId;
        else
            primary_ = s.genreId;
        rebuild();
    } else if (row->floatValue == kTagHeart) {
        CsongInfoMgr& lib = gGame->songLibrary;
        CsongPackInfo* e = lib.findByUrl(s.station);
        if (!e) e = lib.addRadioStation(s);
        if (e) {
            e->toggleFavourite();
            setHeartIconState(menu_, e->favourite, (int64_t)idx);
        }
    } else {
        stationTrack_.setRadioStation(s);
        gGame->music.playTrack(&stationTrack_);
    }
}
