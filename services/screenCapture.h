#pragma once
// CscreenCapture: the one pending picture of a rectangle of the finished
// frame, into a PNG file or a texture. A screen asks during its update; the
// game's draw performs it at the end of the next frame, after everything has
// been drawn, so the picture is what the player sees. A second request before
// that draw replaces the first.
#include <functional>
#include <memory>
#include <string>

class Ctexture;

// A texture with one owner: it goes back to the texture manager with its owner.
struct CtextureRelease {
    void operator()(Ctexture* texture) const;
};
using CtexturePtr = std::unique_ptr<Ctexture, CtextureRelease>;

class CscreenCapture {
public:
    static constexpr size_t kMaxFileName = 1024;

    // Into a PNG file (with a grey frame drawn on the rectangle first when
    // frame is set). An empty rectangle or an over-long name is refused.
    bool request(float left, float top, float right, float bottom, const std::string& fileName, bool frame);
    // "Tweet.png" in the working folder, never framed.
    bool requestTweetImage(float left, float top, float right, float bottom);
    // Into a texture, held here until a reader takes it.
    bool requestTexture(float left, float top, float right, float bottom);

    // At the end of the game's draw: does what is pending.
    void perform();

    // The captured texture: the reader that takes it owns it.
    CtexturePtr takeTexture() { return std::move(texture_); }
    const Ctexture* texture() const { return texture_.get(); }

    bool pending = false;
    float left = 0, top = 0, right = 0, bottom = 0;
    std::string fileName;
    bool toFile = false;
    bool frame = false;
    bool done = false;     // the file has been written
    bool failed = false;   // the last capture could not be made
    // Told once whether the pending capture was made; a capture replaced
    // before it was made is told false.
    std::function<void(bool made)> whenDone;

private:
    bool accept(float l, float t, float r, float b);
    void finish(bool made);
    CtexturePtr texture_;
};
