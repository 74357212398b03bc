#include "screens/musicBrowser.h"

#include <SDL.h>

#include <algorithm>

#include "audio/songViewOrder.h"
#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/format.h"
#include "engine/ui/uiMgr.h"
#include "game/game.h"
#include "screens/exit.h"
#include "screens/leaderboard.h"
#include "screens/listRows.h"
#include "screens/screenRegistry.h"
#include "screens/tabKeys.h"

namespace {
constexpr int kActionSelect = 1, kActionBack = 2, kActionOptionX = 7, kActionOptionY = 8;
constexpr float kTagHeart = kTrackRowHeart, kTagTrash = kTrackRowTrash, kTagBoardInfo = kTrackRowBoardInfo;
// Where a group row sits: in the middle of the list, its icons to its left.
constexpr float kRowDx = 0;

bool controllerMode() { return gEngine->input.inputMode == DEVICE_CONTROLLER; }
bool groupView(int v) { return v == VIEW_ALBUMS || v == VIEW_ARTISTS || v == VIEW_GENRES; }
bool hasTrackRecord(const std::string& key) { return gGame->trackStats.findTrack(key) != nullptr; }
CsongInfoMgr& library() { return gGame->songLibrary; }
std::string& folder() { return gGame->saveLoad.settings.currentFolder; }
size_t utf8Chars(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}
void saveSettings() {
    if (gGame->saveSettings) gGame->saveSettings();
}
}  // namespace

const CwidgetBinding CmusicBrowserScreen::kBindings[] = {
    {&CmusicBrowserScreen::fileMenu_, "FileListMenu"},
    {&CmusicBrowserScreen::albumMenu_, "AlbumListMenu"},
    {&CmusicBrowserScreen::artistMenu_, "ArtistListMenu"},
    {&CmusicBrowserScreen::genreMenu_, "GenreListMenu"},
    {&CmusicBrowserScreen::trackMenu_, "TrackMenu"},
    {&CmusicBrowserScreen::filesTab_, "Files"},
    {&CmusicBrowserScreen::albumsTab_, "Albums"},
    {&CmusicBrowserScreen::artistsTab_, "Artists"},
    {&CmusicBrowserScreen::genreTab_, "Genre"},
    {&CmusicBrowserScreen::favouritesTab_, "Favourites"},
    {&CmusicBrowserScreen::recentTab_, "RecentTracks"},
    {&CmusicBrowserScreen::keyLocal_, "KeyLocal"},
    {&CmusicBrowserScreen::keyOpenMic_, "KeyOpenMic"},
    {&CmusicBrowserScreen::keyLocalSprite_, "KeyLocalSprite"},
    {&CmusicBrowserScreen::keyOpenMicSprite_, "KeyOpenMicSprite"},
    {&CmusicBrowserScreen::shipSprite_, "StandardShipSprite"},
    {&CmusicBrowserScreen::shipCross_, "StandardShipSpriteCross"},
    {&CmusicBrowserScreen::shipText_, "StandardShip"},
    {&CmusicBrowserScreen::folderText_, "CurrentFolder"},
    {&CmusicBrowserScreen::tabLeft_, "TabLeft"},
    {&CmusicBrowserScreen::tabRight_, "TabRight"},
};

CmusicBrowserScreen::CmusicBrowserScreen() : ClayoutScreen("MusicBrowser.txt", kBindings) {}

bool CmusicBrowserScreen::onLoaded() {
    active_ = fileMenu_;
    view_ = VIEW_FILES;
    group_ = -1;
    return true;
}

void CmusicBrowserScreen::open(EmusicOrigin origin) {
    origin_ = origin;
    gGame->setGameMode(GM_MUSIC_BROWSER, true);
}

const std::string& CmusicBrowserScreen::currentFolder() const { return folder(); }

void CmusicBrowserScreen::libraryChanged() {
    for (Cmenu* m : {albumMenu_, artistMenu_, genreMenu_})
        if (m) m->clearItems();
    std::fill(std::begin(groupListGeneration_), std::end(groupListGeneration_), 0u);
}

Cmenu* CmusicBrowserScreen::groupMenu() const {
    switch (view_) {
        case VIEW_ALBUMS: return albumMenu_;
        case VIEW_ARTISTS: return artistMenu_;
        case VIEW_GENRES: return genreMenu_;
        default: return fileMenu_;
    }
}

