#pragma once
// CfriendList: the players the local player follows on the web boards.
// Type 0 entries are players added by id on the find-player screen; other
// types come from the Steam friends refresh. Kept in the game save as
// 56-byte entries {u32 type, u32 zero, u64 id, name[40]}.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/webMessage.h"

class CsaveFile;

struct CfriendEntry {
    int32_t type = 0;
    uint64_t id = 0;
    std::string name;   // at most 39 bytes
    // The id the web service keeps the player's statistics under (their
    // Steam id), 0 when not known: the statistics are then asked for by id.
    uint64_t statsId = 0;
    uint64_t statsKey() const { return statsId ? statsId : id; }
};

class CfriendList {
public:
    static constexpr size_t kEntrySize = 56;
    static constexpr size_t kNameSize = 40;
    static constexpr size_t kMaxFriends = 500;

    CfriendEntry* findById(uint64_t id);
    const CfriendEntry* findById(uint64_t id) const;
    // Adds the player, or renames and retypes an existing entry. False when
    // the id is 0 or the list is full.
    bool addOrUpdate(int32_t type, uint64_t id, const std::string& name);
    int getNumFriendsOfType(int32_t type) const;
    // Index into entries() of the n-th entry of a type, -1 when none.
    int getFriendIdxOfType(int32_t type, int n) const;
    bool removeAt(size_t index);
    bool removeById(uint64_t id);
    void clear() { entries_.clear(); }
    bool contains(uint64_t id) const { return findById(id) != nullptr; }
    size_t size() const { return entries_.size(); }
    const std::vector<CfriendEntry>& entries() const { return entries_; }
    const CfriendEntry& operator[](size_t i) const { return entries_[i]; }
    std::vector<uint64_t> ids() const;

    // 56-byte entries one after another.
    Cbytes serialise() const;
    // All or nothing: a size that is not a whole number of entries is refused.
    bool deserialise(const uint8_t* data, size_t size);
    // The record, applied only once the whole file has read; the statistics
    // ids go in a record of their own beside it ("<name>Stats", {u64 id,
    // u64 statsId} pairs).
    void registerRecord(CsaveFile& file, const std::string& recordName);
    bool setStatsId(uint64_t id, uint64_t statsId);

private:
    static bool readEntries(const uint8_t* data, size_t size, std::vector<CfriendEntry>& list);
    std::vector<CfriendEntry> entries_;
    std::vector<CfriendEntry> staged_;
    std::vector<std::pair<uint64_t, uint64_t>> stagedStatsIds_;
};
