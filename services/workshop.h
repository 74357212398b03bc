#pragma once
// Cworkshop: player ships shared through the Steam workshop. It publishes one
// ship as an item (new, or an update of the item it came from), keeps the
// player's subscribed items in step with local copies in the save folder
// ("UserItem_%lld.dat"), and hands each subscribed ship, once checked, to the
// game to import. Every request is an asynchronous Steam call whose result
// arrives while the Steam callbacks run; one flow (publish or sync) at a time.
//
// An item's file "data.dat" is a packed multi-block record: block 0 the ship's
// 2668-byte data block, block 1 its hull image (PNG, may be empty), block 5
// the u32 item kind (3, a ship), block 6 a u32 0. The local copy keeps the
// item's update time in the first block header's spare bytes.
//
// Status and error texts are string-table tags beginning "WS_"; an error from
// a Steam result is the text of resultText instead.
#include <cstdint>
#include <functional>
#include <string>

#include "engine/webMessage.h"
#include "platform/steam/steamCallback.h"

// What a publish sends: the ship's data block and hull image and its texts.
struct CworkshopShip {
    Cbytes dataBlock;
    Cbytes hullImage;
    std::string title, description;
    bool published = false;    // it has an item already: publishedId
    bool publicFlag = false;   // public rather than private
    uint64_t publishedId = 0;
};

// The item being synced: its unpacked record and its details.
struct CworkshopItemRecord {
    Cbytes record;
    std::string title, description;
    int32_t visibility = PUBLISHED_FILE_VISIBILITY_PRIVATE;
    uint64_t owner = 0, publishedId = 0;
};

// A subscribed ship that passed the checks, for the game to import.
struct CworkshopShipItem {
    Cbytes dataBlock;   // exactly the data block's size
    Cbytes hullImage;   // empty, or a PNG no larger than kMaxHullSide square and kMaxHullBytes
    std::string title, description;
    uint64_t owner = 0, publishedId = 0;
};

class Cworkshop {
public:
    enum Estate { STATE_IDLE = 0, STATE_PUBLISHING = 1, STATE_SYNCING = 2 };
    static constexpr uint16_t kBlockShip = 0, kBlockHull = 1, kBlockKind = 5, kBlockSpare = 6;
    static constexpr uint32_t kItemKindShip = 3;
    static constexpr size_t kShipBlockSize = 2668;
    static constexpr size_t kMaxHullBytes = 1024 * 1024;
    static constexpr int kMaxHullSide = 256;
    static constexpr size_t kTitleChars = 50, kDescriptionChars = 1000;
    static constexpr const char* kDataFile = "data.dat";
    static constexpr const char* kPreviewFile = "preview.png";

    Cworkshop() = default;
    Cworkshop(const Cworkshop&) = delete;
    Cworkshop& operator=(const Cworkshop&) = delete;

    // After Steam has started: the remote-storage interface and clear texts.
    void init();
    // A fresh item: no published id, private, owned by the player, kind 3.
    void newItem();
    // Fills the item from a ship and its preview image, then publishes it.
    // False, with nothing started, while another flow runs.
    bool publishShip(const CworkshopShip& ship, const Cbytes& preview);
    void publishItem();
    // Starts the sync of the subscribed items (or asks for its next page).
    void requestSubscribedList();
    // The result is not waited for.
    void deletePublishedFile(uint64_t id);
    // Checks an item and hands its ship to onImport. False (logged) when the
    // item is not a ship, fails a check or the game refuses it.
    bool importItem(const CworkshopItemRecord& item);
    static bool checkShipItem(const CworkshopItemRecord& item, CworkshopShipItem& out);

    // " = <code> <what Steam means by it>" for codes 1 to 82, else "Unknown Error Code".
    static std::string resultText(int code);
    // The update time kept in a record's first block header.
    static uint32_t recordUpdateTime(const Cbytes& record);
    static void setRecordUpdateTime(Cbytes& record, uint32_t time);
    static std::string localItemName(uint64_t id);

    // The game imports a checked ship; false refuses it.
    std::function<bool(const CworkshopShipItem&)> onImport;

    ISteamRemoteStorage* remoteStorage = nullptr;
    int state = STATE_IDLE;
    uint8_t existingItem = 0, existingPublic = 0;
    Cbytes previewData;
    std::string fileName = kDataFile;
    Cbytes itemBuffer;   // the record being published, unpacked
    std::string title = "** No Title **";
    std::string description = "** No Description **";
    uint64_t publishedId = 0;
    int32_t visibility = PUBLISHED_FILE_VISIBILITY_PRIVATE;
    uint64_t owner = 0;
    uint8_t hasError = 0;
    uint8_t needsAgreement = 0;   // the last publish found the legal agreement unaccepted
    std::string errorText = "WS_NoError";
    std::string statusText = "WS_None";

    RemoteStorageEnumerateUserSubscribedFilesResult_t subscribed{};
    int32_t currentIndex = 0;
    uint8_t morePages = 0;
    uint32_t startIndex = 0;
    uint32_t lastUpdated = 0;
    CworkshopItemRecord downloadedItem;
    int imported = 0, skipped = 0;   // items of the last sync

private:
    void fail(const std::string& text);
    void failPublish(const std::string& text);
    void onFileShared(RemoteStorageFileShareResult_t* r, bool ioFailure);
    void onPublished(RemoteStoragePublishFileResult_t* r, bool ioFailure);
    void onUpdateCommitted(RemoteStorageUpdatePublishedFileResult_t* r, bool ioFailure);
    void onSubscribedList(RemoteStorageEnumerateUserSubscribedFilesResult_t* r, bool ioFailure);
    void onDetails(RemoteStorageGetPublishedFileDetailsResult_t* r, bool ioFailure);
    void onDownloaded(RemoteStorageDownloadUGCResult_t* r, bool ioFailure);
    void onDeleted(RemoteStorageDeletePublishedFileResult_t*, bool) {}
    void shareDataFile();
    void updateExistingItem();
    void requestDetails();
    void nextItem();
    uint32_t loadLocalItem(uint64_t id);

    Cbytes packed_;            // the packed record written as "data.dat"
    bool sharingData_ = false;   // the share under way is the data file's
    bool localLoaded_ = false;

    CsteamCallResult<Cworkshop, RemoteStorageFileShareResult_t> fileShareResult_;
    CsteamCallResult<Cworkshop, RemoteStoragePublishFileResult_t> publishResult_;
    CsteamCallResult<Cworkshop, RemoteStorageUpdatePublishedFileResult_t> commitResult_;
    CsteamCallResult<Cworkshop, RemoteStorageEnumerateUserSubscribedFilesResult_t> listResult_;
    CsteamCallResult<Cworkshop, RemoteStorageGetPublishedFileDetailsResult_t> detailsResult_;
    CsteamCallResult<Cworkshop, RemoteStorageDownloadUGCResult_t> downloadResult_;
    CsteamCallResult<Cworkshop, RemoteStorageDeletePublishedFileResult_t> deleteResult_;
};
