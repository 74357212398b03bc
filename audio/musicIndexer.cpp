#include "audio/musicIndexer.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>

#include "audio/audioBASS.h"
#include "audio/songInfoMgr.h"
#include "engine/engine.h"

namespace {
size_t utf8Chars(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// Case-blind, then byte order, so the order never depends on the file system.
bool nameBefore(const CfolderEntry& a, const CfolderEntry& b) {
    size_t n = std::min(a.name.size(), b.name.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = (unsigned char)a.name[i], y = (unsigned char)b.name[i];
        if (x >= 'A' && x <= 'Z') x = (unsigned char)(x + 32);
        if (y >= 'A' && y <= 'Z') y = (unsigned char)(y + 32);
        if (x != y) return x < y;
    }
    if (a.name.size() != b.name.size()) return a.name.size() < b.name.size();
    return a.name < b.name;
}
}  // namespace

std::vector<CfolderEntry> CmusicIndexer::listFolder(const std::string& folder) {
    std::vector<CfolderEntry> out;
    // Read into a buffer on the stack: opendir() takes a 32 KiB block from the
    // heap for every folder, which costs more than listing a small one.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return out;
    alignas(dirent64) char buf[8192];
    for (;;) {
        const ssize_t got = getdents64(fd, buf, sizeof buf);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            if (got < 0) gEngine->log.print(LOG_L, "FindNextFile error. Error is %u.", (unsigned)errno);
            break;
        }
        for (ssize_t at = 0; at < got;) {
            const auto* de = (const dirent64*)(buf + at);
            at += de->d_reclen;
            std::string name = de->d_name;
            if (name.empty() || name == ".") continue;
            unsigned char type = de->d_type;
            bool link = type == DT_LNK;
            if (type == DT_UNKNOWN || link) {
                struct stat st;
                std::string full = joinPath(folder, name);
                if (::lstat(full.c_str(), &st) != 0) continue;
                link = S_ISLNK(st.st_mode);
                if (link && ::stat(full.c_str(), &st) != 0) continue;   // a dangling link
                type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
            }
            CfolderEntry e;
            e.name = std::move(name);
            if (type == DT_DIR) {
                e.kind = (link || e.name[0] == '.') ? ENTRY_SKIPPED : ENTRY_FOLDER;
            } else if (type == DT_REG && CaudioBASS::isSupportedAudioFile(e.name)) {
                e.kind = ENTRY_AUDIO;
            } else {
                continue;
            }
            out.push_back(std::move(e));
        }
    }
    ::close(fd);
    std::sort(out.begin(), out.end(), nameBefore);
    return out;
}

