// The local Steam client: start-up, the callback registry and queue, the
// interfaces, and the test control of steamLocal.h.
#include "platform/steam/steamLocal.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <type_traits>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/resourceFile.h"
#include "platform/steam/steamStore.h"

namespace {

constexpr uint64_t kIndividualAccountBase = 76561197960265728ull;
constexpr size_t kMaxKeptDownloads = 32;
constexpr HSteamUser kLocalUser = 1;

struct Cpending {
    int callbackId = 0;
    Cbytes payload;
    bool callResult = false;
    SteamAPICall_t call = kSteamCallInvalid;
    bool ioFailure = false;
};

struct CcallbackReg {
    CsteamCallbackBase* object;
    int callbackId;
};

// A file a UGC handle stands for: a shared remote-storage file (its bytes as
// shared) or a workshop item's file or preview.
struct CugcFile {
    uint64_t itemId = 0;
    bool preview = false;
    Cbytes bytes;
    std::string name;
    uint64_t owner = 0;
};

struct CupdateRequest {
    PublishedFileId_t id = 0;
    std::string file, preview, title;
    int32_t visibility = -1;
    bool hasTitle = false;
};

constexpr UGCHandle_t kSharedHandleBit = 1ull << 62;
UGCHandle_t itemHandle(uint64_t itemId, bool preview) { return (itemId << 1) | (preview ? 1 : 0); }

struct CdownloadedEntry {
    LeaderboardEntry_t entry;
    std::vector<int32_t> details;
};

std::string desktopUserName() {
    if (struct passwd* pw = getpwuid(getuid())) {
        if (pw->pw_gecos && *pw->pw_gecos) {
            std::string real(pw->pw_gecos);
            real = real.substr(0, real.find(','));
            if (!real.empty()) return real;
        }
        if (pw->pw_name && *pw->pw_name) return pw->pw_name;
    }
    const char* user = getenv("USER");
    return user && *user ? user : "Player";
}

std::string loginName() {
    if (struct passwd* pw = getpwuid(getuid()))
        if (pw->pw_name && *pw->pw_name) return pw->pw_name;
    const char* user = getenv("USER");
    return user ? user : "";
}

// The same id every run for this user on this machine.
uint64_t computeLocalSteamId() {
    std::string seed;
    Cbytes id;
    if (CresourceFile::readWholeFile("/etc/machine-id", id) || CresourceFile::readWholeFile("/var/lib/dbus/machine-id", id)) {
        seed.assign(id.begin(), id.end());
    } else {
        char host[256] = {};
        gethostname(host, sizeof host - 1);
        seed = host;
    }
    seed += "|" + loginName();
    uint32_t h = 2166136261u;
    for (unsigned char c : seed) h = (h ^ c) * 16777619u;
    if (h == 0) h = 1;
    return kIndividualAccountBase + h;
}

class CsteamLocalClient {
public:
    std::recursive_mutex mutex;
    bool running = false;
    uint32_t generation = 1;
    uint32_t appId = 0;
    std::string rootOverride;
    std::string workshopOverride;
    CsteamWorkshopStore workshop;
    std::map<UGCHandle_t, CugcFile> shared;
    UGCHandle_t nextShared = 1;
    std::map<UGCHandle_t, Cbytes> ugcDownloads;
    std::map<PublishedFileUpdateHandle_t, CupdateRequest> updates;
    PublishedFileUpdateHandle_t nextUpdate = 1;
    std::string personaOverride;
    std::string personaName;
    uint64_t steamId = 0;
    CsteamFaults faults;
    CsteamCounters counters;
    CsteamStore store;
    bool statsReceived = false;
    std::set<std::string> unstoredUnlocks;

    std::vector<Cpending> queue;
    SteamAPICall_t nextCall = 1;
    std::vector<CcallbackReg> callbacks;
    std::map<SteamAPICall_t, CsteamCallbackBase*> callResults;
    std::map<SteamLeaderboardEntries_t, std::vector<CdownloadedEntry>> downloads;
    SteamLeaderboardEntries_t nextEntries = 1;

    ISteamUtils utils;
    ISteamUser user;
    ISteamFriends friends;
    ISteamRemoteStorage remoteStorage;
    ISteamUserStats userStats;
    ISteamScreenshots screenshots;
    steamLocal::CsteamFrameSource frameSource;
    steamLocal::CsteamWebPageOpener webPageOpener;
    ScreenshotHandle nextScreenshot = 1;

    std::string screenshotFolder() const { return store.root() + "screenshots/"; }
    void postScreenshotReady(ScreenshotHandle handle, bool written) {
        ScreenshotReady_t r{};
        r.local = handle;
        r.result = written ? STEAM_RESULT_OK : STEAM_RESULT_FAIL;
        postCallback(r);
    }

    bool loggedOn() const { return running && !faults.notLoggedOn; }
    const std::string& persona() const { return personaOverride.empty() ? personaName : personaOverride; }

    template <class T>
    Cbytes bytesOf(const T& payload) {
        static_assert(std::is_trivially_copyable_v<T>);
        Cbytes b(sizeof(T));
        memcpy(b.data(), &payload, sizeof(T));
        return b;
    }
    template <class T>
    SteamAPICall_t postResult(const T& payload) {
        Cpending p;
        p.callbackId = T::kCallbackId;
        p.payload = bytesOf(payload);
        p.callResult = true;
        p.call = nextCall++;
        p.ioFailure = faults.ioFailure;
        queue.push_back(std::move(p));
        return queue.back().call;
    }
    template <class T>
    void postCallback(const T& payload) {
        Cpending p;
        p.callbackId = T::kCallbackId;
        p.payload = bytesOf(payload);
        queue.push_back(std::move(p));
    }

