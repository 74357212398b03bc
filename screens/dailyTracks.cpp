#include "screens/dailyTracks.h"

#include "engine/bString.h"
#include "engine/clipboard.h"
#include "engine/engine.h"
#include "engine/ui/menu.h"
#include "engine/ui/table.h"
#include "engine/ui/uiMgr.h"
#include "game/game.h"
#include "game/gameTypes.h"
#include "game/musicLink.h"
#include "online/leaderboardMgr.h"
#include "online/scoreRecord.h"
#include "online/serviceCall.h"
#include "screens/321Go.h"
#include "screens/gameSettings.h"
#include "screens/leaderboard.h"
#include "screens/listRows.h"
#include "screens/screenRegistry.h"

namespace {
constexpr int kSuccessSound = 6;
constexpr int64_t kFirstVisitSpan = 86400;   // the first visit shows the last day
// Each row is followed by its buttons (copy, board, and play or a link), all
// inside the list's box: the row moves left by half of what they take.
constexpr int kRowButtons = 3;
constexpr float kButtonGap = 6.0f;

bool gamepad() { return gEngine->input.inputMode == DEVICE_CONTROLLER; }
CleaderboardMgr& boards() { return gGame->online.leaderboards; }

bool isStandardShipName(const std::string& name) {
    return equalsIgnoreCase(name, "PreSet_Standard") || equalsIgnoreCase(name, "Standard");
}
}  // namespace

const CwidgetBinding CdailyTracksScreen::kBindings[] = {{&CdailyTracksScreen::list_, "List"}};

CdailyTracksScreen::CdailyTracksScreen() : ClayoutScreen("dailyTracks.txt", kBindings) {
    openLink = [](const std::string& url) { return gEngine->platform.openUrl(url); };
}

void CdailyTracksScreen::open(int returnState) {
    returnState_ = returnState;
    gGame->setGameMode(GM_DAILY_TRACKS);
}

void CdailyTracksScreen::onEnter() {
    if (timeCode_ == -1) timeCode_ = gGame->online.soap.unixTime() - kFirstVisitSpan;
    list_->clearItems();
    list_->setEmptyTextKey("");   // nothing to say until the board arrives
    list_->layout();
    boards().requestBoardDownload(CleaderboardMgr::kDailyTracksBoard, true, timeCode_);
    gUi->loadingIndicator.show(gEngine->text("Working"));
    if (gamepad()) {
        gUi->buttonBar.addButtonByKey("ListenToTrack", ACTION_SELECT, 0);
        gUi->buttonBar.addButtonByKey("ViewSongLeaderboard", ACTION_OPTION_Y, 3);
        gUi->buttonBar.addButtonByKey("CopyToClipboard", ACTION_OPTION_X, 2);
    }
    gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, 1);
    // The track boards opened from here go back to the main menu by default.
    if (CleaderboardScreen* board = screens::get<CleaderboardScreen>())
        board->open(GM_MAIN_MENU, nullptr, gGame->standardShipFlag != 0, false);
}

const CboardEntry* CdailyTracksScreen::entry(int64_t index) const {
    const Cboard* b = gGame->online.leaderboards.board(CleaderboardMgr::kDailyTracksBoard);
    if (!b || index < 0 || index >= (int64_t)b->entries.size()) return nullptr;
    return &b->entries[(size_t)index];
}

void CdailyTracksScreen::fillList() {
    auto* table = static_cast<Ctable*>(list_);
    table->clearRows();
    table->setEmptyTextKey("NoScores");
    const Cboard* b = boards().board(CleaderboardMgr::kDailyTracksBoard);
    const Cwidget* button = gUi->findTemplate("CopyClipboard");
    const float buttonW = button ? button->width : 64.0f;
    const float rowDx = -kRowButtons * (buttonW + kButtonGap) * 0.5f;
    if (b) {
        const uint64_t top = b->entries.empty() ? 0 : b->entries[0].score;
        for (size_t i = 0; i < b->entries.size(); ++i) {
            const CboardEntry& e = b->entries[i];
            // One submit can come back twice; the time of submit tells.
            if (i > 0 && e.score == b->entries[i - 1].score) continue;
            Cwidget* row = table->addRow((int64_t)i, {});
            if (!row) break;
            fillDailyTracksRow(row, *b, e, (int)i + 1, top);
            row->floatValue = ITEM_TRACK;
            row->rowDx = rowDx;
            row->selectable = gamepad();
            const float buttonsFrom = row->width * 0.5f + kButtonGap + buttonW * 0.5f;
            auto attach = [&](const char* templ, float kind, int slot) {
                CwidgetPtr w = gUi->createWidget(templ);
                if (!w) return;
                w->value = (int64_t)i;
                w->floatValue = kind;
                list_->insertItem(std::move(w), -1, true, buttonsFrom + slot * (buttonW + kButtonGap), 0);
            };
            attach("CopyClipboard", ITEM_COPY, 0);
            attach("MusicBarLeaderboard", ITEM_BOARD, 1);
            const CdailyTrackScore rec = CdailyTrackScore::read(e.record);
            const std::string key = makeSongKey(SONG_LOCAL, rec.title, rec.artist, (float)rec.length);
            if (gGame->songLibrary.findByKey(key, true)) {
                attach("PlayTrack", ITEM_PLAY, 2);
                row->floatValue = ITEM_LIBRARY_TRACK;
            } else if (rec.linkKind == 'Y') {
                attach("YouTubeLink", ITEM_LINK, 2);
            } else if (rec.linkKind == 'S') {
                attach("SpotifyLink", ITEM_LINK, 2);
            }
        }
    }
    list_->layout();
}

