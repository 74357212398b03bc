#include "screens/screenRegistry.h"

#include "game/game.h"
#include "screens/321Go.h"
#include "screens/achievementMenu.h"
#include "screens/achievements.h"
#include "screens/chinaCheck.h"
#include "screens/config.h"
#include "screens/confirm.h"
#include "screens/credits.h"
#include "screens/dailyChallenge.h"
#include "screens/dailyTracks.h"
#include "screens/editModules.h"
#include "screens/exit.h"
#include "screens/fadeLogo.h"
#include "screens/findMusic.h"
#include "screens/findPlayer.h"
#include "screens/friendCompare.h"
#include "screens/gallery.h"
#include "screens/gameOver.h"
#include "screens/gameOverBossRush.h"
#include "screens/gameOverParty.h"
#include "screens/gameOverSurvival.h"
#include "screens/gameSettings.h"
#include "screens/gameType.h"
#include "screens/HUD.h"
#include "screens/language.h"
#include "screens/hangar.h"
#include "screens/layoutScreen.h"
#include "screens/leaderboard.h"
#include "screens/loading.h"
#include "screens/mainMenu.h"
#include "screens/missionUpdate.h"
#include "screens/musicBar.h"
#include "screens/musicBrowser.h"
#include "screens/musicBrowserShipMissions.h"
#include "screens/musicRadioBrowser.h"
#include "screens/musicTypeList.h"
#include "screens/NewsFeed.h"
#include "screens/openMicError.h"
#include "screens/openMicSetting.h"
#include "screens/options.h"
#include "screens/optionsNotifications.h"
#include "screens/optionsTwitter.h"
#include "screens/optionsVirtualThumbSticks.h"
#include "screens/optionsVolume.h"
#include "screens/partyGameType.h"
#include "screens/partyHUD.h"
#include "screens/partyLogin.h"
#include "screens/pause.h"
#include "screens/perkMenu.h"
#include "screens/perkUnlock.h"
#include "screens/placeholder.h"
#include "screens/pressStart.h"
#include "screens/rankUp.h"
#include "screens/setRez.h"
#include "screens/shareMoment.h"
#include "screens/shipEditor.h"
#include "screens/shipMissionPanel.h"
#include "screens/signIn.h"
#include "screens/startUp.h"
#include "screens/tbHub.h"
#include "screens/unlockChallengeShip.h"
#include "screens/unlockProcShip.h"
#include "screens/unlockShipMod.h"
#include "screens/unlockTBShip.h"

