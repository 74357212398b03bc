#include "screens/partyHUD.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "engine/engine.h"
#include "engine/format.h"
#include "engine/ui/uiDraw.h"
#include "engine/ui/uiMgr.h"
#include "game/game.h"
#include "game/gameTypes.h"
#include "screens/listRows.h"

namespace {
constexpr float kDareDevilFloor = 0.3f;
constexpr float kSurvivorFloor = 0.75f;
constexpr float kMeterDrop = 50.0f;        // pixels below (or, for Carnage, above) the ship
constexpr float kMeterStack = 30.0f;       // the survivor meter's room under a shown dare-devil meter
constexpr float kCarnageFullHealth = 1000.0f;
constexpr float kBossRushWarning = 20.0f;
constexpr float kTagWarning = 5.0f;
constexpr float kBarEase = 3;              // the easing curve of the bars

// The perk weapons' rows, in the order they stand.
struct CweaponRow {
    int slot;
    const char* sprite;
};
constexpr CweaponRow kWeaponRowTable[CpartyHud::kWeaponRows] = {
    {PU_SUPER_BOMB, "ss_pickup_SuperBombBW.png"},   {PU_MICRO_MISSILE, "ss_pickup_MicroMissileBW.png"},
    {PU_REFLECT_SHIELD, "ss_pickup_ReflectShieldBW.png"}, {PU_ULTRA_BEAM, "ss_pickup_UltraBeamBW.png"},
    {PU_AUTO_TURRET, "ss_pickup_AutoTurretBW.png"}, {PU_DECOY, "ss_pickup_QEchoBW.png"},
    {PU_WINGMAN, "ss_pickup_WingmanBW.png"},        {PU_EMP, "ss_pickup_EMPBW.png"},
};

std::string numbered(const char* stem, int i) {
    char name[40];
    snprintf(name, sizeof name, "%s%d", stem, i + 1);
    return name;
}

// Teams 1 and 3 stand on the left and count to the right; 2 and 4 the other way.
float direction(int team) { return team % 2 == 0 ? 1.0f : -1.0f; }

const CnamedColours& colours() { return gGame->namedColours; }
}  // namespace

CpartyHud::CpartyHud() : ClayoutScreen("partyHUD.txt", {}, LEAVE_AT_ONCE) {}

// The header list outlives the game: it must not keep a widget of this HUD.
CpartyHud::~CpartyHud() {
    if (nowPlayingHeaders().partyHud == musicBar_) nowPlayingHeaders().partyHud = nullptr;
}

void CpartyHud::attach(CgameWorld& world, CpartyHud* hud) {
    world.hooks.partyHudEnter = [hud] {
        if (!hud->screen() && !hud->load()) return;
        hud->enter();
    };
    world.hooks.partyHudStep = [hud] {
        if (hud->screen()) hud->update();
    };
    world.hooks.partyHudDraw = [hud] {
        if (hud->screen()) hud->render();
    };
    world.hooks.partyHudFlash = [hud](int player, bool colour) {
        if (!hud->screen()) return;
        if (colour) hud->flashColourLevel(player);
        else hud->flashWeaponLevel(player);
    };
}

