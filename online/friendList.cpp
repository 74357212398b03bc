#include "online/friendList.h"

#include <cstring>

#include "engine/bString.h"
#include "engine/saveFile.h"

CfriendEntry* CfriendList::findById(uint64_t id) {
    for (auto& e : entries_)
        if (e.id == id) return &e;
    return nullptr;
}

const CfriendEntry* CfriendList::findById(uint64_t id) const {
    for (const auto& e : entries_)
        if (e.id == id) return &e;
    return nullptr;
}

bool CfriendList::addOrUpdate(int32_t type, uint64_t id, const std::string& name) {
    if (id == 0) return false;
    std::string cut = name.substr(0, utf8CutPoint(name, kNameSize - 1));
    if (CfriendEntry* e = findById(id)) {
        e->type = type;
        e->name = cut;
        return true;
    }
    if (entries_.size() >= kMaxFriends) return false;
    entries_.push_back({type, id, cut});
    return true;
}

int CfriendList::getNumFriendsOfType(int32_t type) const {
    int n = 0;
    for (const auto& e : entries_) n += e.type == type;
    return n;
}

int CfriendList::getFriendIdxOfType(int32_t type, int n) const {
    if (n < 0) return -1;
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].type == type && n-- == 0) return (int)i;
    return -1;
}

bool CfriendList::removeAt(size_t index) {
    if (index >= entries_.size()) return false;
    entries_.erase(entries_.begin() + (ptrdiff_t)index);
    return true;
}

bool CfriendList::removeById(uint64_t id) {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].id == id) return removeAt(i);
    return false;
}

std::vector<uint64_t> CfriendList::ids() const {
    std::vector<uint64_t> out;
    for (const auto& e : entries_) out.push_back(e.id);
    return out;
}

Cbytes CfriendList::serialise() const {
    Cbytes out(entries_.size() * kEntrySize, 0);
    for (size_t i = 0; i < entries_.size(); ++i) {
        uint8_t* p = out.data() + i * kEntrySize;
        putU32(p, (uint32_t)entries_[i].type);
        putU64(p + 8, entries_[i].id);
        copyToField((char*)p + 16, kNameSize, entries_[i].name);
    }
    return out;
}

bool CfriendList::deserialise(const uint8_t* data, size_t size) {
    std::vector<CfriendEntry> list;
    if (!readEntries(data, size, list)) return false;
    entries_ = std::move(list);
    return true;
}

bool CfriendList::readEntries(const uint8_t* data, size_t size, std::vector<CfriendEntry>& list) {
    if (size % kEntrySize != 0 || size / kEntrySize > kMaxFriends) return false;
    list.clear();
    for (size_t off = 0; off < size; off += kEntrySize) {
        const uint8_t* p = data + off;
        CfriendEntry e;
        e.type = (int32_t)getU32(p);
        e.id = getU64(p + 8);
        const char* name = (const char*)p + 16;
        e.name.assign(name, strnlen(name, kNameSize - 1));
        if (e.id) list.push_back(std::move(e));
    }
    return true;
}

bool CfriendList::setStatsId(uint64_t id, uint64_t statsId) {
    CfriendEntry* e = findById(id);
    if (!e) return false;
    e->statsId = statsId;
    return true;
}

void CfriendList::registerRecord(CsaveFile& file, const std::string& recordName) {
    file.addRecord(
        recordName, [this](Cbytes& out) { out = serialise(); },
        [this](const uint8_t* data, size_t size) { return readEntries(data, size, staged_); },
        [this]() {
            entries_ = std::move(staged_);
            for (const auto& [id, statsId] : stagedStatsIds_) setStatsId(id, statsId);
            stagedStatsIds_.clear();
        });
    // Read before the friends are applied; a save without it keeps none.
    file.addRecord(
        recordName + "Stats",
        [this](Cbytes& out) {
            out.clear();
            for (const CfriendEntry& e : entries_) {
                if (!e.statsId) continue;
                out.resize(out.size() + 16);
                putU64(out.data() + out.size() - 16, e.id);
                putU64(out.data() + out.size() - 8, e.statsId);
            }
        },
        [this](const uint8_t* data, size_t size) {
            if (size % 16 != 0 || size / 16 > kMaxFriends) return false;
            stagedStatsIds_.clear();
            for (size_t off = 0; off < size; off += 16)
                stagedStatsIds_.emplace_back(getU64(data + off), getU64(data + off + 8));
            return true;
        },
        [] {});
}
