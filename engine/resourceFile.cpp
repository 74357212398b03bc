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

bool CresourceFile::writeFileAtomic(const std::string& path, const void* bytes, size_t size) {
    std::string tmp = path + ".tmp";
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (gEngine) gEngine->log.print(LOG_L, "Can't write file: %s (%s)", tmp.c_str(), strerror(errno));
        return false;
    }
    const uint8_t* p = (const uint8_t*)bytes;
    size_t left = size;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ::close(fd);
            ::unlink(tmp.c_str());
            if (gEngine) gEngine->log.print(LOG_L, "Can't write file: %s", tmp.c_str());
            return false;
        }
        p += n;
        left -= (size_t)n;
    }
    bool ok = ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (!ok || ::rename(tmp.c_str(), path.c_str()) != 0) {
        ::unlink(tmp.c_str());
        if (gEngine) gEngine->log.print(LOG_L, "Can't replace file: %s", path.c_str());
        return false;
    }
    return true;
}

bool CresourceFile::save(const std::string& name, const void* bytes, size_t size) {
    Cbytes packed = CwebMessage::pack(0, bytes, size);
    return writeFileAtomic(gEngine->savePath(name), packed.data(), packed.size());
}

bool CresourceFile::saveTwitterFile(const void* buffer, size_t length) { return save("twitter.dat", buffer, length); }

bool fileExistsW(const std::string& path) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return false;
    fclose(f);
    return true;
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