void CdailyTracksScreen::onUpdate() {
    if (gUi->loadingIndicator.showing) {
        const Cboard* b = boards().board(CleaderboardMgr::kDailyTracksBoard);
        if (!b || !b->queued) {
            gUi->loadingIndicator.hide();
            fillList();
            showTrouble(b);
        } else if (gUi->action() == ACTION_BACK) {
            // A slow service never keeps the player here.
            gUi->loadingIndicator.hide();
            leave();
        }
        return;
    }
    if (gamepad()) updatePadButtons();

    const int action = gUi->action();
    Cwidget* taken = gamepad() ? list_->findPressedItem() : list_->highlightedItem();
    Cwidget* selected = list_->getSelectedItem();
    const CboardEntry* chosen = taken ? entry(taken->value) : nullptr;
    const CboardEntry* selectedEntry = selected ? entry(selected->value) : nullptr;

    if (gamepad() && action == ACTION_OPTION_X && selectedEntry) {
        copyName(*selectedEntry);
    } else if (gamepad() && action == ACTION_OPTION_Y && selectedEntry) {
        viewBoard(*selectedEntry);
    } else if (chosen && gamepad()) {
        playTrack(*chosen);
    } else if (chosen) {
        switch ((int)taken->floatValue) {
            case ITEM_COPY: copyName(*chosen); break;
            case ITEM_BOARD: viewBoard(*chosen); break;
            case ITEM_PLAY: playTrack(*chosen); break;
            case ITEM_LINK: openTrackLink(*chosen); break;
            default: break;
        }
    } else if (action == ACTION_BACK) {
        leave();
    }
}

void CdailyTracksScreen::showTrouble(const Cboard* b) {
    if (!b || b->failure == CALL_NO_FAILURE) return;
    gEngine->log.print(LOG_L, "Daily tracks: not downloaded (%s)", callFailureName(b->failure));
    if (list_->itemCount() == 0) {
        // An empty list would read as "nobody played today".
        list_->addTextItemByKey("NormalTextWhiteWithShadow", callFailureTag(b->failure), false);
        list_->layout();
        return;
    }
    gUi->popups.showMessage(gEngine->text("ServiceOldData"));
}

void CdailyTracksScreen::leave() {
    timeCode_ = gGame->online.soap.unixTime();
    gGame->playTransitionEffect(nullptr);
    gGame->setGameMode(returnState_);
}

// With a pad, Select plays library tracks only.
void CdailyTracksScreen::updatePadButtons() {
    if (list_->itemCount() == 0) return;
    Cwidget* row = list_->findPressedItem();
    if (!row) row = list_->getSelectedItem();
    if (!row || row->floatValue == lastRowKind_) return;
    lastRowKind_ = row->floatValue;
    gUi->buttonBar.removeSelectButtons();
    if (lastRowKind_ != ITEM_TRACK) gUi->buttonBar.addButtonByKey("ListenToTrack", ACTION_SELECT, 0);
}

void CdailyTracksScreen::setTrackEntry(const CboardEntry& e) {
    const CdailyTrackScore rec = CdailyTrackScore::read(e.record);
    CtrackTags tags;
    tags.title = rec.title;
    tags.artist = rec.artist;
    tags.album = rec.album;
    tags.length = (float)rec.length;
    track_ = CsongPackInfo();
    track_.setOpenMic(nullptr, tags);
}

void CdailyTracksScreen::copyName(const CboardEntry& e) {
    const CdailyTrackScore rec = CdailyTrackScore::read(e.record);
    setClipboardText(rec.artist + " - " + rec.title);
    gUi->popups.showMessage(gEngine->text("SongCopiedToClipboard"));
}

void CdailyTracksScreen::viewBoard(const CboardEntry& e) {
    const CdailyTrackScore rec = CdailyTrackScore::read(e.record);
    setTrackEntry(e);
    if (CleaderboardScreen* board = screens::get<CleaderboardScreen>())
        board->open(GM_DAILY_TRACKS, &track_, isStandardShipName(rec.shipDefName));
}

void CdailyTracksScreen::playTrack(const CboardEntry& e) {
    setTrackEntry(e);
    if (CsongPackInfo* found = gGame->songLibrary.findByKey(track_.getKey(), true)) gGame->music.playTrack(found);
}

void CdailyTracksScreen::openTrackLink(const CboardEntry& e) {
    const CdailyTrackScore rec = CdailyTrackScore::read(e.record);
    // Only ids of safe characters make an address; the browser is started
    // directly, never through a shell.
    const std::string url = CgameSettingsScreen::challengeLink(rec.linkKind, rec.linkId);
    if (url.empty()) {
        gEngine->log.print(LOG_L, "Refused track link id: %s", rec.linkId.c_str());
        return;
    }
    gUi->popups.showMessage(gEngine->text(rec.linkKind == 'Y' ? "YouTubeLinkOpened" : "SpotifyLinkOpened"));
    if (openLink) openLink(url);

    Cgame& g = *gGame;
    if (C321GoScreen* countdown = screens::get<C321GoScreen>()) countdown->noteLinkOpened();
    gUi->playSound(kSuccessSound);
    g.music.startOpenMic();
    CgameSession& session = g.world.session;
    const Csettings& settings = g.saveLoad.settings;
    session.gameType = GAMETYPE_STANDARD;
    session.difficulty = settings.defDifficulty;
    session.difficultyFactor = settings.difficultyFactor;
    if (g.music.currentTrack) session.track = trackInfoFromSong(*g.music.currentTrack);
    session.startMusic = 1;
    session.restartMusic();
    gGame->playTransitionEffect(nullptr);
    g.setGameMode(GM_321_GO, true);
}
