#include "engine/render/renderer.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/engine.h"
#include "engine/render/glBackend.h"
#include "engine/render/sprite.h"
#include "engine/render/texture.h"

Crenderer::Crenderer() = default;
Crenderer::~Crenderer() = default;

float Crenderer::screenW() const { return gEngine && gEngine->screenWidth > 0 ? (float)gEngine->screenWidth : 1280.0f; }
float Crenderer::screenH() const { return gEngine && gEngine->screenHeight > 0 ? (float)gEngine->screenHeight : 720.0f; }

bool Crenderer::init(ErenderBackend backend) {
    if (backend_ != RENDER_NONE) shutdown();
    // The batch grows with the most quads a flush has held, up to kMaxQuads:
    // a full-size one would keep 2 MiB the menus never use.
    vertices_.clear();
    calls_.clear();
    lightSets_.assign(1, {});
    lightAmbient_.assign(1, Ccolour(0.25f, 0.25f, 0.3f, 1));
    quadCount_ = 0;
    if (backend == RENDER_GL) {
        gl_ = std::make_unique<CglBackend>();
        if (!gl_->init(kMaxQuads)) {
            gl_.reset();
            gEngine->log.print(LOG_E, "Renderer: can't start OpenGL");
            return false;
        }
    }
    backend_ = backend;
    gEngine->log.print(LOG_L, "Renderer: %s", backend == RENDER_GL ? "OpenGL 3.3" : "null");
    return backend != RENDER_NONE;
}

void Crenderer::shutdown() {
    if (gl_) gl_->shutdown();
    gl_.reset();
    backend_ = RENDER_NONE;
    quadCount_ = 0;
    calls_.clear();
    scissors_.clear();
    ++scissorSerial_;
}

void Crenderer::beginFrame() {
    ++framesBegun_;
    quadCount_ = 0;
    calls_.clear();
    scissors_.clear();
    ++scissorSerial_;
    auto lights = lightSets_.empty() ? std::vector<CshaderLight>() : lightSets_.back();
    Ccolour ambient = lightAmbient_.empty() ? Ccolour(0.25f, 0.25f, 0.3f, 1) : lightAmbient_.back();
    lightSets_.assign(1, lights);
    lightAmbient_.assign(1, ambient);
    frameQuads_ = frameDrawCalls_ = 0;
    flushes_.clear();
    quadRecords_.clear();
    gEngine->fonts.trimCache(framesBegun_);
    if (gl_) gl_->beginFrame(gEngine->windowWidth, gEngine->windowHeight, clearColour_);
}

void Crenderer::flush() {
    if (quadCount_ == 0) return;
    if (gl_) {
        gl_->draw(vertices_.data(), quadCount_, calls_, lightSets_, lightAmbient_, screenW(), screenH(),
                  gEngine->windowWidth, gEngine->windowHeight);
    } else if (recording) {
        CflushRecord r;
        r.quads = quadCount_;
        r.calls = calls_;
        flushes_.push_back(std::move(r));
    }
    frameDrawCalls_ += (int)calls_.size();
    quadCount_ = 0;
    calls_.clear();
    // Keep only the lights in force.
    if (lightSets_.size() > 1) {
        lightSets_.erase(lightSets_.begin(), lightSets_.end() - 1);
        lightAmbient_.erase(lightAmbient_.begin(), lightAmbient_.end() - 1);
    }
}

void Crenderer::addQuad(const Cquad& q) {
    if (q.rotation == 0) {
        putQuad(q, 1, 0, 0);
        return;
    }
    const float rad = degToRad(q.rotation);
    putQuad(q, std::cos(rad), std::sin(rad), q.rotation);
}

void Crenderer::addQuadTurned(const Cquad& q, float c, float s) {
    // The angle only for the null backend's record.
    const float degrees = !gl_ && recording ? std::atan2(s, c) * (180.0f / kPi) : 0;
    putQuad(q, c, s, degrees);
}

