// A demonstration screen (a test fixture, not a game screen) drawn through the
// renderer in a real window: a menu, the button bar and a text entry line.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <memory>

#include "engine/engine.h"
#include "glWindow.h"
#include "support/testEngine.h"
#include "uiTestLayouts.h"

namespace {
// A saved picture read back: the sum of a pixel's channels, and over a
// rectangle the pixels brighter than the background or their mean.
class Cshot {
public:
    explicit Cshot(const std::string& path) {
        if (SDL_Surface* s = IMG_Load(path.c_str())) {
            surface_.reset(SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ABGR8888, 0));
            SDL_FreeSurface(s);
        }
    }
    bool ok() const { return surface_ != nullptr; }
    int at(int x, int y) const {
        if (x < 0 || y < 0 || x >= surface_->w || y >= surface_->h) return 0;
        const uint8_t* p = (const uint8_t*)surface_->pixels + (size_t)y * surface_->pitch + (size_t)x * 4;
        return p[0] + p[1] + p[2];
    }
    int brightIn(const Crect& r, int threshold = 150) const { return over(r, [&](int v) { return v > threshold; }); }
    double meanIn(const Crect& r) const { return over(r, [](int v) { return v; }) / std::max(1.0, (double)r.w * r.h); }

private:
    template <class F>
    int over(const Crect& r, F f) const {
        int total = 0;
        for (int y = (int)r.y; y < (int)(r.y + r.h); ++y)
            for (int x = (int)r.x; x < (int)(r.x + r.w); ++x) total += f(at(x, y));
        return total;
    }
    std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> surface_{nullptr, SDL_FreeSurface};
};
}  // namespace

using UiScreenGl = CglTest;

TEST_F(UiScreenGl, MenuButtonBarAndTextEntryAreDrawn) {
    Cscreen* screen = loadTestLayout("uiDemo.txt");
    ASSERT_NE(screen, nullptr);
    Cmenu* menu = screen->findMenu("Menu");
    ASSERT_NE(menu, nullptr);
    screen->enterOpening();
    gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
    gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);
    gUi->textEntry.placeBox(640, 460, 520);
    gUi->textEntry.begin(20, "Player One");
    // Let the entry effects settle and select the second item.
    for (int i = 0; i < 60; ++i) {
        CuiInput in;
        in.device = DEVICE_CONTROLLER;
        if (i == 40) in.down = true;
        gUi->textEntry.active = false;   // the entry would hold the input
        gUi->beginStep(in, 1.0f / 60.0f);
        gUi->textEntry.active = true;
        screen->update();
    }
    ASSERT_EQ(menu->getSelectedIdx(), 1);

    Crenderer& r = gEngine->renderer;
    r.setClearColour(Ccolour(0.02f, 0.02f, 0.06f, 1));
    r.beginFrame();
    screen->render();
    gUi->renderOverlays();
    r.flush();
    ASSERT_TRUE(r.readPixels(0, 0, 1280, 720));
    const std::string path = "ui_demo.png";   // left in the build folder to look at
    ASSERT_TRUE(r.saveScreenshotPng(path));
    window.swap();

    Cshot shot(path);
    ASSERT_TRUE(shot.ok());
    // Heading text, each menu row's text, the button bar and the entry box.
    Cwidget* heading = screen->findWidget("Heading");
    EXPECT_GT(shot.brightIn(heading->rect()), 200);
    for (size_t i = 0; i < menu->itemCount(); ++i) EXPECT_GT(shot.brightIn(menu->item(i)->rect()), 100) << i;
    // The highlighted row has the brighter frame and fill.
    Crect selected = menu->item(1)->rect(), other = menu->item(0)->rect();
    EXPECT_GT(shot.meanIn(selected), shot.meanIn(other) + 40);
    for (const auto& b : gUi->buttonBar.buttons()) EXPECT_GT(shot.brightIn(b.rect), 50) << b.text;
    EXPECT_GT(shot.brightIn({400, 440, 480, 40}), 100);   // "Player One" in the entry box
    // Between the menu and the entry the background shows.
    EXPECT_LT(shot.at(100, 650), 60);
}

TEST_F(UiScreenGl, LongKeyNamesGetWideCapsAndPadsSquareGlyphs) {
    auto stepAndDraw = [](int device) {
        CuiInput in;
        in.device = device;
        gUi->beginStep(in, 1.0f / 60.0f);
        Crenderer& r = gEngine->renderer;
        r.beginFrame();
        gUi->renderOverlays();
        r.flush();
    };
    stepAndDraw(DEVICE_KEYBOARD_MOUSE);
    CbuttonBar& bar = gUi->buttonBar;
    bar.clear();
    bar.addButton("Same", ACTION_BACK, ICON_BACK);       // Backspace
    bar.addButton("Same", ACTION_OPTION_X, ICON_X);      // a one-letter key
    ASSERT_EQ(bar.buttons().size(), 2u);
    Csprite* cap = gEngine->sprites.findSprite("ui_key_Backspace.png", false);
    ASSERT_NE(cap, nullptr);
    EXPECT_FLOAT_EQ(cap->width, 2 * cap->height);
    // The Backspace cap keeps its shape, so its button is wider by the difference.
    float h = bar.buttons()[0].rect.h;
    EXPECT_NEAR(bar.buttons()[0].rect.w - bar.buttons()[1].rect.w, h * CbuttonBar::kGlyphHeight, 1.0f);
    // A pad's glyphs are square: the bar makes room for them when the pad is used.
    stepAndDraw(DEVICE_CONTROLLER);
    EXPECT_NEAR(bar.buttons()[0].rect.w, bar.buttons()[1].rect.w, 0.5f);
    stepAndDraw(DEVICE_KEYBOARD_MOUSE);
    EXPECT_GT(bar.buttons()[0].rect.w, bar.buttons()[1].rect.w + 10.0f);
}
