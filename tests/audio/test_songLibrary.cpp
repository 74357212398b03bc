#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "audio/audioBASS.h"
#include "audio/songInfoMgr.h"
#include "engine/md5.h"
#include "engine/resourceFile.h"
#include "support/audioTestFiles.h"
#include "support/testEngine.h"

namespace {
CtrackTags tags(const std::string& title, const std::string& artist, const std::string& album,
                const std::string& genre, float length, uint32_t number = 0) {
    return CtrackTags{number, title, album, artist, genre, length};
}

CradioStation station(const std::string& name, const std::string& url) {
    return CradioStation{0, name, url, 128, 42, "Pop"};
}

// A small library: two albums by one artist, one by another, a station.
void fill(CsongInfoMgr& lib) {
    lib.addLocalTrack(SONG_LOCAL, tags("One", "Ann", "First", "Rock", 200, 1), "/m/one.mp3");
    lib.addLocalTrack(SONG_LOCAL, tags("Two", "Ann", "First", "Rock", 180, 2), "/m/two.mp3");
    lib.addLocalTrack(SONG_LOCAL, tags("Three", "Ann", "Second", "Jazz", 240, 1), "/m/three.ogg");
    lib.addLocalTrack(SONG_LOCAL, tags("Four", "Bob", "Third", "rock", 95, 1), "/m/four.flac");
    lib.addRadioStation(station("Radio X", "http://radio.example/x.pls"));
}

// A library over the test's save folder, with that small library in it or empty.
struct Clib {
    CtestEngine eng;
    CsongInfoMgr lib;
    explicit Clib(bool filled = true) {
        lib.init();
        if (filled) fill(lib);
    }
};

std::vector<std::string> titles(const CsongGroup* g) {
    std::vector<std::string> out;
    if (g)
        for (auto* e : *g) out.push_back(e->tags.title);
    return out;
}
}  // namespace

TEST(SongKey, TitleArtistAndLengthRoundedDownToTenSeconds) {
    CtestEngine eng(false);
    struct Crow {
        int kind;
        float length;
        const char* keyed;
    };
    const Crow rows[] = {{SONG_LOCAL, 187.9f, "T - A - 180"}, {SONG_BUILT_IN, 180.0f, "T - A - 180"},
                         {SONG_LOCAL, 9.99f, "T - A - 0"},    {SONG_LOCAL, 3725.0f, "T - A - 3720"},
                         {SONG_LOCAL, -5.0f, "T - A - 0"},    {SONG_LOCAL, NAN, "T - A - 0"},
                         {SONG_OPEN_MIC, 61.0f, "T - A - 60"},
                         {SONG_RADIO, 99.0f, "T"}};   // a station is keyed by its title alone
    for (const Crow& row : rows) EXPECT_EQ(makeSongKey(row.kind, "T", "A", row.length), Cmd5::hex(row.keyed)) << row.keyed;
}

TEST(SongLibrary, LookupsByPathKeyAndUrl) {
    Clib f;
    CsongInfoMgr& lib = f.lib;
    CsongPackInfo* one = lib.findByPath("/m/one.mp3");
    ASSERT_NE(one, nullptr);
    std::string upper = one->getKey();
    for (auto& c : upper) c = (char)toupper((unsigned char)c);
    EXPECT_EQ(lib.findByKey(upper), one);   // keys are looked up ignoring case
    EXPECT_EQ(lib.findByPath("/m/ONE.mp3"), nullptr);
    CsongPackInfo* radio = lib.findByUrl("http://radio.example/x.pls");
    ASSERT_NE(radio, nullptr);
    EXPECT_EQ(lib.findByKey(Cmd5::hex("Radio X")), radio);

    // Adding a path or a station that is there already changes nothing.
    EXPECT_FALSE(lib.addLocalTrack(SONG_LOCAL, tags("Other", "X", "Y", "Z", 100), "/m/one.mp3"));
    EXPECT_FALSE(lib.addLocalTrack(SONG_RADIO, tags("Bad", "X", "Y", "Z", 100), "/m/bad.mp3"));
    EXPECT_EQ(lib.addRadioStation(station("Radio X again", "http://radio.example/x.pls")), radio);
    EXPECT_EQ(lib.size(), 5u);

    // Open-mic tracks are skipped by a key lookup unless asked for.
    CsongPackInfo* mic = lib.addOpenMicTrack(tags("Heard", "Live", "", "", 200), "OpenMic - Desktop");
    ASSERT_NE(mic, nullptr);
    EXPECT_EQ(lib.findByKey(mic->getKey()), nullptr);
    EXPECT_EQ(lib.findByKey(mic->getKey(), false), mic);
}

