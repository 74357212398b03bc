#include "audio/songInfoMgr.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "audio/audioBASS.h"
#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/resourceFile.h"

CsongInfoMgr* CsongInfoMgr::active_ = nullptr;

namespace {
constexpr uint32_t kLibraryVersion = 1;
constexpr uint32_t kRecentVersion = 1;
constexpr uint32_t kMaxEntries = 2000000;
constexpr uint32_t kMaxText = 65535;

void putText(std::vector<uint8_t>& out, const std::string& s) {
    uint32_t n = (uint32_t)std::min<size_t>(s.size(), kMaxText);
    n = (uint32_t)utf8CutPoint(s, n);
    uint8_t b[4];
    putU32(b, n);
    out.insert(out.end(), b, b + 4);
    out.insert(out.end(), s.begin(), s.begin() + n);
}

void putU32v(std::vector<uint8_t>& out, uint32_t v) {
    uint8_t b[4];
    putU32(b, v);
    out.insert(out.end(), b, b + 4);
}

// Bounds-checked reading of a file image; any fault makes ok false.
struct Creader {
    const uint8_t* p;
    size_t left;
    bool ok = true;
    bool bytes(void* dst, size_t n) {
        if (!ok || n > left) return ok = false;
        memcpy(dst, p, n);
        p += n;
        left -= n;
        return true;
    }
    uint32_t u32() {
        uint8_t b[4] = {};
        bytes(b, 4);
        return getU32(b);
    }
    uint8_t u8() {
        uint8_t b = 0;
        bytes(&b, 1);
        return b;
    }
    float f32() {
        uint32_t u = u32();
        float f;
        memcpy(&f, &u, 4);
        return f;
    }
    std::string text() {
        uint32_t n = u32();
        if (!ok || n > kMaxText || n > left) {
            ok = false;
            return {};
        }
        std::string s((const char*)p, n);
        p += n;
        left -= n;
        return s;
    }
};

bool isDirectory(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::string parentOf(const std::string& folder) {
    std::string f = folder;
    while (f.size() > 1 && f.back() == '/') f.pop_back();
    size_t s = f.rfind('/');
    if (s == std::string::npos) return ".";
    return s == 0 ? "/" : f.substr(0, s);
}

// /proc/mounts escapes blanks and the like as \ooo.
std::string unescapeMount(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && isdigit((unsigned char)s[i + 1]) && isdigit((unsigned char)s[i + 2]) &&
            isdigit((unsigned char)s[i + 3])) {
            out.push_back((char)((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(s[i]);
        }
    }
    return out;
}

bool lessIgnoreCase(const std::string& a, const std::string& b) { return toLowerAscii(a) < toLowerAscii(b); }
}  // namespace

CsongInfoMgr::~CsongInfoMgr() {
    if (active_ == this) active_ = nullptr;
}

bool CsongInfoMgr::init() {
    active_ = this;
    load();
    rebuildViews();
    return true;
}

void CsongInfoMgr::update(float dt) {
    if (!dirty_) return;
    quietTime_ += dt;
    if (quietTime_ >= 5.0f) save();
}

void CsongInfoMgr::shutdown() {
    if (dirty_) save();
    if (active_ == this) active_ = nullptr;
}

void CsongInfoMgr::markDirty() {
    dirty_ = true;
    quietTime_ = 0;
}

// ---- files ----

std::vector<uint8_t> CsongInfoMgr::serialiseLibrary() const {
    std::vector<uint8_t> out = {'Z', 'X', 'S', 'I'};
    putU32v(out, kLibraryVersion);
    size_t countAt = out.size();
    putU32v(out, 0);
    uint32_t count = 0;
    for (const auto& e : entries_) {
        if (e->removed) continue;
        if (e->kind == SONG_RADIO && !e->favourite) continue;
        if (e->kind < SONG_BUILT_IN || e->kind > SONG_OPEN_MIC) continue;
        putU32v(out, e->kind);
        out.push_back(e->favourite ? 1 : 0);
        putU32v(out, e->tags.trackNumber);
        uint32_t lengthBits;
        float len = std::isfinite(e->tags.length) ? e->tags.length : 0.0f;
        memcpy(&lengthBits, &len, 4);
        putU32v(out, lengthBits);
        putText(out, e->path);
        putText(out, e->station);
        putText(out, e->tags.title);
        putText(out, e->tags.album);
        putText(out, e->tags.artist);
        putText(out, e->tags.genre);
        putU32v(out, (uint32_t)e->bitrate);
        putU32v(out, (uint32_t)e->listeners);
        ++count;
    }
    putU32(out.data() + countAt, count);
    return out;
}

bool CsongInfoMgr::parseLibrary(const uint8_t* p, size_t size, std::vector<std::unique_ptr<CsongPackInfo>>& out) const {
    out.clear();
    Creader r{p, size};
    char magic[4];
    if (!r.bytes(magic, 4) || memcmp(magic, "ZXSI", 4) != 0) return false;
    if (r.u32() != kLibraryVersion) return false;
    uint32_t count = r.u32();
    if (!r.ok || count > kMaxEntries) return false;
    for (uint32_t i = 0; i < count; ++i) {
        auto e = std::make_unique<CsongPackInfo>();
        e->kind = r.u32();
        e->favourite = r.u8() ? 1 : 0;
        e->tags.trackNumber = r.u32();
        e->tags.length = r.f32();
        e->path = r.text();
        e->station = r.text();
        e->tags.title = r.text();
        e->tags.album = r.text();
        e->tags.artist = r.text();
        e->tags.genre = r.text();
        e->bitrate = (int32_t)r.u32();
        e->listeners = (int32_t)r.u32();
        if (!r.ok || e->kind < SONG_BUILT_IN || e->kind > SONG_OPEN_MIC) return false;
        if (!std::isfinite(e->tags.length) || e->tags.length < 0 || e->tags.length > 1e7f) return false;
        if (e->isLocal() && e->path.empty()) return false;
        if (e->kind == SONG_RADIO && e->station.empty()) return false;
        e->updateKey();
        out.push_back(std::move(e));
    }
    return r.ok && r.left == 0;
}

std::vector<uint8_t> CsongInfoMgr::serialiseRecent() const {
    std::vector<uint8_t> out = {'Z', 'X', 'R', 'T'};
    putU32v(out, kRecentVersion);
    putU32v(out, (uint32_t)std::min(recentKeys_.size(), kMaxRecent));
    for (size_t i = 0; i < recentKeys_.size() && i < kMaxRecent; ++i) putText(out, recentKeys_[i]);
    return out;
}

bool CsongInfoMgr::parseRecent(const uint8_t* p, size_t size, std::vector<std::string>& out) {
    out.clear();
    Creader r{p, size};
    char magic[4];
    if (!r.bytes(magic, 4) || memcmp(magic, "ZXRT", 4) != 0) return false;
    if (r.u32() != kRecentVersion) return false;
    uint32_t count = r.u32();
    if (!r.ok || count > kMaxRecent) return false;
    for (uint32_t i = 0; i < count; ++i) {
        std::string k = r.text();
        if (!r.ok || k.size() != 32) return false;
        for (char c : k)
            if (!isxdigit((unsigned char)c)) return false;
        out.push_back(toLowerAscii(k));
    }
    return r.ok && r.left == 0;
}

bool CsongInfoMgr::loadFile(const char* name, std::vector<uint8_t>& bytes, bool& corrupt) {
    corrupt = false;
    if (!fileExistsW(gEngine->savePath(name))) return false;
    CresourceFile f;
    if (!f.open(name, RF_SAVE)) {
        corrupt = true;
        return false;
    }
    bytes.assign(f.data(), f.data() + f.size());
    return true;
}

void CsongInfoMgr::setAside(const char* name) {
    // A copy kept before stays; a file that can't be moved stays where it is.
    std::string path = gEngine->savePath(name), aside = path + ".bad";
    for (int n = 2; fileExistsW(aside) && n < 1000; ++n) aside = path + ".bad" + std::to_string(n);
    if (::rename(path.c_str(), aside.c_str()) != 0)
        gEngine->log.print(LOG_E, "Can't keep unreadable %s aside; it is left as it is", name);
    else
        gEngine->log.print(LOG_E, "%s could not be read; kept as %s", name, aside.c_str());
}

bool CsongInfoMgr::load() {
    if (beforeEntriesFreed) beforeEntriesFreed();
    current_ = nullptr;
    entries_.clear();
    listing_.clear();
    // The maps pointed into the entries just freed.
    reindex();
    for (auto& v : views_) v.clear();
    recentKeys_.clear();

    bool ok = true, corrupt = false;
    std::vector<uint8_t> bytes;
    if (loadFile(kLibraryFile, bytes, corrupt)) {
        std::vector<std::unique_ptr<CsongPackInfo>> loaded;
        if (parseLibrary(bytes.data(), bytes.size(), loaded)) {
            for (auto& e : loaded)
                if (!(e->isLocal() && byPath_.count(e->path)) && !(e->kind == SONG_RADIO && byUrl_.count(e->station)))
                    addEntry(std::move(e));
            gEngine->log.print(LOG_L, "Song library loaded: %d entries", (int)entries_.size());
        } else {
            corrupt = true;
        }
    }
    if (corrupt) {
        entries_.clear();
        reindex();
        setAside(kLibraryFile);
        gEngine->log.print(LOG_E, "Song library damaged: set aside as %s.bad and rebuilt", kLibraryFile);
        markDirty();
        ok = false;
    }

    if (loadFile(kRecentFile, bytes, corrupt)) {
        if (!parseRecent(bytes.data(), bytes.size(), recentKeys_)) corrupt = true;
    }
    if (corrupt) {
        recentKeys_.clear();
        setAside(kRecentFile);
        gEngine->log.print(LOG_E, "Recent tracks damaged: set aside as %s.bad", kRecentFile);
        ok = false;
    }
    viewsStale_ = true;
    return ok;
}

bool CsongInfoMgr::saveRecent() {
    std::vector<uint8_t> r = serialiseRecent();
    return CresourceFile::save(kRecentFile, r.data(), r.size());
}

bool CsongInfoMgr::save() {
    std::vector<uint8_t> lib = serialiseLibrary();
    bool ok = CresourceFile::save(kLibraryFile, lib.data(), lib.size());
    ok = saveRecent() && ok;
    if (ok) {
        dirty_ = false;
        gEngine->log.print(LOG_L, "Song library saved");
    } else {
        gEngine->log.print(LOG_E, "Can't save the song library");
        quietTime_ = 0;
    }
    return ok;
}

// ---- entries and indexes ----

void CsongInfoMgr::index(CsongPackInfo* e) {
    if (e->isLocal()) byPath_.emplace(e->path, e);
    if (e->kind == SONG_RADIO) byUrl_.emplace(e->station, e);
    if (!e->key.empty()) byKey_[toLowerAscii(e->key)].push_back(e);
}

void CsongInfoMgr::reindex() {
    byPath_.clear();
    byUrl_.clear();
    byKey_.clear();
    for (auto& e : entries_) index(e.get());
}

CsongPackInfo* CsongInfoMgr::addEntry(std::unique_ptr<CsongPackInfo> e) {
    CsongPackInfo* raw = e.get();
    entries_.push_back(std::move(e));
    index(raw);
    viewsStale_ = true;
    return raw;
}

bool CsongInfoMgr::owns(const CsongPackInfo* entry) const {
    if (!entry) return false;
    for (const auto& e : entries_)
        if (e.get() == entry) return true;
    return false;
}

CsongPackInfo* CsongInfoMgr::findByPath(const std::string& path) const {
    auto it = byPath_.find(path);
    return it == byPath_.end() ? nullptr : it->second;
}

CsongPackInfo* CsongInfoMgr::findByKey(const std::string& key, bool skipOpenMic) const {
    auto it = byKey_.find(toLowerAscii(key));
    if (it == byKey_.end()) return nullptr;
    for (CsongPackInfo* e : it->second)
        if (!(skipOpenMic && e->kind == SONG_OPEN_MIC)) return e;
    return nullptr;
}

CsongPackInfo* CsongInfoMgr::findByUrl(const std::string& station) const {
    auto it = byUrl_.find(station);
    return it == byUrl_.end() ? nullptr : it->second;
}

bool CsongInfoMgr::addLocalTrack(uint32_t kind, const CtrackTags& tags, const std::string& path) {
    if ((kind != SONG_BUILT_IN && kind != SONG_LOCAL) || path.empty() || byPath_.count(path)) return false;
    auto e = std::make_unique<CsongPackInfo>();
    e->kind = kind;
    e->path = path;
    e->tags = tags;
    if (!std::isfinite(e->tags.length) || e->tags.length < 0) e->tags.length = 0;
    e->updateKey();
    addEntry(std::move(e));
    markDirty();
    return true;
}

void CsongInfoMgr::reserveTracks(size_t n) {
    auto roomFor = [n](auto& table) {
        const size_t wanted = table.size() + n;
        if ((float)wanted <= (float)table.bucket_count() * table.max_load_factor()) return;
        table.reserve(std::max(wanted, table.size() * 2));   // doubling, as the tables would grow themselves
    };
    roomFor(byPath_);
    roomFor(byKey_);
    if (entries_.capacity() < entries_.size() + n) entries_.reserve(std::max(entries_.size() + n, entries_.size() * 2));
}

CsongPackInfo* CsongInfoMgr::addRadioStation(const CradioStation& station) {
    if (station.genreFlag || station.station.empty()) return nullptr;
    if (CsongPackInfo* e = findByUrl(station.station)) return e;
    auto e = std::make_unique<CsongPackInfo>();
    e->setRadioStation(station);
    markDirty();
    return addEntry(std::move(e));
}

CsongPackInfo* CsongInfoMgr::addOpenMicTrack(const CtrackTags& tags, const std::string& sourceName) {
    std::string key = makeSongKey(SONG_OPEN_MIC, tags.title, tags.artist, tags.length);
    auto it = byKey_.find(key);
    if (it != byKey_.end())
        for (CsongPackInfo* e : it->second)
            if (e->kind == SONG_OPEN_MIC) return e;
    auto e = std::make_unique<CsongPackInfo>();
    e->kind = SONG_OPEN_MIC;
    e->path = sourceName;
    e->tags = tags;
    e->updateKey();
    markDirty();
    return addEntry(std::move(e));
}

void CsongInfoMgr::clearLocalTracks() {
    if (beforeEntriesFreed) beforeEntriesFreed();
    if (current_ && current_->isLocal()) current_ = nullptr;
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [](const auto& e) { return e->isLocal(); }),
                   entries_.end());
    listing_.clear();
    for (auto& v : views_) v.clear();
    reindex();
    viewsStale_ = true;
    markDirty();
}

