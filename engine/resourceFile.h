#pragma once
// CresourceFile: a whole data or save file held in memory.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/webMessage.h"

enum EresourceFlags : uint32_t {
    RF_DATA = 0,        // from the data folder (name relative to "data/")
    RF_SAVE = 1,        // from the save folder; the file is packed and is unpacked on load
    RF_SAVE_RAW = 2,    // from the save folder, as it stands
    RF_QUIET = 0x100,   // no log line when the file is missing
};

class CresourceFile {
public:
    CresourceFile() = default;
    ~CresourceFile() { release(); }
    CresourceFile(const CresourceFile&) = delete;
    CresourceFile& operator=(const CresourceFile&) = delete;

    bool open(const std::string& name, uint32_t flags = RF_DATA);
    bool openNarrow(const std::string& path, uint32_t flags = 0);
    void release();

    const uint8_t* data() const { return bytes_.data(); }
    size_t size() const { return size_; }
    // Text view with a terminating zero (the tokenizer reads it).
    const char* text() const { return (const char*)bytes_.data(); }
    bool isOpen() const { return open_; }
    uint16_t packedType() const { return type_; }

    // Writes bytes into the save folder packed in the single-block container
    // (type 0); atomic: a temporary file is flushed, then renamed over the old.
    // A failure is logged, or put in error instead when one is given.
    static bool save(const std::string& name, const void* bytes, size_t size, std::string* error = nullptr);
    static bool saveTwitterFile(const void* buffer, size_t length);
    // Writes bytes as they are to a full path, atomically, readable by the
    // owner alone; the folder is synced after the rename.
    static bool writeFileAtomic(const std::string& path, const void* bytes, size_t size, std::string* error = nullptr);
    static bool readWholeFile(const std::string& path, Cbytes& out);

private:
    Cbytes bytes_;   // content followed by one zero byte not counted in size()
    size_t size_ = 0;
    bool open_ = false;
    uint16_t type_ = 0;
    void take(Cbytes&& content);
    // Reads path (unpacked when flags name the save folder); name is how the
    // "already in use" fault calls it.
    bool openPath(const std::string& name, const std::string& path, uint32_t flags);
};

bool fileExistsW(const std::string& path);
// What lies at a path: nothing, a file that opens for reading, or something
// there that cannot be read (no permission, not a file, an I/O fault). why
// gets the reason for the last.
enum EfileState { FILE_MISSING, FILE_READABLE, FILE_UNREADABLE };
EfileState fileState(const std::string& path, std::string* why = nullptr);
// Anything at all at the path, a dangling link included.
bool pathExists(const std::string& path);
bool removeFile(const std::string& path);
bool makeFolders(const std::string& path);