TEST(SongLibrary, GroupViewsAndToggles) {
    Clib f;
    CsongInfoMgr& lib = f.lib;
    lib.rebuildViews();
    EXPECT_EQ(titles(lib.getGroup(0, VIEW_ALBUMS)), (std::vector<std::string>{"One", "Two"}));
    // Genres group ignoring case; stations are in none of these.
    ASSERT_EQ(lib.view(VIEW_GENRES).size(), 2u);
    EXPECT_EQ(titles(lib.getGroup(0, VIEW_GENRES)), (std::vector<std::string>{"One", "Two", "Four"}));
    EXPECT_EQ(lib.getGroup(3, VIEW_ALBUMS), nullptr);

    // Favourite toggle: all on unless all are on, then all off; views follow.
    lib.findByPath("/m/one.mp3")->favourite = 1;
    EXPECT_FALSE(lib.isGroupAllFavourite(0, VIEW_ARTISTS));
    lib.toggleGroupFavourite(0, VIEW_ARTISTS);
    EXPECT_TRUE(lib.isGroupAllFavourite(0, VIEW_ARTISTS));
    EXPECT_EQ(lib.getGroup(0, VIEW_FAVOURITES)->size(), 3u);
    lib.toggleGroupFavourite(0, VIEW_ARTISTS);
    EXPECT_FALSE(lib.findByPath("/m/one.mp3")->favourite);
    EXPECT_TRUE(lib.view(VIEW_FAVOURITES).empty());

    lib.toggleGroupRemoved(1, VIEW_ALBUMS);
    EXPECT_TRUE(lib.findByPath("/m/three.ogg")->removed);

    // A favourite station shows in the radio favourites; toggling marks the library dirty.
    lib.save();
    CsongPackInfo* radio = lib.findByUrl("http://radio.example/x.pls");
    radio->toggleFavourite();
    EXPECT_TRUE(lib.dirty());
    lib.rebuildViews();
    EXPECT_EQ(lib.getGroup(0, VIEW_RADIO_FAVOURITES)->at(0), radio);

    lib.addLocalTrack(SONG_LOCAL, tags("Five", "Cy", "Fourth", "Pop", 300), "/m/five.mp3");
    EXPECT_EQ(lib.view(VIEW_ALBUMS).size(), 4u);   // views follow new tracks without a rebuild
}

TEST(SongLibrary, RecentTracksMoveToTheFrontAndKeepTwentyFour) {
    Clib f(false);
    CsongInfoMgr& lib = f.lib;
    for (int i = 0; i < 30; ++i)
        lib.addLocalTrack(SONG_LOCAL, tags("T" + std::to_string(i), "A", "B", "C", 100 + i * 10), "/m/" + std::to_string(i));
    for (int i = 0; i < 30; ++i) lib.addRecentTrack(lib.findByPath("/m/" + std::to_string(i)), false);
    ASSERT_EQ(lib.recentKeys().size(), 24u);
    EXPECT_EQ(lib.getGroup(0, VIEW_RECENT)->back()->tags.title, "T6");
    // Again: to the front, once.
    lib.addRecentTrack(lib.findByPath("/m/10"), false);
    lib.addRecentTrack(lib.findByPath("/m/10"), true);
    const CsongGroup* recent = lib.getGroup(0, VIEW_RECENT);
    EXPECT_EQ(recent->at(0)->tags.title, "T10");
    EXPECT_EQ(recent->at(1)->tags.title, "T29");

    // The recent list was written at once (saveNow) and reads back in order.
    CsongInfoMgr again;
    again.init();
    EXPECT_EQ(again.recentKeys(), lib.recentKeys());
}

