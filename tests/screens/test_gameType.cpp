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
    ASSERT_EQ(f.screen->gameTypes()->itemCount(), 4u);
    Cmenu* sources = f.screen->musicSources();
    ASSERT_EQ(sources->itemCount(), 7u);
    // The one track has not been played through; no favourites yet.
    EXPECT_FALSE(sources->item(MUSIC_NOT_PLAYED_YET)->locked());
    EXPECT_TRUE(sources->item(MUSIC_RANDOM_FAVOURITE)->locked());
    EXPECT_FALSE(sources->item(MUSIC_RANDOM)->locked());
    // Keyboard and mouse: no stick scheme to choose.
    EXPECT_FALSE(f.screen->stickSchemes()->shown());
    EXPECT_EQ(gEngine->ui.buttonBar.buttons().size(), 2u);
}

// Each choice leads on with the game type kept: the track list and the radio
// to their browsers, a random track (chosen and played) to the settings.
TEST(GameType, AChoiceLeadsOnWithTheGameTypeKept) {
    const struct {
        int typeIdx, source, leadsTo, gameType;
    } cases[] = {
        {1, MUSIC_TRACK_LIST, GM_MUSIC_BROWSER, GAMETYPE_SURVIVAL},
        {3, MUSIC_RADIO_LIST, GM_MUSIC_RADIO_BROWSER, GAMETYPE_CHILLOUT},
        {2, MUSIC_RANDOM, GM_GAME_SETTINGS, GAMETYPE_BOSSRUSH},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        CgameTypeFixture f;
        ASSERT_TRUE(f.g.initOk());
        f.g->music.stopMusic();
        f.g->music.currentTrack = nullptr;
        f.choose(c.typeIdx, c.source);
        EXPECT_EQ(f.g.mode(), c.leadsTo);
        EXPECT_EQ(f.g->world.session.gameType, c.gameType);
        EXPECT_EQ(f.g->world.session.musicSource, c.source);
        if (c.source != MUSIC_RANDOM) continue;
        ASSERT_NE(f.g->music.currentTrack, nullptr);
        EXPECT_EQ(f.g->world.session.track.key, f.g->music.currentTrack->key);
    }
}

// A locked source, or one with nothing to play, is refused and the screen stays.
TEST(GameType, ASourceWithNothingToPlayKeepsTheScreen) {
    for (bool emptyLibrary : {false, true}) {
        CgameTypeFixture f;
        ASSERT_TRUE(f.g.initOk());
        if (emptyLibrary) {
            f.g->music.stopMusic();
            f.g->music.currentTrack = nullptr;
            f.g->songLibrary.clearLocalTracks();
        }
        f.choose(0, emptyLibrary ? MUSIC_RANDOM : MUSIC_RANDOM_FAVOURITE);
        EXPECT_EQ(f.g.mode(), GM_GAME_TYPE) << emptyLibrary;
        EXPECT_TRUE(f.played(7)) << emptyLibrary;
        EXPECT_EQ(f.g.logHas("No track for music source Random"), emptyLibrary);
    }
}