    CsteamBoard* board(SteamLeaderboard_t handle) {
        if (!running || handle == 0 || handle > store.boards.size()) return nullptr;
        return &store.boards[handle - 1];
    }
    CsteamBoard* findBoard(const std::string& name) {
        for (auto& b : store.boards)
            if (b.name == name) return &b;
        return nullptr;
    }
    CsteamBoard& addBoard(const std::string& name, ELeaderboardSortMethod sortMethod,
                          ELeaderboardDisplayType displayType) {
        CsteamBoard made;
        made.name = name;
        made.sortMethod = sortMethod;
        made.displayType = displayType;
        store.boards.push_back(std::move(made));
        return store.boards.back();
    }
    // Best first, by the board's sort method; ties keep their order.
    std::vector<const CsteamBoardEntry*> ranked(const CsteamBoard& b) const {
        std::vector<const CsteamBoardEntry*> list;
        for (const auto& e : b.entries) list.push_back(&e);
        bool ascending = b.sortMethod == LEADERBOARD_SORT_ASCENDING;
        std::stable_sort(list.begin(), list.end(), [ascending](const CsteamBoardEntry* x, const CsteamBoardEntry* y) {
            return ascending ? x->score < y->score : x->score > y->score;
        });
        return list;
    }
    int rankOf(const CsteamBoard& b, uint64_t id) const {
        auto list = ranked(b);
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i]->steamId == id) return (int)i + 1;
        return 0;
    }
    bool refused(const char* call) const {
        return std::find(faults.refusedCalls.begin(), faults.refusedCalls.end(), call) != faults.refusedCalls.end();
    }
    int32_t resultFor(const char* call) const {
        auto it = faults.callResults.find(call);
        return it == faults.callResults.end() ? STEAM_RESULT_OK : it->second;
    }
    bool workshopReady(const char* call) const { return loggedOn() && workshop.isOpen() && !refused(call); }
    // The bytes a UGC handle stands for now.
    bool ugcBytes(UGCHandle_t h, CugcFile& out) const {
        if (h & kSharedHandleBit) {
            auto it = shared.find(h);
            if (it == shared.end()) return false;
            out = it->second;
            return true;
        }
        CworkshopStoredItem item;
        if (!workshop.find(h >> 1, item)) return false;
        out.itemId = item.id;
        out.preview = (h & 1) != 0;
        out.name = out.preview ? item.previewName : item.fileName;
        out.owner = item.owner;
        return workshop.readFile(item.id, out.preview, out.bytes);
    }
    bool isFriend(uint64_t id) const {
        for (const auto& f : store.friends)
            if (f.steamId == id) return true;
        return false;
    }
};

CsteamLocalClient& client() {
    // Never destroyed: callback objects may unregister during static destruction.
    static CsteamLocalClient* c = new CsteamLocalClient;
    return *c;
}

using Clock = std::lock_guard<std::recursive_mutex>;

void* interfaceAt(int index) {
    static CsteamContext context;
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    return SteamInternal_ContextInit(&context)->interfaces[index];
}

}  // namespace

// ---- start-up and callbacks ----

bool SteamAPI_Init() {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (c.running) return true;
    if (c.faults.initFails) return false;
    std::string root = c.rootOverride;
    if (root.empty() && gEngine && !gEngine->saveFolder.empty()) root = gEngine->savePath("steam/");
    if (root.empty() || !c.store.open(root)) return false;
    std::string workshopRoot = c.workshopOverride;
    if (workshopRoot.empty())
        if (const char* env = getenv("ZORBEX_STEAM_WORKSHOP"); env && *env) workshopRoot = env;
    if (workshopRoot.empty()) workshopRoot = c.store.root() + "workshop/";
    c.workshop.open(workshopRoot);   // without it the workshop calls are refused
    c.personaName = desktopUserName();
    c.steamId = computeLocalSteamId();
    c.statsReceived = false;
    c.unstoredUnlocks.clear();
    c.running = true;
    ++c.generation;
    return true;
}

void SteamAPI_Shutdown() {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.running) return;
    c.running = false;
    c.queue.clear();
    for (auto& [call, object] : c.callResults) object->callbackFlags &= (uint8_t)~CsteamCallbackBase::kRegistered;
    c.callResults.clear();
    c.downloads.clear();
    c.shared.clear();
    c.ugcDownloads.clear();
    c.updates.clear();
    c.workshop.close();
    c.unstoredUnlocks.clear();
    c.statsReceived = false;
    c.store.close();
    ++c.generation;
}

void SteamAPI_RunCallbacks() {
    CsteamLocalClient& c = client();
    std::vector<Cpending> batch;
    {
        Clock lock(c.mutex);
        if (!c.running) return;
        batch.swap(c.queue);   // what handlers start now arrives next time
    }
    for (auto& p : batch) {
        if (p.callResult) {
            CsteamCallbackBase* object = nullptr;
            {
                Clock lock(c.mutex);
                auto it = c.callResults.find(p.call);
                if (it != c.callResults.end()) {
                    object = it->second;
                    object->callbackFlags &= (uint8_t)~CsteamCallbackBase::kRegistered;
                    c.callResults.erase(it);
                }
            }
            if (object) object->Run(p.payload.data(), p.ioFailure, p.call);
            continue;
        }
        std::vector<CsteamCallbackBase*> targets;
        {
            Clock lock(c.mutex);
            if (p.callbackId == UserStatsReceived_t::kCallbackId) {
                UserStatsReceived_t s;
                memcpy(&s, p.payload.data(), sizeof s);
                if (s.gameId == c.appId && s.result == STEAM_RESULT_OK && s.steamIdUser == c.steamId) c.statsReceived = true;
            }
            for (const auto& r : c.callbacks)
                if (r.callbackId == p.callbackId) targets.push_back(r.object);
        }
        for (CsteamCallbackBase* object : targets) {
            bool still = false;
            {
                Clock lock(c.mutex);   // an earlier handler may have removed it
                for (const auto& r : c.callbacks) still = still || r.object == object;
            }
            if (still) object->Run(p.payload.data());
        }
    }
}

