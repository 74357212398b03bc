#include "services/workshop.h"

#include <algorithm>
#include <cstring>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/resourceFile.h"

namespace {

// The u32 in the first block header's spare bytes.
constexpr size_t kUpdateTimeAt = CwebMessage::kRecordHeaderSize + 6;

std::string boundedText(const char* text, size_t size, size_t maxChars) {
    std::string s(text, strnlen(text, size));
    s.resize(utf8CutPoint(s, maxChars));
    return s;
}

bool findBlock(const Cbytes& record, uint16_t type, const uint8_t*& data, uint32_t& length) {
    uint32_t n = CwebMessage::blockCount(record);
    for (uint32_t i = 0; i < n; ++i) {
        uint16_t t = 0;
        if (CwebMessage::getBlock(record, i, t, data, length) && t == type) return true;
    }
    data = nullptr;
    length = 0;
    return false;
}

// The size of a PNG from its signature and header chunk.
bool pngSize(const uint8_t* p, size_t size, int& width, int& height) {
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (size < 24 || memcmp(p, signature, 8) != 0 || memcmp(p + 12, "IHDR", 4) != 0) return false;
    uint32_t w = ((uint32_t)p[16] << 24) | ((uint32_t)p[17] << 16) | ((uint32_t)p[18] << 8) | p[19];
    uint32_t h = ((uint32_t)p[20] << 24) | ((uint32_t)p[21] << 16) | ((uint32_t)p[22] << 8) | p[23];
    if (w == 0 || h == 0 || w > 0x7FFFFFFF || h > 0x7FFFFFFF) return false;
    width = (int)w;
    height = (int)h;
    return true;
}

}  // namespace

// ---- set-up ----

void Cworkshop::init() {
    remoteStorage = SteamRemoteStorage();
    errorText = "WS_NoError";
    statusText = "WS_None";
}

void Cworkshop::newItem() {
    itemBuffer.clear();
    publishedId = 0;
    visibility = PUBLISHED_FILE_VISIBILITY_PRIVATE;
    existingItem = existingPublic = 0;
    ISteamUser* user = SteamUser();
    owner = user ? user->GetSteamID() : 0;
    fileName = kDataFile;
    title = "** No Title **";
    description = "** No Description **";
    uint8_t word[4];
    putU32(word, kItemKindShip);
    CwebMessage::addBlock(itemBuffer, kBlockKind, word, 4);
    putU32(word, 0);
    CwebMessage::addBlock(itemBuffer, kBlockSpare, word, 4);
}

// ---- publishing ----

bool Cworkshop::publishShip(const CworkshopShip& ship, const Cbytes& preview) {
    // One flow at a time: a publish in the middle of a sync would be dropped
    // by the sync's next step.
    if (state != STATE_IDLE) {
        gEngine->log.print(LOG_L, "+++++ publishItem - refused: the workshop is busy (state %d)", state);
        return false;
    }
    newItem();
    existingItem = ship.published && ship.publishedId != 0 ? 1 : 0;
    existingPublic = ship.publicFlag ? 1 : 0;
    publishedId = ship.publishedId;
    previewData = preview;
    visibility = ship.publicFlag ? PUBLISHED_FILE_VISIBILITY_PUBLIC : PUBLISHED_FILE_VISIBILITY_PRIVATE;
    description = ship.description.substr(0, utf8CutPoint(ship.description, kDescriptionChars - 1));
    title = ship.title.substr(0, utf8CutPoint(ship.title, kTitleChars - 1));
    CwebMessage::addBlock(itemBuffer, kBlockShip, ship.dataBlock.data(), (uint32_t)ship.dataBlock.size());
    CwebMessage::addBlock(itemBuffer, kBlockHull, ship.hullImage.data(), (uint32_t)ship.hullImage.size());
    publishItem();
    return true;
}

void Cworkshop::failPublish(const std::string& text) {
    hasError = 1;
    errorText = text;
    state = STATE_IDLE;
}

