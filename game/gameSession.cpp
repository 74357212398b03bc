#include "game/gameSession.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "engine/engine.h"
#include "game/enemies/playerShipDefs.h"
#include "game/gameWorld.h"
#include "game/playEffects.h"
#include "game/progress/playerShipMgr.h"
#include "services/analytics.h"

namespace {
constexpr int kPlaying = 24;
constexpr float kBossRushFirstDelay = 2.0f;
constexpr float kBossRushNextDelay = 3.0f;

bool containsNoCase(const std::string& text, const char* word) {
    std::string a = text, b = word;
    for (auto& c : a) c = (char)std::tolower((unsigned char)c);
    for (auto& c : b) c = (char)std::tolower((unsigned char)c);
    return a.find(b) != std::string::npos;
}

float bossRushWaveTime(int wave) { return std::min(120.0f, 70.0f + 5.0f * wave); }
}  // namespace

int CgameSession::team(int player) const {
    if (player < 0 || !partyMode) return 0;
    return world_.party.playerIdxToTeamIdx(player);
}

int CgameSession::numActivePlayers() const { return partyMode ? world_.party.getNumActivePlayers() : 1; }
int CgameSession::numActiveTeams() const { return world_.party.getNumActiveTeams(); }

float CgameSession::difficultyLevel() const {
    return difficultyScale(difficulty) * std::max(difficultyFactor, 0.1f) * difficultyRamp;
}

int CgameSession::getGameOverState() const {
    if (partyMode) return 28;
    switch (gameType) {
        case GAMETYPE_BOSSRUSH: return 26;
        case GAMETYPE_SURVIVAL: return 27;
        case GAMETYPE_SHIPTEST: return shipTestReturnState;
        default: return 25;
    }
}

void CgameSession::reseed(uint32_t salt) {
    uint32_t s = seed ^ (salt * 0x9E3779B9u);
    world_.waves.reseed(s);
    world_.playRandom.seed(s ^ 0x5bd1e995u);
}

void CgameSession::resetRun() {
    clock = 0;
    playTime = 0;
    trackTime = 0;
    completion = 0;
    teamScores.fill(0);
    respawnTimers.fill(0);
    tagOut.fill(0);
    tagIt = -1;
    tagCountdown = kTagTime;
    sessionXp = 0;
    cashCollected = 0;
    extraLivesUsed = 0;
    weaponsUsed = 0;
    respawns_ = 0;
    bossRushWave = 0;
    waveTimeLeft = 0;
    difficultyRamp = 1.0f;
    averageIntensity = 0;
    gameOver = false;
    awarded = false;
    award = CgameAward{};
    awardTaken = bestKept = false;
    keptComment.clear();
    missionsDone.clear();
    reseeded20_ = reseeded35_ = false;
    goalCooldown_ = 0;
    bossRushDelay_ = kBossRushFirstDelay;
    bossUp_ = false;
    trackEndHandled_ = false;
    tagGrace_ = 0;
    int lives = kBaseLives;
    for (int id : {PERK_EXTRA_LIFE_1, PERK_EXTRA_LIFE_2, PERK_EXTRA_LIFE_3}) lives += world_.perks.isEnabled(id) ? 1 : 0;
    teamLives.fill(std::min(lives, kMaxLives));
    bool radio = musicSource == MUSIC_RADIO_LIST || track.entryType == CtrackInfo::ENTRY_RADIO;
    endTime = radio ? kRadioEndTime : kEndTime;
    bool openMic = musicSource == MUSIC_OPEN_MIC || track.entryType == CtrackInfo::ENTRY_OPEN_MIC;
    if ((radio || openMic) && chosenTrackTime > 0) endTime = chosenTrackTime;
}

void CgameSession::placePlayer(int player) {
    Cship* s = world_.ships.playerShip(player);
    if (!s) return;
    int n = std::max(numActivePlayers(), 1);
    float x = 0, y = world_.arenaHalfHeight * 0.35f;
    if (gameType == GAMETYPE_PARTY_FOOTBALL) {
        int t = team(player);
        x = (t == 0 ? -1.0f : 1.0f) * world_.arenaHalfWidth * 0.5f;
        y = (player % 2 == 0 ? -20.0f : 20.0f);
    } else if (n > 1) {
        x = (player - (n - 1) * 0.5f) * 40.0f;
    }
    s->pos = Cvec3(x, y, 0);
    s->vel = Cvec2();
    s->angle = 0;
}