void SteamAPI_RegisterCallback(CsteamCallbackBase* callback, int callbackId) {
    if (!callback) return;
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    for (auto& r : c.callbacks)
        if (r.object == callback) {
            r.callbackId = callbackId;
            callback->callbackId = callbackId;
            return;
        }
    callback->callbackId = callbackId;
    callback->callbackFlags |= CsteamCallbackBase::kRegistered;
    c.callbacks.push_back({callback, callbackId});
}

void SteamAPI_UnregisterCallback(CsteamCallbackBase* callback) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    c.callbacks.erase(std::remove_if(c.callbacks.begin(), c.callbacks.end(),
                                     [callback](const CcallbackReg& r) { return r.object == callback; }),
                      c.callbacks.end());
    if (callback) callback->callbackFlags &= (uint8_t)~CsteamCallbackBase::kRegistered;
}

void SteamAPI_RegisterCallResult(CsteamCallbackBase* callback, SteamAPICall_t call) {
    if (!callback || call == kSteamCallInvalid) return;
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    callback->callbackFlags |= CsteamCallbackBase::kRegistered | CsteamCallbackBase::kCallResult;
    c.callResults[call] = callback;
}

void SteamAPI_UnregisterCallResult(CsteamCallbackBase* callback, SteamAPICall_t call) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    auto it = c.callResults.find(call);
    if (it != c.callResults.end() && it->second == callback) c.callResults.erase(it);
    if (callback) callback->callbackFlags &= (uint8_t)~CsteamCallbackBase::kRegistered;
}

HSteamUser SteamAPI_GetHSteamUser() {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    return c.running ? kLocalUser : 0;
}

void* SteamInternal_FindOrCreateUserInterface(HSteamUser user, const char* version) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.running || user != kLocalUser || !version) return nullptr;
    for (const auto& missing : c.faults.missingInterfaces)
        if (missing == version) return nullptr;
    if (!strcmp(version, kSteamUtilsVersion)) return &c.utils;
    if (!strcmp(version, kSteamUserVersion)) return &c.user;
    if (!strcmp(version, kSteamFriendsVersion)) return &c.friends;
    if (!strcmp(version, kSteamRemoteStorageVersion)) return &c.remoteStorage;
    if (!strcmp(version, kSteamUserStatsVersion)) return &c.userStats;
    if (!strcmp(version, kSteamScreenshotsVersion)) return &c.screenshots;
    return nullptr;
}

CsteamContext* SteamInternal_ContextInit(CsteamContext* context) {
    static const char* versions[6] = {kSteamUtilsVersion,         kSteamUserVersion,      kSteamFriendsVersion,
                                      kSteamRemoteStorageVersion, kSteamUserStatsVersion, kSteamScreenshotsVersion};
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (context->generation != c.generation) {
        HSteamUser user = SteamAPI_GetHSteamUser();
        for (int i = 0; i < 6; ++i) context->interfaces[i] = SteamInternal_FindOrCreateUserInterface(user, versions[i]);
        context->generation = c.generation;
    }
    return context;
}

ISteamUtils* SteamUtils() { return (ISteamUtils*)interfaceAt(0); }
ISteamUser* SteamUser() { return (ISteamUser*)interfaceAt(1); }
ISteamFriends* SteamFriends() { return (ISteamFriends*)interfaceAt(2); }
ISteamRemoteStorage* SteamRemoteStorage() { return (ISteamRemoteStorage*)interfaceAt(3); }
ISteamUserStats* SteamUserStats() { return (ISteamUserStats*)interfaceAt(4); }
ISteamScreenshots* SteamScreenshots() { return (ISteamScreenshots*)interfaceAt(5); }

// ---- utils, user, friends, screenshots ----

uint32_t ISteamUtils::GetAppID() {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    return c.appId;
}

void ISteamUtils::SetOverlayNotificationPosition(int position) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (position >= 0 && position <= 3) c.counters.overlayNotificationPosition = position;
}

bool ISteamUser::BLoggedOn() {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    return c.loggedOn();
}

uint64_t ISteamUser::GetSteamID() {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    return c.running ? c.steamId : 0;
}

const char* ISteamFriends::GetPersonaName() {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    return c.running ? c.persona().c_str() : "";
}

const char* ISteamFriends::GetFriendPersonaName(uint64_t steamId) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (c.running) {
        if (steamId == c.steamId) return c.persona().c_str();
        for (const auto& f : c.store.friends)
            if (f.steamId == steamId) return f.name.c_str();
    }
    return "[unknown]";
}

void ISteamFriends::ActivateGameOverlayToWebPage(const char* url) {
    CsteamLocalClient& c = client();
    steamLocal::CsteamWebPageOpener opener;
    {
        Clock lock(c.mutex);
        if (!c.running || !url) return;
        c.counters.lastOverlayUrl = url;
        opener = c.webPageOpener;
    }
    // There is no overlay here: the desktop's browser shows the page.
    if (opener) opener(url);
}

