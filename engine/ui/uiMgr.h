#pragma once
// CuiMgr: builds screens from layout files and widget templates, owns the
// shared styles, and holds the UI state of one update step (the input, the
// action taken, the button bar, text entry, tutorials, popups).
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/ui/buttonBar.h"
#include "engine/ui/loadingIndicator.h"
#include "engine/ui/popups.h"
#include "engine/ui/screen.h"
#include "engine/ui/spotEffects.h"
#include "engine/ui/textEntry.h"
#include "engine/ui/tutorials.h"
#include "engine/ui/uiStyles.h"

constexpr int UI_SOUND_MOVE = 1;

class CuiMgr {
public:
    // A layout is made for a 1280 x 720 screen: its layout pixels span the
    // screen's height, or its width on a screen narrower than 16:9 (4:3,
    // 16:10), so that nothing placed for 16:9 falls off the sides.
    static constexpr float kLayoutHeight = 720.0f;
    static constexpr float kLayoutWidth = 1280.0f;

    CuiMgr();
    ~CuiMgr();

    // Loads the shared styles ("uiStyles.txt") and templates ("uiTemplates.txt").
    bool init();
    // Builds a new screen from a layout file in "textFiles/layouts/". Null on failure.
    Cscreen* loadScreen(const std::string& fileName);
    // The same from text in memory (tools and tests).
    Cscreen* loadScreenFromText(const std::string& name, const char* text);
    // Loads a file's templates and styles without making a screen (template screens such as "popup").
    bool loadTemplates(const std::string& fileName);
    // A new widget made from a named template; null with "Can't find template: %s".
    CwidgetPtr createWidget(const std::string& templateName);
    const Cwidget* findTemplate(const std::string& templateName) const;
    // The names of every template loaded so far, shared and of layouts (for the layout check).
    std::vector<std::string> templateNames() const;
    const CbackgroundStyle* findBackgroundStyle(const std::string& styleName, bool report = true) const;
    const CshadowStyle* findShadowStyle(const std::string& styleName, bool report = true) const;
    // What the last loads could not resolve (templates, styles, string tags), for the data check.
    const std::vector<std::string>& problems() const { return problems_; }
    void clearProblems() { problems_.clear(); }

    // One update step.
    void beginStep(const CuiInput& in, float dt);
    const CuiInput& input() const { return input_; }
    float stepTime() const { return dt_; }
    // The action taken in this step through the button bar or the devices.
    int action() const { return action_; }
    void setAction(int a) { action_ = a; }
    // An overlay that took this step's presses: whatever is stepped after it
    // sees none (the pointer's place and held state stay).
    void swallowInput();
    // The keys down now answered a box or a question: their releases are
    // taken from the steps that follow until they come up.
    void holdUntilReleased();
    // True while a tutorial, text entry or a modal holds the input.
    bool inputHeld() const { return held_ || modalHold > 0; }
    void renderOverlays();

    // Pixels per layout pixel.
    float scale() const;
    // Re-reads texts that came from string-table tags (after a language change):
    // widgets, menu titles and the button bar; every text is measured again.
    void refreshTexts();
    void layoutAll();

    CbuttonBar buttonBar;
    CtextEntry textEntry;
    CloadingIndicator loadingIndicator;
    Ctutorials tutorials;
    CspotEffects spotEffects;
    Cpopups popups;
    int modalHold = 0;

    // Sound seams filled by the audio side: a sound slot, a named sound pack.
    std::function<void(int slot)> playSound;
    std::function<void(const char* pack)> playSoundPack;
    std::function<void()> onTutorialsChanged;
    // The rectangle play is drawn in, for screens laid out in it; unset, the whole screen.
    std::function<Crect()> playFrame;

private:
    bool parseFile(const std::string& fileName, Cscreen* into);
    void dropHeldReleases();
    std::vector<std::unique_ptr<Cscreen>> screens_;
    std::vector<CwidgetPtr> templates_;
    std::vector<std::unique_ptr<CbackgroundStyle>> backgrounds_;
    std::vector<std::unique_ptr<CshadowStyle>> shadows_;
    std::vector<std::string> problems_;
    CuiInput input_;
    float dt_ = 1.0f / 60.0f;
    int action_ = ACTION_NONE;
    // Actions whose key was down when a box or entry was put away: their
    // release belongs to that box, not to the screen underneath.
    std::array<bool, ACTION_COUNT> releaseHeld_{};
    bool held_ = false;

    friend class ClayoutReader;
};

// The engine's UI manager.
extern CuiMgr* gUi;
