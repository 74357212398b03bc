#pragma once
// CmusicPlayer: plays the chosen track (a local file, a radio stream or open
// mic), analyses what plays every step, and moves on when a track ends.
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "audio/musicAnalysis.h"
#include "audio/songInfoMgr.h"
#include "audio/songPackInfo.h"
#include "platform/audio/audioCapture.h"
#include "platform/audio/resampler.h"

class CaudioBASS;
class CacrCloud;

enum EopenMicMode { OPEN_MIC_DESKTOP = 0, OPEN_MIC_LINE_IN = 1, OPEN_MIC_MICROPHONE = 2 };

class CmusicPlayer {
public:
    static constexpr int kDesktopNotChosen = -999;

    CmusicPlayer() = default;
    ~CmusicPlayer() { shutdown(); }
    CmusicPlayer(const CmusicPlayer&) = delete;
    CmusicPlayer& operator=(const CmusicPlayer&) = delete;

    // fingerprint may be null (no track identification).
    bool init(CaudioBASS* audio, CsongInfoMgr* library, CacrCloud* fingerprint = nullptr);
    void update(float dt);
    void shutdown();

    // Plays an entry and makes it the current track (ending open mic when
    // another kind plays). Entries that the library does not own are copied.
    // No track, an unreadable file or a dead stream: logged, and the player
    // stays silent. Radio streams connect in the background.
    bool playTrack(CsongPackInfo* entry);
    void stopMusic();
    bool pause();
    bool resume();
    bool isPlaying() const;

    // Open mic in the mode of captureSource ("openMicMode1").
    bool startOpenMic();
    void stopOpenMic();
    bool openMicRunning() const;
    // Names the open-mic pseudo track after the capture source (unidentified).
    void setOpenMicTrackName();
    std::vector<CaudioDeviceInfo> queryDevices();
    void setOpenMicDesktopDeviceID(int id);
    void setOpenMicLineInDeviceName(const std::string& name);
    void setOpenMicMicrohoneDeviceName(const std::string& name);

    // "Title - Artist", or the length as a time text when there is no title;
    // with flag 1 a playing station adds its stream title.
    std::string getTrackLabel(const CsongPackInfo* track, int flag) const;
    float getTrackProgress() const;   // 0..1
    float getTimeRemaining() const;   // seconds
    float getIntensity() const;
    float getBandLevel(int band) const;
    // A new track seed from the current track; a change asks for a new menu style.
    void setMagic();
    // Registers the built-in tracks of "music.txt" with the library.
    bool addBuiltInTracks();

    // Fields the screens read.
    CsongPackInfo* currentTrack = nullptr;
    HaudioChannel channel = 0;
    float openMicLevel = 0;   // 0..100
    float musicEnergy = 0;
    uint32_t trackSeed = 0;
    std::string streamTitle;
    // The name of a station that could not be opened or decoded; the radio
    // browser tells the player and clears it.
    std::string failedStation;
    CsongPackInfo openMicTrack;
    CmusicAnalysis analysis;
    int nextTrackRule = SOURCE_RANDOM;   // what follows a track that ends

    // Capture settings (kept in the settings record).
    int captureSource = OPEN_MIC_DESKTOP;
    int desktopDeviceId = kDesktopNotChosen;
    std::string lineInDeviceName, microphoneDeviceName;
    std::vector<CaudioDeviceInfo> devices;   // the last queryDevices
    std::string captureDeviceName;           // the source open mic uses

    // Hooks the game fills.
    std::function<bool()> editorPreviewActive;            // ship editor capture: bands read 0.5
    std::function<void()> onNewTrackSeed;                 // the menu background picks a new style
    std::function<bool(CsongPackInfo* ended)> onTrackEnd; // true when the game chose what follows
    std::function<void(const std::string& reason)> onOpenMicError;

private:
    void drainCapture(float dt);
    void watchChannel();
    void openMicFailed(const std::string& reason);

    CaudioBASS* audio_ = nullptr;
    CsongInfoMgr* library_ = nullptr;
    CacrCloud* acr_ = nullptr;
    CsongPackInfo ownTrack_;
    CaudioCapture capture_;
    HaudioChannel micChannel_ = 0;
    std::mutex captureMutex_;
    std::vector<float> captured_;
    int capturedRate_ = 0, capturedChannels_ = 0;
    Cresampler toMixer_;
    int resamplerRate_ = 0, resamplerChannels_ = 0;
    std::vector<float> resampled_, bins_;
    uint32_t titleSerial_ = 0;
    bool failureLogged_ = false;
};
