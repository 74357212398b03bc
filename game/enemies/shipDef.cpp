#include "game/enemies/shipDef.h"

#include <cstdlib>

#include "engine/bString.h"
#include "engine/engine.h"

namespace {
const char* kBehaviourNames[BEHAVE_COUNT] = {"None",   "Drift",  "Seek",    "Weave",  "Orbit", "Dash", "Mine",
                                             "Boss",   "Player", "Turret",  "Wingman", "Decoy", "Ball"};
const char* kElementNames[] = {"Hull", "Turret", "Engine", "Armour"};

bool isNumber(const std::string& t) {
    if (t.empty()) return false;
    char* end = nullptr;
    strtod(t.c_str(), &end);
    return end && *end == 0;
}

float toFloat(const std::string& t) { return strtof(t.c_str(), nullptr); }

bool readColour(const char*& cur, Ccolour& out) {
    std::string t;
    if (!Cengine::readToken(t, cur)) return false;
    if (!isNumber(t)) {
        if (gEngine) out = gEngine->colours.get(t);
        return true;
    }
    out.r = toFloat(t);
    out.g = Cengine::readFloat(cur);
    out.b = Cengine::readFloat(cur);
    out.a = 1;
    return true;
}

void logLine(int level, const char* fmt, const std::string& a, const std::string& b) {
    if (gEngine) gEngine->log.print(level, fmt, a.c_str(), b.c_str());
}

// Reads an element's keywords up to EndElement.
void readElement(const char*& cur, CelementDef& e, const std::string& fileName) {
    std::string key;
    while (Cengine::readToken(key, cur)) {
        if (equalsIgnoreCase(key, "EndElement")) return;
        if (equalsIgnoreCase(key, "Angle")) e.angle = Cengine::readFloat(cur);
        else if (equalsIgnoreCase(key, "Scale")) e.scale = Cengine::readFloat(cur);
        else if (equalsIgnoreCase(key, "Radius")) e.radius = Cengine::readFloat(cur);
        else if (equalsIgnoreCase(key, "HitPoints")) e.hitPoints = Cengine::readFloat(cur);
        else if (equalsIgnoreCase(key, "FireRate")) e.fireRate = Cengine::readFloat(cur);
        else if (equalsIgnoreCase(key, "BulletSpeed")) e.bulletSpeed = Cengine::readFloat(cur);
        else if (equalsIgnoreCase(key, "Shots")) e.shots = Cengine::readInt(cur);
        else if (equalsIgnoreCase(key, "Spread")) e.spread = Cengine::readFloat(cur);
        else if (equalsIgnoreCase(key, "Sprite")) Cengine::readToken(e.sprite, cur);
        else if (equalsIgnoreCase(key, "Aim")) {
            std::string a;
            Cengine::readToken(a, cur);
            e.aim = equalsIgnoreCase(a, "Target") ? AIM_TARGET : equalsIgnoreCase(a, "Spin") ? AIM_SPIN : AIM_FIXED;
        } else {
            logLine(LOG_L, "Unknown element keyword '%s' in %s", key, fileName);
        }
    }
}
}  // namespace

int CshipDef::countElements(int kind) const {
    int n = 0;
    for (const auto& e : elements) n += e.kind == kind ? 1 : 0;
    return n;
}

const char* behaviourName(int behaviour) {
    return behaviour >= 0 && behaviour < BEHAVE_COUNT ? kBehaviourNames[behaviour] : "None";
}

int findBehaviour(const std::string& name) {
    for (int i = 0; i < BEHAVE_COUNT; ++i)
        if (equalsIgnoreCase(name, kBehaviourNames[i])) return i;
    return -1;
}

int findElementKind(const std::string& name) {
    for (int i = 0; i < 4; ++i)
        if (equalsIgnoreCase(name, kElementNames[i])) return i;
    return -1;
}