void Crenderer::putQuad(const Cquad& q, float c, float s, float degrees) {
    if (backend_ == RENDER_NONE) return;
    if (quadCount_ >= kMaxQuads) flush();

    const Csprite* sprite = q.sprite;
    Ctexture* tex = sprite ? sprite->texture : q.texture;
    if (!tex) tex = gEngine->textures.white();
    if (q.mode == DRAW_NORMAL_MAP && sprite && sprite->normalMap) {
        // The light program reads the image and its normal map at the same coordinates.
        gEngine->textures.keepUnpacked(tex);
        gEngine->textures.keepUnpacked(sprite->normalMap->texture);
    }
    unsigned texId = tex ? tex->id() : 0;
    float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
    // A texture that failed to load draws the whole placeholder.
    Ctexture* drawn = tex && tex->failed() ? gEngine->textures.placeholder() : tex;
    if (sprite && drawn == tex) {
        u0 = sprite->u0;
        v0 = sprite->v0;
        u1 = sprite->u1;
        v1 = sprite->v1;
    }
    if (drawn && drawn->isPacked()) {
        drawn->mapUv(u0, v0);
        drawn->mapUv(u1, v1);
    }
    float w = q.width, h = q.height;
    if (w <= 0) w = sprite ? sprite->width : (q.texture ? (float)q.texture->width : 0);
    if (h <= 0) h = sprite ? sprite->height : (q.texture ? (float)q.texture->height : 0);

    float cx = q.centre.x, cy = q.centre.y;
    if (camera_) {
        float scale = camera_->scaleAt(q.centre.z);
        if (scale <= 0) return;   // at or behind the camera
        cx = (cx - camera_->pos.x) * scale + screenW() * 0.5f + shake_.x;
        cy = (cy - camera_->pos.y) * scale + screenH() * 0.5f + shake_.y;
        w *= scale;
        h *= scale;
    }
    if (w <= 0 || h <= 0) return;

    // The state this quad needs, compared with the open call's field by field
    // (a whole call made up on the stack to compare costs more than the rest).
    EdrawMode mode = q.mode;
    unsigned normalTexture = 0;
    int lightSet = 0;
    if (mode == DRAW_NORMAL_MAP) {
        const Csprite* n = sprite ? sprite->normalMap : nullptr;
        // Both are read at the same coordinates: neither may sit in an atlas.
        if (n && n->texture && n->texture->id() && !n->texture->isPacked() && !(drawn && drawn->isPacked())) {
            normalTexture = n->texture->id();
            lightSet = (int)lightSets_.size() - 1;
        } else {
            mode = DRAW_PLAIN;   // nothing to light it with
        }
    }
    const bool scissorOn = !scissors_.empty();
    const CdrawCall* open = calls_.empty() ? nullptr : &calls_.back();
    const bool same = open && open->texture == texId && open->mode == mode && open->scissorOn == scissorOn &&
                      (mergeBlends_ || open->blend == q.blend) &&
                      (!scissorOn || openScissor_ == scissorSerial_ || open->scissor == scissors_.back()) &&
                      (mode != DRAW_NORMAL_MAP || (open->normalTexture == normalTexture && open->lightSet == lightSet)) &&
                      (mode != DRAW_COLOUR_KEY || open->key == colourKey_);
    if (!same) {
        CdrawCall call;
        call.texture = texId;
        call.mode = mode;
        call.blend = q.blend;
        call.normalTexture = normalTexture;
        call.lightSet = lightSet;
        if (mode == DRAW_COLOUR_KEY) call.key = colourKey_;
        call.scissorOn = scissorOn;
        if (scissorOn) call.scissor = scissors_.back();
        call.firstQuad = quadCount_;
        call.quadCount = 0;
        calls_.push_back(call);
    }
    openScissor_ = scissorSerial_;
    ++calls_.back().quadCount;

    // The corners are the centre plus or minus the turned half width and half
    // height, written straight into the batch in their final form.
    const float hw = w * 0.5f, hh = h * 0.5f;
    const float hwc = hw * c, hws = hw * s, hhc = hh * c, hhs = hh * s;
    const uint32_t col = packColour(q.colour);
    const float additive = q.blend == BLEND_ADDITIVE ? 1.0f : 0.0f;
    if ((size_t)quadCount_ * 4 >= vertices_.size())
        vertices_.resize((size_t)std::clamp(quadCount_ * 2, kFirstBatchQuads, kMaxQuads) * 4);
    CquadVertex* v = &vertices_[(size_t)quadCount_ * 4];
    v[0] = {(cx - hwc) + hhs, (cy - hws) - hhc, u0, v0, col, c, s, additive};
    v[1] = {(cx + hwc) + hhs, (cy + hws) - hhc, u1, v0, col, c, s, additive};
    v[2] = {(cx + hwc) - hhs, (cy + hws) + hhc, u1, v1, col, c, s, additive};
    v[3] = {(cx - hwc) - hhs, (cy - hws) + hhc, u0, v1, col, c, s, additive};
    ++quadCount_;
    ++frameQuads_;

    if (!gl_ && recording) {
        CquadRecord r;
        r.texture = texId;
        r.x = cx;
        r.y = cy;
        r.width = w;
        r.height = h;
        r.rotation = degrees;
        r.colour = q.colour;
        r.mode = mode;
        r.blend = q.blend;
        r.scissorOn = scissorOn;
        if (scissorOn) r.scissor = scissors_.back();
        r.u0 = u0;
        r.v0 = v0;
        r.u1 = u1;
        r.v1 = v1;
        quadRecords_.push_back(r);
    }
}

