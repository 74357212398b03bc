// Drawing of play: the arena, the particles, pickups, ships and shots through
// the game camera, then the HUD (or, until a HUD screen is hooked in, a plain
// one of our own) in screen pixels.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "engine/engine.h"
#include "engine/format.h"
#include "game/gameWorld.h"
#include "game/playEffects.h"

namespace {
constexpr float kRadToDeg = 180.0f / kPi;

const Csprite* usable(const Csprite* s) { return s && !s->placeholder ? s : nullptr; }

const Csprite* findSprite(const std::string& name) {
    return name.empty() ? nullptr : usable(gEngine->sprites.findSprite(name, false));
}

// Kept between frames and looked up again only when the name or the sprite
// set changes: play asks for these for every ship and every frame.
const Csprite* findSprite(CspriteRef& ref, const std::string& name) {
    return name.empty() ? nullptr : usable(ref.find(gEngine->sprites, name));
}

struct CfixedSprite {
    const std::string name;
    CspriteRef ref;
    const Csprite* get() { return findSprite(ref, name); }
};
CfixedSprite gGlow{"ss_glow.png"}, gSoft{"builtin_soft"}, gRing{"builtin_ring"}, gBeam{"ss_beam.png"},
    gBullet{"ss_bullet.png"}, gRound{"ss_enemyBullet.png"}, gMissile{"ss_missile.png"};

void quad(const Csprite* s, const Cvec2& at, float width, float height, float rotationDeg, const Ccolour& c,
          Eblend blend = BLEND_ALPHA, float depth = 0) {
    Cquad q;
    q.sprite = s;
    q.centre = Cvec3(at.x, at.y, depth);
    q.width = width;
    q.height = height;
    q.rotation = rotationDeg;
    q.colour = c;
    q.blend = blend;
    gEngine->renderer.addQuad(q);
}

// A quad turned by the angle whose cosine and sine are given.
void quadTurned(const Csprite* s, const Cvec2& at, float width, float height, float cosine, float sine,
                const Ccolour& c, Eblend blend) {
    Cquad q;
    q.sprite = s;
    q.centre = Cvec3(at.x, at.y, 0);
    q.width = width;
    q.height = height;
    q.colour = c;
    q.blend = blend;
    gEngine->renderer.addQuadTurned(q, cosine, sine);
}

// A neon outline: a bright thin line over a wide faint one.
void neonPolygon(const Cvec2& c, float r, int sides, float angle, const Ccolour& col, float depth = 0) {
    Crenderer& rr = gEngine->renderer;
    (void)depth;
    if (sides < 3) sides = 16;
    for (int pass = 0; pass < 2; ++pass) {
        float thick = pass == 0 ? r * 0.35f : r * 0.12f;
        Ccolour cc = pass == 0 ? col.withAlpha(col.a * 0.25f) : col;
        for (int i = 0; i < sides; ++i) {
            float a0 = angle + 2 * kPi * i / sides, a1 = angle + 2 * kPi * (i + 1) / sides;
            rr.drawLine(c.x + std::sin(a0) * r, c.y - std::cos(a0) * r, c.x + std::sin(a1) * r,
                        c.y - std::cos(a1) * r, thick, cc);
        }
    }
}

const Csprite* glowSprite() {
    const Csprite* s = gGlow.get();
    return s ? s : gSoft.get();
}
}  // namespace

void Cship::drawGlow() const {
    if (!alive || !active) return;
    const Csprite* g = glowSprite();
    if (!g) return;
    float pulse = 1.0f + hitFlash * 0.6f;
    quad(g, pos2(), size * 5.0f * pulse, size * 5.0f * pulse, 0, colour.withAlpha(0.28f + hitFlash * 0.3f),
         BLEND_ADDITIVE, pos.z);
    if (invulnerableTimer > 0 && kind == SHIPKIND_PLAYER) {
        // A blinking halo while nothing can hurt the ship.
        float blink = 0.5f + 0.5f * std::sin(invulnerableTimer * 18.0f);
        quad(gRing.get(), pos2(), size * 3.2f, size * 3.2f, 0,
             colour.withAlpha(0.5f * blink), BLEND_ADDITIVE, pos.z);
    }
}