void CgameSession::addPlayerShips() {
    int n = numActivePlayers();
    for (int p = 0; p < n; ++p) {
        std::string name = partyMode ? world_.party.slot(p).shipName : playerShips[0];
        if (name.empty()) name = playerShips[p];
        if (name.empty() && world_.hangar && world_.hangar->currentShip()) name = world_.hangar->currentShip()->name();
        if (name.empty()) name = "StandardShip";
        // A ship test flies the ship as the editor left it.
        if (gameType == GAMETYPE_SHIPTEST && !partyMode && world_.ships.findShipDefQuiet(kTestShipRecord))
            name = kTestShipRecord;
        CshipDef* def = world_.ships.findShipDefQuiet(name);
        if (!def) {
            gEngine->log.print(LOG_L, "Can't find ship def: %s - flying the standard ship", name.c_str());
            def = world_.ships.findShipDef("StandardShip");
        }
        Cship* s = world_.ships.addShip(def, true);
        if (!s) continue;
        s->kind = SHIPKIND_PLAYER;
        s->behaviour = BEHAVE_PLAYER;
        s->player = p;
        s->team = team(p);
        s->controls = &world_.controls[p];
        s->invulnerableTimer = kInvulnerableTime;
        s->colour = world_.colourScheme.getPlayerColour(p);
        placePlayer(p);
    }
    if (gameType == GAMETYPE_PARTY_FOOTBALL) {
        if (CshipDef* ball = world_.ships.findShipDefQuiet("Football")) {
            if (Cship* b = world_.ships.addShip(ball)) {
                b->team = -1;
                b->pos = Cvec3();
            }
        }
    }
}

void CgameSession::startGame() {
    gEngine->log.print(LOG_V, "Start game: %s, %s, %s - %s", gameTypeTag(gameType), difficultyTag(difficulty),
                       musicSourceTag(musicSource), track.title.c_str());
    // 1. Analytics.
    if (world_.analytics) {
        world_.analytics->sendEvent("StartGame", gameTypeTag(gameType), difficultyTag(difficulty));
        world_.analytics->sendEvent("MusicSource", musicSourceTag(musicSource), track.title.c_str());
    }
    // 2. The track.
    if (world_.hooks.playTrack) world_.hooks.playTrack(track);
    // 3. State Playing.
    world_.setGameMode(kPlaying, false);
    started = true;
    // 4. Power-ups, pickups, party, enemies and projectiles.
    if (partyMode) CpartyMgr::mendChoice(gameType, world_.party.numJoined(), party);
    world_.perks.setPartyOverride(partyMode);
    resetRun();
    world_.powerUps.reset();
    world_.pickups.clear();
    world_.ships.clear();
    world_.ships.forgetMadeDefs();
    world_.projectiles.clear();
    world_.bosses.reset();
    world_.lights.reset();
    for (auto& c : world_.controls) c.clear();
    // 5. The players' ships.
    addPlayerShips();
    // 6. The wave manager.
    seed = trackSeed(track.title, track.length);
    world_.waves.start(seed);
    world_.waves.enabled = gameType != GAMETYPE_PARTY_FOOTBALL;
    world_.waves.bossesEnabled = gameType == GAMETYPE_STANDARD;
    world_.waves.rate = gameType == GAMETYPE_BOSSRUSH ? 0.3f : (gameType == GAMETYPE_CHILLOUT ? 0.6f : 1.0f);
    // 7. The track's generators.
    reseed(0);
    if (gameType == GAMETYPE_BOSSRUSH) {
        bossRushWave = 1;
        waveTimeLeft = bossRushWaveTime(1);
    }
    // The goodie bag: a few pickups at the start.
    int goodies = (int)world_.perks.getPerkValue(PERK_GOODIE_BAG);
    for (int i = 0; i < goodies; ++i)
        world_.pickups.spawn(i % 3 == 0 ? PICKUP_POWER : (i % 3 == 1 ? PICKUP_COLOUR : PICKUP_MULTIPLIER),
                             Cvec2(world_.playRandom.range(-60, 60), world_.playRandom.range(-30, 30)), 1);
    world_.replay.resetLive();
    nextReplaySample_ = 0;
    checkChristmasTrack();
    if (world_.hooks.resetAutoShots) world_.hooks.resetAutoShots();
    if (world_.hooks.refreshScore) world_.hooks.refreshScore();
    if (partyMode && world_.hooks.partyHudEnter) world_.hooks.partyHudEnter();
}

