#include "engine/render/texture.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/engine.h"
#include "engine/resourceFile.h"

namespace {
bool gImageReady = false;

void initImageLib() {
    if (gImageReady) return;
    if ((IMG_Init(IMG_INIT_PNG) & IMG_INIT_PNG) == 0)
        gEngine->log.print(LOG_E, "IMG_Init failed: %s", IMG_GetError());
    gImageReady = true;
}
}  // namespace

unsigned Ctexture::loadId() {
    if (id_ == 0 && gEngine) gEngine->textures.ensureLoaded(this);
    if (id_ != 0) return id_;
    Ctexture* p = gEngine ? gEngine->textures.placeholder() : nullptr;
    return p && p != this ? p->id() : 0;
}

void Ctexture::destroy(Ctexture* texture) {
    if (texture && gEngine) gEngine->textures.destroy(texture);
}

CtextureMgr::CtextureMgr() : images_("images", kImagePageSize, kImagePages), text_("text", kTextPageSize, kTextPages) {}

CtextureMgr::~CtextureMgr() {
    // The engine is going away: the backend's textures go with its context.
    textures_.clear();
}

void CtextureMgr::init() {
    if (!white_) {
        const uint8_t px[4] = {255, 255, 255, 255};
        white_ = createFromPixels("builtin_white", px, 1, 1, PACK_IMAGES);
    }
    if (!placeholder_) {
        // Magenta and black checks: plainly not meant to be there.
        uint8_t px[16 * 16 * 4];
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                uint8_t* p = px + (y * 16 + x) * 4;
                bool on = ((x / 4) + (y / 4)) % 2 == 0;
                p[0] = on ? 255 : 0;
                p[1] = 0;
                p[2] = on ? 255 : 0;
                p[3] = 255;
            }
        placeholder_ = createFromPixels("builtin_placeholder", px, 16, 16, PACK_IMAGES);
    }
}

void CtextureMgr::releaseAll() {
    for (auto& t : textures_)
        if (t->id_ && !t->isPacked()) gEngine->renderer.deleteTexture(t->id_);
    textures_.clear();
    images_.releaseAll();
    text_.releaseAll();
    white_ = placeholder_ = nullptr;
}

Ctexture* CtextureMgr::adopt(std::unique_ptr<Ctexture> t) {
    textures_.push_back(std::move(t));
    return textures_.back().get();
}

bool CtextureMgr::readPngSize(const std::string& path, int& width, int& height) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return false;
    uint8_t h[24];
    size_t got = fread(h, 1, sizeof h, f);
    fclose(f);
    static const uint8_t sig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (got != sizeof h || memcmp(h, sig, 8) != 0 || memcmp(h + 12, "IHDR", 4) != 0) return false;
    auto be32 = [](const uint8_t* p) { return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3]; };
    uint32_t w = be32(h + 16), hh = be32(h + 20);
    if (w == 0 || hh == 0 || w > 16384 || hh > 16384) return false;
    width = (int)w;
    height = (int)hh;
    return true;
}

SDL_Surface* CtextureMgr::decode(const void* bytes, size_t size, const std::string& what) {
    initImageLib();
    if (!bytes || size == 0 || size > (size_t)INT32_MAX) {
        gEngine->log.print(LOG_E, "Can't load image: %s (no data)", what.c_str());
        return nullptr;
    }
    // PNG alone: every image of the game is one, and images come from outside
    // (hulls of shared ships, a modded data folder), so no other format's
    // reader is ever handed their bytes.
    SDL_RWops* rw = SDL_RWFromConstMem(bytes, (int)size);
    SDL_Surface* raw = nullptr;
    if (rw && IMG_isPNG(rw)) raw = IMG_LoadPNG_RW(rw);
    else IMG_SetError("not a PNG image");
    if (rw) SDL_RWclose(rw);
    if (!raw) {
        gEngine->log.print(LOG_E, "Can't load image: %s (%s)", what.c_str(), IMG_GetError());
        return nullptr;
    }
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_ABGR8888, 0);
    SDL_FreeSurface(raw);
    if (!rgba) gEngine->log.print(LOG_E, "Can't convert image: %s (%s)", what.c_str(), SDL_GetError());
    return rgba;
}

bool CtextureMgr::upload(Ctexture* t, const uint8_t* rgba, int width, int height, int pitchBytes,
                         EtexturePacking packing) {
    t->width = width;
    t->height = height;
    CtextureAtlas* atlas = packing == PACK_IMAGES ? &images_ : packing == PACK_TEXT ? &text_ : nullptr;
    if (atlas && packing_ && !t->keepUnpacked_ && atlas->fits(width, height)) {
        CatlasCell cell;
        const int growths = atlas->growths();
        if (atlas->place(width, height, rgba, pitchBytes, cell)) {
            t->atlas_ = atlas;
            t->cell_ = cell;
            mapToPage(t);
            // A page grew: its images have a new id and new coordinates.
            if (atlas->growths() != growths)
                for (auto& other : textures_)
                    if (other->atlas_ == atlas) mapToPage(other.get());
            return t->id_ != 0;
        }
    }
    // Too big for a page, or every page full: a texture of its own.
    t->id_ = gEngine->renderer.createTexture(width, height, rgba, pitchBytes);
    return t->id_ != 0;
}

