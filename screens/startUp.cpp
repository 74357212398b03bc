#include "screens/startUp.h"

#include "screens/mainMenu.h"
#include "screens/screenRegistry.h"

#include <cctype>
#include <cstring>
#include <utility>

#include "engine/engine.h"
#include "engine/ui/uiDraw.h"
#include "game/game.h"
#include "screens/confirm.h"
#include "screens/screenRegistry.h"

namespace {

const char* const kPhaseTags[] = {"SU_Starting",        "SU_LoadLogin",       "SU_Authorizing",
                                  "SU_RetrieveConfig",  "SU_LoadingSaveGame", "SU_LoadingSaveGame",
                                  "SU_GettingPlayerStats", "SU_CheckingMessages", "SU_Finished"};

void logLine(const char* text) { gEngine->log.print(LOG_L, "%s", text); }
void logError(const char* text) { gEngine->log.print(LOG_E, "%s", text); }

bool webOff() { return gEngine->webServiceOff; }

void saveLogin() {
    const k4wSOAP& soap = gGame->online.soap;
    if (!gGame->saveLoad.saveLoginData({soap.loginName(), soap.loginPassword(), soap.loginEmail()}))
        gEngine->log.print(LOG_E, "The login could not be saved");
}

}  // namespace

void CstartUpScreen::reset() {
    phase = PHASE_STARTING;
    finished = false;
    statsPending = false;
    localXp = 0;
    localLoaded_ = false;
}

void CstartUpScreen::signInFinished(const CsignInResult& result) {
    saveLogin();
    signIn_ = result;
    saveLoginOnToken_ = true;
    gGame->setGameMode(GM_START_UP);
}

void CstartUpScreen::enter() {
    reset();
    // Nothing here takes a button; those of the screen before go.
    gUi->buttonBar.clear();
    gGame->online.friends.clear();
    gGame->online.challengeList.clearGuids();
}

bool CstartUpScreen::readVersionNumber(const std::string& t, int& number) {
    number = 0;
    if (t.size() < 5) return false;
    for (size_t i : {1u, 3u, 4u})
        if (!isdigit((unsigned char)t[i])) return false;
    number = 100 * (t[1] - '0') + 10 * (t[3] - '0') + (t[4] - '0');
    return true;
}

bool CstartUpScreen::checkConfigVersion() {
    int config = 0, mine = 0;
    bool readable = readVersionNumber(gGame->online.gameConfig.record.versionText, config);
    readVersionNumber(gEngine->versionText, mine);
    gEngine->log.print(LOG_A, "Config Version = %d", config);
    gEngine->log.print(LOG_A, "My Version = %d", mine);
    // A version text that can't be read tells nothing: the game goes on.
    if (!readable) {
        gEngine->log.print(LOG_L, "- StartUp - unreadable version text, taken as current");
        return true;
    }
    if (config != 0 && mine >= config) return true;

    // A newer game is out: say so. Its one choice ends this game (the
    // state it names is ReallyExit; Init would leave the player stuck).
    screens::get<CconfirmStateScreen>()->open(gEngine->text("NotLastestVersion"), {{gEngine->text("OK"), GM_REALLY_EXIT}});
    gGame->progress.saveDirty = false;
    gGame->saveRequested = 0;
    gUi->loadingIndicator.hide();
    return false;
}

std::string CstartUpScreen::phaseText() const {
    if (phase < PHASE_STARTING || phase > PHASE_FINISHED) return "--";
    std::string t = gEngine->text(kPhaseTags[phase]);
    if (phase == PHASE_STATS) t += CbString::format(" (%d)", (int)gGame->statsCache.numRequests()).str();
    return t;
}

void CstartUpScreen::render() {
    uiDraw::text("FontMedium", phaseText(), (float)gEngine->halfScreenWidth, (float)gEngine->screenHeight - 150.0f,
                 gUi->scale(), Ccolour(1, 1, 1, 1), ALIGN_CENTRE, nullptr);
}

