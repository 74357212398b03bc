#pragma once
// CsongPackInfo: one track entry of the song library (a local file, a radio
// station or an open-mic track; folders and drives in the folder listing)
// with its tags, length and key.
#include <cstdint>
#include <string>
#include <string_view>

enum EsongKind : uint32_t {
    SONG_NONE = 0,
    SONG_BUILT_IN = 1,   // a local file shipped with the game; its path is relative to the data folder
    SONG_LOCAL = 2,      // a local file of the player's
    SONG_RADIO = 3,
    SONG_OPEN_MIC = 4,
    SONG_FOLDER = 5,     // folder listing only: a folder (its name, or ".." for the parent)
    SONG_DRIVE = 6,      // folder listing only: a drive (its root path)
};

// The tags record of a track entry. Texts are UTF-8.
struct CtrackTags {
    uint32_t trackNumber = 0;
    std::string title, album, artist, genre;
    float length = 0;   // seconds
    void clear() { *this = CtrackTags{}; }
};

// A station list record of the radio directory: a genre row when genreFlag is
// set (name and genre id), else a station.
struct CradioStation {
    uint8_t genreFlag = 0;
    std::string name;
    std::string station;   // the station string: the stream or playlist URL
    int32_t bitrate = 0;   // the two counters
    int32_t listeners = 0;
    std::string genre;
    int32_t genreId = 0;
};

// The MD5 hex (lower case) of title, " - ", artist, " - " and the length in
// seconds rounded down to ten, printed as a whole number; a radio station's
// key is the MD5 of its title alone.
std::string makeSongKey(uint32_t kind, std::string_view title, std::string_view artist, float length);

class CsongPackInfo {
public:
    uint32_t kind = SONG_NONE;
    std::string path;      // file path, folder name, drive path or station name
    std::string station;   // radio stations: the station string
    std::string key;
    CtrackTags tags;
    uint8_t favourite = 0;
    uint8_t removed = 0;
    int32_t bitrate = 0, listeners = 0;   // radio stations: the directory's counters

    const std::string& getKey() const { return key; }
    void updateKey() { key = (kind >= SONG_BUILT_IN && kind <= SONG_OPEN_MIC) ? makeSongKey(kind, tags.title, tags.artist, tags.length) : std::string(); }
    // Flips the favourite flag and marks the library dirty.
    void toggleFavourite();
    // Makes this entry the radio station of a station record.
    void setRadioStation(const CradioStation& s);
    // Makes this entry an identified open-mic track of kind 4 with these tags
    // (the path of entry, when given, is kept as its source name).
    void setOpenMic(const CsongPackInfo* entry, const CtrackTags& newTags);
    bool isLocal() const { return kind == SONG_BUILT_IN || kind == SONG_LOCAL; }
    bool isTrack() const { return kind >= SONG_BUILT_IN && kind <= SONG_OPEN_MIC; }
};
