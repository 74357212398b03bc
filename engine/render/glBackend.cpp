#include "engine/render/glBackend.h"

#include <GL/glew.h>

#include <cstddef>
#include <algorithm>
#include <cstring>

#include "engine/engine.h"
#include "engine/render/viewport.h"

namespace {
const char* kVertex = R"(#version 330 core
layout(location = 0) in vec2 aPos;
layout(location = 1) in vec2 aUv;
layout(location = 2) in vec4 aColour;
layout(location = 3) in vec2 aRot;
layout(location = 4) in float aAdditive;
uniform vec2 uNdcScale;
uniform vec2 uNdcOffset;
out vec2 vUv;
// The quad's colour with its rgb already multiplied by its alpha, and its
// alpha 0 for an additive quad. Flat: a quad has one colour, so the
// rasteriser sets up no slopes for it (nor for the turn) on every triangle.
flat out vec4 vColour;
flat out vec2 vRot;
out vec2 vScreen;
void main() {
    vUv = aUv;
    vColour = vec4(aColour.rgb * aColour.a, aColour.a * (1.0 - aAdditive));
    vRot = aRot;
    vScreen = aPos;
    gl_Position = vec4(aPos * uNdcScale + uNdcOffset, 0.0, 1.0);
}
)";

// Every program writes premultiplied colour; an additive quad writes no
// alpha, so one blend function (one, one minus source alpha) serves both.
const char* kPlain = R"(#version 330 core
in vec2 vUv;
flat in vec4 vColour;
uniform sampler2D uTex;
out vec4 fragColour;
void main() {
    vec4 t = texture(uTex, vUv);
    fragColour = vec4(t.rgb * t.a * vColour.rgb, t.a * vColour.a);
}
)";

const char* kColourKey = R"(#version 330 core
in vec2 vUv;
flat in vec4 vColour;
uniform sampler2D uTex;
uniform vec3 uKey;
uniform float uKeyTolerance;
out vec4 fragColour;
void main() {
    // Exact texels: filtering would blend the key into its neighbours' edges.
    ivec2 size = textureSize(uTex, 0);
    ivec2 at = clamp(ivec2(vUv * vec2(size)), ivec2(0), size - 1);
    vec4 t = texelFetch(uTex, at, 0);
    if (distance(t.rgb, uKey) <= uKeyTolerance) discard;
    fragColour = vec4(t.rgb * t.a * vColour.rgb, t.a * vColour.a);
}
)";

const char* kNormalMap = R"(#version 330 core
#define MAX_LIGHTS 8
in vec2 vUv;
flat in vec4 vColour;
flat in vec2 vRot;
in vec2 vScreen;
uniform sampler2D uTex;
uniform sampler2D uNormal;
uniform int uNumLights;
uniform vec3 uLightPos[MAX_LIGHTS];
uniform vec3 uLightColour[MAX_LIGHTS];
uniform float uLightRadius[MAX_LIGHTS];
uniform vec3 uAmbient;
out vec4 fragColour;
void main() {
    vec4 t = texture(uTex, vUv);
    vec3 n = texture(uNormal, vUv).xyz * 2.0 - 1.0;
    n.y = -n.y;   // normal maps point y up; the screen's y grows down
    n.xy = vec2(n.x * vRot.x - n.y * vRot.y, n.x * vRot.y + n.y * vRot.x);
    n = normalize(n);
    vec3 light = uAmbient;
    for (int i = 0; i < uNumLights; ++i) {
        vec3 d = uLightPos[i] - vec3(vScreen, 0.0);
        float dist = max(length(d), 0.001);
        float fall = clamp(1.0 - dist / uLightRadius[i], 0.0, 1.0);
        light += uLightColour[i] * max(dot(n, d / dist), 0.0) * fall * fall;
    }
    fragColour = vec4(t.rgb * t.a * vColour.rgb * light, t.a * vColour.a);
}
)";

unsigned compile(GLenum kind, const char* src, const char* name) {
    GLuint s = glCreateShader(kind);
    glShaderSource(s, 1, &src, nullptr);
    glCompileShader(s);
    GLint ok = 0;
    glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char info[1024] = {0};
        glGetShaderInfoLog(s, sizeof info - 1, nullptr, info);
        gEngine->log.print(LOG_E, "Shader compile failed: %s: %s", name, info);
        glDeleteShader(s);
        return 0;
    }
    return s;
}
}  // namespace

