#include "audio/musicPlayer.h"

#include <algorithm>
#include <cmath>

#include "audio/acrCloud.h"
#include "audio/audioBASS.h"
#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/format.h"
#include "engine/resourceFile.h"

namespace {
const char* openMicName(int source) {
    switch (source) {
    case OPEN_MIC_LINE_IN: return "OpenMic - LineIn";
    case OPEN_MIC_MICROPHONE: return "OpenMic - Microphone";
    default: return "OpenMic - Desktop";
    }
}
constexpr size_t kMaxCaptureBacklogSeconds = 2;
}  // namespace

bool CmusicPlayer::init(CaudioBASS* audio, CsongInfoMgr* library, CacrCloud* fingerprint) {
    audio_ = audio;
    library_ = library;
    acr_ = fingerprint;
    setOpenMicTrackName();
    if (library_) {
        // Entries the library frees must not stay the current track.
        library_->beforeEntriesFreed = [this] {
            if (currentTrack && currentTrack != &openMicTrack && currentTrack != &ownTrack_) {
                ownTrack_ = *currentTrack;
                currentTrack = &ownTrack_;
            }
        };
    }
    return audio_ != nullptr;
}

void CmusicPlayer::shutdown() {
    if (!audio_) return;
    stopOpenMic();
    stopMusic();
    if (library_) library_->beforeEntriesFreed = nullptr;
    audio_ = nullptr;
}

// ---- playing ----

void CmusicPlayer::stopMusic() {
    if (!audio_) return;
    if (channel && channel != micChannel_) audio_->mixer.freeChannel(channel);
    channel = 0;
    audio_->defaultChannel = micChannel_;
    audio_->radioPlaying = false;
    streamTitle.clear();
}

bool CmusicPlayer::playTrack(CsongPackInfo* entry) {
    if (!audio_) return false;
    if (!entry) {
        gEngine->log.print(LOG_E, "playTrack: no track to play");
        stopOpenMic();
        stopMusic();
        return false;
    }
    if (entry->kind == SONG_OPEN_MIC) return startOpenMic();
    if (!entry->isLocal() && entry->kind != SONG_RADIO) {
        gEngine->log.print(LOG_E, "playTrack: not a track: %s", entry->path.c_str());
        return false;
    }
    // The library's own entry for the same file or station, so that marks
    // set on the current track (favourite, removed) stay in the library.
    CsongPackInfo* target = entry;
    if (entry != &ownTrack_ && !(library_ && library_->owns(entry))) {
        CsongPackInfo* known = !library_ ? nullptr
                               : entry->kind == SONG_RADIO ? library_->findByUrl(entry->station)
                                                           : library_->findByPath(entry->path);
        if (known && known->kind == entry->kind) {
            target = known;
        } else {
            ownTrack_ = *entry;
            target = &ownTrack_;
        }
    }
    if (audio_->holdTrackRestart && target == currentTrack && channel && channel != micChannel_) {
        EchannelState s = audio_->mixer.state(channel);
        if (s == CHANNEL_PLAYING || s == CHANNEL_STALLED || s == CHANNEL_CONNECTING) return true;
    }
    if (audio_->openMicRunning) stopOpenMic();
    stopMusic();
    currentTrack = target;
    if (library_) library_->setCurrentTrack(target);
    failureLogged_ = false;
    titleSerial_ = 0;
    analysis.reset();

    if (target->kind == SONG_RADIO) {
        if (target->station.empty()) {
            gEngine->log.print(LOG_E, "Can't play station without an address: %s", target->path.c_str());
            return false;
        }
        channel = audio_->mixer.streamUrl(target->station);
        gEngine->log.print(LOG_L, "Connecting to station: %s", target->path.c_str());
    } else {
        std::string path = target->kind == SONG_BUILT_IN ? gEngine->dataPath(target->path) : target->path;
        channel = audio_->mixer.streamFile(path);
        if (!channel) {
            gEngine->log.print(LOG_E, "Can't play track: %s (%s)", path.c_str(), audio_->mixer.lastError().c_str());
            return false;
        }
        gEngine->log.print(LOG_L, "Playing track: %s", getTrackLabel(target, 0).c_str());
    }
    if (!channel) return false;
    audio_->mixer.setAttribute(channel, AUDIO_VOLUME, audio_->musicVolume);
    audio_->mixer.play(channel, true);
    audio_->defaultChannel = channel;
    setMagic();
    return true;
}

bool CmusicPlayer::pause() { return audio_ && channel && audio_->mixer.pause(channel); }

