#include "engine/render/sprite.h"

#include <dirent.h>

#include <algorithm>
#include <atomic>
#include <cmath>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/resourceFile.h"

void Csprite::setRegion(int x, int y, int w, int h) {
    srcX = x;
    srcY = y;
    srcW = w;
    srcH = h;
    width = (float)w;
    height = (float)h;
    if (texture && texture->width > 0 && texture->height > 0) {
        u0 = (float)x / (float)texture->width;
        v0 = (float)y / (float)texture->height;
        u1 = (float)(x + w) / (float)texture->width;
        v1 = (float)(y + h) / (float)texture->height;
    }
}

namespace {
float softAlpha(float dx, float dy) {
    float d2 = dx * dx + dy * dy;
    return d2 >= 1.0f ? 0.0f : std::exp(-d2 * 4.0f) * (1.0f - d2);
}
float ringAlpha(float dx, float dy) {
    float d = std::sqrt(dx * dx + dy * dy);
    float e = (d - 0.8f) / 0.12f;
    return d >= 1.0f ? 0.0f : std::exp(-e * e);
}
float sparkAlpha(float dx, float dy) {
    // A streak along x.
    float ax = 1.0f - std::fabs(dx);
    float e = dy / 0.18f;
    return ax <= 0 ? 0.0f : ax * std::exp(-e * e);
}
float starAlpha(float dx, float dy) {
    float a = std::fabs(dx), b = std::fabs(dy);
    float arms = std::exp(-(a * b) * 60.0f) * (1.0f - std::max(a, b));
    return clampf(arms + softAlpha(dx * 2.5f, dy * 2.5f), 0.0f, 1.0f);
}
}  // namespace

void CspriteMgr::makeBuiltin(const char* name, int size, float (*alpha)(float, float)) {
    std::vector<uint8_t> px((size_t)size * size * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float dx = ((float)x + 0.5f) / (float)size * 2.0f - 1.0f;
            float dy = ((float)y + 0.5f) / (float)size * 2.0f - 1.0f;
            uint8_t* p = &px[((size_t)y * size + x) * 4];
            p[0] = p[1] = p[2] = 255;
            p[3] = (uint8_t)(clampf(alpha(dx, dy), 0.0f, 1.0f) * 255.0f + 0.5f);
        }
    Ctexture* t = gEngine->textures.createFromPixels(name, px.data(), size, size, PACK_IMAGES);
    if (t) createSprite(name, t);
}

void CspriteMgr::init() {
    if (!white_ && gEngine->textures.white()) {
        white_ = createSprite("builtin_white", gEngine->textures.white());
    }
    if (!placeholder_ && gEngine->textures.placeholder()) {
        placeholder_ = createSprite("builtin_placeholder", gEngine->textures.placeholder());
        if (placeholder_) {
            placeholder_->placeholder = true;
            placeholder_->width = placeholder_->height = 64;
        }
    }
    if (!findSprite("builtin_soft", false)) makeBuiltin("builtin_soft", 64, softAlpha);
    if (!findSprite("builtin_ring", false)) makeBuiltin("builtin_ring", 128, ringAlpha);
    if (!findSprite("builtin_spark", false)) makeBuiltin("builtin_spark", 32, sparkAlpha);
    if (!findSprite("builtin_star", false)) makeBuiltin("builtin_star", 64, starAlpha);
}

uint64_t CspriteMgr::nextGeneration() {
    static std::atomic<uint64_t> last{0};
    return ++last;
}

const Csprite* CspriteRef::find(CspriteMgr& sprites, const std::string& name) {
    if (generation_ != sprites.generation() || name_ != name) {
        name_ = name;
        sprite_ = sprites.findSprite(name, false);
        generation_ = sprites.generation();
    }
    return sprite_;
}

void CspriteMgr::releaseAll() {
    generation_ = nextGeneration();
    byName_.clear();
    sprites_.clear();
    reportedMisses_.clear();
    placeholder_ = white_ = nullptr;
}

Csprite* CspriteMgr::add(std::unique_ptr<Csprite> s) {
    std::string key = toLowerAscii(s->name);
    if (byName_.count(key)) {
        gEngine->log.print(LOG_L, "Sprite defined twice: %s", s->name.c_str());
        return nullptr;
    }
    sprites_.push_back(std::move(s));
    generation_ = nextGeneration();
    Csprite* p = sprites_.back().get();
    byName_[key] = p;
    reportedMisses_.erase(key);
    return p;
}

int CspriteMgr::loadFolder(const std::string& folder) {
    DIR* d = opendir(folder.c_str());
    if (!d) {
        gEngine->log.print(LOG_E, "Can't find sprite folder: %s", folder.c_str());
        return 0;
    }
    std::vector<std::string> names;
    while (dirent* e = readdir(d)) {
        std::string n = e->d_name;
        if (n.size() > 4 && equalsIgnoreCase(n.substr(n.size() - 4), ".png")) names.push_back(n);
    }
    closedir(d);
    std::sort(names.begin(), names.end());   // the same order on every machine
    std::string base = folder;
    if (!base.empty() && base.back() != '/') base += '/';
    int found = 0;
    for (const auto& n : names) {
        if (findSprite(n, false)) continue;
        Ctexture* t = gEngine->textures.addFile(base + n);
        if (t && createSprite(n, t)) ++found;
    }
    gEngine->log.print(LOG_V, "Sprites: %d from %s", found, folder.c_str());
    return found;
}

