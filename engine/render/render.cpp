#include "engine/render/render.h"

#include "engine/engine.h"

bool initRendering(ErenderBackend backend) {
    Cengine& e = *gEngine;
    if (!e.renderer.init(backend)) return false;
    e.textures.init();
    e.sprites.init();
    e.sprites.loadFolder(e.dataPath("sprites/"));
    e.sprites.loadSheets();
    e.fonts.load();
    e.particles.loadDefs();
    e.props.load();
    return true;
}

void shutdownRendering() {
    Cengine& e = *gEngine;
    e.particles.forgetSprites();
    e.props.releaseAll();
    e.drawList.clear();
    e.fonts.releaseAll();
    e.sprites.releaseAll();
    e.textures.releaseAll();
    e.renderer.shutdown();
}

void updateRendering(float dt) {
    Cengine& e = *gEngine;
    e.particles.update(dt);
    e.drawList.update(dt);
    e.screenShake.update(dt);
    e.renderer.setShakeOffset(e.screenShake.offset());
    e.screenFlash.update(dt);
    e.errorOverlay.update(dt);
}