void ISteamScreenshots::TriggerScreenshot() {
    CsteamLocalClient& c = client();
    steamLocal::CsteamFrameSource source;
    std::string path;
    ScreenshotHandle handle;
    uint32_t generation;
    {
        Clock lock(c.mutex);
        if (!c.running) return;
        ++c.counters.screenshots;
        handle = c.nextScreenshot++;
        generation = c.generation;
        const std::string folder = c.screenshotFolder();
        if (!c.frameSource || c.refused("TriggerScreenshot") || !makeFolders(folder)) {
            c.postScreenshotReady(handle, false);
            return;
        }
        // The library outlives the run: never write over an earlier picture.
        path = folder + CbString::format("screenshot_%04u.png", handle).str();
        while (fileExistsW(path)) {
            handle = c.nextScreenshot++;
            path = folder + CbString::format("screenshot_%04u.png", handle).str();
        }
        source = c.frameSource;
    }
    // The frame is written after this call returns (the game's next draw).
    source(path, [handle, generation](bool written) {
        CsteamLocalClient& c = client();
        Clock lock(c.mutex);
        if (c.running && c.generation == generation) c.postScreenshotReady(handle, written);
    });
}

// ---- remote storage ----

bool ISteamRemoteStorage::FileWrite(const char* name, const void* data, int32_t size) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.running || c.faults.writeFails || !name || size < 0 || (size > 0 && !data)) return false;
    if (c.refused((std::string("FileWrite ") + name).c_str())) return false;
    return c.store.writeFile(name, data, (size_t)size);
}

int32_t ISteamRemoteStorage::FileRead(const char* name, void* data, int32_t size) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.running || c.faults.readFails || !name || !data || size <= 0) return 0;
    Cbytes bytes;
    if (!c.store.readFile(name, bytes)) return 0;
    size_t n = std::min(bytes.size(), (size_t)size);
    memcpy(data, bytes.data(), n);
    return (int32_t)n;
}

bool ISteamRemoteStorage::FileExists(const char* name) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    return c.running && name && c.store.fileSize(name) >= 0;
}

bool ISteamRemoteStorage::FileDelete(const char* name) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    return c.running && name && !c.faults.writeFails && c.store.deleteFile(name);
}

int32_t ISteamRemoteStorage::GetFileSize(const char* name) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.running || !name) return 0;
    int64_t n = c.store.fileSize(name);
    return n < 0 ? 0 : (int32_t)std::min<int64_t>(n, INT32_MAX);
}

int32_t ISteamRemoteStorage::GetFileCount() {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    return c.running ? c.store.fileCount() : 0;
}

bool ISteamRemoteStorage::GetQuota(uint64_t* totalBytes, uint64_t* availableBytes) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.running || !totalBytes || !availableBytes) return false;
    uint64_t used = c.store.bytesUsed();
    *totalBytes = CsteamStore::kQuotaBytes;
    *availableBytes = used >= CsteamStore::kQuotaBytes ? 0 : CsteamStore::kQuotaBytes - used;
    return true;
}

// ---- remote storage: workshop ----

namespace {
void copyText(char* dest, size_t size, const std::string& text) {
    size_t n = std::min(text.size(), size - 1);
    memcpy(dest, text.data(), n);
    dest[n] = 0;
}
}  // namespace

SteamAPICall_t ISteamRemoteStorage::FileShare(const char* name) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.workshopReady("FileShare") || !name) return kSteamCallInvalid;
    ++c.counters.fileShareCalls;
    RemoteStorageFileShareResult_t r{};
    r.result = c.resultFor("FileShare");
    r.file = kUGCHandleInvalid;
    copyText(r.fileName, sizeof r.fileName, name);
    CugcFile f;
    f.name = name;
    f.owner = c.steamId;
    if (r.result == STEAM_RESULT_OK && !c.store.readFile(name, f.bytes)) r.result = STEAM_RESULT_FILE_NOT_FOUND;
    if (r.result == STEAM_RESULT_OK) {
        r.file = kSharedHandleBit | c.nextShared++;
        c.shared[r.file] = std::move(f);
    }
    return c.postResult(r);
}

SteamAPICall_t ISteamRemoteStorage::PublishWorkshopFile(const char* file, const char* previewFile,
                                                        uint32_t consumerAppId, const char* title,
                                                        const char* description, int32_t visibility,
                                                        const char* const*, int, int32_t) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.workshopReady("PublishWorkshopFile") || !file || !previewFile) return kSteamCallInvalid;
    ++c.counters.publishCalls;
    RemoteStoragePublishFileResult_t r{};
    r.result = c.resultFor("PublishWorkshopFile");
    r.userNeedsToAcceptWorkshopLegalAgreement = c.faults.workshopAgreementNeeded ? 1 : 0;
    Cbytes data, preview;
    if (r.result == STEAM_RESULT_OK && (!c.store.readFile(file, data) || !c.store.readFile(previewFile, preview)))
        r.result = STEAM_RESULT_FILE_NOT_FOUND;
    if (r.result == STEAM_RESULT_OK) {
        CworkshopStoredItem item;
        item.owner = c.steamId;
        item.appId = consumerAppId;
        item.visibility = visibility;
        item.title = title ? std::string(title).substr(0, kPublishedDocumentTitleMax - 1) : "";
        item.description = description ? std::string(description).substr(0, kPublishedDocumentDescriptionMax - 1) : "";
        item.fileName = file;
        item.previewName = previewFile;
        r.publishedFileId = c.workshop.publish(item, data, preview);
        if (r.publishedFileId == 0) r.result = STEAM_RESULT_FAIL;
    }
    return c.postResult(r);
}

