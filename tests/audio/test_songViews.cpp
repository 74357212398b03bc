#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "audio/songViewOrder.h"
#include "support/testEngine.h"

namespace {
// 60 tracks: 6 albums of 10 by 3 artists in 4 genres, added out of order.
void generate(CsongInfoMgr& lib) {
    const char* albums[] = {"zebra", "Apple", "mango", "Kiwi", "banana", "Cherry"};
    const char* genres[] = {"Rock", "jazz", "Pop", "Ambient"};
    for (int n = 59; n >= 0; --n) {
        int album = n / 10;
        CtrackTags t{(uint32_t)(10 - n % 10), "T" + std::to_string(n), albums[album],
                     "Artist " + std::to_string(album % 3), genres[album % 4], 100.0f + (float)n};
        ASSERT_TRUE(lib.addLocalTrack(SONG_LOCAL, t, "/music/" + std::to_string(n) + ".mp3"));
    }
}

std::vector<std::string> groupTexts(CsongInfoMgr& lib, int view) {
    std::vector<std::string> out;
    const auto& groups = lib.view(view);
    for (int i : groupOrder(groups, view)) out.push_back(groupText(groups[(size_t)i], view));
    return out;
}
}  // namespace

TEST(SongViews, GroupsSortIgnoringCaseAndTracksByTheirViewsKey) {
    CtestEngine eng(false);
    CsongInfoMgr lib;
    generate(lib);
    EXPECT_EQ(groupTexts(lib, VIEW_ALBUMS),
              (std::vector<std::string>{"Apple", "banana", "Cherry", "Kiwi", "mango", "zebra"}));
    EXPECT_EQ(groupTexts(lib, VIEW_GENRES), (std::vector<std::string>{"Ambient", "jazz", "Pop", "Rock"}));

    // An album's tracks by number.
    const auto& albums = lib.view(VIEW_ALBUMS);
    const CsongGroup& g = albums[(size_t)groupOrder(albums, VIEW_ALBUMS)[0]];
    std::vector<uint32_t> numbers;
    for (int i : trackOrder(g, VIEW_ALBUMS)) numbers.push_back(g[(size_t)i]->tags.trackNumber);
    EXPECT_EQ(numbers, (std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));

    // An artist's tracks by album (byte order: capitals first), albums kept together.
    const auto& artists = lib.view(VIEW_ARTISTS);
    const CsongGroup& a0 = artists[(size_t)groupOrder(artists, VIEW_ARTISTS)[0]];   // zebra, Kiwi
    std::vector<std::string> seen;
    for (int i : trackOrder(a0, VIEW_ARTISTS))
        if (seen.empty() || seen.back() != a0[(size_t)i]->tags.album) seen.push_back(a0[(size_t)i]->tags.album);
    EXPECT_EQ(seen, (std::vector<std::string>{"Kiwi", "zebra"}));

    // Favourites by artist.
    lib.findByPath("/music/55.mp3")->toggleFavourite();   // Artist 2
    lib.findByPath("/music/3.mp3")->toggleFavourite();    // Artist 0
    lib.findByPath("/music/12.mp3")->toggleFavourite();   // Artist 1
    lib.rebuildViews();   // as the browser does when it shows the favourites
    const CsongGroup* fav = lib.getGroup(0, VIEW_FAVOURITES);
    ASSERT_NE(fav, nullptr);
    std::vector<std::string> favArtists;
    for (int i : trackOrder(*fav, VIEW_FAVOURITES)) favArtists.push_back((*fav)[(size_t)i]->tags.artist);
    EXPECT_EQ(favArtists, (std::vector<std::string>{"Artist 0", "Artist 1", "Artist 2"}));
}

TEST(SongViews, RecentKeepsItsOrderAndLeavesOutUnplayedAndFilesPutDrivesAndFoldersFirst) {
    CtestEngine eng(false);
    CsongInfoMgr lib;
    generate(lib);
    std::set<std::string> played;
    for (int n : {7, 30, 2}) {
        CsongPackInfo* e = lib.findByPath("/music/" + std::to_string(n) + ".mp3");
        lib.addRecentTrack(e, false);
        if (n != 30) played.insert(e->getKey());
    }
    const CsongGroup* recent = lib.getGroup(0, VIEW_RECENT);
    ASSERT_NE(recent, nullptr);
    std::vector<std::string> titles;
    for (int i : trackOrder(*recent, VIEW_RECENT, [&](const std::string& k) { return played.count(k) > 0; }))
        titles.push_back((*recent)[(size_t)i]->tags.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"T2", "T7"}));

    std::string root = makeTempFolder("song_views");
    std::ofstream(root + "/b.mp3") << "x";
    std::ofstream(root + "/a.ogg") << "x";
    std::filesystem::create_directories(root + "/Zed");
    std::filesystem::create_directories(root + "/alpha");
    lib.listFolder(root);
    const CsongGroup* files = lib.getGroup(0, VIEW_FILES);
    ASSERT_NE(files, nullptr);
    std::vector<uint32_t> kinds;
    std::vector<std::string> names;
    for (int i : trackOrder(*files, VIEW_FILES)) {
        kinds.push_back((*files)[(size_t)i]->kind);
        if ((*files)[(size_t)i]->kind == SONG_FOLDER) names.push_back((*files)[(size_t)i]->tags.title);
    }
    EXPECT_TRUE(std::is_sorted(kinds.begin(), kinds.end(), [](uint32_t a, uint32_t b) {
        auto rank = [](uint32_t k) { return k == SONG_DRIVE ? 0 : k == SONG_FOLDER ? 1 : 2; };
        return rank(a) < rank(b);
    }));
    EXPECT_EQ(names, (std::vector<std::string>{"..", "alpha", "Zed"}));
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), (uint32_t)SONG_LOCAL), 2);
    removeFolderTree(root);
}

TEST(SongViews, LengthTextAndLetterJump) {
    EXPECT_EQ(trackLengthText(3665.0f), "01h 01m");
    EXPECT_EQ(trackLengthText(185.9f), "03:05");
    EXPECT_EQ(trackLengthText(42.0f), "42");
    EXPECT_EQ(trackLengthText(-5.0f), "0");

    std::vector<std::string> titles = {"C:/", "..", "abba", "Jazz", "kites", "Lima", "zoo"};
    std::vector<bool> drives = {true};
    EXPECT_EQ(letterJumpRow(titles, 'k', drives), 4);
    EXPECT_EQ(letterJumpRow(titles, 'A', drives), 2);   // ".." sorts before letters
    EXPECT_EQ(letterJumpRow(titles, 'C', drives), 3);   // the drive row is never a target
    EXPECT_EQ(letterJumpRow(titles, 'C'), 0);
    EXPECT_EQ(letterJumpRow({"apple", "b"}, 'Z'), -1);
}
