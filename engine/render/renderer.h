#pragma once
// Crenderer: one streamed batch of quads, flushed in as few draw calls as the
// state (texture, program, clip, lights) allows. The programs write
// premultiplied colour, so alpha and additive quads share one blend function
// and one draw call; small images share atlas pages (texture.h), so most
// quads share a texture too. Coordinates are
// virtual-screen pixels (gEngine->screenWidth x screenHeight, y down), or
// scene units through a camera. Two backends: OpenGL 3.3 core on the current
// context, and a null backend that draws nothing and records what it was asked
// to draw (headless tests).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/maths.h"
#include "engine/render/camera.h"
#include "engine/render/renderTypes.h"

class Csprite;
class Ctexture;
class CglBackend;

enum ErenderBackend { RENDER_NONE = 0, RENDER_NULL = 1, RENDER_GL = 2 };

// The quad parameter block.
struct Cquad {
    const Csprite* sprite = nullptr;
    Ctexture* texture = nullptr;   // when there is no sprite; neither: a plain colour
    Cvec3 centre;
    Ccolour colour;
    float rotation = 0;              // degrees, clockwise on screen
    float width = 0, height = 0;     // 0: the sprite's (or texture's) size
    EdrawMode mode = DRAW_PLAIN;
    Eblend blend = BLEND_ALPHA;
};

// A light as the normal-map program sees it, in virtual-screen pixels.
struct CshaderLight {
    float x = 0, y = 0, z = 60;   // z: height above the screen
    Ccolour colour;
    float radius = 400;
};

struct CquadVertex {
    float x, y, u, v;
    uint32_t colour;
    float rotCos, rotSin;   // turns the normal map with the quad
    float additive;         // 1: adds to what is below, 0: covers it by its alpha
};

// One draw call: a run of quads that share every state.
struct CdrawCall {
    // Blend modes share a call unless mergeBlends is false.
    unsigned texture = 0, normalTexture = 0;
    EdrawMode mode = DRAW_PLAIN;
    Eblend blend = BLEND_ALPHA;
    bool scissorOn = false;
    Crect scissor;
    int lightSet = 0;
    Ccolour key;
    int firstQuad = 0, quadCount = 0;
};

// What the null backend keeps of each quad, in screen pixels.
struct CquadRecord {
    unsigned texture = 0;
    float u0 = 0, v0 = 0, u1 = 1, v1 = 1;   // in the texture drawn from
    float x = 0, y = 0, width = 0, height = 0, rotation = 0;
    Ccolour colour;
    EdrawMode mode = DRAW_PLAIN;
    Eblend blend = BLEND_ALPHA;
    bool scissorOn = false;
    Crect scissor;
};

struct CflushRecord {
    int quads = 0;
    std::vector<CdrawCall> calls;
};

class Crenderer {
public:
    static constexpr int kMaxQuads = 16384;   // a full batch flushes itself
    static constexpr int kFirstBatchQuads = 1024;
    static constexpr int kMaxLights = 8;

    Crenderer();
    ~Crenderer();
    Crenderer(const Crenderer&) = delete;
    Crenderer& operator=(const Crenderer&) = delete;

    // GL needs a current 3.3 core context; the entry points are loaded here.
    bool init(ErenderBackend backend);
    // Releases the backend; call while the GL context still exists.
    void shutdown();
    bool isReady() const { return backend_ != RENDER_NONE; }
    bool isGl() const { return backend_ == RENDER_GL; }
    ErenderBackend backend() const { return backend_; }

    // Starts a frame: clears to the clear colour, empties the clip stack and the batch.
    void beginFrame();
    // Draws the batch now.
    void flush();
    void addQuad(const Cquad& quad);
    // addQuad turned by the angle whose cosine and sine are given (quad.rotation
    // is not read): for callers that hold a direction, not an angle.
    void addQuadTurned(const Cquad& quad, float cosine, float sine);

    // Convenience over addQuad.
    void drawSprite(const Csprite* sprite, float x, float y, float scale = 1, const Ccolour& colour = Ccolour(),
                    float rotation = 0);
    void drawRect(const Crect& r, const Ccolour& colour);
    void drawLine(float x0, float y0, float x1, float y1, float thickness, const Ccolour& colour);
    // Black over the whole window, or over a rectangle, at an opacity.
    void drawRectPixels(float opacity);
    void drawRectPixels(const Crect& r, float opacity);
    // A colour over the whole window.
    void drawRectPixelsColour(const Ccolour& colour, float alpha);
    // A frame of a thickness inside the rectangle.
    void drawFrame(float left, float top, float right, float bottom, float thickness, const Ccolour& colour);
    void drawPanel(const Crect& r, float thickness, const Ccolour& frameColour, const Ccolour& fillColour);

