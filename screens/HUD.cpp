#include "screens/HUD.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/engine.h"
#include "engine/format.h"
#include "engine/render/particles.h"
#include "engine/ui/screen.h"
#include "engine/ui/uiMgr.h"
#include "game/game.h"
#include "game/gameTypes.h"
#include "game/powerUps.h"
#include "screens/listRows.h"
#include "screens/musicBar.h"
#include "screens/screenRegistry.h"

namespace {
constexpr int kShipEditor = GM_SHIP_EDITOR;
constexpr float kMeterDrop = 50.0f;     // the meters sit this far below the ship
constexpr float kMeterOffset = 30.0f;   // the survivor meter makes room for the daredevil one
constexpr float kDareDevilStart = 0.3f;
constexpr float kSurvivorStart = 0.75f;
constexpr float kRowEase = 0.05f;
constexpr float kIconScale = 0.4f;
constexpr float kIconGap = 25.0f;
constexpr float kLifeSize = 15.0f, kLifeGap = 20.0f;

// Stock slots of the special weapons in the HUD's order, with their names
// and their black-and-white icons.
struct Cweapon {
    int slot;
    const char* tag;
    const char* sprite;
};
const Cweapon kWeapons[kNumPerkWeapons] = {
    {PU_SUPER_BOMB, "SuperBombs", "ss_pickup_SuperBombBW.png"},
    {PU_MICRO_MISSILE, "MicroMissiles", "ss_pickup_MicroMissileBW.png"},
    {PU_REFLECT_SHIELD, "ReflectShield", "ss_pickup_ReflectShieldBW.png"},
    {PU_ULTRA_BEAM, "UltraBeam", "ss_pickup_UltraBeamBW.png"},
    {PU_EMP, "EMP", "ss_pickup_EMPBW.png"},
    {PU_AUTO_TURRET, "AutoTurret", "ss_pickup_AutoTurretBW.png"},
    {PU_DECOY, "Decoy", "ss_pickup_QEchoBW.png"},
    {PU_WINGMAN, "Wingman", "ss_pickup_WingmanBW.png"},
};
const Cweapon* weaponOfSlot(int slot) {
    for (const Cweapon& w : kWeapons)
        if (w.slot == slot) return &w;
    return nullptr;
}

void addScreenQuad(const Csprite* sprite, float x, float y, float w, float h, const Ccolour& colour) {
    Cquad q;
    q.sprite = sprite;
    q.centre = Cvec3(x, y, 0);
    q.width = w;
    q.height = h;
    q.colour = colour;
    gEngine->renderer.addQuad(q);
}

void showMeter(Cwidget* w) {
    if (!w->hidden) return;
    w->setHidden(false);
    w->startEffect(EFFECT_GROW_IN, 0, nullptr, 0, 0.2f);
}

void setMeterColour(Cwidget* w, const Ccolour& c) {
    if (Cgadget* bar = w->findProgressBar()) {
        bar->fillColour = c;
        bar->colour = c.withAlpha(0.2f);
    }
    if (Cgadget* label = w->findTextGadget("Label", false)) label->colour = c;
}

const Ccolour& progressBarColour() { return gGame->namedColours.hudTextGreen; }
}  // namespace

const CwidgetBinding CHUD::kBindings[] = {
    {&CHUD::score_, "Score"},
    {&CHUD::multiplier_, "Multiplier"},
    {&CHUD::lives_, "Lives"},
    {&CHUD::cash_, "Cash"},
    {&CHUD::logo_, "Logo"},
    {&CHUD::highScore_, "HighScore"},
    {&CHUD::musicBar_, "MusicBar"},
    {&CHUD::powerBar_, "PowerBar"},
    {&CHUD::colourBar_, "ColourBar"},
    {&CHUD::dareDevil_, "DareDevil"},
    {&CHUD::survivor_, "Survivor"},
    {&CHUD::movingMul_, "MovingMul"},
    {&CHUD::bossRushWave_, "BossRushWave"},
    {&CHUD::bossRushTimer_, "BossRushTimer"},
    {&CHUD::survivalTimer_, "SurvivalTimer"},
};

CHUD::CHUD() : ClayoutScreen("HUD.txt", kBindings, LEAVE_AT_ONCE) {}

