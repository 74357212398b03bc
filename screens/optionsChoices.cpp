#include "screens/optionsChoices.h"

#include <algorithm>

#include "audio/audioBASS.h"
#include "engine/engine.h"
#include "engine/inputBinding.h"
#include "game/gameModes.h"
#include "game/progress/saveLoad.h"
#include "game/progress/settings.h"

std::vector<CoptionsItem> optionsMenuItems(int inputDevice, int returnState) {
    std::vector<CoptionsItem> items;
    items.push_back({"Language", OPT_LANGUAGE, "MenuItem"});
    items.push_back({"ScreenRez", OPT_SCREEN_REZ, "MenuItem"});
    if (inputDevice == DEVICE_CONTROLLER) items.push_back({"ConfigGamepad", OPT_CONFIG_GAMEPAD, "MenuItem"});
    if (inputDevice == DEVICE_KEYBOARD_MOUSE) items.push_back({"ConfigKeyboard", OPT_CONFIG_KEYBOARD, "MenuItem"});
    // The on-screen sticks are only worth setting up for a touch player.
    if (inputDevice == DEVICE_TOUCH) items.push_back({"VirtualThumbSticks", OPT_VIRTUAL_STICKS, "MenuItem"});
    items.push_back({"VolumeDetails", OPT_VOLUME, "MenuItem"});
    if (returnState == GM_MAIN_MENU) items.push_back({"Notifications", OPT_NOTIFICATIONS, "MenuItem"});
    items.push_back({"OpenMicSettingsTitle", OPT_OPEN_MIC, "MenuItem"});
    items.push_back({"SetupTwitter", OPT_TWITTER, "MenuItemTwitter"});
    items.push_back({"Credits", OPT_CREDITS, "MenuItem"});
    items.push_back({"ResetTutorial", OPT_RESET_TUTORIAL, "MenuItem"});
    return items;
}

const std::vector<CdetailStep>& detailSteps() {
    static const std::vector<CdetailStep> steps = {
        {"DetailLow", 0.0f}, {"DetailMedium", 0.3f}, {"DetailHigh", 0.6f}, {"DetailMax", kDetailMax}};
    return steps;
}

int detailStepOf(float detail) {
    int pick = 0;
    const auto& steps = detailSteps();
    for (size_t i = 0; i < steps.size(); ++i)
        if (detail + 1e-4f >= steps[i].value) pick = (int)i;
    return pick;
}

void CvolumeChoice::begin(const Csettings& s) {
    entryMusic = s.musicVolume;
    entryEffects = s.sfxVolume;
    entryDetail = s.graphicsDetail;
    entryVisualiser = s.menuVisualiser;
    entryAutoShots = s.autoShots;
}

bool CvolumeChoice::setMusic(Csettings& s, CaudioBASS& audio, float v) {
    v = std::clamp(v, 0.0f, 1.0f);
    if (v == s.musicVolume && v == audio.musicVolume) return false;
    s.musicVolume = v;
    audio.setMusicVolume(v);
    audio.musicVolumeChanged = true;
    return true;
}

bool CvolumeChoice::setEffects(Csettings& s, CaudioBASS& audio, float v) {
    v = std::clamp(v, 0.0f, 1.0f);
    if (v == s.sfxVolume && v == audio.sfxVolume) return false;
    s.sfxVolume = v;
    audio.setSfxVolume(v);
    return true;
}

void CvolumeChoice::setDetail(Csettings& s, float v) { s.graphicsDetail = std::clamp(v, 0.0f, kDetailMax); }
void CvolumeChoice::setVisualiser(Csettings& s, float v) { s.menuVisualiser = std::clamp(v, 0.0f, 1.0f); }
void CvolumeChoice::setAutoShots(Csettings& s, bool on) { s.autoShots = on; }

void CvolumeChoice::cancel(Csettings& s, CaudioBASS& audio) const {
    s.musicVolume = entryMusic;
    s.sfxVolume = entryEffects;
    s.graphicsDetail = entryDetail;
    s.menuVisualiser = entryVisualiser;
    s.autoShots = entryAutoShots;
    // What was heard while the screen was open must not outlive the cancel.
    audio.setMusicVolume(entryMusic);
    audio.musicVolumeChanged = true;
    audio.setSfxVolume(entryEffects);
}

CstickSettings stickSettingsOf(const Csettings& s) {
    CstickSettings out;
    out.type = s.stickType;
    out.swap = s.swapSticks;
    out.weaponButtons = s.weaponButtons;
    out.size = s.stickSize;
    out.fixedX = s.fixedX;
    out.fixedY = s.fixedY;
    return out;
}

void storeStickSettings(Csettings& s, const CstickSettings& v) {
    s.stickType = (uint8_t)std::clamp(v.type, 0, 1);
    s.swapSticks = (uint8_t)std::clamp(v.swap, 0, 1);
    s.weaponButtons = (uint8_t)std::clamp(v.weaponButtons, 0, 1);
    s.stickSize = std::clamp(v.size, 1, 10);
    s.fixedX = std::clamp(v.fixedX, -10, 10);
    s.fixedY = std::clamp(v.fixedY, -10, 10);
}

namespace emailChoice {
std::string normalise(const std::string& typed) { return typed.size() < kMinChars ? std::string() : typed; }

bool isSteamIdLogin(const std::string& stored) {
    return gEngine && gEngine->steamId != 0 && stored == std::to_string(gEngine->steamId);
}

std::string shownAddress(const std::string& stored) { return isSteamIdLogin(stored) ? std::string() : stored; }

bool store(const std::string& address, Csettings& settings, CloginData& login) {
    std::string a = normalise(address);
    // No address given over a Steam sign-in: the login keeps its id.
    if (a.empty() && isSteamIdLogin(login.email)) {
        bool changed = !settings.email.empty();
        settings.email.clear();
        if (changed) settings.dirty = true;
        return false;
    }
    bool changed = a != login.email || a != settings.email;
    settings.email = a;
    login.email = a;
    if (changed) settings.dirty = true;
    return changed;
}

const char* analyticsAction(const std::string& address) { return normalise(address).empty() ? "Cleared" : "Set"; }
}  // namespace emailChoice
