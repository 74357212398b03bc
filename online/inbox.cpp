#include "online/inbox.h"

#include <cstring>
#include <ctime>

#include "engine/bString.h"
#include "engine/saveFile.h"

namespace {

std::string readField(const uint8_t* p, size_t width) {
    const char* s = (const char*)p;
    return std::string(s, strnlen(s, width - 1));
}

}  // namespace

Cbytes CinboxEntry::pack() const {
    Cbytes r(kSize, 0);
    r[0] = read;
    putU32(r.data() + 4, type);
    putU32(r.data() + 8, day);
    putU32(r.data() + 12, dethroned);
    putU64(r.data() + 16, score);
    putU64(r.data() + 24, otherPlayerId);
    putU64(r.data() + 32, messageId);
    copyToField((char*)r.data() + 40, kTextSize, otherName);
    copyToField((char*)r.data() + 168, kTextSize, trackKey);
    copyToField((char*)r.data() + 296, kTextSize, shipName);
    return r;
}

bool CinboxEntry::unpack(const uint8_t* p, size_t size, CinboxEntry& out) {
    if (!p || size != kSize) return false;
    uint32_t type = getU32(p + 4);
    if (type < INBOX_WORLD_HIGHSCORE || type > INBOX_SURVIVAL_HIGHSCORE) return false;
    CinboxEntry e;
    e.read = p[0] ? 1 : 0;
    e.type = type;
    e.day = getU32(p + 8);
    e.dethroned = getU32(p + 12);
    e.score = getU64(p + 16);
    e.otherPlayerId = getU64(p + 24);
    e.messageId = getU64(p + 32);
    e.otherName = readField(p + 40, kTextSize);
    e.trackKey = readField(p + 168, kTextSize);
    e.shipName = readField(p + 296, kTextSize);
    out = std::move(e);
    return true;
}

bool Cinbox::add(const CinboxEntry& e) {
    if (e.messageId)
        for (const auto& x : entries_)
            if (x.messageId == e.messageId) return false;
    entries_.insert(entries_.begin(), e);
    changed = true;
    return true;
}

void Cinbox::markAllRead() {
    for (auto& e : entries_) e.read = 1;
    changed = true;
}

int64_t Cinbox::todayNumber() const { return today ? today() : (int64_t)time(nullptr) / 86400; }

void Cinbox::tidy() {
    int64_t now = todayNumber();
    size_t before = entries_.size();
    std::vector<CinboxEntry> kept;
    for (auto& e : entries_) {
        if (now - (int64_t)e.day > kMaxAgeDays) continue;
        if (kept.size() >= kMaxEntries) break;   // newest first: the rest are older
        kept.push_back(std::move(e));
    }
    entries_ = std::move(kept);
    if (entries_.size() != before) changed = true;
}

int Cinbox::numUnread() const {
    int n = 0;
    for (const auto& e : entries_) n += e.read == 0;
    return n;
}

void Cinbox::clear() {
    entries_.clear();
    changed = true;
}

Cbytes Cinbox::serialise() const {
    Cbytes out;
    out.reserve(entries_.size() * CinboxEntry::kSize);
    for (const auto& e : entries_) {
        Cbytes r = e.pack();
        out.insert(out.end(), r.begin(), r.end());
    }
    return out;
}

bool Cinbox::readEntries(const uint8_t* data, size_t size, std::vector<CinboxEntry>& list) {
    if (size % CinboxEntry::kSize != 0) return false;
    list.clear();
    for (size_t off = 0; off < size && list.size() < kMaxEntries; off += CinboxEntry::kSize) {
        CinboxEntry e;
        if (CinboxEntry::unpack(data + off, CinboxEntry::kSize, e)) list.push_back(std::move(e));
    }
    return true;
}

bool Cinbox::deserialise(const uint8_t* data, size_t size) {
    std::vector<CinboxEntry> list;
    if (!readEntries(data, size, list)) return false;
    entries_ = std::move(list);
    changed = false;
    return true;
}

void Cinbox::registerRecord(CsaveFile& file, const std::string& recordName) {
    file.addRecord(
        recordName, [this](Cbytes& out) { out = serialise(); },
        [this](const uint8_t* data, size_t size) { return readEntries(data, size, staged_); },
        [this]() {
            entries_ = std::move(staged_);
            changed = false;
        });
}