bool CmusicPlayer::resume() {
    if (!audio_ || !channel || audio_->mixer.state(channel) != CHANNEL_PAUSED) return false;
    return audio_->mixer.play(channel, false);
}

bool CmusicPlayer::isPlaying() const {
    if (!audio_ || !channel) return false;
    EchannelState s = audio_->mixer.state(channel);
    return s == CHANNEL_PLAYING || s == CHANNEL_STALLED || s == CHANNEL_CONNECTING;
}

// ---- open mic ----

std::vector<CaudioDeviceInfo> CmusicPlayer::queryDevices() {
    devices = CaudioCapture::devices();
    return devices;
}

void CmusicPlayer::setOpenMicDesktopDeviceID(int id) {
    desktopDeviceId = id;
    gEngine->log.print(LOG_L, "setOpenMicDesktopDeviceID: %d", id);
}
void CmusicPlayer::setOpenMicLineInDeviceName(const std::string& name) { lineInDeviceName = name; }
void CmusicPlayer::setOpenMicMicrohoneDeviceName(const std::string& name) { microphoneDeviceName = name; }

bool CmusicPlayer::openMicRunning() const { return audio_ && audio_->openMicRunning; }

void CmusicPlayer::setOpenMicTrackName() {
    openMicTrack = CsongPackInfo{};
    openMicTrack.kind = SONG_OPEN_MIC;
    openMicTrack.path = openMicName(captureSource);
    openMicTrack.tags.title = openMicTrack.path;
}

void CmusicPlayer::openMicFailed(const std::string& reason) {
    gEngine->log.print(LOG_E, "Open mic: %s", reason.c_str());
    stopOpenMic();
    if (onOpenMicError) onOpenMicError(reason);
}

bool CmusicPlayer::startOpenMic() {
    if (!audio_) return false;
    stopOpenMic();
    stopMusic();
    queryDevices();
    int kind = std::clamp(captureSource, 0, 2);
    int pick = -1;
    for (size_t i = 0; i < devices.size(); ++i) {
        const CaudioDeviceInfo& d = devices[i];
        if (d.kind != kind) continue;
        bool match = kind == OPEN_MIC_DESKTOP ? d.id == desktopDeviceId
                                              : d.name == (kind == OPEN_MIC_LINE_IN ? lineInDeviceName : microphoneDeviceName);
        if (match) pick = (int)i;
    }
    if (pick < 0) pick = CaudioCapture::defaultOfKind(devices, kind);
    if (pick < 0) {
        openMicFailed(kind == OPEN_MIC_DESKTOP ? "no desktop audio source (a \"Monitor of\" source)"
                                               : kind == OPEN_MIC_LINE_IN ? "no line-in device" : "no microphone");
        return false;
    }
    captureDeviceName = devices[(size_t)pick].name;
    {
        std::lock_guard<std::mutex> lock(captureMutex_);
        captured_.clear();
    }
    bool ok = capture_.start(captureDeviceName, [this](const float* frames, int count, int channels, int rate) {
        std::lock_guard<std::mutex> lock(captureMutex_);
        if (channels != capturedChannels_ || rate != capturedRate_) captured_.clear();
        capturedChannels_ = channels;
        capturedRate_ = rate;
        captured_.insert(captured_.end(), frames, frames + (size_t)count * channels);
        size_t cap = (size_t)rate * channels * kMaxCaptureBacklogSeconds;
        if (captured_.size() > cap) captured_.erase(captured_.begin(), captured_.end() - (long)cap);
    });
    if (!ok) {
        openMicFailed("can't open " + captureDeviceName + ": " + capture_.lastError());
        return false;
    }
    micChannel_ = audio_->mixer.streamPush(capture_.channels());
    // Line-in plays through; desktop audio is heard already and a microphone would howl.
    audio_->mixer.setAttribute(micChannel_, AUDIO_VOLUME, kind == OPEN_MIC_LINE_IN ? audio_->musicVolume : 0.0f);
    audio_->mixer.play(micChannel_);
    channel = micChannel_;
    audio_->defaultChannel = micChannel_;
    audio_->openMicRunning = true;
    setOpenMicTrackName();
    currentTrack = &openMicTrack;
    if (library_) library_->setCurrentTrack(nullptr);
    resamplerRate_ = resamplerChannels_ = 0;
    analysis.reset();
    gEngine->log.print(LOG_L, "Open mic started: %s", captureDeviceName.c_str());
    return true;
}