void Cworkshop::publishItem() {
    state = STATE_PUBLISHING;
    packed_ = CwebMessage::packRecord(itemBuffer);
    hasError = 0;
    needsAgreement = 0;
    errorText = "WS_NoError";
    gEngine->log.print(LOG_L, "+++++ publishItem - Start");
    bool written = remoteStorage && remoteStorage->FileWrite(kPreviewFile, previewData.data(), (int32_t)previewData.size());
    gEngine->log.print(LOG_L, "+++++ publishItem - Publishing Final Version");
    if (!written) {
        failPublish("WS_Failedtowritepreviewimage");
        gEngine->log.print(LOG_L, "+++++ publishItem - Error on write preview file");
        return;
    }
    sharingData_ = false;
    SteamAPICall_t call = remoteStorage->FileShare(kPreviewFile);
    if (call == kSteamCallInvalid) {
        failPublish("WS_Failedtowritepreviewimage");
        return;
    }
    fileShareResult_.set(call, this, &Cworkshop::onFileShared);
    statusText = "WS_PublishingSendingPreviewImage";
}

void Cworkshop::shareDataFile() {
    if (!remoteStorage->FileWrite(kDataFile, packed_.data(), (int32_t)packed_.size())) {
        failPublish("WS_Failedtowritedatafile");
        return;
    }
    statusText = "WS_PublishingDataShare";
    sharingData_ = true;
    SteamAPICall_t call = remoteStorage->FileShare(kDataFile);
    if (call == kSteamCallInvalid) {
        failPublish("WS_Failedtowritedatafile");
        return;
    }
    fileShareResult_.set(call, this, &Cworkshop::onFileShared);
}

void Cworkshop::onFileShared(RemoteStorageFileShareResult_t* r, bool ioFailure) {
    if (state != STATE_PUBLISHING) return;
    // A file that could not be shared can't be published: stop here rather
    // than fail later with a less helpful text.
    if (ioFailure) return failPublish("WS_IOFailureError");
    if (r->result != STEAM_RESULT_OK) return failPublish(resultText(r->result));
    if (!sharingData_) return shareDataFile();
    if (existingItem) return updateExistingItem();
    SteamAPICall_t call = remoteStorage->PublishWorkshopFile(kDataFile, kPreviewFile, SteamUtils() ? SteamUtils()->GetAppID() : 0,
                                                             title.c_str(), description.c_str(), visibility, nullptr, 0, 0);
    if (call == kSteamCallInvalid) return failPublish(resultText(STEAM_RESULT_FAIL));
    publishResult_.set(call, this, &Cworkshop::onPublished);
    statusText = "WS_PublishingSendingData";
}

void Cworkshop::updateExistingItem() {
    // The description of an existing item stays as it is on the workshop.
    PublishedFileUpdateHandle_t h = remoteStorage->CreatePublishedFileUpdateRequest(publishedId);
    if (h == kPublishedFileUpdateHandleInvalid || !remoteStorage->UpdatePublishedFileFile(h, kDataFile))
        return failPublish("WS_UpdateFileError");
    if (!remoteStorage->UpdatePublishedFilePreviewFile(h, kPreviewFile)) return failPublish("WS_UpdatePreviewFileError");
    if (!remoteStorage->UpdatePublishedFileVisibility(h, visibility)) return failPublish("WS_UpdateVisibilityError");
    if (!remoteStorage->UpdatePublishedFileTitle(h, title.c_str())) return failPublish("WS_UpdateVisibilityError");
    // Complete only once the commit's result says so.
    SteamAPICall_t call = remoteStorage->CommitPublishedFileUpdate(h);
    if (call == kSteamCallInvalid) return failPublish(resultText(STEAM_RESULT_FAIL));
    commitResult_.set(call, this, &Cworkshop::onUpdateCommitted);
    statusText = "WS_PublishingSendingData";
}

void Cworkshop::onUpdateCommitted(RemoteStorageUpdatePublishedFileResult_t* r, bool ioFailure) {
    state = STATE_IDLE;
    if (r->userNeedsToAcceptWorkshopLegalAgreement) {
        hasError = 1;
        needsAgreement = 1;
        errorText = "WS_Needtoacceptworkshopagreement";
    }
    if (ioFailure) {
        hasError = 1;
        errorText = "WS_IOFailureError";
    } else if (r->result != STEAM_RESULT_OK) {
        hasError = 1;
        errorText = resultText(r->result);
    } else {
        statusText = "WS_PublishingComplete";
    }
}

