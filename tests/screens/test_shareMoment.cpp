// The share-a-moment screen: the result over the picture, paging, sharing to
// a file, to Steam's screenshot library and as a tweet with the picture
// (against a Twitter stand-in on 127.0.0.1).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/steam/steamLocal.h"
#include "screens/screenRegistry.h"
#include "screens/shareMoment.h"
#include "screensFixture.h"
#include "support/fakeTwitter.h"

namespace fs = std::filesystem;

namespace {
struct CshareGame : CscreensGame {
    CrecordingScreen gameOver;
    CshareMomentScreen& screen = *screens::get<CshareMomentScreen>();
    CgameSession& s = gGame->world.session;
    std::string dir = gEngine->savePath("shareTest/");

    CshareGame() {
        gGame->setScreen(GM_GAME_OVER, &gameOver);
        fs::create_directories(dir + "pictures");
        s.gameType = GAMETYPE_STANDARD;
        s.difficulty = DIFFICULTY_HARD;
        s.track.title = "Up/Down";
        s.track.artist = "The *Band";
        s.teamScores[0] = 1234567;
        s.completion = 1.0f;
        gGame->setGameMode(GM_GAME_OVER);
        steps(2);
    }
    void addShots(int n) {
        std::vector<uint8_t> px(320 * 180 * 4, 200);
        for (int i = 0; i < n; ++i)
            gGame->autoShots.shots.push_back(
                {1, CtexturePtr(gEngine->textures.createFromPixels("shot" + std::to_string(i), px.data(), 320, 180))});
    }
    void openShare(int rank = -1, const std::string& comment = {}) {
        screen.open(GM_GAME_OVER, rank, comment);
        settle(100);
        ASSERT_EQ(mode(), GM_SHARE_MOMENT);
    }
    Cwidget* w(const char* name) { return screen.screen()->findWidget(name); }
    bool shows(const char* name) { return w(name)->shown(); }
    std::string text(const char* name) { return w(name)->getText("TextName"); }
    void dialogAnswers(const std::string& folder, bool cancel = false) {
        gEngine->platform.dialogProgram = dialogAnswering(dir, folder, cancel ? 1 : 0);
    }
    void share(const char* button, int stepsToEnd = 120) {
        click(w(button));
        steps(stepsToEnd);
    }
    std::vector<std::string> pictures() {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir + "pictures")) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

bool isPng(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    char sig[8] = {};
    f.read(sig, 8);
    return f && std::string(sig + 1, 3) == "PNG";
}
}  // namespace

TEST(ShareMoment, TextsTellAFinishedAFailedTrackAndEachGameType) {
    CshareGame g;
    ASSERT_TRUE(g.initOk());
    CgameSession& s = g.s;
    const std::string tail = std::string("\n#Zorbex2 \nGame Details: ") + CshareMomentScreen::kStorePage;
    const std::string hard = difficultyName(DIFFICULTY_HARD);
    EXPECT_EQ(CshareMomentScreen::tweetText(s),
              "I scored 1,234,567 playing 'Up/Down' by 'The *Band'   (" + hard + "). " + tail);
    s.completion = 0.97f;
    EXPECT_EQ(CshareMomentScreen::tweetText(s),
              "I crashed and burned playing 'Up/Down' by 'The *Band'   (" + hard + "). " + tail);
    EXPECT_EQ(CshareMomentScreen::titleText(s, "Up/Down - The *Band"), "Up/Down - The *Band  -  " + hard);

    s.gameType = GAMETYPE_BOSSRUSH;
    s.bossRushWave = 12;
    EXPECT_EQ(CshareMomentScreen::tweetText(s), "I reached wave 12 playing Boss Rush!" + tail);
    EXPECT_EQ(CshareMomentScreen::titleText(s, "x"), std::string(gEngine->text("BossRush")) + "  -  " +
                                                          gEngine->text("BossWaveLwr") + " 12");
    s.gameType = GAMETYPE_SURVIVAL;
    s.playTime = 3725.4;
    EXPECT_EQ(CshareMomentScreen::tweetText(s), "I lasted 01h 02m 05s playing Survival!" + tail);
}

