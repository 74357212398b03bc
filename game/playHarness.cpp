#include "game/playHarness.h"

#include <algorithm>
#include <cmath>

#include "engine/engine.h"
#include "game/progress/playerShipMgr.h"

void CscriptedPilot::drive(CgameWorld& world, int player) {
    CpilotControls& c = world.controls[player];
    bool perk[4] = {c.perkPressed[0], c.perkPressed[1], c.perkPressed[2], c.perkPressed[3]};
    c.clear();
    for (int i = 0; i < 4; ++i) c.perkPressed[i] = perk[i];
    Cship* me = world.ships.playerShip(player);
    if (!me || !me->alive || !me->active || style == STYLE_PASSIVE) return;
    Cvec2 at = me->pos2();
    Cship* target = world.ships.nearestEnemy(at, 400.0f);
    if (target) {
        Cvec2 aimAt = target->pos2();
        // A boss's core is shielded: aim at its nearest standing part.
        if (target->important && !target->allTurretsDestroyed()) {
            float best = -1;
            for (const Celement& e : target->elements) {
                if (e.maxHitPoints <= 0 || e.hitPoints <= 0) continue;
                Cvec2 ep = target->elementPos(e);
                float d = (ep - at).lengthSq();
                if (best < 0 || d < best) {
                    best = d;
                    aimAt = ep;
                }
            }
        }
        c.aim = (aimAt - at).normalised();
        c.fire = true;
    }
    if (style == STYLE_KAMIKAZE) {
        if (target) c.move = (target->pos2() - at).normalised();
        return;
    }
    // Dodge: away from near enemies and shots, toward pickups, off the walls,
    // and a slow wander so the ship never sits still.
    Cvec2 push;
    int close = 0;
    for (Cship* e : world.ships.ships()) {
        if (!e->isEnemy() || !e->alive || e->display) continue;
        Cvec2 d = at - e->pos2();
        float len = std::max(d.length() - e->size, 1.0f);
        if (len < 45.0f) push += d.normalised() * (900.0f / (len * len));
        if (len < 22.0f) ++close;
    }
    for (const Cprojectile& p : world.projectiles.shots()) {
        if (p.team >= 0) continue;
        Cvec2 d = at - p.pos;
        float len = std::max(d.length(), 1.0f);
        if (len < 26.0f) push += d.normalised() * (500.0f / (len * len));
    }
    for (const Cpickup& p : world.pickups.items()) {
        Cvec2 d = p.pos - at;
        float len = d.length();
        if (len < 60.0f && len > 0.1f) push += d.normalised() * 0.15f;
    }
    float hw = world.arenaHalfWidth, hh = world.arenaHalfHeight;
    if (at.x < -hw + 25) push.x += 1.0f;
    if (at.x > hw - 25) push.x -= 1.0f;
    if (at.y < -hh + 20) push.y += 1.0f;
    if (at.y > hh - 20) push.y -= 1.0f;
    wander_ += world.stepTime() * 0.6f;
    push += Cvec2(std::sin(wander_), std::cos(wander_ * 0.7f)) * 0.25f;
    c.move = push.length() > 1 ? push.normalised() : push;
    // A bomb when crowded.
    if (close >= 4) c.perkPressed[0] = true;
}

CplayHarness::~CplayHarness() = default;

CplayHarness::CplayHarness() { dt = gEngine ? (float)gEngine->updateStep : 1.0f / 60.0f; }

bool CplayHarness::start(const CharnessOptions& o) {
    if (!defsLoaded_) {
        if (!world.loadData()) return false;
        // The hangar's built-in ships fly as they are defined there.
        hangar = std::make_unique<CplayerShipMgr>();
        hangar->loadBuiltIn();
        world.attachHangar(*hangar);
        defsLoaded_ = true;
    }
    CgameSession& s = world.session;
    s.gameType = o.gameType;
    s.difficulty = o.difficulty;
    s.musicSource = o.musicSource;
    s.track = CtrackInfo();
    s.track.title = o.title;
    s.track.artist = o.artist;
    s.track.length = o.length;
    s.track.entryType = o.musicSource == MUSIC_RADIO_LIST ? CtrackInfo::ENTRY_RADIO : CtrackInfo::ENTRY_FILE;
    s.playerShips.fill(o.ship);
    s.partyMode = o.players > 1 || o.gameType == GAMETYPE_PARTY_FOOTBALL;
    s.party = o.party;
    world.party.reset("Player", o.ship);
    for (int p = 1; p < o.players && p < 4; ++p) world.party.join("Player " + std::to_string(p + 1), o.ship, p);
    // The perk buttons: enabled weapons get the free buttons, as on a touch screen.
    world.perks.bindFreeButtons();
    world.music = CmusicFeed();
    s.startGame();
    music.start(trackSeed(o.title, o.length), o.length);
    return true;
}

void CplayHarness::step() {
    if (syntheticMusic) music.update(dt, world.music);
    int n = world.session.numActivePlayers();
    for (int p = 0; p < n; ++p) pilots[p].drive(world, p);
    world.session.update(dt);
    // Without the engine's loop the particles step here.
    if (stepParticles && gEngine) gEngine->particles.update(dt);
}

int CplayHarness::runUntilGameOver(double maxSeconds) {
    int steps = 0;
    int limit = (int)(maxSeconds / dt);
    while (!world.session.isGameOver() && steps < limit) {
        step();
        ++steps;
    }
    return steps;
}

int CplayHarness::runFor(double seconds) {
    int steps = 0;
    int limit = (int)(seconds / dt);
    while (!world.session.isGameOver() && steps < limit) {
        step();
        ++steps;
    }
    return steps;
}
