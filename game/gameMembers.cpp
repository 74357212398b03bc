// How the game's members are joined to each other and to the engine: the
// seams each part leaves for its neighbours are filled here, in one place.
#include <memory>
#include <vector>

#include "engine/engine.h"
#include "engine/ui/screen.h"
#include "engine/ui/uiMgr.h"
#include "game/enemies/ship.h"
#include "game/pickups.h"
#include "game/game.h"
#include "game/trackBoards.h"
#include "platform/steam/steamLocal.h"
#include "services/hmacSha1.h"

namespace {
std::string gSaveProblemShown;   // the last save message the warning box was given
}  // namespace

// Save trouble is told in the warning box. One of ours still up is kept and
// the new one follows it, so a start that finds two things wrong tells both.
void Cgame::tellSaveProblem(const std::string& message) {
    Cwidget* shown = warningOverlay.screen() ? warningOverlay.screen()->findWidget("Message") : nullptr;
    std::string current = shown && warningOverlay.visible ? shown->getText("TextName") : std::string();
    if (current != gSaveProblemShown) current.clear();
    if (!current.empty() && current.find(message) != std::string::npos) return;
    gSaveProblemShown = current.empty() ? message : current + " " + message;
    warningOverlay.show(gEngine->text("Error"), gSaveProblemShown);
}

namespace {
// Told once when saves start failing; the next one written takes it away.
void tellSaveTrouble(const char* tag, bool failing) {
    const std::string message = gEngine->text(tag);
    if (failing) {
        gGame->tellSaveProblem(message);
        return;
    }
    CwarningOverlay& warning = gGame->warningOverlay;
    Cwidget* shown = warning.screen() ? warning.screen()->findWidget("Message") : nullptr;
    // Only our own warning: another may have taken its place since.
    if (warning.visible && (!shown || shown->getText("TextName") == message)) warning.setVisible(false);
}
}  // namespace