TEST(ShareMoment, ResultOverThePictureAndPagingWrapsBothWays) {
    CshareGame g;
    ASSERT_TRUE(g.initOk());
    g.addShots(3);
    g.openShare(2, "New personal best!");
    EXPECT_EQ(g.text("Score"), "1,234,567");
    EXPECT_EQ(g.text("WorldRecordNumber"), "3rd");
    EXPECT_EQ(g.text("HighScoreComment"), "New personal best!");
    // The texts sit on the picture.
    const Crect p = g.screen.pictureRect();
    for (const char* name : {"Score", "playerName", "ScoreTitle", "WorldRecordNumber", "SongTitle"}) {
        Crect r = g.w(name)->rect();
        EXPECT_GE(r.x, p.x) << name;
        EXPECT_GE(r.y, p.y) << name;
        EXPECT_LE(r.bottom(), p.bottom()) << name;
    }

    g.click(g.w("SharePrev"));
    EXPECT_EQ(g.screen.shotIndex(), 2u);
    g.click(g.w("ShareNext"));
    EXPECT_EQ(g.screen.shotIndex(), 0u);

    // A later opening without a record shows none: never the last game's place.
    g.tapAction(ACTION_BACK);
    g.settle(100);
    EXPECT_EQ(g.mode(), GM_GAME_OVER);
    g.openShare();
    EXPECT_FALSE(g.shows("WorldRecordNumber"));
    EXPECT_FALSE(g.shows("HighScoreComment"));
    // Party games show neither a score nor a record.
    g.s.partyMode = true;
    g.tapAction(ACTION_BACK);
    g.settle(100);
    g.openShare(0);
    EXPECT_EQ(g.text("Score"), "");
    EXPECT_FALSE(g.shows("WorldRecordNumber"));
}

TEST(ShareMoment, WithoutShotsThereIsNothingToShareAndBackStillWorks) {
    CshareGame g;
    ASSERT_TRUE(g.initOk());
    g.openShare(4);
    for (const char* name : {"Tweet", "Steam", "SaveFile", "ShareNext", "SharePrev", "TwitterLogo"})
        EXPECT_FALSE(g.shows(name)) << name;
    EXPECT_EQ(g.text("Error"), gEngine->text("NoMoments"));
    g.click(g.w("Back"));
    g.settle(100);
    EXPECT_EQ(g.mode(), GM_GAME_OVER);
}

TEST(ShareMoment, SavesNumberedFilesAndReportsACancelOrAFailedWrite) {
    CshareGame g;
    ASSERT_TRUE(g.initOk());
    g.addShots(1);
    g.openShare();
    const std::string folder = g.dir + "pictures";
    g.dialogAnswers(folder);
    g.click(g.w("SaveFile"));
    EXPECT_FALSE(g.shows("SaveFile"));   // out of the picture while it is taken
    g.steps(120);
    ASSERT_EQ(g.pictures(), (std::vector<std::string>{"ZRB-Up-Down-The -Band.png"}));
    EXPECT_TRUE(isPng(folder + "/ZRB-Up-Down-The -Band.png"));

    g.share("SaveFile");
    g.share("SaveFile");
    EXPECT_EQ(g.pictures(), (std::vector<std::string>{"ZRB-Up-Down-The -Band-1.png", "ZRB-Up-Down-The -Band-2.png",
                                                      "ZRB-Up-Down-The -Band.png"}));

    // Cancelled: nothing is written anywhere, the buttons come back.
    g.dialogAnswers("", true);
    g.share("SaveFile");
    EXPECT_EQ(g.pictures().size(), 3u);
    EXPECT_FALSE(g.shows("Error"));

    // A folder that can't be written to: a failure, said as one.
    g.dialogAnswers(g.dir + "gone/away");
    g.share("SaveFile");
    EXPECT_EQ(g.text("Error"), gEngine->text("MomentSaveFailed"));

    // Boss Rush pictures share one name across tracks.
    g.s.gameType = GAMETYPE_BOSSRUSH;
    g.dialogAnswers(folder);
    g.share("SaveFile");
    EXPECT_TRUE(fs::exists(folder + "/ZRB-BossRush.png"));
}