// The header list outlives the game: it must not keep a widget of this HUD.
CHUD::~CHUD() {
    if (nowPlayingHeaders().hud == musicBar_) nowPlayingHeaders().hud = nullptr;
}

std::string CHUD::weaponNumText(int stock) {
    if (stock < 6) return {};
    char text[16];
    std::snprintf(text, sizeof text, "x%d", stock);
    return text;
}

std::string CHUD::bossTimerText(float seconds) {
    if (!(seconds > 0)) seconds = 0;
    int whole = (int)seconds;
    int tenths = (int)((seconds - (float)whole) * 10.0f);
    char base[32], text[48];
    if (whole >= 3600) std::snprintf(base, sizeof base, "%02dh %02dm %02ds", whole / 3600, whole / 60 % 60, whole % 60);
    else if (whole >= 60) std::snprintf(base, sizeof base, "%02d:%02d", whole / 60, whole % 60);
    else std::snprintf(base, sizeof base, "%01d", whole);
    std::snprintf(text, sizeof text, "%s.%01d0", base, tenths);
    return text;
}

float CHUD::bossTimerScale(float seconds) {
    if (seconds >= kBossTimerGrow) return 0.5f;
    return 0.5f + 2.0f * (1.0f - std::max(seconds, 0.0f) / kBossTimerGrow);
}

float CHUD::bossTimerDrop(float seconds) {
    if (seconds >= kBossTimerGrow) return 0.0f;
    return (kBossTimerGrow - std::max(seconds, 0.0f)) * 1.5f;
}

bool CHUD::onLoaded() {
    std::string missing;
    char name[32];
    for (int i = 0; i < kWeaponWidgets; ++i) {
        std::snprintf(name, sizeof name, "Weapon%d", i + 1);
        weapons_[i] = screen_->findWidget(name, false);
        if (!weapons_[i]) missing += std::string(" ") + name;
        std::snprintf(name, sizeof name, "Weapon%dNum", i + 1);
        weaponNums_[i] = screen_->findWidget(name, false);
        if (!weaponNums_[i]) missing += std::string(" ") + name;
    }
    for (int i = 0; i < kReplayRows; ++i) {
        std::snprintf(name, sizeof name, "ScoreReplayItem%02d", i + 1);
        rows_[i].widget = screen_->findWidget(name, false);
        if (!rows_[i].widget) missing += std::string(" ") + name;
    }
    if (!missing.empty()) {
        gEngine->log.print(LOG_E, "Can't bind HUD.txt: missing%s", missing.c_str());
        return false;
    }
    const CnamedColours& c = gGame->namedColours;
    auto barColours = [](Cwidget* w, const Ccolour& full) {
        if (Cgadget* bar = w->findProgressBar()) {
            bar->colour = full.withAlpha(0.3f);
            bar->fillColour = full.withAlpha(0.6f);
        }
    };
    barColours(musicBar_, c.hudText);
    barColours(powerBar_, c.cyan);
    barColours(colourBar_, c.purple);
    lives_->setText("", "");
    setMeterColour(dareDevil_, progressBarColour());
    setMeterColour(survivor_, progressBarColour());
    Ccolour mine = gEngine->colours.get("HUDMyScoreReplay");
    for (const char* gadget : {"Name", "Rank", "Score", "Multiplier"})
        if (Cgadget* g = rows_[0].widget->findTextGadget(gadget, false)) g->colour = mine;
    return true;
}

bool CHUD::replayRowsRun() const {
    const CgameSession& s = gGame->world.session;
    if (s.gameType != GAMETYPE_STANDARD) return false;
    // With open mic the rivals race only once the track is known.
    return !gGame->music.openMicRunning() || s.identifiedTrackId != 0;
}

void CHUD::setScoreText() {
    score_->setText("", formatThousands64(gGame->world.session.teamScores[0]));
    char mul[16];
    std::snprintf(mul, sizeof mul, "X%d", gGame->world.powerUps.multiplier(0));
    multiplier_->setText("", mul);
}

void CHUD::setBestText() {
    highScore_->setText("", std::string(gEngine->text("HighScore")) + " " + formatThousands64((int64_t)best_));
}

