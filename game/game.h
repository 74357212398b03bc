#pragma once
// Cgame: the game singleton, reached through gGame. It owns the game state
// machine and the screens' slots (the screens come from the screen registry in
// screens/), steps the overlays and the current state's screen each update,
// and draws them each frame.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "audio/gameSfx.h"
#include "audio/musicPlayer.h"
#include "audio/sfxPackMgr.h"
#include "audio/shoutcastBrowser.h"
#include "audio/songInfoMgr.h"
#include "game/progress/achievementDefs.h"
#include "game/progress/playerProgress.h"
#include "game/progress/playerShipMgr.h"
#include "game/progress/playerStatsCache.h"
#include "game/progress/saveLoad.h"
#include "game/progress/trackStats.h"
#include "online/online.h"
#include "game/gameModes.h"
#include "game/gameWorld.h"
#include "game/menuBackground.h"
#include "game/menuMusic.h"
#include "game/namedColours.h"
#include "game/playScreen.h"
#include "game/screenSlot.h"
#include "game/warningSlot.h"
#include "game/workshopGlue.h"
#include "services/autoScreenShot.h"
#include "services/screenCapture.h"
#include "services/steamAchievements.h"

// The display the window opens on and how. Stored with the settings.
class Cwidget;

struct CvideoSettings {
    int display = 0;
    int width = 1280;
    int height = 720;
    uint8_t fullScreen = 0;
    uint8_t borderless = 0;
};

class Cgame {
public:
    // Allocates zero-filled storage, constructs the game and sets gGame.
    static Cgame* create();
    static void destroy();

    Cgame();
    ~Cgame();
    Cgame(const Cgame&) = delete;
    Cgame& operator=(const Cgame&) = delete;

    // The display choice, the window and its GL context. False ends the
    // program through the fatal path.
    bool init();
    // After init: the mouse and cursor, then the base resources and the
    // Loading state.
    bool startUp();
    // Before the game object goes: the last work that must leave the program.
    void shutDown();

    // Loading. The base resources are what the loading screen needs; the
    // Loading state's enter runs the other phases.
    bool loadBaseResources();
    bool loadScreens();
    bool loadResources();
    bool loadResourcesFinal();

    // Requests a state. A state without a screen (or out of range) is refused
    // with a log line. With a transition the fade screen runs first; without
    // one the showing screen leaves first, or the state is entered at once.
    bool setGameMode(int mode, bool transition = false);
    // The flash of a pressed button: the widget pulses and a flash plays at it
    // (at the screen's centre without a widget).
    void playTransitionEffect(Cwidget* w = nullptr);
    // Makes the state current and calls its screen's enter.
    bool enterGameMode(int mode);
    // Sets the state without entering a screen (a holding state such as
    // LoadingDone while the first transition runs).
    void setModeDirect(int mode);

    int mode() const { return mode_; }
    // The state entered before the current one (Init at first).
    int previousMode() const { return previous_; }
    int pendingMode() const { return pending_; }
    bool transitionRunning() const { return transitionRunning_; }
    CscreenSlot* currentScreen() const { return current_; }
    CscreenSlot* screen(int mode) const { return isValidGameMode(mode) ? screens_[mode] : nullptr; }

    // Binds a screen to its state (refused for a state without a screen).
    bool setScreen(int mode, CscreenSlot* screen);
    void setTransitionScreen(CscreenSlot* screen);
    void setOverlay(int id, CoverlaySlot* overlay);
    CoverlaySlot* overlay(int id) const { return id >= 0 && id < OVERLAY_COUNT ? overlays_[id] : nullptr; }
    // The screens the registry made (see screens/screenRegistry.h).
    CscreenSet* screenSet() const { return screenSet_.get(); }

    // One update step: global steps, member updates, the overlays and the
    // current state's screen.
    void update();
    // One frame: the current state's screen, the overlays, the fade screen.
    void draw();

