#pragma once
// CsfxPackMgr: named sound packs of "sounds.txt" (one or more files each; a
// play picks one of them) that the front end plays by name.
//
//   SoundPack "LogoSwoosh"
//       File "sfx/logoSwoosh.ogg"     ; one or more
//       Volume 1.0                    ; optional, 1.0
//       Playbacks 1                   ; optional: at once, 1
//   EndSoundPack
#include <string>
#include <vector>

#include "platform/audio/audioMixer.h"

class CaudioBASS;

struct CsfxPack {
    std::string name;
    std::vector<std::string> files;
    std::vector<HaudioSample> samples;
    float volume = 1.0f;
    int playbacks = 1;
    HaudioChannel channel = 0;   // the latest playback
};

class CsfxPackMgr {
public:
    CsfxPackMgr() = default;
    ~CsfxPackMgr() { shutdown(); }
    CsfxPackMgr(const CsfxPackMgr&) = delete;
    CsfxPackMgr& operator=(const CsfxPackMgr&) = delete;

    bool init(CaudioBASS* audio, const std::string& fileName = "textFiles/sounds.txt");
    void update() {}
    void shutdown();

    // A pack by name (case-insensitive); null with "Can't find sound pack: %s".
    CsfxPack* find(const std::string& name);
    // Plays one of the pack's sounds at volume (times the pack's and the
    // effects volume), rate (1 normal) and pan (-1 left .. 1 right).
    HaudioChannel play(CsfxPack* pack, float volume = 1.0f, float rate = 1.0f, float pan = 0.0f);
    size_t size() const { return packs_.size(); }

private:
    bool parse(const char* text);
    CaudioBASS* audio_ = nullptr;
    std::vector<CsfxPack> packs_;
};
