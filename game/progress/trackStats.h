#pragma once
// CtrackStats: the player's record of each track (best score, how far it was
// played, the difficulty and ship of the best), kept in "highScores4".
//
// Stored "trackRecords" record: u32 count, then per track
//   char[33] key, u64 best score, f32 completion (0..1), i32 difficulty,
//   i32 day number of the best, then the ship name and the comment as
//   length-prefixed texts (decimal length, a zero byte, the bytes).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct CtrackRecord {
    std::string key;
    uint64_t bestScore = 0;
    float completion = 0;   // 0..1
    int32_t difficulty = 0;
    int32_t dayNumber = 0;
    std::string shipName;
    std::string comment;
};

// The ship a score was made with, as the records and boards need it.
struct CshipSnapshot {
    std::string name;
    bool keepsRecords = true;
    bool standardShip = true;
};

class CtrackStats {
public:
    static constexpr size_t kKeyBytes = 33;
    static constexpr size_t kMaxRecords = 100000;

    std::vector<CtrackRecord> records;

    // The track's boards get a new best through this (the online client).
    std::function<void(const CtrackRecord& record, const CshipSnapshot& ship)> submitBoards;
    // Writes the high-score file (the save layer fills it).
    std::function<bool()> save;

    CtrackRecord* findTrack(const std::string& key);
    // True when the score beats the stored best; an unrecorded track counts
    // as beaten. Ships that keep no records never make a new best.
    bool isNewBest(const std::string& key, uint64_t score, bool shipKeepsRecords = true);
    // Keeps the record (a better score replaces the best with its difficulty,
    // ship and comment; the completion only grows), submits the track's boards
    // and saves the high-score file.
    bool submitScore(const std::string& key, uint64_t score, int difficulty, float progress,
                     const CshipSnapshot& ship, const std::string& comment);
    // A new comment for the track's kept best: the record and its boards get
    // it and the file is saved. False when the track has no record.
    bool setComment(const std::string& key, const std::string& comment, const CshipSnapshot& ship);
    void clear() { records.clear(); }

    void write(std::vector<uint8_t>& out) const;
    bool read(const uint8_t* p, size_t size, std::vector<CtrackRecord>& staged) const;
};