TEST(ShareMoment, SteamTakesTheFrameIntoItsLibraryAndBackWaitsForIt) {
    CshareGame g;
    ASSERT_TRUE(g.initOk());
    if (!SteamScreenshots()) ASSERT_TRUE(SteamAPI_Init());
    g.addShots(2);
    g.openShare();
    const size_t before = steamLocal::screenshotFiles().size();
    const int triggered = steamLocal::counters().screenshots;

    // Back while the screenshot is being taken: the share ends first.
    g.click(g.w("Steam"));
    EXPECT_FALSE(g.shows("Back"));
    g.tapAction(ACTION_BACK);
    g.steps(10);
    EXPECT_EQ(g.mode(), GM_SHARE_MOMENT);
    g.settle(150);
    EXPECT_EQ(g.mode(), GM_GAME_OVER);
    EXPECT_EQ(steamLocal::counters().screenshots, triggered + 1);
    auto files = steamLocal::screenshotFiles();
    ASSERT_EQ(files.size(), before + 1);
    EXPECT_TRUE(isPng(files.back()));

    // Steam not there: a failure, not a success.
    g.openShare();
    steamLocal::faults().missingInterfaces.push_back(kSteamScreenshotsVersion);
    steamLocal::interfacesChanged();
    g.share("Steam");
    EXPECT_EQ(g.text("Error"), gEngine->text("SteamShareFailed"));
    EXPECT_EQ(steamLocal::screenshotFiles().size(), before + 1);
    steamLocal::faults().missingInterfaces.clear();
    steamLocal::interfacesChanged();
}

TEST(ShareMoment, TweetsThePictureOrLinksTheAccountFirst) {
    CshareGame g;
    ASSERT_TRUE(g.initOk());
    CfakeTwitter server;
    Ctwitter& t = gEngine->twitter;
    server.serve(t);
    g.addShots(1);
    g.openShare();

    // Not linked: the Twitter screen, whose Back comes here again.
    g.click(g.w("Tweet"));
    g.settle(100);
    ASSERT_EQ(g.mode(), GM_OPTIONS_TWITTER);
    EXPECT_TRUE(server.requests().empty());
    ASSERT_TRUE(t.openAuthorisePage());
    ASSERT_TRUE(t.authorisePin("7654321"));
    g.tapAction(ACTION_BACK);
    g.settle(100);
    ASSERT_EQ(g.mode(), GM_SHARE_MOMENT);

    const size_t before = server.requests().size();
    g.share("Tweet", 10);
    auto reqs = server.requests();
    ASSERT_EQ(reqs.size(), before + 2);
    EXPECT_EQ(reqs[before].path, "/1.1/media/upload.json");
    EXPECT_NE(reqs[before].body.find("PNG"), std::string::npos);
    EXPECT_EQ(reqs[before + 1].path, "/1.1/statuses/update.json");
    EXPECT_NE(reqs[before + 1].body.find("status=I%20scored%201%2C234%2C567%20playing"), std::string::npos)
        << reqs[before + 1].body;
    EXPECT_FALSE(g.shows("Error"));
    EXPECT_TRUE(server.problems().empty()) << server.problems()[0];

    server.setStatusReply(403, kDuplicate);
    g.share("Tweet", 10);
    EXPECT_NE(g.text("Error").find("Status is a duplicate."), std::string::npos) << g.text("Error");
    EXPECT_TRUE(g.shows("Tweet"));
}
