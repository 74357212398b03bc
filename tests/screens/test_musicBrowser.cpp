#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "screens/musicBrowser.h"
#include "screens/screenRegistry.h"
#include "screensFixture.h"

namespace {
struct CbrowserFixture {
    CscreensGame g;
    CrecordingScreen typeList, gameType, settings;
    CmusicBrowserScreen* screen = nullptr;
    std::string folder;

    // Albums "Kiwi" (3 tracks, numbered out of order) and "apple" by two artists.
    explicit CbrowserFixture(bool fromGameType = false) {
        if (!g.initOk()) return;
        folder = makeTempFolder("browser");
        g->saveLoad.settings.currentFolder = folder;
        CsongInfoMgr& lib = g->songLibrary;
        lib.clearLocalTracks();   // the built-in tracks too
        auto add = [&](const char* title, const char* album, const char* artist, int number, float length) {
            CtrackTags t;
            t.title = title;
            t.album = album;
            t.artist = artist;
            t.trackNumber = (uint32_t)number;
            t.length = length;
            lib.addLocalTrack(SONG_LOCAL, t, std::string("/music/") + title + ".mp3");
        };
        add("Three", "Kiwi", "Kate", 3, 185);
        add("One", "Kiwi", "Kate", 1, 3665);
        add("Two", "Kiwi", "Kate", 2, 42);
        add("Solo", "apple", "Abe", 1, 120);
        g->setScreen(GM_MUSIC_TYPE_LIST, &typeList);
        g->setScreen(GM_GAME_TYPE, &gameType);
        g->setScreen(GM_GAME_SETTINGS, &settings);
        screen = screens::get<CmusicBrowserScreen>();
        screen->open(fromGameType ? MUSIC_FROM_GAME_TYPE : MUSIC_FROM_TYPE_LIST);
        g.settle(120);   // through the fade
    }
    ~CbrowserFixture() { removeFolderTree(folder); }
    Cmenu* menu(const char* name) { return screen->screen()->findMenu(name); }
    Cwidget* widget(const char* name) { return screen->screen()->findWidget(name); }
    Cmenu* shown() {
        for (const char* n : {"FileListMenu", "AlbumListMenu", "ArtistListMenu", "GenreListMenu", "TrackMenu"})
            if (!menu(n)->hidden) return menu(n);
        return nullptr;
    }
    std::vector<std::string> column(const char* gadget) {
        std::vector<std::string> out;
        Cmenu* m = shown();
        for (size_t i = 0; m && i < m->itemCount(); ++i)
            if (!m->item(i)->attachToPrevious) out.push_back(m->item(i)->getText(gadget));
        return out;
    }
    Cwidget* row(const std::string& title) {
        Cmenu* m = shown();
        for (size_t i = 0; m && i < m->itemCount(); ++i)   // the rows made, near view
            if (Cwidget* w = m->madeItem(i); w && !w->attachToPrevious && w->getText("Title1") == title) return w;
        return nullptr;
    }
    Cwidget* icon(const Cwidget* r, float tag) {
        Cmenu* m = shown();
        for (size_t i = 0; m && i < m->itemCount(); ++i) {
            Cwidget* w = m->madeItem(i);
            if (w && w->attachToPrevious && w->floatValue == tag && w->value == r->value) return w;
        }
        return nullptr;
    }
    void press(Cwidget* w) {
        ASSERT_NE(w, nullptr);
        g.click(w);
        g.steps(2);
    }
};
}  // namespace

