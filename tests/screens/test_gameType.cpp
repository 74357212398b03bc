#include <gtest/gtest.h>

#include "game/gameTypes.h"
#include "screens/gameType.h"
#include "screens/screenRegistry.h"
#include "trackRoad.h"

namespace {
struct CgameTypeFixture : CtrackRoad {
    CgameTypeScreen* screen = nullptr;
    CgameTypeFixture() {
        if (!g.initOk()) return;
        enter(GM_GAME_TYPE);
        screen = screens::get<CgameTypeScreen>();
    }
    void choose(int gameTypeIdx, int source) {
        screen->gameTypes()->setSelectedIdx(gameTypeIdx);
        screen->musicSources()->setSelectedIdx(source);
        press(ACTION_SELECT);
    }
};
}  // namespace

TEST(GameType, OffersFourGameTypesAndSevenSourcesWithTheEmptyOnesLocked) {
    CgameTypeFixture f;
    ASSERT_TRUE(f.g.initOk());
    ASSERT_EQ(f.g.mode(), GM_GAME_TYPE);
    Cmenu* types = f.screen->gameTypes();
    ASSERT_EQ(types->itemCount(), 4u);
    const int expected[] = {GAMETYPE_STANDARD, GAMETYPE_SURVIVAL, GAMETYPE_BOSSRUSH, GAMETYPE_CHILLOUT};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(types->item(i)->value, expected[i]);
        EXPECT_EQ(types->item(i)->getText(), gameTypeName(expected[i]));
    }
    Cmenu* sources = f.screen->musicSources();
    ASSERT_EQ(sources->itemCount(), 7u);
    // The one track has not been played through; no favourites yet.
    EXPECT_FALSE(sources->item(MUSIC_NOT_PLAYED_YET)->locked());
    EXPECT_TRUE(sources->item(MUSIC_RANDOM_FAVOURITE)->locked());
    EXPECT_FALSE(sources->item(MUSIC_RANDOM)->locked());
    EXPECT_EQ(sources->item(MUSIC_OPEN_MIC)->getText(), musicSourceName(MUSIC_OPEN_MIC));
    // Keyboard and mouse: no stick scheme to choose.
    EXPECT_FALSE(f.screen->stickSchemes()->shown());
    EXPECT_EQ(gEngine->ui.buttonBar.buttons().size(), 2u);
}

TEST(GameType, ALockedSourceIsRefusedAndTheScreenStays) {
    CgameTypeFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.choose(0, MUSIC_RANDOM_FAVOURITE);
    EXPECT_EQ(f.g.mode(), GM_GAME_TYPE);
    EXPECT_TRUE(f.played(7));
}

TEST(GameType, TheTrackListAndRadioLeadToTheirBrowsersWithTheChoiceKept) {
    CgameTypeFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.choose(1, MUSIC_TRACK_LIST);
    EXPECT_EQ(f.g.mode(), GM_MUSIC_BROWSER);
    EXPECT_EQ(f.g->world.session.gameType, GAMETYPE_SURVIVAL);
    EXPECT_EQ(f.g->world.session.musicSource, MUSIC_TRACK_LIST);

    f.enter(GM_GAME_TYPE);
    f.choose(3, MUSIC_RADIO_LIST);
    EXPECT_EQ(f.g.mode(), GM_MUSIC_RADIO_BROWSER);
    EXPECT_EQ(f.g->world.session.gameType, GAMETYPE_CHILLOUT);
}

TEST(GameType, ARandomTrackIsChosenAndPlayedBeforeTheSettings) {
    CgameTypeFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.g->music.stopMusic();
    f.g->music.currentTrack = nullptr;
    f.choose(2, MUSIC_RANDOM);
    EXPECT_EQ(f.g.mode(), GM_GAME_SETTINGS);
    EXPECT_EQ(f.g->world.session.gameType, GAMETYPE_BOSSRUSH);
    ASSERT_NE(f.g->music.currentTrack, nullptr);
    EXPECT_EQ(f.g->world.session.track.key, f.g->music.currentTrack->key);
    EXPECT_FALSE(f.g->world.session.track.title.empty());
}

TEST(GameType, ASourceWithNothingToPlayKeepsTheScreenAndSaysSo) {
    CgameTypeFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.g->music.stopMusic();
    f.g->music.currentTrack = nullptr;
    f.g->songLibrary.clearLocalTracks();
    f.choose(0, MUSIC_RANDOM);
    EXPECT_EQ(f.g.mode(), GM_GAME_TYPE);
    EXPECT_TRUE(f.played(7));
    EXPECT_TRUE(f.g.logHas("No track for music source Random"));
}

TEST(GameType, BackReturnsToTheMainMenuAndTheArrowsMoveBetweenMenus) {
    CgameTypeFixture f;
    ASSERT_TRUE(f.g.initOk());
    EXPECT_TRUE(f.screen->gameTypes()->focused);
    f.g.tapKey(SDL_SCANCODE_DOWN);
    EXPECT_EQ(f.screen->gameTypes()->getSelectedIdx(), 1);
    f.g.tapKey(SDL_SCANCODE_RIGHT);
    EXPECT_TRUE(f.screen->musicSources()->focused);
    EXPECT_FALSE(f.screen->gameTypes()->focused);
    f.g.tapKey(SDL_SCANCODE_DOWN);
    EXPECT_EQ(f.screen->musicSources()->getSelectedIdx(), 1);
    EXPECT_EQ(f.screen->gameTypes()->getSelectedIdx(), 1);
    // The hidden stick menu is never focused.
    f.g.tapKey(SDL_SCANCODE_RIGHT);
    EXPECT_TRUE(f.screen->musicSources()->focused);
    f.press(ACTION_BACK);
    EXPECT_EQ(f.g.mode(), GM_MAIN_MENU);
}
