#pragma once
// Our Steam client layer: start-up, callbacks and call results, and the
// interfaces the game uses, found by their version strings. It is served by a
// local client (steamLocal.h) that acts for a logged-on player and keeps remote
// storage, achievements and leaderboards in files under the save folder.
// Results of asynchronous calls arrive in the next SteamAPI_RunCallbacks, on
// the thread that calls it (the main thread).
#include <cstddef>
#include <cstdint>

using SteamAPICall_t = uint64_t;
using SteamLeaderboard_t = uint64_t;
using SteamLeaderboardEntries_t = uint64_t;
using HSteamUser = int32_t;
using PublishedFileId_t = uint64_t;
using UGCHandle_t = uint64_t;
using PublishedFileUpdateHandle_t = uint64_t;
using ScreenshotHandle = uint32_t;

constexpr SteamAPICall_t kSteamCallInvalid = 0;
constexpr UGCHandle_t kUGCHandleInvalid = ~0ull;
constexpr PublishedFileUpdateHandle_t kPublishedFileUpdateHandleInvalid = ~0ull;
constexpr ScreenshotHandle kScreenshotHandleInvalid = 0;

// Interface version strings.
constexpr const char* kSteamFriendsVersion = "SteamFriends017";
constexpr const char* kSteamRemoteStorageVersion = "STEAMREMOTESTORAGE_INTERFACE_VERSION014";
constexpr const char* kSteamUserStatsVersion = "STEAMUSERSTATS_INTERFACE_VERSION011";
constexpr const char* kSteamUserVersion = "SteamUser020";
constexpr const char* kSteamUtilsVersion = "SteamUtils009";
constexpr const char* kSteamScreenshotsVersion = "STEAMSCREENSHOTS_INTERFACE_VERSION003";

// Result codes of callbacks (the few the game tells apart).
enum EsteamResult : int32_t {
    STEAM_RESULT_OK = 1,
    STEAM_RESULT_FAIL = 2,
    STEAM_RESULT_NO_CONNECTION = 3,
    STEAM_RESULT_INVALID_PARAM = 8,
    STEAM_RESULT_FILE_NOT_FOUND = 9,
    STEAM_RESULT_ACCESS_DENIED = 15,
};

// Workshop items.
enum ERemoteStoragePublishedFileVisibility : int32_t {
    PUBLISHED_FILE_VISIBILITY_PUBLIC = 0,
    PUBLISHED_FILE_VISIBILITY_FRIENDS_ONLY = 1,
    PUBLISHED_FILE_VISIBILITY_PRIVATE = 2,
};

enum EUGCReadAction : int32_t {
    UGC_READ_CONTINUE = 0,
    UGC_READ_CONTINUE_CLOSE_AT_END = 1,
    UGC_READ_CLOSE = 2,
};

constexpr int kEnumeratePublishedFilesMaxResults = 50;
constexpr int kPublishedDocumentTitleMax = 129;
constexpr int kPublishedDocumentDescriptionMax = 8000;
constexpr int kFilenameMax = 260;
constexpr int kTagListMax = 1025;
constexpr int kPublishedFileUrlMax = 256;

enum ELeaderboardSortMethod : int32_t {
    LEADERBOARD_SORT_NONE = 0,
    LEADERBOARD_SORT_ASCENDING = 1,    // lowest score first
    LEADERBOARD_SORT_DESCENDING = 2,   // highest score first
};

enum ELeaderboardDisplayType : int32_t {
    LEADERBOARD_DISPLAY_NONE = 0,
    LEADERBOARD_DISPLAY_NUMERIC = 1,
    LEADERBOARD_DISPLAY_SECONDS = 2,
    LEADERBOARD_DISPLAY_MILLISECONDS = 3,
};

enum ELeaderboardUploadScoreMethod : int32_t {
    LEADERBOARD_UPLOAD_NONE = 0,
    LEADERBOARD_UPLOAD_KEEP_BEST = 1,
    LEADERBOARD_UPLOAD_FORCE_UPDATE = 2,
};

