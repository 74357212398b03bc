#pragma once
// The ship-mission track browser ("MusicBrowserShipMissions.txt", state
// MusicBrowserShipMissions): the library tracks that meet the track condition
// of the mission being started, in one list sorted by title. A row plays its
// track; "UseNowPlaying" takes the playing track into the mission's game
// (straight to the countdown when the mission fixes the difficulty); "BACK"
// returns to the hangar.
//
// The list is kept as track keys and looked up in the library whenever it is
// used, so a library that changes meanwhile never leaves a row pointing at a
// track that has gone.
#include <string>
#include <vector>

#include "game/progress/shipMission.h"
#include "screens/layoutScreen.h"
#include "screens/listRows.h"

class CsongPackInfo;

class CmusicBrowserShipMissionsScreen : public ClayoutScreen {
public:
    CmusicBrowserShipMissionsScreen();

    // From the hangar: the mission (the ship's mission of this index) and the state.
    void open(int missionIndex, const CshipMission& mission);

    const std::vector<std::string>& trackKeys() const { return keys_; }
    const CshipMission& mission() const { return mission_; }

private:
    void onEnter() override;
    void onUpdate() override;
    void rebuild();
    void addButtons();
    void useNowPlaying();
    bool pressRow(Cwidget* row);
    void letterJump();
    const CsongPackInfo* entryOfValue(int64_t value) const;

    static const CwidgetBinding kBindings[];
    Cmenu* trackMenu_ = nullptr;
    Cwidget* keyLocal_ = nullptr;
    Cwidget* keyOpenMic_ = nullptr;
    Cwidget* keyLocalSprite_ = nullptr;
    Cwidget* keyOpenMicSprite_ = nullptr;
    Cwidget* shipSprite_ = nullptr;
    Cwidget* shipCross_ = nullptr;
    Cwidget* shipText_ = nullptr;

    CshipMission mission_;
    int missionIndex_ = 0;
    std::vector<std::string> keys_;   // the listed tracks, by row value
    bool keepOnReturn_ = false;
    CtrackBoardRequests boardRequests_;
};
