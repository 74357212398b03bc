#include "game/progress/saveLoad.h"

#include <SDL.h>

#include <cstring>
#include <filesystem>
#include <utility>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/resourceFile.h"
#include "game/progress/recordIO.h"

namespace {

constexpr size_t kLoginSize = CloginData::kNameBytes + CloginData::kPasswordBytes + CloginData::kEmailBytes;

void writeLogin(const CloginData& d, Cbytes& out) {
    CrecordWriter w(out);
    w.text(d.name, CloginData::kNameBytes);
    w.text(d.password, CloginData::kPasswordBytes);
    w.text(d.email, CloginData::kEmailBytes);
}

bool readLogin(const uint8_t* p, size_t size, CloginData& d) {
    if (size != kLoginSize) return false;
    CrecordReader r(p, size);
    d.name = r.text(CloginData::kNameBytes);
    d.password = r.text(CloginData::kPasswordBytes);
    d.email = r.text(CloginData::kEmailBytes);
    return !r.failed();
}

// A scalar record of the settings file.
template <class T>
void addScalar(CsaveFile& file, const std::string& name, T& live, T& staged, Csettings& settings,
               Csettings& stagedSettings) {
    static_assert(sizeof(T) == 4 || sizeof(T) == 1);
    file.addRecord(
        name,
        [&live](Cbytes& out) {
            uint8_t b[4];
            if constexpr (sizeof(T) == 4) {
                memcpy(b, &live, 4);
                uint32_t u;
                memcpy(&u, b, 4);
                putU32(b, u);
                out.insert(out.end(), b, b + 4);
            } else {
                out.push_back((uint8_t)live);
            }
        },
        [&staged](const uint8_t* p, size_t size) {
            if (size != sizeof(T)) return false;
            if constexpr (sizeof(T) == 4) {
                uint32_t u = getU32(p);
                memcpy(&staged, &u, 4);
            } else {
                staged = (T)(p[0] != 0);
            }
            return true;
        },
        [&settings, &stagedSettings]() { settings = stagedSettings; });
}

bool* unlockFlag(CprogressRecord& p, int i) { return i == 0 ? &p.ves5 : i == 1 ? &p.vor5 : &p.vuz2; }

}  // namespace

bool loadLoginData(CloginData& out) {
    CloginData staged;
    CsaveFile file(CsaveLoad::kLoginFile);
    file.addRecord("login", [](Cbytes&) {}, [&staged](const uint8_t* p, size_t s) { return readLogin(p, s, staged); });
    if (!file.loadItems()) {
        if (file.foundUnusable()) CsaveLoad::keepAside(CsaveLoad::kLoginFile);
        return false;
    }
    out = staged;
    return true;
}

bool saveLoginData(const CloginData& in) {
    CsaveFile file(CsaveLoad::kLoginFile);
    file.addRecord("login", [&in](Cbytes& out) { writeLogin(in, out); }, [](const uint8_t*, size_t) { return true; });
    return file.saveItems();
}

CsaveLoad::CsaveLoad(CplayerProgress& progress, CplayerShipMgr& ships, CachievementDefs& achievements,
                     CtrackStats& tracks)
    : progress_(progress), ships_(ships), achievements_(achievements), tracks_(tracks) {
    ships_.attach(&progress_);
    achievements_.attach(&progress_);
    tracks_.save = [this]() { return saveHighScores(); };
    registerGameRecords();
    registerSettingsRecords();
    highScoresFile_.addRecord(
        "trackRecords", [this](Cbytes& out) { tracks_.write(out); },
        [this](const uint8_t* p, size_t s) { return tracks_.read(p, s, stagedTracks_); },
        [this]() { tracks_.records = std::move(stagedTracks_); });
}

CsaveLoad::~CsaveLoad() {
    waitIdle();
    if (tracks_.save) tracks_.save = nullptr;
}

