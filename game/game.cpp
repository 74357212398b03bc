#include "game/game.h"

#include <cstdlib>
#include <new>

#include "engine/engine.h"
#include "engine/render/particles.h"
#include "engine/ui/widget.h"
#include "game/gameAward.h"

Cgame* gGame = nullptr;

const char* overlayName(int id) {
    static const char* names[OVERLAY_COUNT] = {"Pause", "Confirm", "Warning", "MusicBar", "Exit", "OpenMicError",
                                                  "MissionPanel"};
    return id >= 0 && id < OVERLAY_COUNT ? names[id] : "Unknown";
}

Cgame* Cgame::create() {
    void* mem = std::calloc(1, sizeof(Cgame));
    if (!mem) return nullptr;
    gGame = new (mem) Cgame();
    return gGame;
}

void Cgame::destroy() {
    if (!gGame) return;
    Cgame* g = gGame;
    g->~Cgame();
    gGame = nullptr;
    std::free(g);
}

Cgame::Cgame() {
    setScreen(GM_PLAYING, &playScreen);
    setOverlay(OVERLAY_WARNING, &warningSlot_);
    screenSet_ = makeScreens(*this);
    // Play asks the state machine for its states (before init, for tests that drive play alone).
    world.hooks.setGameMode = [this](int m, bool transition) { setGameMode(m, transition); };
    world.hooks.gameMode = [this] { return mode_; };
}

Cgame::~Cgame() {
    // A statistics fetch runs through the online client, which goes first;
    // calls still on the wire are cut off so nothing waits for the service.
    online.soap.abortCalls();
    statsCache.waitIdle();
    if (gGame == this) gGame = nullptr;
}

// ---- start-up and shutdown ----

bool Cgame::init() {
    gEngine->log.print(LOG_L, "Game init");
    connectMembers();
    // The region comes first.
    if (!gEngine->steam.init()) return false;
    steamAchievements.registerWithSteam(gEngine->steam.achievementsMgr);
    // Analytics reports as a web client with the configured tracking id.
    gEngine->analytics.setWebMode(true);
    if (const char* tid = gEngine->gameSystem().find("GT", false)) gEngine->analytics.setTrackingId(tid);
    if (const char* host = gEngine->gameSystem().find("AnalyticsHost", false)) gEngine->analytics.setEndpoint(host);
    // Audio; without a device the game runs silent.
    if (!gEngine->audio.init()) gEngine->log.print(LOG_L, "Audio init failed: running without sound");
    // The save layer with its settings; the settings choose the display below.
    saveLoad.loadSettings();
    applySettings();
    CwindowRequest req;
    req.display = video.display;
    req.width = video.width;
    req.height = video.height;
    req.mode = video.borderless ? WINDOW_BORDERLESS : video.fullScreen ? WINDOW_FULLSCREEN : WINDOW_WINDOWED;
    if (!gEngine->platform.openWindow(req)) return false;
    // The first sound (the loading's own) is decoded soon: its libraries open
    // meanwhile, beside the renderer's start-up. The cursor's library first,
    // as the loader takes one library at a time.
    gEngine->platform.makeArrowCursor();
    CaudioBASS::openDecodersSoon();
    int w = 0, h = 0;
    gEngine->platform.getWindowSize(w, h);
    gEngine->setScreenSize(w, h);
    gEngine->input.setScreenScale(w, h, w, h);
    // The renderer with its shaders; headless, the null backend.
    if (!initRendering(gEngine->platform.hasGl() ? RENDER_GL : RENDER_NULL)) return false;
    gEngine->renderer.setClearColour(gEngine->platform.clearColour);
    // Leaderboard names, built-in tracks and player statistics.
    online.init();
    songLibrary.init();
    music.init(&gEngine->audio, &songLibrary, &gEngine->acrCloud);
    music.addBuiltInTracks();
    playerShips.loadBuiltIn();
    achievements.load();
    saveLoad.loadHighScores();
    saveLoad.loadNewsFeed();
    return true;
}

// The agent name: a fixed desktop-browser style text naming the game.
static std::string browserUserAgent() {
    return "Mozilla/5.0 (X11; Linux x86_64) " + gEngine->gameNameNoBlanks + "/" + gEngine->versionText;
}

bool Cgame::startUp() {
    gEngine->input.mouse.setCaptured(false);
    gEngine->platform.setArrowCursor();
    gEngine->platform.showCursor(true);
    // Fingerprinting with its sample-rate converter and the workshop client
    // start here, with the Twitter client.
    gEngine->twitter.openUrl = [](const std::string& url) { return gEngine->platform.openUrl(url); };
    gEngine->acrCloud.init();
    gEngine->workshop.init();
    gEngine->twitter.init();
    gEngine->analytics.setUserAgent(browserUserAgent());
    return loadBaseResources();
}

