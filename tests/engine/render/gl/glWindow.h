#pragma once
// A real window with a GL 3.3 core context, for tests run under Xvfb.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "engine/render/render.h"
#include "support/testEngine.h"

class CglTestWindow {
public:
    ~CglTestWindow();
    // Opens the window, makes its context current and sets the engine's window size.
    bool open(int width, int height);
    void close();
    void swap();
    std::string error;

private:
    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
    bool sdlStarted_ = false;
};

// A test with the engine, its 1280 x 720 window and the GL renderer up.
class CglTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(eng.initOk());
        ASSERT_TRUE(window.open(1280, 720)) << window.error;
        ASSERT_TRUE(initRendering(RENDER_GL));
    }
    void TearDown() override {
        if (gEngine && gEngine->renderer.isReady()) shutdownRendering();
        window.close();
    }
    CtestEngine eng;
    CglTestWindow window;
};