int CsongInfoMgr::countKind(uint32_t kind) const {
    int n = 0;
    for (const auto& e : entries_)
        if (e->kind == kind) ++n;
    return n;
}

// ---- views ----

void CsongInfoMgr::rebuildViews() {
    for (int v = 1; v < NUM_SONG_VIEWS; ++v) views_[v].clear();
    std::unordered_map<std::string, size_t> albums, artists, genres;
    CsongGroup favourites, radioFavourites;
    auto put = [](std::vector<CsongGroup>& view, std::unordered_map<std::string, size_t>& map, const std::string& text,
                  CsongPackInfo* e) {
        std::string k = toLowerAscii(text);
        auto it = map.find(k);
        if (it == map.end()) {
            map.emplace(k, view.size());
            view.push_back({e});
        } else {
            view[it->second].push_back(e);
        }
    };
    for (auto& ptr : entries_) {
        CsongPackInfo* e = ptr.get();
        if (e->kind == SONG_RADIO) {
            if (e->favourite) radioFavourites.push_back(e);
            continue;
        }
        if (!e->isTrack()) continue;
        put(views_[VIEW_ALBUMS], albums, e->tags.album, e);
        put(views_[VIEW_ARTISTS], artists, e->tags.artist, e);
        put(views_[VIEW_GENRES], genres, e->tags.genre, e);
        if (e->favourite) favourites.push_back(e);
    }
    if (!favourites.empty()) views_[VIEW_FAVOURITES].push_back(std::move(favourites));
    if (!radioFavourites.empty()) views_[VIEW_RADIO_FAVOURITES].push_back(std::move(radioFavourites));
    CsongGroup recent;
    for (const auto& k : recentKeys_)
        if (CsongPackInfo* e = findByKey(k, false)) recent.push_back(e);
    if (!recent.empty()) views_[VIEW_RECENT].push_back(std::move(recent));
    viewsStale_ = false;
    ++viewsGeneration_;
}

