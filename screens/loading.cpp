#include "screens/loading.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "engine/engine.h"
#include "engine/ui/uiDraw.h"
#include "game/game.h"

namespace {
// The layer sprites are named without their ".png"; the sprite folder names
// them with it.
Csprite* findLoadingSprite(const std::string& name) {
    Csprite* s = gEngine->sprites.findSprite(name, false);
    if (!s) s = gEngine->sprites.findSprite(name + ".png", false);
    if (!s) gEngine->log.print(LOG_L, "Can't find sprite: %s", name.c_str());
    return s;
}

Ccolour namedOr(const char* name, const Ccolour& fallback) {
    const CcolourTable::Centry* e = gEngine->colours.find(name);
    return e ? e->colour : fallback;
}

// Languages 7 and 8 need the font with the CJK glyphs.
bool needsUniFont() { return gGame && (gGame->language == 7 || gGame->language == 8); }
}  // namespace

CloadingScreen::CloadingScreen() : ClayoutScreen("loading.txt", {}, LEAVE_AT_ONCE) {
    // Whole milliseconds would hold every redraw back to 9 ms, stretching the logo's time.
    clock = [] { return (double)SDL_GetPerformanceCounter() * 1000.0 / (double)SDL_GetPerformanceFrequency(); };
}

bool CloadingScreen::onLoaded() {
    findSprites();
    return true;
}

void CloadingScreen::findSprites() {
    logo_ = findLoadingSprite("ui_quillmarshLogo.png");
    barBack_ = findLoadingSprite("ui_whitePixel.png");
    barFillSprite_ = findLoadingSprite("ui_whitePixel.png");
    for (int i = 0; i < 4; ++i) layers_[i] = findLoadingSprite("QMLoading_" + std::to_string(i + 1));
}

float CloadingScreen::barFill() const {
    return std::clamp((float)loadCount / (float)kExpectedSteps, 0.0f, 1.0f);
}

void CloadingScreen::onEnter() {
    Cgame& g = *gGame;
    // The first sound slot opens the loading; a playback still going is cut first.
    if (!g.sfx.slotFile(0).empty()) {
        g.sfx.stop(0);
        g.sfx.play(0, 1.0f);
    }
    gEngine->renderer.setClearColour(namedOr("LoadingBackground", Ccolour(0.016f, 0.02f, 0.047f, 1)));
    findSprites();

    const char* shot = getenv(kShotEnv);
    shotPath_ = shot ? shot : "";
    shotTaken_ = false;

    loadCount = 0;
    fade = 0;
    active = true;
    gEngine->onLoadStep = [this] {
        ++loadCount;
        tick();
    };
    bool ok = g.loadResources() && g.loadResourcesFinal();
    gEngine->onLoadStep = nullptr;
    if (!ok) {
        active = false;
        gEngine->logFatal("Loading failed");
        return;
    }
    // What the loading took and let go of goes back, while the logo holds anyway.
    Cplatform::trimHeap();
    // However fast the loading was, the logo stays up for a moment; a quit
    // asked for meanwhile cuts that short and is honoured by the next update.
    while (fade < kFadeToLeave && !gEngine->platform.quitRequested()) {
        uint64_t before = redraws;
        tick();
        if (redraws == before) {
            // Most of the way to the next redraw asleep: a sleep may overrun by a millisecond.
            const double left = lastRedraw_ + kRedrawMs - clock();
            SDL_Delay(left > 1.5 ? (Uint32)(left - 1.0) : 0);
        }
    }
    active = false;
    // Play starts with every effect decoded (long done on all but the slowest machines).
    g.sfx.waitForSamples();

    if (CsongPackInfo* track = g.songLibrary.getRandomTrack()) g.music.playTrack(track);
    else gEngine->log.print(LOG_L, "Loading: no track to play yet");

    g.setModeDirect(GM_LOADING_DONE);
    g.setGameMode(GM_PRESS_START, true);
    gEngine->renderer.setClearColour(namedOr("MenuBackground", gEngine->platform.clearColour));

    // Open mic listens again from here.
    if (g.music.currentTrack && g.music.currentTrack->kind == SONG_OPEN_MIC) {
        g.music.pause();
        g.music.startOpenMic();
    }
}