void CHUD::refreshScore() {
    if (!screen_) return;
    setScoreText();
    pulse_ = 1.0f;
    const CgameSession& s = gGame->world.session;
    int64_t score = s.teamScores[0];
    if (s.gameType != GAMETYPE_CHILLOUT && score > 0 && (uint64_t)score > best_) {
        best_ = (uint64_t)score;
        setBestText();
    }
}

void CHUD::refreshCash() {
    if (!screen_) return;
    cash_->setText("", std::string("$") + formatThousands64(gGame->progress.cash));
}

void CHUD::resetBest() {
    if (!screen_) return;
    // Only a game scored against its track takes the new track's record;
    // Survival and BossRush keep their own best, ChillOut has none.
    const CgameSession& s = gGame->world.session;
    if (s.gameType == GAMETYPE_SURVIVAL || s.gameType == GAMETYPE_BOSSRUSH || s.gameType == GAMETYPE_CHILLOUT) return;
    const CsongPackInfo* now = gGame->music.currentTrack;
    const CtrackRecord* rec = now ? gGame->trackStats.findTrack(now->key) : nullptr;
    best_ = rec ? rec->bestScore : 0;
    storedProgress_ = rec ? rec->completion : 0;
    highScore_->setHidden(false);
    setBestText();
}

void CHUD::onEnter() {
    Cgame& g = *gGame;
    const CgameSession& s = g.world.session;
    pulse_ = 0;
    barTimer_ = {0, 0};
    highestProgress_ = 0;

    // The best to beat.
    bool defaultShip = g.standardShipFlag != 0;
    storedProgress_ = 0;
    switch (s.gameType) {
        case GAMETYPE_BOSSRUSH: best_ = defaultShip ? g.progress.bossRushBest : g.progress.bossRushBestCustom; break;
        case GAMETYPE_SURVIVAL: best_ = defaultShip ? g.progress.survivalBest : g.progress.survivalBestCustom; break;
        case GAMETYPE_CHILLOUT: best_ = 0; break;
        default: {
            const CtrackRecord* rec = g.trackStats.findTrack(s.track.key);
            best_ = rec ? rec->bestScore : 0;
            storedProgress_ = rec ? rec->completion : 0;
            break;
        }
    }
    highScore_->setHidden(s.gameType == GAMETYPE_CHILLOUT);
    bool openMicStandard = s.gameType == GAMETYPE_STANDARD && g.music.openMicRunning();
    if (openMicStandard) {
        best_ = 0;
        highScore_->setHidden(true);
    }

    setScoreText();
    pulse_ = 1.0f;
    int64_t score = s.teamScores[0];
    if (s.gameType != GAMETYPE_CHILLOUT && score > 0 && (uint64_t)score > best_) best_ = (uint64_t)score;
    setBestText();

    // The bars animate from the level they showed last.
    const CpowerUpRecord& rec = g.world.powerUps.team(0);
    for (int b = 0; b < 2; ++b) {
        if (barTimer_[b] == 0) barPrevious_[b] = CpowerUps::getPowerUpLevel(rec, b == 0 ? PU_WEAPON_POWER : PU_COLOUR_LEVEL);
        barTimer_[b] = 1.0f;
    }
    refreshCash();

    dareDevil_->setHidden(true);
    survivor_->setHidden(true);
    movingMul_->setHidden(true);
    meterOffset_ = 0;
    showWeapons();
    showReplayRows();

    bossRushWave_->setHidden(s.gameType != GAMETYPE_BOSSRUSH);
    bossRushTimer_->setHidden(s.gameType != GAMETYPE_BOSSRUSH);
    survivalTimer_->setHidden(s.gameType != GAMETYPE_SURVIVAL);
    bossTimerHomeY_ = bossRushTimer_->y;

    fullPower_ = false;
    logo_->setSprite("", "ui_ZRLogo.png");
    logo_->colour = Ccolour(1, 1, 1, 0.5f);

    nowPlayingHeaders().hud = musicBar_;
    if (g.music.currentTrack) updateChallengeHeader(musicBar_, g.music.currentTrack, true);
}

void CHUD::showWeapons() {
    const CperkMgr& perks = gGame->world.perks;
    for (int i = 0; i < kWeaponWidgets; ++i) {
        weapons_[i]->setHidden(true);
        weaponNums_[i]->setHidden(true);
        weaponSlots_[i] = -1;
    }
    int next = 0;
    for (const Cweapon& w : kWeapons) {
        if (next >= kWeaponWidgets) break;
        if (!perks.isEnabled(perkOfWeaponSlot(w.slot))) continue;
        weaponSlots_[next] = w.slot;
        weapons_[next]->setText("", gEngine->text(w.tag));
        weapons_[next]->setHidden(false);
        weaponNums_[next]->setText("", "");
        weaponNums_[next]->setHidden(false);
        ++next;
    }
}