PublishedFileUpdateHandle_t ISteamRemoteStorage::CreatePublishedFileUpdateRequest(PublishedFileId_t id) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.workshopReady("CreatePublishedFileUpdateRequest") || id == 0) return kPublishedFileUpdateHandleInvalid;
    PublishedFileUpdateHandle_t h = c.nextUpdate++;
    c.updates[h].id = id;
    return h;
}

namespace {
template <class Tedit>
bool editUpdate(const char* call, PublishedFileUpdateHandle_t update, Tedit edit) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    auto it = c.updates.find(update);
    if (!c.workshopReady(call) || it == c.updates.end()) return false;
    return edit(it->second);
}
}  // namespace

bool ISteamRemoteStorage::UpdatePublishedFileFile(PublishedFileUpdateHandle_t update, const char* file) {
    return editUpdate("UpdatePublishedFileFile", update, [file](CupdateRequest& u) {
        if (!file || !CsteamStore::validFileName(file)) return false;
        u.file = file;
        return true;
    });
}

bool ISteamRemoteStorage::UpdatePublishedFilePreviewFile(PublishedFileUpdateHandle_t update, const char* previewFile) {
    return editUpdate("UpdatePublishedFilePreviewFile", update, [previewFile](CupdateRequest& u) {
        if (!previewFile || !CsteamStore::validFileName(previewFile)) return false;
        u.preview = previewFile;
        return true;
    });
}

bool ISteamRemoteStorage::UpdatePublishedFileVisibility(PublishedFileUpdateHandle_t update, int32_t visibility) {
    return editUpdate("UpdatePublishedFileVisibility", update, [visibility](CupdateRequest& u) {
        if (visibility < PUBLISHED_FILE_VISIBILITY_PUBLIC || visibility > PUBLISHED_FILE_VISIBILITY_PRIVATE) return false;
        u.visibility = visibility;
        return true;
    });
}

bool ISteamRemoteStorage::UpdatePublishedFileTitle(PublishedFileUpdateHandle_t update, const char* title) {
    return editUpdate("UpdatePublishedFileTitle", update, [title](CupdateRequest& u) {
        if (!title) return false;
        u.title = std::string(title).substr(0, kPublishedDocumentTitleMax - 1);
        u.hasTitle = true;
        return true;
    });
}

SteamAPICall_t ISteamRemoteStorage::CommitPublishedFileUpdate(PublishedFileUpdateHandle_t update) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    auto it = c.updates.find(update);
    if (!c.workshopReady("CommitPublishedFileUpdate") || it == c.updates.end()) return kSteamCallInvalid;
    CupdateRequest u = std::move(it->second);
    c.updates.erase(it);
    ++c.counters.commitCalls;
    RemoteStorageUpdatePublishedFileResult_t r{};
    r.publishedFileId = u.id;
    r.result = c.resultFor("CommitPublishedFileUpdate");
    r.userNeedsToAcceptWorkshopLegalAgreement = c.faults.workshopAgreementNeeded ? 1 : 0;
    CworkshopStoredItem item;
    if (r.result == STEAM_RESULT_OK && !c.workshop.find(u.id, item)) r.result = STEAM_RESULT_FILE_NOT_FOUND;
    if (r.result == STEAM_RESULT_OK && item.owner != c.steamId) r.result = STEAM_RESULT_ACCESS_DENIED;
    Cbytes file, preview;
    if (r.result == STEAM_RESULT_OK && ((!u.file.empty() && !c.store.readFile(u.file, file)) ||
                                        (!u.preview.empty() && !c.store.readFile(u.preview, preview))))
        r.result = STEAM_RESULT_FILE_NOT_FOUND;
    if (r.result == STEAM_RESULT_OK) {
        if (!u.file.empty()) item.fileName = u.file;
        if (!u.preview.empty()) item.previewName = u.preview;
        if (u.visibility >= 0) item.visibility = u.visibility;
        if (u.hasTitle) item.title = u.title;
        if (!c.workshop.update(item, u.file.empty() ? nullptr : &file, u.preview.empty() ? nullptr : &preview))
            r.result = STEAM_RESULT_FAIL;
    }
    return c.postResult(r);
}

SteamAPICall_t ISteamRemoteStorage::SubscribePublishedFile(PublishedFileId_t id) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.workshopReady("SubscribePublishedFile")) return kSteamCallInvalid;
    ++c.counters.subscribeCalls;
    RemoteStorageSubscribePublishedFileResult_t r{};
    r.publishedFileId = id;
    CworkshopStoredItem item;
    r.result = !c.workshop.find(id, item)           ? STEAM_RESULT_FILE_NOT_FOUND
               : c.workshop.subscribe(c.steamId, id) ? STEAM_RESULT_OK
                                                     : STEAM_RESULT_FAIL;
    return c.postResult(r);
}

SteamAPICall_t ISteamRemoteStorage::EnumerateUserSubscribedFiles(uint32_t startIndex) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.workshopReady("EnumerateUserSubscribedFiles")) return kSteamCallInvalid;
    ++c.counters.enumerateCalls;
    RemoteStorageEnumerateUserSubscribedFilesResult_t r{};
    r.result = c.resultFor("EnumerateUserSubscribedFiles");
    if (r.result == STEAM_RESULT_OK) {
        auto list = c.workshop.subscriptions(c.steamId);
        r.totalResultCount = (int32_t)list.size();
        for (size_t i = startIndex; i < list.size() && r.resultsReturned < kEnumeratePublishedFilesMaxResults; ++i) {
            r.publishedFileId[r.resultsReturned] = list[i].first;
            r.rtimeSubscribed[r.resultsReturned] = list[i].second;
            ++r.resultsReturned;
        }
    }
    return c.postResult(r);
}