bool CpartyHud::onLoaded() {
    std::string missing;
    auto widget = [&](const std::string& name) {
        Cwidget* w = screen_->findWidget(name, false);
        if (!w) missing += (missing.empty() ? "" : ", ") + name;
        return w;
    };
    for (int i = 0; i < kTeams; ++i) {
        normalPanels_[i] = widget(numbered("Player", i));
        winners_[i] = widget(numbered("Winner", i));
        dareDevil_[i] = widget(numbered("DareDevil", i));
        survivor_[i] = widget(numbered("Survivor", i));
        carnage_[i] = widget(numbered("CarnageHealth", i));
        tagBox_[i] = widget(numbered("TagBox", i));
    }
    footballPanels_[0] = widget("Player1Football");
    footballPanels_[1] = widget("Player2Football");
    musicBar_ = widget("MusicBar");
    bossRushTimer_ = widget("BossRushTimer");
    bossRushWave_ = widget("BossRushWave");
    tagTimer_ = widget("TagTimer");
    tagTimerTitle_ = widget("TagTimerTitle");
    survivalTimer_ = widget("SurvivalTimer");
    footballScore_ = widget("FootballScore");
    if (!missing.empty()) {
        gEngine->log.print(LOG_E, "Can't bind %s: missing %s", layoutName().c_str(), missing.c_str());
        return false;
    }
    const CnamedColours& c = colours();
    auto paintBars = [&](Cwidget* w) {
        for (Cgadget& g : w->gadgets)
            if (g.kind == GADGET_PROGRESS) {
                g.fillColour = c.hudText;
                g.colour = c.hudText.withAlpha(0.2f);
            }
    };
    std::array<Cwidget*, kTeams + 2> allPanels = {normalPanels_[0], normalPanels_[1], normalPanels_[2],
                                                 normalPanels_[3], footballPanels_[0], footballPanels_[1]};
    for (Cwidget* p : allPanels) {
        if (Cgadget* lives = p->findTextGadget("Lives", false)) lives->text = CbString();
        paintBars(p);
    }
    for (int i = 0; i < kTeams; ++i) {
        tagBox_[i]->colour = c.hudText;
        winners_[i]->colour = c.lightYellow;
        for (Cwidget* meter : {dareDevil_[i], survivor_[i], carnage_[i]}) paintBars(meter);
    }
    nowPlayingHeaders().partyHud = musicBar_;
    return true;
}

void CpartyHud::bindPlayerWidgets() {
    bool football = gGame->world.session.gameType == GAMETYPE_PARTY_FOOTBALL;
    panels_ = normalPanels_;
    for (int i = 0; i < 2; ++i) {
        panels_[i] = football ? footballPanels_[i] : normalPanels_[i];
        (football ? normalPanels_[i] : footballPanels_[i])->setHidden(true);
    }
}

int CpartyHud::weaponRows(std::array<int, kWeaponRows>& slots) const {
    const CperkMgr& perks = gGame->world.perks;
    int n = 0;
    for (const CweaponRow& row : kWeaponRowTable)
        if (perks.isEnabled(perkOfWeaponSlot(row.slot))) slots[(size_t)n++] = row.slot;
    return n;
}

void CpartyHud::onEnter() {
    CgameWorld& world = gGame->world;
    const CgameSession& s = world.session;
    firstStep_ = true;
    // The timers and meters moved in the last game: everything back to its place.
    screen_->layout();
    bossRushHome_ = Cvec2(bossRushTimer_->x, bossRushTimer_->y);
    tagHome_ = Cvec2(tagTimer_->x, tagTimer_->y);
    bossRushTimer_->setScale(1.0f);
    leader_ = 0;
    progress_ = 0;
    tagPulse_ = 0;
    meterOffset_.fill(0);
    bindPlayerWidgets();
    for (Cwidget* p : panels_) p->setHidden(true);
    for (int i = 0; i < kTeams; ++i)
        for (Cwidget* w : {dareDevil_[i], survivor_[i], carnage_[i], tagBox_[i], winners_[i]}) w->setHidden(true);
    for (Cwidget* p : panels_)
        for (int r = 0; r < kWeaponRows; ++r)
            if (Cgadget* g = p->findTextGadget(numbered("WeaponNum", r), false)) g->hidden = true;

    int players = s.numActivePlayers();
    if (s.partyMode && s.party.tagRules)
        for (int p = 0; p < players && p < kTeams; ++p) tagBox_[p]->setHidden(false);

    std::array<int, kWeaponRows> rows{};
    int numRows = weaponRows(rows);
    int teams = std::min(s.numActiveTeams(), kTeams);
    for (int t = 0; t < teams; ++t) {
        Cwidget* p = panels_[t];
        p->setHidden(false);
        const CpowerUpRecord& rec = world.powerUps.team(t);
        weaponFlash_[t] = colourFlash_[t] = 0;
        weaponFrom_[t] = rec[PU_WEAPON_POWER];
        colourFrom_[t] = rec[PU_COLOUR_LEVEL];
        for (int r = 0; r < numRows; ++r)
            if (Cgadget* g = p->findTextGadget(numbered("WeaponNum", r), false)) g->hidden = false;
    }
    if (s.partyMode && s.party.carnageRules)
        for (int p = 0; p < players && p < kTeams; ++p) carnage_[p]->setHidden(false);
    bossRushTimer_->setHidden(s.gameType != GAMETYPE_BOSSRUSH);
    bossRushWave_->setHidden(s.gameType != GAMETYPE_BOSSRUSH);
    bool tag = s.partyMode && s.party.tagRules;
    tagTimer_->setHidden(!tag);
    tagTimerTitle_->setHidden(!tag);
    survivalTimer_->setHidden(s.gameType != GAMETYPE_SURVIVAL);
    footballScore_->setHidden(s.gameType != GAMETYPE_PARTY_FOOTBALL);
    updateChallengeHeader(musicBar_, gGame->music.currentTrack, true);
    updateTeams(0);
}

