#include "screens/shipStatPanels.h"

#include <algorithm>
#include <cstdio>

#include "engine/engine.h"
#include "engine/format.h"
#include "engine/ui/widget.h"
#include "game/game.h"
#include "game/progress/playerShipDef.h"
#include "game/progress/shipModule.h"

namespace {
const Ccolour& lookColour(int look) {
    const CnamedColours& c = gGame->namedColours;
    return look > 0 ? c.valueGood : look < 0 ? c.valueBad : c.valueNormal;
}

void setLine(Cwidget* w, const char* gadget, const std::string& text, int look) {
    Cgadget* g = w->findTextGadget(gadget);
    if (!g) return;
    w->setTextStr(g, CbString(text));
    g->colour = lookColour(look);
}

// A module's prop drawn at this scale per layout pixel of its box fills the box.
constexpr float kPropScalePerPixel = 0.42f / 60.0f;

std::string labelled(const char* tag, const char* value) {
    return std::string(gEngine->text(tag)) + ": " + value;
}
}  // namespace

void fillGlobalShipStats(const CplayerShipDef& ship, Cwidget* discoveries, Cwidget* tracksCleared,
                         Cwidget* timePlayed) {
    const bool pending = ship.statsPending;
    auto fill = [&](Cwidget* w, const char* tag, const std::string& value) {
        if (!w) return;
        Cgadget* g = w->findTextGadget();
        if (g) w->setTextStr(g, CbString(labelled(tag, pending ? "-" : value.c_str())));
    };
    fill(discoveries, "GlobalShipStats_Discoveries", CbString::format("%d", (int)ship.globalDiscoveries).str());
    fill(timePlayed, "GlobalShipStats_TimePlayed", formatTime((int)ship.globalTimePlayed));
    fill(tracksCleared, "GlobalShipStats_TracksCleared", formatThousands64(ship.globalTracksCleared));
    if (discoveries) {
        discoveries->setHidden(ship.source != SHIP_PROCEDURAL);
        discoveries->removeEffect();
    }
}

void fillShipModuleCard(Cwidget* card, const CshipModule* module) {
    if (!card) return;
    for (const char* name : {"Lock", "Unlock"})
        if (Cgadget* g = card->findGadget(name)) g->hidden = true;
    Cgadget* edge = card->findGadget("Edge");
    if (!module) {
        for (const char* name : {"Prop", "Name", "Rarity", "PosTitle", "NegTitle", "PosFactor", "NegFactor"})
            if (card->findGadget(name)) card->setText(name, "");
        // An emptied card shows no model left from an earlier module.
        if (card->findGadget("Prop")) card->setProp("Prop", "", 1.0f);
        if (edge) edge->hidden = true;
        return;
    }
    card->setText("Name", getShipModString(module->posKind));
    card->setText("PosTitle", getShipModString(module->posKind));
    card->setText("NegTitle", module->negKind <= ShipMod_AsteroidDeflect ? getShipModString(module->negKind) : "");
    card->setText("Rarity", getRarityString(module->rarity));
    if (edge) {
        edge->hidden = module->rarity < 1 || module->rarity > 3;
        if (!edge->hidden) edge->colour = gGame->namedColours.rarity[module->rarity - 1];
    }
    // The module's model sits on its card, sized to the card's "Prop" box, in place of the plain icon.
    if (Cgadget* prop = card->findTextGadget("Prop", false)) {
        const Cvec2 box = card->textBox(*prop);
        card->setProp("Prop", module->prop, kPropScalePerPixel * std::min(box.x, box.y));
        if (Cgadget* icon = card->findGadget("Icon")) icon->hidden = !prop->propName.empty();
    }
    char buf[64] = "";
    const float pf = module->posFactor;
    switch (module->posKind) {
        case 0: case 1: case 2: case 3: case 4: snprintf(buf, sizeof buf, "+%0.2f", pf); break;
        case 5: snprintf(buf, sizeof buf, "%0.2f", pf); break;
        case 6: snprintf(buf, sizeof buf, "+%d", (int)pf); break;
        case 7: snprintf(buf, sizeof buf, "+%.2fs", pf); break;
        case 8: case 9: snprintf(buf, sizeof buf, "%s", gEngine->text("shipMod_Enabled")); break;
        default: break;
    }
    card->setText("PosFactor", buf);
    buf[0] = 0;
    const float nf = module->negFactor;
    switch (module->negKind) {
        case 0: case 1: case 2: case 3: case 4: snprintf(buf, sizeof buf, "%0.2f", nf); break;
        case 5: snprintf(buf, sizeof buf, "+%0.2f", nf); break;
        case 6: snprintf(buf, sizeof buf, "%d", (int)nf); break;
        case 7: snprintf(buf, sizeof buf, "%.2fs", nf); break;
        default: break;
    }
    card->setText("NegFactor", buf);
}

