#pragma once
// CloadingScreen: the Loading state. Its enter runs the rest of the resource
// loading on the main thread; every loader calls tick() (through the engine's
// load-step hook), which pumps window events and redraws the logo, the
// progress bar and the warnings straight through the renderer, at most 120
// times a second. When loading is done it starts a random track and asks for
// the title screen.
#include <cstdint>
#include <functional>
#include <string>

#include "screens/layoutScreen.h"

class Csprite;

class CloadingScreen : public ClayoutScreen {
public:
    static constexpr double kRedrawMs = 1000.0 / 120.0;
    static constexpr float kFadeStep = 0.013f;
    static constexpr float kFadeToLeave = 1.5f;   // about 116 redraws: the logo's minimum time
    static constexpr int kExpectedSteps = 318;
    static constexpr float kBarWidth = 530.0f, kBarHeight = 25.0f;
    static constexpr float kBarBelowCentre = 150.0f, kLogoAboveCentre = 100.0f;
    // Set (to a PNG path) by tests: the first redraw with the logo fully in
    // is also saved there, once.
    static constexpr const char* kShotEnv = "ZORBEX_TEST_LOADING_SHOT";

    CloadingScreen();

    // The redraw step; does nothing unless loading is under way.
    void tick();

    // Real time in ms; SDL's performance counter unless a test drives it.
    std::function<double()> clock;

    int loadCount = 0;
    bool active = false;
    float fade = 0;
    uint64_t redraws = 0;

    // The bar's fill, 0..1, for the steps loaded so far.
    float barFill() const;

private:
    bool onLoaded() override;
    void onEnter() override;
    void findSprites();
    void draw();
    void saveShotOnce();

    Csprite* logo_ = nullptr;
    Csprite* barBack_ = nullptr;
    Csprite* barFillSprite_ = nullptr;
    Csprite* layers_[4] = {};
    double lastRedraw_ = 0;
    bool drawnOnce_ = false;
    std::string shotPath_;
    bool shotTaken_ = false;
};
