#include "services/screenCapture.h"

#include <cmath>

#include "engine/engine.h"

void CtextureRelease::operator()(Ctexture* texture) const {
    if (texture && gEngine) gEngine->textures.destroy(texture);
}

bool CscreenCapture::accept(float l, float t, float r, float b) {
    if (!std::isfinite(l) || !std::isfinite(t) || !std::isfinite(r) || !std::isfinite(b) || r - l < 1.0f ||
        b - t < 1.0f) {
        gEngine->log.print(LOG_E, "Screen capture refused: empty rectangle %.0f,%.0f - %.0f,%.0f", l, t, r, b);
        return false;
    }
    if (pending) finish(false);
    pending = true;
    left = l;
    top = t;
    right = r;
    bottom = b;
    done = false;
    failed = false;
    texture_.reset();
    return true;
}

bool CscreenCapture::request(float l, float t, float r, float b, const std::string& name, bool withFrame) {
    if (name.empty() || name.size() > kMaxFileName) {
        gEngine->log.print(LOG_E, "Screen capture refused: bad file name (%zu bytes)", name.size());
        return false;
    }
    if (!accept(l, t, r, b)) return false;
    fileName = name;
    toFile = true;
    frame = withFrame;
    return true;
}

bool CscreenCapture::requestTweetImage(float l, float t, float r, float b) { return request(l, t, r, b, "Tweet.png", false); }

bool CscreenCapture::requestTexture(float l, float t, float r, float b) {
    if (!accept(l, t, r, b)) return false;
    fileName.clear();
    toFile = false;
    frame = false;
    return true;
}

void CscreenCapture::finish(bool made) {
    failed = !made;
    if (!whenDone) return;
    auto tell = std::move(whenDone);
    whenDone = nullptr;
    tell(made);
}

void CscreenCapture::perform() {
    if (!pending) return;
    pending = false;
    Crenderer& r = gEngine->renderer;
    if (frame) {
        // The frame is drawn in screen pixels whatever the scene left set.
        const Ccamera* camera = r.camera();
        r.setCamera(nullptr);
        r.drawFrame(left + 1, top + 1, right - 3, bottom - 1, 3, Ccolour(0.25f, 0.25f, 0.25f, 1.0f));
        r.setCamera(camera);
    }
    r.flush();
    int x = (int)std::lround(left), y = (int)std::lround(top);
    int w = (int)std::lround(right) - x, h = (int)std::lround(bottom) - y;
    if (!r.readPixels(x, y, w, h)) {
        finish(false);
        return;
    }
    if (toFile) {
        done = r.saveScreenshotPng(fileName);
        finish(done);
        return;
    }
    texture_.reset(r.grabScreenTexture());
    finish(texture_ != nullptr);
}
