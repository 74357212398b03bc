#include "screens/optionsVirtualThumbSticks.h"

#include "engine/engine.h"
#include "engine/ui/uiDraw.h"
#include "game/game.h"
#include "screens/optionsChoices.h"

namespace {

std::vector<std::string> numbers(int from, int to, std::vector<float>& values) {
    std::vector<std::string> out;
    values.clear();
    for (int i = from; i <= to; ++i) {
        out.push_back(CbString::format("%d", i).str());
        values.push_back((float)i);
    }
    return out;
}
}  // namespace

const CwidgetBinding CoptionsVirtualThumbSticksScreen::kBindings[] = {
    {&CoptionsVirtualThumbSticksScreen::stickType_, "StickType"},
    {&CoptionsVirtualThumbSticksScreen::swap_, "SwapSticks"},
    {&CoptionsVirtualThumbSticksScreen::weapons_, "WeaponButtons"},
    {&CoptionsVirtualThumbSticksScreen::size_, "StickSize"},
    {&CoptionsVirtualThumbSticksScreen::fixedX_, "FixedPosX"},
    {&CoptionsVirtualThumbSticksScreen::fixedY_, "FixedPosY"},
};

CoptionsVirtualThumbSticksScreen::CoptionsVirtualThumbSticksScreen() : ClayoutScreen("optionsVirtualThumbSticks.txt", kBindings) {}

bool CoptionsVirtualThumbSticksScreen::onLoaded() {
    Cmenu* bound[COUNT] = {stickType_, swap_, weapons_, size_, fixedX_, fixedY_};
    for (int i = 0; i < COUNT; ++i) menus_[i] = bound[i];
    rows_.setMenus({menus_[0], menus_[1], menus_[2], menus_[3], menus_[4], menus_[5]});
    return true;
}

void CoptionsVirtualThumbSticksScreen::onEnter() {
    gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
    gUi->buttonBar.addButtonByKey("CANCEL", ACTION_BACK, ICON_BACK);
    const CstringTable& t = gEngine->language();
    std::vector<float> v;
    CmenuRows::fillRow(menus_[STICK_TYPE], "StickType", "WideChoiceMenuItem", {t.text("VTSFixed"), t.text("VTSFloating")},
                       {0, 1}, 130);
    CmenuRows::fillRow(menus_[SWAP], "SwapSticks", "WideChoiceMenuItem", {t.text("No"), t.text("Yes")}, {0, 1}, 130);
    CmenuRows::fillRow(menus_[WEAPONS], "WeaponButtons", "WideChoiceMenuItem", {t.text("Left"), t.text("Right")}, {0, 1},
                       130);
    auto sizes = numbers(1, 10, v);
    CmenuRows::fillRow(menus_[SIZE], "StickSize", "TinyMenuItem", sizes, v, 44);
    auto pos = numbers(-10, 10, v);
    CmenuRows::fillRow(menus_[FIXED_X], "FixedPosX", "TinyMenuItem", pos, v, 36);
    CmenuRows::fillRow(menus_[FIXED_Y], "FixedPosY", "TinyMenuItem", pos, v, 36);
    entry_ = stickSettingsOf(gGame->saveLoad.settings);
    CmenuRows::selectValue(menus_[STICK_TYPE], (float)entry_.type);
    CmenuRows::selectValue(menus_[SWAP], (float)entry_.swap);
    CmenuRows::selectValue(menus_[WEAPONS], (float)entry_.weaponButtons);
    CmenuRows::selectValue(menus_[SIZE], (float)entry_.size);
    CmenuRows::selectValue(menus_[FIXED_X], (float)entry_.fixedX);
    CmenuRows::selectValue(menus_[FIXED_Y], (float)entry_.fixedY);
    rows_.focus(0);
}

void CoptionsVirtualThumbSticksScreen::layoutSticks() {
    CvirtualSticks& sticks = gEngine->input.sticks;
    sticks.layout(stickSettingsOf(gGame->saveLoad.settings), (float)gEngine->screenWidth,
                  (float)gEngine->screenHeight);
}

// The rows take the focus before the menus read this step's keys.
void CoptionsVirtualThumbSticksScreen::update() {
    rows_.update();
    ClayoutScreen::update();
}

void CoptionsVirtualThumbSticksScreen::onUpdate() {
    Csettings& s = gGame->saveLoad.settings;
    CstickSettings v = stickSettingsOf(s);
    v.type = (int)CmenuRows::selectedValue(menus_[STICK_TYPE], (float)v.type);
    v.swap = (int)CmenuRows::selectedValue(menus_[SWAP], (float)v.swap);
    v.weaponButtons = (int)CmenuRows::selectedValue(menus_[WEAPONS], (float)v.weaponButtons);
    v.size = (int)CmenuRows::selectedValue(menus_[SIZE], (float)v.size);
    v.fixedX = (int)CmenuRows::selectedValue(menus_[FIXED_X], (float)v.fixedX);
    v.fixedY = (int)CmenuRows::selectedValue(menus_[FIXED_Y], (float)v.fixedY);
    storeStickSettings(s, v);
    int action = gUi->action();
    if (action == ACTION_BACK) {
        storeStickSettings(s, entry_);
        layoutSticks();
        gGame->setGameMode(GM_OPTIONS, true);
    } else if (action == ACTION_SELECT) {
        s.dirty = true;
        gGame->saveLoad.saveSettings();
        gGame->setGameMode(GM_OPTIONS, true);
    } else {
        layoutSticks();
    }
}

void CoptionsVirtualThumbSticksScreen::render() {
    ClayoutScreen::render();
    // The sticks as play shows them, so the player sees each change.
    const CvirtualSticks& sticks = gEngine->input.sticks;
    Csprite* base = gEngine->sprites.findSprite("ui_stickBase.png", false);
    Csprite* knob = gEngine->sprites.findSprite("ui_stickKnob.png", false);
    for (int i = 0; i < 2; ++i) {
        const CvirtualSticks::Cstick& st = sticks.stick(i);
        float d = st.radius * 2.0f;
        if (base) uiDraw::sprite(base, st.home.x, st.home.y, d, d, sticks.colour);
        if (knob) uiDraw::sprite(knob, st.home.x, st.home.y, sticks.inner * 2.0f, sticks.inner * 2.0f, sticks.colour);
    }
}