void CmusicPlayer::stopOpenMic() {
    if (!audio_) return;
    bool was = capture_.running() || micChannel_;
    capture_.stop();
    if (micChannel_) audio_->mixer.freeChannel(micChannel_);
    if (channel == micChannel_) channel = 0;
    if (audio_->defaultChannel == micChannel_) audio_->defaultChannel = channel;
    micChannel_ = 0;
    audio_->openMicRunning = false;
    openMicLevel = 0;
    if (acr_) acr_->stopListening();
    if (was) gEngine->log.print(LOG_L, "Open mic stopped");
}

void CmusicPlayer::drainCapture(float dt) {
    std::vector<float> block;
    int rate, channels;
    {
        std::lock_guard<std::mutex> lock(captureMutex_);
        block.swap(captured_);
        rate = capturedRate_;
        channels = capturedChannels_;
    }
    float fall = std::exp(-dt / 0.25f);
    if (block.empty() || channels <= 0 || rate <= 0) {
        openMicLevel *= fall;
        return;
    }
    float peak = 0;
    for (float s : block) peak = std::max(peak, std::fabs(s));
    openMicLevel = std::max(std::min(peak * 100.0f, 100.0f), openMicLevel * fall);
    int frames = (int)(block.size() / (size_t)channels);
    if (acr_) acr_->feedCapture(block.data(), frames, channels, rate);
    if (rate != resamplerRate_ || channels != resamplerChannels_) {
        if (!toMixer_.init(channels, rate, audio_->mixer.rate())) {
            gEngine->log.print(LOG_E, "Error : src_new() failed : %s.", toMixer_.lastError().c_str());
            return;
        }
        resamplerRate_ = rate;
        resamplerChannels_ = channels;
    }
    resampled_.clear();
    if (toMixer_.process(block.data(), frames, resampled_) && !resampled_.empty())
        audio_->mixer.pushData(micChannel_, resampled_.data(), (int)(resampled_.size() / (size_t)channels));
}

// ---- per step ----

void CmusicPlayer::watchChannel() {
    if (!channel || channel == micChannel_) return;
    EchannelState s = audio_->mixer.state(channel);
    bool radio = currentTrack && currentTrack->kind == SONG_RADIO;
    if (radio) {
        if (s == CHANNEL_FAILED || s == CHANNEL_STOPPED) {
            if (s == CHANNEL_FAILED) {
                gEngine->log.print(LOG_E, "Station failed: %s (%s)", currentTrack->path.c_str(),
                                   audio_->mixer.error(channel).c_str());
                failedStation = currentTrack->path;
            } else {
                gEngine->log.print(LOG_L, "Station ended: %s", currentTrack->path.c_str());
            }
            stopMusic();
            return;
        }
        if (s == CHANNEL_PLAYING || s == CHANNEL_STALLED) {
            if (!audio_->radioPlaying) gEngine->log.print(LOG_L, "Station connected: %s", currentTrack->path.c_str());
            audio_->radioPlaying = true;
            uint32_t serial = audio_->mixer.titleSerial(channel);
            if (serial != titleSerial_) {
                titleSerial_ = serial;
                streamTitle = audio_->mixer.streamTitle(channel);
                audio_->streamTitleChanged = true;
                gEngine->log.print(LOG_L, "Stream title: %s", streamTitle.c_str());
            }
        }
        return;
    }
    if (s == CHANNEL_STOPPED || s == CHANNEL_FAILED) {
        if (s == CHANNEL_FAILED && !failureLogged_) {
            gEngine->log.print(LOG_E, "Track broke off: %s", audio_->mixer.error(channel).c_str());
        }
        CsongPackInfo* ended = currentTrack;
        stopMusic();
        if (onTrackEnd && onTrackEnd(ended)) return;
        if (!library_) return;
        CsongPackInfo* next = library_->getTrackForSource(nextTrackRule);
        if (next) playTrack(next);
    }
}

