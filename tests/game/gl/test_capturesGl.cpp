// Pictures of the real frame under Xvfb: the row order of captures to a file
// and to a texture; the built-in track played by the scripted pilot, its frame
// after twenty seconds ("play20s.png" in the build folder) and its automatic
// screenshots shown as the game-over strip ("autoShotsStrip.png").
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include "audio/audioBASS.h"
#include "audio/musicPlayer.h"
#include "audio/songInfoMgr.h"
#include "engine/engine.h"
#include "game/gameModes.h"
#include "game/musicLink.h"
#include "game/playHarness.h"
#include "glWindow.h"
#include "services/autoScreenShot.h"
#include "services/screenCapture.h"
#include "support/testEngine.h"

namespace {

// The built-in track playing through the music player, mixed by hand (no
// audio device).
struct CbuiltInTrack {
    // Starts the first built-in track; false (with a test failure) when it can't.
    bool start() {
        EXPECT_TRUE(audio.init(44100, true));
        library.init();
        player.init(&audio, &library);
        EXPECT_TRUE(player.addBuiltInTracks());
        for (size_t i = 0; i < library.size(); ++i)
            if (library.entry(i)->kind == SONG_BUILT_IN && !track) track = library.entry(i);
        EXPECT_NE(track, nullptr);
        if (!track || !player.playTrack(track)) return false;
        player.onTrackEnd = [this](CsongPackInfo*) {
            ended = true;
            return true;
        };
        return true;
    }
    // Harness options for a game on this track.
    CharnessOptions options(int difficulty) const {
        CtrackInfo info = trackInfoFromSong(*track);
        CharnessOptions o;
        o.title = info.title;
        o.artist = info.artist;
        o.length = info.length;
        o.difficulty = difficulty;
        return o;
    }
    // One step's worth of audio mixed, and the music fed to play. The track
    // is decoded ahead on a worker that a busy machine can hold back: the
    // step waits for its frames rather than mixing silence in their place.
    void step(float dt, CmusicFeed& feed) {
        int left = kStepFrames;
        EXPECT_TRUE(waitUntil([&] {
            const double before = audio.mixer.position(player.channel);
            audio.mixer.mix(mix, left);
            left -= (int)std::lround((audio.mixer.position(player.channel) - before) * 44100.0);
            return left <= 0 || ended || audio.mixer.state(player.channel) != CHANNEL_PLAYING;
        })) << "the track's decoding never caught up";
        player.update(dt);
        fillMusicFeed(player, ended, dt, feed);
    }
    void stop() {
        player.shutdown();
        audio.shutdown();
    }

    CaudioBASS audio;
    CsongInfoMgr library;
    CmusicPlayer player;
    CsongPackInfo* track = nullptr;
    bool ended = false;
    static constexpr int kStepFrames = 735;   // 1/60 s at 44.1 kHz
    float mix[kStepFrames * 2];
};

// The colour of a pixel of an image file.
SDL_Color pixelOf(SDL_Surface* s, int x, int y) {
    SDL_Color c{};
    Uint32 v = 0;
    memcpy(&v, (const uint8_t*)s->pixels + y * s->pitch + x * s->format->BytesPerPixel, s->format->BytesPerPixel);
    SDL_GetRGB(v, s->format, &c.r, &c.g, &c.b);
    return c;
}

void drawBands(Crenderer& r) {
    r.beginFrame();
    r.drawRect(Crect{0, 0, 1280, 100}, Ccolour(1, 0, 0, 1));
    r.drawRect(Crect{0, 620, 1280, 100}, Ccolour(0, 0, 1, 1));
}

int litPixels(const std::vector<uint8_t>& px) {
    int n = 0;
    for (size_t i = 0; i + 3 < px.size(); i += 4) n += std::max({px[i], px[i + 1], px[i + 2]}) > 80 ? 1 : 0;
    return n;
}

}  // namespace

using CapturesGl = CglTest;

