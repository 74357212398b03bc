#pragma once
// CglBackend: the OpenGL 3.3 core side of the renderer. Private to the renderer.
#include <cstdint>
#include <vector>

#include "engine/render/renderer.h"

class CglBackend {
public:
    CglBackend() = default;
    ~CglBackend();
    // Needs a current context; compiles the three programs.
    bool init(int maxQuads);
    void shutdown();
    bool alive() const { return alive_; }

    unsigned createTexture(int width, int height, const uint8_t* rgba, int pitchBytes);
    void updateTexture(unsigned id, int x, int y, int width, int height, const uint8_t* rgba);
    void deleteTexture(unsigned id);
    // A new texture of newHeight rows holding the old one's; the old one is deleted.
    unsigned growTexture(unsigned id, int width, int height, int newHeight);

    void beginFrame(int windowW, int windowH, const Ccolour& clear);
    void draw(const CquadVertex* vertices, int quads, const std::vector<CdrawCall>& calls,
              const std::vector<std::vector<CshaderLight>>& lightSets, const std::vector<Ccolour>& ambient,
              float screenW, float screenH, int windowW, int windowH);
    // Window pixels, top-left origin; rows come back top row first.
    bool readPixels(int x, int yTop, int w, int h, int windowH, uint8_t* out);

private:
    // How far, in window pixels, the viewport reaches past each edge.
    static constexpr int kViewportMargin = 1024;
    struct Cprogram {
        unsigned id = 0;
        int ndcScale = -1, ndcOffset = -1, tex = -1, normal = -1, key = -1, keyTolerance = -1;
        int numLights = -1, lightPos = -1, lightColour = -1, lightRadius = -1, ambient = -1;
    };
    bool buildProgram(Cprogram& p, const char* fragment, const char* name);

    bool alive_ = false;
    bool drawnThisFrame_ = false;   // the vertex buffer holds this frame's vertices
    int maxQuads_ = 0;
    int maxViewportW_ = 0, maxViewportH_ = 0;
    unsigned vao_ = 0, vbo_ = 0, ibo_ = 0;
    Cprogram programs_[DRAW_MODE_COUNT];
};
