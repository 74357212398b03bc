#include "game/gameModes.h"

#include "engine/bString.h"

namespace {
struct CgameModeInfo {
    int mode;
    const char* name;
    bool hasScreen;
};

// Indexed by state number; the static_assert below keeps the rows in order.
constexpr CgameModeInfo kModes[GM_COUNT] = {
    {GM_INIT, "Init", false},
    {GM_PRESS_START, "PressStart", true},
    {GM_START_UP, "StartUp", true},
    {GM_MAIN_MENU, "MainMenu", true},
    {GM_OPTIONS, "Options", true},
    {GM_OPTIONS_VOLUME, "OptionsVolume", true},
    {GM_OPTIONS_NOTIFICATIONS, "OptionsNotifications", true},
    {GM_SET_REZ, "SetRez", true},
    {GM_CONFIRM, "Confirm", true},
    {GM_CONFIG, "Config", true},
    {GM_ACHIEVEMENTS, "Achievements", true},
    {GM_ACHIEVEMENT_MENU, "AchievementMenu", true},
    {GM_LANGUAGE, "Language", true},
    {GM_LOADING, "Loading", true},
    {GM_LOADING_DONE, "LoadingDone", false},
    {GM_SIGN_IN, "SignIn", true},
    {GM_RESERVED, "Reserved", false},
    {GM_LEADERBOARD, "Leaderboard", true},
    {GM_CREDITS, "Credits", true},
    {GM_FIND_MUSIC, "FindMusic", true},
    {GM_MUSIC_BROWSER, "MusicBrowser", true},
    {GM_MUSIC_BROWSER_SHIP_MISSIONS, "MusicBrowserShipMissions", true},
    {GM_MUSIC_RADIO_BROWSER, "MusicRadioBrowser", true},
    {GM_MUSIC_TYPE_LIST, "MusicTypeList", true},
    {GM_PLAYING, "Playing", true},
    {GM_GAME_OVER, "GameOver", true},
    {GM_GAME_OVER_BOSS_RUSH, "GameOverBossRush", true},
    {GM_GAME_OVER_SURVIVAL, "GameOverSurvival", true},
    {GM_GAME_OVER_PARTY, "GameOverParty", true},
    {GM_RANK_UP, "RankUp", true},
    {GM_PERK_MENU, "PerkMenu", true},
    {GM_PERK_UNLOCK, "PerkUnlock", true},
    {GM_GAME_TYPE, "GameType", true},
    {GM_GAME_SETTINGS, "GameSettings", true},
    {GM_321_GO, "321Go", true},
    {GM_FIND_PLAYER, "FindPlayer", true},
    {GM_FRIEND_COMPARE, "FriendCompare", true},
    {GM_NEWS_FEED, "NewsFeed", true},
    {GM_OPEN_MIC_SETTINGS, "OpenMicSettings", true},
    {GM_CHINA_CHECK, "ChinaCheck", true},
    {GM_DAILY_TRACKS, "DailyTracks", true},
    {GM_HANGAR, "Hangar", true},
    {GM_MISSON_UPDATE, "MissonUpdate", true},
    {GM_SHIP_EDITOR, "ShipEditor", true},
    {GM_PARTY_LOGIN, "PartyLogin", true},
    {GM_PARTY_GAME_TYPE, "PartyGameType", true},
    {GM_UNLOCK_PROC_SHIP, "UnlockProcShip", true},
    {GM_UNLOCK_SHIP_MOD, "UnlockShipMod", true},
    {GM_TB_HUB, "TBHub", true},
    {GM_UNLOCK_TB_SHIP, "UnlockTBShip", true},
    {GM_EDIT_MODULES, "EditModules", true},
    {GM_DAILY_CHALLENGE_L, "DailyChallenge-L", true},
    {GM_DAILY_CHALLENGE_D, "DailyChallenge-D", false},
    {GM_UNLOCK_CHALLENGE_SHIP, "UnlockChallengeShip", true},
    {GM_OPTIONS_TWITTER, "OptionsTwitter", true},
    {GM_SHARE_MOMENT, "ShareMoment", true},
    {GM_GALLERY, "Gallery", true},
    {GM_OPTIONS_VIRTUAL_THUMB_STICKS, "OptionsVirtualThumbSticks", true},
    {GM_EXIT, "Exit", true},
    {GM_REALLY_EXIT, "ReallyExit", true},
};

constexpr bool rowsInOrder() {
    for (int i = 0; i < GM_COUNT; ++i)
        if (kModes[i].mode != i) return false;
    return true;
}
static_assert(rowsInOrder(), "game mode rows must be in state order");
}  // namespace

const char* gameModeName(int mode) { return isValidGameMode(mode) ? kModes[mode].name : "Unknown"; }

int findGameMode(const char* name) {
    if (!name) return -1;
    for (const auto& m : kModes)
        if (equalsIgnoreCase(m.name, name)) return m.mode;
    return -1;
}

bool gameModeHasScreen(int mode) { return isValidGameMode(mode) && kModes[mode].hasScreen; }
