#include "glWindow.h"

#include <cstdlib>
#include <cstring>

#include "engine/engine.h"

// These programs draw in a real window: SDL is told to use X before anything
// starts it, unless the run names another real driver (the tests' main would
// otherwise choose the headless one). The data folder is the build's unless
// the run names another.
static const bool chooseWindowAndData = [] {
    const char* driver = getenv("SDL_VIDEODRIVER");
    if (!driver || !strcmp(driver, "dummy")) setenv("SDL_VIDEODRIVER", "x11", 1);
    setenv("ZORBEX_DATA", ZX_BUILD_DATA, 0);
    return true;
}();
// The X, D-Bus and Mesa libraries keep allocations past exit that the leak
// checker would report; our own code's leaks are caught by the headless tests.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

CglTestWindow::~CglTestWindow() { close(); }

bool CglTestWindow::open(int width, int height) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error = std::string("SDL video: ") + SDL_GetError();
        return false;
    }
    sdlStarted_ = true;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    window_ = SDL_CreateWindow("Zorbex render test", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                               SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (!window_) {
        error = std::string("window: ") + SDL_GetError();
        return false;
    }
    context_ = SDL_GL_CreateContext(window_);
    if (!context_) {
        error = std::string("GL context: ") + SDL_GetError();
        return false;
    }
    SDL_GL_MakeCurrent(window_, context_);
    SDL_GL_SetSwapInterval(0);
    int dw = 0, dh = 0;
    SDL_GL_GetDrawableSize(window_, &dw, &dh);
    gEngine->windowWidth = dw;
    gEngine->windowHeight = dh;
    return true;
}

void CglTestWindow::close() {
    if (context_) SDL_GL_DeleteContext(context_);
    if (window_) SDL_DestroyWindow(window_);
    context_ = nullptr;
    window_ = nullptr;
    if (sdlStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    sdlStarted_ = false;
}

void CglTestWindow::swap() {
    if (window_) SDL_GL_SwapWindow(window_);
}
