#pragma once
// CmusicIndexer: walks a folder and all its subfolders, reads the tags of every
// music file and adds each track longer than 30 seconds to the song library.
//
// The walk is a stack of folder listings, one per depth, each sorted by name
// with the index of the next entry to handle. One step handles one entry, so
// the caller decides how much of the walk a frame takes (runSlice). Links to
// folders are never followed, and a folder already walked (seen through a
// mount) is not walked again, so the walk always ends.
#include <cstdint>
#include <functional>
#include <unordered_set>
#include <string>
#include <utility>
#include <vector>

#include "audio/songPackInfo.h"

class CsongInfoMgr;

enum EfolderEntryKind : uint32_t {
    ENTRY_SKIPPED = 0,   // a hidden folder, a link to a folder
    ENTRY_FOLDER = 1,
    ENTRY_AUDIO = 2,
};

struct CfolderEntry {
    uint32_t kind = ENTRY_SKIPPED;
    std::string name;
};

class CmusicIndexer {
public:
    static constexpr int kMaxDepth = 5000;         // folder levels below the chosen one, the chosen one counted
    static constexpr size_t kMaxPathChars = 1023;  // characters of a folder path
    static constexpr float kMinTrackSeconds = 30.0f;
    // More tracks than a slice adds at any real pace (a file's tags take tens of microseconds).
    static constexpr size_t kTracksPerSliceRoom = 512;

    explicit CmusicIndexer(CsongInfoMgr& library) : library_(library) {}

    // Starts a walk of folder (a walk already running is dropped).
    void start(const std::string& folder);
    // Ends the walk where it stands; what was added stays.
    void stop();
    // Handles one entry. False once the walk has ended (or was not running).
    bool step();
    // Runs steps while the next one is expected to end within budgetMs, never
    // fewer than minSteps (fewer only when the walk ends). Returns the steps taken.
    int runSlice(double budgetMs, int minSteps = 3);

    bool running() const { return running_; }
    const std::string& path() const { return path_; }
    int depth() const { return (int)levels_.size() - 1; }
    int tracksFound() const { return tracksFound_; }
    const CtrackTags& lastTags() const { return lastTags_; }
    void clearProgress();

    int maxDepth = kMaxDepth;
    // Milliseconds of a monotonic clock; tests replace it.
    std::function<double()> clockMs;

    // One folder's entries sorted by name ("." left out; a folder whose name
    // begins with "." and a link to a folder are kind 0; music files kind 2;
    // other files left out). Empty when the folder can't be read.
    static std::vector<CfolderEntry> listFolder(const std::string& folder);

private:
    struct Clevel {
        std::vector<CfolderEntry> entries;
        size_t next = 0;
    };
    bool enterFolder(const std::string& name);
    void readFile(const std::string& name);
    double nowMs() const;

    CsongInfoMgr& library_;
    bool running_ = false;
    std::string path_;
    std::vector<Clevel> levels_;
    struct CfolderIdHash {
        size_t operator()(const std::pair<uint64_t, uint64_t>& id) const {
            return std::hash<uint64_t>()(id.first * 0x9E3779B97F4A7C15ull ^ id.second);
        }
    };
    std::unordered_set<std::pair<uint64_t, uint64_t>, CfolderIdHash> walked_;   // (device, inode) of this walk's folders
    int tracksFound_ = 0;
    CtrackTags lastTags_;
    double stepCostMs_ = 0;     // what a step is expected to take
    double stepSpreadMs_ = 0;   // how far a step's cost is from that, on average
    double flushCostMs_ = 0;    // what writing a slice's log lines takes
};