int parseShipDefs(const char* text, std::vector<CshipDef>& out, const std::string& fileName) {
    const char* cur = text;
    std::string key;
    int count = 0;
    CshipDef def;
    bool inDef = false;
    while (Cengine::readToken(key, cur)) {
        if (equalsIgnoreCase(key, "EndFile")) break;
        if (equalsIgnoreCase(key, "ShipDef")) {
            def = CshipDef();
            Cengine::readToken(def.name, cur);
            inDef = true;
            continue;
        }
        if (!inDef) {
            logLine(LOG_L, "Unexpected '%s' outside a ShipDef in %s", key, fileName);
            continue;
        }
        if (equalsIgnoreCase(key, "EndShipDef")) {
            inDef = false;
            if (def.name.empty()) {
                logLine(LOG_L, "Ship def without a name dropped%s in %s", "", fileName);
                continue;
            }
            if (def.radius <= 0) def.radius = 1;
            if (def.health <= 0) def.health = 1;
            out.push_back(def);
            ++count;
            if (gEngine) gEngine->loadStep();
            continue;
        }
        if (equalsIgnoreCase(key, "Type")) def.type = Cengine::readInt(cur);
        else if (equalsIgnoreCase(key, "Kind")) def.kind = Cengine::readInt(cur);
        else if (equalsIgnoreCase(key, "Behaviour")) {
            std::string b;
            Cengine::readToken(b, cur);
            int v = findBehaviour(b);
            if (v < 0) logLine(LOG_L, "Unknown behaviour '%s' in %s", b, fileName);
            def.behaviour = v < 0 ? BEHAVE_DRIFT : v;
        } else if (equalsIgnoreCase(key, "Sprite")) Cengine::readToken(def.sprite, cur);
        else if (equalsIgnoreCase(key, "Colour")) readColour(cur, def.colour);
        else if (equalsIgnoreCase(key, "Sides")) def.sides = Cengine::readInt(cur);
        else if (equalsIgnoreCase(key, "Radius")) def.radius = Cengine::readFloat(cur);
        else if (equalsIgnoreCase(key, "Scale")) def.scale = Cengine::readFloat(cur);
        else if (equalsIgnoreCase(key, "Health")) def.health = Cengine::readFloat(cur);
        else if (equalsIgnoreCase(key, "Speed")) def.speed = Cengine::readFloat(cur);
        else if (equalsIgnoreCase(key, "Turn")) def.turn = Cengine::readFloat(cur);
        else if (equalsIgnoreCase(key, "Score")) def.score = Cengine::readInt(cur);
        else if (equalsIgnoreCase(key, "Drops")) def.drops = Cengine::readInt(cur);
        else if (equalsIgnoreCase(key, "SplitInto")) {
            Cengine::readToken(def.splitInto, cur);
            def.splitCount = Cengine::readInt(cur);
        } else if (equalsIgnoreCase(key, "Acceleration")) def.acceleration = Cengine::readFloat(cur);
        else if (equalsIgnoreCase(key, "Deceleration")) def.deceleration = Cengine::readFloat(cur);
        else if (equalsIgnoreCase(key, "TopSpeed")) def.topSpeed = Cengine::readFloat(cur);
        else if (equalsIgnoreCase(key, "BulletSpeed")) def.bulletSpeed = Cengine::readFloat(cur);
        else if (equalsIgnoreCase(key, "BulletDamage")) def.bulletDamage = Cengine::readFloat(cur);
        else if (equalsIgnoreCase(key, "PickupForce")) def.pickupForce = Cengine::readFloat(cur);
        else if (equalsIgnoreCase(key, "Manufacturer")) def.manufacturer = Cengine::readInt(cur);
        else if (equalsIgnoreCase(key, "Element")) {
            std::string kindName;
            Cengine::readToken(kindName, cur);
            CelementDef e;
            int k = findElementKind(kindName);
            if (k < 0) logLine(LOG_L, "Unknown element kind '%s' in %s", kindName, fileName);
            e.kind = k < 0 ? ELEMENT_ARMOUR : k;
            e.x = Cengine::readFloat(cur);
            e.y = Cengine::readFloat(cur);
            readElement(cur, e, fileName);
            def.elements.push_back(e);
        } else {
            logLine(LOG_L, "Unknown ship keyword '%s' in %s", key, fileName);
        }
    }
    if (inDef) logLine(LOG_L, "Ship def '%s' has no EndShipDef in %s", def.name, fileName);
    return count;
}