const std::vector<CsongPackInfo*>* CmusicBrowserScreen::openGroupTracks() {
    if (group_ < 0) return nullptr;
    const CsongGroup* g = library().getGroup(group_, view_);
    if (groupView(view_) && (!g || groupText(*g, view_) != groupText_)) {
        // The views were rebuilt: find the group again by its text.
        g = nullptr;
        const auto& groups = library().view(view_);
        for (size_t i = 0; i < groups.size(); ++i) {
            if (groupText(groups[i], view_) == groupText_) {
                group_ = (int)i;
                g = &groups[i];
                break;
            }
        }
    }
    return g;
}

CsongPackInfo* CmusicBrowserScreen::rowEntry(const Cwidget* row) {
    const CsongGroup* g = openGroupTracks();
    if (!g || !row || row->value < 0 || (size_t)row->value >= g->size()) return nullptr;
    return (*g)[(size_t)row->value];
}

void CmusicBrowserScreen::addButtons() {
    bool from = offersNowPlaying(origin_);
    if (controllerMode()) {
        if (group_ >= 0) {
            gUi->buttonBar.addButtonByKey("ListenToTrack", kActionSelect, 0);
            gUi->buttonBar.addButtonByKey("ViewSongLeaderboard", kActionOptionY, 3);
        } else {
            gUi->buttonBar.addButtonByKey("Select", kActionSelect, 0);
        }
        if (from) gUi->buttonBar.addButtonByKey("UseNowPlaying", kActionOptionX, 2);
    } else if (from) {
        gUi->buttonBar.addButtonByKey("UseNowPlaying", kActionOptionX, 2);
    }
    gUi->buttonBar.addButtonByKey("BACK", kActionBack, 1);
}

void CmusicBrowserScreen::listFolder() {
    library().listFolder(folder());
    folderText_->setText("", folder());
}

void CmusicBrowserScreen::openFirstGroup() {
    group_ = library().getGroup(0, view_) ? 0 : -1;
    groupText_.clear();
}

void CmusicBrowserScreen::openGroup(int index) {
    group_ = index;
    const CsongGroup* g = library().getGroup(index, view_);
    groupText_ = g ? groupText(*g, view_) : std::string();
}

void CmusicBrowserScreen::onEnter() {
    addButtons();
    if (view_ == VIEW_FAVOURITES || view_ == VIEW_RECENT) {
        openFirstGroup();
    } else if (view_ == VIEW_FILES) {
        listFolder();
        openFirstGroup();
    }
    if (!keepOnReturn_) {
        refresh();
    } else {
        // Back from a board: the screen as it was left, an open album's
        // tracks without the tabs over them.
        const bool tabsAway = group_ >= 0 && groupView(view_);
        for (const auto& t : tabs())
            if (t.tab) t.tab->setHidden(tabsAway);
        markActiveTab();
    }
    keepOnReturn_ = false;
    boardRequests_.reset();
    lastHighlighted_ = -1;
}

std::array<CmusicBrowserScreen::Ctab, 6> CmusicBrowserScreen::tabs() const {
    return {{{filesTab_, VIEW_FILES},
             {albumsTab_, VIEW_ALBUMS},
             {artistsTab_, VIEW_ARTISTS},
             {genreTab_, VIEW_GENRES},
             {favouritesTab_, VIEW_FAVOURITES},
             {recentTab_, VIEW_RECENT}}};
}

// The tab of the view shown stands out; the others are dimmed.
void CmusicBrowserScreen::markActiveTab() {
    for (const auto& t : tabs()) {
        if (!t.tab) continue;
        t.tab->toggle = t.view == view_;
        t.tab->textColour = t.view == view_ ? gGame->namedColours.yellow : Ccolour(1, 1, 1, 1);
    }
}