const std::vector<CsongGroup>& CsongInfoMgr::view(int v) const {
    static const std::vector<CsongGroup> none;
    if (v < 0 || v >= NUM_SONG_VIEWS) return none;
    if (v != VIEW_FILES && viewsStale_) const_cast<CsongInfoMgr*>(this)->rebuildViews();
    return views_[v];
}

const CsongGroup* CsongInfoMgr::getGroup(int group, int v) const {
    const std::vector<CsongGroup>& groups = view(v);
    if (group < 0 || (size_t)group >= groups.size()) return nullptr;
    return &groups[(size_t)group];
}

CsongGroup* CsongInfoMgr::getGroup(int group, int v) {
    return const_cast<CsongGroup*>(static_cast<const CsongInfoMgr*>(this)->getGroup(group, v));
}

std::vector<std::string> CsongInfoMgr::listDrives() {
    std::vector<std::string> drives = {"/"};
    const char* home = getenv("HOME");
    if (home && *home && std::string(home) != "/" && isDirectory(home)) drives.push_back(home);
    std::ifstream mounts("/proc/mounts");
    std::string device, point, rest;
    while (mounts >> device >> point) {
        std::getline(mounts, rest);
        point = unescapeMount(point);
        bool media = point.rfind("/media/", 0) == 0 || point.rfind("/run/media/", 0) == 0 || point.rfind("/mnt/", 0) == 0;
        if (media && isDirectory(point) && std::find(drives.begin(), drives.end(), point) == drives.end())
            drives.push_back(point);
    }
    return drives;
}