void CmusicPlayer::update(float dt) {
    if (!audio_) return;
    if (audio_->openMicRunning) {
        if (!capture_.alive()) {
            openMicFailed("the capture device stopped");
        } else {
            drainCapture(dt);
        }
    }
    watchChannel();
    if (audio_->musicVolumeChanged) {
        if (channel && channel != micChannel_) audio_->mixer.setAttribute(channel, AUDIO_VOLUME, audio_->musicVolume);
        if (micChannel_ && captureSource == OPEN_MIC_LINE_IN)
            audio_->mixer.setAttribute(micChannel_, AUDIO_VOLUME, audio_->musicVolume);
        audio_->musicVolumeChanged = false;
    }
    if (acr_) {
        CtrackTags tags;
        if (acr_->takeResult(tags)) {
            openMicTrack.setOpenMic(&openMicTrack, tags);
            if (library_) library_->addOpenMicTrack(tags, openMicName(captureSource));
            gEngine->log.print(LOG_L, "Open mic track: %s", getTrackLabel(&openMicTrack, 0).c_str());
        }
    }
    // Analysis of what plays now.
    HaudioChannel h = channel;
    bins_.resize(CmusicAnalysis::kFftSize / 2);
    if (h && audio_->mixer.getFft(h, bins_.data(), CmusicAnalysis::kFftSize) > 0) {
        analysis.step(bins_.data(), (int)bins_.size(), audio_->mixer.rate(), dt);
    } else {
        std::fill(bins_.begin(), bins_.end(), 0.0f);
        analysis.step(bins_.data(), (int)bins_.size(), audio_->mixer.rate(), dt);
    }
    musicEnergy = analysis.energy();
}

// ---- what the screens read ----

std::string CmusicPlayer::getTrackLabel(const CsongPackInfo* track, int flag) const {
    if (!track) return {};
    std::string label;
    if (!track->tags.title.empty()) {
        label = track->tags.title;
        if (!track->tags.artist.empty()) label += " - " + track->tags.artist;
    } else {
        label = formatTime((int)std::max(0.0f, track->tags.length));
    }
    if (flag && track == currentTrack && track->kind == SONG_RADIO && !streamTitle.empty()) label += " - " + streamTitle;
    return label;
}

float CmusicPlayer::getTrackProgress() const {
    if (!audio_ || !channel || !currentTrack || !currentTrack->isLocal()) return 0;
    double len = audio_->mixer.length(channel);
    if (len <= 0) len = currentTrack->tags.length;
    if (len <= 0) return 0;
    return (float)std::clamp(audio_->mixer.position(channel) / len, 0.0, 1.0);
}

float CmusicPlayer::getTimeRemaining() const {
    if (!audio_ || !channel || !currentTrack || !currentTrack->isLocal()) return 0;
    double len = audio_->mixer.length(channel);
    if (len <= 0) len = currentTrack->tags.length;
    return (float)std::max(0.0, len - audio_->mixer.position(channel));
}

float CmusicPlayer::getIntensity() const {
    return CmusicAnalysis::intensity(analysis.level(0), analysis.level(1), analysis.level(2));
}

float CmusicPlayer::getBandLevel(int band) const {
    if (editorPreviewActive && editorPreviewActive()) return 0.5f;
    return CmusicAnalysis::bandPower(analysis.level(band));
}

void CmusicPlayer::setMagic() {
    if (!currentTrack) return;
    // FNV-1a over the title, then the whole seconds of the length.
    uint32_t h = 2166136261u;
    for (unsigned char c : currentTrack->tags.title) h = (h ^ c) * 16777619u;
    uint32_t len = (uint32_t)std::max(0.0f, currentTrack->tags.length);
    for (int i = 0; i < 4; ++i) h = (h ^ ((len >> (8 * i)) & 0xFF)) * 16777619u;
    if (h == trackSeed) return;
    trackSeed = h;
    if (onNewTrackSeed) onNewTrackSeed();
}

bool CmusicPlayer::addBuiltInTracks() {
    if (!library_) return false;
    CresourceFile f;
    if (!f.open("textFiles/music.txt")) return false;
    const char* c = f.text();
    std::string tok;
    int added = 0, found = 0;
    while (Cengine::readToken(tok, c)) {
        if (equalsIgnoreCase(tok, "EndFile")) break;
        if (!equalsIgnoreCase(tok, "BuiltInTrack")) {
            gEngine->log.print(LOG_E, "music.txt: unknown keyword %s", tok.c_str());
            continue;
        }
        std::string rel;
        if (!Cengine::readToken(rel, c)) break;
        CtrackTags tags;
        if (!CaudioBASS::readFileTags(gEngine->dataPath(rel), tags)) {
            gEngine->log.print(LOG_E, "Can't read built-in track: %s", rel.c_str());
            continue;
        }
        ++found;
        if (library_->addLocalTrack(SONG_BUILT_IN, tags, rel)) ++added;
    }
    gEngine->log.print(LOG_L, "Built-in tracks: %d found, %d new", found, added);
    return found > 0;
}