int64_t CgameSession::addScore(int player, int64_t points) {
    if (points <= 0) return 0;
    int t = team(player);
    int64_t mult = (partyMode && party.noMultiplier) ? 1 : world_.powerUps.multiplier(t);
    int64_t add = points * mult;
    teamScores[t] += add;
    sessionXp += add;
    if (world_.hooks.refreshScore) world_.hooks.refreshScore();
    return add;
}

void CgameSession::restartMusic() {
    waitingForSilence = 1;
    waitingForTrack = 0;
    pendingTrackTime = -1.0;
    if (musicSource == MUSIC_OPEN_MIC || track.entryType == CtrackInfo::ENTRY_OPEN_MIC) {
        track.title = gEngine->text("OpenMicTrack");
        track.artist.clear();
        track.key.clear();
        identifiedTrackId = 0;
        if (world_.hooks.renameOpenMicTrack) world_.hooks.renameOpenMicTrack();
    }
}

bool CgameSession::checkChristmasTrack() {
    christmasTrack = false;
    for (const std::string* tag : {&track.title, &track.artist, &track.album, &track.genre})
        if (containsNoCase(*tag, "christmas") || containsNoCase(*tag, "xmas")) christmasTrack = true;
    return christmasTrack;
}

void CgameSession::onShipDestroyed(Cship& ship, int byPlayer) {
    if (ship.kind == SHIPKIND_PLAYER) return;
    ship.alive = false;
    ship.marked = true;
    if (ship.kind == SHIPKIND_HELPER || ship.kind == SHIPKIND_BALL) return;
    playExplosion(ship);
    if (world_.hooks.onExplosion) world_.hooks.onExplosion(ship);
    const CshipDef* def = ship.def;
    if (ship.important) {
        ++world_.bosses.destroyed;
        if (world_.hooks.armMoment) world_.hooks.armMoment(2, 0.5f, 2);
    }
    if (byPlayer >= 0 && ship.team < 0) {
        float bonus = 1.0f + world_.perks.getPerkValue(PERK_MORE_SCORE);
        int64_t pts = std::llround(def->score * (0.5f + world_.music.intensity) * bonus);
        addScore(byPlayer, pts);
        int dd = world_.powerUps.onKill(byPlayer);
        if (dd > 0) addScore(byPlayer, dd);
        world_.pickups.dropFrom(ship.pos2(), def->drops, ship.important ? 1.0f : 0.07f);
        if (ship.important) world_.pickups.dropFrom(ship.pos2(), 0, 1.0f);
    }
    // Splitters break into smaller ships.
    if (!def->splitInto.empty() && def->splitCount > 0) {
        CshipDef* child = world_.ships.findShipDefQuiet(def->splitInto);
        for (int i = 0; child && i < def->splitCount; ++i) {
            if (world_.ships.countEnemies() >= world_.waves.crowdLimit() + 20) break;
            Cship* c = world_.ships.addShip(child);
            if (!c) break;
            float a = ship.angle + 2 * kPi * i / def->splitCount;
            c->pos = ship.pos;
            c->angle = a;
            c->vel = Cvec2(std::sin(a), -std::cos(a)) * c->speed;
            c->spawnTimer = 0.15f;
            c->health = c->maxHealth = child->health * std::max(difficultyLevel(), 0.3f);
        }
    }
}

void CgameSession::killPlayer(int player) {
    Cship* s = world_.ships.playerShip(player);
    if (!s || !s->alive || !s->active || gameOver || s->invulnerableTimer > 0) return;
    if (gameType == GAMETYPE_CHILLOUT || gameType == GAMETYPE_SHIPTEST || isZen(difficulty)) {
        // No lives are lost here: a short grace instead.
        s->invulnerableTimer = 1.0f;
        s->hitFlash = 1;
        return;
    }
    s->alive = false;
    s->active = false;
    s->vel = Cvec2();
    playExplosion(*s);
    playShockwave(s->pos2(), Ccolour(1, 1, 1, 0.9f), 30.0f, PLAY_LAYER_FRONT);
    if (world_.hooks.onExplosion) world_.hooks.onExplosion(*s);
    if (world_.hooks.onPlayerDeath) world_.hooks.onPlayerDeath(player);
    world_.powerUps.onDeath(player);
    int t = team(player);
    teamLives[t] = std::max(0, teamLives[t] - 1);
    respawnTimers[player] = kRespawnTime;
    if (teamLives[t] == 0 && !partyMode) world_.replay.markDeath((float)clock);
    gEngine->log.print(LOG_V, "Player %d lost a life (%d left)", player + 1, teamLives[t]);
}

