#include "platform/steam/steamWorkshopStore.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "engine/engine.h"
#include "engine/resourceFile.h"

namespace fs = std::filesystem;

namespace {

bool readText(const std::string& path, std::string& out) {
    Cbytes raw;
    if (!CresourceFile::readWholeFile(path, raw)) return false;
    out.assign(raw.begin(), raw.end());
    return true;
}

bool writeText(const std::string& path, const std::string& text) {
    return CresourceFile::writeFileAtomic(path, text.data(), text.size());
}

}  // namespace

bool CsteamWorkshopStore::open(const std::string& root) {
    root_ = root;
    if (!root_.empty() && root_.back() != '/') root_ += '/';
    if (root_.empty() || !makeFolders(root_ + "items") || !makeFolders(root_ + "subscriptions")) {
        gEngine->log.print(LOG_E, "Steam: can't make the workshop folder %s", root_.c_str());
        root_.clear();
        return false;
    }
    return true;
}

void CsteamWorkshopStore::close() { root_.clear(); }

uint64_t CsteamWorkshopStore::nextId() const {
    uint64_t next = kFirstId;
    std::error_code ec;
    for (auto it = fs::directory_iterator(root_ + "items", ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        uint64_t id = strtoull(it->path().filename().string().c_str(), nullptr, 10);
        if (id >= next) next = id + 1;
    }
    return next;
}

bool CsteamWorkshopStore::writeRecord(const CworkshopStoredItem& item) const {
    std::string dir = itemDir(item.id);
    std::string numbers = "owner " + std::to_string(item.owner) + "\nappId " + std::to_string(item.appId) +
                          "\nvisibility " + std::to_string(item.visibility) + "\ncreated " +
                          std::to_string(item.created) + "\nupdated " + std::to_string(item.updated) + "\nbanned " +
                          (item.banned ? "1" : "0") + "\nfile \"" + item.fileName + "\"\npreview \"" +
                          item.previewName + "\"\n";
    return writeText(dir + "title.txt", item.title) && writeText(dir + "description.txt", item.description) &&
           writeText(dir + "item.txt", numbers);
}

uint64_t CsteamWorkshopStore::publish(CworkshopStoredItem item, const Cbytes& file, const Cbytes& preview) {
    if (root_.empty()) return 0;
    item.id = nextId();
    item.created = item.updated = (uint32_t)time(nullptr);
    std::string dir = itemDir(item.id);
    if (!makeFolders(dir) || !CresourceFile::writeFileAtomic(dir + "file.dat", file.data(), file.size()) ||
        !CresourceFile::writeFileAtomic(dir + "preview.dat", preview.data(), preview.size()) || !writeRecord(item)) {
        std::error_code ec;
        fs::remove_all(dir, ec);
        return 0;
    }
    return item.id;
}

bool CsteamWorkshopStore::update(CworkshopStoredItem& item, const Cbytes* file, const Cbytes* preview) {
    if (root_.empty()) return false;
    std::string dir = itemDir(item.id);
    if (file && !CresourceFile::writeFileAtomic(dir + "file.dat", file->data(), file->size())) return false;
    if (preview && !CresourceFile::writeFileAtomic(dir + "preview.dat", preview->data(), preview->size())) return false;
    item.updated = std::max((uint32_t)time(nullptr), item.updated + 1);
    return writeRecord(item);
}

bool CsteamWorkshopStore::find(uint64_t id, CworkshopStoredItem& out) const {
    if (root_.empty() || id == 0) return false;
    std::string dir = itemDir(id);
    std::string numbers;
    if (!readText(dir + "item.txt", numbers)) return false;
    CworkshopStoredItem item;
    item.id = id;
    const char* c = numbers.c_str();
    std::string key, value;
    while (Cengine::readToken(key, c) && Cengine::readToken(value, c)) {
        if (key == "owner") item.owner = strtoull(value.c_str(), nullptr, 10);
        else if (key == "appId") item.appId = (uint32_t)strtoul(value.c_str(), nullptr, 10);
        else if (key == "visibility") item.visibility = atoi(value.c_str());
        else if (key == "created") item.created = (uint32_t)strtoul(value.c_str(), nullptr, 10);
        else if (key == "updated") item.updated = (uint32_t)strtoul(value.c_str(), nullptr, 10);
        else if (key == "banned") item.banned = value == "1";
        else if (key == "file") item.fileName = value;
        else if (key == "preview") item.previewName = value;
    }
    readText(dir + "title.txt", item.title);
    readText(dir + "description.txt", item.description);
    out = std::move(item);
    return true;
}

bool CsteamWorkshopStore::readFile(uint64_t id, bool preview, Cbytes& out) const {
    out.clear();
    if (root_.empty() || id == 0) return false;
    return CresourceFile::readWholeFile(itemDir(id) + (preview ? "preview.dat" : "file.dat"), out);
}

bool CsteamWorkshopStore::remove(uint64_t id) {
    if (root_.empty() || id == 0 || !fs::exists(itemDir(id))) return false;
    std::error_code ec;
    fs::remove_all(itemDir(id), ec);
    return !ec;
}

std::vector<std::pair<uint64_t, uint32_t>> CsteamWorkshopStore::subscriptions(uint64_t steamId) const {
    std::vector<std::pair<uint64_t, uint32_t>> list;
    std::string text;
    if (root_.empty() || !readText(subscriptionsPath(steamId), text)) return list;
    const char* c = text.c_str();
    std::string id, when;
    while (Cengine::readToken(id, c) && Cengine::readToken(when, c)) {
        uint64_t n = strtoull(id.c_str(), nullptr, 10);
        if (n != 0) list.emplace_back(n, (uint32_t)strtoul(when.c_str(), nullptr, 10));
    }
    return list;
}

bool CsteamWorkshopStore::subscribe(uint64_t steamId, uint64_t id) {
    if (root_.empty() || id == 0) return false;
    auto list = subscriptions(steamId);
    for (const auto& s : list)
        if (s.first == id) return true;
    list.emplace_back(id, (uint32_t)time(nullptr));
    std::string text;
    for (const auto& [item, when] : list) text += std::to_string(item) + " " + std::to_string(when) + "\n";
    return writeText(subscriptionsPath(steamId), text);
}