void Cworkshop::onPublished(RemoteStoragePublishFileResult_t* r, bool ioFailure) {
    state = STATE_IDLE;
    if (r->userNeedsToAcceptWorkshopLegalAgreement) {
        hasError = 1;
        needsAgreement = 1;
        errorText = "WS_Needtoacceptworkshopagreement";
    }
    if (r->result == STEAM_RESULT_OK && !ioFailure) {
        publishedId = r->publishedFileId;
        if (SteamAPICall_t call = remoteStorage->SubscribePublishedFile(publishedId); call == kSteamCallInvalid)
            gEngine->log.print(LOG_L, "Workshop: can't subscribe to item %llu", (unsigned long long)publishedId);
        statusText = "WS_PublishingComplete";
    } else if (r->result == STEAM_RESULT_OK) {
        hasError = 1;
        errorText = "WS_IOFailureError";
    } else {
        hasError = 1;
        errorText = resultText(r->result);
    }
}

void Cworkshop::deletePublishedFile(uint64_t id) {
    if (!remoteStorage || id == 0) return;
    SteamAPICall_t call = remoteStorage->DeletePublishedFile(id);
    if (call != kSteamCallInvalid) deleteResult_.set(call, this, &Cworkshop::onDeleted);
}

// ---- the sync of subscribed items ----

void Cworkshop::fail(const std::string& text) {
    hasError = 1;
    errorText = text;
}

void Cworkshop::requestSubscribedList() {
    // A new sync starts from the first page.
    if (state != STATE_SYNCING) {
        startIndex = 0;
        imported = skipped = 0;
    }
    state = STATE_SYNCING;
    hasError = 0;
    errorText = "WS_NoError";
    SteamAPICall_t call = remoteStorage ? remoteStorage->EnumerateUserSubscribedFiles(startIndex) : kSteamCallInvalid;
    startIndex += kEnumeratePublishedFilesMaxResults;
    if (call == kSteamCallInvalid) {
        fail(resultText(STEAM_RESULT_FAIL));
        state = STATE_IDLE;
        return;
    }
    listResult_.set(call, this, &Cworkshop::onSubscribedList);
    statusText = "WS_SteamWorkshopGettingSubscribeList";
}

void Cworkshop::onSubscribedList(RemoteStorageEnumerateUserSubscribedFilesResult_t* r, bool ioFailure) {
    if (r->result != STEAM_RESULT_OK) {
        state = STATE_IDLE;
        return fail(resultText(r->result));
    }
    if (ioFailure) {
        state = STATE_IDLE;
        return fail("WS_IOFailureError");
    }
    subscribed = *r;
    subscribed.resultsReturned = std::clamp(subscribed.resultsReturned, 0, kEnumeratePublishedFilesMaxResults);
    morePages = subscribed.resultsReturned >= kEnumeratePublishedFilesMaxResults ? 1 : 0;
    currentIndex = 0;
    if (subscribed.resultsReturned > 0) requestDetails();
    else if (morePages) requestSubscribedList();
    else state = STATE_IDLE;
}

void Cworkshop::requestDetails() {
    SteamAPICall_t call = remoteStorage->GetPublishedFileDetails(subscribed.publishedFileId[currentIndex], 0);
    if (call == kSteamCallInvalid) {
        fail(resultText(STEAM_RESULT_FAIL));
        return nextItem();
    }
    detailsResult_.set(call, this, &Cworkshop::onDetails);
}

void Cworkshop::nextItem() {
    ++currentIndex;
    if (currentIndex < subscribed.resultsReturned) requestDetails();
    else if (morePages) requestSubscribedList();
    else state = STATE_IDLE;
}

std::string Cworkshop::localItemName(uint64_t id) {
    char name[64];
    snprintf(name, sizeof name, "UserItem_%lld.dat", (long long)id);
    return name;
}

uint32_t Cworkshop::loadLocalItem(uint64_t id) {
    localLoaded_ = false;
    CresourceFile file;
    if (!file.open(localItemName(id), RF_SAVE_RAW | RF_QUIET)) return 0;
    Cbytes record;
    if (!CwebMessage::unpackRecord(file.data(), file.size(), record)) return 0;   // read again from the workshop
    downloadedItem.record = std::move(record);
    localLoaded_ = true;
    statusText = "WS_Loading";
    return recordUpdateTime(downloadedItem.record);
}

