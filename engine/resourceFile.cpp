#include "engine/resourceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "engine/engine.h"

void CresourceFile::take(Cbytes&& content) {
    size_ = content.size();
    bytes_ = std::move(content);
    bytes_.push_back(0);
    open_ = true;
}

bool CresourceFile::readWholeFile(const std::string& path, Cbytes& out) {
    out.clear();
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return false;
    struct stat st;
    if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) {
        fclose(f);
        return false;
    }
    out.resize((size_t)st.st_size);
    size_t got = out.empty() ? 0 : fread(out.data(), 1, out.size(), f);
    fclose(f);
    if (got != out.size()) {
        out.clear();
        return false;
    }
    return true;
}

bool CresourceFile::open(const std::string& name, uint32_t flags) {
    std::string path = (flags & 0xFF) == RF_DATA ? gEngine->dataPath(name) : gEngine->savePath(name);
    return openPath(name, path, flags);
}

bool CresourceFile::openNarrow(const std::string& path, uint32_t flags) { return openPath(path, path, flags & RF_QUIET); }

bool CresourceFile::openPath(const std::string& name, const std::string& path, uint32_t flags) {
    if (open_) {
        gEngine->logFatal("Error resourceFile already in use: %s", name.c_str());
        return false;
    }
    Cbytes raw;
    if (!readWholeFile(path, raw)) {
        if (!(flags & RF_QUIET)) gEngine->log.print(LOG_L, "Can't open file: %s", path.c_str());
        return false;
    }
    if ((flags & 0xFF) == RF_SAVE) {
        Cbytes payload;
        if (!CwebMessage::unpackPayload(raw.data(), raw.size(), payload, &type_)) {
            gEngine->log.print(LOG_L, "Can't unpack file: %s", path.c_str());
            return false;
        }
        raw = std::move(payload);
    }
    take(std::move(raw));
    return true;
}

void CresourceFile::release() {
    bytes_.clear();
    bytes_.shrink_to_fit();
    size_ = 0;
    open_ = false;
    type_ = 0;
}

namespace {
// The folder's entry for a renamed file is durable only once the folder is synced.
bool syncFolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool writeFailed(const std::string& what, std::string* error) {
    if (error) *error = what;
    else if (gEngine) gEngine->log.print(LOG_L, "%s", what.c_str());
    return false;
}
}  // namespace

bool CresourceFile::writeFileAtomic(const std::string& path, const void* bytes, size_t size, std::string* error) {
    std::string tmp = path + ".tmp";
    // Saves hold the player's login and progress: the owner alone reads them.
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return writeFailed("Can't write file: " + tmp + " (" + strerror(errno) + ")", error);
    if (::fchmod(fd, 0600) != 0) {
        int e = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        return writeFailed("Can't write file: " + tmp + " (" + strerror(e) + ")", error);
    }
    const uint8_t* p = (const uint8_t*)bytes;
    size_t left = size;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            int e = n < 0 ? errno : ENOSPC;
            ::close(fd);
            ::unlink(tmp.c_str());
            return writeFailed("Can't write file: " + tmp + " (" + strerror(e) + ")", error);
        }
        p += n;
        left -= (size_t)n;
    }
    int e = 0;
    if (::fsync(fd) != 0) e = errno;
    if (::close(fd) != 0 && !e) e = errno;
    if (!e && ::rename(tmp.c_str(), path.c_str()) != 0) e = errno;
    if (e) {
        ::unlink(tmp.c_str());
        return writeFailed("Can't replace file: " + path + " (" + strerror(e) + ")", error);
    }
    if (!syncFolderOf(path) && gEngine) gEngine->log.print(LOG_L, "Can't sync the folder of %s", path.c_str());
    return true;
}

bool CresourceFile::save(const std::string& name, const void* bytes, size_t size, std::string* error) {
    Cbytes packed = CwebMessage::pack(0, bytes, size);
    return writeFileAtomic(gEngine->savePath(name), packed.data(), packed.size(), error);
}

bool CresourceFile::saveTwitterFile(const void* buffer, size_t length) { return save("twitter.dat", buffer, length); }

bool fileExistsW(const std::string& path) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return false;
    fclose(f);
    return true;
}

EfileState fileState(const std::string& path, std::string* why) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        // A dangling link holds nothing to lose.
        if (errno == ENOENT || errno == ENOTDIR) return FILE_MISSING;
        if (why) *why = strerror(errno);
        return FILE_UNREADABLE;
    }
    // Opening a pipe or device could block the load for good: not a file is never opened.
    if (!S_ISREG(st.st_mode)) {
        if (why) *why = S_ISDIR(st.st_mode) ? "a folder, not a file" : "not a file";
        return FILE_UNREADABLE;
    }
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (why) *why = strerror(errno);
        return errno == ENOENT ? FILE_MISSING : FILE_UNREADABLE;
    }
    ::close(fd);
    return FILE_READABLE;
}

bool pathExists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

bool removeFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool makeFolders(const std::string& path) {
    if (path.empty()) return false;
    std::string cur;
    size_t i = 0;
    while (i <= path.size()) {
        size_t j = path.find('/', i);
        if (j == std::string::npos) j = path.size();
        cur = path.substr(0, j);
        if (!cur.empty()) {
            if (::mkdir(cur.c_str(), 0755) != 0 && errno != EEXIST) return false;
        }
        i = j + 1;
    }
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