void CtextureMgr::mapToPage(Ctexture* t) {
    const CtextureAtlas& atlas = *t->atlas_;
    const CatlasCell& cell = t->cell_;
    t->id_ = atlas.pageId(cell.page);
    const float width = (float)atlas.pageSize(), height = (float)atlas.pageHeight(cell.page);
    t->uScale_ = (float)cell.w / width;
    t->vScale_ = (float)cell.h / height;
    t->uOffset_ = (float)cell.x / width;
    t->vOffset_ = (float)cell.y / height;
}

bool CtextureMgr::upload(Ctexture* t, SDL_Surface* rgba) {
    SDL_LockSurface(rgba);
    bool ok = upload(t, (const uint8_t*)rgba->pixels, rgba->w, rgba->h, rgba->pitch, PACK_IMAGES);
    SDL_UnlockSurface(rgba);
    return ok;
}

void CtextureMgr::releaseBackend(Ctexture* t) {
    if (t->isPacked()) t->atlas_->release(t->cell_);
    else if (t->id_) gEngine->renderer.deleteTexture(t->id_);
    t->atlas_ = nullptr;
    t->cell_ = CatlasCell();
    t->uScale_ = t->vScale_ = 1;
    t->uOffset_ = t->vOffset_ = 0;
    t->id_ = 0;
}

void CtextureMgr::keepUnpacked(Ctexture* t) {
    if (!t) return;
    t->keepUnpacked_ = true;
    // A file texture is read again on its next draw, now on its own.
    if (t->isPacked() && !t->path_.empty()) releaseBackend(t);
}

Ctexture* CtextureMgr::addFile(const std::string& path) {
    int w = 0, h = 0;
    if (!readPngSize(path, w, h)) {
        gEngine->log.print(LOG_E, "Can't load image: %s (not a PNG)", path.c_str());
        return nullptr;
    }
    auto t = std::make_unique<Ctexture>();
    t->name = path;
    t->path_ = path;
    t->width = w;
    t->height = h;
    return adopt(std::move(t));
}

bool CtextureMgr::ensureLoaded(Ctexture* t) {
    if (!t || t->id_ || t->failed_) return t && t->id_;
    if (!gEngine->renderer.isReady()) return false;
    if (t->path_.empty()) {
        t->failed_ = true;
        return false;
    }
    if (!gEngine->renderer.isGl()) {
        // Nothing is drawn: the header's size is all that's needed.
        return upload(t, nullptr, t->width, t->height, 0, PACK_IMAGES);
    }
    Cbytes bytes;
    SDL_Surface* s = nullptr;
    if (CresourceFile::readWholeFile(t->path_, bytes)) s = decode(bytes.data(), bytes.size(), t->path_);
    else gEngine->log.print(LOG_E, "Can't find image file: %s", t->path_.c_str());
    if (!s) {
        t->failed_ = true;
        return false;
    }
    bool ok = upload(t, s);
    SDL_FreeSurface(s);
    if (!ok) t->failed_ = true;
    return ok;
}

Ctexture* CtextureMgr::loadTextureFromMemory(const std::string& imagePath, int* outWidth, int* outHeight) {
    if (outWidth) *outWidth = 0;
    if (outHeight) *outHeight = 0;
    Cbytes bytes;
    if (!CresourceFile::readWholeFile(imagePath, bytes)) {
        gEngine->log.print(LOG_E, "Can't find image file: %s", imagePath.c_str());
        return nullptr;
    }
    Ctexture* t = createFromImageBytes(imagePath, bytes.data(), bytes.size());
    if (t) {
        if (outWidth) *outWidth = t->width;
        if (outHeight) *outHeight = t->height;
    }
    return t;
}

Ctexture* CtextureMgr::createFromImageBytes(const std::string& name, const void* bytes, size_t size) {
    SDL_Surface* s = decode(bytes, size, name);
    if (!s) return nullptr;
    auto t = std::make_unique<Ctexture>();
    t->name = name;
    bool ok = upload(t.get(), s);
    SDL_FreeSurface(s);
    if (!ok && gEngine->renderer.isReady()) return nullptr;
    return adopt(std::move(t));
}

Ctexture* CtextureMgr::createFromPixels(const std::string& name, const uint8_t* rgba, int width, int height,
                                        EtexturePacking packing) {
    if (!rgba || width <= 0 || height <= 0) return nullptr;
    auto t = std::make_unique<Ctexture>();
    t->name = name;
    t->width = width;
    t->height = height;
    if (!gEngine->renderer.isReady()) {
        gEngine->log.print(LOG_E, "Texture made before the renderer: %s", name.c_str());
        return nullptr;
    }
    if (!upload(t.get(), rgba, width, height, width * 4, packing)) return nullptr;
    return adopt(std::move(t));
}

void CtextureMgr::destroy(Ctexture* texture) {
    if (!texture) return;
    auto it = std::find_if(textures_.begin(), textures_.end(), [&](auto& p) { return p.get() == texture; });
    if (it == textures_.end()) return;
    releaseBackend(texture);
    if (texture == white_) white_ = nullptr;
    if (texture == placeholder_) placeholder_ = nullptr;
    textures_.erase(it);
}
