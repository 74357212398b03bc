// The window at the shapes players' desktops give (16:9, 16:10, 4:3): where
// it goes on the desktop, where the screen's points are drawn in it, and
// where a click in it lands on the screen.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/platform.h"
#include "engine/render/viewport.h"
#include "engine/windowPlacement.h"
#include "support/testGame.h"

namespace {
struct Cshape {
    int w, h;
};
const Cshape kShapes[] = {{1280, 720}, {1280, 800}, {1024, 768}};

// GL's own viewport transform: the window pixel (top-left origin, as the
// mouse reports it) where a screen point is drawn.
Cvec2 drawnAt(const CscreenToWindow& v, int windowH, float x, float y) {
    const float ndcX = x * v.ndcScaleX + v.ndcOffsetX, ndcY = y * v.ndcScaleY + v.ndcOffsetY;
    const float fromLeft = (float)v.viewportX + (ndcX + 1.0f) * 0.5f * (float)v.viewportW;
    const float fromBottom = (float)v.viewportY + (ndcY + 1.0f) * 0.5f * (float)v.viewportH;
    return {fromLeft, (float)windowH - fromBottom};
}
}  // namespace

// Borderless fills the desktop whatever size was stored; full screen takes
// its mode at the display's corner; a window is shrunk to the usable area
// and centred there.
TEST(WindowShapes, EachModeIsPlacedOnItsDisplay) {
    const CwindowRect none, desk43{0, 0, 1024, 768}, underPanel{0, 30, 1024, 738}, right{1920, 0, 1280, 800};
    const struct {
        int mode, w, h;
        CwindowRect desktop, usable, placed;
    } rows[] = {
        {WINDOW_BORDERLESS, 1280, 720, desk43, underPanel, desk43},
        {WINDOW_BORDERLESS, 1920, 1200, {0, 0, 1280, 800}, {0, 0, 1280, 760}, {0, 0, 1280, 800}},
        {WINDOW_BORDERLESS, 1920, 1080, right, none, right},   // a second display to the right
        {WINDOW_FULLSCREEN, 1024, 768, right, none, {1920, 0, 1024, 768}},
        {WINDOW_WINDOWED, 1280, 720, {0, 0, 1280, 800}, {0, 0, 1280, 770}, {0, 25, 1280, 720}},   // room: centred
        // A 16:9 window on a 4:3 desktop with a panel at the top: no wider or
        // taller than what the panel leaves.
        {WINDOW_WINDOWED, 1280, 720, desk43, underPanel, {0, 39, 1024, 720}},
        {WINDOW_WINDOWED, 1280, 800, desk43, underPanel, {0, 30, 1024, 738}},
        // Usable area unknown: the desktop; nothing known: the stored size.
        {WINDOW_WINDOWED, 1280, 720, desk43, none, {0, 24, 1024, 720}},
        {WINDOW_WINDOWED, 1280, 720, none, none, {0, 0, 1280, 720}},
        {WINDOW_BORDERLESS, 1280, 720, none, none, {0, 0, 1280, 720}},
    };
    for (const auto& r : rows) EXPECT_EQ(placeWindow(r.mode, r.w, r.h, r.desktop, r.usable), r.placed) << r.mode << " " << r.w << "x" << r.h;
}

TEST(WindowShapes, TheScreenFillsTheWindowAndListClipsStayOnTheirBox) {
    for (const Cshape& s : kShapes) {
        // The screen the size of the window (as the game opens it), and a
        // window grown under a screen laid out for another size.
        for (const Cshape& screen : {s, Cshape{1280, 720}}) {
            SCOPED_TRACE(std::to_string(screen.w) + "x" + std::to_string(screen.h) + " in " + std::to_string(s.w) +
                         "x" + std::to_string(s.h));
            // With the margin, and with a driver whose viewport can't reach past.
            for (int maxView : {16384, s.w > s.h ? s.w : s.h}) {
                const CscreenToWindow v((float)screen.w, (float)screen.h, s.w, s.h, maxView, maxView, 1024);
                const Cvec2 topLeft = drawnAt(v, s.h, 0, 0);
                const Cvec2 bottomRight = drawnAt(v, s.h, (float)screen.w, (float)screen.h);
                EXPECT_LT(std::hypot(topLeft.x, topLeft.y) + std::hypot(bottomRight.x - s.w, bottomRight.y - s.h), 0.02f);
                // The scissor box is the box drawn: the list at the screen's
                // bottom right quarter, in GL's bottom-left pixels.
                const CglScissor box = v.scissor(Crect{screen.w * 0.5f, screen.h * 0.5f, screen.w * 0.5f,
                                                       screen.h * 0.5f});
                EXPECT_TRUE(box.x == s.w / 2 && box.y == 0 && box.w == s.w - s.w / 2 && box.h == s.h - s.h / 2)
                    << box.x << "," << box.y << " " << box.w << "x" << box.h;
            }
        }
    }
}

// A click on a pixel lands on the screen point drawn on that pixel: for the
// window as the game opens it and after the window changed size under it.
TEST(WindowShapes, ClicksLandOnWhatIsDrawnUnderThePointer) {
    CtestGame g;
    ASSERT_TRUE(g.initOk());
    const float points[][2] = {{0.5f, 0.5f}, {0.1f, 0.9f}, {0.95f, 0.05f}};
    for (const Cshape& s : kShapes) {
        for (bool resized : {false, true}) {
            SCOPED_TRACE(std::to_string(s.w) + "x" + std::to_string(s.h) + (resized ? " resized" : ""));
            gEngine->setScreenSize(s.w, s.h);
            gEngine->input.setScreenScale(s.w, s.h, s.w, s.h);
            int winW = s.w, winH = s.h;
            if (resized) {
                winW = s.w * 3 / 2;
                winH = s.h + 100;
                SDL_Event e{};
                e.type = SDL_WINDOWEVENT;
                e.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
                e.window.data1 = winW;
                e.window.data2 = winH;
                SDL_PushEvent(&e);
                gEngine->platform.pollEvents();
                ASSERT_EQ(gEngine->windowWidth, winW);
            }
            const CscreenToWindow v((float)s.w, (float)s.h, winW, winH, 16384, 16384, 1024);
            for (const auto& p : points) {
                const float x = p[0] * (float)s.w, y = p[1] * (float)s.h;
                const Cvec2 pixel = drawnAt(v, winH, x, y);
                g.mouseMove((int)std::lround(pixel.x), (int)std::lround(pixel.y));
                gEngine->platform.pollEvents();
                EXPECT_NEAR(gEngine->mouseX, x, 1.0f);
                EXPECT_NEAR(gEngine->mouseY, y, 1.0f);
            }
        }
    }
}
