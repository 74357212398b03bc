#include "platform/steam/steamStore.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "engine/engine.h"
#include "engine/resourceFile.h"

namespace fs = std::filesystem;

bool CsteamStore::open(const std::string& root) {
    close();
    root_ = root;
    if (!root_.empty() && root_.back() != '/') root_ += '/';
    if (root_.empty() || !makeFolders(root_ + "remote")) {
        gEngine->log.print(LOG_E, "Steam: can't make the folder %s", root_.c_str());
        root_.clear();
        return false;
    }
    loadAchievements();
    loadBoards();
    loadFriends();
    return true;
}

void CsteamStore::close() {
    root_.clear();
    achievements.clear();
    boards.clear();
    friends.clear();
}

bool CsteamStore::validFileName(const char* name) {
    if (!name || !*name || name[0] == '.') return false;
    size_t n = strlen(name);
    if (n > 255) return false;
    for (size_t i = 0; i < n; ++i) {
        unsigned char c = (unsigned char)name[i];
        if (c < 32 || c == '/' || c == '\\' || c == ':') return false;
    }
    return true;
}

bool CsteamStore::writeFile(const std::string& name, const void* data, size_t size) {
    if (root_.empty() || !validFileName(name.c_str())) return false;
    int64_t old = fileSize(name);
    uint64_t used = bytesUsed() - (old > 0 ? (uint64_t)old : 0);
    if (used + size > kQuotaBytes) return false;
    if (!keepNonFileAside(name)) return false;
    return CresourceFile::writeFileAtomic(remotePath(name), data, size);
}

bool CsteamStore::readFile(const std::string& name, Cbytes& out) const {
    out.clear();
    if (root_.empty() || !validFileName(name.c_str())) return false;
    return CresourceFile::readWholeFile(remotePath(name), out);
}

bool CsteamStore::keepNonFileAside(const std::string& name) {
    const std::string path = remotePath(name);
    std::error_code ec;
    auto st = fs::symlink_status(path, ec);
    if (ec || !fs::exists(st) || fs::is_regular_file(st)) return true;
    // A folder or the like in the file's place would refuse every write: it
    // is moved out of the way, never removed.
    std::string aside = path + ".bad";
    for (int n = 2; pathExists(aside) && n < 1000; ++n) aside = path + ".bad" + std::to_string(n);
    fs::rename(path, aside, ec);
    if (ec) {
        gEngine->log.print(LOG_E, "Steam store: can't move %s out of the way: %s", path.c_str(), ec.message().c_str());
        return false;
    }
    gEngine->log.print(LOG_E, "Steam store: %s was not a file; kept as %s", path.c_str(), aside.c_str());
    return true;
}

int64_t CsteamStore::fileSize(const std::string& name) const {
    if (root_.empty() || !validFileName(name.c_str())) return -1;
    std::error_code ec;
    auto st = fs::status(remotePath(name), ec);
    if (ec || !fs::is_regular_file(st)) return -1;
    auto n = fs::file_size(remotePath(name), ec);
    return ec ? -1 : (int64_t)n;
}

bool CsteamStore::deleteFile(const std::string& name) {
    if (root_.empty() || !validFileName(name.c_str())) return false;
    return removeFile(remotePath(name));
}

