#pragma once
// Test support: the engine and the game, headless (SDL dummy drivers, no GL),
// driven by the test's own clock. Input goes in as SDL events and through the
// platform's event pump, like a player's.
#include <SDL.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "game/frameLoop.h"
#include "game/game.h"
#include "support/testEngine.h"

class CtestGame {
public:
    // Creates and inits engine and game (the headless window). With
    // startUp, the start-up runs too: Loading, then the fade towards PressStart.
    // With a save folder, the game plays over it and leaves it in place.
    explicit CtestGame(bool startUp = false, const std::string& commandLine = "", const std::string& saveDir = "");
    ~CtestGame();
    CtestGame(const CtestGame&) = delete;
    CtestGame& operator=(const CtestGame&) = delete;

    Cgame* operator->() { return gGame; }
    Cgame& game() { return *gGame; }
    bool initOk() const { return initOk_; }

    // Web pages the game asked to open (in the desktop's browser), and
    // whether the game had joined that opener itself.
    std::vector<std::string> openedWebPages;
    bool gameOpensWebPages = false;

    // The clock: real time in ms as the frame loop sees it.
    double now = 0;
    // The loading screen's clock (see the constructor).
    double loadingNow = 0;
    CframeLoop loop;
    // Moves real time on by ms and runs one pass of the frame loop.
    bool advance(double ms);
    // n passes, each one update period later: n update periods.
    void steps(int n);
    // Steps (one update period each, a millisecond of real time apart so the
    // background tasks move on) until pred holds, for at most seconds of real
    // time. For what another thread does; what the game's own clock does
    // takes a fixed number of steps.
    bool stepUntil(const std::function<bool()>& pred, double seconds = kEventWaitSeconds);

    // Input. Events are queued and taken by the next pump.
    void keyDown(int scanCode);
    void keyUp(int scanCode);
    void mouseButton(int button, bool down);   // 0 left .. 4
    void mouseMove(int x, int y);
    void mouseWheel(int notches);               // + away from the player (up), - towards
    void finger(SDL_EventType type, SDL_FingerID id, float x, float y);   // x, y in 0..1
    // Presses or lets go of what a player's first binding of an action names
    // (a key or a mouse button; a controller's through its virtual pad).
    bool setAction(int player, int action, bool down);

    // Virtual game pads (SDL's virtual joysticks). Returns a pad number.
    int attachPad(const char* name, int axes = 6, int buttons = 11, int hats = 1);
    void padButton(int pad, int button, bool down);
    void padAxis(int pad, int axis, float value);   // -1..1
    void padHat(int pad, Uint8 hat);
    // The joystick slot the engine opened for a pad, -1 when none.
    int padSlot(int pad) const;

    int mode() const { return gGame->mode(); }
    bool logHas(const std::string& text) const { return gEngine->log.contains(text); }
    int logCount(const std::string& text) const;
    bool logPrefix(const std::string& prefix) const { return !logLinesStartingWith(prefix).empty(); }
    std::vector<std::string> logLinesStartingWith(const std::string& prefix) const;

private:
    CtestEngine eng_;
    bool initOk_ = false;
    std::vector<SDL_Joystick*> pads_;
};

// A screen that counts what the state machine asks of it.
class CrecordingScreen : public CscreenSlot {
public:
    bool load() override { ++loads; return loadResult; }
    void enter() override { ++enters; }
    void update() override;
    void render() override;
    void startLeave() override { ++leaves; leaveLeft = leaveSteps; }
    bool hasLeft() const override { return leaveLeft <= 0; }
    bool ready() const override { return isReady; }

    int loads = 0, enters = 0, updates = 0, renders = 0, leaves = 0;
    bool loadResult = true;
    int leaveSteps = 0;   // updates its leave transition takes
    bool isReady = true;  // what ready() answers
    int leaveLeft = 0;
    std::vector<std::string>* drawLog = nullptr;
    std::string name;
};

// An overlay whose showing flag the test sets.
class CrecordingOverlay : public CoverlaySlot {
public:
    bool showing() const override { return shown; }
    void show() override { shown = true; ++shows; }
    void update() override;
    void render() override;

    bool shown = false;
    int updates = 0, renders = 0, shows = 0;
    int lastKeySeen = -2;   // the engine's last key during its last update
    std::vector<std::string>* drawLog = nullptr;
    std::string name;
};