bool CspriteMgr::loadSheets(const std::string& fileName) {
    CresourceFile file;
    if (!file.open("textFiles/" + fileName, RF_DATA)) return false;
    return loadSheetsFromText(file.text());
}

bool CspriteMgr::loadSheetsFromText(const char* text) {
    const char* c = text;
    std::string tok, name;
    Csprite* sheet = nullptr;
    bool inSheet = false;
    while (Cengine::readToken(tok, c)) {
        if (tok == "EndFile") return true;
        if (tok == "Sheet") {
            Cengine::readToken(name, c);
            sheet = findSprite(name, true);
            inSheet = true;
        } else if (tok == "EndSheet") {
            inSheet = false;
            sheet = nullptr;
        } else if (tok == "Sprite" && inSheet) {
            Cengine::readToken(name, c);
            int x = Cengine::readInt(c), y = Cengine::readInt(c);
            int w = Cengine::readInt(c), h = Cengine::readInt(c);
            if (!sheet) continue;   // the sheet's miss is logged already
            Ctexture* t = sheet->texture;
            if (w <= 0 || h <= 0 || x < 0 || y < 0 || x + w > t->width || y + h > t->height) {
                gEngine->log.print(LOG_E, "Sprite %s lies outside its sheet %s", name.c_str(), sheet->name.c_str());
                continue;
            }
            createSprite(name, t, x, y, w, h);
        } else if (tok == "NormalMap") {
            std::string normalName;
            Cengine::readToken(name, c);
            Cengine::readToken(normalName, c);
            Csprite* s = findSprite(name, true);
            Csprite* n = findSprite(normalName, true);
            if (s && n) {
                // The light program reads both at the same coordinates.
                gEngine->textures.keepUnpacked(s->texture);
                gEngine->textures.keepUnpacked(n->texture);
                s->normalMap = n;
            }
        } else {
            gEngine->log.print(LOG_E, "spriteSheets: unexpected token '%s'", tok.c_str());
            return false;
        }
    }
    return true;
}

size_t CspriteMgr::CnameHash::operator()(const std::string& s) const {
    // FNV-1a over the lower-cased bytes.
    uint64_t h = 1469598103934665603ull;
    for (char c : s) {
        const unsigned char b = (unsigned char)(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        h = (h ^ b) * 1099511628211ull;
    }
    return (size_t)h;
}

bool CspriteMgr::CnameEqual::operator()(const std::string& a, const std::string& b) const {
    return equalsIgnoreCase(a, b);
}

Csprite* CspriteMgr::findSprite(const std::string& name, bool reportMiss) {
    auto it = byName_.find(name);
    if (it != byName_.end()) return it->second;
    if (reportMiss) gEngine->log.print(LOG_L, "Can't find sprite: %s", name.c_str());
    return nullptr;
}

Csprite* CspriteMgr::getSprite(const std::string& name) {
    if (Csprite* s = findSprite(name, false)) return s;
    // Once a name: a screen asking every frame mustn't flood the log.
    if (reportedMisses_.insert(toLowerAscii(name)).second)
        gEngine->log.print(LOG_L, "Can't find sprite: %s", name.c_str());
    return placeholder_;
}

Csprite* CspriteMgr::createSpriteFromMemory(const std::string& name, const void* bytes, size_t size) {
    if (Csprite* s = findSprite(name, false)) return s;
    Ctexture* t = gEngine->textures.createFromImageBytes(name, bytes, size);
    if (!t) return nullptr;
    Csprite* s = createSprite(name, t);
    if (!s) gEngine->textures.destroy(t);
    return s;
}

Csprite* CspriteMgr::createSprite(const std::string& name, Ctexture* texture, int x, int y, int w, int h) {
    if (!texture) return nullptr;
    auto s = std::make_unique<Csprite>();
    s->name = name;
    s->texture = texture;
    if (w <= 0 || h <= 0) {
        x = y = 0;
        w = texture->width;
        h = texture->height;
    }
    s->setRegion(x, y, w, h);
    return add(std::move(s));
}

void CspriteMgr::deleteSprite(Csprite* sprite) {
    if (!sprite || sprite == placeholder_ || sprite == white_) return;
    auto it = std::find_if(sprites_.begin(), sprites_.end(), [&](auto& p) { return p.get() == sprite; });
    if (it == sprites_.end()) return;
    Ctexture* t = sprite->texture;
    generation_ = nextGeneration();
    byName_.erase(toLowerAscii(sprite->name));
    for (auto& s : sprites_)
        if (s->normalMap == sprite) s->normalMap = nullptr;
    sprites_.erase(it);
    bool shared = std::any_of(sprites_.begin(), sprites_.end(), [&](auto& p) { return p->texture == t; });
    if (!shared) gEngine->textures.destroy(t);
}
