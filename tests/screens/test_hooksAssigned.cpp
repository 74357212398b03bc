// Every hook that the game's screens and services expose (std::function
// members and the Steam stand-in's callbacks) is assigned once the game is
// made, except the few named below with their reason. The headers are read
// too, so that a new hook is listed here or the check fails.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>

#include "engine/ui/uiMgr.h"
#include "game/frameLoop.h"
#include "platform/steam/steamLocal.h"
#include "screens/dailyTracks.h"
#include "screens/gameSettings.h"
#include "screens/loading.h"
#include "screens/screenRegistry.h"
#include "screensFixture.h"

namespace {
struct Chook {
    std::string header;   // where the member is declared
    std::string member;
    std::string owner;    // the object that holds it
    bool assigned;
    std::string name() const { return owner + "." + member; }
};

// Hooks meant to stay empty in the made game, by owner.member.
const std::map<std::string, std::string> kLeftEmpty = {
    {"engine.updateHooks", "every engine member is updated by name in Cengine::update; nothing joins later"},
    {"engine.onLoadStep", "the loading screen sets it while it loads and clears it when done"},
    {"game.globalSteps", "no step has to run before the members' updates yet"},
    {"radio.fetch", "a test seam: unset, the radio directory is fetched over HTTP"},
    {"saveLoad.clockMs", "a test seam: unset, the save layer reads SDL's clock"},
    {"statsCache.onArrived", "nothing reads a record as it arrives: screens find it in the cache"},
    {"online.messages.onMessage", "the service sends no message but the news; asynchronous challenges are not played"},
};

// std::function members that are not standing hooks of a made game: set per
// request or per object a screen makes for a while.
const std::map<std::string, std::string> kNotHooks = {
    {"services/screenCapture.h whenDone", "set with each capture request"},
    {"platform/audio/audioDecoder.h cancel", "a field of one decode's options"},
    {"audio/musicIndexer.h clockMs", "a test seam of an indexer the music search makes while it runs"},
    {"online/serviceCall.h clock", "a test seam: unset, a call's time limit reads SDL's clock"},
    {"screens/unlockProcShip.h rewardSettled_", "set with each challenge reward shown"},
};

std::vector<Chook> madeGameHooks() {
    Cengine& e = *gEngine;
    Cgame& g = *gGame;
    CworldHooks& w = g.world.hooks;
    CframeLoop loop;
    std::vector<Chook> h = {
        {"engine/ui/uiMgr.h", "playSound", "ui", (bool)e.ui.playSound},
        {"engine/ui/uiMgr.h", "playSoundPack", "ui", (bool)e.ui.playSoundPack},
        {"engine/ui/uiMgr.h", "onTutorialsChanged", "ui", (bool)e.ui.onTutorialsChanged},
        {"engine/ui/uiMgr.h", "playFrame", "ui", (bool)e.ui.playFrame},
        {"engine/ui/tutorials.h", "waitWhile", "ui", (bool)e.ui.tutorials.waitWhile},
        {"engine/log.h", "timeSource", "log", (bool)e.log.timeSource},
        {"engine/log.h", "errorHook", "log", (bool)e.log.errorHook},
        {"engine/platform.h", "eventSink", "platform", (bool)e.platform.eventSink},
        {"engine/platform.h", "eventMustWait", "platform", (bool)e.platform.eventMustWait},
        {"engine/platform.h", "onWindowResized", "platform", (bool)e.platform.onWindowResized},
        {"engine/engine.h", "cloudSave", "engine", (bool)e.cloudSave},
        {"engine/engine.h", "cloudLoad", "engine", (bool)e.cloudLoad},
        {"engine/engine.h", "onCodeWarning", "engine", (bool)e.onCodeWarning},
        {"engine/engine.h", "updateHooks", "engine", (bool)e.updateHooks},
        {"engine/engine.h", "onLoadStep", "engine", (bool)e.onLoadStep},
        {"audio/shoutcastBrowser.h", "fetch", "radio", (bool)g.radio.fetch},
        {"audio/musicPlayer.h", "editorPreviewActive", "music", (bool)g.music.editorPreviewActive},
        {"audio/musicPlayer.h", "onNewTrackSeed", "music", (bool)g.music.onNewTrackSeed},
        {"audio/musicPlayer.h", "onTrackEnd", "music", (bool)g.music.onTrackEnd},
        {"audio/musicPlayer.h", "onOpenMicError", "music", (bool)g.music.onOpenMicError},
        {"audio/acrCloud.h", "sign", "acrCloud", (bool)e.acrCloud.sign},
        {"audio/songInfoMgr.h", "beforeEntriesFreed", "songLibrary", (bool)g.songLibrary.beforeEntriesFreed},
        {"audio/songInfoMgr.h", "hasTrackRecord", "songLibrary", (bool)g.songLibrary.hasTrackRecord},
        {"game/game.h", "saveGameFiles", "game", (bool)g.saveGameFiles},
        {"game/game.h", "saveSettings", "game", (bool)g.saveSettings},
        {"game/game.h", "onShutDown", "game", (bool)g.onShutDown},
        {"game/game.h", "globalSteps", "game", !g.globalSteps.empty()},
        {"game/game.h", "memberUpdates", "game", !g.memberUpdates.empty()},
        {"game/game.h", "afterDraw", "game", (bool)g.afterDraw},
        {"game/frameLoop.h", "clock", "frameLoop", (bool)loop.clock},
        {"game/progress/trackStats.h", "submitBoards", "trackStats", (bool)g.trackStats.submitBoards},
        {"game/progress/trackStats.h", "save", "trackStats", (bool)g.trackStats.save},
        {"game/progress/playerShipMgr.h", "onShipAdded", "playerShips", (bool)g.playerShips.onShipAdded},
        {"game/progress/playerShipMgr.h", "onShipRemoved", "playerShips", (bool)g.playerShips.onShipRemoved},
        {"game/progress/playerShipMgr.h", "buildProcShip", "playerShips", (bool)g.playerShips.buildProcShip},
        {"game/progress/saveLoad.h", "clockMs", "saveLoad", (bool)g.saveLoad.clockMs},
        {"game/progress/saveLoad.h", "onSaveFailing", "saveLoad", (bool)g.saveLoad.onSaveFailing},
        {"game/progress/saveLoad.h", "onCloudSaveFailing", "saveLoad", (bool)g.saveLoad.onCloudSaveFailing},
        {"game/progress/playerShipDef.h", "statHook", "CplayerShipDef", (bool)CplayerShipDef::statHook},
        {"game/progress/achievementDefs.h", "award", "achievements", (bool)g.achievements.award},
        {"game/progress/achievementDefs.h", "onAwarded", "achievements", (bool)g.achievements.onAwarded},
        {"game/progress/achievementDefs.h", "onProgress", "achievements", (bool)g.achievements.onProgress},
        {"game/progress/playerStatsCache.h", "fetch", "statsCache", (bool)g.statsCache.fetch},
        {"game/progress/playerStatsCache.h", "onArrived", "statsCache", (bool)g.statsCache.onArrived},
        {"game/progress/playerProgress.h", "submitBoard", "progress", (bool)g.progress.submitBoard},
        {"game/gameWorld.h", "setGameMode", "world.hooks", (bool)w.setGameMode},
        {"game/gameWorld.h", "gameMode", "world.hooks", (bool)w.gameMode},
        {"game/gameWorld.h", "playTrack", "world.hooks", (bool)w.playTrack},
        {"game/gameWorld.h", "nextTrack", "world.hooks", (bool)w.nextTrack},
        {"game/gameWorld.h", "renameOpenMicTrack", "world.hooks", (bool)w.renameOpenMicTrack},
        {"game/gameWorld.h", "resetAutoShots", "world.hooks", (bool)w.resetAutoShots},
        {"game/gameWorld.h", "armMoment", "world.hooks", (bool)w.armMoment},
        {"game/gameWorld.h", "refreshScore", "world.hooks", (bool)w.refreshScore},
        {"game/gameWorld.h", "refreshCash", "world.hooks", (bool)w.refreshCash},
        {"game/gameWorld.h", "hudStep", "world.hooks", (bool)w.hudStep},
        {"game/gameWorld.h", "hudDraw", "world.hooks", (bool)w.hudDraw},
        {"game/gameWorld.h", "partyHudEnter", "world.hooks", (bool)w.partyHudEnter},
        {"game/gameWorld.h", "partyHudStep", "world.hooks", (bool)w.partyHudStep},
        {"game/gameWorld.h", "partyHudDraw", "world.hooks", (bool)w.partyHudDraw},
        {"game/gameWorld.h", "partyHudFlash", "world.hooks", (bool)w.partyHudFlash},
        {"game/gameWorld.h", "addCash", "world.hooks", (bool)w.addCash},
        {"game/gameWorld.h", "onExplosion", "world.hooks", (bool)w.onExplosion},
        {"game/gameWorld.h", "onPlayerDeath", "world.hooks", (bool)w.onPlayerDeath},
        {"game/gameWorld.h", "onPickup", "world.hooks", (bool)w.onPickup},
        {"game/gameWorld.h", "onBossSpawned", "world.hooks", (bool)w.onBossSpawned},
        {"game/gameWorld.h", "onSpecialWeapon", "world.hooks", (bool)w.onSpecialWeapon},
        {"game/enemies/procShipGen.h", "pointBalance", "world.procShips", (bool)g.world.procShips.pointBalance},
        {"online/inbox.h", "today", "online.inbox", (bool)g.online.inbox.today},
        {"online/messagePoller.h", "onMessage", "online.messages", (bool)g.online.messages.onMessage},
        {"online/leaderboardMgr.h", "plainNamesWanted", "online.leaderboards",
         (bool)g.online.leaderboards.plainNamesWanted},
        {"online/leaderboardMgr.h", "addSteamBoard", "online.leaderboards", (bool)g.online.leaderboards.addSteamBoard},
        {"online/challengeMgr.h", "onShowShipReward", "online.dailyChallenge",
         (bool)g.online.dailyChallenge.onShowShipReward},
        {"online/challengeMgr.h", "onShowShipReward", "online.lightningChallenge",
         (bool)g.online.lightningChallenge.onShowShipReward},
        {"online/challengeMgr.h", "onPlaced", "online.dailyChallenge", (bool)g.online.dailyChallenge.onPlaced},
        {"online/challengeMgr.h", "onPlaced", "online.lightningChallenge", (bool)g.online.lightningChallenge.onPlaced},
        {"services/analytics.h", "isSignedIn", "engine.analytics", (bool)e.analytics.isSignedIn},
        {"services/analytics.h", "playerId", "engine.analytics", (bool)e.analytics.playerId},
        {"services/twitter.h", "loadingTick", "engine.twitter", (bool)e.twitter.loadingTick},
        {"services/twitter.h", "openUrl", "engine.twitter", (bool)e.twitter.openUrl},
        {"services/workshop.h", "onImport", "engine.workshop", (bool)e.workshop.onImport},
        {"services/platformSteam.h", "webPlayerId", "engine.steam.platform", (bool)e.steam.platform.webPlayerId},
        {"services/platformSteam.h", "addFriend", "engine.steam.platform", (bool)e.steam.platform.addFriend},
        {"services/platformSteam.h", "friendCount", "engine.steam.platform", (bool)e.steam.platform.friendCount},
        {"services/platformSteam.h", "sendEvent", "engine.steam.platform", (bool)e.steam.platform.sendEvent},
        {"services/platformSteam.h", "timePlayedSeconds", "engine.steam.platform",
         (bool)e.steam.platform.timePlayedSeconds},
        {"services/platformSteam.h", "loadingTick", "engine.steam.platform", (bool)e.steam.platform.loadingTick},
        {"services/autoScreenShot.h", "settingOn", "autoShots", (bool)g.autoShots.settingOn},
        {"services/autoScreenShot.h", "musicIntensity", "autoShots", (bool)g.autoShots.musicIntensity},
        {"screens/dailyTracks.h", "openLink", "dailyTracks", (bool)screens::get<CdailyTracksScreen>()->openLink},
        {"screens/gameSettings.h", "openLink", "gameSettings", (bool)screens::get<CgameSettingsScreen>()->openLink},
        {"screens/loading.h", "clock", "loading", (bool)screens::get<CloadingScreen>()->clock},
        // The Steam stand-in's callbacks into the game.
        {"platform/steam/steamLocal.h", "setFrameSource", "steamLocal", steamLocal::hasFrameSource()},
        {"platform/steam/steamLocal.h", "setWebPageOpener", "steamLocal", steamLocal::hasWebPageOpener()},
    };
    return h;
}

// "header member" for every std::function member declared in the headers
// of the game's folders.
std::set<std::string> declaredHooks() {
    const std::string root = ZX_SOURCE_ROOT;
    const std::regex member(R"(^\s*(static\s+)?(std::vector<)?std::function<.*>>?\s+(\w+)\s*(;|=|\{))");
    std::set<std::string> found;
    for (const char* folder : {"engine", "audio", "game", "online", "services", "screens", "platform"}) {
        for (const auto& f : std::filesystem::recursive_directory_iterator(root + folder)) {
            if (f.path().extension() != ".h") continue;
            std::ifstream in(f.path());
            std::string line;
            const std::string rel = std::filesystem::relative(f.path(), root).generic_string();
            while (std::getline(in, line)) {
                std::smatch m;
                if (std::regex_search(line, m, member)) found.insert(rel + " " + m[3].str());
            }
        }
    }
    return found;
}
}  // namespace

TEST(Hooks, EveryHookIsAssignedOnceTheGameIsMadeButTheNamedFew) {
    CscreensGame g(true);   // start-up and the loading too, as the game itself runs them
    ASSERT_TRUE(g.initOk());
    ASSERT_TRUE(g.gameOpensWebPages);   // the test's own page recorder replaced the game's opener
    const std::vector<Chook> hooks = madeGameHooks();
    std::set<std::string> listed;
    for (const Chook& h : hooks) {
        listed.insert(h.header + " " + h.member);
        const bool leftEmpty = kLeftEmpty.count(h.name()) != 0;
        if (leftEmpty)
            EXPECT_FALSE(h.assigned) << h.name() << " is named as left empty but is assigned: take it off the list";
        else
            EXPECT_TRUE(h.assigned) << h.name() << " (" << h.header << ") is never assigned";
    }
    // A hook declared in a header is listed here (or named as no hook).
    const std::set<std::string> declared = declaredHooks();
    EXPECT_GT(declared.size(), 60u);
    for (const std::string& d : declared)
        EXPECT_TRUE(listed.count(d) || kNotHooks.count(d)) << d << ": a new hook; list it in madeGameHooks()";
}