void CgameSession::respawn(int player) {
    Cship* s = world_.ships.playerShip(player);
    if (!s) return;
    // The base lives give one respawn; each further one spends an extra life.
    if (team(player) == 0 && ++respawns_ >= kBaseLives) ++extraLivesUsed;
    s->alive = true;
    s->active = true;
    s->invulnerableTimer = kInvulnerableTime;
    s->hitFlash = 0;
    for (auto& e : s->elements) e.hitPoints = e.maxHitPoints;
    placePlayer(player);
    playShockwave(s->pos2(), s->colour, 20.0f);
    world_.projectiles.clearEnemyShots(s->pos2(), 45.0f);
    // Enemies near the spawn point are pushed away and stunned for a moment.
    for (Cship* e : world_.ships.ships()) {
        if (!e->isEnemy() || !e->alive || e->important) continue;
        Cvec2 d = e->pos2() - s->pos2();
        float len = d.length();
        if (len < 35.0f) {
            e->vel = d.normalised() * 80.0f;
            e->stunTimer = std::max(e->stunTimer, 1.0f);
        }
    }
}

void CgameSession::onPickup(int player, int kind, int value) {
    int t = team(player);
    CpowerUps& pu = world_.powerUps;
    switch (kind) {
        case PICKUP_MULTIPLIER: {
            float amount = value * (1.0f + world_.perks.getPerkValue(PERK_MORE_MULTIPLIER));
            if (world_.music.intensity > 0.7f) amount *= 2;   // loud passages pay double
            pu.addMultiplier(t, amount);
            break;
        }
        case PICKUP_POWER:
            if (partyMode && world_.hooks.partyHudFlash) world_.hooks.partyHudFlash(player, false);
            if (CpowerUps::getPowerUpLevel(pu.team(t), PU_WEAPON_POWER) >= kMaxPowerLevel) addScore(player, 1000);
            pu.addWeaponPower(t, 1);
            break;
        case PICKUP_COLOUR:
            if (partyMode && world_.hooks.partyHudFlash) world_.hooks.partyHudFlash(player, true);
            if (CpowerUps::getPowerUpLevel(pu.team(t), PU_COLOUR_LEVEL) >= kMaxPowerLevel) addScore(player, 1000);
            pu.addColourLevel(t, 1);
            break;
        case PICKUP_CASH:
            cashCollected += value;
            if (world_.hooks.addCash) world_.hooks.addCash(value);
            if (world_.hooks.refreshCash) world_.hooks.refreshCash();
            break;
        case PICKUP_LIFE: teamLives[t] = std::min(kMaxLives, teamLives[t] + 1); break;
        case PICKUP_WEAPON: pu.addStock(t, value, 1); break;
        default: break;
    }
}

