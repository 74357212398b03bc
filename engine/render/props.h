#pragma once
// Props: small trees of sprites drawn as one thing (module cards, ship parts).
// Prop masters come from "props.txt":
//
//   PropDef "Module_Gun"
//     Element "Element_Hull" Sprite "module_hull.png" Pos 0 0 Scale 1 Angle 0 Colour 255 255 255 255
//     Element "Element_Barrel" Parent "Element_Hull" Sprite "module_barrel.png" Pos 0 -20
//   EndPropDef
//   EndFile
//
// An instance copies its master's tree, so a screen may change a child
// (the ship editor sets the sprite of "Element_Hull").
#include <memory>
#include <string>
#include <vector>

#include "engine/maths.h"

class Csprite;

struct CpropElement {
    std::string name;
    const Csprite* sprite = nullptr;
    Cvec2 pos;          // from the parent's centre, in the parent's units
    float scale = 1;
    float angle = 0;    // degrees
    Ccolour colour;
    bool hidden = false;
    std::vector<CpropElement> children;
};

struct CpropDef {
    std::string name;
    std::vector<CpropElement> elements;   // the roots

    // Draws the master's own tree centred at (x, y).
    void draw(float x, float y, float scale = 1, float angle = 0, const Ccolour& tint = Ccolour()) const;
};

class CpropInstance {
public:
    const CpropDef* def = nullptr;
    std::vector<CpropElement> elements;

    // The element of that name, depth-first, under from (or the whole prop).
    CpropElement* findChildByName(const std::string& name, CpropElement* from = nullptr);
    // Draws the tree centred at (x, y).
    void draw(float x, float y, float scale = 1, float angle = 0, const Ccolour& tint = Ccolour()) const;
};

class CpropMgr {
public:
    bool load(const std::string& fileName = "props.txt");
    bool loadFromText(const char* text);
    void releaseAll();

    // By name, ignoring case; null with "Can't find prop: %s" (unless report is false).
    const CpropDef* findDef(const std::string& name, bool report = true);
    CpropInstance* createInstance(const std::string& name);
    // Frees an instance made here; others are left alone.
    void deleteInstance(CpropInstance* instance);
    size_t instanceCount() const { return instances_.size(); }

private:
    std::vector<std::unique_ptr<CpropDef>> defs_;
    std::vector<std::unique_ptr<CpropInstance>> instances_;
};

// A record's link to the prop instance it shows; the link owns the instance.
class CpropLink {
public:
    CpropInstance* instance = nullptr;
    void set(CpropInstance* i);
    // Frees the linked instance and forgets it.
    void clear();
};