bool CsongInfoMgr::listFolder(const std::string& folder) {
    listing_.clear();
    views_[VIEW_FILES].clear();
    CsongGroup g;
    auto make = [&](uint32_t kind, const std::string& text) {
        auto e = std::make_unique<CsongPackInfo>();
        e->kind = kind;
        e->path = text;
        e->tags.title = text;
        g.push_back(e.get());
        listing_.push_back(std::move(e));
        return listing_.back().get();
    };
    for (const auto& d : listDrives()) make(SONG_DRIVE, d);

    bool ok = false;
    if (!folder.empty()) {
        std::vector<std::string> folders, files;
        if (DIR* dir = opendir(folder.c_str())) {
            ok = true;
            while (dirent* de = readdir(dir)) {
                std::string name = de->d_name;
                if (name.empty() || name[0] == '.') continue;
                std::string full = joinPath(folder, name);
                struct stat st;
                if (::stat(full.c_str(), &st) != 0) continue;
                if (S_ISDIR(st.st_mode))
                    folders.push_back(name);
                else if (S_ISREG(st.st_mode) && CaudioBASS::isSupportedAudioFile(name))
                    files.push_back(name);
            }
            closedir(dir);
        } else {
            gEngine->log.print(LOG_L, "Can't list folder: %s", folder.c_str());
        }
        if (parentOf(folder) != folder && folder != "/") make(SONG_FOLDER, "..");
        std::sort(folders.begin(), folders.end(), lessIgnoreCase);
        std::sort(files.begin(), files.end(), lessIgnoreCase);
        for (const auto& f : folders) make(SONG_FOLDER, f);
        for (const auto& f : files) {
            std::string full = joinPath(folder, f);
            if (CsongPackInfo* known = findByPath(full)) {
                g.push_back(known);
                continue;
            }
            CtrackTags tags;
            if (!CaudioBASS::readFileTags(full, tags)) tags.title = f;
            CsongPackInfo* e = make(SONG_LOCAL, full);
            e->tags = tags;
            e->updateKey();
        }
    }
    views_[VIEW_FILES].push_back(std::move(g));
    return ok;
}

