#pragma once
// Rendering and scene: the chief header. The engine holds one of each
// manager (gEngine->renderer, textures, sprites, fonts, particles, drawList,
// screenShake, screenFlash, errorOverlay, props).
//
// Order of use: make the window and its GL 3.3 core context current, then
// initRendering(RENDER_GL) (or RENDER_NULL with no window). Each drawn frame:
// renderer.beginFrame(), draw, errorOverlay.draw(), renderer.flush(), swap.
// shutdownRendering() before the context goes.
#include "engine/render/camera.h"
#include "engine/render/drawList.h"
#include "engine/render/effects.h"
#include "engine/render/font.h"
#include "engine/render/lights.h"
#include "engine/render/particles.h"
#include "engine/render/props.h"
#include "engine/render/renderTypes.h"
#include "engine/render/renderer.h"
#include "engine/render/sprite.h"
#include "engine/render/texture.h"

// Starts the renderer and loads the sprites folder, "spriteSheets.txt",
// "fonts.txt", "particles.txt" and "props.txt". False only when the renderer
// can't start; missing data is logged and drawn as placeholders.
bool initRendering(ErenderBackend backend);
void shutdownRendering();
// The per-step work of the rendering members: particles, draw list, shake
// (its offset goes to the renderer), flash, overlay.
void updateRendering(float dt);