void CmusicBrowserScreen::refresh() {
    markActiveTab();
    folderText_->setHidden(view_ != VIEW_FILES);
    for (Cmenu* m : {fileMenu_, albumMenu_, artistMenu_, genreMenu_, trackMenu_}) m->setVisible(false);
    bool inGroup = group_ >= 0;
    if (inGroup) {
        active_ = trackMenu_;
        if (controllerMode() && groupView(view_)) {
            tabLeft_->setHidden(true);
            tabRight_->setHidden(true);
        }
    } else {
        active_ = groupMenu();
        if (controllerMode()) {
            tabLeft_->setHidden(false);
            tabRight_->setHidden(false);
        }
    }
    active_->setVisible(true);
    active_->setEmptyTextKey(view_ == VIEW_FAVOURITES ? "ListEmptyFavourites" : view_ == VIEW_RECENT ? "ListEmptyRecent" : "");
    for (Cwidget* w : {keyLocal_, keyOpenMic_, keyLocalSprite_, keyOpenMicSprite_, shipText_}) w->setHidden(!inGroup);
    bool standard = gGame->online.leaderboards.standardShipFlag != 0;
    shipCross_->setHidden(!inGroup || standard);
    shipSprite_->setHidden(!inGroup);
    shipText_->setGadgetTextKey("TextName", standard ? "StandardShip" : "OtherShip");
    if (inGroup)
        buildTrackList();
    else
        buildGroupList();
    gEngine->log.print(LOG_L, "Music browser: %d %s listed", (int)active_->itemCount(), inGroup ? "tracks" : "rows");
    if (controllerMode()) {
        gUi->buttonBar.clear();
        addButtons();
    }
}

void CmusicBrowserScreen::buildTrackList() {
    Cmenu* menu = trackMenu_;
    menu->clearItems();
    lastHighlighted_ = -1;
    const CsongGroup* g = openGroupTracks();
    trackListGeneration_ = library().viewsGeneration();
    std::vector<int64_t> values;
    if (g) {
        const std::vector<int> order = trackOrder(*g, view_, view_ == VIEW_RECENT ? hasTrackRecord : nullptr);
        values.assign(order.begin(), order.end());
    }
    setTrackRows(menu, values, [this](int64_t v) { return entryOfValue(v); }, !controllerMode(), view_ != VIEW_FILES);
    menu->layout();
    menu->setSelectedIdx(menu->itemCount() ? 0 : -1);
    boardRequests_.reset();
}

void CmusicBrowserScreen::buildGroupList() {
    if (!groupView(view_)) return;
    Cmenu* menu = groupMenu();
    const auto& groups = library().view(view_);   // rebuilds stale views first
    uint32_t& built = groupListGeneration_[view_];
    if (menu->itemCount() && built == library().viewsGeneration() + 1) return;
    menu->clearItems();
    built = library().viewsGeneration() + 1;
    bool pointer = !controllerMode();
    for (int gi : groupOrder(groups, view_)) {
        const CsongGroup& g = groups[(size_t)gi];
        if (g.empty()) continue;
        CwidgetPtr made = gUi->createWidget("SongInfoItem");
        if (!made) continue;
        Cwidget* row = made.get();
        if (Cgadget* ship = row->findGadget("ProcShip")) ship->hidden = true;
        row->setText("NumTracks", formatThousands((int)g.size()));
        row->setSprite("FolderIcon", "ui_album.png");
        row->setText("Title1", groupText(g, view_));
        row->setText("Title2", view_ == VIEW_ALBUMS ? g[0]->tags.artist : "");
        row->setText("Duration", "");
        fillTrackProgress(row, nullptr, false);
        row->value = gi;
        menu->insertItem(std::move(made), -1, false, kRowDx, 0, true);
        if (pointer) addHeartAndTrashIcons(menu, gi, library().isGroupAllFavourite(gi, view_));
    }
    menu->layout();
    menu->setSelectedIdx(menu->itemCount() ? 0 : -1);
}

void CmusicBrowserScreen::setTabsHidden(bool hidden) {
    for (Cwidget* w : {filesTab_, favouritesTab_, albumsTab_, artistsTab_, genreTab_, recentTab_}) {
        if (!w) continue;
        if (hidden) {
            w->startEffect(EFFECT_SHRINK_OUT, 1);
        } else {
            w->setHidden(false);
            w->startEffect(EFFECT_GROW_IN);
        }
    }
}

void CmusicBrowserScreen::setView(int view) {
    view_ = view;
    group_ = -1;
    groupText_.clear();
    switch (view) {
        case VIEW_FILES:
            library().rebuildViews();
            listFolder();
            openFirstGroup();
            break;
        case VIEW_FAVOURITES:
            library().rebuildViews();
            openFirstGroup();
            break;
        case VIEW_RECENT:
            openFirstGroup();
            break;
        default:
            break;
    }
    refresh();
}

void CmusicBrowserScreen::closeGroup() {
    group_ = -1;
    groupText_.clear();
    setTabsHidden(false);
    refresh();
}

void CmusicBrowserScreen::leave() { gGame->setGameMode(musicOriginBackState(origin_)); }

