#include "engine/render/props.h"

#include <algorithm>
#include <cmath>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/resourceFile.h"
#include "engine/render/sprite.h"

namespace {
CpropElement* findIn(std::vector<CpropElement>& list, const std::string& name) {
    for (auto& e : list) {
        if (equalsIgnoreCase(e.name, name)) return &e;
        if (CpropElement* f = findIn(e.children, name)) return f;
    }
    return nullptr;
}

void drawElement(const CpropElement& e, float px, float py, float pscale, float pangle, const Ccolour& tint) {
    if (e.hidden) return;
    const float rad = degToRad(pangle);
    const float c = std::cos(rad), s = std::sin(rad);
    const float x = px + (e.pos.x * c - e.pos.y * s) * pscale;
    const float y = py + (e.pos.x * s + e.pos.y * c) * pscale;
    const float scale = pscale * e.scale;
    const float angle = pangle + e.angle;
    if (e.sprite) {
        Cquad q;
        q.sprite = e.sprite;
        q.centre = Cvec3(x, y, 0);
        q.width = e.sprite->width * scale;
        q.height = e.sprite->height * scale;
        q.rotation = angle;
        q.colour = Ccolour(e.colour.r * tint.r, e.colour.g * tint.g, e.colour.b * tint.b, e.colour.a * tint.a);
        gEngine->renderer.addQuad(q);
    }
    for (const auto& child : e.children) drawElement(child, x, y, scale, angle, tint);
}
}  // namespace

CpropElement* CpropInstance::findChildByName(const std::string& name, CpropElement* from) {
    if (from) {
        if (equalsIgnoreCase(from->name, name)) return from;
        return findIn(from->children, name);
    }
    return findIn(elements, name);
}

void CpropInstance::draw(float x, float y, float scale, float angle, const Ccolour& tint) const {
    for (const auto& e : elements) drawElement(e, x, y, scale, angle, tint);
}

void CpropDef::draw(float x, float y, float scale, float angle, const Ccolour& tint) const {
    for (const auto& e : elements) drawElement(e, x, y, scale, angle, tint);
}

bool CpropMgr::load(const std::string& fileName) {
    CresourceFile f;
    if (!f.open("textFiles/" + fileName, RF_DATA)) return false;
    return loadFromText(f.text());
}

bool CpropMgr::loadFromText(const char* text) {
    const char* c = text;
    std::string tok;
    CpropDef* def = nullptr;
    while (Cengine::readToken(tok, c)) {
        if (tok == "EndFile") return true;
        if (tok == "PropDef") {
            defs_.push_back(std::make_unique<CpropDef>());
            def = defs_.back().get();
            Cengine::readToken(def->name, c);
        } else if (tok == "EndPropDef") {
            def = nullptr;
        } else if (tok == "Element" && def) {
            CpropElement e;
            std::string parent;
            Cengine::readToken(e.name, c);
            for (;;) {
                const char* peek = c;
                std::string key;
                if (!Cengine::readToken(key, peek)) break;
                if (key == "Sprite") {
                    std::string s;
                    Cengine::readToken(s, peek);
                    e.sprite = gEngine->sprites.getSprite(s);
                } else if (key == "Pos") {
                    e.pos.x = Cengine::readFloat(peek);
                    e.pos.y = Cengine::readFloat(peek);
                } else if (key == "Scale") {
                    e.scale = Cengine::readFloat(peek);
                } else if (key == "Angle") {
                    e.angle = Cengine::readFloat(peek);
                } else if (key == "Colour") {
                    e.colour.r = (float)Cengine::readInt(peek) / 255.0f;
                    e.colour.g = (float)Cengine::readInt(peek) / 255.0f;
                    e.colour.b = (float)Cengine::readInt(peek) / 255.0f;
                    e.colour.a = (float)Cengine::readInt(peek) / 255.0f;
                } else if (key == "Parent") {
                    Cengine::readToken(parent, peek);
                } else if (key == "Hidden") {
                    e.hidden = Cengine::readBool(peek);
                } else {
                    break;   // the next element or the end of the prop
                }
                c = peek;
            }
            if (parent.empty()) {
                def->elements.push_back(std::move(e));
            } else if (CpropElement* p = findIn(def->elements, parent)) {
                p->children.push_back(std::move(e));
            } else {
                gEngine->log.print(LOG_E, "props: %s: can't find parent %s of %s", def->name.c_str(), parent.c_str(),
                                   e.name.c_str());
            }
        } else {
            gEngine->log.print(LOG_E, "props: unexpected token '%s'", tok.c_str());
            return false;
        }
    }
    return true;
}

void CpropMgr::releaseAll() {
    instances_.clear();
    defs_.clear();
}

const CpropDef* CpropMgr::findDef(const std::string& name, bool report) {
    for (auto& d : defs_)
        if (equalsIgnoreCase(d->name, name)) return d.get();
    if (report) gEngine->log.print(LOG_L, "Can't find prop: %s", name.c_str());
    return nullptr;
}

CpropInstance* CpropMgr::createInstance(const std::string& name) {
    const CpropDef* d = findDef(name);
    if (!d) return nullptr;
    auto inst = std::make_unique<CpropInstance>();
    inst->def = d;
    inst->elements = d->elements;
    instances_.push_back(std::move(inst));
    return instances_.back().get();
}

void CpropMgr::deleteInstance(CpropInstance* instance) {
    if (!instance) return;
    instances_.erase(std::remove_if(instances_.begin(), instances_.end(),
                                    [&](const std::unique_ptr<CpropInstance>& p) { return p.get() == instance; }),
                     instances_.end());
}

void CpropLink::set(CpropInstance* i) {
    if (i == instance) return;
    clear();
    instance = i;
}

void CpropLink::clear() {
    if (instance && gEngine) gEngine->props.deleteInstance(instance);
    instance = nullptr;
}