CglBackend::~CglBackend() {
    // The context may be gone by now: nothing is released here.
}

bool CglBackend::buildProgram(Cprogram& p, const char* fragment, const char* name) {
    GLuint vs = compile(GL_VERTEX_SHADER, kVertex, name);
    GLuint fs = compile(GL_FRAGMENT_SHADER, fragment, name);
    if (!vs || !fs) {
        if (vs) glDeleteShader(vs);
        if (fs) glDeleteShader(fs);
        return false;
    }
    GLuint prog = glCreateProgram();
    glAttachShader(prog, vs);
    glAttachShader(prog, fs);
    glLinkProgram(prog);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = 0;
    glGetProgramiv(prog, GL_LINK_STATUS, &ok);
    if (!ok) {
        char info[1024] = {0};
        glGetProgramInfoLog(prog, sizeof info - 1, nullptr, info);
        gEngine->log.print(LOG_E, "Shader link failed: %s: %s", name, info);
        glDeleteProgram(prog);
        return false;
    }
    p.id = prog;
    p.ndcScale = glGetUniformLocation(prog, "uNdcScale");
    p.ndcOffset = glGetUniformLocation(prog, "uNdcOffset");
    p.tex = glGetUniformLocation(prog, "uTex");
    p.normal = glGetUniformLocation(prog, "uNormal");
    p.key = glGetUniformLocation(prog, "uKey");
    p.keyTolerance = glGetUniformLocation(prog, "uKeyTolerance");
    p.numLights = glGetUniformLocation(prog, "uNumLights");
    p.lightPos = glGetUniformLocation(prog, "uLightPos");
    p.lightColour = glGetUniformLocation(prog, "uLightColour");
    p.lightRadius = glGetUniformLocation(prog, "uLightRadius");
    p.ambient = glGetUniformLocation(prog, "uAmbient");
    glUseProgram(prog);
    if (p.tex >= 0) glUniform1i(p.tex, 0);
    if (p.normal >= 0) glUniform1i(p.normal, 1);
    glUseProgram(0);
    return true;
}

bool CglBackend::init(int maxQuads) {
    // The window's start-up has usually loaded the entry points already (GLX
    // hands out the same ones for every context): loading them again costs
    // a few milliseconds of the launch.
    if (!glCreateShader || !glGenVertexArrays) {
        glewExperimental = GL_TRUE;
        GLenum err = glewInit();
        // GLEW without a window system context reports an error but still loads.
        if (err != GLEW_OK && err != GLEW_ERROR_NO_GLX_DISPLAY) {
            gEngine->log.print(LOG_E, "glewInit failed: %s", (const char*)glewGetErrorString(err));
            return false;
        }
    }
    while (glGetError() != GL_NO_ERROR) {
    }
    if (!glCreateShader || !glGenVertexArrays) {
        gEngine->log.print(LOG_E, "OpenGL 3.3 is not available");
        return false;
    }
    const char* version = (const char*)glGetString(GL_VERSION);
    const char* renderer = (const char*)glGetString(GL_RENDERER);
    gEngine->log.print(LOG_L, "OpenGL: %s (%s)", version ? version : "?", renderer ? renderer : "?");

    if (!buildProgram(programs_[DRAW_PLAIN], kPlain, "plain") ||
        !buildProgram(programs_[DRAW_COLOUR_KEY], kColourKey, "colour key") ||
        !buildProgram(programs_[DRAW_NORMAL_MAP], kNormalMap, "normal map"))
        return false;

    GLint dims[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
    maxViewportW_ = dims[0];
    maxViewportH_ = dims[1];

    maxQuads_ = maxQuads;
    glGenVertexArrays(1, &vao_);
    glBindVertexArray(vao_);
    glGenBuffers(1, &vbo_);
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)maxQuads * 4 * sizeof(CquadVertex), nullptr, GL_STREAM_DRAW);
    std::vector<uint32_t> idx((size_t)maxQuads * 6);
    for (int q = 0; q < maxQuads; ++q) {
        uint32_t b = (uint32_t)q * 4;
        uint32_t* i = &idx[(size_t)q * 6];
        i[0] = b; i[1] = b + 1; i[2] = b + 2;
        i[3] = b; i[4] = b + 2; i[5] = b + 3;
    }
    glGenBuffers(1, &ibo_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, (GLsizeiptr)(idx.size() * sizeof(uint32_t)), idx.data(), GL_STATIC_DRAW);
    const GLsizei stride = sizeof(CquadVertex);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(CquadVertex, x));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(CquadVertex, u));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride, (void*)offsetof(CquadVertex, colour));
    glEnableVertexAttribArray(3);
    glVertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(CquadVertex, rotCos));
    glEnableVertexAttribArray(4);
    glVertexAttribPointer(4, 1, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(CquadVertex, additive));
    glBindVertexArray(0);
    GLenum e = glGetError();
    if (e != GL_NO_ERROR) {
        gEngine->log.print(LOG_E, "OpenGL set-up error 0x%x", e);
        return false;
    }
    alive_ = true;
    return true;
}