TEST(SongLibrary, SaveAndLoadRoundTrip) {
    CtestEngine eng;
    {
        CsongInfoMgr lib;
        lib.init();
        fill(lib);
        lib.addLocalTrack(SONG_BUILT_IN, tags("Built \xc3\xa9 %s", "In", "Alb", "Gen", 90.5f, 3), "music/built.mp3");
        lib.addRadioStation(station("Not kept", "http://radio.example/y.pls"));
        lib.findByUrl("http://radio.example/x.pls")->favourite = 1;
        lib.findByPath("/m/two.mp3")->favourite = 1;
        lib.findByPath("/m/four.flac")->removed = 1;   // left out of the file
        lib.addOpenMicTrack(tags("Heard", "Live", "Al", "Ge", 200), "OpenMic - LineIn");
        lib.addRecentTrack(lib.findByPath("/m/three.ogg"), false);
        lib.addRecentTrack(lib.findByPath("/m/one.mp3"), false);
        ASSERT_TRUE(lib.save());
    }
    CsongInfoMgr lib;
    lib.init();
    EXPECT_EQ(lib.size(), 6u);
    EXPECT_EQ(lib.findByPath("/m/four.flac"), nullptr);
    CsongPackInfo* radio = lib.findByUrl("http://radio.example/x.pls");
    ASSERT_NE(radio, nullptr);
    EXPECT_EQ(radio->listeners, 42);
    CsongPackInfo* built = lib.findByPath("music/built.mp3");
    ASSERT_NE(built, nullptr);
    EXPECT_EQ(built->tags.trackNumber, 3u);
    EXPECT_EQ(built->getKey(), makeSongKey(SONG_BUILT_IN, "Built \xc3\xa9 %s", "In", 90.5f));
    EXPECT_TRUE(lib.findByPath("/m/two.mp3")->favourite);
    EXPECT_NE(lib.findByKey(makeSongKey(SONG_OPEN_MIC, "Heard", "Live", 200), false), nullptr);
    EXPECT_EQ(titles(lib.getGroup(0, VIEW_RECENT)), (std::vector<std::string>{"One", "Three"}));
    // Loading again replaces the whole library: every lookup points at the new entries.
    ASSERT_TRUE(lib.load());
    CsongPackInfo* two = lib.findByPath("/m/two.mp3");
    ASSERT_NE(two, nullptr);
    EXPECT_TRUE(lib.owns(two));
    EXPECT_EQ(lib.findByKey(two->getKey()), two);
}