    // State.
    void setClearColour(const Ccolour& c) { clearColour_ = c; }
    const Ccolour& clearColour() const { return clearColour_; }
    // Quads go through the camera while one is set (scene units); null: screen pixels.
    void setCamera(const Ccamera* camera) { camera_ = camera; }
    const Ccamera* camera() const { return camera_; }
    // Screen-shake offset added to everything drawn through a camera.
    void setShakeOffset(const Cvec2& o) { shake_ = o; }
    // Clip rectangles nest: each is cut to the one below it.
    void pushScissor(const Crect& r);
    bool popScissor();   // "POP error!" when empty
    int scissorDepth() const { return (int)scissors_.size(); }
    void setLights(const CshaderLight* lights, int count, const Ccolour& ambient = Ccolour(0.25f, 0.25f, 0.3f, 1));
    void setColourKey(const Ccolour& key) { colourKey_ = key; }
    const std::vector<CshaderLight>& lights() const { return lightSets_.back(); }

    // Reads a virtual-screen rectangle into the pixel buffer (top row first,
    // RGBA). Clipped to the screen; an empty or outside rectangle is refused.
    bool readPixels(int left, int top, int width, int height);
    const std::vector<uint8_t>& pixels() const { return pixels_; }
    int pixelWidth() const { return pixelW_; }
    int pixelHeight() const { return pixelH_; }
    // Writes the read-back pixels as a PNG ("Save PNG: Success: %s").
    bool saveScreenshotPng(const std::string& fileName, bool opaque = true);
    // A new texture of the read-back pixels, or null.
    Ctexture* grabScreenTexture();

    // Backend textures, for the texture manager. Pixels are RGBA rows; a null
    // backend keeps none and hands out ids only.
    unsigned createTexture(int width, int height, const uint8_t* rgba, int pitchBytes);
    // Replaces a rectangle of a texture (rows of width RGBA pixels).
    void updateTexture(unsigned id, int x, int y, int width, int height, const uint8_t* rgba);
    void deleteTexture(unsigned id);
    // A texture of more rows in place of one of width x height, its rows
    // kept; the quads taken so far are drawn first, with the old one. The
    // new id (the same for a null backend), or 0 with the old one kept.
    unsigned growTexture(unsigned id, int width, int height, int newHeight);

    // Off: every change of blend mode starts a new draw call, as a renderer
    // without the shared blend function would (kept to measure against).
    void setMergeBlends(bool on) { mergeBlends_ = on; }
    bool mergeBlends() const { return mergeBlends_; }

    // Counts.
    uint64_t framesBegun() const { return framesBegun_; }
    int frameQuads() const { return frameQuads_; }
    int frameDrawCalls() const { return frameDrawCalls_; }
    int pendingQuads() const { return quadCount_; }
    // The batch not yet flushed, four vertices a quad (for a benchmark's copy).
    const CquadVertex* pendingVertices() const { return vertices_.data(); }

    // The null backend's record of this frame (cleared by beginFrame).
    bool recording = true;
    const std::vector<CflushRecord>& flushes() const { return flushes_; }
    const std::vector<CquadRecord>& quads() const { return quadRecords_; }

private:
    float screenW() const;
    float screenH() const;
    // One quad into the batch, turned by the angle of the cosine and sine (degrees for the record).
    void putQuad(const Cquad& q, float cosine, float sine, float degrees);

    ErenderBackend backend_ = RENDER_NONE;
    bool mergeBlends_ = true;
    std::unique_ptr<CglBackend> gl_;
    std::vector<CquadVertex> vertices_;
    std::vector<CdrawCall> calls_;
    std::vector<std::vector<CshaderLight>> lightSets_;
    std::vector<Ccolour> lightAmbient_;
    int quadCount_ = 0;

    Ccolour clearColour_{0, 0, 0, 1};
    Ccolour colourKey_{0, 0, 0, 1};
    const Ccamera* camera_ = nullptr;
    Cvec2 shake_;
    std::vector<Crect> scissors_;
    // Bumped by every push and pop: the open call clips to the top
    // rectangle while openScissor_ still equals it, with no rectangles compared.
    uint64_t scissorSerial_ = 0, openScissor_ = 0;

    std::vector<uint8_t> pixels_;
    int pixelW_ = 0, pixelH_ = 0;

    uint64_t framesBegun_ = 0;
    int frameQuads_ = 0, frameDrawCalls_ = 0;
    unsigned nextFakeTexture_ = 1;
    std::vector<CflushRecord> flushes_;
    std::vector<CquadRecord> quadRecords_;
};