void CsongInfoMgr::toggleGroupFavourite(int group, int v) {
    const CsongGroup* g = getGroup(group, v);
    if (!g) return;
    CsongGroup tracks = *g;
    bool all = isGroupAllFavourite(group, v);
    for (CsongPackInfo* e : tracks) e->favourite = all ? 0 : 1;
    markDirty();
    rebuildViews();
}

void CsongInfoMgr::toggleGroupRemoved(int group, int v) {
    const CsongGroup* g = getGroup(group, v);
    if (!g) return;
    bool all = isGroupAllRemoved(group, v);
    for (CsongPackInfo* e : *g) e->removed = all ? 0 : 1;
    markDirty();
}

bool CsongInfoMgr::isGroupAllFavourite(int group, int v) const {
    const CsongGroup* g = getGroup(group, v);
    if (!g) return true;
    return std::all_of(g->begin(), g->end(), [](const CsongPackInfo* e) { return e->favourite != 0; });
}

bool CsongInfoMgr::isGroupAllRemoved(int group, int v) const {
    const CsongGroup* g = getGroup(group, v);
    if (!g) return true;
    return std::all_of(g->begin(), g->end(), [](const CsongPackInfo* e) { return e->removed != 0; });
}

// ---- choices ----

bool CsongInfoMgr::eligibleRandom(const CsongPackInfo* e) const { return e->isLocal() && !e->removed && e != current_; }

