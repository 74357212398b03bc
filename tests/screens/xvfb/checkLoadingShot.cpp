// Checks the picture the loading screen saved under Xvfb: the logo, the bar
// (its fill from the left end, the rest in the menu colour) and the warning
// lines are on it. Usage: check_loading_shot <png>
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>

namespace {
int failures = 0;

void check(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok  " : "FAIL", what);
    if (!ok) ++failures;
}

struct Cshot {
    SDL_Surface* s = nullptr;
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < s->w && y < s->h; }
    int sum(int x, int y) const {
        if (!inside(x, y)) return 0;
        const uint8_t* p = (const uint8_t*)s->pixels + (size_t)y * s->pitch + (size_t)x * 4;
        return p[0] + p[1] + p[2];
    }
    int blue(int x, int y) const {
        return inside(x, y) ? ((const uint8_t*)s->pixels)[(size_t)y * s->pitch + (size_t)x * 4 + 2] : 0;
    }
    // Pixels of a rectangle brighter than threshold.
    int bright(int x0, int y0, int w, int h, int threshold = 300) const {
        int n = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                if (sum(x, y) > threshold) ++n;
        return n;
    }
};
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    SDL_Surface* raw = IMG_Load(argv[1]);
    check(raw != nullptr, "the loading picture was saved");
    if (!raw) return 1;
    Cshot shot;
    shot.s = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_ABGR8888, 0);
    SDL_FreeSurface(raw);
    const int w = shot.s->w, h = shot.s->h, cx = w / 2, cy = h / 2;
    const float k = h / 720.0f;   // layout pixels to picture pixels

    // The logo, centred 100 above the middle.
    check(shot.bright(cx - (int)(200 * k), cy - (int)(150 * k), (int)(400 * k), (int)(100 * k)) > 800,
          "the logo is drawn above the centre");
    // The bar, 530 wide, 150 below the middle: lit from its left end ...
    const int barY = cy + (int)(150 * k), barLeft = cx - (int)(265 * k);
    check(shot.bright(barLeft + 1, barY - 2, (int)(10 * k), 4) >= 20, "the bar's fill starts at its left end");
    // ... and where it is not yet filled, the dark blue of the menus.
    const int rx = cx + (int)(255 * k);
    check(shot.sum(rx, barY) < 150 && shot.blue(rx, barY) > shot.sum(rx - (int)(600 * k), barY) / 3 + 5,
          "the rest of the bar shows its background");
    // Nothing between the logo and the bar.
    check(shot.bright(cx - (int)(250 * k), cy + (int)(10 * k), (int)(500 * k), (int)(60 * k)) == 0,
          "the space between logo and bar is empty");
    // The three warning lines along the bottom.
    check(shot.bright(cx - (int)(100 * k), h - (int)(135 * k), (int)(200 * k), (int)(30 * k)) > 200,
          "the WARNING line is drawn");
    check(shot.bright(cx - (int)(400 * k), h - (int)(85 * k), (int)(800 * k), (int)(60 * k)) > 800,
          "the two warning lines are drawn");
    SDL_FreeSurface(shot.s);
    return failures == 0 ? 0 : 1;
}