TEST_F(CapturesGl, FileAndTextureCapturesKeepTheTopRowAtTheTop) {
    Crenderer& r = eng->renderer;
    CscreenCapture capture;
    std::string file = eng->savePath("rows.png");

    drawBands(r);
    ASSERT_TRUE(capture.request(0, 0, 1280, 720, file, false));
    capture.perform();
    window.swap();
    ASSERT_TRUE(capture.done);
    SDL_Surface* s = IMG_Load(file.c_str());
    ASSERT_NE(s, nullptr);
    EXPECT_GT(pixelOf(s, 10, 10).r, 200);
    EXPECT_GT(pixelOf(s, 10, 710).b, 200);
    SDL_FreeSurface(s);

    // A texture of the same frame, drawn back over a cleared screen.
    drawBands(r);
    ASSERT_TRUE(capture.requestTexture(0, 0, 1280, 720));
    capture.perform();
    window.swap();
    CtexturePtr texture = capture.takeTexture();
    ASSERT_NE(texture, nullptr);
    r.beginFrame();
    Cquad q;
    q.texture = texture.get();
    q.centre = Cvec3(640, 360, 0);
    q.width = 1280;
    q.height = 720;
    q.colour = Ccolour(1, 1, 1, 1);
    r.addQuad(q);
    ASSERT_TRUE(r.readPixels(0, 0, 1280, 720));
    const auto& px = r.pixels();
    EXPECT_GT(px[(10 * 1280 + 10) * 4 + 0], 200);
    EXPECT_GT(px[(710 * 1280 + 10) * 4 + 2], 200);
    window.swap();
    texture.reset();
}

TEST_F(CapturesGl, APlayedTrackIsDrawnAndLeavesAutomaticScreenshotsForTheGameOverStrip) {
    // The music: the built-in track through the player, mixed by hand.
    CbuiltInTrack music;
    ASSERT_TRUE(music.start());

    CplayHarness h;
    h.syntheticMusic = false;
    CscreenCapture capture;
    CautoScreenShot shots(h.world, capture);
    shots.musicIntensity = [&music] { return music.player.getIntensity(); };
    h.world.hooks.resetAutoShots = [&shots] { shots.reset(); };
    h.world.hooks.armMoment = [&shots](int type, float delay, int timer) { shots.arm(type, delay, timer); };
    ASSERT_TRUE(h.start(music.options(DIFFICULTY_HARD)));
    h.world.session.track = trackInfoFromSong(*music.track);

    Crenderer& r = eng->renderer;
    float maxIntensity = 0;
    int maxParticles = 0;
    int lit = 0, scoreLit = 0;
    for (int f = 0; f < 35 * 60 && !h.world.session.isGameOver(); ++f) {
        music.step(h.dt, h.world.music);
        maxIntensity = std::max(maxIntensity, h.world.music.intensity);
        h.step();
        maxParticles = std::max(maxParticles, eng->particles.countActive());
        shots.update();
        r.beginFrame();
        h.world.session.draw();
        capture.perform();
        if (f == 20 * 60) {
            // Twenty seconds in: the arena lit, the score in the corner.
            ASSERT_TRUE(r.readPixels(16, 8, 304, 48));
            scoreLit = litPixels(r.pixels());
            ASSERT_TRUE(r.readPixels(0, 0, 1280, 720));
            ASSERT_TRUE(r.saveScreenshotPng("play20s.png"));
            lit = litPixels(r.pixels());
        }
        r.flush();
        window.swap();
        SDL_PumpEvents();
    }
    EXPECT_GT(lit, 1280 * 720 / 200) << "the pilot did not live twenty seconds, or nothing was drawn";
    EXPECT_GT(scoreLit, 100);
    EXPECT_GT(maxIntensity, 0.05f);
    EXPECT_GT(maxParticles, 0);
    ASSERT_GE(shots.shots.size(), 1u);
    for (const auto& s : shots.shots) ASSERT_TRUE(s.texture && s.texture->width > 100 && s.texture->height > 100);

    // After the game: the strip beside the game-over screen.
    h.world.setGameMode(GM_GAME_OVER);
    shots.update();
    shots.scroll = 0;
    r.beginFrame();
    shots.drawThumbnails(1100);
    ASSERT_TRUE(r.readPixels(0, 0, 1280, 720));
    ASSERT_TRUE(r.saveScreenshotPng("autoShotsStrip.png"));
    ASSERT_TRUE(r.readPixels(975, 5, 250, 120));
    EXPECT_GT(litPixels(r.pixels()), 250 * 120 / 50);
    ASSERT_TRUE(r.readPixels(0, 0, 900, 720));
    EXPECT_EQ(litPixels(r.pixels()), 0);   // nothing drawn away from the strip
    window.swap();

    shots.reset();
    music.stop();
}