void CgameSession::useWeapon(int player, int slot) {
    Cship* s = world_.ships.playerShip(player);
    int t = team(player);
    if (!s || !s->alive || !s->active) return;
    int perk = perkOfWeaponSlot(slot);
    if (!world_.powerUps.useStock(t, slot)) return;
    if (t == 0) weaponsUsed |= 1u << slot;
    if (world_.hooks.onSpecialWeapon) world_.hooks.onSpecialWeapon(player, slot);
    float power = 1.0f + world_.perks.getPerkValue(perk);
    Cvec2 at = s->pos2();
    switch (slot) {
        case PU_SUPER_BOMB: {
            float radius = 70.0f * power;
            playShockwave(at, Ccolour(1, 1, 1, 1), radius * 2, PLAY_LAYER_FRONT);
            playShockwave(at, s->colour, radius * 1.6f);
            world_.projectiles.clearEnemyShots(at, radius * 1.5f);
            for (Cship* e : world_.ships.ships()) {
                if (!e->isEnemy() || !e->collides()) continue;
                if ((e->pos2() - at).length() > radius + e->size) continue;
                if (e->important) {
                    for (auto& el : e->elements) el.hitPoints = std::max(0.0f, el.hitPoints - 150.0f * power);
                    continue;
                }
                if (e->hit(e->health + 1, e->pos2(), t, player)) onShipDestroyed(*e, player);
            }
            break;
        }
        case PU_MICRO_MISSILE: {
            int n = 6 + (int)world_.perks.getPerkValue(perk);
            for (int i = 0; i < n; ++i) {
                float a = s->angle + 2 * kPi * i / n;
                Cvec2 d(std::sin(a), -std::cos(a));
                world_.projectiles.fire(at + d * 3.0f, d * 120.0f, t, player, SHOT_MISSILE, 25.0f * power,
                                        Ccolour(1.0f, 0.9f, 0.3f), 3.0f);
            }
            break;
        }
        case PU_REFLECT_SHIELD: s->shieldTimer = 5.0f * power; break;
        case PU_ULTRA_BEAM: s->beamTimer = 3.0f * power; s->power = power; break;
        case PU_EMP:
            playShockwave(at, Ccolour(0.5f, 0.7f, 1, 1), 400.0f, PLAY_LAYER_FRONT);
            world_.projectiles.clearEnemyShots();
            for (Cship* e : world_.ships.ships())
                if (e->isEnemy() && e->alive) e->stunTimer = std::max(e->stunTimer, 3.0f * power);
            break;
        case PU_AUTO_TURRET:
        case PU_DECOY:
        case PU_WINGMAN: {
            const char* name = slot == PU_AUTO_TURRET ? "AutoTurret" : (slot == PU_DECOY ? "Decoy" : "Wingman");
            CshipDef* def = world_.ships.findShipDefQuiet(name);
            Cship* h = def ? world_.ships.addShip(def) : nullptr;
            if (!h) break;
            h->pos = s->pos;
            h->team = t;
            h->player = player;
            h->power = power;
            h->colour = s->colour;
            h->lifeTimer = (slot == PU_AUTO_TURRET ? 12.0f : (slot == PU_DECOY ? 8.0f : 20.0f)) * power;
            break;
        }
        default: break;
    }
}

void CgameSession::stepPlayers(float dt) {
    int n = numActivePlayers();
    for (int p = 0; p < n; ++p) {
        Cship* s = world_.ships.playerShip(p);
        bool alive = s && s->alive && s->active;
        float nearest = -1;
        if (alive) {
            world_.ships.grid().query(s->pos.x, s->pos.y, CpowerUps::kDareDevilRange, [&](Cship* e) {
                if (!e->isEnemy() || !e->collides()) return;
                float d = (e->pos2() - s->pos2()).length() - e->size;
                if (nearest < 0 || d < nearest) nearest = std::max(d, 0.0f);
            });
        }
        world_.powerUps.updatePlayer(p, dt, nearest, alive);
        int bonus = world_.powerUps.takeSurvivorBonus(p);
        if (bonus > 0) addScore(p, bonus);
        if (!alive) continue;
        CpilotControls& c = world_.controls[p];
        for (int b = 0; b < CperkMgr::kNumPerkButtons; ++b) {
            if (!c.perkPressed[b]) continue;
            c.perkPressed[b] = false;
            int perk = world_.perks.perkOnButton(b);
            for (int slot = PU_SUPER_BOMB; slot <= PU_WINGMAN; ++slot)
                if (perkOfWeaponSlot(slot) == perk) useWeapon(p, slot);
        }
    }
}

void CgameSession::stepClock(float dt) {
    clock += dt;
    playTime += dt;
    const CmusicFeed& m = world_.music;
    averageIntensity += (m.intensity - averageIntensity) * (float)(dt / std::max(clock, (double)dt));
    trackTime = m.trackTime;
    bool fileTrack = m.trackLength > 0 && musicSource != MUSIC_RADIO_LIST && musicSource != MUSIC_OPEN_MIC;
    if (fileTrack) completion = m.progress();
    else completion = (float)std::min(1.0, clock / endTime);
    if (gameType == GAMETYPE_STANDARD && fileTrack && m.trackEnded) completion = 1.0f;
    if (gameType == GAMETYPE_STANDARD) {
        // The same track brings the same waves from here on, whatever came before.
        if (!reseeded20_ && clock >= 20.0) {
            reseeded20_ = true;
            reseed(20);
        }
        if (!reseeded35_ && clock >= 35.0) {
            reseeded35_ = true;
            reseed(35);
        }
    }
    if (gameType == GAMETYPE_SURVIVAL) difficultyRamp = std::min(5.0f, 1.0f + (float)clock / 150.0f);
    else if (gameType == GAMETYPE_BOSSRUSH) difficultyRamp = std::min(5.0f, 1.0f + 0.35f * std::max(bossRushWave - 1, 0));
}