void Cworkshop::onDetails(RemoteStorageGetPublishedFileDetailsResult_t* r, bool ioFailure) {
    downloadedItem.record.clear();
    bool ok = r->result == STEAM_RESULT_OK && !ioFailure;
    if (r->result != STEAM_RESULT_FILE_NOT_FOUND) {
        if (r->result != STEAM_RESULT_OK) fail(resultText(r->result));
        else if (ioFailure) fail("WS_IOFailureError");
    }
    bool usable = ok && !r->banned;
    if (usable) {
        downloadedItem.title = boundedText(r->title, sizeof r->title, kTitleChars - 1);
        downloadedItem.description = boundedText(r->description, sizeof r->description, kDescriptionChars - 1);
        downloadedItem.visibility = r->visibility;
        downloadedItem.owner = r->steamIdOwner;
        downloadedItem.publishedId = r->publishedFileId;
    } else if (ok) {
        gEngine->log.print(LOG_L, "Workshop: item %llu is banned", (unsigned long long)r->publishedFileId);
    }
    lastUpdated = ok ? r->rtimeUpdated : 0;
    if (!usable) return nextItem();
    uint32_t localTime = loadLocalItem(r->publishedFileId);
    if (localLoaded_ && localTime == lastUpdated) {
        if (importItem(downloadedItem)) ++imported;
        else ++skipped;
        return nextItem();
    }
    SteamAPICall_t call = remoteStorage->UGCDownload(r->file, 0);
    if (call == kSteamCallInvalid) {
        fail(resultText(STEAM_RESULT_FAIL));
        return nextItem();
    }
    downloadResult_.set(call, this, &Cworkshop::onDownloaded);
    statusText = "WS_Downloading";
}

void Cworkshop::onDownloaded(RemoteStorageDownloadUGCResult_t* r, bool ioFailure) {
    if (r->result != STEAM_RESULT_OK) {
        fail(resultText(r->result));
        return nextItem();
    }
    if (ioFailure) {
        fail("WS_IOFailureError");
        return nextItem();
    }
    Cbytes raw((size_t)std::max(r->sizeInBytes, 0));
    int32_t got = raw.empty() ? 0 : remoteStorage->UGCRead(r->file, raw.data(), (int32_t)raw.size(), 0, UGC_READ_CLOSE);
    Cbytes record;
    if (got != (int32_t)raw.size() || !CwebMessage::unpackRecord(raw.data(), raw.size(), record)) {
        gEngine->log.print(LOG_L, "Workshop: item %llu can't be read", (unsigned long long)downloadedItem.publishedId);
        ++skipped;
        return nextItem();
    }
    downloadedItem.record = std::move(record);
    if (!importItem(downloadedItem)) {
        ++skipped;   // no local copy: it is checked again next time
        return nextItem();
    }
    ++imported;
    setRecordUpdateTime(downloadedItem.record, lastUpdated);
    Cbytes local = CwebMessage::packRecord(downloadedItem.record);
    if (!CresourceFile::writeFileAtomic(gEngine->savePath(localItemName(downloadedItem.publishedId)), local.data(),
                                        local.size()))
        gEngine->log.print(LOG_L, "Workshop: can't save %s", localItemName(downloadedItem.publishedId).c_str());
    statusText = "WS_Downloaded";
    nextItem();
}

// ---- import ----

bool Cworkshop::checkShipItem(const CworkshopItemRecord& item, CworkshopShipItem& out) {
    auto refuse = [&item](const char* why) {
        gEngine->log.print(LOG_L, "Workshop: item %llu skipped: %s", (unsigned long long)item.publishedId, why);
        return false;
    };
    const uint8_t* data = nullptr;
    uint32_t length = 0;
    if (!findBlock(item.record, kBlockKind, data, length) || length != 4 || getU32(data) != kItemKindShip)
        return refuse("not a ship");
    if (!findBlock(item.record, kBlockShip, data, length) || length != kShipBlockSize)
        return refuse("the ship block is not its size");
    out.dataBlock.assign(data, data + length);
    out.hullImage.clear();
    if (findBlock(item.record, kBlockHull, data, length) && length > 0) {
        int w = 0, h = 0;
        if (length > kMaxHullBytes) return refuse("the hull image is too large");
        if (!pngSize(data, length, w, h)) return refuse("the hull image is not a PNG");
        if (w > kMaxHullSide || h > kMaxHullSide) return refuse("the hull image is too large");
        SDL_Surface* decoded = CtextureMgr::decode(data, length, "workshop hull");
        if (!decoded) return refuse("the hull image can't be read");
        SDL_FreeSurface(decoded);
        out.hullImage.assign(data, data + length);
    }
    out.title = item.title.substr(0, utf8CutPoint(item.title, kTitleChars - 1));
    out.description = item.description.substr(0, utf8CutPoint(item.description, kDescriptionChars - 1));
    out.owner = item.owner;
    out.publishedId = item.publishedId;
    return true;
}