void Crenderer::drawSprite(const Csprite* sprite, float x, float y, float scale, const Ccolour& colour, float rotation) {
    if (!sprite) sprite = gEngine->sprites.placeholder();
    if (!sprite) return;
    Cquad q;
    q.sprite = sprite;
    q.centre = Cvec3(x, y, 0);
    q.colour = colour;
    q.rotation = rotation;
    q.width = sprite->width * scale;
    q.height = sprite->height * scale;
    addQuad(q);
}

void Crenderer::drawRect(const Crect& r, const Ccolour& colour) {
    if (r.empty()) return;
    Cquad q;
    q.centre = Cvec3(r.cx(), r.cy(), 0);
    q.width = r.w;
    q.height = r.h;
    q.colour = colour;
    const Ccamera* cam = camera_;
    camera_ = nullptr;   // rectangles are screen pixels
    addQuad(q);
    camera_ = cam;
}

void Crenderer::drawLine(float x0, float y0, float x1, float y1, float thickness, const Ccolour& colour) {
    float dx = x1 - x0, dy = y1 - y0;
    float len = std::sqrt(dx * dx + dy * dy);
    if (len <= 0 || thickness <= 0) return;
    Cquad q;
    q.centre = Cvec3((x0 + x1) * 0.5f, (y0 + y1) * 0.5f, 0);
    q.width = len;
    q.height = thickness;
    q.colour = colour;
    addQuadTurned(q, dx / len, dy / len);
}

void Crenderer::drawRectPixels(float opacity) { drawRectPixels(Crect{0, 0, screenW(), screenH()}, opacity); }

void Crenderer::drawRectPixels(const Crect& r, float opacity) { drawRect(r, Ccolour(0, 0, 0, clampf(opacity, 0, 1))); }

void Crenderer::drawRectPixelsColour(const Ccolour& colour, float alpha) {
    drawRect(Crect{0, 0, screenW(), screenH()}, colour.withAlpha(clampf(alpha, 0, 1)));
}

void Crenderer::drawFrame(float left, float top, float right, float bottom, float thickness, const Ccolour& colour) {
    if (right <= left || bottom <= top || thickness <= 0) return;
    float t = std::min(thickness, std::min((right - left) * 0.5f, (bottom - top) * 0.5f));
    drawRect(Crect::fromEdges(left, top, right, top + t), colour);
    drawRect(Crect::fromEdges(left, bottom - t, right, bottom), colour);
    drawRect(Crect::fromEdges(left, top + t, left + t, bottom - t), colour);
    drawRect(Crect::fromEdges(right - t, top + t, right, bottom - t), colour);
}

void Crenderer::drawPanel(const Crect& r, float thickness, const Ccolour& frameColour, const Ccolour& fillColour) {
    if (r.empty()) return;
    float t = std::max(thickness, 0.0f);
    drawRect(Crect::fromEdges(r.x + t, r.y + t, r.right() - t, r.bottom() - t), fillColour);
    drawFrame(r.x, r.y, r.right(), r.bottom(), t, frameColour);
}

void Crenderer::pushScissor(const Crect& r) {
    Crect clip = scissors_.empty() ? r : r.intersect(scissors_.back());
    scissors_.push_back(clip);
    ++scissorSerial_;
}

bool Crenderer::popScissor() {
    if (scissors_.empty()) {
        gEngine->log.print(LOG_E, "POP error!");
        return false;
    }
    scissors_.pop_back();
    ++scissorSerial_;
    return true;
}

void Crenderer::setLights(const CshaderLight* lights, int count, const Ccolour& ambient) {
    std::vector<CshaderLight> set;
    for (int i = 0; lights && i < count && i < kMaxLights; ++i) set.push_back(lights[i]);
    // Quads already batched keep the lights they were added under.
    bool used = false;
    for (const auto& c : calls_)
        if (c.mode == DRAW_NORMAL_MAP && c.lightSet == (int)lightSets_.size() - 1) used = true;
    if (used || lightSets_.empty()) {
        lightSets_.push_back(std::move(set));
        lightAmbient_.push_back(ambient);
    } else {
        lightSets_.back() = std::move(set);
        lightAmbient_.back() = ambient;
    }
}

