#include "audio/audioBASS.h"

#include <algorithm>
#include <cmath>

#include "engine/bString.h"
#include "engine/engine.h"
#include "platform/audio/audioTags.h"
#include "platform/audio/decoderLibs.h"

bool CaudioBASS::init(int rate, bool manualMix) {
    if (!mixer.init(nullptr, rate, 1024, manualMix)) {
        // No output device (a headless display, a busy sound server): SDL's
        // dummy driver keeps the clock, so tracks still decode and the music
        // analysis still runs, silently.
        std::string why = mixer.lastError();
        if (!mixer.init(nullptr, rate, 1024, false, "dummy")) {
            gEngine->log.print(LOG_E, "Audio: can't open the output device: %s", why.c_str());
            return false;
        }
        gEngine->log.print(LOG_L, "Audio: can't open the output device (%s): playing silently", why.c_str());
    }
    gEngine->log.print(LOG_L, "Audio: output open at %d Hz", mixer.rate());
    return true;
}

void CaudioBASS::openDecodersSoon() { preloadDecoderLibs(); }

void CaudioBASS::shutdown() {
    mixer.shutdown();
    defaultChannel = 0;
    openMicRunning = radioPlaying = streamTitleChanged = false;
}

bool CaudioBASS::isSupportedAudioFile(std::string_view name) {
    if (name.size() < 4 || name.find('%') != std::string_view::npos) return false;
    size_t dot = name.rfind('.');
    size_t slash = name.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash) || dot + 1 >= name.size())
        return false;
    const std::string_view ext = name.substr(dot + 1);
    static const char* const kExtensions[] = {"mp3", "mp2", "mp1", "ogg", "oga", "opus", "flac", "wav", "aif", "aiff",
                                              "aifc", "m4a", "m4b", "aac", "wma", "wv", "ape", "mpc"};
    for (const char* e : kExtensions)
        if (equalsIgnoreCase(ext, e)) return true;
    return false;
}

bool CaudioBASS::readFileTags(const std::string& path, CtrackTags& tags) {
    tags.clear();
    CaudioFileTags t;
    if (!readAudioFileTags(path, t)) return false;
    tags.trackNumber = t.trackNumber;
    tags.title = t.title;
    tags.album = t.album;
    tags.artist = t.artist;
    tags.genre = t.genre;
    tags.length = std::isfinite(t.lengthSeconds) && t.lengthSeconds > 0 ? t.lengthSeconds : 0.0f;
    if (tags.title.empty()) {
        size_t slash = path.find_last_of("/\\");
        std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        size_t dot = name.rfind('.');
        tags.title = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    }
    return true;
}

bool CaudioBASS::pauseChannel(HaudioChannel h) { return mixer.pause(h ? h : defaultChannel); }

bool CaudioBASS::resumeChannel(HaudioChannel h) {
    h = h ? h : defaultChannel;
    if (mixer.state(h) != CHANNEL_PAUSED) return false;
    return mixer.play(h, false);
}

void CaudioBASS::setMusicVolume(float v) {
    v = std::isfinite(v) ? std::clamp(v, 0.0f, 1.0f) : musicVolume;
    if (v != musicVolume) musicVolumeChanged = true;
    musicVolume = v;
}

void CaudioBASS::setSfxVolume(float v) { sfxVolume = std::isfinite(v) ? std::clamp(v, 0.0f, 1.0f) : sfxVolume; }
