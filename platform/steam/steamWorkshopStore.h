#pragma once
// The local client's workshop: published items and every user's subscriptions,
// kept as folders of files under one root (by default "workshop/" beside the
// client's other files; several save folders may share one root, as players
// share the real workshop):
//   items/<id>/item.txt          numbers: owner, app id, visibility, created, updated, banned
//   items/<id>/title.txt         the title, as given
//   items/<id>/description.txt   the description, as given
//   items/<id>/file.dat          the item's file; its name in item.txt
//   items/<id>/preview.dat       the preview image; its name in item.txt
//   subscriptions/<steam id>.txt one line per subscribed item: id and the time subscribed
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/webMessage.h"

struct CworkshopStoredItem {
    uint64_t id = 0;
    uint64_t owner = 0;
    uint32_t appId = 0;
    int32_t visibility = 2;
    uint32_t created = 0, updated = 0;
    bool banned = false;
    std::string title, description;
    std::string fileName, previewName;
};

class CsteamWorkshopStore {
public:
    static constexpr uint64_t kFirstId = 1000001;

    bool open(const std::string& root);
    void close();
    bool isOpen() const { return !root_.empty(); }
    const std::string& root() const { return root_; }

    // A new item with copies of its two files; 0 when it can't be written.
    uint64_t publish(CworkshopStoredItem item, const Cbytes& file, const Cbytes& preview);
    // Rewrites an item's record and, when given, its files; the update time
    // moves on (always forward, so a reader sees every change).
    bool update(CworkshopStoredItem& item, const Cbytes* file, const Cbytes* preview);
    bool find(uint64_t id, CworkshopStoredItem& out) const;
    bool readFile(uint64_t id, bool preview, Cbytes& out) const;
    bool remove(uint64_t id);

    // Subscriptions, oldest first.
    std::vector<std::pair<uint64_t, uint32_t>> subscriptions(uint64_t steamId) const;
    bool subscribe(uint64_t steamId, uint64_t id);

private:
    std::string root_;
    std::string itemDir(uint64_t id) const { return root_ + "items/" + std::to_string(id) + "/"; }
    std::string subscriptionsPath(uint64_t steamId) const {
        return root_ + "subscriptions/" + std::to_string(steamId) + ".txt";
    }
    bool writeRecord(const CworkshopStoredItem& item) const;
    uint64_t nextId() const;
};