namespace {
using Centry = CscreenRegistry::Centry;

template <class T>
Centry own() {
    auto object = std::make_shared<T>();
    Centry e{typeid(T), object};
    if constexpr (std::is_base_of_v<CscreenSlot, T>) e.screen = object.get();
    if constexpr (std::is_base_of_v<CoverlaySlot, T>) e.overlay = object.get();
    if constexpr (std::is_base_of_v<Clayout, T>) e.layout = object.get();
    if constexpr (std::is_base_of_v<ChudSlot, T>) e.hud = object.get();
    return e;
}

// HUD: the HUD of one player's play; PARTY_HUD: the HUD that party play
// enters, steps and draws (bound to no state).
enum Eslot { STATE, OVERLAY, TRANSITION, HUD, PARTY_HUD };

struct Crow {
    Eslot slot;
    int id;   // the state, the overlay or the HUD
    Centry (*make)();
};

// One row per screen. Play's screen is the game's own.
const Crow kRows[] = {
    {STATE, GM_LOADING, own<CloadingScreen>},
    {STATE, GM_PRESS_START, own<CpressStartScreen>},
    {STATE, GM_LANGUAGE, own<ClanguageScreen>},
    {STATE, GM_OPTIONS, own<CoptionsScreen>},
    {STATE, GM_OPTIONS_VOLUME, own<CoptionsVolumeScreen>},
    {STATE, GM_OPTIONS_NOTIFICATIONS, own<CoptionsNotificationsScreen>},
    {STATE, GM_OPTIONS_VIRTUAL_THUMB_STICKS, own<CoptionsVirtualThumbSticksScreen>},
    {STATE, GM_OPTIONS_TWITTER, own<CoptionsTwitterScreen>},
    {STATE, GM_SHARE_MOMENT, own<CshareMomentScreen>},
    {STATE, GM_CREDITS, own<CcreditsScreen>},
    {STATE, GM_SET_REZ, own<CsetRezScreen>},
    {STATE, GM_CONFIG, own<CconfigScreen>},
    {STATE, GM_OPEN_MIC_SETTINGS, own<CopenMicSettingsScreen>},
    {STATE, GM_NEWS_FEED, own<CnewsFeedScreen>},
    {STATE, GM_FIND_PLAYER, own<CfindPlayerScreen>},
    {STATE, GM_FRIEND_COMPARE, own<CfriendCompareScreen>},
    {STATE, GM_CHINA_CHECK, own<CchinaCheckScreen>},
    {STATE, GM_SIGN_IN, own<CsignInScreen>},
    {STATE, GM_START_UP, own<CstartUpScreen>},
    {STATE, GM_MAIN_MENU, own<CmainMenuScreen>},
    {STATE, GM_CONFIRM, own<CconfirmStateScreen>},
    {STATE, GM_EXIT, own<CexitScreen>},
    {STATE, GM_REALLY_EXIT, own<CreallyExitScreen>},
    {STATE, GM_MUSIC_TYPE_LIST, own<CmusicTypeListScreen>},
    {STATE, GM_FIND_MUSIC, own<CfindMusicScreen>},
    {STATE, GM_GAME_TYPE, own<CgameTypeScreen>},
    {STATE, GM_GAME_SETTINGS, own<CgameSettingsScreen>},
    {STATE, GM_321_GO, own<C321GoScreen>},
    {STATE, GM_GAME_OVER, own<CgameOverTrackScreen>},
    {STATE, GM_GAME_OVER_BOSS_RUSH, own<CgameOverBossRushScreen>},
    {STATE, GM_GAME_OVER_SURVIVAL, own<CgameOverSurvivalScreen>},
    {STATE, GM_GAME_OVER_PARTY, own<CgameOverPartyScreen>},
    {STATE, GM_MUSIC_BROWSER, own<CmusicBrowserScreen>},
    {STATE, GM_MUSIC_BROWSER_SHIP_MISSIONS, own<CmusicBrowserShipMissionsScreen>},
    {STATE, GM_MUSIC_RADIO_BROWSER, own<CmusicRadioBrowserScreen>},
    {STATE, GM_LEADERBOARD, own<CleaderboardScreen>},
    {STATE, GM_RANK_UP, own<CrankUpScreen>},
    {STATE, GM_PERK_MENU, own<CperkMenuScreen>},
    {STATE, GM_PERK_UNLOCK, own<CperkUnlockScreen>},
    {STATE, GM_ACHIEVEMENTS, own<CachievementsScreen>},
    {STATE, GM_SHIP_EDITOR, own<CshipEditorScreen>},
    {STATE, GM_MISSON_UPDATE, own<CmissionUpdateScreen>},
    {STATE, GM_UNLOCK_PROC_SHIP, own<CunlockProcShipScreen>},
    {STATE, GM_UNLOCK_SHIP_MOD, own<CunlockShipModScreen>},
    {STATE, GM_TB_HUB, own<CtbHubScreen>},
    {STATE, GM_UNLOCK_TB_SHIP, own<CunlockTBShipScreen>},
    {STATE, GM_UNLOCK_CHALLENGE_SHIP, own<CunlockChallengeShipScreen>},
    {STATE, GM_ACHIEVEMENT_MENU, own<CachievementMenuScreen>},
    {STATE, GM_PARTY_LOGIN, own<CpartyLoginScreen>},
    {STATE, GM_GALLERY, own<CgalleryScreen>},
    {STATE, GM_PARTY_GAME_TYPE, own<CpartyGameTypeScreen>},
    {STATE, GM_DAILY_CHALLENGE_L, own<CdailyChallengeScreen>},
    {STATE, GM_DAILY_TRACKS, own<CdailyTracksScreen>},
    {STATE, GM_EDIT_MODULES, own<CeditModulesScreen>},
    {STATE, GM_HANGAR, own<ChangarScreen>},
    {TRANSITION, 0, own<CfadeScreen>},
    {HUD, HUD_NORMAL, own<CHUD>},
    {PARTY_HUD, 0, own<CpartyHud>},
    {OVERLAY, OVERLAY_CONFIRM, own<CconfirmScreen>},
    {OVERLAY, OVERLAY_EXIT, own<CexitPopup>},
    {OVERLAY, OVERLAY_OPEN_MIC_ERROR, own<CopenMicErrorScreen>},
    {OVERLAY, OVERLAY_PAUSE, own<CpauseScreen>},
    {OVERLAY, OVERLAY_MUSIC_BAR, own<CmusicBarScreen>},
    {OVERLAY, OVERLAY_MISSION_PANEL, own<CshipMissionPanel>},
};
}  // namespace

void* CscreenRegistry::find(std::type_index type) const {
    for (const Centry& e : entries_)
        if (e.type == type) return e.object.get();
    return nullptr;
}

std::unique_ptr<CscreenSet> makeScreens(Cgame& game) {
    auto set = std::make_unique<CscreenRegistry>();
    for (const Crow& row : kRows) {
        Centry e = row.make();
        if (row.slot == STATE) game.setScreen(row.id, e.screen);
        else if (row.slot == OVERLAY) game.setOverlay(row.id, e.overlay);
        else if (row.slot == HUD) game.playScreen.setHud(row.id, e.hud);
        else if (row.slot == PARTY_HUD) CpartyHud::attach(game.world, static_cast<CpartyHud*>(e.screen));
        else game.setTransitionScreen(e.screen);
        set->add(std::move(e));
    }
    // Every state whose screen is not written yet shares the stand-in.
    Centry standIn = own<CplaceholderScreen>();
    for (int m = 0; m < GM_COUNT; ++m)
        if (gameModeHasScreen(m) && !game.screen(m)) game.setScreen(m, standIn.screen);
    set->add(std::move(standIn));
    connectScreens(game);
    return set;
}

namespace screens {

CscreenRegistry* registry() { return gGame ? static_cast<CscreenRegistry*>(gGame->screenSet()) : nullptr; }

std::vector<std::string> checkBindings() {
    std::vector<std::string> missing;
    CscreenRegistry* r = registry();
    if (!r) return {"no game"};
    for (const Centry& e : r->entries()) {
        if (!e.layout) continue;
        // A screen the game has not loaded yet (the fade comes with the loading) is loaded here.
        if (!e.layout->screen() && e.screen) e.screen->load();
        if (!e.layout->screen() && e.overlay) e.overlay->load();
        for (const std::string& name : e.layout->missingBindings()) missing.push_back(e.layout->layoutName() + ": " + name);
    }
    return missing;
}

}  // namespace screens