void CsaveLoad::registerGameRecords() {
    gameFile_.addRecord(
        "progress", [this](Cbytes& out) { progress_.CprogressRecord::write(out); },
        [this](const uint8_t* p, size_t s) { return stagedProgress_.read(p, s); },
        [this]() {
            // The unlocks are records of their own and stay as they are here.
            bool unlocks[3] = {progress_.ves5, progress_.vor5, progress_.vuz2};
            static_cast<CprogressRecord&>(progress_) = stagedProgress_;
            for (int i = 0; i < 3; ++i) *unlockFlag(progress_, i) = unlocks[i];
            progress_.markProfileLoaded();
            progress_.saveDirty = false;
        });
    // The special-ship unlocks, one byte each.
    const char* const unlockNames[3] = {"Ves5", "Vor5", "Vuz2"};
    for (int i = 0; i < 3; ++i) {
        gameFile_.addRecord(
            unlockNames[i], [this, i](Cbytes& out) { out.push_back(*unlockFlag(progress_, i) ? 1 : 0); },
            [this, i](const uint8_t* p, size_t s) {
                if (s != 1) return false;
                stagedUnlocks_[i] = p[0] != 0;
                return true;
            },
            [this, i]() { *unlockFlag(progress_, i) = stagedUnlocks_[i]; });
    }
    gameFile_.addRecord(
        "playerShips", [this](Cbytes& out) { ships_.write(out); },
        [this](const uint8_t* p, size_t s) { return ships_.read(p, s, stagedShips_); },
        [this]() {
            ships_.applyLoaded(stagedShips_);
            ships_.selectFromProgress();
        });
    gameFile_.addRecord(
        "modules", [this](Cbytes& out) { progress_.modules.write(out); },
        [this](const uint8_t* p, size_t s) { return progress_.modules.read(p, s, stagedModules_); },
        [this]() {
            progress_.modules.modules = std::move(stagedModules_);
            ships_.attachModules(progress_.modules);
        });
    gameFile_.addRecord(
        "achievements", [this](Cbytes& out) { achievements_.write(out); },
        [this](const uint8_t* p, size_t s) { return achievements_.read(p, s, stagedAchievements_); },
        [this]() { achievements_.applyCounts(stagedAchievements_); });
    gameFile_.addRecord(
        "achWaiting", [this](Cbytes& out) { progress_.writeWaiting(out); },
        [this](const uint8_t* p, size_t s) { return CplayerProgress::readWaiting(p, s, stagedWaiting_); },
        [this]() { progress_.waitingAchievements = std::move(stagedWaiting_); });
}

void CsaveLoad::registerSettingsRecords() {
    Csettings& st = stagedSettings_;
    auto commit = [this]() { settings = stagedSettings_; };
    settingsFile_.addRecord(
        "settings", [this](Cbytes& out) { settings.writeMain(out); },
        [&st](const uint8_t* p, size_t s) { return st.readMain(p, s); }, commit);
    addScalar(settingsFile_, "AutoShots", settings.autoShots, st.autoShots, settings, st);
    settingsFile_.addRecord(
        "currentFolder",
        [this](Cbytes& out) { CrecordWriter(out).text(settings.currentFolder, Csettings::kFolderBytes); },
        [&st](const uint8_t* p, size_t s) {
            if (s != Csettings::kFolderBytes) return false;
            st.currentFolder = CrecordReader(p, s).text(s);
            return true;
        },
        commit);
    addScalar(settingsFile_, "defDifficulty", settings.defDifficulty, st.defDifficulty, settings, st);
    addScalar(settingsFile_, "defVisIntensity2", settings.visIntensity, st.visIntensity, settings, st);
    addScalar(settingsFile_, "openMicMode1", settings.captureSource, st.captureSource, settings, st);
    settingsFile_.addRecord(
        "inputMappings", [](Cbytes& out) { Csettings::writeMappings(gEngine->input.mappings, out); },
        [this](const uint8_t* p, size_t s) { return Csettings::readMappings(p, s, stagedMappings_); },
        [this]() { gEngine->input.mappings.rows = std::move(stagedMappings_); });
    settingsFile_.addRecord(
        "tutorials", [this](Cbytes& out) { settings.writeTutorials(out); },
        [&st](const uint8_t* p, size_t s) { return Csettings::readTutorials(p, s, st.tutorialsSeen); }, commit);
    settingsFile_.addRecord(
        "notices", [this](Cbytes& out) { settings.writeNotices(out); },
        [&st](const uint8_t* p, size_t s) { return Csettings::readNotices(p, s, st.notices.entries); }, commit);
}

std::string CsaveLoad::keepAside(const std::string& fileName) {
    std::string from = gEngine->savePath(fileName);
    if (!pathExists(from)) return {};
    std::string name = fileName + ".bad";
    for (int n = 2; pathExists(gEngine->savePath(name)) && n < 1000; ++n) name = fileName + ".bad" + std::to_string(n);
    std::error_code ec;
    std::filesystem::rename(from, gEngine->savePath(name), ec);
    if (ec) {
        gEngine->log.print(LOG_E, "Can't keep unreadable save %s aside: %s", fileName.c_str(), ec.message().c_str());
        return {};
    }
    gEngine->log.print(LOG_E, "Save file %s could not be read; kept as %s", fileName.c_str(), name.c_str());
    return name;
}

