#include "screens/optionsVolume.h"

#include "engine/engine.h"
#include "game/game.h"
#include "screens/exit.h"

namespace {
const char* const kLabels[] = {"MusicVolume", "SfxVolume", "GraphicsDetail", "MenuVisualiser", "AutoShots"};
}  // namespace

const CwidgetBinding CoptionsVolumeScreen::kBindings[] = {
    {&CoptionsVolumeScreen::music_, "musicVol"},        {&CoptionsVolumeScreen::sfx_, "sfxVol"},
    {&CoptionsVolumeScreen::detail_, "GraphicsDetail"}, {&CoptionsVolumeScreen::visualiser_, "MenuVisualiser"},
    {&CoptionsVolumeScreen::autoShots_, "AutoShots"},
};

CoptionsVolumeScreen::CoptionsVolumeScreen() : ClayoutScreen("optionsVolume.txt", kBindings) {}

bool CoptionsVolumeScreen::onLoaded() {
    Cmenu* bound[COUNT] = {music_, sfx_, detail_, visualiser_, autoShots_};
    for (int i = 0; i < COUNT; ++i) menus_[i] = bound[i];
    std::vector<std::string> tens, percent;
    std::vector<float> values;
    for (int i = 0; i <= 10; ++i) {
        tens.push_back(CbString::format("%d", i).str());
        percent.push_back(CbString::format("%d%%", i * 10).str());
        values.push_back((float)i / 10.0f);
    }
    CmenuRows::fillRow(menus_[MUSIC], kLabels[MUSIC], "ChoiceMenuItem", tens, values, 48);
    CmenuRows::fillRow(menus_[EFFECTS], kLabels[EFFECTS], "ChoiceMenuItem", tens, values, 48);
    CmenuRows::fillRow(menus_[VISUALISER], kLabels[VISUALISER], "ChoiceMenuItem", percent, values, 48);
    rows_.setMenus({menus_[MUSIC], menus_[EFFECTS], menus_[DETAIL], menus_[VISUALISER], menus_[AUTO_SHOTS]});
    return true;
}

void CoptionsVolumeScreen::onEnter() {
    gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
    gUi->buttonBar.addButtonByKey("CANCEL", ACTION_BACK, ICON_BACK);
    const Csettings& s = gGame->saveLoad.settings;
    choice_.begin(s);
    std::vector<std::string> detailTexts;
    std::vector<float> detailValues;
    for (const CdetailStep& d : detailSteps()) {
        detailTexts.push_back(gEngine->language().text(d.tag));
        detailValues.push_back(d.value);
    }
    CmenuRows::fillRow(menus_[DETAIL], kLabels[DETAIL], "WideChoiceMenuItem", detailTexts, detailValues, 130);
    // Filled on each entry, so the choices read in the language chosen since.
    const CstringTable& t = gEngine->language();
    CmenuRows::fillRow(menus_[AUTO_SHOTS], kLabels[AUTO_SHOTS], "WideChoiceMenuItem", {t.text("No"), t.text("Yes")},
                       {0.0f, 1.0f}, 130);
    CmenuRows::selectValue(menus_[MUSIC], s.musicVolume);
    CmenuRows::selectValue(menus_[EFFECTS], s.sfxVolume);
    CmenuRows::selectValue(menus_[VISUALISER], s.menuVisualiser);
    CmenuRows::selectValue(menus_[AUTO_SHOTS], s.autoShots ? 1.0f : 0.0f);
    menus_[DETAIL]->setSelectedIdx(1 + detailStepOf(s.graphicsDetail));
    rows_.focus(0);
    gEngine->log.print(LOG_L, "Volume screen: music %.1f, effects %.1f", s.musicVolume, s.sfxVolume);
}

// The rows take the focus before the menus read this step's keys.
void CoptionsVolumeScreen::update() {
    rows_.update();
    ClayoutScreen::update();
}

void CoptionsVolumeScreen::onUpdate() {
    Csettings& s = gGame->saveLoad.settings;
    CaudioBASS& audio = gEngine->audio;
    choice_.setMusic(s, audio, CmenuRows::selectedValue(menus_[MUSIC], s.musicVolume));
    if (choice_.setEffects(s, audio, CmenuRows::selectedValue(menus_[EFFECTS], s.sfxVolume))) {
        gGame->sfx.stop(kPreviewSlot);
        gGame->sfx.play(kPreviewSlot);
    }
    choice_.setDetail(s, CmenuRows::selectedValue(menus_[DETAIL], s.graphicsDetail));
    choice_.setVisualiser(s, CmenuRows::selectedValue(menus_[VISUALISER], s.menuVisualiser));
    choice_.setAutoShots(s, CmenuRows::selectedValue(menus_[AUTO_SHOTS], s.autoShots ? 1.0f : 0.0f) > 0.5f);
    int action = gUi->action();
    if (action == ACTION_BACK) {
        choice_.cancel(s, audio);
        gGame->setGameMode(GM_OPTIONS, true);
    } else if (action == ACTION_SELECT) {
        s.dirty = true;
        gGame->saveLoad.saveSettings();
        gGame->setGameMode(GM_OPTIONS, true);
    }
}