void CHUD::showReplayRows() {
    if (!screen_) return;
    const Cgame& g = *gGame;
    const CgameSession& s = g.world.session;
    numRows_ = 0;
    for (int i = 0; i < kReplayRows; ++i) {
        Crow& row = rows_[i];
        row.widget->setHidden(true);
        row.homeY = row.widget->y;
        row.targetY = row.homeY;
        row.score = 0;
        order_[i] = i;
    }
    if (s.gameType != GAMETYPE_STANDARD || g.music.openMicRunning()) return;
    numRows_ = std::min(g.world.replay.rivalCount() + 1, kReplayRows);
    for (int i = 0; i < numRows_; ++i) {
        Cwidget* w = rows_[i].widget;
        w->setHidden(false);
        w->setText("Name", i == 0 ? gGame->online.soap.nickname() : g.world.replay.rivalName(i - 1));
        w->setText("Rank", ordinalText(i + 1));
        if (Cgadget* skull = w->findSpriteGadget("Skull")) skull->hidden = true;
    }
    updateRows();
}

void CHUD::updateRows() {
    const Cgame& g = *gGame;
    const CgameSession& s = g.world.session;
    const CscoreReplay& replay = g.world.replay;
    float now = (float)s.clock;
    for (int i = 0; i < numRows_; ++i) {
        Crow& row = rows_[i];
        int mul = 1;
        if (i == 0) {
            row.score = s.teamScores[0];
            mul = g.world.powerUps.multiplier(0);
        } else {
            row.score = replay.rivalScore(i - 1, now);
            mul = replay.rivalMultiplier(i - 1, now);
            if (Cgadget* skull = row.widget->findSpriteGadget("Skull")) {
                float death = replay.rivalDeathTime(i - 1);
                skull->hidden = !(death >= 0 && now >= death);
            }
        }
        row.widget->setText("Score", formatThousands64(row.score));
        char text[16];
        std::snprintf(text, sizeof text, "x%d", mul);
        row.widget->setText("Multiplier", text);
    }
    // One bubble pass: a row passes the one above it only with a strictly higher score.
    for (int k = 1; k < numRows_; ++k) {
        if (rows_[order_[k]].score > rows_[order_[k - 1]].score) {
            std::swap(order_[k], order_[k - 1]);
            rows_[order_[k]].widget->setText("Rank", ordinalText(k + 1));
            rows_[order_[k - 1]].widget->setText("Rank", ordinalText(k));
        }
    }
    placeRows();
}

void CHUD::placeRows() {
    if (numRows_ == 0) return;
    // Between the top and the foot of the arena's frame, at its scale.
    const Crect frame = screen_->frame();
    const float s = screen_->frameScale(), edge = kRowEdge * s, gap = kRowGap * s;
    int64_t leader = rows_[order_[0]].score;
    int64_t half = leader / 2;
    for (int k = 0; k < numRows_; ++k) {
        Crow& row = rows_[order_[k]];
        // All scores at 0 (or 1) leave no span: every row counts as level with the leader.
        float t = leader > half ? (float)(row.score - half) / (float)(leader - half) : 1.0f;
        t = std::clamp(t, 0.0f, 1.0f);
        row.targetY = frame.y + edge + (frame.h - 2 * edge) * (1.0f - t);
    }
    for (int k = 1; k < numRows_; ++k) {
        float& y = rows_[order_[k]].targetY;
        y = std::max(y, rows_[order_[k - 1]].targetY + gap);
    }
    float limit = frame.bottom() - edge;
    for (int k = numRows_ - 1; k >= 0; --k) {
        float& y = rows_[order_[k]].targetY;
        if (y > limit) y = limit;
        limit -= gap;
    }
    for (int i = 0; i < numRows_; ++i) rows_[i].widget->y += (rows_[i].targetY - rows_[i].widget->y) * kRowEase;
}

namespace {
bool overlapsRect(const Crect& a, const Crect& b) {
    return a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
}
}  // namespace