SteamAPICall_t ISteamRemoteStorage::GetPublishedFileDetails(PublishedFileId_t id, uint32_t) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.workshopReady("GetPublishedFileDetails")) return kSteamCallInvalid;
    ++c.counters.detailsCalls;
    auto r = std::make_unique<RemoteStorageGetPublishedFileDetailsResult_t>();
    memset(r.get(), 0, sizeof *r);
    r->publishedFileId = id;
    r->result = c.resultFor("GetPublishedFileDetails");
    CworkshopStoredItem item;
    if (r->result == STEAM_RESULT_OK && !c.workshop.find(id, item)) r->result = STEAM_RESULT_FILE_NOT_FOUND;
    if (r->result == STEAM_RESULT_OK) {
        r->creatorAppId = r->consumerAppId = item.appId;
        copyText(r->title, sizeof r->title, item.title);
        copyText(r->description, sizeof r->description, item.description);
        r->file = itemHandle(id, false);
        r->previewFile = itemHandle(id, true);
        r->steamIdOwner = item.owner;
        r->rtimeCreated = item.created;
        r->rtimeUpdated = item.updated;
        r->visibility = item.visibility;
        r->banned = item.banned ? 1 : 0;
        copyText(r->fileName, sizeof r->fileName, item.fileName);
        Cbytes bytes;
        if (c.workshop.readFile(id, false, bytes)) r->fileSize = (int32_t)bytes.size();
        if (c.workshop.readFile(id, true, bytes)) r->previewFileSize = (int32_t)bytes.size();
        r->acceptedForUse = 1;
    }
    return c.postResult(*r);
}

SteamAPICall_t ISteamRemoteStorage::UGCDownload(UGCHandle_t content, uint32_t) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.workshopReady("UGCDownload") || content == kUGCHandleInvalid) return kSteamCallInvalid;
    ++c.counters.ugcDownloadCalls;
    RemoteStorageDownloadUGCResult_t r{};
    r.file = content;
    r.appId = c.appId;
    r.result = c.resultFor("UGCDownload");
    CugcFile f;
    if (r.result == STEAM_RESULT_OK && !c.ugcBytes(content, f)) r.result = STEAM_RESULT_FILE_NOT_FOUND;
    if (r.result == STEAM_RESULT_OK) {
        r.sizeInBytes = (int32_t)f.bytes.size();
        copyText(r.fileName, sizeof r.fileName, f.name);
        r.steamIdOwner = f.owner;
        c.ugcDownloads[content] = std::move(f.bytes);
    }
    return c.postResult(r);
}

int32_t ISteamRemoteStorage::UGCRead(UGCHandle_t content, void* data, int32_t size, uint32_t offset,
                                     EUGCReadAction action) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    auto it = c.ugcDownloads.find(content);
    if (!c.running || it == c.ugcDownloads.end() || !data || size <= 0) return 0;
    const Cbytes& bytes = it->second;
    int32_t n = 0;
    if (offset < bytes.size()) {
        n = (int32_t)std::min<size_t>((size_t)size, bytes.size() - offset);
        memcpy(data, bytes.data() + offset, (size_t)n);
    }
    if (action == UGC_READ_CLOSE || (action == UGC_READ_CONTINUE_CLOSE_AT_END && offset + (uint32_t)n >= bytes.size()))
        c.ugcDownloads.erase(it);
    return n;
}

SteamAPICall_t ISteamRemoteStorage::DeletePublishedFile(PublishedFileId_t id) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.workshopReady("DeletePublishedFile")) return kSteamCallInvalid;
    ++c.counters.deletePublishedCalls;
    RemoteStorageDeletePublishedFileResult_t r{};
    r.publishedFileId = id;
    r.result = c.resultFor("DeletePublishedFile");
    CworkshopStoredItem item;
    if (r.result == STEAM_RESULT_OK && !c.workshop.find(id, item)) r.result = STEAM_RESULT_FILE_NOT_FOUND;
    if (r.result == STEAM_RESULT_OK && item.owner != c.steamId) r.result = STEAM_RESULT_ACCESS_DENIED;
    if (r.result == STEAM_RESULT_OK && !c.workshop.remove(id)) r.result = STEAM_RESULT_FAIL;
    return c.postResult(r);
}

// ---- user stats: achievements ----

bool ISteamUserStats::RequestCurrentStats() {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.loggedOn()) return false;
    UserStatsReceived_t r{};
    r.gameId = c.appId;
    r.result = STEAM_RESULT_OK;
    r.steamIdUser = c.steamId;
    c.postCallback(r);
    return true;
}

bool ISteamUserStats::GetAchievement(const char* name, bool* achieved) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.running || !c.statsReceived || !name || !*name || !achieved) return false;
    *achieved = c.store.achievements.count(name) > 0 || c.unstoredUnlocks.count(name) > 0;
    return true;
}

bool ISteamUserStats::SetAchievement(const char* name) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.loggedOn() || !c.statsReceived || !name || !*name || strlen(name) >= 128) return false;
    ++c.counters.setAchievementCalls;
    if (!c.store.achievements.count(name)) c.unstoredUnlocks.insert(name);
    return true;
}

