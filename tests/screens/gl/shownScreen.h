#pragma once
// The game drawn by the real renderer under Xvfb: a screen reached and its
// picture saved and read back.
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "screensFixture.h"

// A pixel of a picture file.
inline SDL_Color pixelAt(SDL_Surface* s, int x, int y) {
    Uint32 v = 0;
    memcpy(&v, (const uint8_t*)s->pixels + y * s->pitch + x * s->format->BytesPerPixel, s->format->BytesPerPixel);
    SDL_Color c{};
    SDL_GetRGB(v, s->format, &c.r, &c.g, &c.b);
    return c;
}

// The brightest channel of a pixel of a picture file.
inline int brightnessAt(SDL_Surface* s, int x, int y) {
    const SDL_Color c = pixelAt(s, x, y);
    return std::max({(int)c.r, (int)c.g, (int)c.b});
}

// The brightest pixel of a square around a point: a ship drawn there shows.
inline int brightestAround(SDL_Surface* s, int cx, int cy, int half) {
    int best = 0;
    for (int y = std::max(cy - half, 0); y < std::min(cy + half, s->h); ++y)
        for (int x = std::max(cx - half, 0); x < std::min(cx + half, s->w); ++x) best = std::max(best, brightnessAt(s, x, y));
    return best;
}

using Cpicture = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

// The game under GL, in the state asked for once it has settled; a picture of
// the screen is saved under the name given and read back.
struct CshownScreen {
    CscreensGame g;
    std::string folder = "screenshots/unlock";
    bool reach(int mode, int steps) {
        if (!g.initOk() || !gEngine->platform.hasGl()) return false;
        if (mode >= 0) g->setGameMode(mode);
        g.settle(steps);
        return mode < 0 || g.mode() == mode;
    }
    Cpicture take(const char* name) {
        std::filesystem::create_directories(folder);
        const std::string file = folder + "/" + name;
        if (!g->screenCapture.request(0, 0, (float)gEngine->screenWidth, (float)gEngine->screenHeight, file, false))
            return Cpicture(nullptr, SDL_FreeSurface);
        g.steps(2);
        return Cpicture(g->screenCapture.done ? IMG_Load(file.c_str()) : nullptr, SDL_FreeSurface);
    }
};