void CstartUpScreen::update() {
    CgameConfig& config = gGame->online.gameConfig;
    CmessagePoller& messages = gGame->online.messages;
    k4wSOAP& soap = gGame->online.soap;
    CthreadTask& loadTask = gGame->saveLoad.loadTask();

    // Nothing starts loading while the save is being written.
    if (gGame->saveLoad.saveTaskRunning()) return;

    if (statsPending) {
        if (!gGame->statsCache.requestsPending()) {
            statsPending = false;
            ++phase;
        }
        return;
    }
    if (phase == PHASE_MESSAGES && messages.retrieving) {
        if (messages.done) {
            messages.retrieving = false;
            messages.done = false;
            messages.messageIndex = 0;
            ++phase;
        }
        return;
    }
    // The poller takes its own task's result; wait for it.
    if (phase == PHASE_MESSAGES && messages.task.started()) return;

    if (config.task.started()) {
        if (!config.task.finished()) return;
        bool ok = config.task.success();
        config.task.reset();
        if (ok) {
            logLine("- StartUp - game config - success");
            if (checkConfigVersion()) {
                messages.pollPeriod = config.record.messagePollPeriod;
                ++phase;
            }
        } else {
            // Without the configuration the game still plays, offline.
            logError("- StartUp - game config - failed");
            soap.switchOff("the game configuration could not be read");
            ++phase;
        }
        return;
    }

    if (loadTask.started()) {
        if (!loadTask.finished()) return;
        handleSaveResult(loadTask.success());
        return;
    }

    if (soap.tokenTask.started()) {
        if (!soap.tokenTask.finished()) return;
        bool ok = soap.tokenTask.success();
        soap.tokenTask.reset();
        soap.commitUnixTime();
        if (ok) {
            logLine("- StartUp - get token - success");
            ++phase;
            if (std::exchange(saveLoginOnToken_, false)) saveLogin();
            return;
        }
        logLine("- StartUp - get token - failed");
        ++tokenFailures;
        if (tokenFailures >= kMaxTokenFailures) {
            // Signing in again would only fail the same way: go on offline.
            soap.switchOff("three failed token requests");
            phase = PHASE_LOCAL_SAVE;
            return;
        }
        gUi->loadingIndicator.hide();
        gGame->setGameMode(GM_SIGN_IN);
        return;
    }

    runPhase();
}

void CstartUpScreen::runPhase() {
    CsaveLoad& saves = gGame->saveLoad;
    k4wSOAP& soap = gGame->online.soap;
    switch (phase) {
        case PHASE_STARTING:
            reset();
            gGame->progress.reset();
            saveCloudFlag = saves.gameFile().cloud() ? 1 : 0;
            tellKeptAside("SettingsUnreadable", saves.takeKeptAside(CsaveLoad::kSettingsFile));
            soap.clearLogin();
            gUi->loadingIndicator.show(gEngine->text("StartingUp"));
            phase = PHASE_LOAD_LOGIN;
            break;

        case PHASE_LOAD_LOGIN: {
            logLine("- StartUp - load login");
            saves.login = CloginData();
            saves.loadLoginData();
            if (webOff()) {
                phase = PHASE_LOCAL_SAVE;
            } else if (saves.login.present()) {
                soap.setLogin(saves.login.name, saves.login.password, saves.login.email);
                logLine("- StartUp - load login - success");
                phase = PHASE_TOKEN;
            } else {
                logLine("- StartUp - load login - fail");
                gUi->loadingIndicator.hide();
                gGame->setGameMode(GM_SIGN_IN);
            }
            break;
        }

        case PHASE_TOKEN:
            logLine("- StartUp - get Token");
            // Refused only when the service has gone off meanwhile.
            if (!soap.retrieveAuthToken() && webOff()) phase = PHASE_LOCAL_SAVE;
            break;

        case PHASE_CONFIG:
            logLine("- StartUp - getting game config");
            if (!gGame->online.gameConfig.startGetGameConfig() && webOff()) phase = PHASE_LOCAL_SAVE;
            break;

        case PHASE_LOCAL_SAVE:
            saves.gameFile().setCloud(false);
            logLine("- StartUp - load save game local");
            saves.loadGame();
            break;

        case PHASE_CLOUD_SAVE:
            // A local save already held stays until the cloud one has loaded
            // (loads are all or nothing), so a failed cloud load loses nothing.
            if (!localLoaded_) gGame->progress.reset();
            saves.gameFile().setCloud(true);
            logLine("- StartUp - load save game cloud");
            saves.loadGame();
            break;

        case PHASE_STATS:
            logLine("- StartUp - getting player stats");
            // The local record is the one the fetched record replaces.
            gGame->statsCache.local.steamId = gEngine->steamId;
            gGame->statsCache.queuePlayer(gEngine->steamId);
            statsPending = true;
            break;

        case PHASE_MESSAGES:
            logLine("- StartUp - check messages");
            gGame->online.messages.retrieveMessages(true);
            break;

        case PHASE_FINISHED: finish(); break;

        default: phase = PHASE_STARTING; break;
    }
}