void Cgame::connectMembers() {
    // Open mic's identification requests are signed like every other request.
    gEngine->acrCloud.sign = [](const std::string& text, const std::string& secret) {
        uint8_t digest[Csha1::kDigestSize];
        ChmacSha1().hmacSha1((const uint8_t*)text.data(), text.size(), (const uint8_t*)secret.data(), secret.size(),
                             digest);
        return base64Encode(digest);
    };
    // Sounds the UI asks for.
    gEngine->ui.playSound = [](int slot) { gGame->sfx.play(slot, 1.0f); };
    gEngine->ui.playFrame = [] { return gGame ? gGame->world.arenaScreenRect() : Crect{}; };
    gEngine->ui.playSoundPack = [](const char* pack) {
        if (gGame->sfxPacks.size() == 0) return;   // not loaded yet (the loading screen's own opening)
        if (CsfxPack* p = gGame->sfxPacks.find(pack)) gGame->sfxPacks.play(p);
    };
    // Tutorials seen are kept with the settings.
    gEngine->ui.onTutorialsChanged = [] {
        gGame->saveLoad.settings.tutorialsSeen = gEngine->ui.tutorials.seenNames();
    };
    // A warning is read first: the help boxes wait behind it.
    gEngine->ui.tutorials.waitWhile = [] { return gGame && gGame->warningOverlay.visible; };
    // The engine's warnings about its own misuse are counted in analytics.
    gEngine->onCodeWarning = [](const std::string& text) {
        gEngine->analytics.sendEvent("CodeWarning", text.c_str(), nullptr);
    };
    // What the player keeps of the web service: friends added by id, the
    // timed challenges' last attempt and pending reward, the challenges
    // between players, and the news.
    online.friends.registerRecord(saveLoad.gameFile(), "friends");
    online.challengeList.registerRecord(saveLoad.gameFile(), "challGuids");
    online.dailyChallenge.registerRecord(saveLoad.gameFile(), "24HourChall");
    online.lightningChallenge.registerRecord(saveLoad.gameFile(), "4HourChall");
    // A place won in a finished challenge is counted and kept with the reward
    // it brings, in one save.
    for (CchallengeMgr* challenge : {&online.dailyChallenge, &online.lightningChallenge})
        challenge->onPlaced = [](const CchallengeReward& placed) {
            CplayerProgress& p = gGame->progress;
            if (placed.placing == 1) ++p.dailyChallengeWins;
            else ++p.challengeRunnerUp;
            p.statsDirty = true;
            gGame->saveLoad.requestSave();
        };
    online.inbox.registerRecord(saveLoad.newsFeedFile(), "inbox");
    // Saving on the way out and when a screen asks for the settings.
    saveGameFiles = [] {
        bool ok = gGame->saveLoad.saveSettings();
        gGame->saveNewsFeed();
        return gGame->saveLoad.saveAtQuit() && ok;
    };
    saveSettings = [] { gGame->saveLoad.saveSettings(); };
    // The perks bought, switched on and bound go with the game save; a record
    // that does not read leaves the perks as they are.
    auto stagedPerks = std::make_shared<std::vector<uint8_t>>();
    saveLoad.gameFile().addRecord(
        "perks", [](Cbytes& out) { gGame->world.perks.writeRecord(out); },
        [stagedPerks](const uint8_t* p, size_t size) {
            CperkMgr check;
            if (!check.readRecord(p, size)) return false;
            stagedPerks->assign(p, p + size);
            return true;
        },
        [stagedPerks] { gGame->world.perks.readRecord(stagedPerks->data(), stagedPerks->size()); });
    saveLoad.onSaveFailing = [](bool failing) { tellSaveTrouble("SaveFailed", failing); };
    saveLoad.onCloudSaveFailing = [](bool failing) { tellSaveTrouble("CloudSaveFailed", failing); };
    onShutDown = [] {
        gGame->saveLoad.waitIdle();
        gGame->music.shutdown();
        gGame->songLibrary.shutdown();
        gEngine->acrCloud.shutdown();
        gEngine->audio.shutdown();
    };
    // The library asks whether a track has a record of its own.
    songLibrary.hasTrackRecord = [](const std::string& key) { return gGame->trackStats.findTrack(key) != nullptr; };
    // A track's new best goes to its boards; the ships' worldwide figures to the shared counters.
    trackStats.submitBoards = [](const CtrackRecord& record, const CshipSnapshot& ship) {
        const CgameSession& s = gGame->world.session;
        const CtrackInfo* track = &s.track;
        CtrackInfo other;
        if (track->key != record.key) {
            other.key = record.key;
            track = &other;
        }
        submitTrackBoards(gGame->online.leaderboards, gGame->online.soap.nickname(), record, ship, *track,
                          s.difficultyFactor);
    };
    CplayerShipDef::statHook = [](const std::string& stat, double amount) {
        if (gGame) gGame->online.counters.add(stat, (int64_t)(amount + 0.5));
    };
    // Boards of the progress record go to the web service.
    progress.submitBoard = [](int board, uint64_t score, const std::string& text) {
        gGame->online.leaderboards.submitBoardScore(board, score, text);
    };
    // Loading done at start-up by Steam and Twitter keeps the loading screen going.
    gEngine->steam.platform.loadingTick = [] { gEngine->loadStep(); };
    gEngine->twitter.loadingTick = [] { gEngine->loadStep(); };
    // An achievement milestone reached is unlocked on Steam; the player sees
    // it, and the progress towards the next one, as popups.
    achievements.award = [](const std::string& steamName) { gGame->steamAchievements.award(steamName.c_str()); };
    achievements.onAwarded = [](const CachievementDef& a) {
        gUi->popups.showAchievementAwarded(gEngine->text(a.title), a.sprite);
    };
    achievements.onProgress = [](const CachievementDef& a) {
        gUi->popups.showAchievementProgress(gEngine->text(a.title), a.progressValue(), a.sprite);
    };
    // Steam's view of the player.
    gEngine->steam.platform.timePlayedSeconds = [] { return (double)gGame->progress.timePlayed; };

    // Play: the hangar's ships, the music that drives it, cash and analytics.
    world.analytics = &gEngine->analytics;
    world.attachHangar(playerShips);
    playScreen.musicPlayer = &music;
    // The HUD in use hears of the score and the cash, and is stepped and drawn with play.
    world.hooks.refreshScore = [] {
        if (ChudSlot* hud = gGame->playScreen.activeHud()) hud->refreshScore();
    };
    world.hooks.refreshCash = [] {
        if (ChudSlot* hud = gGame->playScreen.activeHud()) hud->refreshCash();
    };
    world.hooks.hudStep = [] {
        if (ChudSlot* hud = gGame->playScreen.activeHud()) hud->stepHud();
    };
    world.hooks.hudDraw = [] {
        ChudSlot* hud = gGame->playScreen.activeHud();
        if (hud) hud->drawHud();
        return hud != nullptr;
    };
    world.hooks.playTrack = [](const CtrackInfo& t) {
        CsongPackInfo* entry = t.key.empty() ? nullptr : gGame->songLibrary.findByKey(t.key, false);
        if (entry) gGame->music.playTrack(entry);
    };
    // A game bound to its track ends with it; Survival and BossRush play on to
    // the track the player chose to follow (the game settings' "Then play").
    auto endedKey = std::make_shared<std::string>();
    music.onTrackEnd = [endedKey](CsongPackInfo* ended) {
        if (gGame->mode() != GM_PLAYING) return false;
        gGame->playScreen.trackEnded = true;
        int type = gGame->world.session.gameType;
        bool endsTheGame = type != GAMETYPE_SURVIVAL && type != GAMETYPE_BOSSRUSH;
        if (endsTheGame) gGame->menuMusic.gameEndedWithTrack();
        *endedKey = ended ? ended->key : std::string();
        return true;
    };
    world.hooks.nextTrack = [endedKey] {
        const CsongPackInfo* ended = endedKey->empty() ? nullptr : gGame->songLibrary.findByKey(*endedKey);
        if (CsongPackInfo* next = gGame->songLibrary.getNextTrack(ended, gGame->world.session.nextTrackMode))
            gGame->music.playTrack(next);
    };
    // A new track seed gives the menu background a new style.
    music.onNewTrackSeed = [] { gGame->menuBackground.pickNewStyle(); };
    // Statistics records come from the web service, asked for by Steam id.
    statsCache.fetch = [](uint64_t id, CplayerStatsRecord& out) {
        Cbytes record;
        return gGame->online.playerStats.fetchRecord(id, record) && out.read(record.data(), record.size());
    };
    world.hooks.addCash = [](int amount) { gGame->progress.addCash(amount); };
    // Play's sounds, warnings and banners.
    world.hooks.onExplosion = [](const Cship& ship) {
        if (ship.kind == SHIPKIND_PLAYER) return;   // the death has its own sound
        gGame->sfx.play(ship.important ? SFX_BOSS_EXPLODE : SFX_EXPLOSION_SMALL);
    };
    world.hooks.onPlayerDeath = [](int) {
        gGame->sfx.play(SFX_PLAYER_DEATH);
        gUi->popups.showTitleBanner();
    };
    world.hooks.onPickup = [](int kind, float, float) {
        gGame->sfx.play(kind == PICKUP_LIFE ? SFX_EXTRA_LIFE : SFX_PICKUP);
    };
    world.hooks.onBossSpawned = [](const Cship&, int64_t mass) { gUi->popups.showIncomingMass(mass); };
    world.hooks.onSpecialWeapon = [](int, int) { gUi->popups.showTitleBanner(); };
    world.hooks.renameOpenMicTrack = [] { gGame->music.setOpenMicTrackName(); };

    // Subscribed workshop ships come into the hangar.
    gEngine->workshop.onImport = [](const CworkshopShipItem& item) {
        return CworkshopGlue::importShip(gGame->playerShips, item);
    };

    // Pictures of the screen: taken at the end of the draw; moments of play
    // armed by play itself, only while the setting is on.
    afterDraw = [] { gGame->screenCapture.perform(); };
    // Steam's screenshots are the whole of the next frame.
    steamLocal::setFrameSource([](const std::string& path, std::function<void(bool)> done) {
        if (!gGame) {
            done(false);
            return;
        }
        CscreenCapture& c = gGame->screenCapture;
        if (!c.request(0, 0, (float)gEngine->screenWidth, (float)gEngine->screenHeight, path, false)) {
            done(false);
            return;
        }
        c.whenDone = std::move(done);
    });
    // Pages asked of Steam's overlay open in the desktop's browser.
    steamLocal::setWebPageOpener([](const std::string& url) { return gEngine && gEngine->platform.openUrl(url); });
    autoShots.disabled = gEngine->switches.noScreenShots;
    autoShots.settingOn = [] { return gGame->saveLoad.settings.autoShots; };
    autoShots.musicIntensity = [] { return gGame->music.getIntensity(); };
    world.hooks.resetAutoShots = [] { gGame->autoShots.reset(); };
    world.hooks.armMoment = [](int type, float delay, int timer) { gGame->autoShots.arm(type, delay, timer); };

    // Every update, before the overlays and the state's screen.
    memberUpdates.push_back([] {
        gGame->workshop.updateStatus();
        gGame->autoShots.update();
        float dt = (float)gEngine->frameTime;
        gGame->saveLoad.update();
        gGame->playerShips.update();
        gGame->statsCache.update();
        gGame->songLibrary.update(dt);
        gGame->music.update(dt);
        gGame->menuMusic.update(gGame->mode(), gGame->music, gGame->songLibrary);
        gEngine->acrCloud.update();
        gGame->online.update();
        gGame->menuBackground.update();
        // Analytics names the player by the progress record's client id
        // once a profile is loaded or made.
        if (gGame->progress.profileReady() && gEngine->analytics.clientId() != gGame->progress.clientId)
            gEngine->analytics.setClientId(gGame->progress.clientId);
        if (gGame->world.perks.saveRequested) {
            gGame->world.perks.saveRequested = false;
            gGame->saveRequested = 1;
        }
        if (gGame->saveRequested) {
            gGame->saveRequested = 0;
            gGame->saveLoad.requestSave();
        }
        if (gGame->online.inbox.changed) gGame->saveNewsFeed();
    });
}

void Cgame::applySettings() {
    const Csettings& s = saveLoad.settings;
    video.display = s.displayIndex;
    video.width = s.width;
    video.height = s.height;
    video.fullScreen = s.fullScreen ? 1 : 0;
    video.borderless = s.borderless ? 1 : 0;
    language = s.language;
    gEngine->setLanguage(language);
    gEngine->audio.setMusicVolume(s.musicVolume);
    gEngine->audio.setSfxVolume(s.sfxVolume);
    music.captureSource = s.captureSource;
    music.desktopDeviceId = s.desktopDeviceId;
    music.lineInDeviceName = s.lineInDevice;
    music.microphoneDeviceName = s.micDevice;
    gEngine->ui.tutorials.setSeenNames(s.tutorialsSeen);
}

void Cgame::saveNewsFeed() {
    // A failed write waits for the next change or the quit; the news is
    // still held meanwhile.
    online.inbox.changed = false;
    if (!saveLoad.saveNewsFeed()) gEngine->log.print(LOG_E, "News feed not saved");
}

CchallengeMgr* Cgame::getActiveChallenge() {
    for (CchallengeMgr* c : {&online.lightningChallenge, &online.dailyChallenge})
        if (c->active && c->isRunning()) return c;
    return nullptr;
}