void Cgame::shutDown() {
    // Quitting never waits for the service: the saves are written already.
    online.soap.abortCalls();
    if (onShutDown) onShutDown();
}

// ---- loading ----

bool Cgame::loadBaseResources() {
    // The sound table (the loading plays its first slot), then the screens
    // the loading needs. Fonts came with the renderer.
    sfx.init(&gEngine->audio);
    for (int m : {GM_LOADING}) {
        if (screens_[m] && !loaded_[m]) {
            if (!screens_[m]->load()) {
                gEngine->log.print(LOG_E, "Can't load the screen of %s", gameModeName(m));
                return false;
            }
            loaded_[m] = true;
        }
    }
    if (transition_ && !transition_->load()) {
        gEngine->log.print(LOG_E, "Can't load the fade screen");
        return false;
    }
    return setGameMode(GM_LOADING);
}

bool Cgame::loadScreens() {
    bool ok = true;
    for (int id = 0; id < OVERLAY_COUNT; ++id) {
        if (!overlays_[id] || overlayLoaded_[id]) continue;
        if (!overlays_[id]->load()) {
            gEngine->log.print(LOG_E, "Can't load the %s overlay", overlayName(id));
            ok = false;
            continue;
        }
        overlayLoaded_[id] = true;
    }
    for (int m = 0; m < GM_COUNT; ++m) {
        if (!screens_[m] || loaded_[m]) continue;
        if (!screens_[m]->load()) {
            gEngine->log.print(LOG_E, "Can't load the screen of %s", gameModeName(m));
            ok = false;
            continue;
        }
        loaded_[m] = true;
    }
    return ok;
}

bool Cgame::loadResources() {
    // The effects' samples, sound packs and named colours before the screens, the ship properties
    // after them; each item loaded is a step of the loading bar.
    sfx.loadSamples();
    sfxPacks.init(&gEngine->audio);
    namedColours.load();
    radio.init();
    bool ok = loadScreens();
    if (!world.loadData()) ok = false;
    return ok;
}

bool Cgame::loadResourcesFinal() { return true; }

// ---- the state machine ----

bool Cgame::setScreen(int mode, CscreenSlot* screen) {
    if (!gameModeHasScreen(mode)) {
        gEngine->log.print(LOG_E, "Can't give game mode %d a screen", mode);
        return false;
    }
    if (mode == mode_ && current_) current_ = screen;
    screens_[mode] = screen;
    loaded_[mode] = false;
    return true;
}

void Cgame::setTransitionScreen(CscreenSlot* screen) { transition_ = screen; }

void Cgame::setOverlay(int id, CoverlaySlot* overlay) {
    if (id < 0 || id >= OVERLAY_COUNT) return;
    overlays_[id] = overlay;
    overlayLoaded_[id] = false;
}

bool Cgame::setGameMode(int mode, bool transition) {
    if (!isValidGameMode(mode) || !screens_[mode]) {
        gEngine->log.print(LOG_E, "Can't set game mode %d (%s): it has no screen", mode, gameModeName(mode));
        return false;
    }
    gEngine->log.print(LOG_L, "GameMode = %s", gameModeName(mode));
    gEngine->analytics.sendScreenView(gameModeName(mode));
    pending_ = mode;
    if (transitionRunning_) return true;   // the running fade lets the newest request in
    if (transition && transition_) {
        transitionRunning_ = true;
        leavePending_ = false;
        transition_->enter();
        return true;
    }
    if (current_ && !leavePending_) {
        current_->startLeave();
        leavePending_ = true;
    }
    if (!current_ || current_->hasLeft()) return enterGameMode(mode);
    return true;
}

bool Cgame::enterGameMode(int mode) {
    if (!isValidGameMode(mode) || !screens_[mode]) {
        gEngine->log.print(LOG_E, "Can't enter game mode %d (%s): it has no screen", mode, gameModeName(mode));
        return false;
    }
    pending_ = -1;
    leavePending_ = false;
    previous_ = mode_;
    mode_ = mode;
    current_ = screens_[mode];
    // Relative mouse mode belongs to play: every way out of it (game over,
    // quit, a test flight's return) gives the menus their pointer back.
    if (mode != GM_PLAYING) gEngine->input.mouse.setCaptured(false);
    readyPending_ = true;
    current_->enter();
    return true;
}

void Cgame::setModeDirect(int mode) {
    if (!isValidGameMode(mode)) return;
    mode_ = mode;
    current_ = screens_[mode];
}

void Cgame::finishTransition() {
    transitionRunning_ = false;
    if (pending_ >= 0) enterGameMode(pending_);
}

// ---- per step and per frame ----

