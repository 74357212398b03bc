#pragma once
// CsongInfoMgr: the song library. It holds every track entry (local files,
// radio stations, identified open-mic tracks), the folder listing of the
// music browser, the group views the screens show, favourites and the recent
// tracks, and keeps them in "songInfo3.dat" and "recentTracks.dat".
//
// "songInfo3.dat" (packed container, type 0), little-endian:
//   "ZXSI" | u32 version 1 | u32 entry count | entries
//   entry: u32 kind (1..4) | u8 favourite | u32 track number | f32 length |
//          texts path, station, title, album, artist, genre | i32 bitrate | i32 listeners
//   text: u32 byte count (at most 65535) | UTF-8 bytes
// Removed entries and radio stations that are not favourites are left out.
// "recentTracks.dat": "ZXRT" | u32 version 1 | u32 count (at most 24) | texts (keys)
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "audio/songPackInfo.h"

using CsongGroup = std::vector<CsongPackInfo*>;

enum EsongView {
    VIEW_FILES = 0,
    VIEW_ALBUMS = 2,
    VIEW_ARTISTS = 3,
    VIEW_GENRES = 4,
    VIEW_RECENT = 5,
    VIEW_FAVOURITES = 7,
    VIEW_RADIO_FAVOURITES = 8,
    NUM_SONG_VIEWS = 9,
};

enum EtrackSource { SOURCE_CURRENT = 0, SOURCE_RANDOM = 1, SOURCE_RANDOM_FAVOURITE = 2, SOURCE_NOT_PLAYED = 3 };
// What follows a track in a game that outlasts it (the game settings' choice).
enum EnextTrack { NEXT_ON_ALBUM = 0, NEXT_BY_ARTIST = 1, NEXT_FAVOURITE = 2, NEXT_ANY = 3 };

class CsongInfoMgr {
public:
    static constexpr size_t kMaxRecent = 24;
    static constexpr const char* kLibraryFile = "songInfo3.dat";
    static constexpr const char* kRecentFile = "recentTracks.dat";

    CsongInfoMgr() = default;
    ~CsongInfoMgr();
    CsongInfoMgr(const CsongInfoMgr&) = delete;
    CsongInfoMgr& operator=(const CsongInfoMgr&) = delete;

    // Loads the two files from the save folder and builds the views.
    bool init();
    // Saves a changed library once it has been quiet for a few seconds.
    void update(float dt);
    // Saves when changed.
    void shutdown();
    // The library that track entries report their changes to.
    static CsongInfoMgr* active() { return active_; }

    bool load();
    bool save();
    void markDirty();
    bool dirty() const { return dirty_; }

    // Views: each a vector of groups.
    // Views 1 to 8 are rebuilt on first use after the library changed; a group
    // pointer stays valid until then or until rebuildViews.
    const std::vector<CsongGroup>& view(int v) const;
    const CsongGroup* getGroup(int group, int view) const;
    CsongGroup* getGroup(int group, int view);
    void rebuildViews();
    // Counts the rebuilds of views 1 to 8: a list made from the groups of an
    // older generation points at groups that are gone.
    uint32_t viewsGeneration() const { return viewsGeneration_; }
    // Rebuilds view 0: drives, then ".." and the folders, then the music files.
    // False when the folder can't be read (the drives are listed anyway).
    bool listFolder(const std::string& folder);
    static std::vector<std::string> listDrives();

    void toggleGroupFavourite(int group, int view);
    void toggleGroupRemoved(int group, int view);
    bool isGroupAllFavourite(int group, int view) const;
    bool isGroupAllRemoved(int group, int view) const;

    CsongPackInfo* getRandomTrack();
    CsongPackInfo* getTrackForSource(int rule);
    // The track after one that ended, by an EnextTrack choice: the album's
    // next track by number (wrapping), another by the artist, a favourite,
    // or any; a random track when the choice finds none.
    CsongPackInfo* getNextTrack(const CsongPackInfo* ended, int choice);
    int countUnplayedTracks() const;
    bool favouritesEmpty() const;

    CsongPackInfo* findByPath(const std::string& path) const;
    CsongPackInfo* findByKey(const std::string& key, bool skipOpenMic = true) const;
    CsongPackInfo* findByUrl(const std::string& station) const;
    bool owns(const CsongPackInfo* entry) const;

    bool addLocalTrack(uint32_t kind, const CtrackTags& tags, const std::string& path);
    // Makes room in the look-up tables for at least n more tracks, so that
    // adding them never regrows a table (a regrowth rehashes every entry).
    void reserveTracks(size_t n);
    CsongPackInfo* addRadioStation(const CradioStation& station);
    CsongPackInfo* addOpenMicTrack(const CtrackTags& tags, const std::string& sourceName);
    void clearLocalTracks();
    // Puts a track at the front of the recent list (moved there when present);
    // with saveNow the recent tracks file is written at once.
    void addRecentTrack(const CsongPackInfo* track, bool saveNow);
    const std::vector<std::string>& recentKeys() const { return recentKeys_; }

    size_t size() const { return entries_.size(); }
    CsongPackInfo* entry(size_t i) const { return i < entries_.size() ? entries_[i].get() : nullptr; }
    int countKind(uint32_t kind) const;

    // The music player tells the library which track plays (skipped by the
    // random choices) and lets go of its pointers before entries are freed.
    void setCurrentTrack(const CsongPackInfo* t) { current_ = t; }
    const CsongPackInfo* currentTrack() const { return current_; }
    std::function<void()> beforeEntriesFreed;
    // Whether a track has a per-track record (set by the records owner).
    std::function<bool(const std::string& key)> hasTrackRecord;

    // The byte forms of the two files (tests and tools).
    std::vector<uint8_t> serialiseLibrary() const;
    bool parseLibrary(const uint8_t* p, size_t size, std::vector<std::unique_ptr<CsongPackInfo>>& out) const;
    std::vector<uint8_t> serialiseRecent() const;
    static bool parseRecent(const uint8_t* p, size_t size, std::vector<std::string>& out);

private:
    CsongPackInfo* addEntry(std::unique_ptr<CsongPackInfo> e);
    void reindex();
    void index(CsongPackInfo* e);
    bool eligibleRandom(const CsongPackInfo* e) const;
    bool loadFile(const char* name, std::vector<uint8_t>& bytes, bool& corrupt);
    void setAside(const char* name);
    bool saveRecent();

    static CsongInfoMgr* active_;
    std::vector<std::unique_ptr<CsongPackInfo>> entries_;
    std::vector<std::unique_ptr<CsongPackInfo>> listing_;   // folders, drives and unindexed files of view 0
    std::unordered_map<std::string, CsongPackInfo*> byPath_, byUrl_;
    std::unordered_map<std::string, std::vector<CsongPackInfo*>> byKey_;   // lower-case keys
    std::vector<CsongGroup> views_[NUM_SONG_VIEWS];
    std::vector<std::string> recentKeys_;
    const CsongPackInfo* current_ = nullptr;
    bool dirty_ = false;
    bool viewsStale_ = true;   // views 1 to 8 are rebuilt on their next use
    uint32_t viewsGeneration_ = 0;
    float quietTime_ = 0;
};
