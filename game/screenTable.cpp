// The screen of each game state. To add a screen: make it a member of Cgame
// (a class deriving from CscreenSlot, one source pair in screens/), then put
// the member in its row below. A row left at nullptr keeps an empty stand-in
// so the state can still be entered. States without a row (Init,
// LoadingDone, Reserved, DailyChallenge-D) have no screen and are refused.
#include "game/game.h"
#include "game/coreScreens.h"

void Cgame::registerScreens() {
    const struct {
        int mode;
        CscreenSlot* screen;
    } table[] = {
        {GM_PRESS_START, &pressStart},
        {GM_START_UP, &startUpSequence},
        {GM_MAIN_MENU, nullptr},
        {GM_OPTIONS, &options},
        {GM_OPTIONS_VOLUME, &optionsVolume},
        {GM_OPTIONS_NOTIFICATIONS, &optionsNotifications},
        {GM_SET_REZ, &setRez},
        {GM_CONFIRM, &confirmState},
        {GM_CONFIG, &config},
        {GM_ACHIEVEMENTS, nullptr},
        {GM_ACHIEVEMENT_MENU, nullptr},
        {GM_LANGUAGE, &languageScreen},
        {GM_LOADING, &loading},
        {GM_SIGN_IN, &signIn},
        {GM_LEADERBOARD, nullptr},
        {GM_CREDITS, &credits},
        {GM_FIND_MUSIC, nullptr},
        {GM_MUSIC_BROWSER, nullptr},
        {GM_MUSIC_BROWSER_SHIP_MISSIONS, nullptr},
        {GM_MUSIC_RADIO_BROWSER, nullptr},
        {GM_MUSIC_TYPE_LIST, nullptr},
        {GM_PLAYING, &playScreen},
        {GM_GAME_OVER, nullptr},
        {GM_GAME_OVER_BOSS_RUSH, nullptr},
        {GM_GAME_OVER_SURVIVAL, nullptr},
        {GM_GAME_OVER_PARTY, nullptr},
        {GM_RANK_UP, nullptr},
        {GM_PERK_MENU, nullptr},
        {GM_PERK_UNLOCK, nullptr},
        {GM_GAME_TYPE, nullptr},
        {GM_GAME_SETTINGS, nullptr},
        {GM_321_GO, nullptr},
        {GM_FIND_PLAYER, &findPlayer},
        {GM_FRIEND_COMPARE, &friendCompare},
        {GM_NEWS_FEED, &newsFeed},
        {GM_OPEN_MIC_SETTINGS, &openMicSettings},
        {GM_CHINA_CHECK, &chinaCheck},
        {GM_DAILY_TRACKS, nullptr},
        {GM_HANGAR, nullptr},
        {GM_MISSON_UPDATE, nullptr},
        {GM_SHIP_EDITOR, nullptr},
        {GM_PARTY_LOGIN, nullptr},
        {GM_PARTY_GAME_TYPE, nullptr},
        {GM_UNLOCK_PROC_SHIP, nullptr},
        {GM_UNLOCK_SHIP_MOD, nullptr},
        {GM_TB_HUB, nullptr},
        {GM_UNLOCK_TB_SHIP, nullptr},
        {GM_EDIT_MODULES, nullptr},
        {GM_DAILY_CHALLENGE_L, nullptr},
        {GM_UNLOCK_CHALLENGE_SHIP, nullptr},
        {GM_OPTIONS_TWITTER, nullptr},
        {GM_SHARE_MOMENT, nullptr},
        {GM_GALLERY, nullptr},
        {GM_OPTIONS_VIRTUAL_THUMB_STICKS, &optionsVirtualSticks},
        {GM_EXIT, &exitScreen},
        {GM_REALLY_EXIT, &reallyExit},
    };
    for (const auto& row : table) {
        CscreenSlot* s = row.screen;
        if (!s) {
            placeholders_.push_back(std::make_unique<CemptyScreen>());
            s = placeholders_.back().get();
        }
        setScreen(row.mode, s);
    }
    // The fade between states.
    setTransitionScreen(&fadeLogo);

    setOverlay(OVERLAY_CONFIRM, &confirm);
    setOverlay(OVERLAY_WARNING, &warningSlot_);
    setOverlay(OVERLAY_EXIT, &exitPopup);
    setOverlay(OVERLAY_OPEN_MIC_ERROR, &openMicError);
}