Crect CHUD::trackBarRect() const { return musicBar_ ? musicBar_->rect() : Crect{}; }

// The score grows from its top left corner, so a pulse stays on the screen.
void CHUD::pulseScore() {
    const float k = 1.0f + kPulseScale * pulse_, s = score_->uiScale;
    score_->setScale(k);
    const Crect f = screen_->frame();
    score_->setPosition(f.x + score_->anchorX * f.w + (score_->offsetX + (k - 1) * score_->width * 0.5f) * s,
                        f.y + score_->anchorY * f.h + (score_->offsetY + (k - 1) * score_->height * 0.5f) * s);
}

void CHUD::onUpdate() {
    const Cgame& g = *gGame;
    float dt = (float)gEngine->frameTime;
    setTimeLeftText(musicBar_);
    if (replayRowsRun()) updateRows();
    if (pulse_ > 0) pulse_ = std::max(0.0f, pulse_ - dt);
    pulseScore();
    char mul[16];
    std::snprintf(mul, sizeof mul, "X%d", g.world.powerUps.multiplier(0));
    multiplier_->setText("", mul);
    stepBars(dt);
    if (!g.interfaceHidden) sprayBarSparks();
    highestProgress_ = std::max(highestProgress_, std::clamp(g.world.session.completion, 0.0f, 1.0f));
    stepMeters();
    stepTimers();
    stepLogo();
}

void CHUD::stepBars(float dt) {
    const CpowerUpRecord& rec = gGame->world.powerUps.team(0);
    Cwidget* bars[2] = {powerBar_, colourBar_};
    for (int b = 0; b < 2; ++b) {
        int level = CpowerUps::getPowerUpLevel(rec, b == 0 ? PU_WEAPON_POWER : PU_COLOUR_LEVEL);
        if (barTimer_[b] > 0) {
            barTimer_[b] = std::max(0.0f, barTimer_[b] - dt);
        } else if (level != barPrevious_[b]) {
            // A change of level animates from the level shown.
            barTimer_[b] = 1.0f;
        }
        float shown = lerpValue(3, (float)barPrevious_[b], (float)level, 1.0f - barTimer_[b]);
        if (barTimer_[b] == 0) barPrevious_[b] = level;
        bars[b]->setProgress("", std::clamp(shown / (float)kMaxPowerLevel, 0.0f, 1.0f));
    }
}

void CHUD::sprayBarSparks() {
    Crandom& r = gEngine->random;
    Ccolour colour = gGame->world.colourScheme.getPlayerColour(1);
    for (Cwidget* bar : {powerBar_, colourBar_}) {
        if (r.choice(2) != 0) continue;
        Cvec2 end = bar->getProgressBarEndPos();
        spawnSparks(1, Cvec3(end.x, end.y, 0), 60.0f, colour, 1, 0.2f);
    }
}

void CHUD::stepMeters() {
    Cgame& g = *gGame;
    const Cship* ship = g.world.ships.playerShip(0);
    if (!ship) {
        dareDevil_->setHidden(true);
        survivor_->setHidden(true);
        return;
    }
    Cvec2 at = g.world.camera.planeToScreen(ship->pos);
    at.y += kMeterDrop;
    const CpowerUpRecord& rec = g.world.powerUps.team(0);
    float closeness = rec[PU_DAREDEVIL], chain = rec[PU_DAREDEVIL_CHAIN];
    dareDevil_->setPosition(at.x, at.y);
    if (closeness > kDareDevilStart || chain > 0) {
        bool close = closeness > kDareDevilStart;
        float fill = close ? (closeness - kDareDevilStart) / (1.0f - kDareDevilStart) : chain / 10.0f;
        setMeterColour(dareDevil_, close ? g.namedColours.orange : g.namedColours.yellow);
        dareDevil_->setProgress("", std::clamp(fill, 0.0f, 1.0f));
        showMeter(dareDevil_);
        meterOffset_ += (kMeterOffset - meterOffset_) * 0.1f;
    } else {
        dareDevil_->setHidden(true);
        meterOffset_ -= meterOffset_ * 0.1f;
    }
    float survivor = g.world.powerUps.survivor(0);
    if (survivor > kSurvivorStart) {
        survivor_->setPosition(at.x, at.y + meterOffset_);
        survivor_->setProgress("", std::clamp((survivor - kSurvivorStart) * 4.0f, 0.0f, 1.0f));
        showMeter(survivor_);
    } else {
        survivor_->setHidden(true);
    }
}

