#include "audio/sfxPackMgr.h"

#include <algorithm>
#include <cmath>

#include "audio/audioBASS.h"
#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/resourceFile.h"

bool CsfxPackMgr::init(CaudioBASS* audio, const std::string& fileName) {
    shutdown();
    audio_ = audio;
    CresourceFile f;
    if (!f.open(fileName)) {
        gEngine->log.print(LOG_E, "Can't load sound packs: %s", fileName.c_str());
        return false;
    }
    return parse(f.text());
}

bool CsfxPackMgr::parse(const char* c) {
    std::string tok, value;
    while (Cengine::readToken(tok, c)) {
        if (equalsIgnoreCase(tok, "EndFile")) break;
        if (equalsIgnoreCase(tok, "GameSfx")) {   // the sound table's block, read by CgameSfx
            while (Cengine::readToken(tok, c) && !equalsIgnoreCase(tok, "EndGameSfx")) {
            }
            continue;
        }
        if (!equalsIgnoreCase(tok, "SoundPack")) {
            gEngine->log.print(LOG_E, "sounds.txt: unknown keyword %s", tok.c_str());
            continue;
        }
        CsfxPack pack;
        Cengine::readToken(pack.name, c);
        while (Cengine::readToken(tok, c) && !equalsIgnoreCase(tok, "EndSoundPack")) {
            if (equalsIgnoreCase(tok, "File") && Cengine::readToken(value, c))
                pack.files.push_back(value);
            else if (equalsIgnoreCase(tok, "Volume"))
                pack.volume = std::clamp(Cengine::readFloat(c), 0.0f, 4.0f);
            else if (equalsIgnoreCase(tok, "Playbacks"))
                pack.playbacks = std::clamp(Cengine::readInt(c), 1, 32);
            else
                gEngine->log.print(LOG_E, "sounds.txt: unknown keyword %s in %s", tok.c_str(), pack.name.c_str());
        }
        if (audio_ && audio_->ready()) {
            for (const auto& file : pack.files) {
                HaudioSample s = audio_->mixer.loadSample(gEngine->dataPath(file), pack.playbacks);
                if (s)
                    pack.samples.push_back(s);
                else
                    gEngine->log.print(LOG_E, "Can't load sound: %s", file.c_str());
            }
        }
        packs_.push_back(std::move(pack));
        gEngine->loadStep();
    }
    return true;
}

void CsfxPackMgr::shutdown() {
    if (audio_)
        for (auto& p : packs_)
            for (HaudioSample s : p.samples) audio_->mixer.freeSample(s);
    packs_.clear();
}

CsfxPack* CsfxPackMgr::find(const std::string& name) {
    for (auto& p : packs_)
        if (equalsIgnoreCase(p.name, name)) return &p;
    gEngine->log.print(LOG_L, "Can't find sound pack: %s", name.c_str());
    return nullptr;
}

HaudioChannel CsfxPackMgr::play(CsfxPack* pack, float volume, float rate, float pan) {
    if (!pack || !audio_ || pack->samples.empty()) return 0;
    HaudioSample s = pack->samples.size() == 1 ? pack->samples[0]
                                               : pack->samples[(size_t)gEngine->random.choice((int)pack->samples.size())];
    HaudioChannel h = audio_->mixer.sampleChannel(s);
    if (!h) return 0;
    if (!std::isfinite(volume)) volume = 1.0f;
    audio_->mixer.setAttribute(h, AUDIO_VOLUME, std::max(0.0f, volume) * pack->volume * audio_->sfxVolume);
    audio_->mixer.setAttribute(h, AUDIO_RATE, rate);
    audio_->mixer.setAttribute(h, AUDIO_PAN, pan);
    audio_->mixer.play(h);
    pack->channel = h;
    return h;
}