void CgameSession::stepBossRush(float dt) {
    if (gameType != GAMETYPE_BOSSRUSH) return;
    waveTimeLeft = std::max(0.0f, waveTimeLeft - dt);
    if (bossRushDelay_ > 0) {
        bossRushDelay_ -= dt;
        if (bossRushDelay_ <= 0) {
            float energy = std::max(world_.music.intensity, 0.3f) + 0.1f * bossRushWave;
            uint32_t bossSeed = seed ^ (0x85ebca6bu * (uint32_t)bossRushWave);
            bossUp_ = world_.bosses.spawnBoss(bossSeed, energy, difficultyLevel()) != nullptr;
        }
        return;
    }
    if (bossUp_ && !world_.bosses.bossAlive()) {
        bossUp_ = false;
        ++bossRushWave;
        waveTimeLeft = bossRushWaveTime(bossRushWave);
        bossRushDelay_ = kBossRushNextDelay;
        gEngine->log.print(LOG_V, "Boss wave %d", bossRushWave);
    }
}

void CgameSession::stepRespawns(float dt) {
    int n = numActivePlayers();
    for (int p = 0; p < n; ++p) {
        if (respawnTimers[p] <= 0) continue;
        respawnTimers[p] = std::max(0.0f, respawnTimers[p] - dt);
        if (respawnTimers[p] > 0) continue;
        if (teamLives[team(p)] > 0 && !(partyMode && party.tagRules && tagOut[p])) respawn(p);
    }
}

void CgameSession::stepTag(float dt) {
    if (!partyMode || !party.tagRules) return;
    int n = numActivePlayers();
    auto inPlay = [&](int p) {
        Cship* s = world_.ships.playerShip(p);
        return s && s->alive && !tagOut[p];
    };
    auto pickIt = [&]() {
        int ids[4], count = 0;
        for (int p = 0; p < n; ++p)
            if (!tagOut[p]) ids[count++] = p;
        tagIt = count > 0 ? ids[world_.playRandom.choice(count)] : -1;
        tagCountdown = kTagTime;
        tagGrace_ = 1.0f;
    };
    if (n < 2) return;
    if (tagIt < 0) pickIt();
    tagGrace_ = std::max(0.0f, tagGrace_ - dt);
    tagCountdown -= dt;
    Cship* it = tagIt >= 0 ? world_.ships.playerShip(tagIt) : nullptr;
    if (it && inPlay(tagIt) && tagGrace_ <= 0) {
        for (int p = 0; p < n; ++p) {
            if (p == tagIt || !inPlay(p)) continue;
            Cship* o = world_.ships.playerShip(p);
            float r = it->size + o->size;
            if ((o->pos2() - it->pos2()).lengthSq() < r * r) {
                tagIt = p;
                tagGrace_ = 1.0f;
                break;
            }
        }
    }
    if (tagCountdown > 0) return;
    // Time's up: "it" is out of play.
    if (tagIt >= 0) {
        tagOut[tagIt] = 1;
        if (Cship* s = world_.ships.playerShip(tagIt)) s->active = false;
    }
    int left = 0, last = -1;
    for (int p = 0; p < n; ++p)
        if (!tagOut[p]) {
            ++left;
            last = p;
        }
    if (left <= 1) {
        // The last one in play wins the round; everyone comes back.
        if (last >= 0) addScore(last, 10000);
        for (int p = 0; p < n; ++p) {
            tagOut[p] = 0;
            Cship* s = world_.ships.playerShip(p);
            if (s && s->alive) {
                s->active = true;
                s->invulnerableTimer = kInvulnerableTime;
                placePlayer(p);
            }
        }
    }
    pickIt();
}