void CglBackend::shutdown() {
    if (!alive_) return;
    for (auto& p : programs_)
        if (p.id) glDeleteProgram(p.id);
    if (ibo_) glDeleteBuffers(1, &ibo_);
    if (vbo_) glDeleteBuffers(1, &vbo_);
    if (vao_) glDeleteVertexArrays(1, &vao_);
    vao_ = vbo_ = ibo_ = 0;
    for (auto& p : programs_) p = Cprogram();
    alive_ = false;
}

unsigned CglBackend::createTexture(int width, int height, const uint8_t* rgba, int pitchBytes) {
    if (!alive_) return 0;
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, rgba && pitchBytes > 0 ? pitchBytes / 4 : 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    GLenum e = glGetError();
    if (e != GL_NO_ERROR) {
        gEngine->log.print(LOG_E, "Can't make a %dx%d texture: OpenGL error 0x%x", width, height, e);
        glDeleteTextures(1, &id);
        return 0;
    }
    return id;
}

void CglBackend::updateTexture(unsigned id, int x, int y, int width, int height, const uint8_t* rgba) {
    if (!alive_) return;
    glBindTexture(GL_TEXTURE_2D, id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    GLenum e = glGetError();
    if (e != GL_NO_ERROR) gEngine->log.print(LOG_E, "Can't update a texture: OpenGL error 0x%x", e);
}

void CglBackend::deleteTexture(unsigned id) {
    if (alive_ && id) glDeleteTextures(1, &id);
}

unsigned CglBackend::growTexture(unsigned id, int width, int height, int newHeight) {
    if (!alive_) return 0;
    const unsigned grown = createTexture(width, newHeight, nullptr, 0);
    if (!grown) return 0;
    // The old rows copied on the GPU side, read through a framebuffer of their own.
    GLint readBefore = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readBefore);
    GLuint fbo = 0;
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, id, 0);
    glBindTexture(GL_TEXTURE_2D, grown);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width, height);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, (GLuint)readBefore);
    glDeleteFramebuffers(1, &fbo);
    GLenum e = glGetError();
    if (e != GL_NO_ERROR) {
        gEngine->log.print(LOG_E, "Can't grow a texture to %dx%d: OpenGL error 0x%x", width, newHeight, e);
        glDeleteTextures(1, &grown);
        return 0;
    }
    glDeleteTextures(1, &id);
    return grown;
}

void CglBackend::beginFrame(int windowW, int windowH, const Ccolour& clear) {
    if (!alive_) return;
    drawnThisFrame_ = false;
    glViewport(0, 0, windowW, windowH);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(clear.r, clear.g, clear.b, clear.a);
    glClear(GL_COLOR_BUFFER_BIT);
}

