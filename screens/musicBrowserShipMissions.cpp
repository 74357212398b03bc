#include "screens/musicBrowserShipMissions.h"

#include <SDL.h>

#include "audio/songViewOrder.h"
#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/sortList.h"
#include "engine/ui/uiMgr.h"
#include "game/game.h"
#include "game/musicLink.h"
#include "screens/gameSettings.h"
#include "screens/leaderboard.h"
#include "screens/screenRegistry.h"
#include "screens/shipMissionPanel.h"

namespace {
constexpr int kActionSelect = 1, kActionBack = 2, kActionOptionX = 7, kActionOptionY = 8;
constexpr double kRadioPlayTime = 300.0;

bool controllerMode() { return gEngine->input.inputMode == DEVICE_CONTROLLER; }
bool standardShip() { return gGame->online.leaderboards.standardShipFlag != 0; }
CshipMissionPanel* panel() { return screens::get<CshipMissionPanel>(); }
}  // namespace

const CwidgetBinding CmusicBrowserShipMissionsScreen::kBindings[] = {
    {&CmusicBrowserShipMissionsScreen::trackMenu_, "TrackMenu"},
    {&CmusicBrowserShipMissionsScreen::keyLocal_, "KeyLocal"},
    {&CmusicBrowserShipMissionsScreen::keyOpenMic_, "KeyOpenMic"},
    {&CmusicBrowserShipMissionsScreen::keyLocalSprite_, "KeyLocalSprite"},
    {&CmusicBrowserShipMissionsScreen::keyOpenMicSprite_, "KeyOpenMicSprite"},
    {&CmusicBrowserShipMissionsScreen::shipSprite_, "StandardShipSprite"},
    {&CmusicBrowserShipMissionsScreen::shipCross_, "StandardShipSpriteCross"},
    {&CmusicBrowserShipMissionsScreen::shipText_, "StandardShip"},
};

CmusicBrowserShipMissionsScreen::CmusicBrowserShipMissionsScreen()
    : ClayoutScreen("MusicBrowserShipMissions.txt", kBindings) {}

void CmusicBrowserShipMissionsScreen::open(int missionIndex, const CshipMission& mission) {
    mission_ = mission;
    missionIndex_ = missionIndex;
    keepOnReturn_ = false;
    if (CshipMissionPanel* p = panel()) p->setMission(missionIndex, mission, false);
    gGame->setGameMode(GM_MUSIC_BROWSER_SHIP_MISSIONS, true);
}

void CmusicBrowserShipMissionsScreen::addButtons() {
    CbuttonBar& bar = gUi->buttonBar;
    if (controllerMode()) {
        bar.addButtonByKey("ListenToTrack", kActionSelect, 0);
        bar.addButtonByKey("ViewSongLeaderboard", kActionOptionY, 3);
        bar.addButtonByKey("UseNowPlaying", kActionOptionX, 2);
    } else {
        bar.addButtonByKey("UseNowPlaying", kActionOptionX, 2);
    }
    bar.addButtonByKey("BACK", kActionBack, 1);
}

void CmusicBrowserShipMissionsScreen::onEnter() {
    if (CshipMissionPanel* p = panel(); p && p->enabled() && p->shown()) p->setShown(false);
    addButtons();
    if (!keepOnReturn_) rebuild();
    keepOnReturn_ = false;
    boardRequests_.reset();
}

void CmusicBrowserShipMissionsScreen::rebuild() {
    for (Cwidget* w : {keyLocal_, keyOpenMic_, keyLocalSprite_, keyOpenMicSprite_, shipSprite_, shipText_}) w->setHidden(false);
    shipCross_->setHidden(!standardShip());
    shipText_->setGadgetTextKey("TextName", standardShip() ? "StandardShip" : "OtherShip");
    const std::vector<CsongPackInfo*> tracks = tracksMeetingCondition(gGame->songLibrary, mission_);
    CsortList byTitle;
    for (size_t i = 0; i < tracks.size(); ++i) byTitle.addString(tracks[i]->tags.title, (int64_t)i);
    byTitle.sortAlpha(1);   // ignoring case
    keys_.clear();
    trackMenu_->clearItems();
    std::vector<int64_t> values;
    for (size_t i = 0; i < byTitle.size(); ++i) {
        keys_.push_back(tracks[(size_t)byTitle.dataAt(i)]->getKey());
        values.push_back((int64_t)keys_.size() - 1);
    }
    setTrackRows(trackMenu_, values, [this](int64_t v) { return entryOfValue(v); }, !controllerMode(), true);
    trackMenu_->layout();
    trackMenu_->setSelectedIdx(trackMenu_->itemCount() ? 0 : -1);
    if (controllerMode()) {
        gUi->buttonBar.clear();
        addButtons();
    }
}

const CsongPackInfo* CmusicBrowserShipMissionsScreen::entryOfValue(int64_t value) const {
    if (value < 0 || (size_t)value >= keys_.size()) return nullptr;
    return gGame->songLibrary.findByKey(keys_[(size_t)value]);
}