bool ISteamUserStats::StoreStats() {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.loggedOn() || !c.statsReceived) return false;
    ++c.counters.storeStatsCalls;
    std::vector<std::string> added(c.unstoredUnlocks.begin(), c.unstoredUnlocks.end());
    int64_t now = (int64_t)time(nullptr);
    for (const auto& name : added) c.store.achievements[name] = now;
    UserStatsStored_t stored{};
    stored.gameId = c.appId;
    stored.result = STEAM_RESULT_OK;
    if (!added.empty() && !c.store.saveAchievements()) {
        for (const auto& name : added) c.store.achievements.erase(name);
        stored.result = STEAM_RESULT_FAIL;
        c.postCallback(stored);
        return true;
    }
    c.unstoredUnlocks.clear();
    c.postCallback(stored);
    for (const auto& name : added) {
        UserAchievementStored_t a{};
        a.gameId = c.appId;
        copyToField(a.achievementName, sizeof a.achievementName, name);
        c.postCallback(a);
    }
    return true;
}

// ---- user stats: leaderboards ----

SteamAPICall_t ISteamUserStats::FindOrCreateLeaderboard(const char* name, ELeaderboardSortMethod sortMethod,
                                                        ELeaderboardDisplayType displayType) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.running || !name || !*name || strlen(name) > (size_t)kLeaderboardMaxNameLength) return kSteamCallInvalid;
    ++c.counters.findCalls;
    LeaderboardFindResult_t r{};
    if (c.faults.findFails || !c.loggedOn()) return c.postResult(r);
    CsteamBoard* b = c.findBoard(name);
    if (!b) {
        b = &c.addBoard(name, sortMethod, displayType);
        if (!c.store.saveBoards()) {
            c.store.boards.pop_back();
            return c.postResult(r);
        }
    }
    r.leaderboard = (SteamLeaderboard_t)(b - c.store.boards.data()) + 1;
    r.found = 1;
    return c.postResult(r);
}

const char* ISteamUserStats::GetLeaderboardName(SteamLeaderboard_t leaderboard) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    CsteamBoard* b = c.board(leaderboard);
    return b ? b->name.c_str() : "";
}

int ISteamUserStats::GetLeaderboardEntryCount(SteamLeaderboard_t leaderboard) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    CsteamBoard* b = c.board(leaderboard);
    return b ? (int)b->entries.size() : 0;
}

SteamAPICall_t ISteamUserStats::UploadLeaderboardScore(SteamLeaderboard_t leaderboard,
                                                       ELeaderboardUploadScoreMethod method, int32_t score,
                                                       const int32_t* details, int detailsCount) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    CsteamBoard* b = c.board(leaderboard);
    if (!b) return kSteamCallInvalid;
    ++c.counters.uploadCalls;
    LeaderboardScoreUploaded_t r{};
    r.leaderboard = leaderboard;
    r.score = score;
    if (!c.loggedOn()) return c.postResult(r);
    detailsCount = details ? std::clamp(detailsCount, 0, kLeaderboardMaxDetails) : 0;

    r.globalRankPrevious = c.rankOf(*b, c.steamId);
    CsteamBoardEntry* mine = nullptr;
    for (auto& e : b->entries)
        if (e.steamId == c.steamId) mine = &e;
    bool better = !mine || (b->sortMethod == LEADERBOARD_SORT_ASCENDING ? score < mine->score : score > mine->score);
    if (method == LEADERBOARD_UPLOAD_FORCE_UPDATE || better) {
        std::vector<CsteamBoard> before = c.store.boards;
        if (!mine) {
            b->entries.push_back({});
            mine = &b->entries.back();
            mine->steamId = c.steamId;
        }
        r.scoreChanged = mine->score != score || r.globalRankPrevious == 0;
        mine->score = score;
        mine->details.assign(details, details + detailsCount);
        if (!c.store.saveBoards()) {
            c.store.boards = std::move(before);
            return c.postResult(r);
        }
    }
    r.success = 1;
    r.globalRankNew = c.rankOf(*c.board(leaderboard), c.steamId);
    return c.postResult(r);
}

SteamAPICall_t ISteamUserStats::DownloadLeaderboardEntries(SteamLeaderboard_t leaderboard,
                                                           ELeaderboardDataRequest request, int start, int end) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    CsteamBoard* b = c.board(leaderboard);
    if (!b) return kSteamCallInvalid;
    ++c.counters.downloadCalls;
    auto list = c.ranked(*b);
    int userRank = c.rankOf(*b, c.steamId);
    std::vector<CdownloadedEntry> picked;
    for (size_t i = 0; i < list.size(); ++i) {
        int rank = (int)i + 1;
        const CsteamBoardEntry* e = list[i];
        bool take = false;
        if (request == LEADERBOARD_REQUEST_GLOBAL) take = rank >= start && rank <= end;
        else if (request == LEADERBOARD_REQUEST_AROUND_USER) take = userRank > 0 && rank >= userRank + start && rank <= userRank + end;
        else if (request == LEADERBOARD_REQUEST_FRIENDS) take = e->steamId == c.steamId || c.isFriend(e->steamId);
        if (!take) continue;
        CdownloadedEntry d{};
        d.entry.steamIdUser = e->steamId;
        d.entry.globalRank = rank;
        d.entry.score = e->score;
        d.entry.detailsCount = (int32_t)e->details.size();
        d.details = e->details;
        picked.push_back(std::move(d));
    }
    LeaderboardScoresDownloaded_t r{};
    r.leaderboard = leaderboard;
    r.entries = c.nextEntries++;
    r.entryCount = (int32_t)picked.size();
    c.downloads[r.entries] = std::move(picked);
    while (c.downloads.size() > kMaxKeptDownloads) c.downloads.erase(c.downloads.begin());
    return c.postResult(r);
}

