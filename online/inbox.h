#pragma once
// Cinbox: the player's news: another player beat the player's score on a
// track (types 15 world high score, 16 dethroned) or the player set a new
// boss-rush (17) or survival (18) high score. Entries arrive as player
// messages and are kept in the "newsfeed4" save as 776-byte records:
//   0 u8 read | 4 u32 type | 8 u32 day number | 12 u32 flag (type 15: 0 world
//   high score, else dethroned) | 16 u64 score | 24 u64 other player id |
//   32 u64 message id | 40 other player's name[128] | 168 track key[128] |
//   296 ship name[128] | 424..775 reserved, zero
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/webMessage.h"

class CsaveFile;

enum EinboxType : uint32_t {
    INBOX_WORLD_HIGHSCORE = 15,
    INBOX_DETHRONED = 16,
    INBOX_BOSSRUSH_HIGHSCORE = 17,
    INBOX_SURVIVAL_HIGHSCORE = 18,
};

struct CinboxEntry {
    uint8_t read = 0;
    uint32_t type = INBOX_DETHRONED;
    uint32_t day = 0;
    uint32_t dethroned = 0;
    uint64_t score = 0;
    uint64_t otherPlayerId = 0;
    uint64_t messageId = 0;
    std::string otherName, trackKey, shipName;

    static constexpr size_t kSize = 776;
    static constexpr size_t kTextSize = 128;
    Cbytes pack() const;
    // False for a record of another size or an unknown type.
    static bool unpack(const uint8_t* p, size_t size, CinboxEntry& out);
};

class Cinbox {
public:
    static constexpr size_t kMaxEntries = 50;
    static constexpr int64_t kMaxAgeDays = 60;

    // Newest first. A message id seen before is not added twice.
    bool add(const CinboxEntry& e);
    void markAllRead();
    // Drops entries older than 60 days and the oldest beyond 50.
    void tidy();
    int numUnread() const;
    void clear();

    const std::vector<CinboxEntry>& entries() const { return entries_; }
    bool changed = false;   // the save should be written
    // Today's day number (the service's clock once the online services set it).
    std::function<int64_t()> today;

    Cbytes serialise() const;
    bool deserialise(const uint8_t* data, size_t size);
    void registerRecord(CsaveFile& file, const std::string& recordName);

private:
    static bool readEntries(const uint8_t* data, size_t size, std::vector<CinboxEntry>& list);
    int64_t todayNumber() const;
    std::vector<CinboxEntry> entries_;
    std::vector<CinboxEntry> staged_;
};