void CpartyHud::flashWeaponLevel(int player) {
    int t = gGame->world.session.team(player);
    if (t < 0 || t >= kTeams) return;
    if (weaponFlash_[t] <= 0) weaponFrom_[t] = gGame->world.powerUps.team(t)[PU_WEAPON_POWER];
    weaponFlash_[t] = 1.0f;
}

void CpartyHud::flashColourLevel(int player) {
    int t = gGame->world.session.team(player);
    if (t < 0 || t >= kTeams) return;
    if (colourFlash_[t] <= 0) colourFrom_[t] = gGame->world.powerUps.team(t)[PU_COLOUR_LEVEL];
    colourFlash_[t] = 1.0f;
}

Cvec2 CpartyHud::playerScreenPos(int team) const {
    const Cwidget* p = panel(team);
    if (!p) return Cvec2();
    return gGame->world.screenToPlane(p->x, p->y);
}

float CpartyHud::barFill(int team, int value, float flash, float from) const {
    float now = gGame->world.powerUps.team(team)[value];
    float level = flash > 0 ? lerpValue((int)kBarEase, from, now, 1.0f - flash) : now;
    return clampf(level / (float)kMaxPowerLevel, 0, 1);
}

void CpartyHud::onUpdate() {
    CgameWorld& world = gGame->world;
    const CgameSession& s = world.session;
    float dt = world.stepTime();
    setTimeLeftText(musicBar_);
    updateLeader();
    if (s.gameType == GAMETYPE_PARTY_FOOTBALL) {
        char score[64];
        snprintf(score, sizeof score, "%lld - %lld", (long long)s.teamScores[0], (long long)s.teamScores[1]);
        footballScore_->setText("", score);
    }
    updateTeams(dt);
    progress_ = std::max(progress_, s.completion);
    int players = std::min(s.numActivePlayers(), kTeams);
    for (int p = 0; p < players; ++p) updateMeters(p, s.team(p));
    updateTimers();
    if (s.partyMode && s.party.tagRules) updateTagBoxes(dt);
}

// Names, scores and multipliers change during play (a renamed team, points
// scored): they are written every step, with the bars and the stock counts.
void CpartyHud::updateTeams(float dt) {
    CgameWorld& world = gGame->world;
    const CgameSession& s = world.session;
    bool football = s.gameType == GAMETYPE_PARTY_FOOTBALL;
    std::array<int, kWeaponRows> rows{};
    int numRows = weaponRows(rows);
    int teams = std::min(s.numActiveTeams(), kTeams);
    for (int t = 0; t < teams; ++t) {
        Cwidget* p = panels_[t];
        if (Cgadget* name = p->findTextGadget("Name", false)) p->setTextStr(name, CbString(world.party.getTeamName(t)));
        if (!football) {
            if (Cgadget* g = p->findTextGadget("Score", false)) p->setTextStr(g, CbString(formatThousands64(s.teamScores[t])));
            char mul[16];
            snprintf(mul, sizeof mul, "X%d", world.powerUps.multiplier(t));
            if (Cgadget* g = p->findTextGadget("Multiplier", false)) p->setTextStr(g, CbString(mul));
        }
        weaponFlash_[t] = std::max(0.0f, weaponFlash_[t] - dt);
        colourFlash_[t] = std::max(0.0f, colourFlash_[t] - dt);
        if (Cgadget* bar = p->findProgressBar("PowerBar")) bar->fill = barFill(t, PU_WEAPON_POWER, weaponFlash_[t], weaponFrom_[t]);
        if (Cgadget* bar = p->findProgressBar("ColourBar")) bar->fill = barFill(t, PU_COLOUR_LEVEL, colourFlash_[t], colourFrom_[t]);
        const CpowerUpRecord& rec = world.powerUps.team(t);
        for (int r = 0; r < numRows; ++r) {
            // A panel without this row's text simply has no row.
            Cgadget* g = p->findTextGadget(numbered("WeaponNum", r), false);
            if (!g) continue;
            int count = (int)rec[rows[(size_t)r]];
            char text[16] = "";
            if (count >= 6) snprintf(text, sizeof text, "x%d", count);
            p->setTextStr(g, CbString(text));
        }
    }
}

