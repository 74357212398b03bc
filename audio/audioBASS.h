#pragma once
// CaudioBASS: the engine's audio layer. It owns the output mixer, the volumes
// and the flags the screens read, and answers which files are music and what
// their tags say.
#include <string>
#include <string_view>

#include "audio/songPackInfo.h"
#include "platform/audio/audioMixer.h"

class CaudioBASS {
public:
    CaudioBASS() = default;
    ~CaudioBASS() { shutdown(); }
    CaudioBASS(const CaudioBASS&) = delete;
    CaudioBASS& operator=(const CaudioBASS&) = delete;

    // Opens the system's default output. Without one the game runs silent:
    // logged, and every channel call is then refused quietly.
    bool init(int rate = 44100, bool manualMix = false);
    // Starts opening the decoders' libraries on a thread, so that the first
    // sound finds them ready. Called once the window is up: the dynamic
    // loader does one library at a time, and the window's GL driver would
    // otherwise wait behind them.
    static void openDecodersSoon();
    void update() {}
    void shutdown();
    bool ready() const { return mixer.isOpen(); }

    // True for names of files these decoders play, by extension; names
    // holding "%" or shorter than 4 characters are refused.
    static bool isSupportedAudioFile(std::string_view name);
    // A file's tags and length; false when the file can't be opened. A track
    // without a title tag is named after its file.
    static bool readFileTags(const std::string& path, CtrackTags& tags);

    // Pause and resume without restarting; channel 0 means the default channel.
    bool pauseChannel(HaudioChannel h);
    bool resumeChannel(HaudioChannel h);

    void setMusicVolume(float v);
    void setSfxVolume(float v);

    CaudioMixer mixer;
    HaudioChannel defaultChannel = 0;   // the music player's latest music channel

    // Flags the screens read.
    bool openMicRunning = false;
    bool radioPlaying = false;
    bool streamTitleChanged = false;   // set by a stream's metadata; cleared by the reader
    bool holdTrackRestart = false;     // playing the track that already plays keeps it going

    float musicVolume = 0.8f;
    float sfxVolume = 0.8f;
    bool musicVolumeChanged = false;   // the music player applies it on its next update
};
