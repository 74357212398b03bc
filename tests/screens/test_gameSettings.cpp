#include <gtest/gtest.h>

#include <ctime>

#include "game/gameTypes.h"
#include "screens/gameSettings.h"
#include "screens/openMicError.h"
#include "screens/screenRegistry.h"
#include "trackRoad.h"

namespace {
struct CsettingsFixture : CtrackRoad {
    CgameSettingsScreen* screen = nullptr;
    CrecordingScreen countdown;
    std::vector<std::string> opened;
    CcaptureFake capture;   // one desktop source to listen to
    CsettingsFixture() {
        if (!g.initOk()) return;
        CaudioDeviceInfo desktop;
        desktop.id = 0;
        desktop.name = "Monitor of Speakers";
        desktop.isDefault = true;
        capture.devices = {desktop};
        CaudioCapture::setFake(&capture);
        g->setScreen(GM_321_GO, &countdown);
        g->world.session.gameType = GAMETYPE_STANDARD;
        g->world.session.musicSource = MUSIC_RANDOM;
        screen = screens::get<CgameSettingsScreen>();
        screen->openLink = [this](const std::string& url) {
            opened.push_back(url);
            return true;
        };
    }
    ~CsettingsFixture() { CaudioCapture::setFake(nullptr); }
    void open() { enter(GM_GAME_SETTINGS); }
    void startChallenge(char linkKind, const std::string& linkId) {
        CchallengeMgr& c = g->online.dailyChallenge;
        c.state = CHALL_READY;
        c.challenge.endTime = (int64_t)time(nullptr) + 3600;
        c.challenge.difficultyCap = c.challenge.difficulty = 6;
        c.challenge.duration = 200;
        c.challenge.linkKind = linkKind;
        c.challenge.linkId = linkId;
        c.select();
    }
};
}  // namespace

// A locked difficulty is refused and never becomes the default; OK on an
// open one keeps the choice as the default and starts the countdown.
TEST(GameSettings, OkKeepsAnOpenChoiceAsDefaultAndStartsTheCountdown) {
    CsettingsFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.g->saveLoad.settings.defDifficulty = 1;
    f.open();
    f.screen->difficulty()->setSelectedIdx(DIFFICULTY_ZEN);
    f.press(ACTION_SELECT);
    EXPECT_EQ(f.g.mode(), GM_GAME_SETTINGS);
    EXPECT_TRUE(f.played(7));
    EXPECT_EQ(f.g->saveLoad.settings.defDifficulty, 1);
    EXPECT_EQ(f.countdown.enters, 0);

    f.screen->difficulty()->setSelectedIdx(2);
    f.screen->visualIntensity()->setSelectedIdx(3);
    f.press(ACTION_SELECT);
    EXPECT_EQ(f.g.mode(), GM_321_GO);
    EXPECT_EQ(f.g->saveLoad.settings.defDifficulty, 2);
    EXPECT_FLOAT_EQ(f.g->saveLoad.settings.visIntensity, 2.0f);
    EXPECT_EQ(f.g->world.session.difficulty, 2);
    EXPECT_FLOAT_EQ(f.g->world.session.visualIntensity, 2.0f);
    EXPECT_EQ(f.g->world.session.startMusic, 0);
    EXPECT_EQ(f.g->world.session.track.title, "Road Test");
}

// A link is made only of a known kind and an id that no shell or address reads twice.
TEST(GameSettings, ChallengeLinksTakeOnlySafeIds) {
    EXPECT_EQ(CgameSettingsScreen::challengeLink('X', "abc"), "");
    for (const char* bad : {"", "a b", "a;rm -rf", "x&y=1", "a/../b", "$(id)", "\xc3\xa9t\xc3\xa9"})
        EXPECT_EQ(CgameSettingsScreen::challengeLink('Y', bad), "") << bad;
}

// A challenge opens its track's page (a safe id only) and listens on open
// mic; with nothing to hear the attempt through, the open-mic error says so
// before any countdown and the player is back on the challenge.
TEST(GameSettings, AChallengeOpensItsTrackAndListensOnOpenMic) {
    const struct {
        char linkKind;
        const char* linkId;
        bool canHear;
        const char* opened;   // "" for no page
    } cases[] = {
        {'Y', "abc_DEF-123", true, "https://www.youtube.com/watch?v=abc_DEF-123&autoplay=1"},
        {'S', "id;xdg-open evil", true, ""},
        {0, "", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.linkId);
        CsettingsFixture f;
        ASSERT_TRUE(f.g.initOk());
        if (!c.canHear) f.capture.devices.clear();
        f.startChallenge(c.linkKind, c.linkId);
        f.open();
        EXPECT_TRUE(f.screen->difficulty()->shown());
        f.screen->difficulty()->setSelectedIdx(2);
        f.press(ACTION_SELECT);
        EXPECT_EQ(f.opened, std::string(c.opened).empty() ? std::vector<std::string>{}
                                                          : std::vector<std::string>{c.opened});
        EXPECT_EQ(f.g->online.dailyChallenge.challenge.started, c.canHear);
        EXPECT_EQ(screens::get<CopenMicErrorScreen>()->showing(), !c.canHear);
        if (!c.canHear) {
            EXPECT_EQ(f.countdown.enters, 0);
            EXPECT_EQ(f.g.mode(), GM_DAILY_CHALLENGE_L);
            continue;
        }
        EXPECT_TRUE(f.played(6));
        EXPECT_EQ(f.g->world.session.difficulty, 2);
        EXPECT_EQ(f.g->world.session.startMusic, 1);
        EXPECT_EQ(f.g->world.session.waitingForSilence, 1);
        EXPECT_EQ(f.g->world.session.chosenTrackTime, 200.0);   // the attempt lasts the challenge's track
        EXPECT_EQ(f.g.mode(), GM_321_GO);
        if (c.linkKind == 'S') EXPECT_TRUE(f.g.logHas("Refused challenge link id: id;xdg-open evil"));
    }
}