enum ELeaderboardDataRequest : int32_t {
    LEADERBOARD_REQUEST_GLOBAL = 0,
    LEADERBOARD_REQUEST_AROUND_USER = 1,
    LEADERBOARD_REQUEST_FRIENDS = 2,
};

constexpr int kLeaderboardMaxDetails = 64;
constexpr int kLeaderboardMaxNameLength = 128;

// ---- Callback and call-result payloads -------------------------------------

struct GameOverlayActivated_t {
    static constexpr int kCallbackId = 331;
    uint8_t active;
};

struct UserStatsReceived_t {
    static constexpr int kCallbackId = 1101;
    uint64_t gameId;
    int32_t result;
    uint64_t steamIdUser;
};

struct UserStatsStored_t {
    static constexpr int kCallbackId = 1102;
    uint64_t gameId;
    int32_t result;
};

struct UserAchievementStored_t {
    static constexpr int kCallbackId = 1103;
    uint64_t gameId;
    char achievementName[128];
};

struct LeaderboardFindResult_t {
    static constexpr int kCallbackId = 1104;
    SteamLeaderboard_t leaderboard;
    uint8_t found;
};

struct LeaderboardScoreUploaded_t {
    static constexpr int kCallbackId = 1105;
    uint8_t success;
    SteamLeaderboard_t leaderboard;
    int32_t score;
    uint8_t scoreChanged;
    int32_t globalRankNew;
    int32_t globalRankPrevious;
};

struct LeaderboardScoresDownloaded_t {
    static constexpr int kCallbackId = 1106;
    SteamLeaderboard_t leaderboard;
    SteamLeaderboardEntries_t entries;
    int32_t entryCount;
};

struct LeaderboardEntry_t {
    uint64_t steamIdUser;
    int32_t globalRank;
    int32_t score;
    int32_t detailsCount;
    uint64_t ugcHandle;
};

struct RemoteStorageFileShareResult_t {
    static constexpr int kCallbackId = 1307;
    int32_t result;
    UGCHandle_t file;
    char fileName[kFilenameMax];
};

struct RemoteStoragePublishFileResult_t {
    static constexpr int kCallbackId = 1309;
    int32_t result;
    PublishedFileId_t publishedFileId;
    uint8_t userNeedsToAcceptWorkshopLegalAgreement;
};

struct RemoteStorageDeletePublishedFileResult_t {
    static constexpr int kCallbackId = 1311;
    int32_t result;
    PublishedFileId_t publishedFileId;
};

struct RemoteStorageSubscribePublishedFileResult_t {
    static constexpr int kCallbackId = 1313;
    int32_t result;
    PublishedFileId_t publishedFileId;
};

struct RemoteStorageEnumerateUserSubscribedFilesResult_t {
    static constexpr int kCallbackId = 1314;
    int32_t result;
    int32_t resultsReturned;
    int32_t totalResultCount;
    PublishedFileId_t publishedFileId[kEnumeratePublishedFilesMaxResults];
    uint32_t rtimeSubscribed[kEnumeratePublishedFilesMaxResults];
};

struct RemoteStorageUpdatePublishedFileResult_t {
    static constexpr int kCallbackId = 1316;
    int32_t result;
    PublishedFileId_t publishedFileId;
    uint8_t userNeedsToAcceptWorkshopLegalAgreement;
};

struct RemoteStorageDownloadUGCResult_t {
    static constexpr int kCallbackId = 1317;
    int32_t result;
    UGCHandle_t file;
    uint32_t appId;
    int32_t sizeInBytes;
    char fileName[kFilenameMax];
    uint64_t steamIdOwner;
};

