#pragma once
// A real window with a GL 3.3 core context, for tests run under Xvfb.
#include <SDL.h>

#include <string>

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