    // The final save and the quit flag; a final save that fails sets exitCode.
    void endGame();
    // Writes the news feed file (the inbox changed, or the game ends).
    void saveNewsFeed();
    // The lightning or daily challenge the player chose and that still runs
    // (the lightning one first), or null.
    CchallengeMgr* getActiveChallenge();
    // Video back to 1280 x 720 windowed, language back to English, settings saved.
    void resetVideoAndLanguage();
    // A closed window or a quit signal ends the game normally.
    void handleQuitRequest();

    bool quit = false;
    // What the process returns: 0, or kExitSaveFailed when the final save was not written.
    static constexpr int kExitSaveFailed = 3;
    int exitCode = 0;
    uint64_t updateCount = 0;

    CvideoSettings video;
    int language = 0;   // 0 English

    // Fields the screens share.
    uint8_t saveRequested = 0;
    uint8_t interfaceHidden = 0;
    uint8_t mouseIdle = 0;
    uint8_t blocking = 0;
    uint8_t hubVisited = 0;
    uint8_t standardShipFlag = 1;
    // Special ships a game over has earned; the unlock hub shows them.
    uint8_t vessikUnlockPending = 0, vornakUnlockPending = 0, goldShipUnlockPending = 0;

    // Progress and the save layer.
    CplayerProgress progress;
    CplayerShipMgr playerShips;
    CachievementDefs achievements;
    CtrackStats trackStats;
    CsaveLoad saveLoad{progress, playerShips, achievements, trackStats};
    CplayerStatsCache statsCache;
    CsteamAchievements steamAchievements;   // the achievements' Steam side

    // Music and sound.
    CsongInfoMgr songLibrary;
    CmusicPlayer music;
    CmenuMusic menuMusic;
    CgameSfx sfx;
    CsfxPackMgr sfxPacks;
    CshoutcastBrowser radio;

    // The web service.
    Conline online;

    // Ships shared through the workshop.
    CworkshopGlue workshop;

    // Pictures of the screen: the one pending capture, and the moments of
    // play captured automatically (shown on the game-over screens).
    CscreenCapture screenCapture;
    CautoScreenShot autoShots{world, screenCapture};

    // Colours the screens tint with, by name.
    CnamedColours namedColours;
    CmenuBackground menuBackground;

    // Play: the session and its members, and the screen of state Playing.
    CgameWorld world;
    CplayScreen playScreen{world};

    // The UI's warning over every screen.
    CwarningOverlay warningOverlay;
    // Tells a save problem in the warning box, after any message still up.
    void tellSaveProblem(const std::string& message);

    // Hooks for the parts that join later.
    std::function<bool()> saveGameFiles;   // the game save and the settings; false when one failed
    std::function<void()> saveSettings;
    std::function<void()> onShutDown;
    std::vector<std::function<void()>> globalSteps;     // every update, first
    std::vector<std::function<void()>> memberUpdates;   // every update, before the overlays
    std::function<void()> afterDraw;                    // a pending screen capture

private:
    void connectMembers();
    void applySettings();
    void finishTransition();

    int mode_ = GM_INIT;
    int previous_ = GM_INIT;
    int pending_ = -1;
    bool transitionRunning_ = false;
    bool readyPending_ = false;   // the entered state's "GameMode ready" line is still to come
    bool leavePending_ = false;
    bool ending_ = false;
    CscreenSlot* current_ = nullptr;
    CscreenSlot* transition_ = nullptr;
    std::array<CscreenSlot*, GM_COUNT> screens_{};
    std::array<bool, GM_COUNT> loaded_{};
    std::array<CoverlaySlot*, OVERLAY_COUNT> overlays_{};
    std::array<bool, OVERLAY_COUNT> overlayLoaded_{};
    CwarningOverlaySlot warningSlot_{warningOverlay};
    // Last, so that the screens go before the members they use.
    std::unique_ptr<CscreenSet> screenSet_;
};

extern Cgame* gGame;
