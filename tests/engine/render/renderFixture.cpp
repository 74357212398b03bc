#include "renderFixture.h"

#include <SDL.h>
#include <SDL_image.h>

#include <fstream>
#include <iterator>

void CrenderTest::SetUp() {
    ASSERT_TRUE(eng.initOk());
    ASSERT_TRUE(initRendering(RENDER_NULL));
    gEngine->renderer.beginFrame();
    tmp = makeTempFolder("render");
}

void CrenderTest::TearDown() {
    shutdownRendering();
    removeFolderTree(tmp);
}

int CrenderTest::logCount(const std::string& text) const {
    int n = 0;
    for (const auto& l : gEngine->log.recentLines())
        if (l.text == text) ++n;
    return n;
}

bool writeSolidPng(const std::string& path, int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ABGR8888);
    if (!s) return false;
    SDL_FillRect(s, nullptr, SDL_MapRGBA(s->format, r, g, b, a));
    bool ok = IMG_SavePNG(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

std::vector<uint8_t> readFileBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}
