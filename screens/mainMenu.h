#pragma once
// CmainMenuScreen ("mainMenu.txt", or "mainMenu_NoK4W.txt" with the web
// service off): the hub every front-end screen returns to. The current ship
// flies above its figures, the buttons lead to the other screens, one-off
// notices and the e-mail offer show here, and the visualiser view hides the
// menu so that only the ship and the music visuals remain.
#include <cstdint>
#include <string>
#include <vector>

#include "screens/layoutScreen.h"

class Cscreen;
class Cwidget;
class Cship;

class CmainMenuScreen : public ClayoutScreen {
public:
    // The menu's buttons and where each leads (-1: handled in code).
    struct Croute {
        const char* name;
        int state;
    };
    static const Croute kRoutes[];
    static constexpr size_t kNumRoutes = 21;

    CmainMenuScreen();
    // Loads the layout for the web-service switch as it stands; again when it changed.
    bool load() override;
    void update() override;
    void render() override;

    // Hides or brings back the whole menu.
    void toggleVisualiser();
    bool inVisualiser() const { return visualiser_; }
    void updateStatsPanel();
    void spawnShowcaseShip();

    Cwidget* button(const std::string& name) const;
    bool webLayout() const { return webLayout_; }
    Cship* showcaseShip() const { return ship_; }
    uint64_t xpLastSubmitted() const { return xpSubmitted_; }

    // The widgets that only mean something with the web service.
    static const char* const kOnlineWidgets[8];

private:
    bool onLoaded() override;
    void onEnter() override;
    bool pressButton(Cwidget* w, const char* name);
    void quickPlay();
    void startChallenge(bool lightning);
    void showEmailOffer();
    void handleEmailAnswer();
    void checkNotices();
    void submitXp();
    void reportOnce();
    void hideOnlineWidgets();
    // Whether a tile leads to something that needs the web service.
    static bool needsService(const std::string& name);
    void placeShowcaseShip();
    bool leaveVisualiserRequested();

    static const CwidgetBinding kBindings[];
    bool webLayout_ = true;
    std::vector<Cwidget*> buttons_;   // in kRoutes order; null when the layout lacks one
    Cwidget* shipName_ = nullptr;
    Cwidget* shipScore_ = nullptr;
    Cwidget* tracksCompleted_ = nullptr;
    Cwidget* timePlayed_ = nullptr;
    Cwidget* rank_ = nullptr;
    Cwidget* manu_ = nullptr;
    Cwidget* globalDiscoveries_ = nullptr;
    Cwidget* globalTimePlayed_ = nullptr;
    Cwidget* globalTracksCleared_ = nullptr;
    Cwidget* star1_ = nullptr;
    Cwidget* star2_ = nullptr;
    Cwidget* star3_ = nullptr;
    Cwidget* star4_ = nullptr;
    Cwidget* stars_[4] = {};
    Cwidget* logo_ = nullptr;
    Cwidget* visLogo_ = nullptr;
    Cwidget* wipIcon_ = nullptr;
    Cwidget* shipSpot_ = nullptr;
    Cship* ship_ = nullptr;

    bool emailPromptShowing_ = false;
    bool noticesArmed_ = false;
    bool emailPromptPending_ = false;
    bool reportedThisRun_ = false;
    bool visualiser_ = false;
    std::string focusName_ = "Play";   // the button with the keys' focus, kept for the player's return
    bool visualiserReleaseArmed_ = false;
    float visMouseX_ = 0, visMouseY_ = 0;

    // Kept for the whole run.
    float noticeDelay_ = 1.5f;
    bool emailFirstVisit_ = true;
    bool musicBarFirstVisit_ = true;
    uint64_t xpSubmitted_ = 0;
};

// The panel's texts, for the menu and its tests.
std::string statsXpText(uint64_t xp);
std::string statsRankText(uint64_t xp);
std::string statsTimeText(float seconds);
std::string statsTracksText(int count);
