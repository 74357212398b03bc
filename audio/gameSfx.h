#pragma once
// CgameSfx: the game's table of 46 sound slots, read from the "GameSfx" block
// of "sounds.txt":
//
//   GameSfx
//       Slot 6 "sfx/sfx_achievement.ogg" 1   ; slot, file, playbacks at once
//   EndGameSfx
//
// A slot of one playback is single-instance: a new play stops its sound first.
#include <mutex>
#include <string>
#include <thread>

#include "platform/audio/audioMixer.h"

class CaudioBASS;

enum EgameSfxSlot {
    SFX_EXPLOSION_SMALL = 1,
    SFX_PICKUP = 3,
    SFX_PLAYER_DEATH = 5,
    SFX_ACHIEVEMENT = 6,      // success: a purchase, a join
    SFX_ERROR = 7,            // refusal: a locked item
    SFX_PURCHASE = 8,
    SFX_BOSS_EXPLODE = 15,
    SFX_EXTRA_LIFE = 28,
    SFX_CAMERA_SHUTTER = 45,
};

class CgameSfx {
public:
    static constexpr int kSlots = 46;

    CgameSfx() = default;
    ~CgameSfx() { shutdown(); }
    CgameSfx(const CgameSfx&) = delete;
    CgameSfx& operator=(const CgameSfx&) = delete;

    // Reads the slot table; decodes slot 0 (the loading plays it) at once.
    bool init(CaudioBASS* audio, const std::string& fileName = "textFiles/sounds.txt");
    // Decodes every slot not decoded yet (a failed file is tried once) on a
    // thread of its own, so the loading screen goes on drawing; a slot played
    // before its turn is decoded there and then.
    void loadSamples();
    // Waits for the decoding loadSamples started.
    void waitForSamples();
    void update() {}
    void shutdown();

    // Plays a slot at volume times the effects volume; 0 when it can't.
    HaudioChannel play(int slot, float volume = 1.0f);
    void stop(int slot);
    const std::string& slotFile(int slot) const;
    HaudioChannel slotChannel(int slot) const { return slot >= 0 && slot < kSlots ? slots_[slot].channel : 0; }

private:
    struct Cslot {
        std::string file;
        HaudioSample sample = 0;
        int playbacks = 1;
        HaudioChannel channel = 0;
        bool tried = false;
    };
    void loadSample(Cslot& s);
    CaudioBASS* audio_ = nullptr;
    Cslot slots_[kSlots];
    std::mutex decoding_;   // held while a slot is decoded
    std::thread loader_;
};
