#pragma once
// EgameMode: the game states of Cgame by number. The numbers are stored and
// compared by the screens (return states, confirm choices), so they never move.

enum EgameMode {
    GM_INIT = 0,
    GM_PRESS_START = 1,
    GM_START_UP = 2,
    GM_MAIN_MENU = 3,
    GM_OPTIONS = 4,
    GM_OPTIONS_VOLUME = 5,
    GM_OPTIONS_NOTIFICATIONS = 6,
    GM_SET_REZ = 7,
    GM_CONFIRM = 8,
    GM_CONFIG = 9,
    GM_ACHIEVEMENTS = 10,
    GM_ACHIEVEMENT_MENU = 11,
    GM_LANGUAGE = 12,
    GM_LOADING = 13,
    GM_LOADING_DONE = 14,   // held between loading and the first transition; no screen
    GM_SIGN_IN = 15,
    GM_RESERVED = 16,       // never used; no screen
    GM_LEADERBOARD = 17,
    GM_CREDITS = 18,
    GM_FIND_MUSIC = 19,
    GM_MUSIC_BROWSER = 20,
    GM_MUSIC_BROWSER_SHIP_MISSIONS = 21,
    GM_MUSIC_RADIO_BROWSER = 22,
    GM_MUSIC_TYPE_LIST = 23,
    GM_PLAYING = 24,
    GM_GAME_OVER = 25,
    GM_GAME_OVER_BOSS_RUSH = 26,
    GM_GAME_OVER_SURVIVAL = 27,
    GM_GAME_OVER_PARTY = 28,
    GM_RANK_UP = 29,
    GM_PERK_MENU = 30,
    GM_PERK_UNLOCK = 31,
    GM_GAME_TYPE = 32,
    GM_GAME_SETTINGS = 33,
    GM_321_GO = 34,
    GM_FIND_PLAYER = 35,
    GM_FRIEND_COMPARE = 36,
    GM_NEWS_FEED = 37,
    GM_OPEN_MIC_SETTINGS = 38,
    GM_CHINA_CHECK = 39,
    GM_DAILY_TRACKS = 40,
    GM_HANGAR = 41,
    GM_MISSON_UPDATE = 42,
    GM_SHIP_EDITOR = 43,
    GM_PARTY_LOGIN = 44,
    GM_PARTY_GAME_TYPE = 45,
    GM_UNLOCK_PROC_SHIP = 46,
    GM_UNLOCK_SHIP_MOD = 47,
    GM_TB_HUB = 48,
    GM_UNLOCK_TB_SHIP = 49,
    GM_EDIT_MODULES = 50,
    GM_DAILY_CHALLENGE_L = 51,
    GM_DAILY_CHALLENGE_D = 52,   // no screen
    GM_UNLOCK_CHALLENGE_SHIP = 53,
    GM_OPTIONS_TWITTER = 54,
    GM_SHARE_MOMENT = 55,
    GM_GALLERY = 56,
    GM_OPTIONS_VIRTUAL_THUMB_STICKS = 57,
    GM_EXIT = 58,
    GM_REALLY_EXIT = 59,
    GM_COUNT = 60
};

// The state's name as logged ("MainMenu", "321Go", "MissonUpdate"), or
// "Unknown" for a number outside 0..59.
const char* gameModeName(int mode);
// The number of a name (case-insensitive), or -1.
int findGameMode(const char* name);
// Whether the state has a screen. A state without one is never entered.
bool gameModeHasScreen(int mode);
inline bool isValidGameMode(int mode) { return mode >= 0 && mode < GM_COUNT; }