bool Crenderer::readPixels(int left, int top, int width, int height) {
    pixels_.clear();
    pixelW_ = pixelH_ = 0;
    if (backend_ == RENDER_NONE) {
        gEngine->log.print(LOG_E, "readPixels: no renderer");
        return false;
    }
    if (width <= 0 || height <= 0) {
        gEngine->log.print(LOG_E, "readPixels: empty rectangle %d,%d %dx%d", left, top, width, height);
        return false;
    }
    const int64_t sw = (int64_t)screenW(), sh = (int64_t)screenH();
    int64_t l = std::max<int64_t>(left, 0), t = std::max<int64_t>(top, 0);
    int64_t r = std::min<int64_t>((int64_t)left + width, sw), b = std::min<int64_t>((int64_t)top + height, sh);
    if (r <= l || b <= t) {
        gEngine->log.print(LOG_E, "readPixels: rectangle %d,%d %dx%d lies outside the screen", left, top, width, height);
        return false;
    }
    if (l != left || t != top || r - l != width || b - t != height)
        gEngine->log.print(LOG_V, "readPixels: clipped to %d,%d %dx%d", (int)l, (int)t, (int)(r - l), (int)(b - t));

    // Virtual screen to window pixels.
    const int winW = gEngine->windowWidth > 0 ? gEngine->windowWidth : (int)sw;
    const int winH = gEngine->windowHeight > 0 ? gEngine->windowHeight : (int)sh;
    const double sx = (double)winW / (double)sw, sy = (double)winH / (double)sh;
    int x0 = (int)std::lround(l * sx), x1 = (int)std::lround(r * sx);
    int y0 = (int)std::lround(t * sy), y1 = (int)std::lround(b * sy);
    x1 = std::min(x1, winW);
    y1 = std::min(y1, winH);
    if (x1 <= x0 || y1 <= y0) {
        gEngine->log.print(LOG_E, "readPixels: rectangle %d,%d %dx%d is under a pixel", left, top, width, height);
        return false;
    }
    const int w = x1 - x0, h = y1 - y0;
    flush();   // what is batched belongs in the picture
    std::vector<uint8_t> buf((size_t)w * h * 4);
    if (gl_) {
        if (!gl_->readPixels(x0, y0, w, h, winH, buf.data())) return false;
    } else {
        const uint32_t c = packColour(clearColour_);
        for (size_t i = 0; i < (size_t)w * h; ++i) memcpy(&buf[i * 4], &c, 4);
    }
    pixels_ = std::move(buf);
    pixelW_ = w;
    pixelH_ = h;
    return true;
}

bool Crenderer::saveScreenshotPng(const std::string& fileName, bool opaque) {
    if (pixels_.empty() || pixelW_ <= 0 || pixelH_ <= 0) {
        gEngine->log.print(LOG_E, "Save PNG: Failed: %s (no pixels read)", fileName.c_str());
        return false;
    }
    std::vector<uint8_t> copy = pixels_;
    if (opaque)
        for (size_t i = 3; i < copy.size(); i += 4) copy[i] = 255;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(copy.data(), pixelW_, pixelH_, 32, pixelW_ * 4,
                                                        SDL_PIXELFORMAT_ABGR8888);
    if (!s) {
        gEngine->log.print(LOG_E, "Save PNG: Failed: %s (%s)", fileName.c_str(), SDL_GetError());
        return false;
    }
    // Written aside and renamed, so a failed write never leaves half a picture.
    std::string tmp = fileName + ".tmp";
    int rc = IMG_SavePNG(s, tmp.c_str());
    SDL_FreeSurface(s);
    if (rc != 0 || std::rename(tmp.c_str(), fileName.c_str()) != 0) {
        gEngine->log.print(LOG_E, "Save PNG: Failed: %s (%s)", fileName.c_str(), rc != 0 ? IMG_GetError() : "rename");
        std::remove(tmp.c_str());
        return false;
    }
    gEngine->log.print(LOG_L, "Save PNG: Success: %s", fileName.c_str());
    return true;
}

Ctexture* Crenderer::grabScreenTexture() {
    if (pixels_.empty()) {
        gEngine->log.print(LOG_E, "grabScreenTexture: no pixels read");
        return nullptr;
    }
    return gEngine->textures.createFromPixels("ScreenGrab", pixels_.data(), pixelW_, pixelH_);
}

unsigned Crenderer::createTexture(int width, int height, const uint8_t* rgba, int pitchBytes) {
    if (width <= 0 || height <= 0) return 0;
    if (gl_) return gl_->createTexture(width, height, rgba, pitchBytes);
    if (backend_ == RENDER_NULL) return nextFakeTexture_++;
    return 0;
}

void Crenderer::updateTexture(unsigned id, int x, int y, int width, int height, const uint8_t* rgba) {
    if (gl_ && id && rgba && width > 0 && height > 0) gl_->updateTexture(id, x, y, width, height, rgba);
}

void Crenderer::deleteTexture(unsigned id) {
    if (gl_) gl_->deleteTexture(id);
}

unsigned Crenderer::growTexture(unsigned id, int width, int height, int newHeight) {
    if (!id || width <= 0 || height <= 0 || newHeight < height) return 0;
    if (!gl_) return backend_ == RENDER_NULL ? id : 0;
    // Quads already taken read the old texture at the old coordinates.
    flush();
    return gl_->growTexture(id, width, height, newHeight);
}
