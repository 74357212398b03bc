#pragma once
// Csprite and CspriteMgr: named image regions. Every PNG of the sprites
// folder is a sprite named by its file name ("ui_rosette.png"); sprite sheets
// add named regions of one image (text file "spriteSheets.txt"):
//
//   Sheet "ui_sheet.png"
//     Sprite "ui_PS4_Start.png" 0 0 64 64      ; name, left, top, width, height
//   EndSheet
//   NormalMap "hull.png" "hull_n.png"          ; lit through the second sprite
//   EndFile
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/maths.h"
#include "engine/render/texture.h"

class Csprite {
public:
    std::string name;
    Ctexture* texture = nullptr;
    int srcX = 0, srcY = 0, srcW = 0, srcH = 0;   // source rectangle in texels
    float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
    Ccolour colour;
    float width = 0, height = 0;   // drawn size in pixels at scale 1
    Csprite* normalMap = nullptr;
    bool placeholder = false;

    // Sets the source rectangle and the size from it.
    void setRegion(int x, int y, int w, int h);
};

class CspriteMgr {
public:
    CspriteMgr() = default;
    CspriteMgr(const CspriteMgr&) = delete;
    CspriteMgr& operator=(const CspriteMgr&) = delete;

    // The built-in sprites: "builtin_white", "builtin_placeholder" and the
    // particle shapes "builtin_soft", "builtin_ring", "builtin_spark", "builtin_star".
    void init();
    void releaseAll();

    // Registers every PNG of a folder (full path); the number found.
    int loadFolder(const std::string& folder);
    // Reads sprite sheets from the text files folder.
    bool loadSheets(const std::string& fileName = "spriteSheets.txt");
    bool loadSheetsFromText(const char* text);

    // By name, ignoring case; null on a miss ("Can't find sprite: %s" when reportMiss).
    Csprite* findSprite(const std::string& name, bool reportMiss = true);
    // By name, or the placeholder after logging the miss once.
    Csprite* getSprite(const std::string& name);
    // The named sprite if it exists, else a new one from PNG bytes.
    Csprite* createSpriteFromMemory(const std::string& name, const void* bytes, size_t size);
    // A sprite over a region of a texture (the whole texture when w or h is 0).
    Csprite* createSprite(const std::string& name, Ctexture* texture, int x = 0, int y = 0, int w = 0, int h = 0);
    // Removes a sprite, and its texture when no other sprite uses it.
    void deleteSprite(Csprite* sprite);

    Csprite* placeholder() { return placeholder_; }
    Csprite* white() { return white_; }
    size_t count() const { return sprites_.size(); }
    // Changes whenever a sprite is added or removed; never the same number
    // in two sets of sprites, so a lookup kept with it stays valid while it holds.
    uint64_t generation() const { return generation_; }

private:
    Csprite* add(std::unique_ptr<Csprite> s);
    void makeBuiltin(const char* name, int size, float (*alpha)(float dx, float dy));

    std::vector<std::unique_ptr<Csprite>> sprites_;
    // ASCII case ignored in hashing and comparing: drawing code looks names up
    // every frame, and a lower-cased copy of each would cost an allocation.
    struct CnameHash {
        size_t operator()(const std::string& s) const;
    };
    struct CnameEqual {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    std::unordered_map<std::string, Csprite*, CnameHash, CnameEqual> byName_;   // lower-case names
    std::unordered_set<std::string> reportedMisses_;
    Csprite* placeholder_ = nullptr;
    Csprite* white_ = nullptr;
    uint64_t generation_ = nextGeneration();
    static uint64_t nextGeneration();
};

// A sprite found by name once, and again only when the name or the sprite set
// changes: for drawing that asks for the same sprite every frame.
class CspriteRef {
public:
    // The sprite of that name (null when missing), as findSprite without the miss report.
    const Csprite* find(CspriteMgr& sprites, const std::string& name);

private:
    std::string name_;
    const Csprite* sprite_ = nullptr;
    uint64_t generation_ = 0;
};
