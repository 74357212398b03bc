#pragma once
// CshipMgr: the ship definitions and every live ship, players' ships first.
// Ships live in a fixed pool (their addresses stay put while they live) and
// are found through a coarse grid over the arena for collisions.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "game/enemies/ship.h"
#include "game/enemies/shipDef.h"

class CgameWorld;
class CplayerShipDef;

class CshipGrid {
public:
    static constexpr float kCellSize = 16.0f;
    void build(const std::vector<Cship*>& ships, float halfWidth, float halfHeight);
    // Calls fn for each collidable enemy-side ship whose cell the circle touches
    // (a ship may come more than once).
    template <typename Fn>
    void query(float x, float y, float r, Fn&& fn) const {
        int x0 = cellX(x - r), x1 = cellX(x + r), y0 = cellY(y - r), y1 = cellY(y + r);
        for (int cy = y0; cy <= y1; ++cy)
            for (int cx = x0; cx <= x1; ++cx)
                for (Cship* s : cells_[cy * cols_ + cx]) fn(s);
    }

private:
    int cellX(float x) const;
    int cellY(float y) const;
    std::vector<std::vector<Cship*>> cells_;
    int cols_ = 1, rows_ = 1;
    float left_ = 0, top_ = 0;
};

class CshipMgr {
public:
    static constexpr int kMaxShips = 800;
    static constexpr float kDisplayDepth = 0.0f;

    explicit CshipMgr(CgameWorld& world);

    bool loadShipDefs(const std::string& fileName = "shipProperties.txt");
    int loadShipDefsFromText(const char* text);
    // Fatal "Can't find ship def: %s" on a miss.
    CshipDef* findShipDef(const std::string& name);
    CshipDef* findShipDefQuiet(const std::string& name);
    // Keeps a made definition (bosses, generated ships); its address stays put.
    CshipDef* addDef(const CshipDef& def);
    void forgetMadeDefs();
    // The flyable definition of a player's ship, made or brought up to date
    // (the hangar calls this when a ship is added or changed).
    CshipDef* syncPlayerShip(const CplayerShipDef& ship);
    // A player's ship has gone: its definition goes once no live ship uses it.
    void removePlayerShipDef(const std::string& name);
    // A loaded definition given new contents (the test flight's record of the
    // ship being edited); null when none has the name or a live ship uses it.
    CshipDef* replaceLoadedDef(CshipDef def);
    size_t defCount() const { return defs_.size(); }

    // A new live ship; a player's ship goes after the other players' ships.
    // Null beyond 800 ships.
    Cship* addShip(const CshipDef* def, bool playerShip = false);
    void removeShip(Cship* ship);
    void clear();
    void clearEnemies();   // every ship but the players' and the display ships

    // Moves every ship, lets enemies touch players, removes the destroyed.
    void update(float dt);
    void rebuildGrid();
    const CshipGrid& grid() const { return grid_; }

    // Draws the ships' three passes (all ships, or the display ships only).
    void drawShips(bool displayOnly = false) const;

    const std::vector<Cship*>& ships() const { return list_; }
    int count() const { return (int)list_.size(); }
    Cship* playerShip(int player) const;
    // The first count: important ships plus the extra ship list.
    int countImportant() const;
    // The second count: live enemy ships (kind other than 9, alive, not marked) plus the extra list.
    int countEnemies() const;
    int countKind(int kind) const;
    // The nearest live player ship (or decoy) to a point, for enemies to chase.
    Cship* nearestTarget(const Cvec2& from) const;
    // The nearest collidable enemy within range, or null.
    Cship* nearestEnemy(const Cvec2& from, float range) const;

    // Ships held outside the list (segments of long bosses) that still count.
    std::vector<Cship*> extraShips;

private:
    CgameWorld& world_;
    std::vector<CshipDef> defs_;
    std::deque<CshipDef> madeDefs_;
    std::deque<CshipDef> playerDefs_;
    std::vector<Cship> pool_;
    std::vector<int> free_;
    std::vector<Cship*> list_;
    CshipGrid grid_;
    uint32_t nextSerial_ = 1;
    std::vector<Cship*> targets_;   // this step's player ships and decoys
};