void CpartyHud::updateLeader() {
    CgameWorld& world = gGame->world;
    const CgameSession& s = world.session;
    if (s.party.teamMode == TEAMMODE_COOP || s.gameType == GAMETYPE_PARTY_FOOTBALL) return;
    int teams = std::min(s.numActiveTeams(), kTeams);
    leader_ = 0;
    for (int t = 1; t < teams; ++t)
        if (s.teamScores[t] > s.teamScores[leader_]) leader_ = t;
    const CnamedColours& c = colours();
    for (int t = 0; t < teams; ++t) {
        bool leads = t == leader_;
        winners_[t]->setHidden(!leads);
        if (Cgadget* name = panels_[t]->findTextGadget("Name", false)) name->colour = leads ? c.lightYellow : c.hudText;
    }
}

void CpartyHud::updateMeters(int player, int team) {
    CgameWorld& world = gGame->world;
    const CgameSession& s = world.session;
    Cship* ship = world.ships.playerShip(player);
    bool respawning = s.respawnTimers[(size_t)player] > 0;
    Cvec2 at = ship ? world.camera.planeToScreen(ship->pos) : Cvec2();
    float& offset = meterOffset_[(size_t)player];

    float dd = world.powerUps.team(team)[PU_DAREDEVIL];
    Cwidget* ddMeter = dareDevil_[(size_t)player];
    if (dd <= kDareDevilFloor || respawning || !ship) {
        ddMeter->setHidden(true);
        offset -= offset * 0.1f;
    } else {
        ddMeter->setHidden(false);
        ddMeter->setPosition(at.x, at.y + kMeterDrop);
        if (Cgadget* bar = ddMeter->findProgressBar()) bar->fill = clampf((dd - kDareDevilFloor) / (1.0f - kDareDevilFloor), 0, 1);
        offset += (kMeterStack - offset) * 0.1f;
    }

    float sv = world.powerUps.survivor(player);
    Cwidget* svMeter = survivor_[(size_t)player];
    if (sv <= kSurvivorFloor || respawning || !ship) {
        svMeter->setHidden(true);
    } else {
        svMeter->setHidden(false);
        svMeter->setPosition(at.x, at.y + kMeterDrop + offset);
        if (Cgadget* bar = svMeter->findProgressBar()) bar->fill = clampf((sv - kSurvivorFloor) * 4.0f, 0, 1);
    }

    if (s.partyMode && s.party.carnageRules) {
        Cwidget* health = carnage_[(size_t)player];
        bool gone = !ship || ship->allTurretsDestroyed();
        health->setHidden(gone);
        if (ship) {
            health->setPosition(at.x, at.y - kMeterDrop);
            if (Cgadget* bar = health->findProgressBar()) bar->fill = clampf(ship->maxTurretHitPoints() / kCarnageFullHealth, 0, 1);
        }
    }
}

void CpartyHud::updateTimers() {
    const CgameSession& s = gGame->world.session;
    if (s.gameType == GAMETYPE_BOSSRUSH) {
        char wave[64];
        snprintf(wave, sizeof wave, "%s %d", gEngine->text("BossWave"), s.bossRushWave);
        bossRushWave_->setText("", wave);
        bossRushTimer_->setText("", formatTime((int)std::ceil(std::max(0.0f, s.waveTimeLeft))));
        float late = std::max(0.0f, kBossRushWarning - s.waveTimeLeft);
        bossRushTimer_->setPosition(bossRushHome_.x, bossRushHome_.y + late * 1.5f);
        bossRushTimer_->setScale(1.0f + late * 0.025f);
    }
    if (s.partyMode && s.party.tagRules) {
        tagTimer_->setText("", formatTime((int)std::ceil(std::max(0.0f, s.tagCountdown))));
        float rise = s.tagCountdown < kTagWarning ? (kTagWarning - s.tagCountdown) * 1.5f : 0.0f;
        tagTimer_->setPosition(tagHome_.x, tagHome_.y - rise);
    }
    if (s.gameType == GAMETYPE_SURVIVAL) survivalTimer_->setText("", formatTime((int)s.clock));
}

