#include "audio/gameSfx.h"

#include <algorithm>
#include <cmath>

#include "audio/audioBASS.h"
#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/resourceFile.h"

bool CgameSfx::init(CaudioBASS* audio, const std::string& fileName) {
    shutdown();
    audio_ = audio;
    CresourceFile f;
    if (!f.open(fileName)) {
        gEngine->log.print(LOG_E, "Can't load the sound table: %s", fileName.c_str());
        return false;
    }
    const char* c = f.text();
    std::string tok;
    bool inTable = false;
    while (Cengine::readToken(tok, c)) {
        if (equalsIgnoreCase(tok, "EndFile")) break;
        if (!inTable) {
            inTable = equalsIgnoreCase(tok, "GameSfx");
            continue;
        }
        if (equalsIgnoreCase(tok, "EndGameSfx")) break;
        if (!equalsIgnoreCase(tok, "Slot")) {
            gEngine->log.print(LOG_E, "sounds.txt: unknown keyword %s in GameSfx", tok.c_str());
            continue;
        }
        int slot = Cengine::readInt(c);
        std::string file;
        Cengine::readToken(file, c);
        int playbacks = std::clamp(Cengine::readInt(c), 1, 32);
        if (slot < 0 || slot >= kSlots) {
            gEngine->log.print(LOG_E, "sounds.txt: bad sound slot %d", slot);
            continue;
        }
        Cslot& s = slots_[slot];
        s.file = file;
        s.playbacks = playbacks;
        s.tried = false;
        // Only the loading's own sound is decoded before the logo shows; the
        // rest come with the loading (loadSamples) or on first play.
        if (slot == 0) loadSample(s);
        gEngine->loadStep();
    }
    return true;
}

void CgameSfx::loadSamples() {
    if (loader_.joinable() || !audio_ || !audio_->ready()) return;
    loader_ = std::thread([this] {
        for (Cslot& s : slots_) {
            std::lock_guard<std::mutex> lock(decoding_);
            loadSample(s);
        }
        // The decoding's leftovers stay in this thread's own malloc arena,
        // which outlives the thread: handed back here, as the loading's are.
        Cplatform::trimHeap();
    });
}

void CgameSfx::waitForSamples() {
    if (loader_.joinable()) loader_.join();
}

void CgameSfx::loadSample(Cslot& s) {
    if (s.sample || s.tried || s.file.empty() || !audio_ || !audio_->ready()) return;
    s.tried = true;
    s.sample = audio_->mixer.loadSample(gEngine->dataPath(s.file), s.playbacks);
    if (!s.sample) gEngine->log.print(LOG_E, "Can't load sound: %s", s.file.c_str());
}

void CgameSfx::shutdown() {
    waitForSamples();
    for (auto& s : slots_) {
        if (audio_ && s.sample) audio_->mixer.freeSample(s.sample);
        s = Cslot{};
    }
}

HaudioChannel CgameSfx::play(int slot, float volume) {
    if (slot < 0 || slot >= kSlots) {
        gEngine->log.print(LOG_E, "Bad sound slot: %d", slot);
        return 0;
    }
    Cslot& s = slots_[slot];
    {
        std::lock_guard<std::mutex> lock(decoding_);
        loadSample(s);
    }
    if (!audio_ || !s.sample) return 0;
    if (s.playbacks == 1 && s.channel) audio_->mixer.stop(s.channel);
    HaudioChannel h = audio_->mixer.sampleChannel(s.sample);
    if (!h) return 0;
    if (!std::isfinite(volume)) volume = 1.0f;
    audio_->mixer.setAttribute(h, AUDIO_VOLUME, std::max(0.0f, volume) * audio_->sfxVolume);
    audio_->mixer.play(h);
    s.channel = h;
    return h;
}

void CgameSfx::stop(int slot) {
    if (slot < 0 || slot >= kSlots || !audio_) return;
    if (slots_[slot].channel) audio_->mixer.stop(slots_[slot].channel);
}

const std::string& CgameSfx::slotFile(int slot) const {
    static const std::string none;
    return slot >= 0 && slot < kSlots ? slots_[slot].file : none;
}
