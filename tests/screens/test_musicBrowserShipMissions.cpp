#include <gtest/gtest.h>

#include "screens/musicBrowserShipMissions.h"
#include "screens/screenRegistry.h"
#include "screens/shipMissionPanel.h"
#include "screensFixture.h"

namespace {
CshipMission titleMission(const char* part, uint32_t difficulty = 0) {
    CshipMission m;
    m.type = MissionType_CompleteTrack;
    m.name = "Roads";
    m.condition = TrackCondition_TitleContains;
    m.conditionText = part;
    m.difficulty = difficulty;
    return m;
}

struct CshipMissionsFixture {
    CscreensGame g;
    CrecordingScreen hangar, settings, countdown;
    int settingsSaved = 0;

    CshipMissionsFixture() {
        if (!g.initOk()) return;
        g->setScreen(GM_HANGAR, &hangar);
        g->setScreen(GM_GAME_SETTINGS, &settings);
        g->setScreen(GM_321_GO, &countdown);
        g->saveSettings = [this] { ++settingsSaved; };
        CsongInfoMgr& lib = g->songLibrary;
        lib.clearLocalTracks();
        auto add = [&](const char* title, float length) {
            CtrackTags t;
            t.title = title;
            t.album = "Maps";
            t.artist = "Atlas";
            t.length = length;
            lib.addLocalTrack(SONG_LOCAL, t, std::string("/music/") + title + ".ogg");
        };
        add("Zebra road", 200);
        add("Road to Rio", 180);
        add("Nothing here", 240);
        add("apple ROAD", 150);
    }
    CmusicBrowserShipMissionsScreen& screen() { return *screens::get<CmusicBrowserShipMissionsScreen>(); }
    Cmenu* menu() { return screen().screen()->findMenu("TrackMenu"); }
    void open(const CshipMission& m) {
        screen().open(0, m);
        g.steps(90);   // the fade, also from this state to itself
        waitFor(GM_MUSIC_BROWSER_SHIP_MISSIONS);
        g.settle();
    }
    bool waitFor(int mode) { return waitForMode(g, mode); }
    std::vector<std::string> titles() {
        std::vector<std::string> out;
        for (size_t i = 0; i < menu()->itemCount(); ++i)
            if (!menu()->item(i)->attachToPrevious) out.push_back(menu()->item(i)->getText("Title1"));
        return out;
    }
};
}  // namespace

// The tracks that meet the mission by title are listed; Use Now Playing
// goes to the settings, or with a fixed difficulty straight to the countdown.
TEST(ShipMissionTracks, ListsTheTracksThatMeetTheMissionAndUseNowPlayingGoesOn) {
    CshipMissionsFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.open(titleMission("road"));
    ASSERT_EQ(f.g.mode(), GM_MUSIC_BROWSER_SHIP_MISSIONS);
    EXPECT_EQ(f.titles(), (std::vector<std::string>{"apple ROAD", "Road to Rio", "Zebra road"}));

    CshipMission longer = titleMission("road");
    longer.minTrackLength = 170;
    f.open(longer);
    EXPECT_EQ(f.titles(), (std::vector<std::string>{"Road to Rio", "Zebra road"}));

    // A track that goes from the library while listed is skipped, not followed.
    f.g->songLibrary.clearLocalTracks();
    f.g.steps(5);
    EXPECT_EQ(f.g.mode(), GM_MUSIC_BROWSER_SHIP_MISSIONS);

    const int saved = f.settingsSaved;
    f.g.tapAction(ACTION_BACK);
    EXPECT_TRUE(f.waitFor(GM_HANGAR));
    EXPECT_GT(f.settingsSaved, saved);

    CshipMissionPanel& panel = *screens::get<CshipMissionPanel>();
    // No track meets it: an empty list, and the playing track is still taken.
    f.open(titleMission("no such title"));
    EXPECT_EQ(f.menu()->itemCount(), 0u);
    EXPECT_FALSE(panel.shown());
    f.g.tapAction(ACTION_OPTION_X);
    EXPECT_TRUE(f.waitFor(GM_GAME_SETTINGS));
    EXPECT_TRUE(panel.shown());
    EXPECT_EQ(f.countdown.enters, 0);

    // A fixed difficulty goes straight to the countdown at that difficulty;
    // a radio station plays for five minutes.
    CradioStation station;
    station.name = "Test FM";
    station.station = "http://127.0.0.1:1/stream";
    f.g->music.currentTrack = f.g->songLibrary.addRadioStation(station);
    f.open(titleMission("road", DIFFICULTY_HARD));
    EXPECT_FALSE(panel.shown());   // hidden while the tracks are listed
    f.g.tapAction(ACTION_OPTION_X);
    EXPECT_TRUE(f.waitFor(GM_321_GO));
    EXPECT_EQ(f.g->world.session.difficulty, (int)DIFFICULTY_HARD);
    EXPECT_DOUBLE_EQ(f.g->world.session.chosenTrackTime, 300.0);
    f.g->music.currentTrack = nullptr;
}