TEST(MusicBrowser, AlbumsSortTracksByNumberAndAnOpenAlbumSurvivesTheLibraryChanging) {
    CbrowserFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.press(f.widget("Albums"));
    EXPECT_EQ(f.column("Title1"), (std::vector<std::string>{"apple", "Kiwi"}));
    EXPECT_EQ(f.column("NumTracks"), (std::vector<std::string>{"1", "3"}));

    f.press(f.row("Kiwi"));
    EXPECT_EQ(f.shown(), f.menu("TrackMenu"));
    EXPECT_EQ(f.column("Title1"), (std::vector<std::string>{"One", "Two", "Three"}));
    EXPECT_EQ(f.column("NumTracks"), (std::vector<std::string>{"#1", "#2", "#3"}));
    EXPECT_EQ(f.column("Duration"), (std::vector<std::string>{"01h 01m", "42", "03:05"}));

    // New albums arrive ahead of the open one: every view is rebuilt, and
    // the open album's rows still play their own tracks.
    for (int i = 0; i < 30; ++i) {
        CtrackTags t;
        t.title = "New " + std::to_string(i);
        t.album = "Aardvark " + std::to_string(i);
        t.length = 100;
        f.g->songLibrary.addLocalTrack(SONG_LOCAL, t, "/music/new" + std::to_string(i) + ".mp3");
    }
    f.g->songLibrary.rebuildViews();
    f.g.steps(2);
    EXPECT_EQ(f.column("Title1"), (std::vector<std::string>{"One", "Two", "Three"}));
    f.press(f.row("Two"));
    ASSERT_NE(f.g->music.currentTrack, nullptr);
    EXPECT_EQ(f.g->music.currentTrack->tags.title, "Two");

    // Back closes the album onto the list made again, a second Back leaves.
    f.g.tapAction(ACTION_BACK);
    f.g.steps(2);
    EXPECT_EQ(f.column("Title1").size(), 32u);   // "apple", "Kiwi" and 30 new
    f.g.tapAction(ACTION_BACK);
    f.g.steps(80);
    EXPECT_EQ(f.g.mode(), GM_MUSIC_TYPE_LIST);
}

TEST(MusicBrowser, GroupHeartAndTrashToggleEveryTrackOfTheGroup) {
    CbrowserFixture f;
    ASSERT_TRUE(f.g.initOk());
    CsongInfoMgr& lib = f.g->songLibrary;
    f.press(f.widget("Artists"));
    Cwidget* kate = f.row("Kate");
    ASSERT_NE(kate, nullptr);
    f.press(f.icon(kate, 1.0f));
    for (const char* t : {"One", "Two", "Three"}) EXPECT_TRUE(lib.findByPath(std::string("/music/") + t + ".mp3")->favourite);
    EXPECT_FALSE(lib.findByPath("/music/Solo.mp3")->favourite);
    kate = f.row("Kate");
    f.press(f.icon(kate, 1.0f));   // all were favourites: all cleared
    for (const char* t : {"One", "Two", "Three"}) EXPECT_FALSE(lib.findByPath(std::string("/music/") + t + ".mp3")->favourite);

    kate = f.row("Kate");
    f.press(f.icon(kate, -1.0f));
    for (const char* t : {"One", "Two", "Three"}) EXPECT_TRUE(lib.findByPath(std::string("/music/") + t + ".mp3")->removed);

    f.press(f.row("Kate"));
    f.press(f.icon(f.row("Two"), 1.0f));
    EXPECT_TRUE(lib.findByPath("/music/Two.mp3")->favourite);
    f.g.tapAction(ACTION_BACK);
    f.g.steps(2);
    lib.findByPath("/music/Solo.mp3")->toggleFavourite();
    f.press(f.widget("Favourites"));
    EXPECT_EQ(f.column("Title1"), (std::vector<std::string>{"Solo", "Two"}));
}

// Empty favourites and recent tracks say so; the file list walks the folders.
TEST(MusicBrowser, FilesListDrivesFoldersAndMusicAndWalkTheFolders) {
    CbrowserFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.press(f.widget("Favourites"));
    EXPECT_EQ(f.shown()->emptyKey, "ListEmptyFavourites");
    std::filesystem::create_directories(f.folder + "/Sub");
    std::ofstream(f.folder + "/Sub/inner.mp3") << "x";
    std::ofstream(f.folder + "/tune.mp3") << "x";
    f.press(f.widget("Files"));
    EXPECT_EQ(f.widget("CurrentFolder")->getText(), f.folder);
    std::vector<std::string> titles = f.column("Title1");
    ASSERT_GE(titles.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(titles.end() - 3, titles.end()), (std::vector<std::string>{"..", "Sub", "tune"}));

    f.press(f.row("Sub"));
    EXPECT_EQ(f.screen->currentFolder(), f.folder + "/Sub");
    EXPECT_EQ(f.column("Title1").back(), "inner");
    f.press(f.row(".."));
    EXPECT_EQ(f.screen->currentFolder(), f.folder);
    f.g.tapAction(ACTION_BACK);
    f.g.steps(80);
    EXPECT_EQ(f.g.mode(), GM_MUSIC_TYPE_LIST);
}