void Cship::draw() const {
    if (!alive || !active) return;
    float deg = angle * kRadToDeg;
    if (spawnTimer > 0) {
        // Warping in: a ring closing on the ship's outline.
        float t = clampf(spawnTimer / 0.6f, 0, 1);
        quad(gRing.get(), pos2(), size * (2.0f + 6.0f * t),
             size * (2.0f + 6.0f * t), 0, colour.withAlpha(1.0f - t), BLEND_ADDITIVE, pos.z);
        neonPolygon(pos2(), size, def->sides, angle, colour.withAlpha(0.6f * (1.0f - t)));
        return;
    }
    const Csprite* hull = findSprite(hullSprite, def->sprite);
    if (hull) {
        float w = size * 2.6f;
        float h = hull->width > 0 ? w * hull->height / hull->width : w;
        quad(hull, pos2(), w, h, deg, Ccolour(1, 1, 1, 1), BLEND_ALPHA, pos.z);
        if (hitFlash > 0) quad(hull, pos2(), w, h, deg, Ccolour(1, 1, 1, hitFlash * 0.8f), BLEND_ADDITIVE, pos.z);
    } else {
        neonPolygon(pos2(), size, def->sides, angle, hitFlash > 0 ? Ccolour(1, 1, 1, 1) : colour);
    }
}

void Cship::drawParts() const {
    if (!alive || !active || spawnTimer > 0) return;
    const Csprite* g = glowSprite();
    float deg = angle * kRadToDeg;
    for (const Celement& e : elements) {
        Cvec2 at = elementPos(e);
        if (e.kind == ELEMENT_ENGINE) {
            // The flame grows with the ship's speed.
            float thrust = 0.6f + std::min(vel.length() / 60.0f, 1.0f);
            Cvec2 back = at - heading() * (size * 0.35f * thrust);
            quad(g, back, size * 1.1f * e.scale * thrust, size * 1.6f * e.scale * thrust, deg,
                 colour.withAlpha(0.7f), BLEND_ADDITIVE, pos.z);
            continue;
        }
        if (!e.def || e.def->radius <= 0) continue;
        const Csprite* s = findSprite(e.sprite, e.def->sprite);
        float w = e.def->radius * scale * 2.6f;
        bool dead = e.maxHitPoints > 0 && e.hitPoints <= 0;
        Ccolour c = dead ? Ccolour(0.3f, 0.3f, 0.3f, 0.7f) : Ccolour(1, 1, 1, 1);
        if (s) quad(s, at, w, w, deg + e.angle, c, BLEND_ALPHA, pos.z);
        else neonPolygon(at, e.def->radius * scale, e.kind == ELEMENT_TURRET ? 6 : 4, angle, dead ? c : colour);
        if (e.flash > 0 && !dead) quad(g, at, w * 1.5f, w * 1.5f, 0, Ccolour(1, 1, 1, e.flash * 0.7f), BLEND_ADDITIVE);
    }
    if (shieldTimer > 0) {
        float blink = shieldTimer < 1.0f ? 0.5f + 0.5f * std::sin(shieldTimer * 30.0f) : 1.0f;
        quad(gRing.get(), pos2(), size * 4.2f, size * 4.2f, 0,
             Ccolour(0.6f, 0.9f, 1.0f, 0.8f * blink), BLEND_ADDITIVE, pos.z);
    }
    if (beamTimer > 0) {
        const float length = 220.0f;
        Cvec2 mid = pos2() + heading() * (length * 0.5f + size);
        const Csprite* beam = gBeam.get();
        quad(beam ? beam : g, mid, size * 1.4f, length, deg, colour.withAlpha(0.9f), BLEND_ADDITIVE, pos.z);
        quad(g, mid, size * 0.6f, length, deg, Ccolour(1, 1, 1, 0.9f), BLEND_ADDITIVE, pos.z);
    }
}

void CshipMgr::drawShips(bool displayOnly) const {
    for (Cship* s : list_)
        if (!displayOnly || s->display) s->drawGlow();
    for (Cship* s : list_)
        if (!displayOnly || s->display) s->draw();
    for (Cship* s : list_)
        if (!displayOnly || s->display) s->drawParts();
}