void CglBackend::draw(const CquadVertex* vertices, int quads, const std::vector<CdrawCall>& calls,
                      const std::vector<std::vector<CshaderLight>>& lightSets, const std::vector<Ccolour>& ambient,
                      float screenW, float screenH, int windowW, int windowH) {
    if (!alive_ || quads <= 0) return;
    const CscreenToWindow view(screenW, screenH, windowW, windowH, maxViewportW_, maxViewportH_, kViewportMargin);
    glViewport(view.viewportX, view.viewportY, view.viewportW, view.viewportH);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBindVertexArray(vao_);
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    // A second batch in a frame would overwrite vertices the driver may not
    // have drawn yet and make it wait: it gets fresh storage instead.
    if (drawnThisFrame_)
        glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)maxQuads_ * 4 * sizeof(CquadVertex), nullptr, GL_STREAM_DRAW);
    drawnThisFrame_ = true;
    glBufferSubData(GL_ARRAY_BUFFER, 0, (GLsizeiptr)quads * 4 * sizeof(CquadVertex), vertices);

    int curProgram = -1;
    glBlendFuncSeparate(GL_ONE, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    unsigned curTex = 0, curNormal = 0;
    int curLights = -1;
    for (const CdrawCall& c : calls) {
        if (c.quadCount <= 0) continue;
        Cprogram& p = programs_[c.mode];
        if ((int)c.mode != curProgram) {
            glUseProgram(p.id);
            glUniform2f(p.ndcScale, view.ndcScaleX, view.ndcScaleY);
            glUniform2f(p.ndcOffset, view.ndcOffsetX, view.ndcOffsetY);
            curProgram = c.mode;
            curLights = -1;
        }
        if (c.texture != curTex) {
            glActiveTexture(GL_TEXTURE0);
            glBindTexture(GL_TEXTURE_2D, c.texture);
            curTex = c.texture;
        }
        if (c.mode == DRAW_NORMAL_MAP) {
            if (c.normalTexture != curNormal) {
                glActiveTexture(GL_TEXTURE1);
                glBindTexture(GL_TEXTURE_2D, c.normalTexture);
                glActiveTexture(GL_TEXTURE0);
                curNormal = c.normalTexture;
            }
            if (c.lightSet != curLights && c.lightSet >= 0 && c.lightSet < (int)lightSets.size()) {
                const auto& ls = lightSets[c.lightSet];
                float pos[Crenderer::kMaxLights * 3] = {0}, col[Crenderer::kMaxLights * 3] = {0};
                float rad[Crenderer::kMaxLights] = {0};
                int n = (int)ls.size() < Crenderer::kMaxLights ? (int)ls.size() : Crenderer::kMaxLights;
                for (int i = 0; i < n; ++i) {
                    pos[i * 3] = ls[i].x;
                    pos[i * 3 + 1] = ls[i].y;
                    pos[i * 3 + 2] = ls[i].z;
                    col[i * 3] = ls[i].colour.r * ls[i].colour.a;
                    col[i * 3 + 1] = ls[i].colour.g * ls[i].colour.a;
                    col[i * 3 + 2] = ls[i].colour.b * ls[i].colour.a;
                    rad[i] = ls[i].radius > 1 ? ls[i].radius : 1;
                }
                glUniform1i(p.numLights, n);
                glUniform3fv(p.lightPos, Crenderer::kMaxLights, pos);
                glUniform3fv(p.lightColour, Crenderer::kMaxLights, col);
                glUniform1fv(p.lightRadius, Crenderer::kMaxLights, rad);
                const Ccolour& a = ambient[c.lightSet];
                glUniform3f(p.ambient, a.r, a.g, a.b);
                curLights = c.lightSet;
            }
        } else if (c.mode == DRAW_COLOUR_KEY) {
            glUniform3f(p.key, c.key.r, c.key.g, c.key.b);
            glUniform1f(p.keyTolerance, 0.02f);
        }
        if (c.scissorOn) {
            const CglScissor box = view.scissor(c.scissor);
            glEnable(GL_SCISSOR_TEST);
            glScissor(box.x, box.y, box.w, box.h);
        } else {
            glDisable(GL_SCISSOR_TEST);
        }
        glDrawElements(GL_TRIANGLES, c.quadCount * 6, GL_UNSIGNED_INT,
                       (void*)((size_t)c.firstQuad * 6 * sizeof(uint32_t)));
    }
    glDisable(GL_SCISSOR_TEST);
    glBindVertexArray(0);
    glUseProgram(0);
}

bool CglBackend::readPixels(int x, int yTop, int w, int h, int windowH, uint8_t* out) {
    if (!alive_) return false;
    std::vector<uint8_t> rows((size_t)w * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, windowH - yTop - h, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    GLenum e = glGetError();
    if (e != GL_NO_ERROR) {
        gEngine->log.print(LOG_E, "readPixels: OpenGL error 0x%x", e);
        return false;
    }
    // GL's rows run bottom-up.
    const size_t stride = (size_t)w * 4;
    for (int r = 0; r < h; ++r) memcpy(out + (size_t)r * stride, rows.data() + (size_t)(h - 1 - r) * stride, stride);
    return true;
}