void CHUD::stepTimers() {
    const CgameSession& s = gGame->world.session;
    if (s.gameType == GAMETYPE_BOSSRUSH) {
        char wave[64];
        std::snprintf(wave, sizeof wave, "%s %d", gEngine->text("BossWave"), s.bossRushWave);
        bossRushWave_->setText("", wave);
        bossRushTimer_->setText("", bossTimerText(s.waveTimeLeft));
        bossRushTimer_->setScale(bossTimerScale(s.waveTimeLeft));
        bossRushTimer_->y = bossTimerHomeY_ + bossTimerDrop(s.waveTimeLeft);
    } else if (s.gameType == GAMETYPE_SURVIVAL) {
        survivalTimer_->setText("", formatTime((int)s.clock));
    }
}

void CHUD::stepLogo() {
    Cgame& g = *gGame;
    bool full = g.world.powerUps.isFullPower();
    if (full != fullPower_) {
        fullPower_ = full;
        logo_->setSprite("", full ? "ui_ZRLogoFullPower.png" : "ui_ZRLogo.png");
    }
    float f = std::min(std::pow(std::max(g.music.musicEnergy, 0.0f), 4.0f), 5.0f);
    if (g.mode() == kShipEditor) f = 0.5f;
    logo_->setScale(0.5f + 0.5f * f);
}

void CHUD::render() {
    Cgame& g = *gGame;
    if (!screen_ || g.interfaceHidden || g.screenCapture.pending) return;
    // The pause brings the music bar over the top of play: bars it would cover are not drawn under it.
    const CmusicBarScreen* musicBar = screens::get<CmusicBarScreen>();
    const Cwidget* over = gEngine->paused && musicBar ? musicBar->bar() : nullptr;
    for (Cwidget* bar : {powerBar_, colourBar_})
        bar->setHidden(over && over->visible() && overlapsRect(bar->rect(), over->rect()));
    ClayoutScreen::render();
    drawLives();
    drawProgressMarker();
    drawWeapons();
    drawParticleLayer(1);
}

void CHUD::drawLives() {
    const CgameSession& s = gGame->world.session;
    if (s.gameType == GAMETYPE_SHIPTEST || s.gameType == GAMETYPE_CHILLOUT) return;
    const Csprite* icon = gEngine->sprites.findSprite("ui_life.png", false);
    float scale = lives_->uiScale;
    for (int i = 0; i < s.lives() && i < CgameSession::kMaxLives; ++i)
        addScreenQuad(icon, lives_->x + i * kLifeGap * scale, lives_->y, kLifeSize * scale, kLifeSize * scale,
                      progressBarColour());
}

void CHUD::drawProgressMarker() {
    if (gGame->world.session.gameType != GAMETYPE_STANDARD) return;
    Crect r = musicBar_->rect();
    Cgadget* bar = musicBar_->findProgressBar();
    float y = musicBar_->y + (bar ? bar->offsetY * musicBar_->uiScale : 0);
    addScreenQuad(nullptr, r.x + r.w * highestProgress_, y, 6, 6, Ccolour(1, 1, 1, 1));
}

void CHUD::drawWeapons() {
    const CpowerUpRecord& rec = gGame->world.powerUps.team(0);
    for (int i = 0; i < kWeaponWidgets; ++i) {
        const Cweapon* w = weaponOfSlot(weaponSlots_[i]);
        if (!w) break;
        Cwidget* widget = weapons_[i];
        int stock = CpowerUps::getPowerUpLevel(rec, w->slot);
        weaponNums_[i]->setText("", weaponNumText(stock));
        const Csprite* icon = gEngine->sprites.findSprite(w->sprite, false);
        float s = widget->uiScale;
        float size = (icon && icon->width > 0 ? (float)icon->width : 96.0f) * kIconScale * s;
        for (int n = 0; n < weaponIcons(stock); ++n)
            addScreenQuad(icon, widget->x + (13.0f + n * kIconGap) * s, widget->y + 23.0f * s, size, size,
                          Ccolour(1, 1, 1, 1));
    }
}