void CprojectileMgr::draw() {
    const Csprite* bullet = gBullet.get();
    const Csprite* round = gRound.get();
    const Csprite* missile = gMissile.get();
    const Csprite* soft = glowSprite();
    for (const Cprojectile& p : shots_) {
        // Turned along its flight: the direction is the angle's cosine and sine.
        const float speed = p.vel.length();
        const float c = speed > 0 ? -p.vel.y / speed : 1.0f, s = speed > 0 ? p.vel.x / speed : 0.0f;
        switch (p.kind) {
            case SHOT_BULLET:
                quadTurned(bullet ? bullet : soft, p.pos, 0.9f, 2.8f, c, s, p.colour, BLEND_ADDITIVE);
                break;
            case SHOT_MISSILE:
                quad(soft, p.pos, 2.4f, 2.4f, 0, p.colour.withAlpha(0.5f), BLEND_ADDITIVE);
                quadTurned(missile ? missile : soft, p.pos, 1.2f, 2.4f, c, s, Ccolour(1, 1, 1, 1), BLEND_ALPHA);
                break;
            default:
                quad(round ? round : soft, p.pos, 2.6f, 2.6f, 0, Ccolour(1, 1, 1, 1), BLEND_ADDITIVE);
                break;
        }
    }
}

namespace {
// Each pickup kind's sprite, kept between frames: a field holds hundreds of
// pickups, and no name is hashed while the sprite set stays the same. The
// names are the kinds' fixed strings, so they are told apart by address.
const Csprite* pickupSprite(const char* name) {
    static std::vector<std::pair<const char*, CfixedSprite>> kinds;
    for (auto& k : kinds)
        if (k.first == name) return k.second.get();
    kinds.push_back({name, CfixedSprite{name}});
    return kinds.back().second.get();
}
}  // namespace

void CpickupMgr::draw() {
    for (const Cpickup& p : items_) {
        const Csprite* s = pickupSprite(spriteName(p.kind, p.value));
        float pulse = 1.0f + 0.12f * std::sin(p.age * 8.0f);
        float size = (p.kind == PICKUP_MULTIPLIER ? 2.6f : 4.2f) * pulse;
        float a = 1.0f;
        if (p.life < 2.0f) a = (std::fmod(p.life, 0.25f) < 0.125f) ? 0.35f : 1.0f;   // about to go
        if (p.age < 0.2f) a *= p.age / 0.2f;
        if (s) quad(s, p.pos, size, size, 0, Ccolour(1, 1, 1, a));
        else neonPolygon(p.pos, size * 0.5f, 4, kPi / 4, Ccolour(0.4f, 1, 0.4f, a));
    }
}

