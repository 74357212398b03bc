#pragma once
// CplayerShipMgr: the player's ships: the built-in ships of "playerShips.txt",
// the player's own designs, ships imported from the workshop and the
// music-generated ships; and which one is current.
//
// Stored "playerShips" record: u32 layout version (1), u32 ship count, then
// per ship: u32 entry length, the 2668-byte data block, the 160-byte outside
// record, u32 hull image length and the hull image bytes. Built-in ships keep
// their look from the data file; only their progress is taken from the save.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "game/progress/playerShipDef.h"

class CplayerProgress;

class CplayerShipMgr {
public:
    using CshipPtr = std::unique_ptr<CplayerShipDef>;
    static constexpr uint32_t kLayoutVersion = 1;
    static constexpr size_t kMaxShips = 4096;
    static constexpr size_t kMaxHullImage = 4u * 1024u * 1024u;

    CplayerShipMgr() = default;
    CplayerShipMgr(const CplayerShipMgr&) = delete;
    CplayerShipMgr& operator=(const CplayerShipMgr&) = delete;

    std::vector<CshipPtr> ships;
    int currentIdx = 0;
    // Held while a ship is being made or deleted elsewhere; the hangar waits on it.
    bool hold = false;

    // A ship was added or has gone (the enemy ship manager keeps a flyable
    // definition of each). They run on the main thread only: changes made by
    // the load task wait for update().
    std::function<void(CplayerShipDef&)> onShipAdded;
    std::function<void(const std::string& name)> onShipRemoved;
    void update();
    // Fills a new music-generated ship from its track; without it a plain
    // ship is grown from the name.
    std::function<bool(CplayerShipDef&, const CtrackInfoView& seed)> buildProcShip;
    // The plain growth of a music-generated ship from its name (look, handling
    // and missions); a builder may start from it.
    void growProcShip(CplayerShipDef& ship, const CtrackInfoView& seed) const;

    void attach(CplayerProgress* progress) { progress_ = progress; }

    bool loadBuiltIn(const std::string& fileName = "playerShips.txt");
    bool loadBuiltInFromText(const char* text);

    CplayerShipDef* findShip(const std::string& name);
    CplayerShipDef* findPlayerShipDef(const std::string& name) { return findShip(name); }
    CplayerShipDef* findPublished(uint64_t publishedId);
    int findShipIdx(const std::string& name) const;
    CplayerShipDef* getShip(int idx);
    CplayerShipDef* currentShip() { return getShip(currentIdx); }
    int numShips() const { return (int)ships.size(); }

    // A new player design made from the standard ship; it becomes current.
    CplayerShipDef* createCustomShip();
    // The music-generated ship of a name, made from its track unless held already.
    CplayerShipDef* createProcShip(const std::string& name, const CtrackInfoView& seed, uint8_t flag = 0);
    // Built-in ships cannot be deleted. Modules fitted to the ship come off.
    bool deleteShip(const std::string& name);
    // Makes a ship current and copies its name into the progress record.
    bool setCurrentShipIdx(int idx);
    bool setCurrentShip(const std::string& name);
    // After a load: the ship the progress record names, else the first.
    void selectFromProgress();

    // A ship from the workshop. One already held (same published id, or the
    // same name and owner) takes the new look and keeps its progress; a name
    // that clashes with another ship is made unique.
    CplayerShipDef* addImportedShip(CshipPtr ship);

    // Fits a module, taking it off any other ship first.
    bool fitModule(CplayerShipDef& ship, CshipModule& module);
    // Deletes a module from the collection and takes it out of every ship's
    // slots, wherever the collection thought it sat.
    bool deleteModule(CshipModuleMgr& modules, const std::string& key);
    // Puts every module of the collection back into its ship's slot.
    void attachModules(CshipModuleMgr& modules);
    // Every ship with two or more missions complete brings its module (keyed
    // by the ship's name) into the collection. Returns how many were added.
    int applyPendingModuleGrants(CshipModuleMgr& modules);

    void write(std::vector<uint8_t>& out) const;
    bool read(const uint8_t* p, size_t size, std::vector<CshipPtr>& staged) const;
    // Replaces the saved part of the hangar with loaded ships.
    void applyLoaded(std::vector<CshipPtr>& loaded);
    // Back to the built-in ships alone, without progress.
    void resetToBuiltIn();

private:
    struct Cpending {
        bool added;
        std::string name;
    };
    void notifyAdded(const std::string& name);
    void notifyRemoved(const std::string& name);
    std::string uniqueName(const std::string& base) const;
    CplayerProgress* progress_ = nullptr;
    std::vector<CshipPtr> builtIn_;   // pristine copies of the data file's ships
    std::mutex pendingMutex_;
    std::vector<Cpending> pending_;
};