bool ISteamUserStats::GetDownloadedLeaderboardEntry(SteamLeaderboardEntries_t entries, int index,
                                                    LeaderboardEntry_t* entry, int32_t* details, int detailsMax) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    auto it = c.downloads.find(entries);
    if (!c.running || !entry || it == c.downloads.end() || index < 0 || (size_t)index >= it->second.size()) return false;
    const CdownloadedEntry& d = it->second[(size_t)index];
    *entry = d.entry;
    if (details && detailsMax > 0) {
        size_t n = std::min(d.details.size(), (size_t)detailsMax);
        std::copy(d.details.begin(), d.details.begin() + (ptrdiff_t)n, details);
    }
    return true;
}

// ---- set-up and test control ----

namespace steamLocal {

void setAppId(uint32_t id) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    c.appId = id;
}

uint32_t appId() {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    return c.appId;
}

void setRoot(const std::string& folder) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    c.rootOverride = folder;
}

void setWorkshopRoot(const std::string& folder) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    c.workshopOverride = folder;
}

uint64_t localSteamId() { return computeLocalSteamId(); }

uint64_t addWorkshopItem(uint64_t owner, const std::string& title, const std::string& description,
                         const Cbytes& file, const Cbytes& preview) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.running) return 0;
    CworkshopStoredItem item;
    item.owner = owner;
    item.appId = c.appId;
    item.visibility = PUBLISHED_FILE_VISIBILITY_PUBLIC;
    item.title = title;
    item.description = description;
    item.fileName = "data.dat";
    item.previewName = "preview.png";
    return c.workshop.publish(item, file, preview);
}

bool replaceWorkshopFile(uint64_t id, const Cbytes& file) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    CworkshopStoredItem item;
    return c.running && c.workshop.find(id, item) && c.workshop.update(item, &file, nullptr);
}

bool setWorkshopBanned(uint64_t id, bool banned) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    CworkshopStoredItem item;
    if (!c.running || !c.workshop.find(id, item)) return false;
    item.banned = banned;
    return c.workshop.update(item, nullptr, nullptr);
}

bool subscribeWorkshopItem(uint64_t id) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    return c.running && c.workshop.subscribe(c.steamId, id);
}

bool findWorkshopItem(uint64_t id, CworkshopStoredItem& out) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    return c.running && c.workshop.find(id, out);
}

bool readWorkshopFile(uint64_t id, bool preview, Cbytes& out) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    return c.running && c.workshop.readFile(id, preview, out);
}

void reset() {
    SteamAPI_Shutdown();
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    c.faults = CsteamFaults{};
    c.counters = CsteamCounters{};
    c.personaOverride.clear();
    c.rootOverride.clear();
    c.workshopOverride.clear();
    c.appId = 0;
    c.nextScreenshot = 1;   // as a new run starts counting
    ++c.generation;
}

void setFrameSource(CsteamFrameSource source) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    c.frameSource = std::move(source);
}

bool hasFrameSource() {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    return (bool)c.frameSource;
}

void setWebPageOpener(CsteamWebPageOpener opener) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    c.webPageOpener = std::move(opener);
}

bool hasWebPageOpener() {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    return (bool)c.webPageOpener;
}

std::vector<std::string> screenshotFiles() {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    std::vector<std::string> files;
    if (!c.running) return files;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(c.screenshotFolder(), ec))
        if (e.is_regular_file(ec)) files.push_back(e.path().string());
    std::sort(files.begin(), files.end());   // numbered: oldest first
    return files;
}

CsteamFaults& faults() { return client().faults; }
CsteamCounters& counters() { return client().counters; }

void interfacesChanged() {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    ++c.generation;
}

void setPersonaName(const std::string& name) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    c.personaOverride = name;
}

bool addFriend(uint64_t steamId, const std::string& name) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.running || steamId == 0) return false;
    for (auto& f : c.store.friends)
        if (f.steamId == steamId) {
            f.name = name;
            return c.store.saveFriends();
        }
    c.store.friends.push_back({steamId, name});
    return c.store.saveFriends();
}

bool addBoardEntry(const std::string& boardName, uint64_t steamId, int32_t score, const void* details,
                   size_t detailsBytes) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.running || boardName.empty() || boardName.size() > (size_t)kLeaderboardMaxNameLength) return false;
    CsteamBoard* b = c.findBoard(boardName);
    if (!b) b = &c.addBoard(boardName, LEADERBOARD_SORT_DESCENDING, LEADERBOARD_DISPLAY_NUMERIC);
    CsteamBoardEntry e;
    e.steamId = steamId;
    e.score = score;
    size_t words = std::min((detailsBytes + 3) / 4, (size_t)kLeaderboardMaxDetails);
    e.details.assign(words, 0);
    if (details) memcpy(e.details.data(), details, std::min(detailsBytes, words * 4));
    auto same = std::find_if(b->entries.begin(), b->entries.end(), [steamId](const CsteamBoardEntry& x) { return x.steamId == steamId; });
    if (same != b->entries.end()) *same = std::move(e);
    else b->entries.push_back(std::move(e));
    return c.store.saveBoards();
}

void postUserStatsReceived(uint64_t gameId, int32_t result) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.running) return;
    UserStatsReceived_t r{};
    r.gameId = gameId;
    r.result = result;
    r.steamIdUser = c.steamId;
    c.postCallback(r);
}

void postOverlayActivated(bool active) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    if (!c.running) return;
    GameOverlayActivated_t r{};
    r.active = active ? 1 : 0;
    c.postCallback(r);
}

int pendingResults() {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    return (int)c.queue.size();
}

bool isAchieved(const std::string& name) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    return c.store.achievements.count(name) > 0;
}

int boardEntryCount(const std::string& board) {
    CsteamLocalClient& c = client();
    Clock lock(c.mutex);
    CsteamBoard* b = c.findBoard(board);
    return b ? (int)b->entries.size() : -1;
}

}  // namespace steamLocal
