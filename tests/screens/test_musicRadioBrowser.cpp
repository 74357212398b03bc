#include <gtest/gtest.h>

#include "screens/musicRadioBrowser.h"
#include "screens/screenRegistry.h"
#include "screensFixture.h"
#include "support/localHttpServer.h"

namespace {
const char* kTop =
    "<?xml version=\"1.0\"?><stationlist><tunein base=\"/sbin/tunein-station.pls\"/>"
    "<station name=\"Hits One\" id=\"1\" br=\"128\" genre=\"Pop\" lc=\"50\"/>"
    "<station name=\"Noise FM\" id=\"2\" br=\"64\" genre=\"Pop\" lc=\"5\"/></stationlist>";
const char* kPrimary =
    "<?xml version=\"1.0\"?><response><data><genrelist><genre name=\"Alternative\" id=\"1\"/>"
    "<genre name=\"Blues\" id=\"24\"/></genrelist></data></response>";
const char* kSecondary =
    "<?xml version=\"1.0\"?><response><data><genrelist><genre name=\"Britpop\" id=\"3\"/></genrelist></data></response>";
const char* kByGenre =
    "<?xml version=\"1.0\"?><response><data><stationlist><tunein base=\"/sbin/tunein-station.pls\"/>"
    "<station name=\"Indie Now\" id=\"7\" br=\"192\" genre=\"Alternative\" lc=\"9\"/></stationlist></data></response>";

struct CradioFixture {
    CscreensGame g;
    CrecordingScreen typeList, gameType, settings;
    ClocalHttpServer directory{[](const ChttpRequest& req) {
        ChttpResponse r;
        r.contentType = "text/xml";
        if (req.path.rfind("/legacy/Top500", 0) == 0) r.body = kTop;
        else if (req.path.rfind("/genre/primary", 0) == 0) r.body = kPrimary;
        else if (req.path.rfind("/genre/secondary", 0) == 0) r.body = kSecondary;
        else if (req.path.rfind("/station/advancedsearch", 0) == 0) r.body = kByGenre;
        else {   // every station's stream: not audio
            r.contentType = "audio/mpeg";
            r.body = std::string(4096, 'x');
        }
        return r;
    }};
    CmusicRadioBrowserScreen* screen = nullptr;

    explicit CradioFixture(bool fromGameType = false) {
        if (!g.initOk()) return;
        g->radio.host = directory.hostPort();
        g->radio.tuneInHost = "";
        g->radio.key = "k";
        g->setScreen(GM_MUSIC_TYPE_LIST, &typeList);
        g->setScreen(GM_GAME_TYPE, &gameType);
        g->setScreen(GM_GAME_SETTINGS, &settings);
        screen = screens::get<CmusicRadioBrowserScreen>();
        screen->open(fromGameType ? MUSIC_FROM_GAME_TYPE : MUSIC_FROM_TYPE_LIST);
        g.settle(120);   // through the fade
        waitForList();
    }
    Cmenu* menu() { return screen->screen()->findMenu("Menu"); }
    Cwidget* widget(const char* name) { return screen->screen()->findWidget(name); }
    void waitForList() {
        EXPECT_TRUE(g.stepUntil([] { return !gEngine->ui.loadingIndicator.showing; })) << "no list";
    }
    std::vector<std::string> titles() {
        std::vector<std::string> out;
        for (size_t i = 0; i < menu()->itemCount(); ++i)
            if (!menu()->item(i)->attachToPrevious) out.push_back(menu()->item(i)->getText("Title1"));
        return out;
    }
    Cwidget* row(const std::string& title) {
        for (size_t i = 0; i < menu()->itemCount(); ++i)
            if (!menu()->item(i)->attachToPrevious && menu()->item(i)->getText("Title1") == title) return menu()->item(i);
        return nullptr;
    }
    void press(Cwidget* w) {
        ASSERT_NE(w, nullptr);
        g.click(w);
        waitForList();
    }
};
}  // namespace

TEST(RadioBrowser, StationsPlayHeartsKeepThemAndGenresClimbBackOneLevelAtATime) {
    CradioFixture f;
    ASSERT_TRUE(f.g.initOk());
    EXPECT_EQ(f.titles(), (std::vector<std::string>{"Hits One", "Noise FM"}));
    // Opened from the music list there is no game to take the station to.
    for (const auto& b : gEngine->ui.buttonBar.buttons()) EXPECT_NE(b.action, ACTION_OPTION_X);

    // A station that can't be decoded says so in a popup.
    f.press(f.row("Noise FM"));
    ASSERT_NE(f.g->music.currentTrack, nullptr);
    EXPECT_EQ(f.g->music.currentTrack->tags.title, "Noise FM");
    ASSERT_TRUE(f.g.stepUntil([&] { return f.g.logPrefix("Station failed: Noise FM"); }));
    f.g.steps(2);
    EXPECT_GT(gEngine->ui.spotEffects.count(), 0u);   // the message popup

    // A heart adds the station to the library and its favourites.
    Cwidget* hits = f.row("Hits One");
    ASSERT_NE(hits, nullptr);
    const std::string url = f.g->radio.stations[(size_t)hits->value].station;
    Cwidget* heart = nullptr;
    for (size_t i = 0; i < f.menu()->itemCount(); ++i)
        if (Cwidget* w = f.menu()->item(i); w->attachToPrevious && w->floatValue == 1.0f && w->value == hits->value) heart = w;
    f.press(heart);
    ASSERT_NE(f.g->songLibrary.findByUrl(url), nullptr);
    EXPECT_TRUE(f.g->songLibrary.findByUrl(url)->favourite);
    f.press(f.widget("Favourites"));
    EXPECT_EQ(f.titles(), std::vector<std::string>{"Hits One"});

    // Genres climb back one level at a time, with the tabs put away meanwhile.
    f.press(f.widget("Genre"));
    EXPECT_EQ(f.titles(), (std::vector<std::string>{"Alternative", "Blues"}));
    f.press(f.row("Alternative"));
    EXPECT_EQ(f.titles(), (std::vector<std::string>{"Britpop", "Indie Now"}));

    // Inside a genre the tabs are put away: a click where one was does nothing.
    f.g.settle();
    const Cwidget* top = f.widget("TopStations");
    EXPECT_FALSE(top->visible());
    f.g.clickAt(top->x, top->y);
    EXPECT_FALSE(gEngine->ui.loadingIndicator.showing);
    EXPECT_EQ(f.titles(), (std::vector<std::string>{"Britpop", "Indie Now"}));

    f.g.tapAction(ACTION_BACK);
    f.waitForList();
    EXPECT_EQ(f.titles(), (std::vector<std::string>{"Alternative", "Blues"}));
    f.g.settle();
    EXPECT_TRUE(f.widget("Genre")->visible());
    f.g.tapAction(ACTION_BACK);
    f.g.steps(80);
    EXPECT_EQ(f.g.mode(), GM_MUSIC_TYPE_LIST);
}