void CstartUpScreen::handleSaveResult(bool taskOk) {
    CsaveLoad& saves = gGame->saveLoad;
    CplayerProgress& progress = gGame->progress;
    CthreadTask& loadTask = saves.loadTask();

    if (!taskOk && phase == PHASE_CLOUD_SAVE && localLoaded_) {
        // The local save is still held: keep it rather than start afresh.
        logError("- StartUp - failed to load cloud save, keeping the local save");
        savedGameLoaded(true);
    } else if (!taskOk && progress.xp <= 0) {
        if (phase == PHASE_LOCAL_SAVE) {
            logLine("- StartUp - failed to load local save, trying cloud instead");
            loadTask.reset();
            phase = PHASE_CLOUD_SAVE;
            return;
        }
        logLine("- StartUp - failed to load local and cloud save, must be new player");
        saves.gameFile().setCloud(saveCloudFlag != 0);
        progress.createNewProfile();
        // The new player's own statistics say who they are from the start (platform, name).
        progress.syncLocalStats(gGame->statsCache.local);
        tellKeptAside("SaveUnreadable", saves.takeKeptAside());
        gEngine->analytics.setClientId(progress.clientId);
        logLine("- StartUp - load save games - failed");
        ++phase;
    } else {
        gEngine->log.print(LOG_L, "- StartUp - Load Save Successful mode=%d", (int)phase);
        if (saveCloudFlag == 1 && phase == PHASE_LOCAL_SAVE && !webOff()) {
            logError("- StartUp - Now trying cloud save");
            localXp = progress.xp;
            localLoaded_ = true;
            loadTask.reset();
            phase = PHASE_CLOUD_SAVE;
            return;
        }
        if (phase == PHASE_CLOUD_SAVE) {
            if (localLoaded_ && localXp > progress.xp) {
                logError("- StartUp - Local save more recent, so loading that back in");
                if (!saves.reloadLocal()) logError("- StartUp - local save could not be read again, keeping the cloud save");
            } else {
                logError("- StartUp - Cloud save more recent, so sticking with that");
            }
        }
        savedGameLoaded(false);
    }
    gEngine->analytics.sendEvent("StartEnd", "StartGame", nullptr);
    loadTask.reset();
    if (webOff()) phase = PHASE_FINISHED;
}

void CstartUpScreen::tellKeptAside(const char* textTag, const std::string& keptAs) {
    if (keptAs.empty()) return;
    // The player starts afresh: say so, and where the old file lies.
    std::string message = gEngine->text(textTag);
    size_t at = message.find("%s");
    if (at != std::string::npos) message.replace(at, 2, keptAs);
    else message += " " + keptAs;
    if (strcmp(textTag, "SaveUnreadable") == 0)
        gEngine->log.print(LOG_E, "- StartUp - unreadable save kept as %s; new profile made", keptAs.c_str());
    else
        gEngine->log.print(LOG_E, "- StartUp - unreadable settings kept as %s; defaults used", keptAs.c_str());
    gGame->tellSaveProblem(message);
}

void CstartUpScreen::savedGameLoaded(bool keptLocal) {
    CplayerProgress& progress = gGame->progress;
    gGame->saveLoad.gameFile().setCloud(saveCloudFlag != 0);
    logLine("- StartUp - load save games - success");
    gEngine->analytics.setClientId(progress.clientId);
    progress.syncLocalStats(gGame->statsCache.local);
    gGame->achievements.refreshMilestones();
    gGame->playerShips.attachModules(progress.modules);
    // A save loaded with the cloud flag clear has no cloud save to weigh it against.
    if (phase == PHASE_LOCAL_SAVE && !keptLocal) phase = PHASE_STATS;
    else ++phase;
    if (progress.xp <= 0) {
        gEngine->analytics.sendEvent("CodeWarning", "Had to set XP to 1 on startup", nullptr);
        progress.setXP(1);
    }
    std::string name = gEngine->steam.platform.getSteamName().str();
    gEngine->playerName = name;
    gGame->online.soap.setPlayerName(name);
    gGame->statsCache.setRecordName(name);
    gUi->popups.showMessage(std::string(gEngine->text("SignedInAs")) + " " + name);
}

void CstartUpScreen::finish() {
    logLine("- StartUp - finished");
    finished = true;
    gUi->loadingIndicator.hide();
    gGame->online.messages.enabled = true;
    CplayerProgress& progress = gGame->progress;
    int64_t day = gEngine->serverUnixTime / 86400;
    progress.dayNumber = (int32_t)day;
    progress.saveDirty = true;
    if (gEngine->playerName.empty()) gEngine->playerName = gEngine->steam.platform.getSteamName().str();
    progress.playerName = gEngine->playerName;
    progress.steamId = gEngine->steamId;
    // The marker board is registered once a run.
    bool markerBoard = false;
    for (const CsteamBoardRecord& b : gEngine->steam.leaderboards.boards)
        markerBoard = markerBoard || equalsIgnoreCase(b.name, "FriendOwnsGame");
    if (!markerBoard) gEngine->steam.startFriendsLookup();
    gEngine->analytics.sendEventNumber("UnixTime", (float)day);
    const CplayerShipDef* ship = gGame->playerShips.currentShip();
    gGame->world.party.reset(gEngine->playerName, ship ? ship->data.identifier : progress.currentShip, ship);
    gGame->online.dailyChallenge.start(24, "24HourChall");
    gGame->online.lightningChallenge.start(4, "4HourChall");
    // The menu's layout follows the web-service switch as it stands now.
    if (CmainMenuScreen* menu = screens::get<CmainMenuScreen>()) menu->load();
    gGame->setGameMode(GM_MAIN_MENU);
}