void CgameSession::stepFootball() {
    if (gameType != GAMETYPE_PARTY_FOOTBALL) return;
    if (goalCooldown_ > 0) goalCooldown_ -= world_.stepTime();
    for (Cship* b : world_.ships.ships()) {
        if (b->kind != SHIPKIND_BALL || !b->alive) continue;
        float goalLine = world_.arenaHalfWidth - b->size - 1.0f;
        bool inMouth = std::fabs(b->pos.y) < kGoalHalfWidth;
        int scorer = -1;
        if (inMouth && b->pos.x <= -goalLine) scorer = 1;
        else if (inMouth && b->pos.x >= goalLine) scorer = 0;
        if (scorer >= 0 && goalCooldown_ <= 0) {
            ++teamScores[scorer];
            goalCooldown_ = 1.0f;
            gEngine->log.print(LOG_V, "Goal: team %d (%lld - %lld)", scorer + 1, (long long)teamScores[0],
                               (long long)teamScores[1]);
            b->pos = Cvec3();
            b->vel = Cvec2();
            if (world_.hooks.refreshScore) world_.hooks.refreshScore();
        }
    }
}

void CgameSession::stepLights() {
    for (int p = 0; p < ClightPool::kPlayerLights; ++p) {
        Clight* l = world_.lights.playerLight(p);
        if (!l) continue;
        Cship* s = world_.ships.playerShip(p);
        l->on = s && s->alive && s->active;
        if (!l->on) continue;
        l->pos = Cvec3(s->pos.x, s->pos.y, 12.0f);
        l->colour = s->colour.withAlpha(0.6f + 0.4f * world_.music.bands[CmusicFeed::BAND_BASS]);
        l->radius = 60.0f;
    }
}

bool CgameSession::teamOut(int t) const {
    if (teamLives[t] > 0) return false;
    int n = numActivePlayers();
    for (int p = 0; p < n; ++p) {
        if (team(p) != t) continue;
        Cship* s = world_.ships.playerShip(p);
        if ((s && s->alive) || respawnTimers[p] > 0) return false;
    }
    return true;
}

void CgameSession::endGame(const char* reason) {
    if (gameOver) return;
    gameOver = true;
    int state = getGameOverState();
    gEngine->log.print(LOG_V, "Game over (%s): score %lld, %.1fs, completion %.3f", reason, (long long)teamScores[0],
                       clock, completion);
    if (world_.analytics) world_.analytics->sendEvent("EndGame", gameTypeTag(gameType), reason);
    world_.setGameMode(state, true);
}

void CgameSession::stepEndRules() {
    if (gameOver) return;
    const CmusicFeed& m = world_.music;
    int teams = numActiveTeams();
    bool allOut = true;
    for (int t = 0; t < teams; ++t)
        if (!teamOut(t)) allOut = false;
    if (allOut) {
        endGame("lives");
        return;
    }
    bool fileTrack = m.trackLength > 0 && musicSource != MUSIC_RADIO_LIST && musicSource != MUSIC_OPEN_MIC;
    switch (gameType) {
        case GAMETYPE_SURVIVAL:
        case GAMETYPE_BOSSRUSH:
            // The music goes on to another track; the game ends with the lives (or the wave clock).
            if (m.trackEnded && !trackEndHandled_) {
                trackEndHandled_ = true;
                if (world_.hooks.nextTrack) world_.hooks.nextTrack();
            } else if (!m.trackEnded) {
                trackEndHandled_ = false;
            }
            if (gameType == GAMETYPE_BOSSRUSH && waveTimeLeft <= 0 && bossRushWave > 0) endGame("wave time");
            else if (!fileTrack && clock >= endTime) endGame("time");
            break;
        default:
            if (fileTrack ? m.trackEnded : clock >= endTime) endGame(fileTrack ? "track" : "time");
            break;
    }
}

void CgameSession::update() { update(world_.stepTime()); }

void CgameSession::update(float dt) {
    // Nothing runs before a game has started (the state can be entered without one).
    if (!started || gameOver || world_.mode() != kPlaying) return;
    world_.dt = dt;
    world_.projectiles.update(dt);
    world_.ships.update(dt);
    world_.waves.update(dt);
    stepBossRush(dt);
    stepPlayers(dt);
    world_.pickups.update(dt);
    int t0 = 0;
    world_.replay.record((float)clock, teamScores[t0], world_.powerUps.multiplier(t0));
    stepClock(dt);
    stepRespawns(dt);
    stepLights();
    stepTag(dt);
    stepFootball();
    stepEndRules();
    if (partyMode && world_.hooks.partyHudStep) world_.hooks.partyHudStep();
    else if (world_.hooks.hudStep) world_.hooks.hudStep();
}
