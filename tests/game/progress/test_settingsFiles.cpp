#include <gtest/gtest.h>

#include <filesystem>

#include "engine/resourceFile.h"
#include "engine/webMessage.h"
#include "game/progress/saveLoad.h"
#include "support/testEngine.h"

namespace {

struct Cworld {
    CplayerProgress progress;
    CplayerShipMgr ships;
    CachievementDefs ach;
    CtrackStats tracks;
    CsaveLoad save{progress, ships, ach, tracks};
};

bool fileThere(const std::string& name) { return fileExistsW(gEngine->savePath(name)); }

CactionBinding keyBinding(int action, int key) { return CactionBinding::forKey(action, key); }
CinputMappings& mappings() { return gEngine->input.mappings; }

}  // namespace

TEST(Settings, RoundTripWithNamedRecords) {
    CtestEngine eng;
    Cbytes stream;
    {
        Cworld w;
        Csettings& s = w.save.settings;
        s.musicVolume = 0.3f;
        s.autoShots = false;
        s.email = "pilot@example.org";
        s.stickType = 1;
        s.fixedX = -10;
        s.language = 13;
        s.width = 2560;
        s.borderless = true;
        s.captureSource = 2;
        s.micDevice = "Mic \xC3\xA9";
        s.defDifficulty = 4;
        s.visIntensity = 2.5f;
        s.currentFolder = "/home/pilot/Music/\xE6\x97\xA5\xE6\x9C\xAC";
        s.markTutorialSeen("Tut_Intro1");
        s.markTutorialSeen("Tut_ShipHangar3");
        s.notices.add(4, 0x1234567890ull);
        ASSERT_TRUE(mappings().store({"Keyboard", {keyBinding(3, 26)}}));
        ASSERT_TRUE(w.save.saveSettings());
        stream = w.save.settingsFile().serialise();
    }
    mappings().rows.clear();
    // Loaded and written again, every value comes out as it went in.
    Cworld w;
    ASSERT_TRUE(w.save.loadSettings());
    EXPECT_EQ(w.save.settingsFile().serialise(), stream);
    const Csettings& s = w.save.settings;
    EXPECT_EQ(s.defDifficulty, 4);
    EXPECT_TRUE(s.isTutorialSeen("tut_intro1"));
    EXPECT_FALSE(s.isTutorialSeen("Tut_Intro2"));
    EXPECT_TRUE(w.save.isInputMappingKnown("keyboard"));
}

TEST(Settings, ValuesFromTheFileAreRangeChecked) {
    CtestEngine eng;
    {
        Cworld w;
        Csettings& s = w.save.settings;
        s.musicVolume = 7.0f;
        s.sfxVolume = std::nanf("");
        s.stickSize = 0;
        s.language = 17;
        s.width = -5;
        s.defDifficulty = 7;
        s.desktopDeviceId = -5;
        s.fullScreen = s.borderless = true;
        ASSERT_TRUE(w.save.saveSettings());
    }
    Cworld w;
    ASSERT_TRUE(w.save.loadSettings());
    const Csettings& s = w.save.settings;
    EXPECT_FLOAT_EQ(s.musicVolume, 0.8f);
    EXPECT_FLOAT_EQ(s.sfxVolume, 0.8f);
    EXPECT_EQ(s.stickSize, 5);
    EXPECT_EQ(s.width, 1280);
    EXPECT_EQ(s.defDifficulty, 1);
    EXPECT_EQ(s.desktopDeviceId, -999);
    EXPECT_FALSE(s.fullScreen && s.borderless);
    EXPECT_TRUE(gEngine->log.contains("Stored value out of range: language = 17 (using 0)"));
}

TEST(Settings, CorruptFileIsKeptAsideAndDefaultsUsed) {
    CtestEngine eng;
    {
        Cworld w;
        w.save.settings.language = 5;
        ASSERT_TRUE(w.save.saveSettings());
    }
    Cbytes raw;
    ASSERT_TRUE(CresourceFile::readWholeFile(gEngine->savePath("settings2"), raw));
    raw.resize(raw.size() - 3);
    ASSERT_TRUE(CresourceFile::writeFileAtomic(gEngine->savePath("settings2"), raw.data(), raw.size()));
    Cworld w;
    w.save.settings.language = 3;
    EXPECT_FALSE(w.save.loadSettings());
    EXPECT_EQ(w.save.settings.language, 0);
    EXPECT_TRUE(fileThere("settings2.bad"));
    EXPECT_FALSE(fileThere("settings2"));
}

