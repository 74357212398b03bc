#include "screens/findMusic.h"

#include "engine/engine.h"
#include "engine/format.h"
#include "engine/ui/uiMgr.h"
#include "game/game.h"
#include "screens/confirm.h"
#include "screens/desktopDialog.h"
#include "screens/musicBrowser.h"
#include "screens/screenRegistry.h"

namespace {
enum { ROW_SEARCH = 0, ROW_CLEAR = 1 };
constexpr int kActionBack = 2;
constexpr int kIconBack = 1;
}  // namespace

const CwidgetBinding CfindMusicScreen::kBindings[] = {
    {&CfindMusicScreen::menu_, "Menu"},
    {&CfindMusicScreen::numTracks_, "NumTracks"},
    {&CfindMusicScreen::tracksFound_, "TracksFound"},
    {&CfindMusicScreen::currentFolder_, "CurrentFolder"},
    {&CfindMusicScreen::currentFolderTitle_, "CurrentFolderTitle"},
    {&CfindMusicScreen::foundTitleHeading_, "FoundTrackInfoTxtTitle"},
    {&CfindMusicScreen::foundTitle_, "FoundTrackInfoTitle"},
    {&CfindMusicScreen::foundAlbum_, "FoundTrackInfoAlbum"},
    {&CfindMusicScreen::foundArtist_, "FoundTrackInfoArtist"},
    {&CfindMusicScreen::stop_, "Stop"},
};

CfindMusicScreen::CfindMusicScreen() : ClayoutScreen("findMusic.txt", kBindings) {}

CfindMusicScreen::~CfindMusicScreen() = default;

bool CfindMusicScreen::onLoaded() {
    walk_ = std::make_unique<CmusicIndexer>(gGame->songLibrary);
    return true;
}

void CfindMusicScreen::onEnter() {
    // A walk left behind (the screen was left another way) ends as a stop would.
    if (running()) {
        gEngine->log.print(LOG_L, "Index: Stopped");
        walk_->stop();
        gGame->songLibrary.save();
    }
    menu_->clearItems();
    menu_->addTextItemByKey("MenuItem", "SearchComputer")->value = ROW_SEARCH;
    menu_->addTextItemByKey("MenuItem", "ClearTracks")->value = ROW_CLEAR;
    menu_->layout();
    menu_->setVisible(true);
    gUi->buttonBar.addButtonByKey("BACK", kActionBack, kIconBack);

    walk_->clearProgress();
    tracksAtEntry_ = gGame->songLibrary.countKind(SONG_LOCAL);
    dialogTimer_ = 0;
    awaitingClear_ = false;
    refreshInfo();
    stop_->setHidden(true);
}

void CfindMusicScreen::onUpdate() {
    if (awaitingClear_) {
        CconfirmScreen& confirm = *screens::get<CconfirmScreen>();
        if (confirm.showing()) return;
        if (confirm.chosen && confirm.value == 1.0f) clearTracks();
        awaitingClear_ = false;
        confirm.reset();
        return;
    }
    if (running()) {
        if (screen_->wasPressed(stop_)) {
            gEngine->log.print(LOG_L, "Index: Stopped");
            walk_->stop();
            finish();
        }
        return;
    }
    if (dialogTimer_ > 0) {
        dialogTimer_ -= (float)gEngine->frameTime;
        if (dialogTimer_ <= 0) {
            dialogTimer_ = 0;
            openDialog();
        }
        return;
    }
    if (Cwidget* row = menu_->highlightedItem()) {
        if (row->value == ROW_SEARCH) {
            prepareDialog();
        } else if (row->value == ROW_CLEAR) {
            awaitingClear_ = true;
            CconfirmScreen& confirm = *screens::get<CconfirmScreen>();
            confirm.reset();
            confirm.setMessage(gEngine->text("ClearTracks"));
            confirm.setMessage2(gEngine->text("AreYouSure"));
            confirm.addMenuItem(gEngine->text("Yes"), 1);
            confirm.addMenuItem(gEngine->text("No"), 0);
            confirm.enter();
        }
        return;
    }
    if (gUi->action() == kActionBack) gGame->setGameMode(GM_MUSIC_TYPE_LIST);
}

void CfindMusicScreen::render() {
    ClayoutScreen::render();
    if (!running()) return;
    walk_->runSlice(kSliceMs);
    if (!walk_->running()) finish();
    else refreshInfo();
}

void CfindMusicScreen::prepareDialog() { dialogTimer_ = desktopDialog::prepare(); }

void CfindMusicScreen::openDialog() {
    std::string folder = desktopDialog::pickFolder();
    if (folder.empty()) return;
    gEngine->log.print(LOG_L, "%s", folder.c_str());
    start(folder);
}

void CfindMusicScreen::start(const std::string& folder) {
    // Open mic holds the capture device; a library track ends it.
    if (gEngine->audio.openMicRunning) gGame->music.playTrack(gGame->songLibrary.getRandomTrack());
    tracksBeforeWalk_ = gGame->songLibrary.countKind(SONG_LOCAL);
    walk_->start(folder);
    stop_->setHidden(false);
    stop_->startEffect(EFFECT_GROW_IN);
    menu_->setVisibleWithTransition(false);
    gUi->buttonBar.push();
    refreshInfo();
}

void CfindMusicScreen::finish() {
    stop_->startEffect(EFFECT_SHRINK_OUT);
    menu_->setVisibleWithTransition(true);
    gUi->buttonBar.pop();
    refreshInfo();
    gGame->songLibrary.save();
    if (CmusicBrowserScreen* browser = screens::get<CmusicBrowserScreen>()) browser->libraryChanged();
}

void CfindMusicScreen::clearTracks() {
    CsongInfoMgr& lib = gGame->songLibrary;
    lib.clearLocalTracks();
    gGame->music.addBuiltInTracks();
    lib.save();
    walk_->clearProgress();
    refreshInfo();
    if (CmusicBrowserScreen* browser = screens::get<CmusicBrowserScreen>()) browser->libraryChanged();
    gGame->music.playTrack(lib.getRandomTrack());
}

void CfindMusicScreen::refreshInfo() {
    // While walking, the library's count follows from the walk's: no count over the library every frame.
    const int tracks = running() ? tracksBeforeWalk_ + walk_->tracksFound() : gGame->songLibrary.countKind(SONG_LOCAL);
    numTracks_->setText("", formatThousands(tracks));
    tracksFound_->setText("", formatThousands(walk_->tracksFound()));
    currentFolder_->setText("", walk_->path());
    bool show = running();
    for (Cwidget* w : {currentFolder_, foundTitleHeading_, currentFolderTitle_}) w->setHidden(!show);
    const CtrackTags& t = walk_->lastTags();
    foundTitle_->setText("", show ? t.title : " ");
    foundAlbum_->setText("", show ? t.album : " ");
    foundArtist_->setText("", show ? t.artist : " ");
}