double CmusicIndexer::nowMs() const {
    if (clockMs) return clockMs();
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

void CmusicIndexer::clearProgress() {
    tracksFound_ = 0;
    path_.clear();
    lastTags_.clear();
}

void CmusicIndexer::start(const std::string& folder) {
    levels_.clear();
    walked_.clear();
    tracksFound_ = 0;
    path_ = folder;
    while (path_.size() > 1 && path_.back() == '/') path_.pop_back();
    struct stat st;
    if (::stat(path_.c_str(), &st) == 0) walked_.insert({(uint64_t)st.st_dev, (uint64_t)st.st_ino});
    levels_.push_back({listFolder(path_), 0});
    running_ = true;
}

void CmusicIndexer::stop() {
    running_ = false;
    levels_.clear();
    walked_.clear();
}

bool CmusicIndexer::enterFolder(const std::string& name) {
    std::string full = joinPath(path_, name);
    if ((int)levels_.size() >= maxDepth) {
        gEngine->log.print(LOG_L, "Index: Folder too deep, skipped: %s", full.c_str());
        return false;
    }
    if (utf8Chars(full) > kMaxPathChars) {
        gEngine->log.print(LOG_L, "Index: Path too long, skipped: %s", full.c_str());
        return false;
    }
    struct stat st;
    if (::stat(full.c_str(), &st) == 0 && !walked_.insert({(uint64_t)st.st_dev, (uint64_t)st.st_ino}).second) {
        gEngine->log.print(LOG_L, "Index: Folder already walked, skipped: %s", full.c_str());
        return false;
    }
    path_ = std::move(full);
    gEngine->log.print(LOG_L, "In a folder: %s", path_.c_str());
    levels_.push_back({listFolder(path_), 0});
    return true;
}

void CmusicIndexer::readFile(const std::string& name) {
    std::string full = joinPath(path_, name);
    if (!CaudioBASS::readFileTags(full, lastTags_)) {
        gEngine->log.print(LOG_L, "Failed to get tags: %s", full.c_str());
        return;
    }
    if (!(lastTags_.length > kMinTrackSeconds)) {
        gEngine->log.print(LOG_L, "Rejected Track (too long/short): %s", full.c_str());
        return;
    }
    if (library_.addLocalTrack(SONG_LOCAL, lastTags_, full)) {
        ++tracksFound_;
        gEngine->log.print(LOG_L, "Found Track: %s", full.c_str());
    }
}

bool CmusicIndexer::step() {
    if (!running_ || levels_.empty()) {
        running_ = false;
        return false;
    }
    Clevel& level = levels_.back();
    if (level.next >= level.entries.size()) {
        gEngine->log.print(LOG_L, "Index: Last track filesId=%d, dep=%d", (int)level.next, depth());
        levels_.pop_back();
        if (levels_.empty()) {
            gEngine->log.print(LOG_L, "Index: Finished");
            stop();
            return false;
        }
        size_t slash = path_.rfind('/');
        if (slash != std::string::npos) path_.erase(slash == 0 ? 1 : slash);
        gEngine->log.print(LOG_L, "Up a folder: %s", path_.c_str());
        return true;
    }
    // Move past the entry first: a folder's listing is pushed above this one.
    CfolderEntry entry = std::move(level.entries[level.next++]);
    if (entry.kind == ENTRY_FOLDER)
        enterFolder(entry.name);
    else if (entry.kind == ENTRY_AUDIO)
        readFile(entry.name);
    return true;
}

int CmusicIndexer::runSlice(double budgetMs, int minSteps) {
    // The clock is read before each step, not only after it: a step that
    // would not fit in what is left of the budget waits for the next slice.
    // A step's cost is guessed from the ones before it, its slow ones weighed
    // fully, with room for how much steps differ from it (never more than half
    // the budget): a step a little slower than the guess would otherwise end
    // many slices just past their budget.
    int steps = 0;
    const double began = nowMs();
    // The slice's log lines reach the file in one write as it ends; that
    // write is part of the slice, so its cost comes off the budget.
    const double stepsBudgetMs = budgetMs - flushCostMs_;
    // The library's tables grow here, at the slice's start, rather than in
    // the middle of a step near the slice's end.
    library_.reserveTracks(kTracksPerSliceRoom);
    double last = began;
    {
        ClogHold holdLog(gEngine->log);
        while (running_) {
            const double room = std::min(4.0 * stepSpreadMs_, budgetMs * 0.5);
            if (steps >= minSteps && (last - began) + stepCostMs_ + room > stepsBudgetMs) break;
            step();
            ++steps;
            const double now = nowMs();
            const double cost = now - last;
            last = now;
            if (stepCostMs_ <= 0) {   // the first step measured
                stepCostMs_ = cost;
                continue;
            }
            stepSpreadMs_ += (std::fabs(cost - stepCostMs_) - stepSpreadMs_) * 0.25;
            stepCostMs_ = cost > stepCostMs_ ? cost : stepCostMs_ + (cost - stepCostMs_) * 0.125;
        }
    }
    flushCostMs_ += (nowMs() - last - flushCostMs_) * 0.125;
    return steps;
}
