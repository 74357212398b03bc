// Pictures of the real frame under Xvfb: the row order of captures to a file
// and to a texture; the built-in track played by the scripted pilot, its frame
// after twenty seconds ("play20s.png" in the build folder) and its automatic
// screenshots shown as the game-over strip ("autoShotsStrip.png"); and a ship
// published with its captured preview, found by a second save folder's sync.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/resourceFile.h"
#include "game/gameModes.h"
#include "game/playHarness.h"
#include "game/progress/playerShipMgr.h"
#include "game/workshopGlue.h"
#include "builtInTrack.h"
#include "glWindow.h"
#include "services/autoScreenShot.h"
#include "services/screenCapture.h"
#include "services/workshop.h"
#include "support/steamTestClient.h"
#include "support/testEngine.h"

namespace {

const Ccolour kRed(1, 0, 0, 1), kBlue(0, 0, 1, 1);

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
    r.drawRect(Crect{0, 0, 1280, 100}, kRed);
    r.drawRect(Crect{0, 620, 1280, 100}, kBlue);
}

// How much of a rectangle of the read-back frame is lit, and how many
// distinct hues it holds.
struct Clit {
    int lit = 0;
    int hues = 0;
};

Clit measure(const std::vector<uint8_t>& px, int w, int x0, int y0, int x1, int y1) {
    Clit r;
    bool seen[12] = {};
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint8_t* p = &px[((size_t)y * w + x) * 4];
            int hi = std::max({p[0], p[1], p[2]}), lo = std::min({p[0], p[1], p[2]});
            if (hi < 60) continue;
            ++r.lit;
            if (hi - lo < 40) continue;
            float h = 0;
            if (hi == p[0]) h = (float)(p[1] - p[2]) / (hi - lo);
            else if (hi == p[1]) h = 2.0f + (float)(p[2] - p[0]) / (hi - lo);
            else h = 4.0f + (float)(p[0] - p[1]) / (hi - lo);
            int bucket = ((int)((h < 0 ? h + 6 : h) * 2.0f)) % 12;
            seen[bucket] = true;
        }
    for (bool b : seen) r.hues += b ? 1 : 0;
    return r;
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
    EXPECT_EQ(s->w, 1280);
    EXPECT_GT(pixelOf(s, 10, 10).r, 200);
    EXPECT_LT(pixelOf(s, 10, 10).b, 50);
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
    int maxParticles = 0, maxShots = 0, maxEnemies = 0;
    Clit all, score;
    for (int f = 0; f < 35 * 60 && !h.world.session.isGameOver(); ++f) {
        music.step(h.dt, h.world.music);
        maxIntensity = std::max(maxIntensity, h.world.music.intensity);
        h.step();
        maxParticles = std::max(maxParticles, eng->particles.countActive());
        maxShots = std::max(maxShots, h.world.projectiles.count());
        maxEnemies = std::max(maxEnemies, h.world.ships.countEnemies());
        shots.update();
        r.beginFrame();
        h.world.session.draw();
        capture.perform();
        if (f == 20 * 60) {
            // Twenty seconds in: the arena lit in many colours, the score in the corner.
            ASSERT_TRUE(r.readPixels(0, 0, 1280, 720));
            ASSERT_TRUE(r.saveScreenshotPng("play20s.png"));
            all = measure(r.pixels(), 1280, 0, 0, 1280, 720);
            score = measure(r.pixels(), 1280, 16, 8, 320, 56);
            EXPECT_GT(h.world.session.teamScores[0], 0);
        }
        r.flush();
        window.swap();
        SDL_PumpEvents();
    }
    EXPECT_GT(all.lit, 1280 * 720 / 200) << "the pilot did not live twenty seconds, or nothing was drawn";
    EXPECT_GE(all.hues, 4);
    EXPECT_GT(score.lit, 100);
    EXPECT_GT(maxIntensity, 0.05f);
    EXPECT_GT(h.world.waves.record().size(), 0u);
    EXPECT_GT(maxEnemies, 0);
    EXPECT_GT(maxShots, 0);
    EXPECT_GT(maxParticles, 0);
    ASSERT_GE(shots.shots.size(), 1u);
    printf("%zu automatic screenshots:", shots.shots.size());
    for (const auto& s : shots.shots) {
        ASSERT_NE(s.texture, nullptr);
        EXPECT_GT(s.texture->width, 100);
        EXPECT_GT(s.texture->height, 100);
        printf(" type %u %dx%d;", s.type, s.texture->width, s.texture->height);
    }
    printf("\n");

    // After the game: the strip beside the game-over screen.
    h.world.setGameMode(GM_GAME_OVER);
    shots.update();
    shots.scroll = 0;
    r.beginFrame();
    shots.drawThumbnails(1100);
    ASSERT_TRUE(r.readPixels(0, 0, 1280, 720));
    ASSERT_TRUE(r.saveScreenshotPng("autoShotsStrip.png"));
    std::vector<uint8_t> strip;
    ASSERT_TRUE(r.readPixels(975, 5, 250, 120));
    EXPECT_GT(litPixels(r.pixels()), 250 * 120 / 50);
    ASSERT_TRUE(r.readPixels(0, 0, 900, 720));
    EXPECT_EQ(litPixels(r.pixels()), 0);   // nothing drawn away from the strip
    window.swap();

    shots.reset();
    music.stop();
}