void CmusicBrowserScreen::openLeaderboard(const CsongPackInfo* track) {
    if (!track) return;
    keepOnReturn_ = true;
    if (CleaderboardScreen* board = screens::get<CleaderboardScreen>())
        board->open(GM_MUSIC_BROWSER, track, gGame->online.leaderboards.standardShipFlag != 0);
}

// A track deleted elsewhere (the music bar's trash) shows marked in the
// open list at once. Only the rows in view are looked at: this runs every
// frame, and a list may hold tens of thousands of tracks.
void CmusicBrowserScreen::syncTrashMarks() {
    if (active_ != trackMenu_) return;
    size_t first = 0, end = 0;
    trackMenu_->itemsNearClip(first, end);
    const CsongGroup* g = openGroupTracks();
    for (size_t i = first; g && i < end; ++i) {
        Cwidget* w = trackMenu_->madeItem(i);
        if (!w || w->floatValue != kTrackRowTrash || w->value < 0 || (size_t)w->value >= g->size()) continue;
        markTrashIcon(w, (*g)[(size_t)w->value]->removed != 0);
    }
}

void CmusicBrowserScreen::onUpdate() {
    syncTrashMarks();
    int action = gUi->action();
    bool from = offersNowPlaying(origin_);
    if (from && action == kActionOptionX) {
        gGame->playTransitionEffect(nullptr);
        gGame->setGameMode(GM_GAME_SETTINGS);
        saveSettings();
        return;
    }
    if (action == kActionBack) {
        gGame->playTransitionEffect(nullptr);
        saveSettings();
        if (group_ >= 0 && groupView(view_))
            closeGroup();
        else
            leave();
        return;
    }
    // The lists were made from views that have since been rebuilt.
    if (group_ >= 0 && view_ != VIEW_FILES && trackListGeneration_ != library().viewsGeneration()) {
        library().view(view_);
        if (library().viewsGeneration() != trackListGeneration_) {
            if (view_ != VIEW_FILES && !groupView(view_)) openFirstGroup();
            refresh();
        }
    }

    if (controllerMode() && active_->itemCount()) {
        int sel = active_->getSelectedIdx();
        if (sel != lastHighlighted_) {
            lastHighlighted_ = sel;
            const CsongPackInfo* e = group_ >= 0 ? entryOfValue(active_->itemValue((size_t)std::max(sel, 0))) : nullptr;
            bool localFile = e && e->kind == SONG_LOCAL;
            if (localFile != lastWasLocalFile_) {
                lastWasLocalFile_ = localFile;
                gUi->buttonBar.clear();
                if (localFile) {
                    gUi->buttonBar.addButtonByKey("ListenToTrack", kActionSelect, 0);
                    gUi->buttonBar.addButtonByKey("ViewSongLeaderboard", kActionOptionY, 3);
                } else {
                    gUi->buttonBar.addButtonByKey("Select", kActionSelect, 0);
                    if (view_ != VIEW_FILES) gUi->buttonBar.addButtonByKey("ViewSongLeaderboard", kActionOptionY, 3);
                }
                if (from) gUi->buttonBar.addButtonByKey("UseNowPlaying", kActionOptionX, 2);
                gUi->buttonBar.addButtonByKey("BACK", kActionBack, 1);
            }
        }
    }

    for (const auto& t : tabs()) {
        if (t.tab && screen_->wasPressed(t.tab)) {
            if (view_ != t.view || group_ >= 0) setView(t.view);
            return;
        }
    }
    // By keys and pads the tabs step round in their order (not while a group's tracks hide them).
    if (int step = tabStepRequested(); step != 0 && !(group_ >= 0 && groupView(view_))) {
        std::vector<int> views;
        for (const auto& t : tabs())
            if (t.tab) views.push_back(t.view);
        auto at = std::find(views.begin(), views.end(), view_);
        int i = at == views.end() ? 0 : (int)(at - views.begin());
        int n = (int)views.size();
        gGame->playTransitionEffect(nullptr);
        setView(views[(size_t)(((i + step) % n + n) % n)]);
        return;
    }

    if (controllerMode() && action == kActionOptionY && group_ >= 0) {
        openLeaderboard(rowEntry(active_->getSelectedItem()));
        return;
    }
    active_->applyRequestedSelection();
    Cwidget* pressed = active_->highlightedItem();
    if (!pressed) pressed = active_->findPressedItem();
    if (pressed && pressRow(pressed)) return;
    letterJump();
    if (group_ >= 0) {
        refreshFinishedBoards();
        requestBoards();
    }
}

