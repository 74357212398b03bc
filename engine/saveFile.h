#pragma once
// CsaveFile: one save file of named records that their owners register.
//
// The file is a record stream packed in the single-block container:
//   "ZXRS" | u32 version 1 | u32 record count | records...
//   record: u8 name length | name | u32 data length | data
// Loading is all or nothing: the whole stream is checked before any record
// is touched. Records absent from the file keep their current values.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/webMessage.h"

// SAVE_UNREADABLE: a file is there but could not be read at all.
enum EsaveLoadResult { SAVE_LOADED = 0, SAVE_MISSING, SAVE_CORRUPT, SAVE_CLOUD_FAILED, SAVE_UNREADABLE };

class CsaveFile {
public:
    using Cwriter = std::function<void(Cbytes& out)>;
    // A reader checks everything before it assigns anything; false refuses the data.
    using Creader = std::function<bool(const uint8_t* data, size_t size)>;
    // Runs only after every reader of the stream has accepted its data, so a
    // reader that stages its result can make a multi-record load all or nothing.
    using Ccommit = std::function<void()>;

    CsaveFile() = default;
    CsaveFile(std::string fileName, bool cloud = false) : fileName_(std::move(fileName)), cloud_(cloud) {}

    void setFileName(const std::string& n) { fileName_ = n; }
    const std::string& fileName() const { return fileName_; }
    void setCloud(bool c) { cloud_ = c; }
    bool cloud() const { return cloud_; }

    // A fixed-size record at a fixed place. A stored record of another size is
    // copied as far as both go; the rest is zeroed.
    void addRecord(const std::string& name, void* data, size_t size);
    void addRecord(const std::string& name, Cwriter writer, Creader reader, Ccommit commit = nullptr);
    void clearRecords() { records_.clear(); }

    // A failed write is logged, or put in error instead when one is given.
    bool saveItems(std::string* error = nullptr);
    // Writes a stream made earlier by serialise() (cloud when flagged, and
    // always the local file). Safe on a task thread: touches no record.
    // cloudFailed is set when a flagged file's cloud copy was not written.
    bool saveStream(const Cbytes& stream, std::string* error = nullptr, bool* cloudFailed = nullptr) const;
    bool loadItems();
    EsaveLoadResult lastResult() const { return lastResult_; }
    // The file is there and could not be used: it must not be written over unread.
    bool foundUnusable() const { return lastResult_ == SAVE_CORRUPT || lastResult_ == SAVE_UNREADABLE; }
    // A cloud copy the last load could not read at all is held: no cloud
    // save writes over it (the local file is still written).
    bool cloudHeld() const { return cloudHeld_; }
    void setCloudHeld(bool held) { cloudHeld_ = held; }
    // The bytes of a cloud copy the last load found unreadable (empty when none).
    Cbytes& damagedCloudCopy() { return damagedCloudCopy_; }

    // The stream itself, for tests and the cloud path.
    Cbytes serialise() const;
    bool deserialise(const uint8_t* p, size_t size);

private:
    struct Crecord {
        std::string name;
        void* data = nullptr;
        size_t size = 0;
        Cwriter writer;
        Creader reader;
        Ccommit commit;
    };
    std::string fileName_;
    bool cloud_ = false;
    std::vector<Crecord> records_;
    EsaveLoadResult lastResult_ = SAVE_MISSING;
    Cbytes damagedCloudCopy_;
    bool cloudHeld_ = false;
};