TEST(Settings, ControllerMappings) {
    CtestEngine eng;
    Cworld w;
    EXPECT_FALSE(w.save.applyInputMapping("Keyboard"));
    CactionBinding axis = CactionBinding::forAxis(18, 0, true);
    ASSERT_TRUE(mappings().store({"Xbox Wireless Controller", {axis}}));
    EXPECT_TRUE(w.save.isInputMappingKnown("XBOX wireless controller"));
    EXPECT_TRUE(w.save.applyInputMapping("Xbox Wireless Controller", 2));
    EXPECT_EQ(gEngine->input.player(2)->bindings.back(), axis);
    EXPECT_FALSE(w.save.applyInputMapping("Xbox Wireless Controller", 4));

    // 25 rows in all, 56 bindings a row.
    ASSERT_TRUE(mappings().store({"Keyboard", {keyBinding(5, 4)}}));
    for (int i = 0; i < 23; ++i) ASSERT_TRUE(mappings().store({"Pad " + std::to_string(i), {axis}}));
    EXPECT_FALSE(mappings().store({"One Too Many", {axis}}));
    std::vector<CactionBinding> full;
    for (int i = 0; i < 56; ++i) full.push_back(keyBinding(3, i));
    ASSERT_TRUE(mappings().store({"Keyboard", full}));
    full.push_back(keyBinding(3, 99));
    EXPECT_FALSE(mappings().store({"Keyboard", full}));

    w.save.clearInputMappings();
    EXPECT_FALSE(w.save.isInputMappingKnown("Xbox Wireless Controller"));
    full.pop_back();
    ASSERT_TRUE(mappings().store({"Keyboard", full}));
    EXPECT_TRUE(mappings().store({"Pad 3", {axis}}));

    // Stored rows are 3268 bytes; a damaged row is emptied, the others stand.
    Cbytes out;
    Csettings::writeMappings(mappings(), out);
    ASSERT_EQ(out.size(), 25u * 3268u);
    ASSERT_EQ(mappings().rows[1].name, "Pad 3");
    std::vector<CinputMapping> staged;
    putU32(&out[3268 + 128], 57);
    ASSERT_TRUE(Csettings::readMappings(out.data(), out.size(), staged));
    ASSERT_EQ(staged.size(), 1u);
    EXPECT_EQ(staged[0].name, "Keyboard");
    EXPECT_EQ(staged[0].bindings.size(), 56u);
    EXPECT_FALSE(Csettings::readMappings(out.data(), out.size() - 1, staged));
}

TEST(LoginData, RoundTripMissingAndCorrupt) {
    CtestEngine eng;
    CloginData in;
    in.name = "pilot";
    in.password = "s3cret";
    in.email = "pilot@example.org";
    ASSERT_TRUE(saveLoginData(in));
    Cworld w;
    ASSERT_TRUE(w.save.loadLoginData());
    EXPECT_EQ(w.save.login.password, "s3cret");
    // The file is packed: the password is not there as plain text.
    Cbytes raw;
    ASSERT_TRUE(CresourceFile::readWholeFile(gEngine->savePath("loginA1"), raw));
    EXPECT_EQ(std::search(raw.begin(), raw.end(), in.password.begin(), in.password.end()), raw.end());
    raw[raw.size() / 2] ^= 0xFF;
    ASSERT_TRUE(CresourceFile::writeFileAtomic(gEngine->savePath("loginA1"), raw.data(), raw.size()));
    CloginData after;
    EXPECT_FALSE(loadLoginData(after));
    EXPECT_TRUE(fileThere("loginA1.bad"));
}

TEST(HighScoresAndNews, RoundTrips) {
    CtestEngine eng;
    const std::string inbox("first message\0second\0", 21);
    {
        Cworld w;
        CshipSnapshot ship{"Standard", true, true};
        w.tracks.submitScore("0123456789abcdef0123456789abcdef", 4200, 3, 0.75f, ship, "nice");
        w.tracks.submitScore("fedcba9876543210fedcba9876543210", 100, 0, 1.0f, ship, "");
        EXPECT_TRUE(fileThere("highScores4"));   // each submission saves the file

        w.save.newsFeedFile().addRecord(
            "inbox", [&](Cbytes& out) { out.assign(inbox.begin(), inbox.end()); },
            [](const uint8_t*, size_t) { return true; });
        ASSERT_TRUE(w.save.saveNewsFeed());
    }
    Cworld w;
    ASSERT_TRUE(w.save.loadHighScores());
    CtrackRecord* r = w.tracks.findTrack("0123456789ABCDEF0123456789ABCDEF");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->bestScore, 4200u);
    EXPECT_EQ(r->comment, "nice");

    std::string got;
    w.save.newsFeedFile().addRecord(
        "inbox", [](Cbytes&) {},
        [&](const uint8_t* p, size_t n) {
            got.assign((const char*)p, n);
            return true;
        });
    ASSERT_TRUE(w.save.loadNewsFeed());
    EXPECT_EQ(got, inbox);
}

// A settings file that can't be written is tried again after a growing wait,
// with one log line for the whole failure streak, not once a frame.
TEST(Settings, UnwritableFileIsRetriedWithGrowingWaits) {
    CtestEngine eng;
    Cworld w;
    double now = 0;
    w.save.clockMs = [&now] { return now; };
    const std::string blocker = gEngine->savePath("settings2.tmp");
    ASSERT_TRUE(std::filesystem::create_directory(blocker));
    w.save.settings.musicVolume = 0.25f;
    w.save.settings.dirty = true;
    for (int frame = 0; frame < 120; ++frame, now += 16) w.save.update();

    // Attempts so far at 0 and 1 s; the next waits 2 s, so not before 3 s.
    std::filesystem::remove(blocker);
    for (; now < 2990; now += 16) w.save.update();
    EXPECT_FALSE(fileThere("settings2"));
    for (; now < 3030; now += 16) w.save.update();
    EXPECT_FALSE(w.save.settingsSaveFailing());
    int failureLines = 0;
    for (const auto& l : gEngine->log.recentLines()) failureLines += l.text.rfind("Settings not saved: ", 0) == 0;
    EXPECT_EQ(failureLines, 1);

    Cworld back;
    ASSERT_TRUE(back.save.loadSettings());
    EXPECT_FLOAT_EQ(back.save.settings.musicVolume, 0.25f);
}