// True when the row changed the screen (the lists may be gone).
bool CmusicBrowserScreen::pressRow(Cwidget* row) {
    gGame->playTransitionEffect(row);
    float tag = row->floatValue;
    if (group_ >= 0) {
        CsongPackInfo* e = rowEntry(row);
        if (!e) return false;
        if (tag == kTagHeart) {
            e->toggleFavourite();
            setHeartIconState(trackMenu_, e->favourite, row->value);
            return false;
        }
        if (tag == kTagTrash) {
            e->removed = e->removed ? 0 : 1;
            library().markDirty();
            setTrashIconState(trackMenu_, e->removed != 0, row->value);
            return false;
        }
        if (tag == kTagBoardInfo) {
            openLeaderboard(e);
            return true;
        }
        if (e->kind == SONG_FOLDER || e->kind == SONG_DRIVE) {
            std::string next = folder();
            if (e->kind == SONG_DRIVE) {
                next = e->path;
            } else if (e->path == "..") {
                size_t cut = next.find_last_of("/\\");
                if (cut != std::string::npos) next.erase(cut == 0 ? 1 : cut);
            } else {
                next += (next.empty() || next.back() == '/') ? e->path : "/" + e->path;
            }
            if (utf8Chars(next) > kMaxFolderChars) {
                gEngine->log.print(LOG_L, "Folder path too long: %s", next.c_str());
                return false;
            }
            folder() = next;
            listFolder();
            openFirstGroup();
            refresh();
            return true;
        }
        if (e->isLocal()) {
            gGame->music.playTrack(e);
            gGame->online.leaderboards.requestTrackBoard(e->getKey(), gGame->online.leaderboards.standardShipFlag != 0);
        }
        return false;
    }
    int gi = (int)row->value;
    if (!library().getGroup(gi, view_)) return false;
    if (tag == kTagTrash) {
        library().toggleGroupRemoved(gi, view_);
        updateHeartIconState(groupMenu(), nullptr, gi);
        return false;
    }
    if (tag == kTagHeart) {
        library().toggleGroupFavourite(gi, view_);   // rebuilds the views
        setHeartIconState(groupMenu(), library().isGroupAllFavourite(gi, view_), gi);
        groupListGeneration_[view_] = library().viewsGeneration() + 1;   // same groups, same order
        return false;
    }
    setTabsHidden(true);
    openGroup(gi);
    refresh();
    return true;
}

void CmusicBrowserScreen::letterJump() {
    int key = gEngine->lastKey;
    if (key < SDL_SCANCODE_A || key > SDL_SCANCODE_Z) return;
    // A letter that moves or chooses does only that.
    if (const CinputPlayer* p = gEngine->input.player(0); p && p->bindsKey(key)) return;
    char letter = (char)('A' + (key - SDL_SCANCODE_A));
    std::vector<std::string> titles;
    std::vector<bool> skip;
    std::vector<int> itemOf;
    const CsongGroup* g = group_ >= 0 ? openGroupTracks() : nullptr;
    // A track's row is read from its entry: most of a long list is not made.
    for (size_t i = 0; i < active_->itemCount(); ++i) {
        if (active_->attachedItem(i)) continue;
        const int64_t v = active_->itemValue(i);
        const CsongPackInfo* e = g && v >= 0 && (size_t)v < g->size() ? (*g)[(size_t)v] : nullptr;
        titles.push_back(e ? trackRowTitle(*e) : active_->item(i)->getText("Title1"));
        skip.push_back(e && view_ == VIEW_FILES && e->kind == SONG_DRIVE);
        itemOf.push_back((int)i);
    }
    int row = letterJumpRow(titles, letter, skip);
    if (row < 0) return;
    active_->requestSelectedIdx(itemOf[(size_t)row]);
    if (controllerMode()) active_->setSelectedIdx(itemOf[(size_t)row]);
}

const CsongPackInfo* CmusicBrowserScreen::entryOfValue(int64_t value) {
    const CsongGroup* g = openGroupTracks();
    return g && value >= 0 && (size_t)value < g->size() ? (*g)[(size_t)value] : nullptr;
}

void CmusicBrowserScreen::refreshFinishedBoards() {
    refreshTrackBoards(trackMenu_, [this](int64_t v) { return entryOfValue(v); });
}

void CmusicBrowserScreen::requestBoards() {
    boardRequests_.step(active_, [this](int64_t v) { return entryOfValue(v); });
}
