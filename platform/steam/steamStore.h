#pragma once
// The local Steam client's files under its root folder:
//   remote/<name>       remote-storage files, as written
//   achievements.txt    unlocked achievement names, one a line, with the unix time
//   leaderboards.dat    boards and their entries (format below)
//   friends.txt         the player's friends: steam id and "name", one a line
//
// leaderboards.dat, little-endian:
//   "ZXLB" | u32 version 1 | u32 board count | boards...
//   board: u16 name length | name | i32 sort method | i32 display type | u32 entry count | entries...
//   entry: u64 steam id | i32 score | u32 details count (<= 64) | details (i32 each)
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/webMessage.h"
#include "platform/steam/steamApi.h"

struct CsteamBoardEntry {
    uint64_t steamId = 0;
    int32_t score = 0;
    std::vector<int32_t> details;
};

struct CsteamBoard {
    std::string name;
    int32_t sortMethod = 0;
    int32_t displayType = 0;
    std::vector<CsteamBoardEntry> entries;
};

struct CsteamFriend {
    uint64_t steamId = 0;
    std::string name;
};

class CsteamStore {
public:
    static constexpr uint64_t kQuotaBytes = 100ull * 1024 * 1024;

    // Makes the folders and reads the files; a damaged file is logged and read
    // as empty (it is rewritten on the next change).
    bool open(const std::string& root);
    void close();
    const std::string& root() const { return root_; }

    // Remote storage. Names are plain file names: no folders, no leading dot.
    static bool validFileName(const char* name);
    bool writeFile(const std::string& name, const void* data, size_t size);
    bool readFile(const std::string& name, Cbytes& out) const;
    int64_t fileSize(const std::string& name) const;   // -1 when missing
    bool deleteFile(const std::string& name);
    int fileCount() const;
    uint64_t bytesUsed() const;

    // Achievements.
    std::map<std::string, int64_t> achievements;   // name -> unlock time
    bool saveAchievements() const;

    // Leaderboards.
    std::vector<CsteamBoard> boards;
    bool saveBoards() const;
    static bool parseBoards(const uint8_t* p, size_t size, std::vector<CsteamBoard>& out);
    static Cbytes serialiseBoards(const std::vector<CsteamBoard>& boards);

    // Friends.
    std::vector<CsteamFriend> friends;
    bool saveFriends() const;

private:
    std::string root_;
    std::string remotePath(const std::string& name) const { return root_ + "remote/" + name; }
    bool keepNonFileAside(const std::string& name);
    void loadAchievements();
    void loadBoards();
    void loadFriends();
};