CsongPackInfo* CsongInfoMgr::getRandomTrack() {
    size_t n = entries_.size();
    if (n == 0) return nullptr;
    for (int tries = 0; tries < 10000; ++tries) {
        CsongPackInfo* e = entries_[(size_t)gEngine->random.choice((int)n)].get();
        if (eligibleRandom(e)) return e;
    }
    // Few eligible entries among many: take the first one after a random start.
    size_t start = (size_t)gEngine->random.choice((int)n);
    for (size_t i = 0; i < n; ++i) {
        CsongPackInfo* e = entries_[(start + i) % n].get();
        if (eligibleRandom(e)) return e;
    }
    // Only the current track is left: play it again rather than nothing.
    for (auto& e : entries_)
        if (e.get() == current_ && e->isLocal() && !e->removed) return e.get();
    return nullptr;
}

CsongPackInfo* CsongInfoMgr::getTrackForSource(int rule) {
    if (rule == SOURCE_CURRENT) {
        for (auto& e : entries_)
            if (e.get() == current_) return e.get();
        return const_cast<CsongPackInfo*>(current_);
    }
    if (rule == SOURCE_RANDOM_FAVOURITE || rule == SOURCE_NOT_PLAYED) {
        std::vector<CsongPackInfo*> pick;
        for (auto& e : entries_) {
            if (!eligibleRandom(e.get())) continue;
            if (rule == SOURCE_RANDOM_FAVOURITE ? e->favourite != 0 : !(hasTrackRecord && hasTrackRecord(e->key)))
                pick.push_back(e.get());
        }
        if (!pick.empty()) return pick[(size_t)gEngine->random.choice((int)pick.size())];
        gEngine->log.print(LOG_L, rule == SOURCE_RANDOM_FAVOURITE ? "No favourite tracks: playing a random track"
                                                                  : "Every track played: playing a random track");
    }
    return getRandomTrack();
}

CsongPackInfo* CsongInfoMgr::getNextTrack(const CsongPackInfo* ended, int choice) {
    if (choice == NEXT_FAVOURITE) return getTrackForSource(SOURCE_RANDOM_FAVOURITE);
    if (!ended || choice == NEXT_ANY) return getRandomTrack();
    const std::string& album = ended->tags.album;
    const std::string& artist = ended->tags.artist;
    std::vector<CsongPackInfo*> pick;
    for (auto& e : entries_) {
        if (e.get() == ended || !e->isLocal() || e->removed) continue;
        if (choice == NEXT_ON_ALBUM ? !album.empty() && equalsIgnoreCase(e->tags.album, album) &&
                                          equalsIgnoreCase(e->tags.artist, artist)
                                    : !artist.empty() && equalsIgnoreCase(e->tags.artist, artist))
            pick.push_back(e.get());
    }
    if (pick.empty()) return getRandomTrack();
    if (choice != NEXT_ON_ALBUM) return pick[(size_t)gEngine->random.choice((int)pick.size())];
    // The album's next track by number; after its last, its first.
    const uint32_t number = ended->tags.trackNumber;
    CsongPackInfo* next = nullptr;
    CsongPackInfo* first = nullptr;
    for (CsongPackInfo* e : pick) {
        const uint32_t n = e->tags.trackNumber;
        if (n > number && (!next || n < next->tags.trackNumber)) next = e;
        if (!first || n < first->tags.trackNumber) first = e;
    }
    return next ? next : first;
}

int CsongInfoMgr::countUnplayedTracks() const {
    int n = 0;
    for (const auto& e : entries_)
        if (e->isLocal() && !e->removed && !(hasTrackRecord && hasTrackRecord(e->key))) ++n;
    return n;
}

bool CsongInfoMgr::favouritesEmpty() const {
    for (const auto& e : entries_)
        if (e->isTrack() && e->favourite && !e->removed) return false;
    return true;
}

void CsongInfoMgr::addRecentTrack(const CsongPackInfo* track, bool saveNow) {
    if (!track || track->key.empty()) return;
    std::string k = toLowerAscii(track->key);
    recentKeys_.erase(std::remove(recentKeys_.begin(), recentKeys_.end(), k), recentKeys_.end());
    recentKeys_.insert(recentKeys_.begin(), k);
    if (recentKeys_.size() > kMaxRecent) recentKeys_.resize(kMaxRecent);
    viewsStale_ = true;
    if (saveNow) saveRecent();
}