std::string CsaveLoad::keepCloudCopyAside(const std::string& fileName, const Cbytes& bytes) {
    // The cloud copy is written over by the next save: its bytes go beside
    // the local files instead.
    std::string base = fileName + ".cloud.bad";
    std::string name = base;
    for (int n = 2; pathExists(gEngine->savePath(name)) && n < 1000; ++n) name = base + std::to_string(n);
    if (!CresourceFile::save(name, bytes.data(), bytes.size())) {
        gEngine->log.print(LOG_E, "Can't keep the unreadable cloud copy of %s", fileName.c_str());
        return {};
    }
    gEngine->log.print(LOG_E, "Cloud copy of %s could not be read; kept as %s", fileName.c_str(), name.c_str());
    return name;
}

bool CsaveLoad::loadFile(CsaveFile& file) {
    bool ok = file.loadItems();
    std::string kept;
    if (!file.damagedCloudCopy().empty()) {
        kept = keepCloudCopyAside(file.fileName(), file.damagedCloudCopy());
        file.damagedCloudCopy().clear();
    }
    if (!ok && file.foundUnusable()) {
        std::string local = keepAside(file.fileName());
        if (!local.empty()) kept = local;
    }
    if (!kept.empty()) {
        std::lock_guard<std::mutex> lock(keptMutex_);
        std::string& slot = keptAside_[file.fileName()];
        if (slot.empty()) slot = kept;   // the local file is named first
    }
    return ok;
}

std::string CsaveLoad::takeKeptAside(const std::string& fileName) {
    std::lock_guard<std::mutex> lock(keptMutex_);
    auto it = keptAside_.find(fileName);
    if (it == keptAside_.end()) return {};
    std::string kept = std::move(it->second);
    keptAside_.erase(it);
    return kept;
}

bool CsaveLoad::loadGameNow() {
    bool ok = loadFile(gameFile_);
    gEngine->log.print(LOG_L, "Load game data (%s): %s", gameFile_.cloud() ? "cloud" : "local",
                       ok ? "loaded" : gameFile_.lastResult() == SAVE_MISSING ? "none" : "failed");
    return ok;
}

bool CsaveLoad::loadGame() {
    if (loadTask_.running()) {
        gEngine->log.print(LOG_L, "Thread already running! %s", loadTask_.name().c_str());
        return false;
    }
    loadTask_.reset();
    return loadTask_.start([this]() { return loadGameNow(); }, "Load Game Data");
}

bool CsaveLoad::reloadLocal() {
    bool cloud = gameFile_.cloud();
    gameFile_.setCloud(false);
    bool ok = loadFile(gameFile_);
    gameFile_.setCloud(cloud);
    return ok;
}

double CsaveLoad::nowMs() const { return clockMs ? clockMs() : (double)SDL_GetTicks64(); }

void CsaveLoad::startSave(Cbytes stream) {
    collectSaveResult();
    saveTask_.reset();
    auto target = std::make_shared<CsaveFile>(gameFile_.fileName(), gameFile_.cloud());
    target->setCloudHeld(gameFile_.cloudHeld());
    auto bytes = std::make_shared<Cbytes>(std::move(stream));
    auto error = std::make_shared<std::string>();
    auto cloudFailed = std::make_shared<bool>(false);
    saveError_ = error;
    cloudFailed_ = cloudFailed;
    awaitingResult_ = true;
    auto write = [target, bytes, error, cloudFailed]() {
        return target->saveStream(*bytes, error.get(), cloudFailed.get());
    };
    if (!saveTask_.start(write, "Save Game Data")) {
        // No thread: write here rather than lose the save.
        awaitingResult_ = false;
        noteSaveResult(write());
    }
}

bool CsaveLoad::collectSaveResult() {
    if (!awaitingResult_ || saveTask_.running() || !saveTask_.finished()) return false;
    awaitingResult_ = false;
    return noteSaveResult(saveTask_.success());
}

bool CsaveLoad::noteSaveResult(bool ok) {
    // The cloud copy is told apart: the local file may be fine without it.
    if (*cloudFailed_ != cloudFailing_) {
        cloudFailing_ = *cloudFailed_;
        if (onCloudSaveFailing) onCloudSaveFailing(cloudFailing_);
    }
    if (ok) {
        if (gameRetry_.succeeded()) {
            gEngine->log.print(LOG_L, "Game saved after earlier failures");
            if (onSaveFailing) onSaveFailing(false);
        }
        return true;
    }
    // The progress in that stream is still unsaved: the flag comes back.
    saveRequested = true;
    const bool first = gameRetry_.failed(nowMs());
    if (quitting_) {
        // No later try: every failure of the last save is told.
        gEngine->log.print(LOG_E, "Game save at quit failed: %s", saveError_->c_str());
    } else if (first) {
        gEngine->log.print(LOG_E, "Game save failed: %s; trying again", saveError_->c_str());
    }
    if (first && onSaveFailing) onSaveFailing(true);
    return false;
}

