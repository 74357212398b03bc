#pragma once
// Ctexture and CtextureMgr: images in video memory. A texture registered
// from a file knows its size at once (read from the PNG header) and is
// decoded and uploaded the first time it is drawn. Small images share a few
// large atlas textures (see atlas.h) unless packing is switched off.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/render/atlas.h"

struct SDL_Surface;

// Which atlas an image made from pixels may go into.
enum EtexturePacking { PACK_NONE = 0, PACK_IMAGES = 1, PACK_TEXT = 2 };

class Ctexture {
public:
    std::string name;   // file path, or the name it was made under
    int width = 0, height = 0;

    // The backend's texture id, loading the image first if needed. A texture
    // that can't be loaded answers with the placeholder's id.
    unsigned id() { return id_ != 0 ? id_ : loadId(); }
    bool isLoaded() const { return id_ != 0; }
    bool failed() const { return failed_; }
    // In an atlas, id() is the atlas page's; mapUv turns the image's own
    // texture coordinates (0..1) into the page's.
    bool isPacked() const { return cell_.valid(); }
    void mapUv(float& u, float& v) const {
        u = uOffset_ + u * uScale_;
        v = vOffset_ + v * vScale_;
    }
    const CatlasCell& cell() const { return cell_; }

    // Deletes the texture object and its video-memory texture.
    static void destroy(Ctexture* texture);

private:
    friend class CtextureMgr;
    unsigned loadId();
    unsigned id_ = 0;
    std::string path_;   // empty unless loaded lazily from a file
    bool failed_ = false;
    bool keepUnpacked_ = false;
    CtextureAtlas* atlas_ = nullptr;
    CatlasCell cell_;
    float uScale_ = 1, vScale_ = 1, uOffset_ = 0, vOffset_ = 0;
};

class CtextureMgr {
public:
    static constexpr int kImagePageSize = 2048, kImagePages = 8;
    static constexpr int kTextPageSize = 2048, kTextPages = 2;

    CtextureMgr();
    ~CtextureMgr();
    CtextureMgr(const CtextureMgr&) = delete;
    CtextureMgr& operator=(const CtextureMgr&) = delete;

    // Makes the built-in white and placeholder textures.
    void init();
    // Drops every texture (the backend's textures too while it is alive).
    void releaseAll();

    // A texture of an image file, decoded when first drawn. Null when the
    // file is not a readable PNG.
    Ctexture* addFile(const std::string& path);
    // Reads and decodes an image file now; reports its pixel size.
    Ctexture* loadTextureFromMemory(const std::string& imagePath, int* outWidth, int* outHeight);
    // Decodes image bytes (PNG) now.
    Ctexture* createFromImageBytes(const std::string& name, const void* bytes, size_t size);
    // From RGBA rows, top row first; packed into an atlas when one is named
    // and the image is small enough.
    Ctexture* createFromPixels(const std::string& name, const uint8_t* rgba, int width, int height,
                               EtexturePacking packing = PACK_NONE);
    void destroy(Ctexture* texture);

    // Decodes and uploads a lazily loaded texture; false when it can't.
    bool ensureLoaded(Ctexture* texture);

    // Images loaded from now on go into atlases (on by default).
    void setPacking(bool on) { packing_ = on; }
    bool packing() const { return packing_; }
    // A texture that must keep a texture of its own (a normal map and its
    // sprite are read at the same coordinates); taken out of its atlas when
    // it was packed already.
    void keepUnpacked(Ctexture* texture);
    CtextureAtlas& imageAtlas() { return images_; }
    CtextureAtlas& textAtlas() { return text_; }

    Ctexture* white() { return white_; }
    Ctexture* placeholder() { return placeholder_; }
    size_t count() const { return textures_.size(); }

    // An SDL surface of the image in RGBA byte order, or null with a log line.
    static SDL_Surface* decode(const void* bytes, size_t size, const std::string& what);
    // The size of a PNG from its header; false when it isn't one.
    static bool readPngSize(const std::string& path, int& width, int& height);

private:
    Ctexture* adopt(std::unique_ptr<Ctexture> t);
    bool upload(Ctexture* t, const uint8_t* rgba, int width, int height, int pitchBytes, EtexturePacking packing);
    bool upload(Ctexture* t, SDL_Surface* rgba);
    void releaseBackend(Ctexture* t);
    // A packed texture's id and coordinates from its cell and its page's size now.
    void mapToPage(Ctexture* t);

    std::vector<std::unique_ptr<Ctexture>> textures_;
    Ctexture* white_ = nullptr;
    Ctexture* placeholder_ = nullptr;
    bool packing_ = true;
    CtextureAtlas images_;
    CtextureAtlas text_;
};