struct RemoteStorageGetPublishedFileDetailsResult_t {
    static constexpr int kCallbackId = 1318;
    int32_t result;
    PublishedFileId_t publishedFileId;
    uint32_t creatorAppId;
    uint32_t consumerAppId;
    char title[kPublishedDocumentTitleMax];
    char description[kPublishedDocumentDescriptionMax];
    UGCHandle_t file;
    UGCHandle_t previewFile;
    uint64_t steamIdOwner;
    uint32_t rtimeCreated;
    uint32_t rtimeUpdated;
    int32_t visibility;
    uint8_t banned;
    uint8_t tagsTruncated;
    char tags[kTagListMax];
    char fileName[kFilenameMax];
    int32_t fileSize;
    int32_t previewFileSize;
    char url[kPublishedFileUrlMax];
    int32_t fileType;
    uint8_t acceptedForUse;
};

struct ScreenshotReady_t {
    static constexpr int kCallbackId = 2301;
    ScreenshotHandle local;
    int32_t result;
};

// ---- Callback objects ----------------------------------------------------------
// The client calls these through four virtual operations, in this order. A
// callback is registered for a callback id and receives every payload of that
// id; a call result is registered for one call handle and receives its result.

class CsteamCallbackBase {
public:
    static constexpr uint8_t kRegistered = 1;
    static constexpr uint8_t kCallResult = 2;

    CsteamCallbackBase() = default;
    CsteamCallbackBase(const CsteamCallbackBase&) = delete;
    CsteamCallbackBase& operator=(const CsteamCallbackBase&) = delete;

    virtual void Run(void* result, bool ioFailure, SteamAPICall_t call) = 0;
    virtual void Run(void* result) = 0;
    virtual int GetCallbackSizeBytes() = 0;
    virtual ~CsteamCallbackBase() = default;

    uint8_t callbackFlags = 0;
    int callbackId = 0;
};

// ---- Start-up and callbacks ---------------------------------------------------

bool SteamAPI_Init();
void SteamAPI_Shutdown();
void SteamAPI_RunCallbacks();
void SteamAPI_RegisterCallback(CsteamCallbackBase* callback, int callbackId);
void SteamAPI_UnregisterCallback(CsteamCallbackBase* callback);
void SteamAPI_RegisterCallResult(CsteamCallbackBase* callback, SteamAPICall_t call);
void SteamAPI_UnregisterCallResult(CsteamCallbackBase* callback, SteamAPICall_t call);
HSteamUser SteamAPI_GetHSteamUser();

// Interfaces by version string; null when not served (Steam not started, or
// the version unknown).
void* SteamInternal_FindOrCreateUserInterface(HSteamUser user, const char* version);

// A cache of the interface pointers, refreshed whenever the client starts,
// stops or changes what it serves.
struct CsteamContext {
    uint32_t generation = 0;
    void* interfaces[6] = {};
};
CsteamContext* SteamInternal_ContextInit(CsteamContext* context);

// ---- Interfaces ---------------------------------------------------------------

class ISteamUtils {
public:
    uint32_t GetAppID();
    // 0 top left, 1 top right, 2 bottom left, 3 bottom right.
    void SetOverlayNotificationPosition(int position);
};

class ISteamUser {
public:
    bool BLoggedOn();
    uint64_t GetSteamID();
};

class ISteamFriends {
public:
    const char* GetPersonaName();
    // "[unknown]" for a user the client knows nothing of.
    const char* GetFriendPersonaName(uint64_t steamId);
    void ActivateGameOverlayToWebPage(const char* url);
};

class ISteamRemoteStorage {
public:
    bool FileWrite(const char* name, const void* data, int32_t size);
    // Bytes read, at most size; 0 when the file is missing.
    int32_t FileRead(const char* name, void* data, int32_t size);
    bool FileExists(const char* name);
    bool FileDelete(const char* name);
    int32_t GetFileSize(const char* name);
    int32_t GetFileCount();
    bool GetQuota(uint64_t* totalBytes, uint64_t* availableBytes);

