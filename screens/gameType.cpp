#include "screens/gameType.h"

#include "engine/engine.h"
#include "engine/ui/uiMgr.h"
#include "game/game.h"
#include "game/gameTypes.h"
#include "game/musicLink.h"
#include "screens/exit.h"
#include "screens/musicBrowser.h"
#include "screens/musicRadioBrowser.h"
#include "screens/screenRegistry.h"

namespace {
constexpr int kActionSelect = 1, kActionBack = 2;
constexpr int kRefusedSound = 7;
// The game types offered here; party football and the ship test start elsewhere.
constexpr int kGameTypes[] = {GAMETYPE_STANDARD, GAMETYPE_SURVIVAL, GAMETYPE_BOSSRUSH, GAMETYPE_CHILLOUT};

}  // namespace

bool pickTrackForSource(int source, CsongPackInfo*& track) {
    Cgame& g = *gGame;
    track = nullptr;
    switch (source) {
        case MUSIC_NOW_PLAYING: track = g.songLibrary.getTrackForSource(SOURCE_CURRENT); break;
        case MUSIC_RANDOM: track = g.songLibrary.getTrackForSource(SOURCE_RANDOM); break;
        case MUSIC_RANDOM_FAVOURITE: track = g.songLibrary.getTrackForSource(SOURCE_RANDOM_FAVOURITE); break;
        case MUSIC_NOT_PLAYED_YET: track = g.songLibrary.getTrackForSource(SOURCE_NOT_PLAYED); break;
        default: return true;
    }
    if (source == MUSIC_NOW_PLAYING && !track) track = g.music.currentTrack;
    if (!track) {
        gUi->playSound(kRefusedSound);
        gEngine->log.print(LOG_L, "No track for music source %s", musicSourceTag(source));
        gUi->popups.showMessage(gEngine->text("NoTrackForSource"));
        return false;
    }
    return true;
}

namespace {
void lock(Cwidget* item) {
    item->value = -1;
    item->floatValue = -1.0f;
}
}  // namespace

const CwidgetBinding CgameTypeScreen::kBindings[] = {{&CgameTypeScreen::gameType_, "gameType"},
                                                     {&CgameTypeScreen::musicSource_, "musicSource"},
                                                     {&CgameTypeScreen::twinSticks_, "twinSticks"}};

CgameTypeScreen::CgameTypeScreen() : ClayoutScreen("gameType.txt", kBindings) {}

bool CgameTypeScreen::onLoaded() {
    columns_.set({gameType_, musicSource_, twinSticks_});
    return true;
}

void CgameTypeScreen::onEnter() {
    Cgame& g = *gGame;
    gameType_->clearItems();
    for (int type : kGameTypes) gameType_->addTextItem("SmallMenuItem", gameTypeName(type), type);
    gameType_->setSelectedIdx(0);
    for (size_t i = 0; i < gameType_->itemCount(); ++i)
        if (gameType_->item(i)->value == g.world.session.gameType) gameType_->setSelectedIdx((int)i);
    gameType_->layout();

    musicSource_->clearItems();
    for (int source = 0; source < MUSIC_SOURCE_COUNT; ++source) {
        Cwidget* item = musicSource_->addTextItem("SmallMenuItem", musicSourceName(source), source);
        if (source == MUSIC_NOT_PLAYED_YET && g.songLibrary.countUnplayedTracks() == 0) lock(item);
        if (source == MUSIC_RANDOM_FAVOURITE && g.songLibrary.favouritesEmpty()) lock(item);
    }
    musicSource_->setSelectedIdx(g.music.openMicRunning() ? MUSIC_OPEN_MIC : 0);
    musicSource_->layout();

    twinSticks_->clearItems();
    twinSticks_->addTextItemByKey("SmallMenuItem", "SingleStick", int64_t{0});
    twinSticks_->addTextItemByKey("SmallMenuItem", "TwinSticks", int64_t{1});
    twinSticks_->setSelectedIdx(g.saveLoad.settings.twinStick ? 1 : 0);
    twinSticks_->layout();
    twinSticks_->setVisible(gUi->input().device == DEVICE_TOUCH);

    gUi->buttonBar.addButtonByKey("OK", kActionSelect, 0);
    gUi->buttonBar.addButtonByKey("BACK", kActionBack, 1);
    columns_.reset();
}

void CgameTypeScreen::update() {
    columns_.update();
    ClayoutScreen::update();
}

void CgameTypeScreen::onUpdate() {
    int action = gUi->action();
    if (action == kActionBack) {
        gGame->setGameMode(GM_MAIN_MENU, true);
        return;
    }
    if (action == kActionSelect) confirm();
}

void CgameTypeScreen::confirm() {
    Cgame& g = *gGame;
    Cwidget* source = musicSource_->getSelectedItem();
    Cwidget* type = gameType_->getSelectedItem();
    if (!source || !type || source->locked()) {
        gUi->playSound(kRefusedSound);
        return;
    }
    int sourceValue = (int)source->value;
    CsongPackInfo* track = nullptr;
    if (!pickTrackForSource(sourceValue, track)) return;
    CgameSession& session = g.world.session;
    session.gameType = (int)type->value;
    session.musicSource = sourceValue;
    if (gUi->input().device == DEVICE_TOUCH) {
        Cwidget* sticks = twinSticks_->getSelectedItem();
        g.saveLoad.settings.twinStick = sticks && sticks->value != 0;
        if (g.saveSettings) g.saveSettings();
    }
    goToMusicSource(sourceValue, track, musicSource_->getSelectedItem(), MUSIC_FROM_GAME_TYPE);
}

void goToMusicSource(int source, CsongPackInfo* track, Cwidget* pressed, EmusicOrigin origin) {
    Cgame& g = *gGame;
    CgameSession& session = g.world.session;
    g.playTransitionEffect(pressed);
    switch (source) {
        case MUSIC_OPEN_MIC:
            g.music.startOpenMic();
            if (g.music.currentTrack) session.track = trackInfoFromSong(*g.music.currentTrack);
            g.setGameMode(GM_GAME_SETTINGS, true);
            break;
        case MUSIC_TRACK_LIST:
            screens::get<CmusicBrowserScreen>()->open(origin);
            break;
        case MUSIC_RADIO_LIST:
            screens::get<CmusicRadioBrowserScreen>()->open(origin);
            break;
        default:
            if (!track) return;
            if (track != g.music.currentTrack) g.music.playTrack(track);
            session.track = trackInfoFromSong(*track);
            g.setGameMode(GM_GAME_SETTINGS, true);
            break;
    }
}