TEST(SongLibrary, DamagedFilesAreSetAsideNeverHalfLoaded) {
    CtestEngine eng;
    std::vector<uint8_t> good;
    {
        CsongInfoMgr lib;
        lib.init();
        fill(lib);
        lib.addRecentTrack(lib.findByPath("/m/one.mp3"), false);
        ASSERT_TRUE(lib.save());
        good = lib.serialiseLibrary();
    }
    std::string path = eng->savePath(CsongInfoMgr::kLibraryFile);
    struct Ccase {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> damage;
        bool packed;
    };
    const Ccase cases[] = {{"cut in half", [](auto& b) { b.resize(b.size() / 2); }, true},
                           {"bad kind", [](auto& b) { b[12] = 9; }, true},   // the first entry's kind
                           {"huge count", [](auto& b) { putU32(b.data() + 8, 0xFFFFFFF0u); }, true},
                           {"not a container", [](auto& b) { b = {1, 2, 3, 4, 5, 6, 7}; }, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = good;
        c.damage(bytes);
        ASSERT_TRUE(c.packed ? CresourceFile::save(CsongInfoMgr::kLibraryFile, bytes.data(), bytes.size())
                             : CresourceFile::writeFileAtomic(path, bytes.data(), bytes.size()));
        CsongInfoMgr lib;
        lib.init();
        EXPECT_EQ(lib.size(), 0u);   // nothing half-loaded
        EXPECT_TRUE(fileExistsW(path + ".bad"));
        EXPECT_TRUE(lib.dirty());   // a fresh library gets written
        // The recent list was sound and stays.
        EXPECT_EQ(lib.recentKeys().size(), 1u);
    }
    // Each damaged copy was kept: none was written over by the next.
    for (const char* n : {".bad2", ".bad3", ".bad4"}) EXPECT_TRUE(fileExistsW(path + n)) << n;
    // A damaged recent list is set aside on its own.
    const char junk[] = "junk";
    ASSERT_TRUE(CresourceFile::save(CsongInfoMgr::kRecentFile, junk, sizeof junk));
    ASSERT_TRUE(CresourceFile::save(CsongInfoMgr::kLibraryFile, good.data(), good.size()));
    CsongInfoMgr lib;
    lib.init();
    EXPECT_EQ(lib.size(), 4u);   // the station was no favourite: not kept
    EXPECT_TRUE(lib.recentKeys().empty());
    EXPECT_TRUE(fileExistsW(eng->savePath(CsongInfoMgr::kRecentFile) + ".bad"));
}

// What follows a track that ended, by the player's choice.
TEST(SongLibrary, NextTrackFollowsTheChoice) {
    Clib f;
    CsongInfoMgr& lib = f.lib;
    lib.addLocalTrack(SONG_BUILT_IN, tags("Built", "Zed", "Other", "Pop", 150), "music/built.mp3");
    lib.findByPath("/m/two.mp3")->favourite = 1;
    auto at = [&](const char* path) { return lib.findByPath(path); };
    struct Crow {
        const char* ended;
        int choice;
        std::vector<const char*> allowed;
    };
    const Crow rows[] = {
        {"/m/one.mp3", NEXT_ON_ALBUM, {"/m/two.mp3"}},
        {"/m/two.mp3", NEXT_ON_ALBUM, {"/m/one.mp3"}},   // after the album's last, its first
        {"/m/three.ogg", NEXT_BY_ARTIST, {"/m/one.mp3", "/m/two.mp3"}},
        {"/m/four.flac", NEXT_FAVOURITE, {"/m/two.mp3"}},
    };
    for (const Crow& row : rows) {
        for (int i = 0; i < 20; ++i) {
            const CsongPackInfo* next = lib.getNextTrack(at(row.ended), row.choice);
            ASSERT_NE(next, nullptr) << row.ended;
            auto isNext = [&](const char* p) { return next == at(p); };
            EXPECT_TRUE(std::any_of(row.allowed.begin(), row.allowed.end(), isNext))
                << row.ended << " choice " << row.choice << " gave " << next->path;
        }
    }
    EXPECT_NE(lib.getNextTrack(at("/m/four.flac"), NEXT_ON_ALBUM), nullptr);   // an album of one: any other
}

TEST(SongLibrary, RandomChoicesAndSources) {
    Clib f(false);
    CsongInfoMgr& lib = f.lib;
    lib.addRadioStation(station("Radio X", "http://radio.example/x.pls"));
    lib.addOpenMicTrack(tags("Heard", "Live", "", "", 200), "OpenMic - Desktop");
    EXPECT_EQ(lib.getRandomTrack(), nullptr);   // no local track
    lib.addLocalTrack(SONG_LOCAL, tags("Only", "A", "B", "C", 100), "/m/only.mp3");
    CsongPackInfo* only = lib.findByPath("/m/only.mp3");
    lib.setCurrentTrack(only);
    EXPECT_EQ(lib.getRandomTrack(), only);   // the current one again rather than nothing

    lib.addLocalTrack(SONG_LOCAL, tags("Gone", "A", "B", "C", 100), "/m/gone.mp3");
    lib.findByPath("/m/gone.mp3")->removed = 1;
    lib.addLocalTrack(SONG_BUILT_IN, tags("Fav", "A", "B", "C", 100), "music/fav.mp3");
    lib.addLocalTrack(SONG_LOCAL, tags("Fresh", "A", "B", "C", 110), "/m/fresh.mp3");
    CsongPackInfo* fav = lib.findByPath("music/fav.mp3");
    CsongPackInfo* fresh = lib.findByPath("/m/fresh.mp3");
    fav->favourite = 1;
    for (int i = 0; i < 200; ++i) {
        CsongPackInfo* t = lib.getRandomTrack();
        ASSERT_TRUE(t == fav || t == fresh) << t->tags.title;
    }
    for (int i = 0; i < 50; ++i) EXPECT_EQ(lib.getTrackForSource(SOURCE_RANDOM_FAVOURITE), fav);
    // Played tracks have a per-track record.
    lib.hasTrackRecord = [&](const std::string& key) { return key == fav->getKey() || key == only->getKey(); };
    for (int i = 0; i < 50; ++i) EXPECT_EQ(lib.getTrackForSource(SOURCE_NOT_PLAYED), fresh);
    // Nothing fits: a random track instead.
    lib.hasTrackRecord = [](const std::string&) { return true; };
    CsongPackInfo* t = lib.getTrackForSource(SOURCE_NOT_PLAYED);
    EXPECT_TRUE(t == fav || t == fresh);
}

TEST(AudioFiles, SupportedNamesAndTags) {
    CtestEngine eng;
    for (const char* ok : {"a.mp3", "Song.FLAC", "x.ogg", "x.opus", "x.m4a", "x.aac", "x.wav", "x.wma", "dir.v2/x.aiff"})
        EXPECT_TRUE(CaudioBASS::isSupportedAudioFile(ok)) << ok;
    for (const char* bad : {"a.mp", "mp3", "a.txt", "50%.mp3", "x.mp3.jpg", "x.", "dir.mp3/readme", ""})
        EXPECT_FALSE(CaudioBASS::isSupportedAudioFile(bad)) << bad;

    std::string dir = makeTempFolder("tags");
    CfileTags t{"Name %s %n", "Art\xc3\xafst", "Alb", "Gen", 12, 2026};
    std::string tagged = writeTestAudio(dir, "t.mp3", synth::makeTone(300, 3.0), &t);
    std::string plain = writeTestAudio(dir, "My Song.flac", synth::makeTone(300, 2.0));
    CtrackTags tags;
    ASSERT_TRUE(CaudioBASS::readFileTags(tagged, tags));
    EXPECT_EQ(tags.title, "Name %s %n");
    EXPECT_NEAR(tags.length, 3.0f, 0.2f);
    ASSERT_TRUE(CaudioBASS::readFileTags(plain, tags));
    EXPECT_EQ(tags.title, "My Song");   // no title tag: the file's name
    EXPECT_FALSE(CaudioBASS::readFileTags(dir + "/missing.mp3", tags));
    removeFolderTree(dir);
}