int statLineLook(int line, float v) {
    switch (line) {
        case 1: return v <= 0.35f ? VALUE_GOOD : v <= 0.6f ? VALUE_NORMAL : VALUE_BAD;
        case 2: return v >= 2.5f ? VALUE_GOOD : v >= 1.5f ? VALUE_NORMAL : VALUE_BAD;
        case 3: return v <= 0.86f ? VALUE_GOOD : v < 0.92f ? VALUE_NORMAL : VALUE_BAD;
        case 4: return v >= 16.0f ? VALUE_GOOD : v >= 13.0f ? VALUE_NORMAL : VALUE_BAD;
        case 5:
        case 6: return v >= 1.5f ? VALUE_GOOD : v >= 0.9f ? VALUE_NORMAL : VALUE_BAD;
        case 7: return v >= 0.28f ? VALUE_GOOD : v >= 0.0f ? VALUE_NORMAL : VALUE_BAD;
        case 8: return v >= 6 ? VALUE_GOOD : v >= 3 ? VALUE_NORMAL : VALUE_BAD;
        case 9: return v >= 1 ? VALUE_GOOD : v >= 0 ? VALUE_NORMAL : VALUE_BAD;
        case 10: return v > 0 ? VALUE_GOOD : v == 0 ? VALUE_NORMAL : VALUE_BAD;
        default: return VALUE_NORMAL;
    }
}

const char* bonusText(float bonus) {
    static char buf[4][32];
    static int idx = 0;
    char* out = buf[idx];
    idx = (idx + 1) % 4;
    snprintf(out, 32, bonus > 0.005f ? "+%.2f" : "%.2f", bonus);
    return out;
}

int bonusLook(float bonus) { return bonus > 0.005f ? VALUE_GOOD : bonus < -0.005f ? VALUE_BAD : VALUE_NORMAL; }

void fillShipStatsPanel(Cwidget* panel, const CplayerShipDef& ship) {
    if (!panel) return;
    const CplayerShipData& d = ship.data;
    const CmoduleBonuses& b = ship.bonus;
    struct Cline {
        const char* tag;
        float value;
        float bonus;
        bool hasBonus;
    };
    const Cline lines[7] = {
        {"EditShipScale", d.scale, 0, false},
        {"EditAcceleration", d.acceleration + b.acceleration, b.acceleration, true},
        {"EditDeceleration", d.deceleration + b.deceleration, 0, false},
        {"EditTopSpeed", d.topSpeed + b.topSpeed, b.topSpeed, true},
        {"EditBulletSpeed", d.bulletSpeed + b.bulletSpeed, b.bulletSpeed, true},
        {"EditBulletDamage", d.bulletDamage + b.bulletDamage, b.bulletDamage, true},
        {"EditPickupForce", d.pickupForce + b.pickupForce, b.pickupForce, true},
    };
    char name[16], nameB[16], value[32];
    for (int i = 0; i < 7; ++i) {
        const int line = i + 1;
        snprintf(name, sizeof name, "Stats%d", line);
        snprintf(nameB, sizeof nameB, "Stats%db", line);
        snprintf(value, sizeof value, "%.2f", lines[i].value);
        setLine(panel, name, labelled(lines[i].tag, value), statLineLook(line, lines[i].value));
        if (lines[i].hasBonus) setLine(panel, nameB, bonusText(lines[i].bonus), bonusLook(lines[i].bonus));
    }
    setLine(panel, "Stats1b", "", VALUE_NORMAL);
    setLine(panel, "Stats3b", "0.00", VALUE_NORMAL);

    const int beams = d.numActiveTurrets();
    snprintf(value, sizeof value, "%d", beams);
    setLine(panel, "Stats8", labelled("EditNumBeams", value), statLineLook(8, (float)beams));
    setLine(panel, "Stats8b", "", VALUE_NORMAL);

    const int mult = b.startMultiplier;
    const int multLook = statLineLook(9, (float)mult);
    snprintf(value, sizeof value, "%d", mult);
    setLine(panel, "Stats9", labelled("shipMod_StartMultiplier", value), multLook);
    snprintf(value, sizeof value, mult >= 1 ? "+%d" : "%d", mult);
    setLine(panel, "Stats9b", value, multLook);

    snprintf(value, sizeof value, "%.2f", b.pickupLife);
    setLine(panel, "Stats10", labelled("shipMod_IncreasedPickupLife", value), statLineLook(10, b.pickupLife));
    setLine(panel, "Stats10b", bonusText(b.pickupLife), bonusLook(b.pickupLife));

    setLine(panel, "Stats11", std::string(gEngine->text("shipMod_AutoAim")) + ": ", VALUE_NORMAL);
    setLine(panel, "Stats12", std::string(gEngine->text("shipMod_AsteroidDeflect")) + ": ", VALUE_NORMAL);
    setLine(panel, "Stats11b", gEngine->text(b.autoAim ? "Enabled" : "Disabled"), b.autoAim ? VALUE_GOOD : VALUE_NORMAL);
    setLine(panel, "Stats12b", gEngine->text(b.asteroidDeflect ? "Enabled" : "Disabled"),
            b.asteroidDeflect ? VALUE_GOOD : VALUE_NORMAL);
}
