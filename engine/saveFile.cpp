#include "engine/saveFile.h"

#include <cstring>
#include <map>

#include "engine/engine.h"
#include "engine/resourceFile.h"

void CsaveFile::addRecord(const std::string& name, void* data, size_t size) {
    Crecord r;
    r.name = name.substr(0, 255);
    r.data = data;
    r.size = size;
    records_.push_back(std::move(r));
}

void CsaveFile::addRecord(const std::string& name, Cwriter writer, Creader reader, Ccommit commit) {
    Crecord r;
    r.name = name.substr(0, 255);
    r.writer = std::move(writer);
    r.reader = std::move(reader);
    r.commit = std::move(commit);
    records_.push_back(std::move(r));
}

Cbytes CsaveFile::serialise() const {
    Cbytes out(12);
    memcpy(out.data(), "ZXRS", 4);
    putU32(&out[4], 1);
    putU32(&out[8], (uint32_t)records_.size());
    for (const auto& r : records_) {
        Cbytes body;
        if (r.writer) r.writer(body);
        else if (r.data && r.size) body.assign((const uint8_t*)r.data, (const uint8_t*)r.data + r.size);
        out.push_back((uint8_t)r.name.size());
        out.insert(out.end(), r.name.begin(), r.name.end());
        uint8_t len[4];
        putU32(len, (uint32_t)body.size());
        out.insert(out.end(), len, len + 4);
        out.insert(out.end(), body.begin(), body.end());
    }
    return out;
}

bool CsaveFile::deserialise(const uint8_t* p, size_t size) {
    struct Cspan { const uint8_t* data; size_t size; };
    if (!p || size < 12 || memcmp(p, "ZXRS", 4) != 0 || getU32(p + 4) != 1) return false;
    uint32_t count = getU32(p + 8);
    std::map<std::string, Cspan> found;
    size_t at = 12;
    for (uint32_t i = 0; i < count; ++i) {
        if (at + 1 > size) return false;
        size_t nameLen = p[at++];
        if (nameLen > size - at) return false;
        std::string name((const char*)p + at, nameLen);
        at += nameLen;
        if (size - at < 4) return false;
        uint32_t len = getU32(p + at);
        at += 4;
        if (len > size - at) return false;
        found[name] = {p + at, len};
        at += len;
    }
    if (at != size) return false;
    // Custom readers check their data before any assignment is made.
    for (const auto& r : records_) {
        auto it = found.find(r.name);
        if (it == found.end() || !r.reader) continue;
        if (!r.reader(it->second.data, it->second.size)) {
            gEngine->log.print(LOG_L, "Save file %s: record %s refused", fileName_.c_str(), r.name.c_str());
            return false;
        }
    }
    for (const auto& r : records_) {
        auto it = found.find(r.name);
        if (it == found.end() || r.reader || !r.data) continue;
        size_t n = it->second.size < r.size ? it->second.size : r.size;
        memcpy(r.data, it->second.data, n);
        if (n < r.size) memset((uint8_t*)r.data + n, 0, r.size - n);
    }
    for (const auto& r : records_)
        if (r.commit && found.count(r.name)) r.commit();
    return true;
}

bool CsaveFile::saveItems(std::string* error) { return saveStream(serialise(), error); }

bool CsaveFile::saveStream(const Cbytes& stream, std::string* error, bool* cloudFailed) const {
    if (cloudFailed) *cloudFailed = false;
    if (cloud_) {
        // The local copy is always written too, so a failed upload loses nothing.
        bool sent = false;
        if (cloudHeld_) gEngine->log.print(LOG_L, "Cloud save held: the cloud copy of %s could not be read", fileName_.c_str());
        else sent = gEngine->cloudSave && gEngine->cloudSave(fileName_, stream);
        if (!sent) {
            gEngine->log.print(LOG_L, "Cloud save failed: %s", fileName_.c_str());
            if (cloudFailed) *cloudFailed = true;
        }
    }
    return CresourceFile::save(fileName_, stream.data(), stream.size(), error);
}

bool CsaveFile::loadItems() {
    damagedCloudCopy_.clear();
    if (cloud_ && gEngine->cloudLoad) {
        Cbytes stream;
        EcloudRead got = gEngine->cloudLoad(fileName_, stream);
        cloudHeld_ = got == CLOUD_UNREADABLE;
        if (cloudHeld_) gEngine->log.print(LOG_E, "Cloud file unreadable: %s; cloud saves held", fileName_.c_str());
        if (got == CLOUD_READ) {
            if (deserialise(stream.data(), stream.size())) {
                lastResult_ = SAVE_LOADED;
                return true;
            }
            gEngine->log.print(LOG_L, "Cloud file corrupt: %s", fileName_.c_str());
            damagedCloudCopy_ = std::move(stream);
        }
    }
    CresourceFile file;
    std::string why;
    switch (fileState(gEngine->savePath(fileName_), &why)) {
    case FILE_MISSING: lastResult_ = SAVE_MISSING; return false;
    case FILE_UNREADABLE:
        gEngine->log.print(LOG_E, "Save file unreadable: %s (%s)", fileName_.c_str(), why.c_str());
        lastResult_ = SAVE_UNREADABLE;
        return false;
    case FILE_READABLE: break;
    }
    if (!file.open(fileName_, RF_SAVE) || !deserialise(file.data(), file.size())) {
        gEngine->log.print(LOG_L, "Save file corrupt: %s", fileName_.c_str());
        lastResult_ = SAVE_CORRUPT;
        return false;
    }
    lastResult_ = SAVE_LOADED;
    return true;
}
