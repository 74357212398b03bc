#include "screens/musicTypeList.h"

#include "engine/engine.h"
#include "engine/ui/uiMgr.h"
#include "game/game.h"
#include "screens/exit.h"
#include "screens/musicBrowser.h"
#include "screens/musicRadioBrowser.h"
#include "screens/openMicSetting.h"
#include "screens/screenRegistry.h"

namespace {
enum { ROW_FIND_MUSIC = 0, ROW_YOUR_MUSIC = 1, ROW_RADIO = 2, ROW_OPEN_MIC = 3, ROW_OPEN_MIC_SETTINGS = 4 };
constexpr int kActionSelect = 1, kActionBack = 2;
constexpr int kTutorials = 11;
const char* const kRowTemplate = "WideMenuItem";

const char* modeTag(int mode) {
    switch (mode) {
        case OPEN_MIC_LINE_IN: return "OpenMicLineIn";
        case OPEN_MIC_MICROPHONE: return "OpenMicMic";
        default: return "OpenMicDesktop";
    }
}
}  // namespace

const CwidgetBinding CmusicTypeListScreen::kBindings[] = {{&CmusicTypeListScreen::menu_, "Menu"}};

CmusicTypeListScreen::CmusicTypeListScreen() : ClayoutScreen("MusicTypeList.txt", kBindings) {}

bool CmusicTypeListScreen::onLoaded() {
    openMicShownRunning_ = false;
    return true;
}

void CmusicTypeListScreen::setOpenMicText(bool running) {
    openMicShownRunning_ = running;
    if (!openMicRow_) return;
    std::string text = std::string(gEngine->text(running ? "OpenMicStop" : "OpenMicStart")) +
                       gEngine->text(modeTag(gGame->music.captureSource));
    openMicRow_->setText("", text);
}

void CmusicTypeListScreen::onEnter() {
    menu_->clearItems();
    menu_->addTextItemByKey(kRowTemplate, "YourMusic")->value = ROW_YOUR_MUSIC;
    menu_->addTextItemByKey(kRowTemplate, "ShoutCastRadio")->value = ROW_RADIO;
    openMicRow_ = menu_->addTextItem(kRowTemplate, "", ROW_OPEN_MIC);
    openMicRow_->value = ROW_OPEN_MIC;
    setOpenMicText(gEngine->audio.openMicRunning);
    Cwidget* spacer = menu_->insertItem(gUi->createWidget("NormalText"), -1, false, 0, 0, false);
    if (spacer) spacer->setText("", "");
    menu_->addTextItemByKey(kRowTemplate, "FindMusic")->value = ROW_FIND_MUSIC;
    menu_->addTextItemByKey(kRowTemplate, "OpenMicSettingsTitle")->value = ROW_OPEN_MIC_SETTINGS;
    menu_->layout();

    gUi->buttonBar.addButtonByKey("OK", kActionSelect, 0);
    gUi->buttonBar.addButtonByKey("BACK", kActionBack, 1);
    if (auto* browser = screens::get<CmusicBrowserScreen>()) browser->clearOrigin();
    if (auto* radio = screens::get<CmusicRadioBrowserScreen>()) radio->clearOrigin();
    for (int i = 1; i <= kTutorials; ++i) gUi->tutorials.show("Tut_ManageMusic" + std::to_string(i));
}

void CmusicTypeListScreen::onUpdate() {
    if (gUi->action() == kActionBack) {
        gGame->setGameMode(GM_MAIN_MENU);
        return;
    }
    bool micRunning = gEngine->audio.openMicRunning;
    if (openMicShownRunning_ != micRunning) setOpenMicText(micRunning);

    Cwidget* row = menu_->highlightedItem();
    if (!row) return;
    gGame->playTransitionEffect(row);
    switch (row->value) {
        case ROW_FIND_MUSIC:
            gGame->setGameMode(GM_FIND_MUSIC, true);
            break;
        case ROW_YOUR_MUSIC:
            screens::get<CmusicBrowserScreen>()->open(MUSIC_FROM_TYPE_LIST);
            break;
        case ROW_RADIO:
            screens::get<CmusicRadioBrowserScreen>()->open(MUSIC_FROM_TYPE_LIST);
            break;
        case ROW_OPEN_MIC:
            if (!openMicShownRunning_) {
                if (gGame->music.startOpenMic()) gUi->tutorials.show("Tut_OpenMicDesktop");
            } else if (CsongPackInfo* track = gGame->songLibrary.getTrackForSource(SOURCE_RANDOM)) {
                gGame->music.playTrack(track);   // ends open mic
            }
            setOpenMicText(gEngine->audio.openMicRunning);
            break;
        case ROW_OPEN_MIC_SETTINGS:
            screens::get<CopenMicSettingsScreen>()->open(GM_MUSIC_TYPE_LIST);
            break;
    }
}