int CsteamStore::fileCount() const {
    if (root_.empty()) return 0;
    int n = 0;
    std::error_code ec;
    for (auto it = fs::directory_iterator(root_ + "remote", ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string leaf = it->path().filename().string();
        if (it->is_regular_file(ec) && validFileName(leaf.c_str()) && leaf.find(".tmp") == std::string::npos) ++n;
    }
    return n;
}

uint64_t CsteamStore::bytesUsed() const {
    if (root_.empty()) return 0;
    uint64_t total = 0;
    std::error_code ec;
    for (auto it = fs::directory_iterator(root_ + "remote", ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (it->is_regular_file(ec)) total += it->file_size(ec);
    }
    return total;
}

// ---- achievements ----

void CsteamStore::loadAchievements() {
    Cbytes raw;
    if (!CresourceFile::readWholeFile(root_ + "achievements.txt", raw)) return;
    raw.push_back(0);
    const char* c = (const char*)raw.data();
    std::string name, when;
    while (Cengine::readToken(name, c)) {
        if (!Cengine::readToken(when, c)) break;
        achievements[name] = strtoll(when.c_str(), nullptr, 10);
    }
}

bool CsteamStore::saveAchievements() const {
    std::string text;
    for (const auto& [name, when] : achievements) {
        text += "\"" + name + "\" " + std::to_string(when) + "\n";
    }
    return CresourceFile::writeFileAtomic(root_ + "achievements.txt", text.data(), text.size());
}

// ---- leaderboards ----

Cbytes CsteamStore::serialiseBoards(const std::vector<CsteamBoard>& list) {
    Cbytes out(12);
    memcpy(out.data(), "ZXLB", 4);
    putU32(&out[4], 1);
    putU32(&out[8], (uint32_t)list.size());
    auto add = [&out](const void* p, size_t n) { out.insert(out.end(), (const uint8_t*)p, (const uint8_t*)p + n); };
    uint8_t b[8];
    for (const auto& board : list) {
        putU16(b, (uint16_t)board.name.size());
        add(b, 2);
        add(board.name.data(), board.name.size());
        putU32(b, (uint32_t)board.sortMethod);
        add(b, 4);
        putU32(b, (uint32_t)board.displayType);
        add(b, 4);
        putU32(b, (uint32_t)board.entries.size());
        add(b, 4);
        for (const auto& e : board.entries) {
            putU64(b, e.steamId);
            add(b, 8);
            putU32(b, (uint32_t)e.score);
            add(b, 4);
            putU32(b, (uint32_t)e.details.size());
            add(b, 4);
            for (int32_t d : e.details) {
                putU32(b, (uint32_t)d);
                add(b, 4);
            }
        }
    }
    return out;
}

bool CsteamStore::parseBoards(const uint8_t* p, size_t size, std::vector<CsteamBoard>& out) {
    out.clear();
    if (!p || size < 12 || memcmp(p, "ZXLB", 4) != 0 || getU32(p + 4) != 1) return false;
    uint32_t count = getU32(p + 8);
    size_t at = 12;
    auto need = [&](size_t n) { return n <= size - at; };
    std::vector<CsteamBoard> list;
    for (uint32_t i = 0; i < count; ++i) {
        CsteamBoard board;
        if (!need(2)) return false;
        size_t nameLen = getU16(p + at);
        at += 2;
        if (nameLen == 0 || nameLen > kLeaderboardMaxNameLength || !need(nameLen + 12)) return false;
        board.name.assign((const char*)p + at, nameLen);
        at += nameLen;
        board.sortMethod = (int32_t)getU32(p + at);
        board.displayType = (int32_t)getU32(p + at + 4);
        uint32_t entries = getU32(p + at + 8);
        at += 12;
        for (uint32_t k = 0; k < entries; ++k) {
            CsteamBoardEntry e;
            if (!need(16)) return false;
            e.steamId = getU64(p + at);
            e.score = (int32_t)getU32(p + at + 8);
            uint32_t details = getU32(p + at + 12);
            at += 16;
            if (details > kLeaderboardMaxDetails || !need((size_t)details * 4)) return false;
            for (uint32_t d = 0; d < details; ++d) e.details.push_back((int32_t)getU32(p + at + 4 * d));
            at += (size_t)details * 4;
            board.entries.push_back(std::move(e));
        }
        list.push_back(std::move(board));
    }
    if (at != size) return false;
    out = std::move(list);
    return true;
}

void CsteamStore::loadBoards() {
    Cbytes raw;
    if (!CresourceFile::readWholeFile(root_ + "leaderboards.dat", raw)) return;
    if (!parseBoards(raw.data(), raw.size(), boards))
        gEngine->log.print(LOG_E, "Steam: leaderboard file damaged, starting afresh: %sleaderboards.dat", root_.c_str());
}

bool CsteamStore::saveBoards() const {
    Cbytes out = serialiseBoards(boards);
    return CresourceFile::writeFileAtomic(root_ + "leaderboards.dat", out.data(), out.size());
}

// ---- friends ----

void CsteamStore::loadFriends() {
    Cbytes raw;
    if (!CresourceFile::readWholeFile(root_ + "friends.txt", raw)) return;
    raw.push_back(0);
    const char* c = (const char*)raw.data();
    std::string id, name;
    while (Cengine::readToken(id, c)) {
        if (!Cengine::readToken(name, c)) break;
        uint64_t steamId = strtoull(id.c_str(), nullptr, 10);
        if (steamId != 0) friends.push_back({steamId, name});
    }
}

bool CsteamStore::saveFriends() const {
    std::string text;
    for (const auto& f : friends) {
        std::string name = f.name;
        for (char& ch : name)
            if (ch == '"' || ch == '\n' || ch == '\r') ch = '\'';
        text += std::to_string(f.steamId) + " \"" + name + "\"\n";
    }
    return CresourceFile::writeFileAtomic(root_ + "friends.txt", text.data(), text.size());
}
