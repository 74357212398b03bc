#pragma once
// The values the options screens edit: what each offers, the values held at
// entry so a cancel can put them back, and what a change applies at once.
#include <string>
#include <vector>

#include "engine/inputTouch.h"

class Csettings;
class CaudioBASS;
struct CloginData;

// The options menu's items, in order: tag, value, item template.
struct CoptionsItem {
    const char* tag;
    int value;
    const char* itemTemplate;
};
enum EoptionsItem {
    OPT_SCREEN_REZ = 0, OPT_VOLUME = 1, OPT_CONFIG_GAMEPAD = 2, OPT_CONFIG_KEYBOARD = 3, OPT_LANGUAGE = 4,
    OPT_CREDITS = 5, OPT_NOTIFICATIONS = 6, OPT_OPEN_MIC = 7, OPT_RESET_TUTORIAL = 8, OPT_TWITTER = 9,
    OPT_VIRTUAL_STICKS = 10
};
// inputDevice is the first player's (0 keyboard and mouse, 1 controller,
// 2 touch); notifications are offered only when opened from the main menu.
std::vector<CoptionsItem> optionsMenuItems(int inputDevice, int returnState);

// Graphics detail steps; the item chosen at entry is the highest one the
// setting reaches.
struct CdetailStep {
    const char* tag;
    float value;
};
const std::vector<CdetailStep>& detailSteps();
int detailStepOf(float detail);

// Volume and detail: applied as they change, put back on cancel.
class CvolumeChoice {
public:
    void begin(const Csettings& settings);
    // Each returns true when the value changed.
    bool setMusic(Csettings& settings, CaudioBASS& audio, float v);
    bool setEffects(Csettings& settings, CaudioBASS& audio, float v);
    void setDetail(Csettings& settings, float v);
    void setVisualiser(Csettings& settings, float v);
    void setAutoShots(Csettings& settings, bool on);
    // The values at entry go back into the settings and into the engine.
    void cancel(Csettings& settings, CaudioBASS& audio) const;

    float entryMusic = 0, entryEffects = 0, entryDetail = 0, entryVisualiser = 0;
    bool entryAutoShots = false;
};

// The on-screen sticks' six values.
CstickSettings stickSettingsOf(const Csettings& settings);
void storeStickSettings(Csettings& settings, const CstickSettings& s);

// The e-mail address for notifications.
namespace emailChoice {
constexpr size_t kMaxChars = 40;
constexpr size_t kMinChars = 4;
// Shorter than four characters reads as no address.
std::string normalise(const std::string& typed);
// A Steam sign-in keeps the player's Steam id where the e-mail goes; it is
// no address to show or to write to.
bool isSteamIdLogin(const std::string& stored);
// What the e-mail box shows for the stored address.
std::string shownAddress(const std::string& stored);
// Stores the address in the settings and the login data. True when it changed
// (the login file should then be written). An empty address leaves a Steam
// sign-in's id in the login.
bool store(const std::string& address, Csettings& settings, CloginData& login);
// What analytics is told: never the address itself.
const char* analyticsAction(const std::string& address);
}  // namespace emailChoice
