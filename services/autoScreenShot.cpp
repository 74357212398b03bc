#include "services/autoScreenShot.h"

#include <algorithm>

#include "engine/engine.h"
#include "game/gameModes.h"
#include "game/gameWorld.h"

CautoScreenShot::CautoScreenShot(CgameWorld& world, CscreenCapture& capture) : world_(world), capture_(capture) {}

void CautoScreenShot::reset() {
    std::fill(std::begin(timers), std::end(timers), kCooldown);
    armed = false;
    requested_ = false;
    delay = 0;
    scroll = 0;
    shots.clear();   // each texture goes with its shot
}

float CautoScreenShot::intensity() const {
    return musicIntensity ? musicIntensity() : world_.music.intensity * 5.0f;
}

bool CautoScreenShot::collecting() const {
    int gameType = world_.session.gameType;
    return on() && world_.mode() == GM_PLAYING && gameType != GAMETYPE_CHILLOUT && gameType != GAMETYPE_SHIPTEST;
}

bool CautoScreenShot::arm(int type, float wait, int timer) {
    if (!collecting() || armed || timer < 0 || timer >= kTimers || timers[timer] > 0) return false;
    armed = true;
    requested_ = false;
    momentType = (uint32_t)type;
    delay = wait;
    int gameType = world_.session.gameType;
    timers[timer] = gameType == GAMETYPE_BOSSRUSH || gameType == GAMETYPE_SURVIVAL ? kCooldown * 2 : kCooldown;
    computeRectangle();
    return true;
}

void CautoScreenShot::computeRectangle() {
    const CshipMgr& ships = world_.ships;
    float x0 = -world_.arenaHalfWidth, x1 = world_.arenaHalfWidth;
    float y0 = -world_.arenaHalfHeight, y1 = world_.arenaHalfHeight;
    if (const Cship* first = ships.playerShip(0)) {
        float m = first->radius() + kShotMargin;
        // The side the first ship flies towards.
        if (first->heading().x >= 0) x0 = first->pos.x - m;
        else x1 = first->pos.x + m;
    }
    int players = std::max(world_.party.getNumActivePlayers(), 1);
    for (int p = 0; p < players; ++p) {
        const Cship* s = ships.playerShip(p);
        if (!s) continue;
        float m = s->radius() + kShotMargin;
        x0 = std::min(x0, s->pos.x - m);
        x1 = std::max(x1, s->pos.x + m);
        y0 = std::min(y0, s->pos.y - m);
        y1 = std::max(y1, s->pos.y + m);
    }
    Cvec2 a = world_.camera.planeToScreen(Cvec3(x0, y0, 0));
    Cvec2 b = world_.camera.planeToScreen(Cvec3(x1, y1, 0));
    float w = (float)gEngine->screenWidth, h = (float)gEngine->screenHeight;
    left = std::clamp(std::min(a.x, b.x), 0.0f, w);
    right = std::clamp(std::max(a.x, b.x), 0.0f, w);
    top = std::clamp(std::min(a.y, b.y), 0.0f, h);
    bottom = std::clamp(std::max(a.y, b.y), 0.0f, h);
    gEngine->log.print(LOG_A, "sx=%d sy=%d", (int)(right - left), (int)(bottom - top));
}

bool CautoScreenShot::playersClearOfEdges() const {
    int players = std::max(world_.party.getNumActivePlayers(), 1);
    for (int p = 0; p < players; ++p) {
        const Cship* s = world_.ships.playerShip(p);
        if (!s) continue;
        float inset = s->radius() + kEdgeMargin;
        if (!world_.insideArena(s->pos.x, s->pos.y, -inset)) return false;
    }
    return true;
}

void CautoScreenShot::update() {
    if (!on()) return;
    scroll -= kScrollStep;
    if (!collecting()) return;

    const float dt = world_.stepTime();
    for (float& t : timers) t -= dt;

    const CshipMgr& ships = world_.ships;
    const float loud = intensity();
    if (loud > 1.0f) {
        if (ships.countImportant() > 2) arm(3, 0.1f, 3);
        if (ships.countKind(SHIPKIND_BOSS) > 8) arm(3, 3.0f, 3);
        if (ships.countKind(SHIPKIND_MINE) > 30) arm(5, 0.1f, 5);
        if (ships.countEnemies() > 40 && world_.projectiles.count() > 150 && gEngine->particles.countActive() > 2000)
            arm(6, 0.1f, 6);
    }
    if (!armed) return;
    if (!playersClearOfEdges()) return;   // try again next step

    if (delay > 0) {
        delay -= dt;
        if (delay <= 0) {
            delay = 0;
            requested_ = capture_.requestTexture(left, top, right, bottom);
            if (!requested_) armed = false;   // nothing to picture
            gEngine->log.print(LOG_DB, "%d - %d", (int)momentType, ships.countEnemies());
        }
        return;
    }
    if (requested_ && !capture_.pending) keepShot();
}

void CautoScreenShot::keepShot() {
    armed = false;
    requested_ = false;
    CtexturePtr texture = capture_.takeTexture();
    if (!texture) return;   // the capture failed: no shot
    shots.push_back({momentType, std::move(texture)});
    if (shots.size() > kMaxShots) {
        // The newest shots stay; one of the oldest makes room.
        int victim = (random ? *random : gEngine->random).choice(kReplaceAmong);
        shots.erase(shots.begin() + victim);
    }
}

void CautoScreenShot::drawThumbnails(float x, float scale) {
    if (!on()) return;
    Crenderer& r = gEngine->renderer;
    const Ccamera* camera = r.camera();
    r.setCamera(nullptr);
    const float h = (float)gEngine->screenHeight;
    const float thumbWidth = kThumbWidth * scale, gap = kThumbGap * scale;
    const float half = thumbWidth * 0.5f + gap;
    r.drawPanel(Crect{x - half, -500.0f, 2 * half, h + 1000.0f}, 3, Ccolour(0.25f, 0.25f, 0.25f, 1),
                Ccolour(0, 0, 0, 0.75f));
    float y = scroll + gap;
    for (const Cshot& shot : shots) {
        Ctexture* t = shot.texture.get();
        if (!t || t->width <= 0) continue;
        const float fit = thumbWidth / (float)t->width;
        float th = t->height * fit;
        Crect box{x - thumbWidth * 0.5f, y, thumbWidth, th};
        Cquad q;
        q.texture = t;
        q.centre = Cvec3(box.cx(), box.cy(), 0);
        q.width = box.w;
        q.height = box.h;
        q.colour = Ccolour(1, 1, 1, 1);
        r.addQuad(q);
        r.drawFrame(box.x, box.y, box.x + box.w, box.y + box.h, 2, Ccolour(0.6f, 0.6f, 0.6f, 1));
        y += th + gap;
    }
    // Once the last thumbnail has risen off the top, the column comes up from the bottom again.
    if (!shots.empty() && y < 0) scroll = h;
    r.setCamera(camera);
}