    // Workshop. A remote-storage file is shared (RemoteStorageFileShareResult_t)
    // before it is published. Calls answer kSteamCallInvalid when refused.
    SteamAPICall_t FileShare(const char* name);
    // RemoteStoragePublishFileResult_t; the item takes copies of both files.
    SteamAPICall_t PublishWorkshopFile(const char* file, const char* previewFile, uint32_t consumerAppId,
                                       const char* title, const char* description, int32_t visibility,
                                       const char* const* tags, int tagCount, int32_t fileType);
    // An update is gathered on a handle and sent by CommitPublishedFileUpdate
    // (RemoteStorageUpdatePublishedFileResult_t); nothing changes before then.
    PublishedFileUpdateHandle_t CreatePublishedFileUpdateRequest(PublishedFileId_t id);
    bool UpdatePublishedFileFile(PublishedFileUpdateHandle_t update, const char* file);
    bool UpdatePublishedFilePreviewFile(PublishedFileUpdateHandle_t update, const char* previewFile);
    bool UpdatePublishedFileVisibility(PublishedFileUpdateHandle_t update, int32_t visibility);
    bool UpdatePublishedFileTitle(PublishedFileUpdateHandle_t update, const char* title);
    SteamAPICall_t CommitPublishedFileUpdate(PublishedFileUpdateHandle_t update);
    SteamAPICall_t SubscribePublishedFile(PublishedFileId_t id);
    // Up to 50 subscribed items from startIndex, oldest subscription first.
    SteamAPICall_t EnumerateUserSubscribedFiles(uint32_t startIndex);
    SteamAPICall_t GetPublishedFileDetails(PublishedFileId_t id, uint32_t maxSecondsOld);
    // Fetches a file by its handle (RemoteStorageDownloadUGCResult_t); its
    // bytes are then read with UGCRead.
    SteamAPICall_t UGCDownload(UGCHandle_t content, uint32_t priority);
    // Bytes copied, 0 when nothing is held for the handle.
    int32_t UGCRead(UGCHandle_t content, void* data, int32_t size, uint32_t offset, EUGCReadAction action);
    SteamAPICall_t DeletePublishedFile(PublishedFileId_t id);
};

class ISteamUserStats {
public:
    // Asks for the player's stats; UserStatsReceived_t follows.
    bool RequestCurrentStats();
    bool GetAchievement(const char* name, bool* achieved);
    bool SetAchievement(const char* name);
    // Commits set achievements; UserStatsStored_t and UserAchievementStored_t follow.
    bool StoreStats();

    SteamAPICall_t FindOrCreateLeaderboard(const char* name, ELeaderboardSortMethod sortMethod,
                                           ELeaderboardDisplayType displayType);
    const char* GetLeaderboardName(SteamLeaderboard_t leaderboard);
    int GetLeaderboardEntryCount(SteamLeaderboard_t leaderboard);
    SteamAPICall_t UploadLeaderboardScore(SteamLeaderboard_t leaderboard, ELeaderboardUploadScoreMethod method,
                                          int32_t score, const int32_t* details, int detailsCount);
    // Ranks start..end (1-based) for the global request, relative to the player
    // for the around-user request; the friends request gives the player and
    // their friends whatever the range.
    SteamAPICall_t DownloadLeaderboardEntries(SteamLeaderboard_t leaderboard, ELeaderboardDataRequest request,
                                              int start, int end);
    bool GetDownloadedLeaderboardEntry(SteamLeaderboardEntries_t entries, int index, LeaderboardEntry_t* entry,
                                       int32_t* details, int detailsMax);
};

class ISteamScreenshots {
public:
    // Takes the game's next frame into the player's screenshot library;
    // ScreenshotReady_t follows with the outcome.
    void TriggerScreenshot();
};

ISteamUtils* SteamUtils();
ISteamUser* SteamUser();
ISteamFriends* SteamFriends();
ISteamRemoteStorage* SteamRemoteStorage();
ISteamUserStats* SteamUserStats();
ISteamScreenshots* SteamScreenshots();