namespace {
void drawArena(const CgameWorld& w) {
    Crenderer& r = gEngine->renderer;
    float hw = w.arenaHalfWidth, hh = w.arenaHalfHeight;
    float bass = w.music.bands[CmusicFeed::BAND_BASS];
    float lift = 0.15f + 0.35f * bass + 0.2f * w.music.intensity;
    Ccolour grid(0.15f, 0.3f, 0.9f, 0.18f + 0.25f * lift);
    for (float x = -hw; x <= hw + 0.1f; x += 20.0f) r.drawLine(x, -hh, x, hh, 0.25f, grid);
    for (float y = -hh; y <= hh + 0.1f; y += 20.0f) r.drawLine(-hw, y, hw, y, 0.25f, grid);
    Ccolour edge = Ccolour::fromHsv(0.55f - 0.15f * w.music.intensity, 0.8f, 1.0f, 0.6f + 0.4f * lift);
    r.drawLine(-hw, -hh, hw, -hh, 1.0f, edge);
    r.drawLine(-hw, hh, hw, hh, 1.0f, edge);
    r.drawLine(-hw, -hh, -hw, hh, 1.0f, edge);
    r.drawLine(hw, -hh, hw, hh, 1.0f, edge);
    if (w.session.gameType == GAMETYPE_PARTY_FOOTBALL) {
        float g = CgameSession::kGoalHalfWidth;
        r.drawLine(-hw, -g, -hw, g, 3.0f, Ccolour(1.0f, 0.3f, 0.3f, 1));
        r.drawLine(hw, -g, hw, g, 3.0f, Ccolour(0.3f, 0.5f, 1.0f, 1));
    }
}

// A plain HUD for play without a HUD screen: the score, multiplier and lives,
// the two power bars, the track's progress and the clock of the game type.
void drawPlainHud(const CgameWorld& w) {
    Cengine& e = *gEngine;
    Crenderer& r = e.renderer;
    Cfont* big = e.fonts.getFont("FontBig");
    Cfont* small = e.fonts.getFont("FontSmall");
    const CgameSession& s = w.session;
    float sw = (float)e.screenWidth, sh = (float)e.screenHeight;
    Ccolour hud(0.85f, 0.95f, 1.0f, 1.0f);
    int teams = s.partyMode ? w.party.getNumActiveTeams() : 1;
    if (s.gameType == GAMETYPE_PARTY_FOOTBALL) {
        big->drawTextf(sw * 0.5f, 16, 1, ALIGN_CENTRE, "%lld - %lld", (long long)s.teamScores[0],
                       (long long)s.teamScores[1]);
    } else {
        for (int t = 0; t < teams; ++t) {
            float x = 24 + t * (sw - 48) / std::max(teams, 1);
            big->drawText(formatThousands64(s.teamScores[t]), x, 12, 1, ALIGN_LEFT, hud);
            char mul[16];
            snprintf(mul, sizeof mul, "X%d", w.powerUps.multiplier(t));
            small->drawText(mul, x, 58, 1.2f, ALIGN_LEFT, Ccolour(1.0f, 0.85f, 0.3f, 1));
            // Lives as small marks, the two power bars beneath.
            for (int i = 0; i < s.teamLives[t] && i < CgameSession::kMaxLives; ++i)
                r.drawRect(Crect::fromEdges(x + 70 + i * 20, 64, x + 85 + i * 20, 79), hud.withAlpha(0.8f));
            const CpowerUpRecord& rec = w.powerUps.team(t);
            float fillP = rec[PU_WEAPON_POWER] / kMaxPowerLevel, fillC = rec[PU_COLOUR_LEVEL] / kMaxPowerLevel;
            r.drawRect(Crect::fromEdges(x, 90, x + 160, 96), Ccolour(1, 1, 1, 0.15f));
            r.drawRect(Crect::fromEdges(x, 90, x + 160 * fillP, 96), Ccolour(0.3f, 1.0f, 1.0f, 0.8f));
            r.drawRect(Crect::fromEdges(x, 100, x + 160, 106), Ccolour(1, 1, 1, 0.15f));
            r.drawRect(Crect::fromEdges(x, 100, x + 160 * fillC, 106), Ccolour(1.0f, 0.4f, 0.9f, 0.8f));
        }
    }
    if (s.gameType == GAMETYPE_BOSSRUSH) {
        small->drawTextf(sw - 24, 16, 1.2f, ALIGN_RIGHT, "%s %d", e.text("BossWave"), s.bossRushWave);
        big->drawText(formatTime((int)s.waveTimeLeft), sw - 24, 40, 1, ALIGN_RIGHT,
                      s.waveTimeLeft < 20 ? Ccolour(1, 0.3f, 0.3f, 1) : hud);
    } else if (s.gameType == GAMETYPE_SURVIVAL) {
        big->drawText(formatTime((int)s.clock), sw - 24, 12, 1, ALIGN_RIGHT, hud);
    }
    // The track's progress along the bottom.
    float p = clampf(s.completion, 0, 1);
    r.drawRect(Crect::fromEdges(0, sh - 6, sw, sh), Ccolour(1, 1, 1, 0.12f));
    r.drawRect(Crect::fromEdges(0, sh - 6, sw * p, sh), Ccolour(0.3f, 0.8f, 1.0f, 0.7f));
    small->drawText(s.track.title, 24, sh - 30, 1, ALIGN_LEFT, hud.withAlpha(0.7f));
}
}  // namespace

void CgameSession::draw() {
    Crenderer& r = gEngine->renderer;
    if (!r.isReady()) return;
    world_.fitCamera();
    r.setCamera(&world_.camera);
    world_.lights.apply(r, world_.camera, Ccolour(0.3f, 0.3f, 0.35f, 1));
    // Shots and sparks past the border are not drawn over the margins of a wider or taller screen.
    r.pushScissor(world_.arenaViewRect());
    drawArena(world_);
    drawParticleLayer(PLAY_LAYER_BACK);
    world_.pickups.draw();
    world_.ships.drawShips(false);
    world_.projectiles.draw();
    drawParticleLayer(PLAY_LAYER_FRONT);
    r.popScissor();
    r.setCamera(nullptr);
    if (partyMode && world_.hooks.partyHudDraw) world_.hooks.partyHudDraw();
    else if (!world_.hooks.hudDraw || !world_.hooks.hudDraw()) drawPlainHud(world_);
}