// From the game type a keyboard player opens an album and picks its track
// with Return alone; W moves up rather than jumping to a letter; X takes
// what is playing.
TEST(MusicBrowser, ReturnChoosesTheHighlightedRowAndXUsesNowPlaying) {
    CbrowserFixture f(true);
    ASSERT_TRUE(f.g.initOk());
    f.press(f.widget("Albums"));
    struct {
        int key;
        const char* selected;   // the row selected after it
        bool tracks;            // the album's tracks are listed
    } const keys[] = {{SDL_SCANCODE_K, "Kiwi", false},  {SDL_SCANCODE_RETURN, "One", true},
                      {SDL_SCANCODE_DOWN, "Two", true}, {SDL_SCANCODE_DOWN, "Three", true},
                      {SDL_SCANCODE_W, "Two", true},    {SDL_SCANCODE_RETURN, "Two", true}};
    for (const auto& k : keys) {
        f.g.tapKey(k.key);
        f.g.steps(6);
        const char* name = SDL_GetScancodeName((SDL_Scancode)k.key);
        ASSERT_EQ(f.g.mode(), GM_MUSIC_BROWSER) << name;
        Cmenu* m = f.shown();
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m == f.menu("TrackMenu"), k.tracks) << name;
        ASSERT_NE(m->getSelectedItem(), nullptr) << name;
        EXPECT_EQ(m->getSelectedItem()->getText("Title1"), k.selected) << name;
    }
    f.g.tapKey(SDL_SCANCODE_X);
    f.g.steps(80);
    EXPECT_EQ(f.g.mode(), GM_GAME_SETTINGS);
}

// A long album makes only the rows near view. A far row is made when keys
// select it, its heart and trash work, and it keeps their marks once made
// again after the list scrolled away and back.
TEST(MusicBrowser, ALongListMakesItsFarRowsWhenScrolledToAndTheyKeepTheirMarks) {
    CbrowserFixture f;
    ASSERT_TRUE(f.g.initOk());
    CsongInfoMgr& lib = f.g->songLibrary;
    for (int i = 1; i <= 300; ++i) {
        CtrackTags t;
        t.title = "Long " + std::to_string(i);
        t.album = "Long";
        t.trackNumber = (uint32_t)i;
        lib.addLocalTrack(SONG_LOCAL, t, "/music/long" + std::to_string(i) + ".mp3");
    }
    f.press(f.widget("Albums"));
    f.press(f.row("Long"));
    Cmenu* m = f.shown();
    size_t last = m->itemCount() - 1;
    while (m->attachedItem(last)) --last;
    EXPECT_EQ(m->madeItem(last), nullptr);
    const auto tint = [&](float tag) { return f.icon(f.row("Long 299"), tag)->findSpriteGadget()->colour.g; };
    for (int pass = 0; pass < 2; ++pass) {
        m->setSelectedIdx((int)last);
        f.g.tapKey(SDL_SCANCODE_UP);
        ASSERT_NE(m->getSelectedItem(), nullptr);
        EXPECT_EQ(m->getSelectedItem()->getText("Title1"), "Long 299");
        if (pass == 0) {
            f.press(f.icon(f.row("Long 299"), 1.0f));
            f.press(f.icon(f.row("Long 299"), -1.0f));
            m->setSelectedIdx(0);
            f.g.steps(2);
            EXPECT_EQ(m->madeItem(last), nullptr);   // gone once far
        }
    }
    EXPECT_TRUE(lib.findByPath("/music/long299.mp3")->favourite && lib.findByPath("/music/long299.mp3")->removed);
    EXPECT_EQ(tint(1.0f), f.g->namedColours.darkRed.g);
    EXPECT_EQ(tint(-1.0f), f.g->namedColours.red.g);
}