bool CsaveLoad::saveGame(bool wait) {
    if (!progress_.profileReady()) {
        gEngine->log.print(LOG_L, "Game save not written: no profile loaded or made yet");
        return false;
    }
    collectSaveResult();
    // The stream holds the progress as it is now; a failed write sets the
    // request again.
    Cbytes stream = gameFile_.serialise();
    progress_.saveDirty = false;
    saveRequested = false;
    if (saveTask_.running()) {
        pendingStream_ = std::move(stream);
        havePending_ = true;
        if (!wait) return true;
        saveTask_.join();
        havePending_ = false;
        startSave(std::move(pendingStream_));
    } else {
        // This stream is newer than any still waiting.
        havePending_ = false;
        pendingStream_.clear();
        startSave(std::move(stream));
    }
    if (!wait) return true;
    saveTask_.join();
    if (!awaitingResult_) return !gameRetry_.failing();
    return collectSaveResult();
}

bool CsaveLoad::saveAtQuit() {
    // With no profile yet there is nothing of the player's to keep: that is no failure.
    if (!progress_.profileReady()) {
        saveGame(true);
        return true;
    }
    quitting_ = true;
    bool ok = saveGame(true);
    quitting_ = false;
    return ok;
}

void CsaveLoad::update() {
    collectSaveResult();
    const double now = nowMs();
    const bool due = gameRetry_.due(now);
    if (havePending_ && !saveTask_.running() && due) {
        havePending_ = false;
        startSave(std::move(pendingStream_));
    }
    if ((saveRequested || progress_.saveDirty) && progress_.profileReady() && !saveTask_.running() &&
        !loadTask_.running() && due)
        saveGame();
    if ((settings.dirty || settings.notices.changed) && settingsRetry_.due(now)) saveSettings();
}

void CsaveLoad::waitIdle() {
    loadTask_.join();
    saveTask_.join();
    if (havePending_) {
        havePending_ = false;
        startSave(std::move(pendingStream_));
        saveTask_.join();
    }
    collectSaveResult();
}

bool CsaveLoad::loadSettings() {
    stagedSettings_ = settings;
    bool ok = loadFile(settingsFile_);
    if (!ok && settingsFile_.lastResult() != SAVE_MISSING) {
        // Every setting starts again from its default; what was there is kept aside.
        settings.setDefaults();
        gEngine->input.mappings.rows.clear();
    }
    settings.sanitise();
    settings.dirty = false;
    settings.notices.changed = false;
    return ok;
}

bool CsaveLoad::saveSettings() {
    std::string error;
    if (!settingsFile_.saveItems(&error)) {
        // One line a failure streak; the update tries again after the wait.
        if (settingsRetry_.failed(nowMs()))
            gEngine->log.print(LOG_E, "Settings not saved: %s; trying again", error.c_str());
        return false;
    }
    settings.dirty = false;
    settings.notices.changed = false;
    if (settingsRetry_.succeeded()) gEngine->log.print(LOG_L, "Settings saved after earlier failures");
    return true;
}

bool CsaveLoad::loadLoginData() { return ::loadLoginData(login); }
bool CsaveLoad::saveLoginData() { return ::saveLoginData(login); }

bool CsaveLoad::saveLoginData(const CloginData& data) {
    login = data;
    return saveLoginData();
}

bool CsaveLoad::loadHighScores() { return loadFile(highScoresFile_); }
bool CsaveLoad::saveHighScores() { return highScoresFile_.saveItems(); }
bool CsaveLoad::loadNewsFeed() { return loadFile(newsFeedFile_); }
bool CsaveLoad::saveNewsFeed() { return newsFeedFile_.saveItems(); }

bool CsaveLoad::isInputMappingKnown(const std::string& device) const {
    return gEngine->input.mappings.isKnown(device);
}

bool CsaveLoad::applyInputMapping(const std::string& device, int player) {
    CinputPlayer* p = gEngine->input.player(player);
    return p && gEngine->input.mappings.applyTo(*p, device);
}

void CsaveLoad::clearInputMappings() {
    gEngine->input.mappings.clearAll();
    settings.dirty = true;
}