void CloadingScreen::tick() {
    if (!active) return;
    gEngine->platform.pollEvents();
    double now = clock();
    if (drawnOnce_ && now - lastRedraw_ < kRedrawMs) return;
    lastRedraw_ = now;
    drawnOnce_ = true;
    ++redraws;
    fade += kFadeStep;
    Crenderer& r = gEngine->renderer;
    if (!r.isReady()) return;
    r.beginFrame();
    draw();
    r.flush();
    saveShotOnce();
    gEngine->drawCount = 0;
    gEngine->platform.swapWindow();
}

void CloadingScreen::draw() {
    Crenderer& r = gEngine->renderer;
    const float s = gUi->scale();
    const float cx = (float)gEngine->halfScreenWidth, cy = (float)gEngine->halfScreenHeight;
    const float h = (float)gEngine->screenHeight;

    // The logo grows and fades in over the first redraws.
    float k = std::min(fade, 1.0f);
    float in = std::sin(k * std::numbers::pi_v<float> * 0.5f);
    if (logo_) r.drawSprite(logo_, cx, cy - kLogoAboveCentre * s, (in * 0.3f + 0.7f) * 0.8f * s, Ccolour(1, 1, 1, in));

    // The bar: its background in the menu colour, then four glowing layers,
    // tallest first, all starting at the bar's left end.
    const float barY = cy + kBarBelowCentre * s;
    const float barW = kBarWidth * s, left = cx - barW * 0.5f;
    if (barBack_) {
        Cquad q;
        q.sprite = barBack_;
        q.centre = Cvec3(cx, barY, 0);
        q.width = barW;
        q.height = kBarHeight * s;
        q.colour = namedOr("MenuBackground", gEngine->platform.clearColour);
        r.addQuad(q);
    }
    const float fillW = barW * barFill();
    if (fillW > 0) {
        static const float kLayerHeights[4] = {20, 15, 10, 5};
        for (int i = 0; i < 4; ++i) {
            Csprite* sp = layers_[i] ? layers_[i] : barFillSprite_;
            if (!sp) continue;
            Cquad q;
            q.sprite = sp;
            q.centre = Cvec3(left + fillW * 0.5f, barY, 0);
            q.width = fillW;
            q.height = kLayerHeights[i] * s;
            q.colour = Ccolour(1, 1, 1, 1);
            r.addQuad(q);
        }
    }

    // Three warning lines along the bottom.
    const CshadowStyle* outline = gUi->findShadowStyle("SimpleOutline", false);
    const bool uni = needsUniFont();
    const Ccolour white(1, 1, 1, 1);
    uiDraw::text(uni ? "UniFontNormal" : "FontBig", gEngine->text("WARNING"), cx, h - 120.0f * s, s, white,
                 ALIGN_CENTRE, outline);
    uiDraw::text(uni ? "UniFontNormal" : "FontMedium", gEngine->text("LoadWarning1"), cx, h - 70.0f * s, s, white,
                 ALIGN_CENTRE, outline);
    uiDraw::text(uni ? "UniFontNormal" : "FontMedium", gEngine->text("LoadWarning2"), cx, h - 40.0f * s, s, white,
                 ALIGN_CENTRE, outline);
}

void CloadingScreen::saveShotOnce() {
    if (shotPath_.empty() || shotTaken_ || fade < 1.0f) return;
    shotTaken_ = true;
    Crenderer& r = gEngine->renderer;
    if (!r.readPixels(0, 0, gEngine->screenWidth, gEngine->screenHeight) || !r.saveScreenshotPng(shotPath_))
        gEngine->log.print(LOG_L, "Loading: can't save the test picture %s", shotPath_.c_str());
}