void CpartyHud::updateTagBoxes(float dt) {
    const CgameSession& s = gGame->world.session;
    const CnamedColours& c = colours();
    tagPulse_ += 6.0f * dt;
    tagPulse_ -= std::floor(tagPulse_);
    bool on = tagPulse_ > 0.3f;
    int players = std::min(s.numActivePlayers(), kTeams);
    for (int p = 0; p < players; ++p) {
        bool out = s.tagOut[(size_t)p] != 0;
        Ccolour colour;
        if (s.tagCountdown <= kTagWarning) {
            if (p == s.tagIt) colour = on ? c.tagBoxOrange : c.tagBoxBlack;
            else if (out) colour = on ? c.tagBoxGreen : c.tagBoxBlack;
            else colour = c.tagBoxRed;
        } else {
            colour = out ? c.tagBoxGrey : c.tagBoxRed;
        }
        tagBox_[(size_t)p]->colour = colour;
    }
}

Cgadget* CpartyHud::gadgetAt(Cwidget* w, const char* name, Cvec2& at) const {
    Cgadget* g = w ? w->findTextGadget(name, false) : nullptr;
    if (!g) return nullptr;
    at = Cvec2(w->x + g->offsetX * w->uiScale * w->scale, w->y + g->offsetY * w->uiScale * w->scale);
    return g;
}

void CpartyHud::drawLives(int team) const {
    Cvec2 at;
    if (!gadgetAt(panels_[(size_t)team], "Lives", at)) return;
    const Csprite* life = uiDraw::findSprite("ui_life.png");
    float size = 10.0f * gUi->scale();
    float dir = direction(team);
    int lives = std::min(gGame->world.session.teamLives[(size_t)team], CgameSession::kMaxLives);
    for (int i = 0; i < lives; ++i)
        uiDraw::sprite(life, at.x + dir * (6.0f + 15.0f * i) * gUi->scale(), at.y, size, size, colours().hudText);
}

void CpartyHud::drawWeapons(int team) const {
    std::array<int, kWeaponRows> rows{};
    int numRows = weaponRows(rows);
    const CpowerUpRecord& rec = gGame->world.powerUps.team(team);
    float dir = direction(team);
    float scale = gUi->scale();
    for (int r = 0; r < numRows; ++r) {
        Cvec2 at;
        if (!gadgetAt(panels_[(size_t)team], numbered("WeaponNum", r).c_str(), at)) continue;
        const char* spriteName = "";
        for (const CweaponRow& row : kWeaponRowTable)
            if (row.slot == rows[(size_t)r]) spriteName = row.sprite;
        const Csprite* icon = uiDraw::findSprite(spriteName);
        Cvec2 size = uiDraw::spriteSize(icon) * (0.4f * scale);
        int count = (int)rec[rows[(size_t)r]];
        int icons = count >= 6 ? 1 : count;
        for (int i = 0; i < icons; ++i)
            uiDraw::sprite(icon, at.x + dir * (12.0f + 20.0f * i) * scale, at.y, size.x, size.y, colours().hudText);
    }
}

Crect CpartyHud::progressMarker() const {
    const float s = musicBar_->uiScale * musicBar_->scale;
    float lineY = musicBar_->y, w = musicBar_->width * s, left = musicBar_->x - w * 0.5f;
    if (const Cgadget* line = musicBar_->findProgressBar("Progress")) {
        lineY += line->offsetY * s;
        w = line->width * s;
        left = musicBar_->x + line->offsetX * s - w * 0.5f;
    }
    const float x = left + w * clampf(progress_, 0, 1), m = 3.0f * gUi->scale();
    return Crect::fromEdges(x - m, lineY - m, x + m, lineY + m);
}

void CpartyHud::render() {
    ClayoutScreen::render();
    const CgameSession& s = gGame->world.session;
    if (s.gameType == GAMETYPE_STANDARD) uiDraw::fillRect(progressMarker(), colours().hudText);
    int teams = std::min(s.numActiveTeams(), kTeams);
    for (int t = 0; t < teams; ++t) {
        if (s.gameType != GAMETYPE_PARTY_FOOTBALL) drawLives(t);
        drawWeapons(t);
    }
    firstStep_ = false;
}