void Cgame::update() {
    ++updateCount;
    for (auto& step : globalSteps) step();

    // While the confirm overlay shows, nothing else steps.
    CoverlaySlot* confirm = overlays_[OVERLAY_CONFIRM];
    if (confirm && confirm->showing()) {
        confirm->update();
        return;
    }

    for (auto& step : memberUpdates) step();

    // Escape brings up the exit pop-up, except on the title and in play
    // (where it pauses) and on the controller configuration (where it leaves
    // the configuration). It is used up so that the pop-up does not take the
    // same press as its own "No".
    CoverlaySlot* exitPopup = overlays_[OVERLAY_EXIT];
    if (gEngine->lastKey == SDL_SCANCODE_ESCAPE && mode_ != GM_PRESS_START && mode_ != GM_PLAYING && mode_ != GM_CONFIG && exitPopup &&
        !exitPopup->showing()) {
        exitPopup->show();
        gEngine->lastKey = -1;
    }

    for (int id : {OVERLAY_MUSIC_BAR, OVERLAY_WARNING, OVERLAY_MISSION_PANEL})
        if (overlays_[id]) overlays_[id]->update();

    // A running fade holds the state's screen still; when it ends the
    // requested state comes in.
    if (transitionRunning_) {
        if (transition_) transition_->update();
        if (!transition_ || transition_->hasLeft()) finishTransition();
        return;
    }
    if (leavePending_ && pending_ >= 0 && (!current_ || current_->hasLeft())) enterGameMode(pending_);

    // Escape or Start in play pauses; a test flight goes back where it came from instead.
    CoverlaySlot* pause = overlays_[OVERLAY_PAUSE];
    if (mode_ == GM_PLAYING && pause && !pause->showing() &&
        (gEngine->lastKey == SDL_SCANCODE_ESCAPE || gEngine->ui.input().action(ACTION_START))) {
        if (world.session.gameType == GAMETYPE_SHIPTEST) {
            gEngine->lastKey = -1;
            if (gEngine->ui.input().device == DEVICE_TOUCH) gEngine->input.sticks.setEnabled(false, &gEngine->input.joysticks);
            setGameMode(world.session.shipTestReturnState, true);
            return;
        }
        pause->show();
    }

    for (int id : {OVERLAY_EXIT, OVERLAY_OPEN_MIC_ERROR, OVERLAY_PAUSE}) {
        CoverlaySlot* o = overlays_[id];
        if (o && o->showing()) {
            o->update();
            return;
        }
    }
    if (current_) current_->update();
    // Said once the state takes input, so scripts driving the game wait for
    // this rather than for a guessed time.
    if (readyPending_ && current_ && current_->ready() && pending_ < 0) {
        readyPending_ = false;
        gEngine->log.print(LOG_L, "GameMode ready: %s", gameModeName(mode_));
    }
}

void Cgame::draw() {
    if (current_) current_->render();
    for (int id = 0; id < OVERLAY_COUNT; ++id) {
        if (id == OVERLAY_MUSIC_BAR) gEngine->ui.renderOverlays();
        CoverlaySlot* o = overlays_[id];
        if (o && o->showing()) o->render();
    }
    if (transitionRunning_ && transition_) transition_->render();
    workshop.render();
    if (afterDraw) afterDraw();
}

// ---- ending ----

void Cgame::endGame() {
    if (ending_) return;
    ending_ = true;
    gEngine->analytics.sendEvent("StartEnd", "EndGame", nullptr);
    // A game over left by quitting keeps its results (a party game keeps none).
    commitGameResults(*this);
    if (saveGameFiles && !saveGameFiles()) exitCode = kExitSaveFailed;
    gEngine->log.print(LOG_L, "End game");
    quit = true;
}

void Cgame::resetVideoAndLanguage() {
    video = CvideoSettings();
    language = 0;
    // The settings file keeps them for the next start.
    Csettings& s = saveLoad.settings;
    s.width = video.width;
    s.height = video.height;
    s.fullScreen = false;
    s.borderless = false;
    s.language = 0;
    s.dirty = true;
    gEngine->setLanguage(0);
    if (saveSettings) saveSettings();
    const char* text = "Screen resolution and Language reset to defaults.";
    gEngine->log.print(LOG_L, "%s", text);
    gEngine->ui.popups.showMessage(text);
}

void Cgame::handleQuitRequest() {
    if (!gEngine->platform.quitRequested()) return;
    gEngine->platform.clearQuitRequest();
    if (!quit) {
        gEngine->log.print(LOG_L, "Quit requested");
        endGame();
    }
}

void Cgame::playTransitionEffect(Cwidget* w) {
    if (!w) {
        spawnTransitionFlash(gEngine->screenWidth * 0.5f, gEngine->screenHeight * 0.5f);
        return;
    }
    w->startEffect(EFFECT_SCALE_FROM, 0, nullptr, 0, 0.15f);
    if (w->effect) w->effect->startScaleFrom(0.85f);
    spawnTransitionFlash(w->x, w->y);
}