TEST(WorkshopGl, APublishedShipAppearsInASecondSaveFoldersSync) {
    std::string shared = makeTempFolder("zx_workshop");
    uint64_t id = 0;
    Cbytes hull;
    {
        CsteamTestClient steam;
        steamLocal::setWorkshopRoot(shared);
        ASSERT_TRUE(SteamAPI_Init());
        CglTestWindow win;
        ASSERT_TRUE(win.open(1280, 720)) << win.error;
        ASSERT_TRUE(initRendering(RENDER_GL));
        Crenderer& r = steam.eng->renderer;

        // The hull and the workshop preview are pictures of the frame.
        drawBands(r);
        r.drawRect(Crect{600, 300, 80, 80}, Ccolour(0, 1, 0, 1));
        CscreenCapture capture;
        ASSERT_TRUE(capture.request(576, 276, 704, 404, steam.eng->savePath("hull.png"), false));
        capture.perform();
        ASSERT_TRUE(capture.done);
        ASSERT_TRUE(capture.request(320, 180, 960, 540, steam.eng->savePath("screenshot.png"), true));
        capture.perform();
        ASSERT_TRUE(capture.done);
        win.swap();
        Cbytes preview;
        ASSERT_TRUE(CresourceFile::readWholeFile(steam.eng->savePath("hull.png"), hull));
        ASSERT_TRUE(CresourceFile::readWholeFile(steam.eng->savePath("screenshot.png"), preview));

        CplayerShipMgr hangar;
        ASSERT_TRUE(hangar.loadBuiltIn());
        CplayerShipDef* ship = hangar.createCustomShip();
        ship->data.displayName = "Xvfb Flyer";
        ship->hullImage = hull;
        CworkshopShip s;
        s.dataBlock.resize(CplayerShipData::kBlockSize);
        ship->writeDataBlock(s.dataBlock.data());
        s.hullImage = ship->hullImage;
        s.title = ship->data.displayName;
        s.description = "Built under Xvfb";
        Cworkshop ws;
        ws.init();
        ws.publishShip(s, preview);
        for (int i = 0; i < 20 && ws.state != Cworkshop::STATE_IDLE; ++i) SteamAPI_RunCallbacks();
        ASSERT_FALSE(ws.hasError) << ws.errorText;
        id = ws.publishedId;
        ASSERT_NE(id, 0u);
        shutdownRendering();
    }
    {
        CsteamTestClient steam;
        steamLocal::setWorkshopRoot(shared);
        ASSERT_TRUE(SteamAPI_Init());
        CplayerShipMgr hangar;
        ASSERT_TRUE(hangar.loadBuiltIn());
        int before = hangar.numShips();
        Cworkshop ws;
        ws.init();
        ws.onImport = [&hangar](const CworkshopShipItem& item) { return CworkshopGlue::importShip(hangar, item); };
        ws.requestSubscribedList();
        for (int i = 0; i < 20 && ws.state != Cworkshop::STATE_IDLE; ++i) SteamAPI_RunCallbacks();
        EXPECT_FALSE(ws.hasError) << ws.errorText;
        EXPECT_EQ(hangar.numShips(), before + 1);
        CplayerShipDef* ship = hangar.findPublished(id);
        ASSERT_NE(ship, nullptr);
        EXPECT_EQ(ship->data.displayName, "Xvfb Flyer");
        EXPECT_EQ(ship->data.description, "Built under Xvfb");
        EXPECT_EQ(ship->hullImage, hull);
        EXPECT_TRUE(fileExistsW(steam.eng->savePath(Cworkshop::localItemName(id))));
    }
    removeFolderTree(shared);
}
