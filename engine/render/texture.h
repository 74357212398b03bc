#pragma once
// Ctexture and CtextureMgr: images in video memory. A texture registered
// from a file knows its size at once (read from the PNG header) and is
// decoded and uploaded the first time it is drawn.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct SDL_Surface;

class Ctexture {
public:
    std::string name;   // file path, or the name it was made under
    int width = 0, height = 0;

    // The backend's texture id, loading the image first if needed. A texture
    // that can't be loaded answers with the placeholder's id.
    unsigned id();
    bool isLoaded() const { return id_ != 0; }
    bool failed() const { return failed_; }

    // Deletes the texture object and its video-memory texture.
    static void destroy(Ctexture* texture);

private:
    friend class CtextureMgr;
    unsigned id_ = 0;
    std::string path_;   // empty unless loaded lazily from a file
    bool failed_ = false;
};

class CtextureMgr {
public:
    CtextureMgr() = default;
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
    // From RGBA rows, top row first.
    Ctexture* createFromPixels(const std::string& name, const uint8_t* rgba, int width, int height);
    void destroy(Ctexture* texture);

    // Decodes and uploads a lazily loaded texture; false when it can't.
    bool ensureLoaded(Ctexture* texture);

    Ctexture* white() { return white_; }
    Ctexture* placeholder() { return placeholder_; }
    size_t count() const { return textures_.size(); }

    // An SDL surface of the image in RGBA byte order, or null with a log line.
    static SDL_Surface* decode(const void* bytes, size_t size, const std::string& what);
    // The size of a PNG from its header; false when it isn't one.
    static bool readPngSize(const std::string& path, int& width, int& height);

private:
    Ctexture* adopt(std::unique_ptr<Ctexture> t);
    bool upload(Ctexture* t, SDL_Surface* rgba);

    std::vector<std::unique_ptr<Ctexture>> textures_;
    Ctexture* white_ = nullptr;
    Ctexture* placeholder_ = nullptr;
};