void CmusicBrowserShipMissionsScreen::onUpdate() {
    const int action = gUi->action();
    if (action == kActionOptionX) {
        useNowPlaying();
        return;
    }
    if (action == kActionBack) {
        gGame->playTransitionEffect(nullptr);
        if (gGame->saveSettings) gGame->saveSettings();
        if (CshipMissionPanel* p = panel(); p && p->enabled() && p->shown()) p->setShown(false);
        gGame->setGameMode(GM_HANGAR, true);
        return;
    }
    if (controllerMode() && action == kActionOptionY) {
        if (Cwidget* row = trackMenu_->getSelectedItem()) {
            if (const CsongPackInfo* e = entryOfValue(row->value)) {
                keepOnReturn_ = true;
                if (CleaderboardScreen* board = screens::get<CleaderboardScreen>())
                    board->open(GM_MUSIC_BROWSER_SHIP_MISSIONS, e, standardShip());
                return;
            }
        }
    }
    trackMenu_->applyRequestedSelection();
    Cwidget* pressed = trackMenu_->highlightedItem();
    if (!pressed) pressed = trackMenu_->findPressedItem();
    if (pressed && pressRow(pressed)) return;
    letterJump();
    refreshTrackBoards(trackMenu_, [this](int64_t v) { return entryOfValue(v); });
    boardRequests_.step(trackMenu_, [this](int64_t v) { return entryOfValue(v); });
}

void CmusicBrowserShipMissionsScreen::useNowPlaying() {
    Cgame& g = *gGame;
    CgameSession& s = g.world.session;
    g.playTransitionEffect(nullptr);
    const CsongPackInfo* track = g.music.currentTrack;
    if (track) s.track = trackInfoFromSong(*track);
    if (g.music.openMicRunning()) {
        s.openMicStart = s.openMicStart2 = 1;
        s.identifiedTrackId = 0;
        s.pendingTrackTime = -1.0;
        g.music.setOpenMicTrackName();
    } else {
        s.openMicStart = 0;
    }
    s.chosenTrackTime = track && track->kind == SONG_RADIO ? kRadioPlayTime : -1.0;
    if (CshipMissionPanel* p = panel(); p && p->enabled() && !p->shown()) p->setShown(true);
    if (mission_.difficulty != 0) {
        s.difficulty = (int)mission_.difficulty;
        g.setGameMode(GM_321_GO, true);
    } else {
        if (CgameSettingsScreen* settings = screens::get<CgameSettingsScreen>())
            settings->open(CgameSettingsScreen::RETURN_SHIP_MISSIONS);
        else
            g.setGameMode(GM_GAME_SETTINGS, true);
    }
}

// True when the row changed the screen.
bool CmusicBrowserShipMissionsScreen::pressRow(Cwidget* row) {
    gGame->playTransitionEffect(row);
    CsongPackInfo* e = const_cast<CsongPackInfo*>(entryOfValue(row->value));
    if (!e) return false;
    const float tag = row->floatValue;
    if (tag == kTrackRowHeart) {
        e->toggleFavourite();
        setHeartIconState(trackMenu_, e->favourite, row->value);
        return false;
    }
    if (tag == kTrackRowTrash) {
        e->removed = e->removed ? 0 : 1;
        gGame->songLibrary.markDirty();
        setTrashIconState(trackMenu_, e->removed != 0, row->value);
        return false;
    }
    if (tag == kTrackRowBoardInfo) {
        keepOnReturn_ = true;
        if (CleaderboardScreen* board = screens::get<CleaderboardScreen>())
            board->open(GM_MUSIC_BROWSER_SHIP_MISSIONS, e, standardShip());
        return true;
    }
    if (e->kind != SONG_OPEN_MIC) {
        gGame->music.playTrack(e);
        gGame->online.leaderboards.requestTrackBoard(e->getKey(), standardShip());
    }
    return false;
}

void CmusicBrowserShipMissionsScreen::letterJump() {
    const int key = gEngine->lastKey;
    if (key < SDL_SCANCODE_A || key > SDL_SCANCODE_Z) return;
    // A letter that moves or chooses does only that.
    if (const CinputPlayer* p = gEngine->input.player(0); p && p->bindsKey(key)) return;
    std::vector<std::string> titles;
    std::vector<int> itemOf;
    for (size_t i = 0; i < trackMenu_->itemCount(); ++i) {
        if (trackMenu_->attachedItem(i)) continue;
        const CsongPackInfo* e = entryOfValue(trackMenu_->itemValue(i));
        titles.push_back(e ? trackRowTitle(*e) : trackMenu_->item(i)->getText("Title1"));
        itemOf.push_back((int)i);
    }
    const int row = letterJumpRow(titles, (char)('A' + (key - SDL_SCANCODE_A)));
    if (row < 0) return;
    trackMenu_->requestSelectedIdx(itemOf[(size_t)row]);
    if (controllerMode()) trackMenu_->setSelectedIdx(itemOf[(size_t)row]);
}