bool Cworkshop::importItem(const CworkshopItemRecord& item) {
    CworkshopShipItem ship;
    if (!checkShipItem(item, ship)) return false;
    if (!onImport || !onImport(ship)) {
        gEngine->log.print(LOG_L, "Workshop: item %llu skipped: the ship can't be used",
                           (unsigned long long)item.publishedId);
        return false;
    }
    return true;
}

// ---- helpers ----

uint32_t Cworkshop::recordUpdateTime(const Cbytes& record) {
    if (CwebMessage::blockCount(record) == 0 || record.size() < kUpdateTimeAt + 4) return 0;
    return getU32(record.data() + kUpdateTimeAt);
}

void Cworkshop::setRecordUpdateTime(Cbytes& record, uint32_t time) {
    if (CwebMessage::blockCount(record) == 0 || record.size() < kUpdateTimeAt + 4) return;
    putU32(record.data() + kUpdateTimeAt, time);
}

std::string Cworkshop::resultText(int code) {
    static const char* const what[] = {
        "success",
        "generic failure",
        "no/failed network connection",
        "connection failed, try again",
        "password or ticket is invalid",
        "same user logged in elsewhere",
        "protocol version is incorrect",
        "a parameter is incorrect",
        "file was not found",
        "called method busy - action not taken",
        "called object was in an invalid state",
        "name is invalid",
        "email is invalid",
        "name is not unique",
        "access is denied",
        "operation timed out",
        "banned",
        "account not found",
        "steam id is invalid",
        "the requested service is currently unavailable",
        "the user is not logged on",
        "request is pending",
        "encryption or decryption failed",
        "insufficient privilege",
        "limit exceeded",
        "access has been revoked",
        "licence or guest pass has expired",
        "guest pass has already been redeemed",
        "duplicate request, already done",
        "everything requested is already owned",
        "IP address not found",
        "failed to write the change to the data store",
        "failed to get the lock for this operation",
        "logon session replaced",
        "connect failed",
        "handshake failed",
        "I/O failure",
        "remote disconnect",
        "shopping cart not found",
        "blocked by the user",
        "target is ignoring the sender",
        "nothing matching the request found",
        "account disabled",
        "service is not accepting content changes right now",
        "account has no value, feature unavailable",
        "allowed only because the requester is an administrator",
        "content version mismatch",
        "try another connection manager",
        "password required to end the other session",
        "already logged in elsewhere, you must wait",
        "operation suspended",
        "operation cancelled",
        "data is ill formed or unrecoverable",
        "not enough disk space",
        "a remote call failed",
        "password is not set",
        "external account is not linked",
        "PSN ticket was invalid",
        "external account is already linked elsewhere",
        "local and remote files are in conflict",
        "the new password is not legal",
        "new value is the same as the old one",
        "logon denied: second factor failed",
        "the old password can't be used again",
        "logon denied: auth code invalid",
        "logon denied: second factor failed, no mail sent",
        "hardware not capable of IPT",
        "IPT init error",
        "restricted by parental controls",
        "Facebook query returned an error",
        "logon denied: auth code expired",
        "IP logon restriction failed",
        "account locked down",
        "logon denied: verified e-mail required",
        "no matching URL",
        "bad response",
        "password must be entered again",
        "value out of range",
        "unexpected error",
        "service disabled",
        "invalid CEG submission",
        "device is restricted",
    };
    constexpr int count = (int)(sizeof what / sizeof what[0]);
    if (code < 1 || code > count) return "Unknown Error Code";
    return " = " + std::to_string(code) + " " + what[code - 1];
}
